// Chinese text against the Windows font names, each a free Debian font shown to fontconfig
// under that name: simsun.ttc (the Adobe-GB1 collection font and 宋体) is WenQuanYi Zen Hei,
// SimHei.ttf (黑体) and msmincho.ttc (the Adobe-Japan1 collection font) are AR PL UMing, and
// the Latin files are DejaVu fonts.
//
// GBK-coded documents are drawn beside references that show the same characters the
// ordinary way (a composite font over Unicode or glyph indices) on identical pages: the GBK
// route is right when the two drawings are the same pixels.

#include "engine-ext/EngineConfiguration.h"
#include "engine/CPdfEngine.h"
#include "tests/cjk/CjkPages.h"
#include "tests/cjk/CjkTestFonts.h"
#include "tests/support/EngineHandle.h"

#include <GfxFont.h>
#include <GlobalParams.h>
#include <Page.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

namespace fs = std::filesystem;
using cjktest::CDrawnPage;
using cjktest::CjkFixture;
using cjktest::COpenedDocument;
using cjktest::PageText;
using testsupport::CEngineHandle;
using testsupport::CTempDir;
using testsupport::Fixture;

namespace {

constexpr float kZoom = 2.0f;
constexpr const char16_t *kGbkText = u"中文1测试";

const auto *const g_pFonts = static_cast<cjktest::CFontSet *>(::testing::AddGlobalTestEnvironment(
    new cjktest::CFontSet({{"simsun.ttc", cjktest::kZenHei},
                           {"SimHei.ttf", cjktest::kUMing},
                           {"msmincho.ttc", cjktest::kUMing},
                           {"arial.ttf", cjktest::kDejaVuSans},
                           {"arialbd.ttf", cjktest::kDejaVuSansBold},
                           {"times.ttf", cjktest::kDejaVuSerif},
                           {"cour.ttf", cjktest::kDejaVuMono}})));

// A resource directory of links to the real one, so that single files can be taken away.
void LinkResources(const std::string &to) {
    const fs::path from = testsupport::ResourceDir();
    for (const auto &entry : fs::recursive_directory_iterator(from)) {
        const fs::path target = to / fs::relative(entry.path(), from);
        if (entry.is_directory())
            fs::create_directories(target);
        else
            fs::create_symlink(entry.path(), target);
    }
}

class CjkFonts : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_pFonts->Installed())
            GTEST_SKIP() << "Debian's free fonts are not installed";
    }
};

} // namespace

TEST_F(CjkFonts, GbkCodedFontsDrawTheSameGlyphsAsTheOrdinaryRoute) {
    struct Case {
        const char *document;
        const char *reference;
    };
    // The last two reach their font through a graphics state only: the font it sets, and the
    // resources of its soft mask's group.
    for (const Case &c : {Case{"gbk-song.pdf", "gbk-song-reference.pdf"},
                          Case{"gbk-hei-embedded.pdf", "gbk-hei-embedded-reference.pdf"},
                          Case{"gbk-state-font.pdf", "gbk-state-font-reference.pdf"},
                          Case{"gbk-soft-mask.pdf", "gbk-soft-mask-reference.pdf"}}) {
        SCOPED_TRACE(c.document);
        COpenedDocument gbk(CjkFixture(c.document)), reference(CjkFixture(c.reference));
        ASSERT_TRUE(gbk.bOpened && reference.bOpened);
        const CDrawnPage drawn = gbk.Draw(kZoom), expected = reference.Draw(kZoom);
        ASSERT_TRUE(drawn.Drawn() && expected.Drawn());
        EXPECT_GT(expected.Ink(), 500) << "the reference draws the five glyphs";
        EXPECT_EQ(drawn.DifferencesFrom(expected), 0);
        EXPECT_EQ(PageText(gbk.h, 1), kGbkText);
    }
}

