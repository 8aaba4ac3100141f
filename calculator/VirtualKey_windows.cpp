// On Windows Qt hands on the key's own virtual-key code, and auto-repeat sends no releases.
#include "VirtualKey.h"

#include <QKeyEvent>

namespace VirtualKey {

int16_t of(const QKeyEvent &event)
{
    return static_cast<int16_t>(event.nativeVirtualKey());
}

bool stillHeld(const QKeyEvent &)
{
    return false;
}

} // namespace VirtualKey
