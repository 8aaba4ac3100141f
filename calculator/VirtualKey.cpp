#include "VirtualKey.h"

#include <QKeyEvent>

namespace VirtualKey {

int16_t shiftState(const QKeyEvent &event)
{
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    return static_cast<int16_t>((modifiers & Qt::ShiftModifier ? 1 : 0)
                                | (modifiers & Qt::ControlModifier ? 2 : 0)
                                | (modifiers & Qt::AltModifier ? 4 : 0));
}

} // namespace VirtualKey
