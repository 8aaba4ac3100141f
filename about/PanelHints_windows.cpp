// On Windows an owner-less window gets a taskbar button unless it is a tool window, and a
// frameless one has no title bar to show a title in.
#include "PanelHints.h"

#include <QWidget>

#include <windows.h>

namespace PanelHints {

void apply(QWidget *window)
{
    const auto handle = reinterpret_cast<HWND>(window->winId());
    const LONG_PTR style = GetWindowLongPtrW(handle, GWL_EXSTYLE);
    SetWindowLongPtrW(handle, GWL_EXSTYLE, (style | WS_EX_TOOLWINDOW) & ~LONG_PTR(WS_EX_APPWINDOW));
    // Qt names an untitled window after the application.
    SetWindowTextW(handle, L"");
}

void setProgramName(char **) {}

void show(QWidget *window)
{
    window->show();
}

} // namespace PanelHints
