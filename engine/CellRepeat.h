#pragma once

// Private to engine/: a tiling fill of millions of cells drawn from one period of its pattern.
// Drawing such cells one by one takes minutes, and Splash's own fill holds some 24 bytes for
// each of them; a cell smaller than a pixel shows only as its share of the pixels it falls in,
// so one period is drawn once, finely, and every pixel of the fill takes the mean of the
// periods under it.

class CPageBudget;
class PDFDoc;
class SplashOutputDev;
struct TilingFill;

// Draws the fill, looking at the budget between bands of rows; what the clip leaves out stays
// as it was. False, with nothing drawn, for a fill it cannot repeat: a pattern skewed or turned
// by other than right angles (its periods do not follow the pixel rows), tiles larger than
// their step (what shows where they overlap depends on the order of drawing), or a device of
// one bit a pixel.
bool RepeatCellsWithinBudget(CPageBudget &budget, SplashOutputDev &out, PDFDoc &doc,
                             const TilingFill &fill);
