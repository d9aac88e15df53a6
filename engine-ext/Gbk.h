#pragma once

#include <string>

namespace engine_ext {

// UTF-8 text as GBK (code page 936) bytes, the way Chinese font names are written inside
// legacy PDF files. Empty when the text has no GBK form.
std::string Utf8ToGbk(const std::string &utf8);

} // namespace engine_ext
