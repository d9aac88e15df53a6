#include "platform/Graphics.h"

#include "platform/JpegFile.h"

#include <cairo-ft.h>
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <memory>
#include <numbers>

namespace platform {

namespace {

struct CairoFree {
    void operator()(cairo_t *p) const { cairo_destroy(p); }
    void operator()(cairo_surface_t *p) const { cairo_surface_destroy(p); }
    void operator()(cairo_pattern_t *p) const { cairo_pattern_destroy(p); }
    void operator()(cairo_font_face_t *p) const { cairo_font_face_destroy(p); }
    void operator()(FcPattern *p) const { FcPatternDestroy(p); }
    void operator()(FcCharSet *p) const { FcCharSetDestroy(p); }
};
using Context = std::unique_ptr<cairo_t, CairoFree>;
using Surface = std::unique_ptr<cairo_surface_t, CairoFree>;

constexpr int kBlue = 0, kGreen = 1, kRed = 2; // byte order of a device bitmap's pixel

int ClampToInt(double v) {
    return static_cast<int>(
        std::clamp(v, static_cast<double>(INT_MIN), static_cast<double>(INT_MAX)));
}

// Cairo draws on 32-bit pixels, device bitmaps hold 24. A mark is recorded first; only the
// rectangle its ink covers is then converted, painted over and converted back.
void CopyToSurface(const Bitmap &bitmap, int x0, int y0, cairo_surface_t *area) {
    cairo_surface_flush(area);
    unsigned char *data = cairo_image_surface_get_data(area);
    const int stride = cairo_image_surface_get_stride(area);
    const int w = cairo_image_surface_get_width(area), h = cairo_image_surface_get_height(area);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t *src = bitmap.GetRow(y0 + y) + x0 * Bitmap::kBytesPerPixel;
        auto *dst = reinterpret_cast<std::uint32_t *>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w; ++x, src += Bitmap::kBytesPerPixel)
            dst[x] = std::uint32_t{src[kRed]} << 16 | std::uint32_t{src[kGreen]} << 8 | src[kBlue];
    }
    cairo_surface_mark_dirty(area);
}

void CopyFromSurface(cairo_surface_t *area, Bitmap &bitmap, int x0, int y0) {
    cairo_surface_flush(area);
    const unsigned char *data = cairo_image_surface_get_data(area);
    const int stride = cairo_image_surface_get_stride(area);
    const int w = cairo_image_surface_get_width(area), h = cairo_image_surface_get_height(area);
    for (int y = 0; y < h; ++y) {
        std::uint8_t *dst = bitmap.GetRow(y0 + y) + x0 * Bitmap::kBytesPerPixel;
        const auto *src =
            reinterpret_cast<const std::uint32_t *>(data + static_cast<std::size_t>(y) * stride);
        for (int x = 0; x < w; ++x, dst += Bitmap::kBytesPerPixel) {
            dst[kRed] = static_cast<std::uint8_t>(src[x] >> 16);
            dst[kGreen] = static_cast<std::uint8_t>(src[x] >> 8);
            dst[kBlue] = static_cast<std::uint8_t>(src[x]);
        }
    }
}

