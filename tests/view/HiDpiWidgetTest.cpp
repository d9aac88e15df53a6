// The view on a screen with two device pixels per layout pixel (run with QT_SCALE_FACTOR=2):
// pages drawn at device pixels and shown one to one, as sharp as pdftoppm at twice the
// resolution, while layout, selection and copying keep their layout pixels.

#include "tests/support/ShellCommand.h"
#include "tests/view/ViewTestSupport.h"
#include "tests/view/WidgetTestSupport.h"

#include <QClipboard>
#include <QTest>

using testsupport::Fixture;
using viewtest::ViewHost;

namespace {

constexpr int kScale = 2;

} // namespace

// text-pages.pdf page 1 is 300 x 200 points; at 100 % in a 400 x 300 view it sits at (50, 10)
// and shows whole, its picture 600 x 400 device pixels inside a frame two pixels thick.
TEST(HiDpiView, PagesAreDrawnAtDevicePixelsAsPdftoppmDrawsThem) {
    ViewHost host("text-pages.pdf");
    ASSERT_TRUE(host.bOpened);
    ASSERT_EQ(host.view->viewport()->devicePixelRatioF(), kScale);
    ASSERT_EQ(host.view->ZoomTo(1.0f), 0);
    const QImage screen = host.Screen();
    ASSERT_EQ(screen.devicePixelRatio(), kScale);
    ASSERT_EQ(screen.width(), host.view->viewport()->width() * kScale);
    EXPECT_EQ(host.view->Core().Scroll().TotalWidth(), 320); // layout pixels
    EXPECT_EQ(host.view->Core().DeviceScale(), kScale);

    const std::optional<std::string> out = testsupport::ToolOutput(
        {"pdftoppm", "-r", "144", "-f", "1", "-l", "1", Fixture("text-pages.pdf")});
    ASSERT_TRUE(out);
    const std::optional<viewtest::CPpm> theirs = viewtest::ParsePpm(*out);
    ASSERT_TRUE(theirs);
    ASSERT_EQ(theirs->width, 600);
    const PDFHANDLE h = host.view->GetPdfHandle();
    const int left = kScale * (PdfGetPageLeft(h, 1, host.view->viewport()->width() + 1) + 1);
    const int top = kScale * (PdfGetPageTop(h, 1) + 1);
    int differing = 0, inked = 0;
    for (int y = 0; y < theirs->height; ++y)
        for (int x = 0; x < theirs->width; ++x) {
            const platform::Rgb want = theirs->At(x, y);
            const QRgb got = screen.pixel(left + x, top + y);
            differing += qRed(got) != want.r || qGreen(got) != want.g || qBlue(got) != want.b;
            inked += want != platform::kWhite;
        }
    EXPECT_GT(inked, 1000);
    EXPECT_EQ(differing, 0);
}

// The mouse works in layout pixels: a selection over "Alpha line one" copies that text, and its
// picture has the selection's size in page pixels; the inverted selection covers its device
// pixels exactly.
TEST(HiDpiView, SelectionAndCopyingKeepTheirLayoutPixels) {
    ViewHost host("text-pages.pdf");
    ASSERT_TRUE(host.bOpened);
    ASSERT_EQ(host.view->ZoomTo(1.0f), 0);
    host.view->OnSelectTool();
    QWidget *area = host.view->viewport();
    const QImage before = host.Screen();
    QTest::mousePress(area, Qt::LeftButton, {}, QPoint(55, 15));
    QTest::mouseMove(area, QPoint(200, 60));
    QTest::mouseRelease(area, Qt::LeftButton, {}, QPoint(200, 60));
    const QImage after = host.Screen();
    const auto inverted = [&](int x, int y) {
        return after.pixel(x, y) == (before.pixel(x, y) ^ 0x00FFFFFFu);
    };
    EXPECT_TRUE(inverted(110, 30));
    EXPECT_TRUE(inverted(399, 119));
    EXPECT_FALSE(inverted(109, 30));
    EXPECT_FALSE(inverted(400, 119));

    host.view->OnCopyText();
    const QString text = QGuiApplication::clipboard()->text();
    EXPECT_TRUE(text.contains("Alpha line one")) << text.toStdString();
    EXPECT_FALSE(text.contains("Beta")) << text.toStdString();
    host.view->OnCopyImage();
    const QImage picture = QGuiApplication::clipboard()->image();
    EXPECT_EQ(picture.size(), QSize(144, 44));
}

int main(int argc, char **argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("QT_SCALE_FACTOR", "2");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
