#pragma once

#include "platform/Bitmap.h"

#include <QImage>
#include <QRect>

#include <memory>

namespace view {

// Copies the top-left width x height pixels of a device bitmap into image (made or remade as
// 32-bit RGB of that size), ready to be drawn onto the window surface as it is. Qt draws the
// device bitmap's blue-green-red order only through its generic per-pixel path, which costs
// more than this copy and the 32-bit draw together.
void ToScreenImage(const platform::Bitmap &bitmap, int width, int height, QImage &image);

// A picture of any format as a device bitmap of its size; null when memory cannot be had.
std::unique_ptr<platform::Bitmap> FromScreenImage(const QImage &image);

// Marks drawn over a 32-bit screen image by inverting its pixels, so that drawing a mark twice
// takes it away. rect is clipped to the image.
// Every other pixel of the rectangle's one-pixel outline: a focus rectangle.
void InvertOutline(QImage &image, const QRect &rect);
// Every pixel of the rectangle.
void InvertRect(QImage &image, const QRect &rect);

} // namespace view
