#pragma once

#include "platform/Bitmap.h"

#include <QImage>

namespace view {

// Copies the top-left width x height pixels of a device bitmap into image (made or remade as
// 32-bit RGB of that size), ready to be drawn onto the window surface as it is. Qt draws the
// device bitmap's blue-green-red order only through its generic per-pixel path, which costs
// more than this copy and the 32-bit draw together.
void ToScreenImage(const platform::Bitmap &bitmap, int width, int height, QImage &image);

} // namespace view
