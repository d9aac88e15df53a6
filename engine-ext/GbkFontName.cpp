#include "engine-ext/GbkFontName.h"

#include "engine-ext/Gbk.h"

#include <string>
#include <vector>

namespace engine_ext {

namespace {

constexpr const char *kGbkFontList = "宋体 楷体_GB2312 仿宋_GB2312 黑体";

bool IsLeadByte(unsigned char c) {
    return c >= 0x81 && c <= 0xFE;
}

// The list's character boundaries: true at every offset where a character starts, and at
// the end.
std::vector<bool> CharacterStarts(const std::string &gbk) {
    std::vector<bool> starts(gbk.size() + 1, false);
    for (std::size_t i = 0; i < gbk.size(); i += IsLeadByte(gbk[i]) ? 2 : 1)
        starts[i] = true;
    starts[gbk.size()] = true;
    return starts;
}

bool HasDoubleByteCharacter(std::string_view name) {
    for (const char c : name)
        if (IsLeadByte(static_cast<unsigned char>(c)))
            return true;
    return false;
}

} // namespace

bool IsGbkFontName(std::string_view baseFont) {
    static const std::string list = Utf8ToGbk(kGbkFontList);
    static const std::vector<bool> starts = CharacterStarts(list);
    if (!HasDoubleByteCharacter(baseFont))
        return false;
    for (auto at = list.find(baseFont); at != std::string::npos; at = list.find(baseFont, at + 1))
        if (starts[at] && starts[at + baseFont.size()])
            return true;
    return false;
}

} // namespace engine_ext
