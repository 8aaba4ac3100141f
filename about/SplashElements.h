#pragma once

#include <Qt>
#include <vector>

// The about window's contents, one row per element, in twips from Frame1's top-left corner.
enum class SplashKind { Picture, Label };

struct SplashFont
{
    const char *family = nullptr; // nullptr: the window's default dialog font
    double pointSize = 0;
    bool bold = false;
};

struct SplashElement
{
    const char *name = nullptr;
    SplashKind kind = SplashKind::Label;
    const char *text = nullptr;
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    SplashFont font;
    Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter;
    bool autoSize = false;      // the label takes its text's size
    bool closesOnClick = true;  // a click on it closes the window
};

const std::vector<SplashElement> &splashElements();

// The window itself, in twips.
namespace SplashWindow {
constexpr int clientWidth = 7230;
constexpr int clientHeight = 4245;
constexpr int screenLeft = 3450; // the client area's top-left on the screen
constexpr int screenTop = 3570;
constexpr int frameLeft = 45;    // Frame1 within the client area
constexpr int frameTop = 0;
constexpr int frameWidth = 7125;
constexpr int frameHeight = 4155;
} // namespace SplashWindow
