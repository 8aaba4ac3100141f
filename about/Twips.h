#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// The window's layout is given in twips. Converting to logical pixels (not device pixels)
// lets Qt's high-DPI scaling keep the proportions.
namespace Twips {

constexpr int perPixel = 15;

// Rounded to the nearest pixel: a few controls sit at odd twips.
constexpr int toPixels(int twips) { return (twips + perPixel / 2) / perPixel; }

constexpr QPoint toPixels(int left, int top) { return QPoint(toPixels(left), toPixels(top)); }

constexpr QRect toPixels(int left, int top, int width, int height)
{
    return QRect(toPixels(left), toPixels(top), toPixels(width), toPixels(height));
}

} // namespace Twips
