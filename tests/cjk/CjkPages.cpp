#include "tests/cjk/CjkPages.h"

#include <vector>

namespace cjktest {

namespace {

constexpr int kFrame = 4; // border on both sides and the two-pixel shadow
constexpr int kBorder = 1;
constexpr int kTextCapacity = 8192;

} // namespace

CDrawnPage::CDrawnPage(PDFHANDLE h, int page, float zoom)
    : m_Dc(static_cast<int>(PdfGetPageWidth(h, page) * zoom) + kFrame,
           static_cast<int>(PdfGetPageHeight(h, page) * zoom) + kFrame) {
    m_nWidth = m_Dc.GetWidth() - kFrame;
    m_nHeight = m_Dc.GetHeight() - kFrame;
    m_bDrawn = m_nWidth > 0 && PdfSetZoom(h, zoom) == 0 && PdfSetRedraw(h, 1) == 0 &&
               PdfDrawPage(h, &m_Dc, page, 0, 0) == 0;
}

platform::Rgb CDrawnPage::Pixel(int x, int y) const {
    return m_Dc.GetPixel(x + kBorder, y + kBorder).value_or(platform::kWhite);
}

int CDrawnPage::Ink() const {
    int ink = 0;
    for (int y = 0; y < m_nHeight; ++y)
        for (int x = 0; x < m_nWidth; ++x)
            ink += Pixel(x, y) != platform::kWhite;
    return ink;
}

int CDrawnPage::DifferencesFrom(const CDrawnPage &other) const {
    return DifferencesFrom(other, 0, 0, m_nWidth, m_nHeight);
}

int CDrawnPage::DifferencesFrom(const CDrawnPage &other, int x0, int y0, int x1, int y1) const {
    int differences = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            differences += Pixel(x, y) != other.Pixel(x, y);
    return differences;
}

std::u16string PageText(PDFHANDLE h, int page) {
    std::vector<char16_t> buffer(kTextCapacity);
    int length = 0;
    if (PdfGetRectText(h, page, 0, 0, PdfGetPageWidth(h, page), PdfGetPageHeight(h, page),
                       buffer.data(), &length, kTextCapacity) != 1)
        return {};
    std::u16string text(buffer.data(), length);
    while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r'))
        text.pop_back();
    return text;
}

std::string CjkFixture(const std::string &name) {
    return testsupport::Fixture("cjk/" + name);
}

} // namespace cjktest
