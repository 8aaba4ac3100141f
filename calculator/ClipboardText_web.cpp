// A browser's clipboard. Qt writes it on Copy, but reads it only from a paste event (Ctrl+V),
// and otherwise answers with the text last placed on it. So Paste asks the browser itself,
// which answers during a user's click or key on a secure page (and may ask the user first).
// Where it will not, the text last placed stands in: the last Copy's text.
#include "ClipboardText.h"

#include <QClipboard>
#include <QGuiApplication>

#include <emscripten.h>

#include <cstdlib>

namespace {

// The browser's clipboard text as UTF-8 in memory the caller frees, or null when the browser
// has no clipboard to read here, refuses, or has not answered in five seconds (while it waits,
// the page goes on handling events, as under a modal message).
EM_ASYNC_JS(char *, readBrowserClipboard, (), {
    if (!navigator.clipboard || !navigator.clipboard.readText)
        return 0;
    try {
        const text = await Promise.race([
            navigator.clipboard.readText(),
            new Promise((resolve, reject) => setTimeout(reject, 5000)),
        ]);
        const size = lengthBytesUTF8(text) + 1;
        const copy = _malloc(size);
        stringToUTF8(text, copy, size);
        return copy;
    } catch (error) {
        return 0;
    }
});

// Only one wait at a time: a second Paste during the first takes the stand-in.
bool reading = false;

} // namespace

namespace ClipboardText {

void replace(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}

QString read()
{
    if (!reading) {
        reading = true;
        char *text = readBrowserClipboard();
        reading = false;
        if (text) {
            const QString result = QString::fromUtf8(text);
            std::free(text);
            return result;
        }
    }
    return QGuiApplication::clipboard()->text();
}

} // namespace ClipboardText
