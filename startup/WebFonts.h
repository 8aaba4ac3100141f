#pragma once

// The fonts of a browser page: none but those the program carries. Liberation Sans, with the
// metrics of the fonts the layout was made for, in its regular and bold faces, becomes the
// font of message boxes and tooltips too, at the size Qt gives them on a Linux desktop.
namespace WebFonts {

// Call once QApplication exists and before the first window is built.
void load();

} // namespace WebFonts
