#pragma once

#include <string_view>

namespace engine_ext {

// Whether a simple TrueType font with this BaseFont name writes its text as GBK double-byte
// codes: legacy Chinese producers named such fonts after 宋体, 楷体_GB2312, 仿宋_GB2312 or 黑体
// (in GBK bytes) or a part of those names such as 楷体. The name must be such a part on whole
// characters and hold at least one Chinese character, so that fonts named "B" or "_GB2312",
// or with no name at all, keep their single-byte text.
bool IsGbkFontName(std::string_view baseFont);

} // namespace engine_ext
