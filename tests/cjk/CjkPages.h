#pragma once

#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"
#include "tests/support/EngineHandle.h"

#include <string>

namespace cjktest {

// A page drawn through PdfDrawPage at a zoom; coordinates are page pixels (the frame around
// the page left out).
class CDrawnPage {
public:
    CDrawnPage(PDFHANDLE h, int page, float zoom);

    bool Drawn() const { return m_bDrawn; }
    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }
    // Pixels of the page that are not white.
    int Ink() const;
    // Pixels that differ from the same place of `other`, a page of the same size, in all of
    // the page or in the rectangle from (x0, y0) to (x1, y1).
    int DifferencesFrom(const CDrawnPage &other) const;
    int DifferencesFrom(const CDrawnPage &other, int x0, int y0, int x1, int y1) const;

private:
    platform::Rgb Pixel(int x, int y) const;

    platform::DeviceContext m_Dc;
    int m_nWidth = 0;
    int m_nHeight = 0;
    bool m_bDrawn = false;
};

// The whole text of a page, as PdfGetRectText gives it, without the line ends after it.
std::u16string PageText(PDFHANDLE h, int page);

// A document of tests/cjk's generator.
std::string CjkFixture(const std::string &name);

// One document opened in an engine of its own, which stays open for drawing and text.
struct COpenedDocument {
    explicit COpenedDocument(const std::string &path) { bOpened = h.Open(path) == 0; }
    CDrawnPage Draw(float zoom, int page = 1) { return CDrawnPage(h, page, zoom); }

    testsupport::CEngineHandle h;
    bool bOpened = false;
};

} // namespace cjktest
