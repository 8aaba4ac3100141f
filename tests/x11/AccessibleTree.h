#pragma once

// Built only with Qt D-Bus (OSTREL_HAVE_QTDBUS).
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusVariant>
#include <QList>
#include <QString>

#include <memory>

// What a screen reader reads: the program's accessible objects over AT-SPI. It is the one way
// to read a message box's text on X11, where Ctrl+C in a QMessageBox copies nothing.
class AccessibleTree
{
public:
    struct Node
    {
        uint role = 0; // AT-SPI role number
        QString name;
    };

    // AT-SPI role numbers.
    static constexpr uint kAlert = 2, kLabel = 29, kPushButton = 43;

    // Asks the session bus for the accessibility bus and connects to it.
    bool open(const QString &sessionAddress, QString *error)
    {
        QDBusConnection session =
            QDBusConnection::connectToBus(sessionAddress, QStringLiteral("ostrel-session"));
        if (!session.isConnected()) {
            *error = QStringLiteral("cannot reach the session bus");
            return false;
        }
        const QDBusMessage reply = session.call(
            QDBusMessage::createMethodCall(QStringLiteral("org.a11y.Bus"),
                                           QStringLiteral("/org/a11y/bus"),
                                           QStringLiteral("org.a11y.Bus"),
                                           QStringLiteral("GetAddress")),
            QDBus::Block, kCallTimeoutMs);
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
            *error = QStringLiteral("no accessibility bus: ") + reply.errorMessage();
            return false;
        }
        m_bus = std::make_unique<QDBusConnection>(QDBusConnection::connectToBus(
            reply.arguments().constFirst().toString(), QStringLiteral("ostrel-a11y")));
        if (!m_bus->isConnected()) {
            *error = QStringLiteral("cannot reach the accessibility bus");
            return false;
        }
        return true;
    }

    // The objects in the first top-level window of program pid named title, depth first,
    // the window itself first; empty until it shows.
    QList<Node> windowContents(qint64 pid, const QString &title)
    {
        QList<Node> found;
        if (!m_bus)
            return found;
        const auto apps = children({QStringLiteral("org.a11y.atspi.Registry"),
                                    QStringLiteral("/org/a11y/atspi/accessible/root")});
        for (const Ref &app : apps) {
            if (processOf(app.service) != pid)
                continue;
            for (const Ref &window : children(app)) {
                if (name(window) != title)
                    continue;
                collect(window, 0, &found);
                return found;
            }
        }
        return found;
    }

private:
    static constexpr int kCallTimeoutMs = 3000;
    static constexpr int kDepthLimit = 6;

    struct Ref
    {
        QString service;
        QString path;
    };

    QDBusMessage call(const Ref &ref, const QString &interface, const QString &method,
                      const QVariantList &arguments = {})
    {
        QDBusMessage message =
            QDBusMessage::createMethodCall(ref.service, ref.path, interface, method);
        message.setArguments(arguments);
        return m_bus->call(message, QDBus::Block, kCallTimeoutMs);
    }

    QList<Ref> children(const Ref &ref)
    {
        QList<Ref> list;
        const QDBusMessage reply =
            call(ref, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetChildren"));
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return list;
        const QDBusArgument argument = reply.arguments().constFirst().value<QDBusArgument>();
        argument.beginArray();
        while (!argument.atEnd()) {
            QString service;
            QDBusObjectPath path;
            argument.beginStructure();
            argument >> service >> path;
            argument.endStructure();
            list.append({service, path.path()});
        }
        argument.endArray();
        return list;
    }

    QString name(const Ref &ref)
    {
        const QDBusMessage reply = call(
            ref, QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"),
            {QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("Name")});
        if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty())
            return QString();
        return reply.arguments().constFirst().value<QDBusVariant>().variant().toString();
    }

    uint role(const Ref &ref)
    {
        const QDBusMessage reply =
            call(ref, QStringLiteral("org.a11y.atspi.Accessible"), QStringLiteral("GetRole"));
        return reply.arguments().isEmpty() ? 0 : reply.arguments().constFirst().toUInt();
    }

    qint64 processOf(const QString &service)
    {
        const QDBusMessage reply = call(
            {QStringLiteral("org.freedesktop.DBus"), QStringLiteral("/org/freedesktop/DBus")},
            QStringLiteral("org.freedesktop.DBus"),
            QStringLiteral("GetConnectionUnixProcessID"), {service});
        return reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()
            ? qint64(reply.arguments().constFirst().toUInt())
            : -1;
    }

    void collect(const Ref &ref, int depth, QList<Node> *nodes)
    {
        nodes->append({role(ref), name(ref)});
        if (depth < kDepthLimit)
            for (const Ref &child : children(ref))
                collect(child, depth + 1, nodes);
    }

    std::unique_ptr<QDBusConnection> m_bus;
};

