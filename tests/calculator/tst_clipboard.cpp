#include "CalculatorFixture.h"
#include "DisplayBox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>
#include <QtTest>

namespace {

QClipboard *clipboard()
{
    return QGuiApplication::clipboard();
}

// Puts a clipboard content in place: "<empty>" nothing at all, "<image>" data without
// text, "<keep>" leaves it as it is; any other text as plain text.
void putOnClipboard(const QString &content)
{
    if (content == QLatin1String("<keep>"))
        return;
    if (content == QLatin1String("<empty>")) {
        clipboard()->clear();
        return;
    }
    if (content == QLatin1String("<image>")) {
        auto *data = new QMimeData;
        data->setData(QStringLiteral("image/png"), QByteArray("\x89PNG\r\n\x1a\n", 8));
        clipboard()->setMimeData(data);
        return;
    }
    clipboard()->setText(content);
}

} // namespace

// Copy puts the display text on the clipboard and keeps the value in the copy register;
// Paste inserts the clipboard's text into the display and brings the register back.
class tst_Clipboard : public QObject
{
    Q_OBJECT

private slots:
    void init()
    {
        // Something of another program's, with a format Copy must not leave behind.
        auto *data = new QMimeData;
        data->setText(QStringLiteral("old text"));
        data->setHtml(QStringLiteral("<b>old</b>"));
        clipboard()->setMimeData(data);
    }

