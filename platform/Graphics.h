#pragma once

// Antialiased vector drawing over the bitmap selected into a device context, for what is laid
// over a page: a line of text filled with a gradient, and the picture of an image file, both
// with an opacity and turned about their anchor. Drawing reaches only the pixels the mark covers.

#include "platform/DeviceContext.h"

#include <cstdint>
#include <string>

namespace platform {

struct GradientText {
    std::string text;    // UTF-8, drawn as one line
    std::string font;    // family name
    int nLineHeight = 0; // pixels from the top of the line to its bottom
    Rgb top, bottom;     // colours at the line's top and bottom, repeated every line height
    std::uint8_t alpha = 255;
};

// Draws the line with its top-left corner at (x, y), turned clockwise by `degrees` about that
// corner. Where the font lacks characters of the text, the installed font that has them stands
// in. False when nothing could be drawn: no bitmap, an empty or invalid text, no font.
bool DrawGradientText(DeviceContext &dc, const GradientText &text, int x, int y, double degrees);

// Draws the whole picture of a PNG or JPEG file stretched into (x, y, width, height), turned
// clockwise by `degrees` about (x, y), its alpha scaled by opacity (0 to 1). False when the file
// cannot be read as a picture or the rectangle is empty.
bool DrawImageFile(DeviceContext &dc, const std::string &path, int x, int y, int width, int height,
                   double opacity, double degrees);

} // namespace platform
