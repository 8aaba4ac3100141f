#pragma once

class QWidget;

// At start the about window must come up in front of the calculator and active. A window
// manager or compositor gives the focus to each new window as it puts it up, and under
// XWayland the two windows may go up in either order, so the about window waits until the
// calculator has the focus. Without a window manager, or if the focus never comes, it shows
// at once (half a second after the calculator is on the screen).
namespace AboutAtStart {

void showInFrontOf(QWidget *calculator);

} // namespace AboutAtStart