    void copy_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("value");
        QTest::newRow("ndf at start") << "" << "00:00:00:00" << 0;
        QTest::newRow("ndf typed") << "12" << "00:00:00:12" << 12;
        QTest::newRow("ndf result") << "5 + 3 =" << "00:00:00:08" << 8;
        QTest::newRow("ndf, operator pending") << "7 +" << "00:00:00:07" << 7;
        QTest::newRow("drop frame") << "DF 10000" << "00:01:00;02" << 1800;
        QTest::newRow("no marks") << "Marks 12" << "00000012" << 12;
        QTest::newRow("no leading zeros") << "Leading 12" << "12" << 12;
        QTest::newRow("frames typed") << "frm 1234" << " 1234" << 1234;
        QTest::newRow("frames after Bksp") << "frm 123 Bksp" << "12" << 12;
        QTest::newRow("frames refused") << "frm 2592000" << "" << 0;
        QTest::newRow("recalled text in frames") << "1005 MS CE frm MR" << "00:00:10:05" << 0;
    }

    void copy()
    {
        QFETCH(QString, keys);
        QFETCH(QString, text);
        QFETCH(int, value);
        CalculatorFixture f;
        run(f, keys);
        f.takeMessages();
        const StateSnapshot rest = StateSnapshot::of(f);
        f.press("Copy");
        QCOMPARE(clipboard()->text(), text);
        QVERIFY(!clipboard()->text().contains(QChar(0)));
        QVERIFY(!clipboard()->mimeData()->hasHtml());
        QCOMPARE(f.w().dwTCClip, value);
        QCOMPARE(f.w().szTCClip, f.w().szTCDisplay);
        QCOMPARE(rest.changes(StateSnapshot::of(f), {"szTCClip", "dwTCClip"}), QStringList());
        QVERIFY(f.messages.isEmpty());
    }

    // The copy register keeps the whole display text, NULs included.
    void copyKeepsTheWholeText_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("kept");
        QTest::newRow("time code") << "12" << tc("00:00:00:12");
        QTest::newRow("frames after Bksp") << "frm 123 Bksp" << "12" + nuls(32);
        QTest::newRow("frames typed") << "frm 1234" << " 1234";
    }

    void copyKeepsTheWholeText()
    {
        QFETCH(QString, keys);
        QFETCH(QString, kept);
        CalculatorFixture f;
        run(f, keys + QStringLiteral(" Copy"));
        QCOMPARE(f.w().szTCClip, kept);
    }

    // The text goes in at the caret: in front after a rendering, behind the text a Paste
    // put in; never more than the room left under 14 characters.
    void pasteInsertsAtTheCaret_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("content");
        QTest::addColumn<int>("pastes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("in front of a time code") << "12" << "ab" << 1 << "ab00:00:00:12";
        QTest::newRow("cut to the room left") << "12" << "abcdef" << 1 << "abc00:00:00:12";
        QTest::newRow("nothing once full") << "12" << "abcdef" << 2 << "abc00:00:00:12";
        QTest::newRow("behind the text pasted before") << "frm 1234" << "xy" << 2 << "xyxy 1234";
        QTest::newRow("three pastes fill the room") << "frm 1234" << "xyz" << 3 << "xyzxyzxyz 1234";
        QTest::newRow("last paste cut") << "frm 1234" << "xy" << 5 << "xyxyxyxyx 1234";
        QTest::newRow("copied time code, three characters")
            << "12 Copy" << "<keep>" << 1 << "00:00:00:00:12";
        QTest::newRow("copied time code, second paste adds nothing")
            << "12 Copy" << "<keep>" << 2 << "00:00:00:00:12";
        QTest::newRow("copied frames") << "frm 1234 Copy" << "<keep>" << 1 << " 1234 1234";
        QTest::newRow("no text on the clipboard") << "12" << "<image>" << 1 << "00:00:00:12";
        QTest::newRow("empty clipboard") << "12" << "<empty>" << 1 << "00:00:00:12";
        QTest::newRow("empty display") << "frm 2592000" << "0123456789abcdefgh" << 1
                                       << "0123456789abcd";
        QTest::newRow("in front of a result") << "5 + 3 =" << "7" << 1 << "700:00:00:08";
        QTest::newRow("in front again after a digit")
            << "12 Paste 3" << "a" << 1 << "a00:00:01:23";
        QTest::newRow("in front again after CE") << "frm 1234 Paste CE" << "xy" << 1 << "xy 0";
    }

    void pasteInsertsAtTheCaret()
    {
        QFETCH(QString, keys);
        QFETCH(QString, content);
        QFETCH(int, pastes);
        QFETCH(QString, shown);
        putOnClipboard(content);
        CalculatorFixture f;
        run(f, keys);
        for (int i = 0; i < pastes; ++i)
            f.press("Paste");
        QCOMPARE(f.display(), shown);
        QVERIFY(f.display().size() <= 14);
    }

    // Paste brings back the copy register as it stands: no rendering, no range check, the
    // entry and the pending operation untouched.
    void pasteRestoresTheCopyRegister_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<int>("value");
        QTest::addColumn<QString>("kept");
        QTest::newRow("before any copy") << "12" << 0 << "";
        QTest::newRow("after CE") << "12 Copy CE" << 12 << tc("00:00:00:12");
        QTest::newRow("after CLR") << "12 Copy CLR" << 12 << tc("00:00:00:12");
        QTest::newRow("frames") << "frm 1234 Copy CE" << 1234 << " 1234";
        QTest::newRow("entry being typed") << "12 Copy 3" << 12 << tc("00:00:00:12");
        QTest::newRow("pending operation") << "7 + 1 Copy 2" << 1 << tc("00:00:00:01");
        QTest::newRow("no range check") << "23595929 Copy CE FILM" << 2591999 << tc("23:59:59:29");
        QTest::newRow("time code value in frame mode") << "1005 Copy frm" << 305 << tc("00:00:10:05");
        QTest::newRow("frames value in time code mode") << "frm 1234 Copy NDF" << 1234 << " 1234";
    }

    void pasteRestoresTheCopyRegister()
    {
        QFETCH(QString, keys);
        QFETCH(int, value);
        QFETCH(QString, kept);
        CalculatorFixture f;
        run(f, keys);
        const QString entry = f.w().szRawTC;
        const int16_t lastCmd = f.w().cLastCmd;
        const int32_t last = f.w().dwTCLast;
        const int32_t flags = f.w().dwFlags;
        f.press("Paste");
        QCOMPARE(f.w().dwTCcurrent, value);
        QCOMPARE(f.w().szTCDisplay, kept);
        QCOMPARE(f.w().szRawTC, entry);
        QCOMPARE(f.w().cLastCmd, lastCmd);
        QCOMPARE(f.w().dwTCLast, last);
        QCOMPARE(f.w().dwFlags, flags);
        QVERIFY(f.messages.isEmpty());
    }

    // The entry and the pending operation as the rows above leave them, worked out by hand.
    void pasteLeavesTheEntry_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("lastCmd");
        QTest::addColumn<int>("last");
        QTest::newRow("before any copy") << "12 Paste" << " 12" << 0 << 0;
        QTest::newRow("entry being typed") << "12 Copy 3 Paste" << " 123" << 0 << 0;
        QTest::newRow("pending operation") << "7 + 1 Copy 2 Paste" << " 12" << int('+') << 7;
        QTest::newRow("after CE") << "12 Copy CE Paste" << "" << 0 << 0;
    }

    void pasteLeavesTheEntry()
    {
        QFETCH(QString, keys);
        QFETCH(QString, entry);
        QFETCH(int, lastCmd);
        QFETCH(int, last);
        CalculatorFixture f;
        run(f, keys);
        QCOMPARE(f.w().szRawTC, entry);
        QCOMPARE(int(f.w().cLastCmd), lastCmd);
        QCOMPARE(f.w().dwTCLast, last);
    }

    void calculationsWithPaste_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("value");
        QTest::newRow("copy, more work, paste, equals")
            << "frm 5 Copy + 3 = + 2 Paste =" << " 13" << 13;
        QTest::newRow("pasted value subtracted") << "10 Copy x 3 = - Paste =" << "00:00:00:20" << 20;
        QTest::newRow("CLR between copy and paste") << "12 Copy CLR Paste =" << "00:00:00:12" << 12;
        QTest::newRow("pasted value as left operand") << "12 Copy CE Paste + 3 =" << "00:00:00:15" << 15;
        QTest::newRow("paste before any copy, then equals") << "12 Paste =" << "00:00:00:00" << 0;
        QTest::newRow("digit after paste continues the entry")
            << "12 Copy 3 Paste 4" << "00:00:13:04" << 394;
        QTest::newRow("frames, pasted right operand") << "frm 12 Copy + Paste =" << " 24" << 24;
    }

    void calculationsWithPaste()
    {
        QFETCH(QString, keys);
        QFETCH(QString, shown);
        QFETCH(int, value);
        CalculatorFixture f;
        run(f, keys);
        QCOMPARE(f.display(), shown);
        QCOMPARE(f.w().dwTCcurrent, value);
        QVERIFY(f.messages.isEmpty());
    }

    // After a Paste, Copy copies the display text Paste restored, not what the box shows.
    void copyAfterPaste_data()
    {
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("boxAfterPaste");
        QTest::addColumn<QString>("copied");
        QTest::newRow("time code") << "12 Copy 3" << "zz00:00:01:23" << "00:00:00:12";
        QTest::newRow("frames") << "frm 12 Copy 3" << "zz 123" << " 12";
        QTest::newRow("no copy before") << "12" << "zz00:00:00:12" << "";
    }

    void copyAfterPaste()
    {
        QFETCH(QString, keys);
        QFETCH(QString, boxAfterPaste);
        QFETCH(QString, copied);
        CalculatorFixture f;
        run(f, keys);
        clipboard()->setText(QStringLiteral("zz"));
        f.press("Paste");
        QCOMPARE(f.display(), boxAfterPaste);
        f.press("Copy");
        QCOMPARE(clipboard()->text(), copied);
        QCOMPARE(f.display(), boxAfterPaste);
    }
};

QTEST_MAIN(tst_Clipboard)
#include "tst_clipboard.moc"
