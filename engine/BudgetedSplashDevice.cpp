#include "engine/BudgetedSplashDevice.h"

#include "engine/CellRepeat.h"

namespace {

// Splash copies the paper colour it is handed and never writes to it.
SplashColorPtr WhitePaper() {
    static SplashColor paper = {0xFF, 0xFF, 0xFF};
    return paper;
}

} // namespace

CBudgetedSplashDevice::CBudgetedSplashDevice(CPageBudget &budget, PDFDoc &doc, SplashColorMode mode)
    : CBudgetedDevice(budget, mode, 1, false, WhitePaper(), true), m_Doc(doc) {
    setFontAntialias(true);
    setVectorAntialias(true);
    startDoc(&m_Doc);
}

void CBudgetedSplashDevice::FillManyTiles(const TilingFill &fill) {
    if (!RepeatCellsWithinBudget(Budget(), *this, m_Doc, fill))
        CBudgetedDevice::FillManyTiles(fill);
}
