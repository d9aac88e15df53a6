// The font tables against a font set of our own: Debian's free fonts shown to fontconfig
// under the Windows file names. fontconfig reads its configuration once per process, so
// this test has an executable of its own and sets FONTCONFIG_FILE before anything starts.

#include "engine-ext/CjkFontSubstitution.h"
#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/Gbk.h"
#include "tests/support/EngineHandle.h"

#include <GlobalParams.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace fs = std::filesystem;
using testsupport::CEngineHandle;
using testsupport::CTempDir;

namespace {

constexpr const char *kZenHei = "/usr/share/fonts/truetype/wqy/wqy-zenhei.ttc";
constexpr const char *kUMing = "/usr/share/fonts/truetype/arphic/uming.ttc";
constexpr const char *kDejaVu = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

class FontTables : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        s_pDir = new CTempDir;
        const std::string fonts = *s_pDir / "fonts";
        fs::create_directories(fonts);
        // Mixed case on purpose: file names are matched ignoring case.
        fs::create_symlink(kZenHei, fonts + "/SIMHEI.TTF");
        fs::create_symlink(kUMing, fonts + "/simsun.ttc");
        fs::create_symlink(kZenHei, fonts + "/SimSun.ttf");
        fs::create_symlink(kDejaVu, fonts + "/Arial.ttf");
        std::ofstream(*s_pDir / "fonts.conf")
            << "<?xml version=\"1.0\"?>\n<fontconfig><dir>" << fonts << "</dir><cachedir>"
            << (*s_pDir / "cache") << "</cachedir></fontconfig>\n";
        setenv("FONTCONFIG_FILE", (*s_pDir / "fonts.conf").c_str(), 1);
    }
    static void TearDownTestSuite() { delete s_pDir; }

    static std::string Registered(const std::string &name) {
        GooString *path = globalParams->findFontFile(name);
        const std::string result = path ? path->toStr() : "";
        delete path;
        return result;
    }
    static std::string Font(const char *name) { return *s_pDir / "fonts" + "/" + name; }

    static CTempDir *s_pDir;
};

CTempDir *FontTables::s_pDir = nullptr;

} // namespace

TEST_F(FontTables, NamedCidFontsAreRegisteredOnlyWhenTheirFileExists) {
    if (!fs::exists(kZenHei) || !fs::exists(kUMing) || !fs::exists(kDejaVu))
        GTEST_SKIP() << "Debian's free fonts are not installed";
    CEngineHandle h;
    ASSERT_EQ(h.Open(testsupport::Fixture("cjk.pdf")), 0);
    {
        engine_ext::CConfigurationUse opened;
        EXPECT_EQ(Registered("SimHei"), "") << "fonts wait until something is drawn";
    }
    engine_ext::CConfigurationUse use(true);
    EXPECT_EQ(Registered("SimHei"), Font("SIMHEI.TTF"));
    EXPECT_EQ(Registered(engine_ext::Utf8ToGbk("黑体")), Font("SIMHEI.TTF"));
    EXPECT_EQ(Registered("SimSun"), Font("simsun.ttc"));
    EXPECT_EQ(Registered(engine_ext::Utf8ToGbk("宋体")), Font("simsun.ttc"));
    EXPECT_EQ(Registered("黑体"), ""); // UTF-8 bytes are not the document's GBK name
    for (const char *missing : {"SimKai", "SimFang", "SimLi"})
        EXPECT_EQ(Registered(missing), "") << missing;
    EXPECT_EQ(Registered(engine_ext::Utf8ToGbk("仿宋_GB2312")), "");
    EXPECT_EQ(Registered("Helvetica"), Font("Arial.ttf"));
}

// What a non-embedded font is drawn with, by the substitute name it is given at open.
TEST_F(FontTables, SubstitutesTakeTheCollectionFontOrTheNamedFile) {
    if (!fs::exists(kZenHei) || !fs::exists(kUMing))
        GTEST_SKIP() << "Debian's free fonts are not installed";
    using engine_ext::CCjkFontSubstitution;
    CEngineHandle h;
    ASSERT_EQ(h.Open(testsupport::Fixture("cjk.pdf")), 0);
    engine_ext::CConfigurationUse use(true);
    EXPECT_EQ(Registered(CCjkFontSubstitution::ChoiceName("Adobe-GB1", "")), Font("simsun.ttc"));
    // No mingliu, msmincho or batang here: fontconfig's best font for the language.
    const std::string traditional = Registered(CCjkFontSubstitution::ChoiceName("Adobe-CNS1", ""));
    EXPECT_TRUE(traditional == Font("simsun.ttc") || traditional == Font("SIMHEI.TTF") ||
                traditional == Font("SimSun.ttf"))
        << traditional;
    EXPECT_EQ(Registered(CCjkFontSubstitution::ChoiceName("Unidocs-Korea1", "")),
              Registered(CCjkFontSubstitution::ChoiceName("Adobe-Korea1", "")));
    EXPECT_EQ(Registered(CCjkFontSubstitution::ChoiceName("Adobe-Identity", "")), "");
    // A named font's file where it exists, the collection's font where it does not.
    EXPECT_EQ(Registered(CCjkFontSubstitution::ChoiceName("Adobe-Japan1", "SimHei.ttf")),
              Font("SIMHEI.TTF"));
    EXPECT_EQ(Registered(CCjkFontSubstitution::ChoiceName("Adobe-GB1", "SimKai.ttf")),
              Font("simsun.ttc"));
}
