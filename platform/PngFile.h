#pragma once

#include "platform/Bitmap.h"

#include <string>

namespace platform {

// Writes the top-left width x height pixels of a bitmap as an 8-bit RGB PNG file. False when
// the rectangle is not inside the bitmap or the file cannot be written.
bool WritePng(const Bitmap &bitmap, int width, int height, const std::string &path);

} // namespace platform
