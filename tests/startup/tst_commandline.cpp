// Which start-ups have no display to go to, and what the program says and does then, also
// when a display is named but not there; --help and --version answered with no display at all.
#include "DisplayCheck.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QtTest>

namespace {

// Variables as "NAME=value" words; XDG_RUNTIME_DIR=@ stands for a folder holding wayland-0.
using Words = QStringList;

Words w(const char *blankSeparated)
{
    return QString::fromLatin1(blankSeparated).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

QProcessEnvironment bareEnvironment(const Words &variables)
{
    QProcessEnvironment env;
    env.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    const QProcessEnvironment own = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {QStringLiteral("ASAN_OPTIONS"), QStringLiteral("UBSAN_OPTIONS")})
        if (own.contains(name))
            env.insert(name, own.value(name));
    for (const QString &word : variables)
        env.insert(word.section(QLatin1Char('='), 0, 0), word.section(QLatin1Char('='), 1));
    return env;
}

} // namespace

class tst_CommandLine : public QObject
{
    Q_OBJECT

    QTemporaryDir m_runtime;

    struct Run {
        int status = -1;
        QByteArray out;
        QByteArray err;
    };

    Run run(const QStringList &arguments, const Words &variables)
    {
        QProcess program;
        program.setProcessEnvironment(bareEnvironment(variables));
        program.start(QStringLiteral(OSTREL_PROGRAM), arguments);
        Run result;
        if (!program.waitForFinished(10000)) {
            program.kill();
            program.waitForFinished();
            return result;
        }
        result.status = program.exitStatus() == QProcess::NormalExit ? program.exitCode() : -2;
        result.out = program.readAllStandardOutput();
        result.err = program.readAllStandardError();
        return result;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_runtime.isValid());
        QFile socket(m_runtime.filePath(QStringLiteral("wayland-0")));
        QVERIFY(socket.open(QIODevice::WriteOnly));
    }

    void missing_data()
    {
        QTest::addColumn<Words>("variables");
        QTest::addColumn<Words>("arguments");
        QTest::addColumn<QByteArray>("reason");
        const QByteArray none;
        const QByteArray neither = "DISPLAY and WAYLAND_DISPLAY are not set";
        QTest::newRow("nothing set") << w("") << w("") << neither;
        QTest::newRow("empty DISPLAY") << w("DISPLAY=") << w("") << neither;
        QTest::newRow("X display") << w("DISPLAY=:3") << w("") << none;
        QTest::newRow("Wayland display") << w("WAYLAND_DISPLAY=wayland-1") << w("") << none;
        QTest::newRow("Wayland socket handed over") << w("WAYLAND_SOCKET=5") << w("") << none;
        QTest::newRow("xcb without DISPLAY")
            << w("QT_QPA_PLATFORM=xcb WAYLAND_DISPLAY=wayland-1") << w("")
            << QByteArray("DISPLAY is not set");
        QTest::newRow("wayland without WAYLAND_DISPLAY")
            << w("QT_QPA_PLATFORM=wayland DISPLAY=:3") << w("")
            << QByteArray("WAYLAND_DISPLAY is not set");
        QTest::newRow("wayland finds wayland-0")
            << w("QT_QPA_PLATFORM=wayland XDG_RUNTIME_DIR=@") << w("") << none;
        QTest::newRow("Qt's choice does not look for wayland-0")
            << w("XDG_RUNTIME_DIR=@") << w("") << neither;
        QTest::newRow("either of a list") << w("QT_QPA_PLATFORM=xcb;wayland DISPLAY=:3")
                                          << w("") << none;
        QTest::newRow("list, neither") << w("QT_QPA_PLATFORM=xcb;wayland-egl") << w("")
                                       << neither;
        QTest::newRow("plugin options") << w("QT_QPA_PLATFORM=wayland:nogl") << w("")
                                        << QByteArray("WAYLAND_DISPLAY is not set");
        QTest::newRow("offscreen needs none") << w("QT_QPA_PLATFORM=offscreen") << w("")
                                              << none;
        QTest::newRow("-platform over the variable")
            << w("QT_QPA_PLATFORM=offscreen") << w("-platform xcb")
            << QByteArray("DISPLAY is not set");
        QTest::newRow("--platform") << w("") << w("--platform vnc") << none;
        QTest::newRow("-display") << w("") << w("-display :4") << none;
        QTest::newRow("-display without its value") << w("") << w("-display") << neither;
    }

    void missing()
    {
        QFETCH(Words, variables);
        QFETCH(Words, arguments);
        QFETCH(QByteArray, reason);
        const QProcessEnvironment env = bareEnvironment(variables);
        const QString runtime = m_runtime.path();
        const auto lookup = [&](const char *name) {
            const QString value = env.value(QString::fromLatin1(name));
            return (value == QLatin1String("@") ? runtime : value).toLocal8Bit();
        };
        QList<QByteArray> words{"ostrel"};
        for (const QString &a : arguments)
            words << a.toLocal8Bit();
        QList<const char *> argv;
        for (const QByteArray &w : words)
            argv << w.constData();
        QCOMPARE(DisplayCheck::missing(int(argv.size()), argv.constData(), lookup), reason);
    }

    // The built program with no display: one line and status 1, or the answer to an option.
    void program_data()
    {
        QTest::addColumn<Words>("arguments");
        QTest::addColumn<Words>("variables");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("out");
        QTest::addColumn<QByteArray>("err");
        const QByteArray version = "ostrel " OSTREL_VERSION "\n";
        QTest::newRow("no display")
            << w("") << w("") << 1 << QByteArray()
            << QByteArray("ostrel: no display found: DISPLAY and WAYLAND_DISPLAY are not set\n");
        QTest::newRow("forced onto Wayland")
            << w("") << w("QT_QPA_PLATFORM=wayland") << 1 << QByteArray()
            << QByteArray("ostrel: no display found: WAYLAND_DISPLAY is not set\n");
        QTest::newRow("X display not there")
            << w("") << w("DISPLAY=:65000") << 1 << QByteArray()
            << QByteArray("ostrel: no display found: cannot connect to DISPLAY=:65000\n");
        QTest::newRow("Wayland display not there")
            << w("")
            << w("QT_QPA_PLATFORM=wayland WAYLAND_DISPLAY=nothere XDG_RUNTIME_DIR=/nonexistent")
            << 1 << QByteArray()
            << QByteArray("ostrel: no display found: cannot connect to WAYLAND_DISPLAY=nothere\n");
        QTest::newRow("neither display there")
            << w("") << w("DISPLAY=:65000 WAYLAND_DISPLAY=nothere XDG_RUNTIME_DIR=/nonexistent")
            << 1 << QByteArray()
            << QByteArray("ostrel: no display found: cannot connect to DISPLAY=:65000, "
                          "cannot connect to WAYLAND_DISPLAY=nothere\n");
        QTest::newRow("--version") << w("--version") << w("") << 0 << version << QByteArray();
        QTest::newRow("--version before Qt's options")
            << w("--version -platform xcb") << w("") << 0 << version << QByteArray();
        QTest::newRow("--help") << w("--help") << w("") << 0 << QByteArray("usage")
                                << QByteArray();
        QTest::newRow("-h") << w("-h") << w("") << 0 << QByteArray("usage") << QByteArray();
    }

    void program()
    {
        QFETCH(Words, arguments);
        QFETCH(Words, variables);
        QFETCH(int, status);
        QFETCH(QByteArray, out);
        QFETCH(QByteArray, err);
        const Run result = run(arguments, variables);
        QCOMPARE(result.status, status);
        QCOMPARE(result.err, err);
        if (out != "usage") {
            QCOMPARE(result.out, out);
            return;
        }
        QVERIFY2(result.out.startsWith("Usage: ostrel [--help | --version]\n"), result.out);
        QVERIFY2(result.out.contains("takes no command line of its own"), result.out);
        QVERIFY2(result.out.contains("-platform"), result.out);
    }
};

QTEST_GUILESS_MAIN(tst_CommandLine)
#include "tst_commandline.moc"
