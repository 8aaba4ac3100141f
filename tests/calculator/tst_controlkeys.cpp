// The keys that Qt itself gives the controls: access keys and the arrows in the standards row.
#include "CalculatorFixture.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QSignalSpy>
#include <QWindow>
#include <QtTest>

class tst_ControlKeys : public QObject
{
    Q_OBJECT

private slots:
    // Left/Up go to the previous standard and Right/Down to the next in tab order
    // (NDF, DF, PAL, FILM, frm, 23.98), wrapping; each move selects once.
    void arrowsFollowTheTabOrder_data()
    {
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("to");
        QTest::newRow("right from NDF") << "NDF" << int(Qt::Key_Right) << 0 << 4;
        QTest::newRow("right from FILM to frm") << "FILM" << int(Qt::Key_Right) << 0 << 0;
        QTest::newRow("down from frm to 23.98") << "frm" << int(Qt::Key_Down) << 0 << 128;
        QTest::newRow("right from 23.98 wraps") << "23.98" << int(Qt::Key_Right) << 0 << 2;
        QTest::newRow("left from NDF wraps") << "NDF" << int(Qt::Key_Left) << 0 << 128;
        QTest::newRow("up from 23.98 to frm") << "23.98" << int(Qt::Key_Up) << 0 << 0;
        QTest::newRow("left from frm to FILM") << "frm" << int(Qt::Key_Left) << 0 << 1;
        QTest::newRow("keypad left from PAL")
            << "PAL" << int(Qt::Key_Left) << int(Qt::KeypadModifier) << 4;
    }

    void arrowsFollowTheTabOrder()
    {
        QFETCH(QString, from);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, to);
        CalculatorFixture f;
        f.press(from);
        auto *group = f.w().findChild<QButtonGroup *>();
        QVERIFY(group);
        QAbstractButton *start = group->checkedButton();
        QCOMPARE(start, f.w().button(CalculatorFixture::controlName(from)));
        start->setFocus();
        QSignalSpy selections(group, &QButtonGroup::idClicked);
        QTest::keyClick(f.w().windowHandle(), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(selections.count(), 1);
        QCOMPARE(selections.at(0).at(0).toInt(), to);
        QCOMPARE(group->checkedId(), to);
        QCOMPARE(f.w().dwFlags & 0xFF, to);
        QCOMPARE(QApplication::focusWidget(), group->button(to));
    }

    // An access key runs its control's handler before the next key is read.
    void accessKeysActAtOnce_data()
    {
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("shown");
        QTest::newRow("alt+r recalls") << "12 MS CE 5 +" << int(Qt::Key_R) << "cmdMemRecall"
                                       << "00:00:00:12";
        QTest::newRow("alt+c clears") << "5 +" << int(Qt::Key_C) << "cmdCLR" << "00:00:00:00";
        QTest::newRow("alt+p selects PAL") << "30" << int(Qt::Key_P) << "TCOption(8)"
                                           << "00:00:01:05";
        QTest::newRow("alt+m takes the marks off") << "30" << int(Qt::Key_M) << "ckMarks"
                                                   << "00000100";
    }

    void accessKeysActAtOnce()
    {
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(QString, control);
        QFETCH(QString, shown);
        CalculatorFixture f;
        run(f, before);
        QAbstractButton *target = f.w().button(control);
        QVERIFY(target);
        QSignalSpy clicks(target, &QAbstractButton::clicked);
        QTest::keyClick(f.w().windowHandle(), Qt::Key(key), Qt::AltModifier);
        QCOMPARE(clicks.count(), 1);
        QCOMPARE(f.display(), shown);
        QTest::qWait(150); // no late second press
        QCOMPARE(clicks.count(), 1);
    }
};

QTEST_MAIN(tst_ControlKeys)
#include "tst_controlkeys.moc"
