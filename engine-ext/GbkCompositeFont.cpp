#include "engine-ext/GbkCompositeFont.h"

#include "engine-ext/GbkCMap.h"

#include <GfxFont.h>
#include <Stream.h>

#include <array>
#include <cstdio>
#include <map>
#include <string>

namespace engine_ext {

namespace {

constexpr int kGbkEucSupplement = 2;
constexpr const char *kGbkCMapName = "GBK-EUC-H";
constexpr const char *kGbkAsciiCMapName = "GBK-EUC-H-ASCII";
constexpr unsigned char kFirstLeadByte = 0x81;
constexpr unsigned char kLastLeadByte = 0xFE;

// Poppler keeps the document's objects for as long as the document is open, and so must a
// stream made here keep its bytes; the bytes are a base so that they exist before MemStream.
struct COwnedBytes {
    std::vector<char> m_Bytes;
};

class COwnedMemStream : private COwnedBytes, public MemStream {
public:
    COwnedMemStream(std::vector<char> bytes, Object &&dict)
        : COwnedBytes{std::move(bytes)},
          MemStream(m_Bytes.data(), 0, static_cast<Goffset>(m_Bytes.size()), std::move(dict)) {}
};

Object Name(const char *name) {
    return Object(objName, name);
}

Object Text(const char *text) {
    return Object(new GooString(text));
}

Object CollectionInfo(XRef *xref) {
    auto *info = new Dict(xref);
    info->add("Registry", Text("Adobe"));
    info->add("Ordering", Text("GB1"));
    info->add("Supplement", Object(kGbkEucSupplement));
    return Object(info);
}

// Codes the CMap does not map all become CID 0, whatever their first byte; they take the
// width most lead bytes share, as undefined double-byte codes are the usual way to get there.
double CommonLeadByteWidth(const double *byteWidths) {
    std::map<double, int> counts;
    for (int b = kFirstLeadByte; b <= kLastLeadByte; ++b)
        ++counts[byteWidths[b]];
    auto common = counts.begin();
    for (auto it = counts.begin(); it != counts.end(); ++it)
        if (it->second > common->second)
            common = it;
    return common->first;
}

Object OwnedStream(std::vector<char> bytes, Dict *dict) {
    dict->add("Length", Object(static_cast<int>(bytes.size())));
    Stream *stream = new COwnedMemStream(std::move(bytes), Object(dict));
    return Object(stream);
}

// GBK-EUC-H with the ASCII bytes sent to the Latin CIDs (see CGbkCMap).
Object GbkAsciiCMap(XRef *xref) {
    char range[64];
    std::snprintf(range, sizeof range, "<%02x> <%02x> %u\n", kAsciiFirstByte, kAsciiLastByte,
                  kAsciiFirstCid);
    const std::string text = std::string("/CIDInit /ProcSet findresource begin\n"
                                         "12 dict begin\nbegincmap\n"
                                         "/CMapName /") +
                             kGbkAsciiCMapName + " def\n/CMapType 1 def\n/" + kGbkCMapName +
                             " usecmap\n1 begincidrange\n" + range +
                             "endcidrange\nendcmap\n"
                             "CMapName currentdict /CMap defineresource pop\nend\nend\n";
    auto *dict = new Dict(xref);
    dict->add("Type", Name("CMap"));
    dict->add("CMapName", Name(kGbkAsciiCMapName));
    dict->add("CIDSystemInfo", CollectionInfo(xref));
    return OwnedStream(std::vector<char>(text.begin(), text.end()), dict);
}

// Two bytes per CID, high byte first.
Object CidToGidStream(XRef *xref, const std::vector<unsigned short> &glyphs) {
    std::vector<char> bytes;
    bytes.reserve(glyphs.size() * 2);
    for (const unsigned short gid : glyphs) {
        bytes.push_back(static_cast<char>(gid >> 8));
        bytes.push_back(static_cast<char>(gid & 0xFF));
    }
    return OwnedStream(std::move(bytes), new Dict(xref));
}

} // namespace

Object CGbkCompositeFont::Build(XRef *xref, Dict *font, const Gfx8BitFont &simple,
                                const std::vector<unsigned short> &glyphs) const {
    auto *descendants = new Array(xref);
    descendants->add(BuildDescendant(xref, font, simple, glyphs));
    auto *composite = new Dict(xref);
    composite->add("Type", Name("Font"));
    composite->add("Subtype", Name("Type0"));
    composite->add("BaseFont", font->lookupNF("BaseFont").copy());
    // Without GBK-EUC-H Poppler refuses the font, so its text is left out rather than misread.
    composite->add("Encoding", m_CMap.IsEmpty() ? Name(kGbkCMapName) : GbkAsciiCMap(xref));
    composite->add("DescendantFonts", Object(descendants));
    return Object(composite);
}

Object CGbkCompositeFont::BuildDescendant(XRef *xref, Dict *font, const Gfx8BitFont &simple,
                                          const std::vector<unsigned short> &glyphs) const {
    // Poppler's reading of the simple font gives its 256 widths as it would draw them
    // (Widths, MissingWidth, or the standard fallbacks).
    std::array<double, 256> byteWidths{};
    for (int b = 0; b < 256; ++b)
        byteWidths[b] = simple.getWidth(static_cast<unsigned char>(b)) * 1000;
    auto *cidFont = new Dict(xref);
    cidFont->add("Type", Name("Font"));
    cidFont->add("Subtype", Name("CIDFontType2"));
    cidFont->add("BaseFont", font->lookupNF("BaseFont").copy());
    cidFont->add("CIDSystemInfo", CollectionInfo(xref));
    Object descriptor = font->lookupNF("FontDescriptor").copy();
    if (!descriptor.isNull())
        cidFont->add("FontDescriptor", std::move(descriptor));
    cidFont->add("DW", Object(CommonLeadByteWidth(byteWidths.data())));
    cidFont->add("W", BuildWidths(xref, byteWidths.data()));
    if (!glyphs.empty())
        cidFont->add("CIDToGIDMap", CidToGidStream(xref, glyphs));
    return Object(cidFont);
}

// Runs of consecutive CIDs of equal width as "first last width" triples.
Object CGbkCompositeFont::BuildWidths(XRef *xref, const double *byteWidths) const {
    auto *widths = new Array(xref);
    unsigned cid = 0;
    while (cid < m_CMap.CidCount()) {
        const int firstByte = m_CMap.FirstByteOf(cid);
        if (firstByte < 0) {
            ++cid;
            continue;
        }
        const double width = byteWidths[firstByte];
        unsigned last = cid;
        while (last + 1 < m_CMap.CidCount() && m_CMap.FirstByteOf(last + 1) >= 0 &&
               byteWidths[m_CMap.FirstByteOf(last + 1)] == width)
            ++last;
        widths->add(Object(static_cast<int>(cid)));
        widths->add(Object(static_cast<int>(last)));
        widths->add(Object(width));
        cid = last + 1;
    }
    return Object(widths);
}

} // namespace engine_ext
