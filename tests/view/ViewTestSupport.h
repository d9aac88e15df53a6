#pragma once

#include "view/CViewCore.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace viewtest {

// Writes a PDF of blank pages of the given sizes in points; for sizes the generated fixtures
// do not have (a page 600 points wide, a page too large to get a bitmap).
void WriteBlankPdf(const std::string &path, const std::vector<std::pair<int, int>> &sizes);
// Writes a PDF of one page whose content stream may use Helvetica as /F1.
void WritePdfWithText(const std::string &path, int width, int height, const std::string &content);

// A view core over a fixture, its client area set as a window of that size would set it.
std::unique_ptr<view::CViewCore> OpenCore(const std::string &path, int width, int height);

// Paints until no visible page is missing from the cache, letting the worker draw what each
// paint asked for in between; false when a paint fails or pages are still missing after that.
bool PaintSettled(view::CViewCore &core, platform::DeviceContext &buffer);

// The part of the rectangle inside the buffer is not background grey at its centre.
bool ShowsPageAt(const platform::DeviceContext &buffer, int x, int y, int width, int height);

// A picture in the binary PPM form (P6, 8 bits), rows top-down, red-green-blue.
struct CPpm {
    int width = 0, height = 0;
    std::string rgb;
    platform::Rgb At(int x, int y) const;
};
std::optional<CPpm> ParsePpm(const std::string &data);

} // namespace viewtest
