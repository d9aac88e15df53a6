#include "engine/BudgetedDevice.h"

#include <Gfx.h>
#include <OutputDev.h>

long long TilingFill::TileCount() const {
    const long long columns = static_cast<long long>(x1) - x0;
    const long long rows = static_cast<long long>(y1) - y0;
    return columns > 0 && rows > 0 ? columns * rows : 0;
}

void DrawTilesWithinBudget(CPageBudget &budget, OutputDev &out, const TilingFill &fill) {
    const double *m = fill.matrix;
    double tile[6] = {m[0], m[1], m[2], m[3], m[4], m[5]};
    out.updatePatternOpacity(fill.state);
    for (int yi = fill.y0; yi < fill.y1; ++yi) {
        for (int xi = fill.x0; xi < fill.x1; ++xi) {
            if (CPageBudget::Exceeded(&budget)) {
                out.clearPatternOpacity(fill.state);
                return;
            }
            const double x = xi * fill.xStep, y = yi * fill.yStep;
            tile[4] = x * m[0] + y * m[2] + m[4];
            tile[5] = x * m[1] + y * m[3] + m[5];
            fill.gfx->drawForm(fill.pattern->getContentStream(), fill.pattern->getResDict(), tile,
                               fill.pattern->getBBox());
        }
    }
    out.clearPatternOpacity(fill.state);
}
