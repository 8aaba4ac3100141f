#include "TimeCodeTranslate.h"

#include <QCoreApplication>
#include <QtTest>

namespace TCT = TimeCodeTranslate;

class tst_TimeCodeTranslate : public QObject
{
    Q_OBJECT

private:
    static QString nuls(int n) { return QString(n, QChar(0)); }

private slots:
    void init() { TCT::setLibraryBase(QString()); }
    void cleanupTestCase() { TCT::setLibraryBase(QString()); }

    void defaultsToTheProgramFolder()
    {
        QCOMPARE(TCT::libraryBase(), QCoreApplication::applicationDirPath() + "/Pellund");
    }

    void loader_data()
    {
        QTest::addColumn<QString>("base");
        QTest::addColumn<bool>("hasMaximum");
        QTest::addColumn<bool>("hasString");
        QTest::addColumn<bool>("hasFrame");
        const QString here = QCoreApplication::applicationDirPath();
        QTest::newRow("present") << QString(PELLUND_BASE) << true << true << true;
        QTest::newRow("function missing") << QString(PARTIAL_LIBRARY_BASE) << true << true << false;
        QTest::newRow("no library file") << here + "/NoSuchPellund" << false << false << false;
        // A relative name must never reach the system's search path or the working folder.
        QTest::newRow("bare name") << QString("Pellund") << false << false << false;
    }

    void loader()
    {
        QFETCH(QString, base);
        QFETCH(bool, hasMaximum);
        QFETCH(bool, hasString);
        QFETCH(bool, hasFrame);
        TCT::setLibraryBase(base);

        int32_t max = -5;
        QCOMPARE(TCT::tc2Maximum(0x30002, max), hasMaximum);
        QCOMPARE(max != -5, hasMaximum);

        QString text = nuls(32);
        QCOMPARE(TCT::tc2String(0, 0x30002, text), hasString);
        QCOMPARE(text.size(), 32);
        QCOMPARE(text == nuls(32), !hasString);

        QString entry = QStringLiteral(" 05");
        int32_t frames = -9;
        QCOMPARE(TCT::tc2Frame(entry, 0x30002, frames), hasFrame);
        QCOMPARE(frames, hasFrame ? 5 : -9);
        QCOMPARE(entry, QStringLiteral(" 05"));
    }

    void stringKeepsTheBufferLength_data()
    {
        QTest::addColumn<QString>("buffer");
        QTest::addColumn<QString>("expected");
        QTest::newRow("32 NULs") << nuls(32) << "00:00:01:05" + nuls(21);
        QTest::newRow("40 NULs") << nuls(40) << "00:00:01:05" + nuls(29);
        // Shorter than the library's text: the caller's length still holds, nothing overflows.
        QTest::newRow("4 NULs") << nuls(4) << QStringLiteral("00:0");
        QTest::newRow("empty") << QString() << QString();
    }

    void stringKeepsTheBufferLength()
    {
        QFETCH(QString, buffer);
        QFETCH(QString, expected);
        TCT::setLibraryBase(PELLUND_BASE);
        QVERIFY(TCT::tc2String(35, 0x30002, buffer));
        QCOMPARE(buffer, expected);
    }

    void frameReadsEntryTexts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("flags");
        QTest::addColumn<int>("expected");
        QTest::newRow("one digit") << " 05" << 0x30002 << 5;
        QTest::newRow("seven digits") << " 1234567" << 0x30002 << ((1 * 3600 + 23 * 60 + 45) * 30 + 67);
        QTest::newRow("after backspace") << "123" + nuls(32) << 0x30002 << 53;
        QTest::newRow("only NULs") << nuls(32) << 0x30002 << 0;
        QTest::newRow("display text") << "00:00:01:05" + nuls(21) << 2 << 35;
        QTest::newRow("drop frame display") << "00:01:00;02" + nuls(21) << 4 << 1800;
        QTest::newRow("reading stops at a non-Latin-1 character") << QString::fromUtf8("12\u20ac34") << 0x30002 << 12;
    }

    void frameReadsEntryTexts()
    {
        QFETCH(QString, text);
        QFETCH(int, flags);
        QFETCH(int, expected);
        TCT::setLibraryBase(PELLUND_BASE);
        const QString before = text;
        int32_t frames = -1;
        QVERIFY(TCT::tc2Frame(text, flags, frames));
        QCOMPARE(frames, expected);
        QCOMPARE(text.size(), before.size());
    }
};

QTEST_GUILESS_MAIN(tst_TimeCodeTranslate)
#include "tst_timecodetranslate.moc"
