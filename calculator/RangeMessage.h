#pragma once

#include <QString>
#include <functional>

class QWidget;

// The calculator's only messages: the range errors. Modal, OK only, no icon, captioned with
// the application's title. Tests install a handler that records the text instead.
namespace RangeMessage {

using Handler = std::function<void(QWidget *parent, const QString &text)>;

void show(QWidget *parent, const QString &text);

// Replaces the handler; an empty one restores the message box. Returns the previous one.
Handler setHandler(Handler handler);

} // namespace RangeMessage
