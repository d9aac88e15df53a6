#pragma once

// Private to engine/: an output device that stops drawing what multiplies once its page's
// budget is spent. Poppler looks for an abort only every few operators of one content stream,
// counting afresh in every stream it enters: forms, pattern tiles and Type3 glyphs that each
// draw a few short streams many times, a few levels deep, are never looked at and would draw
// for days. Each of them is announced to the device first, so the budget is looked at there.

#include "engine/PageBudget.h"

#include <CharTypes.h>
#include <GfxState.h>
#include <Object.h>

class Catalog;
class Gfx;
class OutputDev;

// Where one tiling pattern fill falls, as Poppler hands it to the device.
struct TilingFill {
    GfxState *state;
    Gfx *gfx;
    GfxTilingPattern *pattern;
    const double *matrix;
    int x0, y0, x1, y1; // the tiles, columns x0 to x1 - 1 and rows y0 to y1 - 1
    double xStep, yStep;

    long long TileCount() const;
};

// Draws the tiles one by one, as Poppler does when a device leaves them to it, and stops at the
// first tile the budget has no room for.
void DrawTilesWithinBudget(CPageBudget &budget, OutputDev &out, const TilingFill &fill);

template <class Device> class CBudgetedDevice : public Device {
public:
    // Splash fills a pattern in one call that cannot be stopped, its time and memory growing
    // with the tile count (some 24 bytes a tile for cells smaller than a pixel): 8M tiles take
    // about two seconds and 200 MB. More than that are left to FillManyTiles.
    static constexpr long long kMaxDeviceTiles = 1LL << 23;

    template <typename... Args>
    explicit CBudgetedDevice(CPageBudget &budget, Args &&...args)
        : Device(std::forward<Args>(args)...), m_Budget(budget) {}

    // Poppler hands a form to drawForm instead of drawing it whenever this says so.
    bool useDrawForm() override { return CPageBudget::Exceeded(&m_Budget); }
    void drawForm(Ref) override {}

    bool useTilingPatternFill() override { return true; }
    bool tilingPatternFill(GfxState *state, Gfx *gfx, Catalog *catalog, GfxTilingPattern *pattern,
                           const double *matrix, int x0, int y0, int x1, int y1, double xStep,
                           double yStep) override {
        if (CPageBudget::Exceeded(&m_Budget))
            return true;
        const TilingFill fill{state, gfx, pattern, matrix, x0, y0, x1, y1, xStep, yStep};
        if (fill.TileCount() > kMaxDeviceTiles)
            FillManyTiles(fill);
        else if (!Device::useTilingPatternFill() ||
                 !Device::tilingPatternFill(state, gfx, catalog, pattern, matrix, x0, y0, x1, y1,
                                            xStep, yStep))
            DrawTilesWithinBudget(m_Budget, *this, fill);
        return true;
    }

    // True leaves the glyph undrawn, as Splash does for one it has drawn from its cache.
    bool beginType3Char(GfxState *state, double x, double y, double dx, double dy, CharCode code,
                        const Unicode *u, int uLen) override {
        return CPageBudget::Exceeded(&m_Budget) ||
               Device::beginType3Char(state, x, y, dx, dy, code, u, uLen);
    }

protected:
    CPageBudget &Budget() const { return m_Budget; }

    // A fill of more tiles than the device is trusted with in one call.
    virtual void FillManyTiles(const TilingFill &fill) {
        DrawTilesWithinBudget(m_Budget, *this, fill);
    }

private:
    CPageBudget &m_Budget;
};
