#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace engine_ext {

// The standard font a simple font's name stands for ("Arial,Bold" is Helvetica-Bold), spaces
// in the name ignored, as Poppler decides it; Poppler keeps that table to itself.
std::optional<std::string> Base14NameOf(std::string_view fontName);

} // namespace engine_ext
