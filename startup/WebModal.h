#pragma once

// Qt for the browser gives the keyboard to any window clicked, even one a modal window blocks;
// the modal window then stays in front but no longer hears Enter or Escape. This hands the
// keyboard back to it, as a desktop's window manager does.
namespace WebModal {

// Call once QApplication exists.
void keepKeysWithModal();

} // namespace WebModal
