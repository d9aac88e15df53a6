#pragma once

#include "view/CViewCore.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace viewtest {

// Writes a PDF of blank pages of the given sizes in points; for sizes the generated fixtures
// do not have (a page 600 points wide, a page too large to get a bitmap).
void WriteBlankPdf(const std::string &path, const std::vector<std::pair<int, int>> &sizes);

// A view core over a fixture, its client area set as a window of that size would set it.
std::unique_ptr<view::CViewCore> OpenCore(const std::string &path, int width, int height);

// The part of the rectangle inside the buffer is not background grey at its centre.
bool ShowsPageAt(const platform::DeviceContext &buffer, int x, int y, int width, int height);

} // namespace viewtest
