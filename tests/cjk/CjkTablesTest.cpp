// The pieces the Chinese-font handling reads for itself: which font names are GBK-coded, the
// GBK-EUC-H CMap, the Adobe-GB1 table, the standard font names, and CID-to-glyph maps, each
// against the real resource files and against damaged ones.

#include "engine-ext/CjkBase14Names.h"
#include "engine-ext/CjkCidToGidMap.h"
#include "engine-ext/CjkCidToUnicode.h"
#include "engine-ext/Gbk.h"
#include "engine-ext/GbkCMap.h"
#include "engine-ext/GbkFontName.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>

using namespace engine_ext;
using testsupport::CTempDir;

namespace {

constexpr const char *kDejaVuSans = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";
constexpr unsigned kCidOfZhong = 4559;  // 中, GBK D6D0
constexpr unsigned kCidOfDigitOne = 18; // '1' among the Latin CIDs
constexpr unsigned kHalfWidthDigitOne = 830;

std::string GbkCMapFile() {
    return testsupport::ResourceDir() + "/CMap/SC/GBK-EUC-H";
}

std::string Gb1TableFile() {
    return testsupport::ResourceDir() + "/CIDtoUnicode/Adobe-GB1.cidToUnicode";
}

std::string WriteFile(const CTempDir &dir, const std::string &text) {
    const std::string path = dir / "file";
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

} // namespace

TEST(GbkFontName, OnlyWholeCharactersOfTheFourChineseNamesQualify) {
    struct Case {
        std::string name;
        bool gbk;
    };
    const Case cases[] = {
        {Utf8ToGbk("宋体"), true},
        {Utf8ToGbk("黑体"), true},
        {Utf8ToGbk("楷体_GB2312"), true},
        {Utf8ToGbk("仿宋_GB2312"), true},
        {Utf8ToGbk("楷体"), true}, // a part of 楷体_GB2312
        {Utf8ToGbk("仿宋"), true},
        {Utf8ToGbk("宋"), true},
        {Utf8ToGbk("宋体,Bold"), false},
        {Utf8ToGbk("宋体_GB2312"), false},
        {Utf8ToGbk("隶书"), false},
        {"宋体", false}, // UTF-8 bytes
        {"SimSun", false},
        // Parts the byte rule alone would take: no Chinese character, or half of one.
        {"", false},
        {"B", false},
        {"_GB2312", false},
        {Utf8ToGbk("宋体").substr(1, 2), false},
        {Utf8ToGbk("宋体").substr(0, 3), false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(IsGbkFontName(c.name), c.gbk) << c.name;
}

TEST(GbkCMap, ReachesEachCidFromTheFirstByteOfItsCode) {
    const CGbkCMap cmap = CGbkCMap::Read(GbkCMapFile());
    ASSERT_FALSE(cmap.IsEmpty());
    EXPECT_EQ(cmap.FirstByteOf(kCidOfZhong), 0xD6);
    // ASCII bytes go to the Latin CIDs; the half-width forms keep only their two-byte codes
    // of the user-defined area (AAA1 to AAFE).
    EXPECT_EQ(cmap.FirstByteOf(kAsciiFirstCid), static_cast<int>(kAsciiFirstByte));
    EXPECT_EQ(cmap.FirstByteOf(kCidOfDigitOne), '1');
    EXPECT_EQ(cmap.FirstByteOf(kHalfWidthDigitOne), 0xAA);
    EXPECT_EQ(cmap.FirstByteOf(0), -1);
    EXPECT_EQ(cmap.FirstByteOf(cmap.CidCount()), -1);
}

TEST(GbkCMap, DamagedFilesGiveWhatIsReadableAndNoMore) {
    CTempDir dir;
    EXPECT_TRUE(CGbkCMap::Read(dir / "missing").IsEmpty());
    EXPECT_TRUE(CGbkCMap::Read(WriteFile(dir, "")).IsEmpty());
    EXPECT_TRUE(CGbkCMap::Read(WriteFile(dir, "\x89PNG\r\n\x1a\n garbage")).IsEmpty());
    // A range that runs backwards, a CID beyond 16 bits, codes of unequal length: a section
    // stops at its first bad entry, and what came before it stays. A range of four billion
    // codes ends where CIDs do.
    const CGbkCMap partial = CGbkCMap::Read(
        WriteFile(dir, "1 begincidrange\n<d6a1> <d6fe> 4512\n<8140> <8100> 7\n<d7a1> <d7fe> 99\n"
                       "endcidrange\n1 begincidrange\n<8140> <817e> 70000\nendcidrange\n"
                       "1 begincidrange\n<8140> <ffffff> 200\nendcidrange\n"
                       "1 begincidrange\n<00000000> <ffffffff> 30000\nendcidrange\n"));
    ASSERT_FALSE(partial.IsEmpty());
    EXPECT_EQ(partial.FirstByteOf(kCidOfZhong), 0xD6);
    EXPECT_EQ(partial.FirstByteOf(99), -1);
    EXPECT_EQ(partial.FirstByteOf(200), -1);
    EXPECT_EQ(partial.FirstByteOf(0xFFFF), 0);
    EXPECT_EQ(partial.CidCount(), 0x10000u);
}

TEST(CidToUnicode, ReadsTheTableAndSkipsBadLines) {
    const CCidToUnicode table = CCidToUnicode::Read(Gb1TableFile());
    ASSERT_FALSE(table.IsEmpty());
    EXPECT_EQ(table.UnicodeOf(kCidOfZhong), 0x4E2Du);
    EXPECT_EQ(table.UnicodeOf(kCidOfDigitOne), 0x31u);
    // poppler-data's table reads the half-width forms as full-width ones.
    EXPECT_EQ(table.UnicodeOf(kHalfWidthDigitOne), 0xFF11u);
    EXPECT_EQ(table.UnicodeOf(table.Size()), 0u);

    CTempDir dir;
    EXPECT_TRUE(CCidToUnicode::Read(dir / "missing").IsEmpty());
    const CCidToUnicode damaged =
        CCidToUnicode::Read(WriteFile(dir, "4e2d\n-1\nzz\n\n110000\n6587"));
    ASSERT_EQ(damaged.Size(), 6u);
    const unsigned expected[] = {0x4E2D, 0, 0, 0, 0, 0x6587};
    for (unsigned cid = 0; cid < 6; ++cid)
        EXPECT_EQ(damaged.UnicodeOf(cid), expected[cid]) << cid;
}

TEST(Base14Names, AliasesAreTheStandardFontsWhateverTheirSpaces) {
    struct Case {
        const char *name;
        const char *base14; // null: not a standard font
    };
    for (const Case &c : {Case{"Arial", "Helvetica"}, Case{"Arial,Bold", "Helvetica-Bold"},
                          Case{"Arial-BoldItalicMT", "Helvetica-BoldOblique"},
                          Case{"Times New Roman", "Times-Roman"}, Case{"CourierNewPSMT", "Courier"},
                          Case{"Helvetica", "Helvetica"}, Case{"ZapfDingbats", "ZapfDingbats"},
                          Case{"Verdana", nullptr}, Case{"arial", nullptr}, Case{"SimSun", nullptr},
                          Case{"", nullptr}}) {
        const auto base14 = Base14NameOf(c.name);
        if (c.base14) {
            EXPECT_EQ(base14.value_or("(none)"), c.base14) << c.name;
        } else {
            EXPECT_FALSE(base14) << c.name;
        }
    }
}

TEST(CidToGidMap, MapsThroughTheFontsUnicodeCmapAndNeverByIndex) {
    CTempDir dir;
    // CID 0 has no character, CID 1 is 'A', CID 2 a character DejaVu Sans lacks.
    const CCidToUnicode table = CCidToUnicode::Read(WriteFile(dir, "0000\n0041\n4e2d\n"));
    std::ifstream in(kDejaVuSans, std::ios::binary);
    if (!in)
        GTEST_SKIP() << "DejaVu Sans is not installed";
    const std::vector<unsigned char> font{std::istreambuf_iterator<char>(in), {}};
    const std::vector<unsigned short> map = CidToGidMapOfData(font, table, 5);
    ASSERT_EQ(map.size(), 5u);
    EXPECT_EQ(map[0], 0);
    EXPECT_GT(map[1], 0);
    EXPECT_EQ(map[2], 0);
    EXPECT_EQ(map[3], 0); // beyond the table
    EXPECT_EQ(map[4], 0);
    // Data that is no font at all maps every CID to glyph 0, not to itself.
    for (const auto &data : {std::vector<unsigned char>(), std::vector<unsigned char>(4096, 0x5A),
                             std::vector<unsigned char>(font.begin(), font.begin() + 200)}) {
        const std::vector<unsigned short> none = CidToGidMapOfData(data, table, 3);
        EXPECT_EQ(none, std::vector<unsigned short>(3, 0));
    }
}
