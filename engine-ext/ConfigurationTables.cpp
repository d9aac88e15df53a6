#include "engine-ext/ConfigurationTables.h"

#include "engine-ext/Gbk.h"

namespace engine_ext {

const std::array<CollectionResources, 4> kCollections = {{
    {"Adobe-GB1", "CIDtoUnicode/Adobe-GB1.cidToUnicode", "CMap/SC", "simsun.ttc", "simsun.ttf",
     "zh-cn"},
    {"Adobe-CNS1", "CIDtoUnicode/Adobe-CNS1.cidToUnicode", "CMap/TC", "mingliu.ttc", "mingliu.ttf",
     "zh-tw"},
    {"Adobe-Japan1", "CIDtoUnicode/Adobe-Japan1.cidToUnicode", "CMap/JP", "msmincho.ttc",
     "msmincho.ttf", "ja"},
    {"Adobe-Korea1", "CIDtoUnicode/Adobe-Korea1.cidToUnicode", "CMap/KR", "batang.ttc",
     "batang.ttf", "ko"},
}};

const std::array<const char *, 9> kUnicodeMapEncodings = {
    "ISO-2022-CN", "EUC-CN",      "GBK",       "Big5",       "Big5ascii",
    "EUC-JP",      "ISO-2022-JP", "Shift-JIS", "ISO-2022-KR"};

const std::array<NamedCidFont, kNamedCidFontSlots> kNamedCidFonts = {{
    {"SimHei", "SimHei.ttf"},
    {"黑体", "SimHei.ttf"},
    {"SimSun", "SimSun.ttc"},
    {"宋体", "SimSun.ttc"},
    {"SimLi", "SimLi.ttf"},
    {"隶书", "SimLi.ttf"},
    {"SimFang", "SimFang.ttf"},
    {"仿宋_GB2312", "SimFang.ttf"},
    {"仿宋", "SimFang.ttf"},
    {"SimKai", "SimKai.ttf"},
    {"楷体_GB2312", "SimKai.ttf"},
    {"楷体", "SimKai.ttf"},
}};

const std::array<BaseFontFile, 14> kBaseFontFiles = {{
    {"Courier", "cour.ttf"},
    {"Courier-Bold", "courbd.ttf"},
    {"Courier-BoldOblique", "courbi.ttf"},
    {"Courier-Oblique", "couri.ttf"},
    {"Helvetica", "arial.ttf"},
    {"Helvetica-Bold", "arialbd.ttf"},
    {"Helvetica-BoldOblique", "arialbi.ttf"},
    {"Helvetica-Oblique", "ariali.ttf"},
    {"Times-Roman", "times.ttf"},
    {"Times-Bold", "timesbd.ttf"},
    {"Times-Italic", "timesi.ttf"},
    {"Times-BoldItalic", "timesbi.ttf"},
    {"Symbol", nullptr},
    {"ZapfDingbats", nullptr},
}};

namespace {

bool IsAscii(const char *s) {
    for (; *s; ++s)
        if (static_cast<unsigned char>(*s) >= 0x80)
            return false;
    return true;
}

} // namespace

std::string DocumentFontName(const NamedCidFont &font) {
    if (!font.name)
        return {};
    return IsAscii(font.name) ? std::string(font.name) : Utf8ToGbk(font.name);
}

} // namespace engine_ext
