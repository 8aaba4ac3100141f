#pragma once

// On a Wayland session Qt would pick its Wayland plugin, where windows cannot be placed and
// key codes differ. When the user has not chosen a platform and an X display is offered
// (XWayland), run on it, falling back to Wayland if that display cannot be reached.
void preferX11WhenOffered();
