// The program's one JPEG encoder: what it writes decodes to the same picture (colour order
// included), and it refuses what it cannot encode or write without leaving a cut file.

#include "platform/JpegFile.h"
#include "tests/support/TestPaths.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <jpeglib.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace {

struct Decoded {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    platform::Rgb At(int x, int y) const {
        const std::uint8_t *p = &rgb[(static_cast<std::size_t>(y) * width + x) * 3];
        return {p[0], p[1], p[2]};
    }
};

Decoded Decode(const std::vector<std::uint8_t> &jpeg) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, jpeg.data(), jpeg.size());
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    Decoded d{static_cast<int>(cinfo.output_width), static_cast<int>(cinfo.output_height), {}};
    d.rgb.resize(static_cast<std::size_t>(d.width) * d.height * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = &d.rgb[static_cast<std::size_t>(cinfo.output_scanline) * d.width * 3];
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return d;
}

bool Near(platform::Rgb a, platform::Rgb b) {
    auto close = [](int x, int y) { return std::abs(x - y) <= 12; };
    return close(a.r, b.r) && close(a.g, b.g) && close(a.b, b.b);
}

// Left half red, right half blue, 48 x 32, inside a wider bitmap whose extra column is green.
platform::Bitmap TwoColours() {
    platform::Bitmap bmp(49, 32);
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 49; ++x)
            bmp.SetPixel(x, y,
                         x >= 48  ? platform::Rgb{0, 255, 0}
                         : x < 24 ? platform::Rgb{255, 0, 0}
                                  : platform::Rgb{0, 0, 255});
    return bmp;
}

TEST(JpegFile, EncodesTheRectangleInItsColours) {
    std::vector<std::uint8_t> jpeg;
    ASSERT_TRUE(platform::EncodeJpeg(TwoColours(), 48, 32, jpeg));
    const Decoded d = Decode(jpeg);
    ASSERT_EQ(d.width, 48);
    ASSERT_EQ(d.height, 32);
    EXPECT_TRUE(Near(d.At(4, 16), {255, 0, 0}));
    EXPECT_TRUE(Near(d.At(44, 16), {0, 0, 255}));
}

TEST(JpegFile, RefusesRectanglesOutsideTheBitmap) {
    const platform::Bitmap bmp = TwoColours();
    std::vector<std::uint8_t> jpeg{1, 2, 3};
    for (auto [w, h] : {std::pair{0, 10}, {10, 0}, {-1, 5}, {bmp.GetWidth() + 1, 5}, {5, 33}}) {
        EXPECT_FALSE(platform::EncodeJpeg(bmp, w, h, jpeg)) << w << "x" << h;
        EXPECT_TRUE(jpeg.empty());
    }
}

TEST(JpegFile, WritesAndReplacesFilesAndReportsFailures) {
    testsupport::CTempDir dir;
    const std::string path = dir.Path() + "/shot.jpg";
    { std::ofstream(path) << "an older, much longer file that the new picture must replace whole"; }
    ASSERT_TRUE(platform::WriteJpeg(TwoColours(), 48, 32, path));
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
    EXPECT_EQ(Decode(bytes).width, 48);

    EXPECT_FALSE(platform::WriteJpeg(TwoColours(), 48, 32, dir.Path() + "/missing/shot.jpg"));
    const std::string refused = dir.Path() + "/refused.jpg";
    EXPECT_FALSE(platform::WriteJpeg(TwoColours(), 0, 32, refused));
    EXPECT_FALSE(std::filesystem::exists(refused));
}

} // namespace
