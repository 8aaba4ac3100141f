#include "ConnectionGuard.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

struct Held {
    QtMsgType type;
    int line;
    const char *file;
    const char *function;
    const char *category;
    QString text;
};

QList<Held> held;
QtMessageHandler previous = nullptr;

// Why the platforms Qt tried found no display, from their warnings; empty when none of them
// failed to connect.
QString unreachable()
{
    QStringList reasons;
    const QString x11 = QStringLiteral("could not connect to display");
    for (const Held &message : held) {
        if (message.text.startsWith(x11)) {
            const QString name = message.text.mid(x11.size()).trimmed();
            reasons << (name.isEmpty() ? QStringLiteral("DISPLAY is not set")
                                       : QStringLiteral("cannot connect to DISPLAY=") + name);
        } else if (message.text.startsWith(QLatin1String("Failed to create wl_display"))) {
            const QString name =
                qEnvironmentVariable("WAYLAND_DISPLAY", QStringLiteral("wayland-0"));
            reasons << QStringLiteral("cannot connect to WAYLAND_DISPLAY=") + name;
        }
    }
    return reasons.join(QStringLiteral(", "));
}

// Gives the held messages to the handler that was there before.
void release()
{
    qInstallMessageHandler(previous);
    const QList<Held> messages = std::exchange(held, {});
    for (const Held &m : messages)
        qt_message_output(m.type, QMessageLogContext(m.file, m.line, m.function, m.category),
                          m.text);
}

void hold(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (type != QtFatalMsg) {
        held.append({type, context.line, context.file, context.function, context.category, text});
        return;
    }
    const QString reason = unreachable();
    if (!reason.isEmpty()) {
        std::fprintf(stderr, "ostrel: no display found: %s\n", qPrintable(reason));
        std::_Exit(1);
    }
    release();
    qt_message_output(type, context, text);
}

} // namespace

ConnectionGuard::ConnectionGuard()
{
    previous = qInstallMessageHandler(hold);
}

ConnectionGuard::~ConnectionGuard()
{
    release();
}
