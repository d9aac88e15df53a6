#include "engine/CellRepeat.h"

#include "engine/BudgetedSplashDevice.h"
#include "engine/PeriodicPicture.h"

#include <Gfx.h>
#include <GfxState.h>
#include <PDFDoc.h>
#include <splash/Splash.h>
#include <splash/SplashBitmap.h>
#include <splash/SplashPattern.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <numeric>
#include <optional>
#include <vector>

namespace {

// Samples along each side of the drawn period: a few for every device pixel, and enough that
// a cell smaller than a pixel is drawn large enough for its parts to keep their shares.
constexpr double kSamplesPerPixel = 4;
constexpr int kMinSamples = 16;
constexpr int kMaxSamples = 512;
// The budget is looked at before every band.
constexpr int kBandRows = 16;
// A term this much smaller than the matrix's others is a zero that rounding left behind.
constexpr double kSkewTolerance = 1e-9;
constexpr double kIdentity[6] = {1, 0, 0, 1, 0, 0};

// One period of the pattern where it falls on the device: a rectangle along the pixel rows.
struct DevicePeriod {
    std::array<double, 6> toDevice; // pattern space to device space
    double x, y;                    // the corner nearest the device origin
    double w, h;                    // in device pixels

    PeriodicAxis AxisX(int samples) const { return {x, samples / w}; }
    PeriodicAxis AxisY(int samples) const { return {y, samples / h}; }
};

std::array<double, 6> PatternToDevice(const TilingFill &fill) {
    const double *m = fill.matrix;
    const double *c = fill.state->getCTM();
    return {m[0] * c[0] + m[1] * c[2],        m[0] * c[1] + m[1] * c[3],
            m[2] * c[0] + m[3] * c[2],        m[2] * c[1] + m[3] * c[3],
            m[4] * c[0] + m[5] * c[2] + c[4], m[4] * c[1] + m[5] * c[3] + c[5]};
}

std::optional<DevicePeriod> PeriodOf(const TilingFill &fill) {
    auto d = PatternToDevice(fill);
    const double size = std::abs(d[0]) + std::abs(d[1]) + std::abs(d[2]) + std::abs(d[3]);
    for (int i = 0; i < 4; ++i) {
        if (std::abs(d[i]) <= kSkewTolerance * size)
            d[i] = 0;
    }
    const bool straight = d[1] == 0 && d[2] == 0, turned = d[0] == 0 && d[3] == 0;
    const double *bbox = fill.pattern->getBBox();
    const double xs = std::abs(fill.xStep), ys = std::abs(fill.yStep);
    if (!(straight || turned) || bbox[2] - bbox[0] > xs || bbox[3] - bbox[1] > ys)
        return std::nullopt;
    const double x0 = bbox[0] * d[0] + bbox[1] * d[2] + d[4];
    const double y0 = bbox[0] * d[1] + bbox[1] * d[3] + d[5];
    const double dx = xs * d[0] + ys * d[2], dy = xs * d[1] + ys * d[3];
    const DevicePeriod period{d, std::min(x0, x0 + dx), std::min(y0, y0 + dy), std::abs(dx),
                              std::abs(dy)};
    const bool usable = std::isfinite(period.x) && std::isfinite(period.y) &&
                        std::isfinite(kMaxSamples / period.w) &&
                        std::isfinite(kMaxSamples / period.h) && period.w > 0 && period.h > 0;
    return usable ? std::optional(period) : std::nullopt;
}

int SamplesAlong(double pixels) {
    return static_cast<int>(
        std::clamp(std::ceil(pixels * kSamplesPerPixel), double{kMinSamples}, double{kMaxSamples}));
}

// The device pixels the clip leaves to the fill.
struct PixelArea {
    int x0, y0, x1, y1;
    bool IsEmpty() const { return x0 >= x1 || y0 >= y1; }
};

PixelArea ClipArea(const GfxState &state, const SplashBitmap &page) {
    double xMin, yMin, xMax, yMax;
    state.getClipBBox(&xMin, &yMin, &xMax, &yMax);
    const auto within = [](double v, int size) {
        return static_cast<int>(std::clamp(v, 0.0, static_cast<double>(size)));
    };
    return {within(std::floor(xMin), page.getWidth()), within(std::floor(yMin), page.getHeight()),
            within(std::ceil(xMax), page.getWidth()), within(std::ceil(yMax), page.getHeight())};
}

// The bytes a pixel takes in a bitmap of the mode (libpoppler does not export its table of
// them): a bitmap one pixel wide with rows padded to single bytes tells.
int ComponentsOf(SplashColorMode mode) {
    return SplashBitmap(1, 1, 1, mode, false).getRowSize();
}

// The bytes the fill's colour takes in a bitmap of the mode. Splash hands colours about in one
// order and stores some modes in another: a pixel whose bytes count up, read back, tells where
// each component is kept.
std::vector<unsigned char> StoredFillColour(Splash &splash, SplashColorMode mode) {
    SplashColor colour = {};
    splash.getFillPattern()->getColor(0, 0, colour);
    SplashBitmap probe(1, 1, 1, mode, false);
    const int comps = probe.getRowSize();
    std::iota(probe.getDataPtr(), probe.getDataPtr() + comps, 0);
    SplashColor order = {};
    probe.getPixel(0, 0, order);
    std::vector<unsigned char> stored(comps, 0);
    for (int i = 0; i < comps; ++i) {
        if (order[i] < comps)
            stored[order[i]] = colour[i];
    }
    return stored;
}

// One period drawn w x h samples large on a device of its own, so that whatever a cell holds
// is drawn by Splash as it would be on the page, within the same budget. The samples are each
// pixel's colour weighted by its alpha, then the alpha; or the alpha alone for a pattern that
// takes its colour from the fill.
std::vector<double> DrawPeriod(CPageBudget &budget, PDFDoc &doc, SplashColorMode mode,
                               const TilingFill &fill, const DevicePeriod &period, int w, int h,
                               bool coverageOnly) {
    CBudgetedSplashDevice device(budget, doc, mode);
    PDFRectangle box(0, 0, w, h);
    GfxState pageState(72, 72, &box, 0, true);
    device.startPage(0, &pageState, doc.getXRef());
    GfxTilingPattern &pattern = *fill.pattern;
    Gfx gfx(&doc, &device, pattern.getResDict(), &box, nullptr, CPageBudget::Exceeded, &budget,
            fill.gfx);
    const auto &d = period.toDevice;
    const double sx = w / period.w, sy = h / period.h;
    gfx.getState()->setCTM(d[0] * sx, d[1] * sy, d[2] * sx, d[3] * sy, (d[4] - period.x) * sx,
                           (d[5] - period.y) * sy);
    gfx.drawForm(pattern.getContentStream(), pattern.getResDict(), kIdentity, pattern.getBBox());

    SplashBitmap &bitmap = *device.getBitmap();
    const int comps = ComponentsOf(mode);
    const int channels = coverageOnly ? 1 : comps + 1;
    std::vector<double> samples;
    samples.reserve(static_cast<std::size_t>(w) * h * channels);
    for (int y = 0; y < h; ++y) {
        const unsigned char *colour = bitmap.getDataPtr() + y * bitmap.getRowSize();
        const unsigned char *alpha = bitmap.getAlphaPtr() + static_cast<std::ptrdiff_t>(y) * w;
        for (int x = 0; x < w; ++x, colour += comps) {
            for (int k = 0; k < channels - 1; ++k)
                samples.push_back(colour[k] * (alpha[x] / 255.0));
            samples.push_back(alpha[x]);
        }
    }
    return samples;
}

unsigned char ToByte(double v) {
    return static_cast<unsigned char>(std::clamp(v, 0.0, 255.0) + 0.5);
}

// One row of the fill from the means of its pixels: the colours unweighted again by their
// alpha, or the fill's own colour for a pattern that takes it from there.
void WriteRow(const std::vector<double> &means, int channels, int comps,
              const std::vector<unsigned char> &fillColour, unsigned char *colour,
              unsigned char *alpha) {
    const std::size_t count = means.size() / channels;
    for (std::size_t x = 0; x < count; ++x, colour += comps) {
        const double *mean = &means[x * channels];
        const double a = mean[channels - 1];
        alpha[x] = ToByte(a);
        for (int k = 0; k < comps; ++k)
            colour[k] = channels == 1 ? fillColour[k] : a > 0 ? ToByte(mean[k] * 255.0 / a) : 0;
    }
}

// Composites the fill's rows onto the page a band at a time, looking at the budget before
// each band.
void CompositeRows(CPageBudget &budget, Splash &splash, CPeriodicPicture &picture,
                   const PeriodicAxis &ay, const PixelArea &area,
                   const std::vector<unsigned char> &fillColour) {
    const int width = area.x1 - area.x0;
    SplashBitmap band(width, kBandRows, 1, splash.getBitmap()->getMode(), true);
    const int comps = ComponentsOf(band.getMode());
    std::vector<double> means;
    for (int y = area.y0; y < area.y1 && !CPageBudget::Exceeded(&budget); y += kBandRows) {
        const int rows = std::min(kBandRows, area.y1 - y);
        for (int r = 0; r < rows; ++r) {
            picture.AverageRow(ay, y + r, means);
            WriteRow(means, picture.Channels(), comps, fillColour,
                     band.getDataPtr() + r * band.getRowSize(),
                     band.getAlphaPtr() + static_cast<std::ptrdiff_t>(r) * width);
        }
        splash.composite(&band, 0, 0, area.x0, y, width, rows, false, false);
    }
}

} // namespace

