#include "CalculatorFixture.h"
#include "DisplayBox.h"

#include <QAbstractButton>
#include <QApplication>
#include <QtTest>

namespace {

QString focusName()
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus->objectName() : QString();
}

void pressEnter()
{
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
}

} // namespace

// Where the focus goes after each kind of button, and what Enter then presses.
class tst_Focus : public QObject
{
    Q_OBJECT

private slots:
    void focusAfterButton_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<bool>("takesFocus");
        for (int d = 0; d <= 9; ++d) {
            const QByteArray name = "digit " + QByteArray::number(d);
            QTest::newRow(name.constData()) << QString::number(d) << true;
        }
        for (const char *op : {"+", "-", "x", "/", "="})
            QTest::newRow(op) << op << true;
        for (const char *key : {"Bksp", "CE", "CLR", "MS", "MR", "MS1", "MR1", "Copy", "Paste"})
            QTest::newRow(key) << key << false;
    }

    void focusAfterButton()
    {
        QFETCH(QString, key);
        QFETCH(bool, takesFocus);
        CalculatorFixture f;
        // Start from a control that is none of the buttons under test.
        f.w().control("ckLeading")->setFocus();
        QCOMPARE(focusName(), QStringLiteral("ckLeading"));
        f.press(key);
        QCOMPARE(focusName(), takesFocus ? CalculatorFixture::controlName(key)
                                         : QStringLiteral("ckLeading"));
    }

    void enterAtStartPressesEquals()
    {
        CalculatorFixture f;
        QCOMPARE(int(f.w().cLastCmd), 0);
        pressEnter();
        QCOMPARE(int(f.w().cLastCmd), 48);
        QCOMPARE(focusName(), QStringLiteral("cmdEquals"));
        QCOMPARE(f.display(), QStringLiteral("00:00:00:00"));
    }

    // Enter presses the button that has the focus, which the buttons without focus of their
    // own leave where it was.
    void enterPressesTheFocusedButton_data()
    {
        QTest::addColumn<QString>("standard");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("focus");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("pending");
        QTest::newRow("plus again") << "frm" << "5 +" << "cmdPlus" << " 10" << 10 << int('+');
        QTest::newRow("plus again ndf") << "NDF" << "5 +" << "cmdPlus" << "00:00:00:10" << 10
                                        << int('+');
        QTest::newRow("times again") << "frm" << "5 x" << "cmdMultiply" << " 25" << 25
                                     << int('*');
        QTest::newRow("minus again") << "frm" << "8 -" << "cmdMinus" << " 0" << 0 << int('-');
        QTest::newRow("digit again") << "frm" << "5" << "cmd5" << " 55" << 55 << 0;
        QTest::newRow("equals again") << "frm" << "5 + 3 =" << "cmdEquals" << " 8" << 8 << 48;
        QTest::newRow("after backspace") << "frm" << "5 3 Bksp" << "cmd3" << " 53" << 53 << 0;
        QTest::newRow("after clear entry") << "frm" << "5 + 3 CE" << "cmd3" << " 03" << 3
                                           << int('+');
        QTest::newRow("after clear all") << "frm" << "5 + CLR" << "cmdPlus" << " 0" << 0
                                         << int('+');
        QTest::newRow("after memory set") << "frm" << "5 MS" << "cmd5" << " 55" << 55 << 0;
        QTest::newRow("after memory recall") << "frm" << "5 MS + MR" << "cmdPlus" << " 10"
                                             << 10 << int('+');
        QTest::newRow("after second memory set") << "frm" << "6 MS1" << "cmd6" << " 66" << 66
                                                 << 0;
        QTest::newRow("after second memory recall") << "frm" << "6 MS1 x MR1" << "cmdMultiply"
                                                    << " 36" << 36 << int('*');
        QTest::newRow("after copy") << "frm" << "7 Copy" << "cmd7" << " 77" << 77 << 0;
        QTest::newRow("after paste") << "frm" << "7 Copy Paste" << "cmd7" << " 77" << 77 << 0;
    }

    void enterPressesTheFocusedButton()
    {
        QFETCH(QString, standard);
        QFETCH(QString, keys);
        QFETCH(QString, focus);
        QFETCH(QString, shown);
        QFETCH(int, value);
        QFETCH(int, pending);
        CalculatorFixture f;
        f.press(standard);
        run(f, keys);
        QCOMPARE(focusName(), focus);
        pressEnter();
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwTCcurrent, value);
        QCOMPARE(int(f.w().cLastCmd), pending);
        QCOMPARE(focusName(), focus);
        QVERIFY(f.messages.isEmpty());
    }

    // A check box or an option button does not take Enter: the default button "=" does.
    void enterOnBoxOrOptionPressesEquals_data()
    {
        QTest::addColumn<QString>("control");
        QTest::addColumn<bool>("byMouse");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("flags");
        QTest::newRow("marks box") << "ckMarks" << false << "00:00:00:08" << 0x30002;
        QTest::newRow("leading box") << "ckLeading" << false << "00:00:00:08" << 0x30002;
        QTest::newRow("selected standard") << "TCOption(2)" << false << "00:00:00:08"
                                           << 0x30002;
        QTest::newRow("marks box clicked") << "ckMarks" << true << "00000008" << 0x20002;
        QTest::newRow("standard clicked") << "TCOption(8)" << true << "00:00:00:08" << 0x30008;
    }

    void enterOnBoxOrOptionPressesEquals()
    {
        QFETCH(QString, control);
        QFETCH(bool, byMouse);
        QFETCH(QString, shown);
        QFETCH(int, flags);
        CalculatorFixture f;
        run(f, "5 + 3");
        QWidget *target = f.w().control(control);
        if (byMouse)
            QTest::mouseClick(target, Qt::LeftButton);
        else
            target->setFocus();
        QCOMPARE(focusName(), control);
        const bool checked = f.w().button(control)->isChecked();
        pressEnter();
        QCOMPARE(f.w().dwTCcurrent, 8);
        QCOMPARE(int(f.w().cLastCmd), 48);
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwFlags, flags);
        QCOMPARE(f.w().button(control)->isChecked(), checked);
        QCOMPARE(focusName(), QStringLiteral("cmdEquals"));
    }

    void clickingTheDisplayDoesNothing_data()
    {
        QTest::addColumn<bool>("doubleClick");
        QTest::newRow("click") << false;
        QTest::newRow("double click") << true;
    }

    void clickingTheDisplayDoesNothing()
    {
        QFETCH(bool, doubleClick);
        CalculatorFixture f;
        f.press("frm");
        run(f, "5 + 3");
        DisplayBox *display = f.w().TxtDisplay();
        if (doubleClick)
            QTest::mouseDClick(display, Qt::LeftButton);
        else
            QTest::mouseClick(display, Qt::LeftButton);
        QVERIFY(!display->hasFocus());
        QCOMPARE(focusName(), QStringLiteral("cmd3"));
        QCOMPARE(f.display(), QStringLiteral(" 03"));
        QCOMPARE(f.w().szRawTC, QStringLiteral(" 03"));
        QCOMPARE(f.w().dwTCcurrent, 3);
        QCOMPARE(int(f.w().cLastCmd), int('+'));
        QCOMPARE(f.w().dwTCLast, 5);
        // The focus is still where the last digit put it.
        pressEnter();
        QCOMPARE(f.display(), QStringLiteral(" 33"));
    }
};

QTEST_MAIN(tst_Focus)
#include "tst_focus.moc"
