#include "CalculatorFixture.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

// The window's controls as an editor sees them: name, kind, caption, tooltip and place.
// Places are in logical pixels: the layout's twips divided by 15.
class tst_Controls : public QObject
{
    Q_OBJECT

private slots:
    void window()
    {
        CalculatorFixture f;
        frmOstrel &w = f.w();
        QCOMPARE(w.windowTitle(), QStringLiteral("Quorvane Time Code Calculator"));
        QCOMPARE(w.size(), QSize(286, 198));
        QCOMPARE(w.minimumSize(), w.maximumSize());
        QCOMPARE(w.geometry().topLeft(), QPoint(298, 247));
        const Qt::WindowFlags flags = w.windowFlags();
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QCOMPARE(w.findChildren<QAbstractButton *>().size() + 1, 34);
        QVERIFY(qobject_cast<QPushButton *>(w.control("cmdEquals"))->isDefault());
    }

    void display()
    {
        CalculatorFixture f;
        QWidget *display = f.w().control("TxtDisplay");
        QVERIFY(qobject_cast<QLineEdit *>(display));
        QVERIFY(!display->isEnabled());
        QVERIFY(display->font().bold());
        QCOMPARE(display->font().pointSizeF(), 12.0);
        QVERIFY(qobject_cast<QLineEdit *>(display)->alignment() & Qt::AlignRight);
        QCOMPARE(display->geometry(), QRect(127, 1, 115, 28));
        QCOMPARE(display->accessibleName(), QStringLiteral("Value"));
    }

    void table_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QRect>("place");
        const auto row = [](const char *name, const char *kind, const char *caption,
                            const char *tooltip, QRect place) {
            QTest::newRow(name) << name << kind << caption << tooltip << place;
        };
        row("cmdEquals", "QPushButton", "=", "Equals  Button ", {190, 159, 41, 33});
        row("cmd0", "QPushButton", "0", "", {108, 159, 41, 33});
        row("cmd1", "QPushButton", "1", "", {108, 126, 41, 33});
        row("cmd2", "QPushButton", "2", "", {149, 126, 41, 33});
        row("cmd3", "QPushButton", "3", "", {190, 126, 41, 33});
        row("cmd4", "QPushButton", "4", "", {108, 93, 41, 33});
        row("cmd5", "QPushButton", "5", "", {149, 93, 41, 33});
        row("cmd6", "QPushButton", "6", "", {190, 93, 41, 33});
        row("cmd7", "QPushButton", "7", "", {108, 60, 41, 33});
        row("cmd8", "QPushButton", "8", "", {149, 60, 41, 33});
        row("cmd9", "QPushButton", "9", "", {190, 60, 41, 33});
        row("cmdBackspace", "QPushButton", "&Bksp", "BackSpace  Button ", {149, 159, 41, 33});
        row("cmdPlus", "QPushButton", "+", "Plus  Button ", {240, 60, 41, 33});
        row("cmdMinus", "QPushButton", "--", "Minus  Button", {240, 93, 41, 33});
        row("cmdMultiply", "QPushButton", "x", "Multiply  Button", {240, 126, 41, 33});
        row("cmdDivide", "QPushButton", "/", "Divide  Button", {240, 159, 41, 33});
        row("cmdCLR", "QPushButton", "&CLR", "Clear  all Calculations , Memory & Settings. ",
            {57, 60, 41, 33});
        row("cmdCE", "QPushButton", "C&E", "Clear Display ", {57, 93, 41, 33});
        row("cmdCopy", "QPushButton", "C&opy", "Copy T.C. from Clipboard  ", {57, 126, 41, 33});
        row("cmdPaste", "QPushButton", "Pas&te", "Paste T.C. to Clipboard ", {57, 159, 41, 33});
        row("cmdMemSet", "QPushButton", "M&S", "Memory Set ", {7, 60, 41, 33});
        row("cmdMemRecall", "QPushButton", "M&R", "Memory Recall ", {7, 93, 41, 33});
        row("cmdMemSet1", "QPushButton", "MS1", "Memory Set 1 ", {7, 126, 41, 33});
        row("cmdMemRecall1", "QPushButton", "MR1", "Memory Recall 1 ", {7, 159, 41, 33});
        row("TCOption(2)", "QRadioButton", "&NDF", "NTSC Non-Drop Frame ", {8, 36, 49, 17});
        row("TCOption(4)", "QRadioButton", "&DF", "NTSC Drop Frame ", {58, 36, 41, 17});
        row("TCOption(8)", "QRadioButton", "&PAL", "25 Frames Per Second ", {100, 36, 41, 17});
        row("TCOption(1)", "QRadioButton", "&FILM", "24 Frames Per Second ", {141, 36, 49, 17});
        row("TCOption(0)", "QRadioButton", "frm", "Raw Frame Count ", {241, 36, 41, 17});
        row("ckLeading", "QCheckBox", "&Leading", "Leading 'zeros' ", {8, 8, 65, 17});
        row("ckMarks", "QCheckBox", "&Marks", "Include Marks in Time Code Window", {72, 8, 49, 17});
        row("Info", "QPushButton", "info", "", {248, 4, 33, 25});
        row("TCOption(128)", "QRadioButton", "&23.98", "24 Frames Per Second ", {191, 36, 49, 17});
    }

    void table()
    {
        QFETCH(QString, name);
        QFETCH(QString, kind);
        QFETCH(QString, caption);
        QFETCH(QString, tooltip);
        QFETCH(QRect, place);
        CalculatorFixture f;
        QAbstractButton *control = f.w().button(name);
        QVERIFY(control);
        QCOMPARE(control->objectName(), name);
        QCOMPARE(QString(control->metaObject()->className()), kind);
        QCOMPARE(control->text(), caption);
        QCOMPARE(control->toolTip(), tooltip);
        QCOMPARE(control->geometry(), place);
        QCOMPARE(control->parentWidget(), &f.w());
        QCOMPARE(control->accessibleName(), QString(caption).remove('&'));
    }

    // Tab visits the table's order, skipping the display and the unselected standards.
    void tabOrder()
    {
        CalculatorFixture f;
        const QStringList expected = {
            "cmd0", "cmd1", "cmd2", "cmd3", "cmd4", "cmd5", "cmd6", "cmd7", "cmd8", "cmd9",
            "cmdBackspace", "cmdPlus", "cmdMinus", "cmdMultiply", "cmdDivide", "cmdCLR", "cmdCE",
            "cmdCopy", "cmdPaste", "cmdMemSet", "cmdMemRecall", "cmdMemSet1", "cmdMemRecall1",
            "TCOption(2)", "ckLeading", "ckMarks", "Info", "cmdEquals"};
        QStringList visited;
        for (int i = 0; i < expected.size(); ++i) {
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
            visited << QApplication::focusWidget()->objectName();
        }
        QCOMPARE(visited, expected);
    }

    void tabStopFollowsTheSelectedStandard()
    {
        CalculatorFixture f;
        f.press("PAL");
        f.w().button("ckLeading")->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("TCOption(8)"));
    }
};

QTEST_MAIN(tst_Controls)
#include "tst_controls.moc"
