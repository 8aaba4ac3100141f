// Start-up on Windows: the desktop is always there, Qt has one platform and reports its own
// failures, so there is no display to check, no connection to guard and no platform to choose.
#include "ConnectionGuard.h"
#include "DisplayCheck.h"
#include "PlatformChoice.h"

namespace DisplayCheck {

QByteArray missing(int, const char *const[], const Lookup &)
{
    return {};
}

QByteArray missing(int, const char *const[])
{
    return {};
}

} // namespace DisplayCheck

ConnectionGuard::ConnectionGuard() = default;
ConnectionGuard::~ConnectionGuard() = default;

void preferX11WhenOffered() {}
