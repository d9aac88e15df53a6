#include "platform/PngFile.h"

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

namespace platform {

namespace {

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};

// libpng reports errors by longjmp; only plain data lives across setjmp here.
bool WriteRows(std::FILE *file, int width, int height, const std::vector<png_bytep> &rows) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    bool ok = false;
    if (info && setjmp(png_jmpbuf(png)) == 0) {
        png_init_io(png, file);
        png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                     PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
        png_set_bgr(png); // device bitmaps keep blue first
        png_write_info(png, info);
        png_write_image(png, const_cast<png_bytepp>(rows.data()));
        png_write_end(png, nullptr);
        ok = true;
    }
    png_destroy_write_struct(&png, &info);
    return ok;
}

} // namespace

bool WritePng(const Bitmap &bitmap, int width, int height, const std::string &path) {
    if (width <= 0 || height <= 0 || width > bitmap.GetWidth() || height > bitmap.GetHeight())
        return false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    std::vector<png_bytep> rows(height);
    for (int y = 0; y < height; ++y)
        rows[y] = const_cast<png_bytep>(bitmap.GetRow(y));
    const bool written = WriteRows(file.get(), width, height, rows);
    return std::fclose(file.release()) == 0 && written;
}

} // namespace platform
