#pragma once

#include <cstdint>

class QKeyEvent;

// The key handlers work on Windows virtual-key codes; Qt gives those only on Windows, so
// other platforms get them from the key and its keypad flag, and the main-row digits from
// their physical key, so that Shift+8 is still the 8 key.
namespace VirtualKey {

enum : int16_t {
    Backspace = 8, Escape = 27, Space = 32, End = 35, Delete = 46,
    Digit0 = 48, Numpad0 = 96, Multiply = 106, Add = 107, Subtract = 109, Divide = 111,
};

// The event's virtual-key code, or 0 for a key the calculator has no use for.
int16_t of(const QKeyEvent &event);

// Shift 1, Ctrl 2, Alt 4, as the key handlers receive them.
int16_t shiftState(const QKeyEvent &event);

// Whether the key of a release event is still held down: X11 sends a release with each
// auto-repeated press, and Qt does not flag every one of them.
bool stillHeld(const QKeyEvent &release);

} // namespace VirtualKey
