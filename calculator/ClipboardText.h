#pragma once

#include <QString>

// The platform's clipboard as Copy and Paste use it: plain text only.
namespace ClipboardText {

// Empties the clipboard, then places the text on it.
void replace(const QString &text);

// The clipboard's plain text; empty when it holds none or cannot be read.
QString read();

} // namespace ClipboardText
