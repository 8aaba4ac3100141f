#pragma once

#include <array>

// One row of the calculator window's control table. Geometry is in twips (15 to a logical
// pixel) from the top-left corner of the client area.
struct ControlSpec {
    enum Kind { Button, Option, Check, Display };

    const char *name;     // objectName; option buttons are "TCOption(index)"
    Kind kind;
    const char *caption;  // with its "&" access key
    const char *tooltip;  // nullptr: none
    int left, top, width, height;
    int index;            // option buttons: the time code type; otherwise -1
};

constexpr int kControlCount = 34;

// The controls in tab order.
extern const std::array<ControlSpec, kControlCount> kControlTable;
