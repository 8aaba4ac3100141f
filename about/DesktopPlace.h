#pragma once

#include <QPoint>

// Both windows stand at fixed places measured from the top-left corner of the whole desktop
// (all screens together), not of the primary screen.
namespace DesktopPlace {

// The point left, top (twips) from the desktop's top-left corner, in logical pixels.
QPoint at(int leftTwips, int topTwips);

} // namespace DesktopPlace
