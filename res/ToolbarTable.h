#pragma once

// Toolbar resources: the commands of the buttons in order (ID_SEPARATOR for a separator) and the
// strip of button images, one image per button in the same order, laid out left to right.

#include <span>

namespace res {

struct SToolbar {
    int nId;
    int nBitmap;     // the image strip
    int nTitle;      // string id of the bar's title
    int nButtonSize; // square images, in pixels
    std::span<const int> buttons;
};

// Toolbar nId (IDR_MAINFRAME, IDR_TOOLBAR_TOOLS), or nullptr.
const SToolbar *LoadToolBar(int nId);

} // namespace res
