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

void SetFirstByte(std::vector<short> &firstBytes, unsigned long cid, unsigned long firstByte) {
    if (firstBytes.size() <= cid)
        firstBytes.resize(cid + 1, -1);
    if (firstBytes[cid] < 0)
        firstBytes[cid] = static_cast<short>(firstByte & 0xFF);
}

void AddRange(std::vector<short> &firstBytes, const CodeRange &r) {
    const unsigned shift = 8 * static_cast<unsigned>(r.bytes - 1);
    for (unsigned long code = r.lo; code <= r.hi; ++code) {
        const unsigned long cid = r.cid + (code - r.lo);
        if (cid >= kCidLimit)
            break;
        // The ASCII bytes are decoded to the Latin CIDs instead.
        if (r.bytes == 1 && code >= kAsciiFirstByte && code <= kAsciiLastByte)
            continue;
        SetFirstByte(firstBytes, cid, code >> shift);
    }
}

} // namespace

CGbkCMap CGbkCMap::Read(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    CGbkCMap cmap;
    std::vector<CodeRange> ranges = file ? ReadRanges(file) : std::vector<CodeRange>();
    if (ranges.empty())
        return cmap;
    // The first code to reach a CID gives its byte: the ASCII bytes, then the other one-byte
    // codes, then the two-byte codes.
    for (unsigned code = kAsciiFirstByte; code <= kAsciiLastByte; ++code)
        SetFirstByte(cmap.m_FirstBytes, kAsciiFirstCid + (code - kAsciiFirstByte), code);
    std::stable_sort(ranges.begin(), ranges.end(),
                     [](const CodeRange &a, const CodeRange &b) { return a.bytes < b.bytes; });
    for (const CodeRange &r : ranges)
        AddRange(cmap.m_FirstBytes, r);
    return cmap;
}

int CGbkCMap::FirstByteOf(unsigned cid) const {
    return cid < m_FirstBytes.size() ? m_FirstBytes[cid] : -1;
}

} // namespace engine_ext