bool Composite(cairo_surface_t *recording, Bitmap &bitmap) {
    double x = 0, y = 0, w = 0, h = 0;
    cairo_recording_surface_ink_extents(recording, &x, &y, &w, &h);
    const int x0 = std::max(ClampToInt(std::floor(x)), 0);
    const int y0 = std::max(ClampToInt(std::floor(y)), 0);
    const int x1 = std::min(ClampToInt(std::ceil(x + w)), bitmap.GetWidth());
    const int y1 = std::min(ClampToInt(std::ceil(y + h)), bitmap.GetHeight());
    if (x0 >= x1 || y0 >= y1)
        return true; // all of it lies beyond the bitmap
    Surface area(cairo_image_surface_create(CAIRO_FORMAT_RGB24, x1 - x0, y1 - y0));
    if (cairo_surface_status(area.get()) != CAIRO_STATUS_SUCCESS)
        return false;
    CopyToSurface(bitmap, x0, y0, area.get());
    Context cr(cairo_create(area.get()));
    cairo_set_source_surface(cr.get(), recording, -x0, -y0);
    cairo_paint(cr.get());
    if (cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
        return false;
    CopyFromSurface(area.get(), bitmap, x0, y0);
    return true;
}

// Records what draw() paints and lays it over the context's bitmap.
template <typename Draw> bool DrawRecorded(DeviceContext &dc, Draw draw) {
    Bitmap *bitmap = dc.GetBitmap();
    if (!bitmap || bitmap->IsEmpty())
        return false;
    Surface recording(cairo_recording_surface_create(CAIRO_CONTENT_COLOR_ALPHA, nullptr));
    {
        Context cr(cairo_create(recording.get()));
        if (!draw(cr.get()) || cairo_status(cr.get()) != CAIRO_STATUS_SUCCESS)
            return false;
    }
    return Composite(recording.get(), *bitmap);
}

// Turns what follows clockwise about (x, y): on a page the y axis points down.
void TurnAbout(cairo_t *cr, int x, int y, double degrees) {
    if (degrees == 0)
        return;
    cairo_translate(cr, x, y);
    cairo_rotate(cr, degrees * std::numbers::pi / 180);
    cairo_translate(cr, -x, -y);
}

// The characters of a UTF-8 text; null when the text is not valid UTF-8.
std::unique_ptr<FcCharSet, CairoFree> CharactersOf(const std::string &text) {
    std::unique_ptr<FcCharSet, CairoFree> chars(FcCharSetCreate());
    const auto *p = reinterpret_cast<const FcChar8 *>(text.data());
    int left = static_cast<int>(std::min<std::size_t>(text.size(), INT_MAX));
    while (chars && left > 0) {
        FcChar32 c = 0;
        const int used = FcUtf8ToUcs4(p, &c, left);
        if (used <= 0 || !FcCharSetAddChar(chars.get(), c))
            return nullptr;
        p += used;
        left -= used;
    }
    return chars;
}

// The named family, or the installed font closest to it that has the text's characters.
std::unique_ptr<cairo_font_face_t, CairoFree> FontFor(const std::string &family, FcCharSet *chars) {
    std::unique_ptr<FcPattern, CairoFree> wanted(FcPatternCreate());
    if (!wanted)
        return nullptr;
    FcPatternAddString(wanted.get(), FC_FAMILY, reinterpret_cast<const FcChar8 *>(family.c_str()));
    FcPatternAddCharSet(wanted.get(), FC_CHARSET, chars);
    FcConfigSubstitute(nullptr, wanted.get(), FcMatchPattern);
    FcDefaultSubstitute(wanted.get());
    FcResult result = FcResultNoMatch;
    std::unique_ptr<FcPattern, CairoFree> found(FcFontMatch(nullptr, wanted.get(), &result));
    if (!found)
        return nullptr;
    std::unique_ptr<cairo_font_face_t, CairoFree> face(
        cairo_ft_font_face_create_for_pattern(found.get()));
    if (cairo_font_face_status(face.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    return face;
}

// Sizes the font so that its ascent and descent together fill the line height.
double SetLineHeight(cairo_t *cr, int lineHeight) {
    cairo_set_font_size(cr, lineHeight);
    cairo_font_extents_t e;
    cairo_font_extents(cr, &e);
    if (e.ascent + e.descent > 0)
        cairo_set_font_size(cr, lineHeight * lineHeight / (e.ascent + e.descent));
    cairo_font_extents(cr, &e);
    return e.ascent;
}

void AddStop(cairo_pattern_t *p, double offset, Rgb c, std::uint8_t alpha) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.r / 255.0, c.g / 255.0, c.b / 255.0,
                                      alpha / 255.0);
}

// PNG through cairo itself, JPEG through the program's JPEG codec.
Surface LoadPicture(const std::string &path) {
    Surface png(cairo_image_surface_create_from_png(path.c_str()));
    if (cairo_surface_status(png.get()) == CAIRO_STATUS_SUCCESS)
        return png;
    std::unique_ptr<Bitmap> jpeg = ReadJpeg(path);
    if (!jpeg)
        return nullptr;
    Surface picture(
        cairo_image_surface_create(CAIRO_FORMAT_RGB24, jpeg->GetWidth(), jpeg->GetHeight()));
    if (cairo_surface_status(picture.get()) != CAIRO_STATUS_SUCCESS)
        return nullptr;
    CopyToSurface(*jpeg, 0, 0, picture.get());
    return picture;
}

} // namespace

bool DrawGradientText(DeviceContext &dc, const GradientText &t, int x, int y, double degrees) {
    if (t.text.empty() || t.nLineHeight <= 0)
        return false;
    const std::unique_ptr<FcCharSet, CairoFree> chars = CharactersOf(t.text);
    if (!chars)
        return false;
    const std::unique_ptr<cairo_font_face_t, CairoFree> face = FontFor(t.font, chars.get());
    if (!face)
        return false;
    return DrawRecorded(dc, [&](cairo_t *cr) {
        TurnAbout(cr, x, y, degrees);
        cairo_set_font_face(cr, face.get());
        const double ascent = SetLineHeight(cr, t.nLineHeight);
        std::unique_ptr<cairo_pattern_t, CairoFree> gradient(
            cairo_pattern_create_linear(x, y, x, static_cast<double>(y) + t.nLineHeight));
        AddStop(gradient.get(), 0, t.top, t.alpha);
        AddStop(gradient.get(), 1, t.bottom, t.alpha);
        cairo_pattern_set_extend(gradient.get(), CAIRO_EXTEND_REPEAT);
        cairo_set_source(cr, gradient.get());
        cairo_move_to(cr, x, y + ascent);
        cairo_show_text(cr, t.text.c_str());
        return true;
    });
}

bool DrawImageFile(DeviceContext &dc, const std::string &path, int x, int y, int width, int height,
                   double opacity, double degrees) {
    if (width <= 0 || height <= 0)
        return false;
    const Surface picture = LoadPicture(path);
    if (!picture)
        return false;
    const int pw = cairo_image_surface_get_width(picture.get());
    const int ph = cairo_image_surface_get_height(picture.get());
    if (pw <= 0 || ph <= 0)
        return false;
    return DrawRecorded(dc, [&](cairo_t *cr) {
        TurnAbout(cr, x, y, degrees);
        cairo_translate(cr, x, y);
        cairo_scale(cr, static_cast<double>(width) / pw, static_cast<double>(height) / ph);
        cairo_set_source_surface(cr, picture.get(), 0, 0);
        // Edge pixels are repeated for the filter and the clip keeps the edges sharp.
        cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
        cairo_rectangle(cr, 0, 0, pw, ph);
        cairo_clip(cr);
        cairo_paint_with_alpha(cr, std::clamp(opacity, 0.0, 1.0));
        return true;
    });
}

} // namespace platform
