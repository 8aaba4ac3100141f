#include "CalculatorPicture.h"
#include "calculator.xpm"
#include "frmSplash.h"

#include <QFrame>
#include <QLabel>
#include <QSignalSpy>
#include <QtTest>

class tst_frmSplash : public QObject
{
    Q_OBJECT

private:
    static frmSplash *openSplash()
    {
        frmSplash::showSplash();
        frmSplash *splash = frmSplash::current();
        return splash && QTest::qWaitForWindowExposed(splash) ? splash : nullptr;
    }

    static QWidget *element(const QString &name)
    {
        frmSplash *splash = frmSplash::current();
        return splash ? splash->findChild<QWidget *>(name) : nullptr;
    }

    static QLabel *label(const QString &name) { return qobject_cast<QLabel *>(element(name)); }

    // Runs the pending deletion of a closed window.
    static void flushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    static bool hasColour(const QImage &image, QRgb colour)
    {
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF) && qAlpha(image.pixel(x, y)))
                    return true;
        return false;
    }

    static void dropRaiseNotice(QtMsgType type, const QMessageLogContext &context,
                                const QString &message)
    {
        // The offscreen platform cannot raise windows and says so on every showing.
        if (message != QLatin1String("This plugin does not support raise()"))
            previousHandler(type, context, message);
    }

    static inline QtMessageHandler previousHandler = nullptr;

