#include "engine-ext/CjkCidToUnicode.h"

#include <cstdlib>
#include <fstream>

namespace engine_ext {

namespace {

// CIDs are 16-bit; a longer file is damaged and is read no further.
constexpr std::size_t kCidLimit = 0x10000;
constexpr unsigned long kUnicodeLimit = 0x10FFFF;

} // namespace

CCidToUnicode CCidToUnicode::Read(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    CCidToUnicode table;
    for (std::string line; table.m_Unicode.size() < kCidLimit && std::getline(file, line);) {
        char *end = nullptr;
        const unsigned long u = std::strtoul(line.c_str(), &end, 16);
        const bool valid = end != line.c_str() && u <= kUnicodeLimit;
        table.m_Unicode.push_back(valid ? static_cast<unsigned>(u) : 0);
    }
    return table;
}

} // namespace engine_ext
