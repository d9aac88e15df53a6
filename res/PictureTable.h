#pragma once

// Where each picture of the program lives in the Qt resource file, and the hot spots of the
// cursors.

namespace res {

struct SPicture {
    int nId;
    const char *pszPath; // a Qt resource path
    int nWidth, nHeight; // the size the picture is drawn at
};

struct SCursor {
    int nId;
    int nHotX, nHotY;
};

// Picture nId (bitmaps, icons, cursors), or nullptr.
const SPicture *LoadPicture(int nId);
// Cursor nId (IDC_HAND_OPEN, IDC_HAND_CLOSED), or nullptr.
const SCursor *LoadCursorInfo(int nId);

} // namespace res
