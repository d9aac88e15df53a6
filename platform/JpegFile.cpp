#include "platform/JpegFile.h"

#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <csetjmp>
#include <cstdlib>
#include <memory>
#include <new>

namespace platform {

namespace {

// libjpeg's own error exit ends the process; ours jumps back to the encoder's caller.
struct ErrorJump {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
    std::longjmp(reinterpret_cast<ErrorJump *>(info->err)->jump, 1);
}

void IgnoreJpegMessage(j_common_ptr) {
}

void SetErrorJump(j_common_ptr info, ErrorJump &error) {
    info->err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = OnJpegError;
    error.mgr.output_message = IgnoreJpegMessage;
}

// Only plain data lives across setjmp here: the compressor, the row pointer and the buffer
// that jpeg_mem_dest grows with malloc.
bool CompressRows(const Bitmap &bitmap, int width, int height, int quality, unsigned char **data,
                  unsigned long *size) {
    jpeg_compress_struct cinfo;
    ErrorJump error;
    SetErrorJump(reinterpret_cast<j_common_ptr>(&cinfo), error);
    if (setjmp(error.jump) != 0) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, data, size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = Bitmap::kBytesPerPixel;
    cinfo.in_color_space = JCS_EXT_BGR; // device bitmaps keep blue first
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(bitmap.GetRow(static_cast<int>(cinfo.next_scanline)));
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

struct FileCloser {
    void operator()(std::FILE *f) const { std::fclose(f); }
};

// Larger pictures are refused rather than decoded into hundreds of megabytes.
constexpr long long kMaxDecodedPixels = 1LL << 26;

// As in CompressRows, only plain data lives across setjmp in these two steps; the bitmap is
// made between them.
bool StartDecompress(jpeg_decompress_struct &cinfo, ErrorJump &error, std::FILE *file) {
    if (setjmp(error.jump) != 0)
        return false;
    jpeg_create_decompress(&cinfo);
    jpeg_stdio_src(&cinfo, file);
    jpeg_read_header(&cinfo, TRUE);
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    return true;
}

bool ReadScanlines(jpeg_decompress_struct &cinfo, ErrorJump &error, Bitmap &bitmap) {
    if (setjmp(error.jump) != 0)
        return false;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = bitmap.GetRow(static_cast<int>(cinfo.output_scanline));
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    return true;
}

std::unique_ptr<Bitmap> MakeBitmap(const jpeg_decompress_struct &cinfo) {
    const long long w = cinfo.output_width, h = cinfo.output_height;
    if (w <= 0 || h <= 0 || w * h > kMaxDecodedPixels)
        return nullptr;
    try {
        return std::make_unique<Bitmap>(static_cast<int>(w), static_cast<int>(h));
    } catch (const std::bad_alloc &) {
        return nullptr;
    }
}

} // namespace

bool EncodeJpeg(const Bitmap &bitmap, int width, int height, std::vector<std::uint8_t> &out,
                int quality) {
    out.clear();
    if (width <= 0 || height <= 0 || width > bitmap.GetWidth() || height > bitmap.GetHeight())
        return false;
    unsigned char *data = nullptr;
    unsigned long size = 0;
    const bool ok = CompressRows(bitmap, width, height, quality, &data, &size);
    if (ok && data)
        out.assign(data, data + size);
    std::free(data);
    return ok && !out.empty();
}

bool WriteJpeg(const Bitmap &bitmap, int width, int height, const std::string &path, int quality) {
    std::vector<std::uint8_t> jpeg;
    if (!EncodeJpeg(bitmap, width, height, jpeg, quality))
        return false;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return false;
    const bool written = std::fwrite(jpeg.data(), 1, jpeg.size(), file.get()) == jpeg.size();
    return std::fclose(file.release()) == 0 && written;
}

std::unique_ptr<Bitmap> ReadJpeg(const std::string &path) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return nullptr;
    jpeg_decompress_struct cinfo{}; // destroying it is safe even when creating it failed
    ErrorJump error;
    SetErrorJump(reinterpret_cast<j_common_ptr>(&cinfo), error);
    std::unique_ptr<Bitmap> bitmap;
    if (StartDecompress(cinfo, error, file.get()))
        bitmap = MakeBitmap(cinfo);
    if (bitmap && !ReadScanlines(cinfo, error, *bitmap))
        bitmap.reset();
    jpeg_destroy_decompress(&cinfo);
    return bitmap;
}

} // namespace platform
