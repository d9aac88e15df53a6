// PdfGetRectText: the text of a rectangle of a page, as UTF-16.

#include "engine/BudgetedDevice.h"
#include "engine/CPdfEngine.h"
#include "engine/PageDisplay.h"
#include "engine/TextSelection.h"

#include <GlobalParams.h>
#include <TextOutputDev.h>
#include <UnicodeMap.h>

namespace {

constexpr double kTextDpi = 72.0; // one unit per point: the rectangle is in points
constexpr bool kPhysicalLayout = true;
constexpr double kNoFixedPitch = 0;
constexpr bool kRawOrder = false;

} // namespace

void CPdfEngine::GetRectText(int page, double xMin, double yMin, double xMax, double yMax,
                             char16_t *buffer, int *length, int capacity) {
    if (!HasPage(page) || !buffer || !length)
        return;
    const UnicodeMap *encoding = globalParams ? globalParams->getTextEncoding() : nullptr;
    if (!encoding)
        return;
    m_pTextDev = std::make_unique<CBudgetedDevice<TextOutputDev>>(
        m_PageBudget, static_cast<TextOutputFunc>(nullptr), nullptr, kPhysicalLayout, kNoFixedPitch,
        kRawOrder);
    if (m_pTextDev->isOk()) {
        // Rotation 0: the rectangle is in the page's upright space whatever the view shows.
        m_PageBudget.Start();
        if (DisplayPage(*m_pDoc, *m_pTextDev, page, kTextDpi, 0, {}, CPageBudget::Exceeded,
                        &m_PageBudget)) {
            const CPageText text(*m_pTextDev, *encoding);
            AppendUtf16(text.Select(xMin, yMin, xMax, yMax), buffer, length, capacity);
        }
    }
    m_pTextDev.reset();
}