private slots:
    void initTestCase() { previousHandler = qInstallMessageHandler(dropRaiseNotice); }

    void init() { QCoreApplication::setApplicationVersion(QStringLiteral("2.2.0")); }

    void cleanup()
    {
        if (frmSplash *splash = frmSplash::current())
            splash->close();
        flushDeletes();
    }

    void picture()
    {
        const QImage image = calculatorPicture().toImage();
        QCOMPARE(image.size(), QSize(32, 32));
        QVERIFY(hasColour(image, qRgb(0, 255, 255)));
        QVERIFY(hasColour(image, qRgb(255, 255, 0)));
        QVERIFY(hasColour(image, qRgb(0, 0, 0)));
        // Read by our own reader, the picture is exactly what Qt's XPM reader makes of it.
        const QImage qtRead(calculator_xpm);
        QCOMPARE(qtRead.format(), QImage::Format_Indexed8);
        QCOMPARE(calculatorImage(), qtRead);
    }

    void windowFrame()
    {
        frmSplash *splash = openSplash();
        QVERIFY(splash);
        QCOMPARE(splash->parentWidget(), nullptr);
        // An ordinary window, not a tool window, which the window manager would keep on top.
        QCOMPARE(splash->windowType(), Qt::Window);
        QVERIFY(splash->windowFlags().testFlag(Qt::FramelessWindowHint));
        QVERIFY(splash->testAttribute(Qt::WA_QuitOnClose));
        QVERIFY(splash->testAttribute(Qt::WA_DeleteOnClose));
        QVERIFY(splash->windowTitle().isEmpty());
        QCOMPARE(splash->minimumSize(), splash->maximumSize());
        QVERIFY(!splash->windowIcon().isNull());
    }

    void clientArea()
    {
        openSplash();
        QWidget *client = element(QStringLiteral("client"));
        QVERIFY(client);
        QCOMPARE(client->size(), QSize(482, 283)); // 7230 x 4245 twips
        QCOMPARE(client->mapToGlobal(QPoint(0, 0)), QPoint(230, 238)); // 3450, 3570 twips
        QVERIFY(frmSplash::current()->rect().contains(client->geometry()));
    }

    void fixedGeometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("Frame1") << "Frame1" << QRect(3, 0, 475, 277);
        QTest::newRow("imgLogo") << "imgLogo" << QRect(16, 58, 121, 159);
        QTest::newRow("Label1") << "Label1" << QRect(157, 66, 253, 13);
        QTest::newRow("Label2") << "Label2" << QRect(157, 84, 109, 13);
        QTest::newRow("Label3") << "Label3" << QRect(288, 84, 115, 13);
        QTest::newRow("lblCompany") << "lblCompany" << QRect(157, 219, 293, 17);
    }

    void fixedGeometry()
    {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        openSplash();
        QWidget *widget = element(name);
        QVERIFY(widget);
        QCOMPARE(widget->geometry(), geometry);
    }

    void autoSizedGeometry_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("keepsRight");
        QTest::addColumn<int>("anchorX"); // left edge, or right edge plus one
        QTest::addColumn<int>("top");
        QTest::newRow("lblCompanyProduct") << "lblCompanyProduct" << false << 157 << 35;
        QTest::newRow("lblProductName") << "lblProductName" << false << 159 << 103;
        QTest::newRow("lblPlatform") << "lblPlatform" << true << 451 << 156;
        QTest::newRow("lblVersion") << "lblVersion" << true << 451 << 180;
    }

    void autoSizedGeometry()
    {
        QFETCH(QString, name);
        QFETCH(bool, keepsRight);
        QFETCH(int, anchorX);
        QFETCH(int, top);
        openSplash();
        QLabel *text = label(name);
        QVERIFY(text);
        QCOMPARE(text->y(), top);
        QCOMPARE(keepsRight ? text->x() + text->width() : text->x(), anchorX);
        const QSize needed = text->fontMetrics().size(0, text->text());
        QCOMPARE(text->size(), needed);
    }

    void texts_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qreal>("pointSize");
        QTest::addColumn<bool>("bold");
        QTest::addColumn<Qt::Alignment>("horizontal");
        QTest::newRow("lblCompanyProduct") << "lblCompanyProduct" << "QUORVANE" << 18.0 << true
                                           << Qt::Alignment(Qt::AlignLeft);
        QTest::newRow("lblProductName") << "lblProductName" << "Ostrel" << 32.25 << true
                                        << Qt::Alignment(Qt::AlignLeft);
        QTest::newRow("lblPlatform") << "lblPlatform" << "Platform - Windows 95/NT" << 15.75 << true
                                     << Qt::Alignment(Qt::AlignRight);
        QTest::newRow("lblVersion") << "lblVersion" << "Version 2.2.0" << 12.0 << true
                                    << Qt::Alignment(Qt::AlignRight);
        QTest::newRow("Label1") << "Label1" << "Quorvane Ltd, 12 Reel Street, Leeds LS1 4AP" << 8.25
                                << false << Qt::Alignment(Qt::AlignLeft);
        QTest::newRow("Label2") << "Label2" << "quorvane.example" << 8.25 << false
                                << Qt::Alignment(Qt::AlignLeft);
        QTest::newRow("Label3") << "Label3" << "tc@quorvane.example" << 8.25 << false
                                << Qt::Alignment(Qt::AlignRight);
        QTest::newRow("lblCompany") << "lblCompany"
                                    << "Copyright (C) 2026 Quorvane Ltd. All rights reserved."
                                    << 8.25 << false << Qt::Alignment(Qt::AlignLeft);
    }

    void texts()
    {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(qreal, pointSize);
        QFETCH(bool, bold);
        QFETCH(Qt::Alignment, horizontal);
        openSplash();
        QLabel *shown = label(name);
        QVERIFY(shown);
        QCOMPARE(shown->text(), text);
        QCOMPARE(shown->font().pointSizeF(), pointSize);
        QCOMPARE(shown->font().bold(), bold);
        QCOMPARE(shown->alignment() & Qt::AlignHorizontal_Mask, horizontal);
        QVERIFY(!shown->wordWrap());
    }

    void textsFitTheirBoxes_data()
    {
        QTest::addColumn<QString>("name");
        for (const char *name : {"Label1", "Label2", "Label3", "lblCompany"})
            QTest::newRow(name) << QString::fromLatin1(name);
    }

    void textsFitTheirBoxes()
    {
        QFETCH(QString, name);
        openSplash();
        QLabel *shown = label(name);
        QVERIFY(shown);
        const QFontMetrics metrics = shown->fontMetrics();
        QVERIFY2(metrics.horizontalAdvance(shown->text()) <= shown->width(),
                 qPrintable(QStringLiteral("%1 needs %2 px, has %3")
                                .arg(name)
                                .arg(metrics.horizontalAdvance(shown->text()))
                                .arg(shown->width())));
        QVERIFY(metrics.tightBoundingRect(shown->text()).height() <= shown->height());
    }

    void logoShowsThePicture()
    {
        openSplash();
        QWidget *logo = element(QStringLiteral("imgLogo"));
        QVERIFY(logo);
        const QImage shown = logo->grab().toImage();
        QVERIFY(hasColour(shown, qRgb(0, 255, 255)));
        QVERIFY(hasColour(shown, qRgb(255, 255, 0)));
    }

    // Each pixel of the logo is a pixel of the picture, stretched without blending.
    void logoStretchesThePictureSharply()
    {
        openSplash();
        QWidget *logo = element(QStringLiteral("imgLogo"));
        QVERIFY(logo);
        const QImage shown = logo->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage expected =
            calculatorImage()
                .scaled(shown.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation)
                .convertToFormat(QImage::Format_ARGB32);
        int differing = 0;
        for (int y = 0; y < shown.height(); ++y)
            for (int x = 0; x < shown.width(); ++x)
                if (qAlpha(expected.pixel(x, y)) == 255
                    && (shown.pixel(x, y) & 0xFFFFFF) != (expected.pixel(x, y) & 0xFFFFFF))
                    ++differing;
        QCOMPARE(differing, 0);
    }

    void frameIsAPlainBox()
    {
        openSplash();
        auto *frame = qobject_cast<QFrame *>(element(QStringLiteral("Frame1")));
        QVERIFY(frame);
        QCOMPARE(frame->frameShape(), QFrame::Box);
        QCOMPARE(frame->frameShadow(), QFrame::Plain);
        for (QWidget *child : frame->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
            QVERIFY(child->objectName().startsWith(QLatin1String("lbl"))
                    || child->objectName().startsWith(QLatin1String("Label"))
                    || child->objectName() == QLatin1String("imgLogo"));
        QCOMPARE(frame->findChildren<QWidget *>().size(), 9);
    }

    void nothingTakesTheFocus()
    {
        frmSplash *splash = openSplash();
        QVERIFY(splash);
        for (QWidget *widget : splash->findChildren<QWidget *>())
            QVERIFY2(widget->focusPolicy() == Qt::NoFocus, qPrintable(widget->objectName()));
        QCOMPARE(QApplication::focusWidget(), nullptr);
    }

    void versionFromTheApplication()
    {
        openSplash();
        QCOMPARE(label(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 2.2.0"));
        frmSplash::current()->close();
        flushDeletes();

        QCoreApplication::setApplicationVersion(QStringLiteral("3.14.7"));
        openSplash();
        QLabel *version = label(QStringLiteral("lblVersion"));
        QCOMPARE(version->text(), QStringLiteral("Version 3.14.7"));
        QCOMPARE(version->x() + version->width(), 451);
    }

    void showingAgainOnlyRaises()
    {
        frmSplash *first = openSplash();
        QVERIFY(first);
        QSignalSpy destroyed(first, &QObject::destroyed);
        QCoreApplication::setApplicationVersion(QStringLiteral("9.9.9"));
        frmSplash::showSplash();
        flushDeletes();
        QCOMPARE(frmSplash::current(), first);
        QCOMPARE(destroyed.count(), 0);
        QCOMPARE(label(QStringLiteral("lblVersion"))->text(), QStringLiteral("Version 2.2.0"));
        QVERIFY(first->isVisible());
    }

    void closedWindowIsDestroyed()
    {
        frmSplash *splash = openSplash();
        QVERIFY(splash);
        QSignalSpy destroyed(splash, &QObject::destroyed);
        splash->close();
        QCOMPARE(frmSplash::current(), nullptr);
        flushDeletes();
        QCOMPARE(destroyed.count(), 1);
    }

    // Closing hands the keyboard back to the calculator, so its access keys work at once.
    void closingActivatesTheWindowLeft()
    {
        QWidget calculator;
        calculator.show();
        QVERIFY(QTest::qWaitForWindowExposed(&calculator));
        frmSplash *splash = openSplash();
        QVERIFY(QTest::qWaitForWindowActive(splash));
        QTest::keyClick(splash, Qt::Key_A);
        QVERIFY(QTest::qWaitForWindowActive(&calculator));
    }

    void mouse_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("doubleClick");
        QTest::addColumn<bool>("closes");
        const struct {
            const char *name;
            bool closes;
        } targets[] = {
            {"client", true},      {"fraBorder", true},      {"Frame1", true},
            {"imgLogo", true},     {"lblCompany", true},     {"lblCompanyProduct", true},
            {"lblProductName", true}, {"lblPlatform", true}, {"lblVersion", false},
            {"Label1", false},     {"Label2", false},        {"Label3", false},
        };
        for (const auto &target : targets) {
            for (bool twice : {false, true}) {
                const QByteArray row = QByteArray(target.name) + (twice ? " double-click" : " click");
                QTest::newRow(row.constData()) << QString::fromLatin1(target.name) << twice
                                               << target.closes;
            }
        }
    }

    void mouse()
    {
        QFETCH(QString, name);
        QFETCH(bool, doubleClick);
        QFETCH(bool, closes);
        frmSplash *splash = openSplash();
        QVERIFY(splash);
        QWidget *target = element(name);
        QVERIFY(target);
        // Aim at a spot of the target that no other element covers.
        QPoint spot = target->rect().center();
        if (name == QLatin1String("client"))
            spot = QPoint(480, 281);
        else if (name == QLatin1String("fraBorder"))
            spot = QPoint(0, 0);
        else if (name == QLatin1String("Frame1"))
            spot = QPoint(8, 8);
        QCOMPARE(target->childAt(spot), nullptr);
        QSignalSpy destroyed(splash, &QObject::destroyed);
        // A double-click arrives as press, release, double-click, release.
        QTest::mouseClick(target, Qt::LeftButton, {}, spot);
        if (doubleClick && frmSplash::current()) {
            QTest::mouseDClick(target, Qt::LeftButton, {}, spot);
            QTest::mouseRelease(target, Qt::LeftButton, {}, spot);
        }
        flushDeletes();
        QCOMPARE(destroyed.count(), closes ? 1 : 0);
        QCOMPARE(frmSplash::current() == nullptr, closes);
    }

    // A click is a press and a release on the same element, with any button.
    void clickNeedsPressAndRelease_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("releasedOn");
        QTest::addColumn<bool>("closes");
        QTest::newRow("left, same element") << int(Qt::LeftButton) << "lblProductName" << true;
        QTest::newRow("right, same element") << int(Qt::RightButton) << "lblProductName" << true;
        QTest::newRow("middle, same element") << int(Qt::MiddleButton) << "lblProductName" << true;
        QTest::newRow("left, released on another") << int(Qt::LeftButton) << "imgLogo" << false;
    }

    void clickNeedsPressAndRelease()
    {
        QFETCH(int, button);
        QFETCH(QString, releasedOn);
        QFETCH(bool, closes);
        frmSplash *splash = openSplash();
        QVERIFY(splash);
        QSignalSpy destroyed(splash, &QObject::destroyed);
        QWidget *pressed = element(QStringLiteral("lblProductName"));
        const QPoint pressSpot = splash->mapFromGlobal(pressed->mapToGlobal(pressed->rect().center()));
        QWidget *released = element(releasedOn);
        const QPoint releaseSpot = splash->mapFromGlobal(released->mapToGlobal(released->rect().center()));
        QTest::mousePress(splash->windowHandle(), Qt::MouseButton(button), {}, pressSpot);
        flushDeletes();
        QCOMPARE(destroyed.count(), 0);
        QTest::mouseRelease(splash->windowHandle(), Qt::MouseButton(button), {}, releaseSpot);
        flushDeletes();
        QCOMPARE(destroyed.count(), closes ? 1 : 0);
    }

    void keys_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("closes");
        QTest::newRow("letter") << int(Qt::Key_A) << 0 << true;
        QTest::newRow("shifted letter") << int(Qt::Key_A) << int(Qt::ShiftModifier) << true;
        QTest::newRow("keypad digit") << int(Qt::Key_5) << int(Qt::KeypadModifier) << true;
        QTest::newRow("delete") << int(Qt::Key_Delete) << 0 << false;
        QTest::newRow("alt+letter") << int(Qt::Key_A) << int(Qt::AltModifier) << false;
        QTest::newRow("ctrl+letter") << int(Qt::Key_A) << int(Qt::ControlModifier) << false;
        QTest::newRow("ctrl+space") << int(Qt::Key_Space) << int(Qt::ControlModifier) << false;
        QTest::newRow("digit") << int(Qt::Key_7) << 0 << true;
        QTest::newRow("punctuation") << int(Qt::Key_Comma) << 0 << true;
        QTest::newRow("space") << int(Qt::Key_Space) << 0 << true;
        QTest::newRow("return") << int(Qt::Key_Return) << 0 << true;
        QTest::newRow("keypad enter") << int(Qt::Key_Enter) << 0 << true;
        QTest::newRow("escape") << int(Qt::Key_Escape) << 0 << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << 0 << true;
        QTest::newRow("tab") << int(Qt::Key_Tab) << 0 << true;
        QTest::newRow("left arrow") << int(Qt::Key_Left) << 0 << false;
        QTest::newRow("down arrow") << int(Qt::Key_Down) << 0 << false;
        QTest::newRow("F1") << int(Qt::Key_F1) << 0 << false;
        QTest::newRow("shift") << int(Qt::Key_Shift) << 0 << false;
        QTest::newRow("control") << int(Qt::Key_Control) << 0 << false;
        QTest::newRow("alt") << int(Qt::Key_Alt) << 0 << false;
    }

    void keys()
    {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        frmSplash *splash = openSplash();
        QVERIFY(splash);
        // Keys go to the active window, which the about window must be right after showing.
        QVERIFY(QTest::qWaitForWindowActive(splash));
        QWindow *focusWindow = QGuiApplication::focusWindow();
        QCOMPARE(focusWindow, splash->windowHandle());
        QSignalSpy destroyed(splash, &QObject::destroyed);
        QTest::keyClick(focusWindow, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        flushDeletes();
        QCOMPARE(destroyed.count(), closes ? 1 : 0);
    }

    // Keys as a platform may send their text: Escape and Enter close it without text; the
    // control characters of Delete and Ctrl+letter do not.
    void keysWithPlatformText_data()
    {
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<bool>("closes");
        QTest::newRow("escape") << int(Qt::Key_Escape) << QString() << 0 << true;
        QTest::newRow("return") << int(Qt::Key_Return) << QString() << 0 << true;
        QTest::newRow("backspace") << int(Qt::Key_Backspace) << QString() << 0 << true;
        QTest::newRow("delete") << int(Qt::Key_Delete) << QStringLiteral("\x7f") << 0 << false;
        QTest::newRow("ctrl+a") << int(Qt::Key_A) << QStringLiteral("\x01")
                                << int(Qt::ControlModifier) << false;
        QTest::newRow("alt+a") << int(Qt::Key_A) << QStringLiteral("a") << int(Qt::AltModifier)
                               << false;
    }

    void keysWithPlatformText()
    {
        QFETCH(int, key);
        QFETCH(QString, text);
        QFETCH(int, modifiers);
        QFETCH(bool, closes);
        frmSplash *splash = openSplash();
        QVERIFY(splash);
        QSignalSpy destroyed(splash, &QObject::destroyed);
        QTest::sendKeyEvent(QTest::Press, splash->windowHandle(), Qt::Key(key), text,
                            Qt::KeyboardModifiers(modifiers));
        flushDeletes();
        QCOMPARE(destroyed.count(), closes ? 1 : 0);
    }
};

QTEST_MAIN(tst_frmSplash)
#include "tst_frmsplash.moc"
