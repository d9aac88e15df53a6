#pragma once

// Private to engine/: the Splash device every page picture is drawn with, within its page's
// budget.

#include "engine/BudgetedDevice.h"

#include <SplashOutputDev.h>

class PDFDoc;

class CBudgetedSplashDevice : public CBudgetedDevice<SplashOutputDev> {
public:
    // Antialiased, on white paper, ready for the pages of doc.
    CBudgetedSplashDevice(CPageBudget &budget, PDFDoc &doc, SplashColorMode mode = splashModeBGR8);

protected:
    // One period of the pattern is drawn once and repeated over the fill; a fill that cannot be
    // repeated so is drawn tile by tile.
    void FillManyTiles(const TilingFill &fill) override;

private:
    PDFDoc &m_Doc;
};
