// Watermarks: where a record lands on a turned page, its angle and alpha, the pixels of the
// gradient text and of image files, and which pages (screen or paper) carry which records.

#include "engine/CPdfEngine.h"
#include "platform/Graphics.h"
#include "platform/JpegFile.h"
#include "platform/PngFile.h"
#include "tests/support/EngineHandle.h"
#include "tests/support/RecordingPrinter.h"

#include <gtest/gtest.h>

#include <climits>
#include <limits>

using platform::Rgb;
using testsupport::CEngineHandle;
using testsupport::Fixture;

namespace {

constexpr std::uint32_t kRedRef = 0x0000FF, kBlueRef = 0xFF0000; // 0x00BBGGRR

// The smallest rectangle holding every pixel that is not white; empty when there is none.
struct Ink {
    int left = INT_MAX, top = INT_MAX, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

Ink InkOf(const platform::DeviceContext &dc) {
    Ink ink;
    for (int y = 0; y < dc.GetHeight(); ++y) {
        for (int x = 0; x < dc.GetWidth(); ++x) {
            if (*dc.GetPixel(x, y) == platform::kWhite)
                continue;
            ink.left = std::min(ink.left, x), ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y), ink.bottom = std::max(ink.bottom, y);
        }
    }
    return ink;
}

bool Reddish(Rgb c) {
    return c.r > c.b + 60;
}
bool Bluish(Rgb c) {
    return c.b > c.r + 60;
}

// A picture file of one colour, written with the program's own encoders.
std::string PictureFile(const testsupport::CTempDir &dir, const char *name, Rgb colour) {
    platform::Bitmap bitmap(8, 8);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            bitmap.SetPixel(x, y, colour);
    const std::string path = dir / name;
    const bool isPng = path.ends_with(".png");
    EXPECT_TRUE(isPng ? platform::WritePng(bitmap, 8, 8, path)
                      : platform::WriteJpeg(bitmap, 8, 8, path, 100));
    return path;
}

std::unique_ptr<CWaterMark> TextMark(int mode, const std::string &text, int x, int y,
                                     int angle = 0) {
    auto mark = std::make_unique<CWaterMark>(mode);
    mark->SetText(text, x, y, "DejaVu Sans", 40, 100, angle, kRedRef, kBlueRef);
    return mark;
}

std::unique_ptr<CWaterMark> ImageMark(int mode, const std::string &path, int x, int y, int w, int h,
                                      float opacity = 100, int angle = 0) {
    auto mark = std::make_unique<CWaterMark>(mode);
    mark->SetImage(path, x, y, w, h, opacity, angle);
    return mark;
}

} // namespace

TEST(WaterMark, AnchorFollowsThePagesTurn) {
    const struct {
        int x, y;
        float scale;
        int rotation;
        MarkAnchor anchor;
    } cases[] = {
        {100, 50, 2, 0, {200, 100}},     {100, 50, 2, 90, {1124, 200}},
        {100, 50, 2, 180, {1024, 1484}}, {100, 50, 2, 270, {100, 1384}},
        {100, 50, 2, 450, {1124, 200}},  {100, 50, 2, -90, {100, 1384}},
        {3, 5, 1.5f, 0, {4, 7}}, // truncated toward zero
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.rotation);
        EXPECT_EQ(AnchorOnPage(c.x, c.y, c.scale, c.rotation, 1224, 1584), c.anchor);
    }
}

TEST(WaterMark, AnglesAndAlpha) {
    const std::pair<long long, int> angles[] = {
        {-90, 270}, {450, 90}, {720, 360}, {360, 360},           {0, 0},
        {-360, 0},  {361, 1},  {-1, 359},  {2LL * INT_MAX, 254}, {2LL * INT_MIN, 104},
    };
    for (const auto &[degrees, normalised] : angles)
        EXPECT_EQ(NormaliseAngle(degrees), normalised) << degrees;

    const std::pair<float, int> alphas[] = {
        {40, 102},
        {100, 255},
        {0, 0},
        {50, 127},
        {150, 255},
        {-5, 0},
        {std::numeric_limits<float>::quiet_NaN(), 0},
    };
    for (const auto &[opacity, alpha] : alphas)
        EXPECT_EQ(AlphaFromOpacity(opacity), alpha) << opacity;
}

