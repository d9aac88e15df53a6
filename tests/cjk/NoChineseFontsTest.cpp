// Chinese documents on a machine without any Chinese font: fontconfig shows DejaVu Sans alone.
// Nothing may crash; the text still reads, as it comes from the documents and the resource
// tables, and an embedded GBK-coded font still draws its own glyphs.

#include "tests/cjk/CjkPages.h"
#include "tests/cjk/CjkTestFonts.h"

#include <gtest/gtest.h>

using cjktest::CDrawnPage;
using cjktest::CjkFixture;
using cjktest::COpenedDocument;
using cjktest::PageText;

namespace {

constexpr float kZoom = 2.0f;

const auto *const g_pFonts = static_cast<cjktest::CFontSet *>(::testing::AddGlobalTestEnvironment(
    new cjktest::CFontSet{{"DejaVuSans.ttf", cjktest::kDejaVuSans}}));

class NoChineseFonts : public ::testing::Test {
protected:
    void SetUp() override {
        if (!g_pFonts->Installed())
            GTEST_SKIP() << "DejaVu Sans is not installed";
    }
};

} // namespace

TEST_F(NoChineseFonts, DocumentsDrawWithoutCrashingAndStillRead) {
    struct Case {
        std::string path;
        const char16_t *text;
    };
    const Case cases[] = {
        {CjkFixture("gbk-song.pdf"), u"中文1测试"},
        {CjkFixture("gbk-song-bold.pdf"), u"ÖÐÎÄ1²âÊÔ"},
        {CjkFixture("gbk-hei-embedded.pdf"), u"中文1测试"},
        {CjkFixture("stsong-reportlab.pdf"), u"中文测试"},
        {CjkFixture("font-choice.pdf"), nullptr},
        {testsupport::Fixture("cjk.pdf"), u"中文测试\r\nLatin line"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.path);
        COpenedDocument doc(c.path);
        ASSERT_TRUE(doc.bOpened);
        EXPECT_TRUE(doc.Draw(kZoom).Drawn());
        if (c.text) {
            EXPECT_EQ(PageText(doc.h, 1), c.text);
        }
    }
}

TEST_F(NoChineseFonts, AnEmbeddedGbkCodedFontNeedsNoSystemFont) {
    COpenedDocument gbk(CjkFixture("gbk-hei-embedded.pdf")),
        reference(CjkFixture("gbk-hei-embedded-reference.pdf"));
    ASSERT_TRUE(gbk.bOpened && reference.bOpened);
    const CDrawnPage drawn = gbk.Draw(kZoom), expected = reference.Draw(kZoom);
    EXPECT_GT(expected.Ink(), 500);
    EXPECT_EQ(drawn.DifferencesFrom(expected), 0);
}
