#pragma once

class QWidget;

// What the window system must know of the about window beyond Qt's flags: no taskbar or
// pager entry, and a truly empty title (Qt puts the application's name in an empty one).
// Call after the native window exists and before it is first shown.
namespace PanelHints {

void apply(QWidget *window);

} // namespace PanelHints
