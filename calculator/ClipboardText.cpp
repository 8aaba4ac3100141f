#include "ClipboardText.h"

#include <QClipboard>
#include <QGuiApplication>

namespace ClipboardText {

void replace(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

QString read()
{
    return QGuiApplication::clipboard()->text();
}

} // namespace ClipboardText
