#pragma once

class QWidget;

// What the window system must know of the about window beyond Qt's flags: no taskbar or
// pager entry, and a truly empty title (Qt puts the application's name in an empty one).
// Call after the native window exists and before it is first shown.
namespace PanelHints {

void apply(QWidget *window);

// Shows the window. On Wayland Qt sends a title only as the window is first shown, and puts
// the application's name into an empty one; when no name is set Qt takes the first word of
// the command line it was given. So the window is shown while both are empty.
// programName: that word's place in the command line given to QApplication.
void setProgramName(char **programName);
void show(QWidget *window);

} // namespace PanelHints
