#include "WebModal.h"

#include <QApplication>
#include <QWidget>
#include <QWindow>

namespace WebModal {

void keepKeysWithModal()
{
    QObject::connect(qApp, &QGuiApplication::focusWindowChanged, qApp, [](QWindow *focused) {
        QWidget *modal = QApplication::activeModalWidget();
        if (modal && focused && focused != modal->windowHandle())
            modal->activateWindow();
    }, Qt::QueuedConnection);
}

} // namespace WebModal
