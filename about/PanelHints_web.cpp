// In a browser the page has no taskbar or pager, and a window shown in the usual way would be
// stretched over the whole page, as a browser's main window.
#include "PanelHints.h"

#include <QWidget>

namespace PanelHints {

void apply(QWidget *) {}

void setProgramName(char **) {}

void show(QWidget *window)
{
    window->setVisible(true);
}

} // namespace PanelHints
