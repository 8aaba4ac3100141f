#pragma once

#include <QPoint>

// Both windows stand at fixed places measured from the top-left corner of the primary screen,
// where a Windows desktop has its origin, wherever that screen lies among the others.
// The calculator's client area: its size and its place on the screen, in twips.
namespace CalculatorPlace {
constexpr int clientWidth = 4290, clientHeight = 2970;
constexpr int screenLeft = 4470, screenTop = 3705;
} // namespace CalculatorPlace

namespace DesktopPlace {

// The point left, top (twips) from the primary screen's top-left corner, in logical pixels.
QPoint at(int leftTwips, int topTwips);

} // namespace DesktopPlace