TEST(WaterMark, GradientTextLiesWhereAnchorAndAngleSayIt) {
    const struct {
        const char *name;
        int x, y, angle, rotation;
        int ax, ay;  // where the anchor lands on the 300 x 300 page
        bool turned; // the line runs down the page, its top toward +x
    } cases[] = {
        {"upright", 20, 30, 0, 0, 20, 30, false},
        {"angle 90", 150, 30, 90, 0, 150, 30, true},
        {"page turned by 90", 150, 30, 0, 90, 270, 150, true},
        {"-270 is 90", 150, 30, -270, 0, 150, 30, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        platform::DeviceContext dc(300, 300);
        EXPECT_EQ(TextMark(CWaterMark::kOnScreen, "HHHH", c.x, c.y, c.angle)
                      ->Draw(dc, 1.0f, c.rotation, 300, 300, CWaterMark::kOnScreen),
                  1);
        const Ink ink = InkOf(dc);
        ASSERT_FALSE(ink.Empty());
        // The line's top edge carries the first colour, its bottom edge the second.
        Rgb nearTop, nearBottom;
        if (!c.turned) {
            EXPECT_GE(ink.left, c.ax - 1);
            EXPECT_GE(ink.top, c.ay - 1);
            EXPECT_LE(ink.bottom, c.ay + 40);
            EXPECT_GT(ink.right - ink.left, ink.bottom - ink.top) << "a line across";
            nearTop = *dc.GetPixel(ink.left + 2, ink.top + 1);
            nearBottom = *dc.GetPixel(ink.left + 2, ink.bottom - 1);
        } else {
            EXPECT_LE(ink.right, c.ax + 1);
            EXPECT_GE(ink.left, c.ax - 41);
            EXPECT_GE(ink.top, c.ay - 1);
            EXPECT_GT(ink.bottom - ink.top, ink.right - ink.left) << "a line down";
            nearTop = *dc.GetPixel(ink.right - 1, ink.top + 2);
            nearBottom = *dc.GetPixel(ink.left + 1, ink.top + 2);
        }
        EXPECT_TRUE(Reddish(nearTop)) << int(nearTop.r) << "," << int(nearTop.b);
        EXPECT_TRUE(Bluish(nearBottom)) << int(nearBottom.r) << "," << int(nearBottom.b);
    }
}

TEST(WaterMark, TextTheFontLacksIsDrawnInAFontThatHasIt) {
    platform::DeviceContext dc(200, 80);
    TextMark(CWaterMark::kOnScreen, "机密文件", 5, 5)
        ->Draw(dc, 1.0f, 0, 200, 80, CWaterMark::kOnScreen);
    const Ink ink = InkOf(dc);
    ASSERT_FALSE(ink.Empty());
    EXPECT_GT(ink.right - ink.left, 100) << "four ideographs, not one missing-glyph box";

    platform::DeviceContext invalid(200, 80);
    TextMark(CWaterMark::kOnScreen, "\xff\xfe", 5, 5)
        ->Draw(invalid, 1.0f, 0, 200, 80, CWaterMark::kOnScreen);
    EXPECT_TRUE(InkOf(invalid).Empty());
}

TEST(WaterMark, ImagesBlendByOpacityAndTurnAboutTheirAnchor) {
    testsupport::CTempDir dir;
    const Rgb green{0, 160, 0};
    const std::string png = PictureFile(dir, "mark.png", green);
    const std::string jpeg = PictureFile(dir, "mark.jpg", green);
    const struct {
        const char *name;
        std::string path;
        float opacity;
        int angle;
        std::pair<int, int> inside, outside;
        Rgb colour;
    } cases[] = {
        {"PNG", png, 100, 0, {30, 20}, {60, 20}, green},
        {"JPEG", jpeg, 100, 0, {30, 20}, {60, 20}, green},
        // 40 % of green over white.
        {"opacity 40", png, 40, 0, {30, 20}, {60, 20}, {153, 217, 153}},
        // Turned clockwise about (10, 10): the 40 x 20 rectangle now runs down and to the left.
        {"angle 90", png, 100, 90, {5, 40}, {30, 20}, green},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        platform::DeviceContext dc(100, 100);
        ImageMark(CWaterMark::kOnScreen, c.path, 10, 10, 40, 20, c.opacity, c.angle)
            ->Draw(dc, 1.0f, 0, 100, 100, CWaterMark::kOnScreen);
        const Rgb in = *dc.GetPixel(c.inside.first, c.inside.second);
        EXPECT_NEAR(in.r, c.colour.r, 3);
        EXPECT_NEAR(in.g, c.colour.g, 3);
        EXPECT_NEAR(in.b, c.colour.b, 3);
        EXPECT_EQ(*dc.GetPixel(c.outside.first, c.outside.second), platform::kWhite);
    }

    platform::DeviceContext dc(100, 100);
    EXPECT_EQ(ImageMark(CWaterMark::kOnScreen, dir / "missing.png", 10, 10, 40, 20)
                  ->Draw(dc, 1.0f, 0, 100, 100, CWaterMark::kOnScreen),
              1);
    EXPECT_TRUE(InkOf(dc).Empty()) << "an unreadable file draws nothing";
}

TEST(WaterMark, ScreenRecordsOnScreenPaperRecordsOnPaper) {
    testsupport::CTempDir dir;
    const std::string green = PictureFile(dir, "green.png", {0, 160, 0});
    const std::string blue = PictureFile(dir, "blue.png", {0, 0, 200});
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("print.pdf")), 0);

    platform::DeviceContext empty(700, 800);
    EXPECT_EQ(DrawWaterMarks(h.Get()->m_WaterMarkArr, empty, 1.0f, 0, 612, 792, 0), 1);
    EXPECT_TRUE(InkOf(empty).Empty()) << "no record, nothing drawn";

    EXPECT_EQ(h.Get()->AddWaterMark(ImageMark(CWaterMark::kOnScreen, green, 200, 200, 72, 72)), 0);
    EXPECT_EQ(h.Get()->AddWaterMark(ImageMark(CWaterMark::kOnPaper, blue, 300, 300, 72, 72)), 1);

    // On screen at zoom 1: points are pixels, measured from the context's origin.
    platform::DeviceContext screen(700, 800);
    PdfSetRedraw(h, 1);
    ASSERT_EQ(PdfDrawPage(h, &screen, 1, 0, 0), 0);
    EXPECT_EQ(*screen.GetPixel(236, 236), (Rgb{0, 160, 0}));
    EXPECT_EQ(*screen.GetPixel(336, 336), platform::kWhite);

    // On paper at 50 dpi: 50 / 72 pixels per point.
    testsupport::CScriptedPrintDialog dialog(
        testsupport::CScriptedPrintDialog::Answer{platform::PrintRange::PageNums, {{1, 1}}});
    ASSERT_EQ(PdfPrint(h, "", 0, 1, 0, nullptr), 0);
    ASSERT_EQ(dialog.m_Log.sheets.size(), 1u);
    const std::unique_ptr<platform::Bitmap> paper = dialog.m_Log.sheets[0].Picture();
    ASSERT_TRUE(paper);
    EXPECT_EQ(paper->GetPixel(233, 233), (Rgb{0, 0, 200}));
    EXPECT_EQ(paper->GetPixel(163, 163), platform::kWhite);
}

TEST(WaterMark, SlotsRunOut) {
    CEngineHandle h;
    for (int slot = 0; slot < kWaterMarkSlots; ++slot)
        ASSERT_EQ(h.Get()->AddWaterMark(std::make_unique<CWaterMark>(CWaterMark::kOnScreen)), slot);
    EXPECT_EQ(h.Get()->AddWaterMark(std::make_unique<CWaterMark>(CWaterMark::kOnScreen)), -1);
    EXPECT_EQ(h.Get()->AddWaterMark(nullptr), -1);
}