// The check above can fail: the same bytes read one byte at a time draw something else.
TEST_F(CjkFonts, ANameThatIsNotGbkCodedKeepsSingleByteText) {
    COpenedDocument bold(CjkFixture("gbk-song-bold.pdf")),
        reference(CjkFixture("gbk-song-reference.pdf"));
    ASSERT_TRUE(bold.bOpened && reference.bOpened);
    const CDrawnPage drawn = bold.Draw(kZoom);
    ASSERT_TRUE(drawn.Drawn());
    EXPECT_GT(drawn.Ink(), 100);
    EXPECT_GT(drawn.DifferencesFrom(reference.Draw(kZoom)), 500);
    // D6 D0 CE C4 31 B2 E2 CA D4 as WinAnsi characters.
    EXPECT_EQ(PageText(bold.h, 1), u"ÖÐÎÄ1²âÊÔ");
}

namespace {

// Which file Poppler loads for each font of a document's first page, by the font's resource
// name, asked the way its Splash device asks; empty where it finds none.
std::map<std::string, std::string> ChosenFiles(COpenedDocument &doc) {
    std::map<std::string, std::string> files;
    engine_ext::CConfigurationUse use;
    PDFDoc &pdf = *doc.h.Get()->m_pDoc;
    const Object fontsObj = pdf.getPage(1)->getResourceDict()->lookup("Font");
    for (int i = 0; fontsObj.isDict() && i < fontsObj.dictGetLength(); ++i) {
        const std::string tag = fontsObj.getDict()->getKey(i);
        const Ref ref = fontsObj.getDict()->getValNF(i).getRef();
        Object dict = pdf.getXRef()->fetch(ref);
        const std::unique_ptr<GfxFont> font =
            GfxFont::makeFont(pdf.getXRef(), tag.c_str(), ref, dict.getDict());
        const std::optional<GfxFontLoc> location = font->locateFont(pdf.getXRef(), nullptr);
        files[tag] = location ? fs::path(location->path).filename().string() : "";
    }
    return files;
}

} // namespace

TEST_F(CjkFonts, EachNonEmbeddedFontDrawsFromItsChosenFile) {
    COpenedDocument doc(CjkFixture("font-choice.pdf"));
    ASSERT_TRUE(doc.bOpened);
    ASSERT_TRUE(doc.Draw(1.0f).Drawn()); // the font files are looked at once drawing starts
    const std::map<std::string, std::string> expected = {
        {"Song", "simsun.ttc"},     // 宋体: the named font
        {"Hei", "SimHei.ttf"},      // 黑体: the named font
        {"SongBold", "simsun.ttc"}, // 宋体,Bold: no name of the table, the collection font
        {"Verdana", "simsun.ttc"},  // a Latin name: the collection font too
        {"Arial", "arial.ttf"},     // Helvetica's file
        {"ArialBold", "arialbd.ttf"}, {"NoNameSerif", "times.ttf"}, // by the flags: serif
        {"NoNameFixed", "cour.ttf"},                                // by the flags: fixed width
        {"STSong", "simsun.ttc"}, // a CID font: its collection's font
    };
    EXPECT_EQ(ChosenFiles(doc), expected);
}

// A font's name says nothing across documents: "Mingti" of a Japanese document and of a
// Chinese one draw each with their own collection's font, whichever was opened first, and no
// name a document chose finds its way into the configuration.
TEST_F(CjkFonts, FontsOfOneNameInOtherDocumentsKeepTheirOwnSubstitutes) {
    const std::map<std::string, std::string> japanese = {{"Cid", "msmincho.ttc"}};
    const std::map<std::string, std::string> chinese = {{"Cid", "simsun.ttc"},
                                                        {"Simple", "simsun.ttc"}};
    for (const bool japaneseFirst : {true, false}) {
        SCOPED_TRACE(japaneseFirst ? "Japanese first" : "Chinese first");
        COpenedDocument first(
            CjkFixture(japaneseFirst ? "same-name-japan1.pdf" : "same-name-gb1.pdf"));
        ASSERT_TRUE(first.bOpened && first.Draw(1.0f).Drawn());
        COpenedDocument second(
            CjkFixture(japaneseFirst ? "same-name-gb1.pdf" : "same-name-japan1.pdf"));
        ASSERT_TRUE(second.bOpened && second.Draw(1.0f).Drawn());
        EXPECT_EQ(ChosenFiles(japaneseFirst ? first : second), japanese);
        EXPECT_EQ(ChosenFiles(japaneseFirst ? second : first), chinese);
        engine_ext::CConfigurationUse use;
        const std::unique_ptr<GooString> registered(globalParams->findFontFile("Mingti"));
        EXPECT_EQ(registered, nullptr);
    }
}