bool RepeatCellsWithinBudget(CPageBudget &budget, SplashOutputDev &out, PDFDoc &doc,
                             const TilingFill &fill) {
    SplashBitmap *page = out.getBitmap();
    Splash *splash = out.getSplash();
    if (!page || !splash || page->getMode() == splashModeMono1)
        return false;
    const std::optional<DevicePeriod> period = PeriodOf(fill);
    if (!period)
        return false;
    const PixelArea area = ClipArea(*fill.state, *page);
    if (area.IsEmpty())
        return true;

    const SplashColorMode mode = page->getMode();
    const bool coverageOnly = fill.pattern->getPaintType() == 2;
    const std::vector<unsigned char> fillColour =
        coverageOnly ? StoredFillColour(*splash, mode) : std::vector<unsigned char>{};
    const int w = SamplesAlong(period->w), h = SamplesAlong(period->h);
    const std::vector<double> samples =
        DrawPeriod(budget, doc, mode, fill, *period, w, h, coverageOnly);
    CPeriodicPicture picture(w, h, coverageOnly ? 1 : ComponentsOf(mode) + 1, samples,
                             period->AxisX(w), area.x0, area.x1 - area.x0);
    CompositeRows(budget, *splash, picture, period->AxisY(h), area, fillColour);
    return true;
}
