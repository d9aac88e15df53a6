// PdfGetRectText: the rectangle's text as UTF-16, lines separated by CR LF, no aligning spaces,
// never past the buffer's capacity.

#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using testsupport::CEngineHandle;
using testsupport::Fixture;

namespace {

// Page points, top-down, around the lines of text.pdf.
struct Rect {
    double xMin, yMin, xMax, yMax;
};
constexpr Rect kFirstLine{60, 60, 300, 78};
constexpr Rect kTwoLines{60, 60, 300, 98};
constexpr Rect kLeftAndRight{60, 180, 500, 198};
constexpr Rect kEmpty{300, 400, 500, 500};

constexpr char16_t kSentinel = 0xAAAA;
constexpr int kSentinels = 4;

struct Result {
    int rc;
    std::u16string text; // up to length
    int length;
    bool terminated;    // a 0 right after the text
    bool sentinelsKept; // nothing written past the capacity
};

Result GetText(PDFHANDLE h, const Rect &r, int capacity = 8192) {
    std::vector<char16_t> buffer(capacity + kSentinels, 0);
    std::fill(buffer.begin() + capacity, buffer.end(), kSentinel);
    Result out{};
    out.rc =
        PdfGetRectText(h, 1, r.xMin, r.yMin, r.xMax, r.yMax, buffer.data(), &out.length, capacity);
    out.text.assign(buffer.data(), std::min(std::max(out.length, 0), capacity));
    out.terminated = out.length < capacity && buffer[out.length] == 0;
    out.sentinelsKept = std::all_of(buffer.begin() + capacity, buffer.end(),
                                    [](char16_t u) { return u == kSentinel; });
    return out;
}

} // namespace

TEST(RectText, LinesFragmentsAndEmptyAreas) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("text.pdf")), 0);
    const struct {
        Rect rect;
        std::u16string text;
    } cases[] = {
        {kFirstLine, u"Hello World"},
        {kTwoLines, u"Hello World\r\nSecond line\r\n"},
        {kLeftAndRight, u"LeftRight"}, // one line, two columns: no aligning spaces
        {kEmpty, u""},
    };
    for (const auto &c : cases) {
        const Result r = GetText(h, c.rect);
        EXPECT_EQ(r.rc, 1);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.length, static_cast<int>(c.text.size()));
        EXPECT_TRUE(r.terminated);
    }
}

TEST(RectText, RotatedViewStillTakesUprightPagePoints) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("text.pdf")), 0);
    for (int turn = 0; turn < 3; ++turn) {
        PdfRotate(h, 90);
        EXPECT_EQ(GetText(h, kTwoLines).text, u"Hello World\r\nSecond line\r\n");
    }
}

TEST(RectText, ChineseTextArrivesAsUtf16) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("cjk.pdf")), 0);
    EXPECT_EQ(GetText(h, {60, 60, 300, 98}).text, u"中文测试");
}

TEST(RectText, CapacityIsNeverExceeded) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("text.pdf")), 0);
    const struct {
        Rect rect;
        int capacity;
        std::u16string text;
    } cases[] = {
        {kFirstLine, 12, u"Hello World"},               // exactly fits with its 0
        {kFirstLine, 11, u"Hello Worl"},                // one short
        {kFirstLine, 1, u""},                           // room for the 0 only
        {kTwoLines, 13, u"Hello World"},                // no room for CR LF: stop before
        {kTwoLines, 25, u"Hello World\r\nSecond line"}, // the final CR LF does not fit
        {kTwoLines, 27, u"Hello World\r\nSecond line\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.capacity);
        const Result r = GetText(h, c.rect, c.capacity);
        EXPECT_EQ(r.rc, 1);
        EXPECT_EQ(r.text, c.text);
        EXPECT_EQ(r.length, static_cast<int>(c.text.size()));
        EXPECT_TRUE(r.terminated);
        EXPECT_TRUE(r.sentinelsKept);
    }
    const Result none = GetText(h, kFirstLine, 0);
    EXPECT_EQ(none.length, 0);
    EXPECT_TRUE(none.sentinelsKept);
}

TEST(RectText, AppendsAfterWhatTheBufferHolds) {
    CEngineHandle h;
    ASSERT_EQ(h.Open(Fixture("text.pdf")), 0);
    std::vector<char16_t> buffer(64, 0);
    int length = 0;
    EXPECT_EQ(PdfGetRectText(h, 1, 60, 60, 300, 78, buffer.data(), &length, 64), 1);
    EXPECT_EQ(PdfGetRectText(h, 1, 60, 80, 300, 98, buffer.data(), &length, 64), 1);
    EXPECT_EQ(std::u16string(buffer.data()), u"Hello WorldSecond line");
    EXPECT_EQ(length, 22);
}

TEST(RectText, NoDocumentOrNoSuchPageAppendsNothing) {
    CEngineHandle h;
    EXPECT_EQ(GetText(h, kFirstLine).length, 0);
    ASSERT_EQ(h.Open(Fixture("text.pdf")), 0);
    char16_t buffer[8] = {};
    int length = 0;
    EXPECT_EQ(PdfGetRectText(h, 2, 0, 0, 612, 792, buffer, &length, 8), 1);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(PdfGetRectText(h, 1, 0, 0, 612, 792, nullptr, &length, 8), 1);
    EXPECT_EQ(PdfGetRectText(h, 1, 0, 0, 612, 792, buffer, nullptr, 8), 1);
}
