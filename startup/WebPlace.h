#pragma once

// When the page changes size, the windows move with its middle, so that the calculator stays
// in the middle of the page and every other window where it was in relation to it.
namespace WebPlace {

// Call once QApplication exists.
void followPage();

} // namespace WebPlace
