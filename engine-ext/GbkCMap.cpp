#include "engine-ext/GbkCMap.h"

#include <algorithm>
#include <fstream>

namespace engine_ext {

namespace {

// CIDs of a CMap are 16-bit; anything beyond is a damaged file, not a bigger table.
constexpr unsigned long kCidLimit = 0x10000;

struct CodeRange {
    unsigned long lo = 0;
    unsigned long hi = 0;
    unsigned long cid = 0;
    std::size_t bytes = 0;
};

// "<8140>" as its value and byte count; false for anything else.
bool ParseCode(const std::string &token, unsigned long *value, std::size_t *bytes) {
    if (token.size() < 4 || token.size() > 10 || token.front() != '<' || token.back() != '>' ||
        token.size() % 2 != 0)
        return false;
    const std::string hex = token.substr(1, token.size() - 2);
    if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        return false;
    *value = std::stoul(hex, nullptr, 16);
    *bytes = hex.size() / 2;
    return true;
}

bool ParseCid(const std::string &token, unsigned long *cid) {
    if (token.empty() || token.size() > 5 || token.find_first_not_of("0123456789") != token.npos)
        return false;
    *cid = std::stoul(token);
    return *cid < kCidLimit;
}

// The cidrange and cidchar sections; a malformed entry ends its section.
std::vector<CodeRange> ReadRanges(std::istream &in) {
    std::vector<CodeRange> ranges;
    std::string token;
    while (in >> token) {
        const bool isRange = token == "begincidrange";
        if (!isRange && token != "begincidchar")
            continue;
        for (;;) {
            CodeRange r;
            std::string lo, hi, cid;
            if (!(in >> lo) || !ParseCode(lo, &r.lo, &r.bytes))
                break;
            std::size_t hiBytes = r.bytes;
            r.hi = r.lo;
            if (isRange && (!(in >> hi) || !ParseCode(hi, &r.hi, &hiBytes)))
                break;
            if (!(in >> cid) || !ParseCid(cid, &r.cid) || hiBytes != r.bytes || r.hi < r.lo)
                break;
            ranges.push_back(r);
        }
    }
    return ranges;
}

} // namespace

CGbkCMap CGbkCMap::Read(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    CGbkCMap cmap;
    if (!file)
        return cmap;
    std::vector<CodeRange> ranges = ReadRanges(file);
    std::stable_sort(ranges.begin(), ranges.end(),
                     [](const CodeRange &a, const CodeRange &b) { return a.bytes < b.bytes; });
    for (const CodeRange &r : ranges) {
        const unsigned long last = std::min(r.cid + (r.hi - r.lo), kCidLimit - 1);
        if (cmap.m_FirstBytes.size() <= last)
            cmap.m_FirstBytes.resize(last + 1, -1);
        const unsigned shift = 8 * static_cast<unsigned>(r.bytes - 1);
        for (unsigned long cid = r.cid; cid <= last; ++cid)
            if (cmap.m_FirstBytes[cid] < 0)
                cmap.m_FirstBytes[cid] = static_cast<short>(((r.lo + cid - r.cid) >> shift) & 0xFF);
    }
    return cmap;
}

int CGbkCMap::FirstByteOf(unsigned cid) const {
    return cid < m_FirstBytes.size() ? m_FirstBytes[cid] : -1;
}

} // namespace engine_ext
