#pragma once

#include "platform/Bitmap.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// The one JPEG encoder of the program (snapshots and print jobs): libjpeg-turbo with its
// default settings. The top-left width x height pixels of a bitmap become a baseline JPEG.
inline constexpr int kJpegDefaultQuality = 75;

// False when the rectangle is not inside the bitmap or the encoder fails; out is then empty.
bool EncodeJpeg(const Bitmap &bitmap, int width, int height, std::vector<std::uint8_t> &out,
                int quality = kJpegDefaultQuality);

// Encodes first and writes after, so a failed encoding never leaves a cut file behind; an
// existing file is replaced. False when encoding or writing fails.
bool WriteJpeg(const Bitmap &bitmap, int width, int height, const std::string &path,
               int quality = kJpegDefaultQuality);

// Decodes a JPEG file (baseline or progressive, any colour space libjpeg-turbo converts to RGB)
// into a device bitmap. Null when the file cannot be read or decoded, or is too large to hold.
std::unique_ptr<Bitmap> ReadJpeg(const std::string &path);

} // namespace platform