// Missing or damaged resource files leave GBK-coded text undrawn and unread, never misread,
// and never a crash.
TEST_F(CjkFonts, DamagedResourcesLeaveGbkTextOutCleanly) {
    struct Case {
        const char *file;        // below the resource directory
        const char *replacement; // null: the file is missing
    };
    const Case cases[] = {
        {"CMap/SC/GBK-EUC-H", nullptr},
        {"CIDtoUnicode/Adobe-GB1.cidToUnicode", nullptr},
        {"CMap/SC/GBK-EUC-H", "%!PS\n/CIDInit begincidrange <8140> <zz> 1 <d6d0>\n"},
        {"CIDtoUnicode/Adobe-GB1.cidToUnicode", "4e2d\n-1\nzzzz\n\n110000\n"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.file) + (c.replacement ? " damaged" : " missing"));
        CTempDir rc;
        LinkResources(rc.Path());
        fs::remove(rc / c.file);
        if (c.replacement)
            std::ofstream(rc / c.file) << c.replacement;
        CEngineHandle h;
        PdfSetResourceDir(h, rc.Path().c_str());
        ASSERT_EQ(h.Open(CjkFixture("gbk-song.pdf")), 0);
        const CDrawnPage drawn(h, 1, kZoom);
        ASSERT_TRUE(drawn.Drawn());
        EXPECT_EQ(drawn.Ink(), 0);
        EXPECT_EQ(PageText(h, 1), u"");
    }
}

// Another producer's non-embedded Adobe-GB1 font draws as our own generator's does.
TEST_F(CjkFonts, ReportlabStSongDrawsAndReadsAsChinese) {
    COpenedDocument reportlab(CjkFixture("stsong-reportlab.pdf")), ours(Fixture("cjk.pdf"));
    ASSERT_TRUE(reportlab.bOpened && ours.bOpened);
    const CDrawnPage theirs = reportlab.Draw(1.0f), mine = ours.Draw(1.0f);
    ASSERT_TRUE(theirs.Drawn() && mine.Drawn());
    EXPECT_GT(theirs.Ink(), 200);
    // Our page also has a Latin line below, which reportlab's has not; the Chinese line,
    // 16-point glyphs on the baseline 92 points from the top, must be the same pixels.
    EXPECT_EQ(theirs.DifferencesFrom(mine, 0, 70, theirs.Width(), 100), 0);
    EXPECT_EQ(PageText(reportlab.h, 1), u"中文测试");
}

// Real files from other producers: what they draw and what they read as.
TEST_F(CjkFonts, CorpusFilesWithNonEmbeddedChineseFontsReadAsChinese) {
    if (testsupport::CorpusDir().empty())
        GTEST_SKIP() << "no corpus";
    struct Case {
        const char *file;
        const char16_t *text; // a part of the page's text
    };
    for (const Case &c :
         {Case{"pdfjs-XiaoBiaoSong.pdf", u"关 于 红 军 作 战 的 原 则"},
          Case{"pdfjs-issue2128r.pdf", u"浅谈校长的魅力"},
          Case{"pdfjs-issue3521.pdf", u"我们都是黑体字"}, Case{"pdfjs-issue8372.pdf", u"目录"}}) {
        SCOPED_TRACE(c.file);
        COpenedDocument doc(testsupport::CorpusDir() + "/" + c.file);
        ASSERT_TRUE(doc.bOpened);
        const CDrawnPage drawn = doc.Draw(1.0f);
        ASSERT_TRUE(drawn.Drawn());
        EXPECT_GT(drawn.Ink(), 200);
        EXPECT_NE(PageText(doc.h, 1).find(c.text), std::u16string::npos);
    }
}
