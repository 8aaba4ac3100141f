#include "RangeMessage.h"

#include "NumberText.h"

#include <QMessageBox>

namespace RangeMessage {
namespace {

Handler &current()
{
    static Handler handler;
    return handler;
}

void showBox(QWidget *parent, const QString &text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Ostrel"), NumberText::shown(text),
                    QMessageBox::Ok, parent);
    box.exec();
    // Without a window manager nothing would hand the keyboard back to the calculator.
    if (parent)
        parent->window()->activateWindow();
}

} // namespace

void show(QWidget *parent, const QString &text)
{
    if (current())
        current()(parent, text);
    else
        showBox(parent, text);
}

Handler setHandler(Handler handler)
{
    Handler previous = std::move(current());
    current() = std::move(handler);
    return previous;
}

} // namespace RangeMessage
