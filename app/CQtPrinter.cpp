#include "app/CQtPrinter.h"

#include <QImage>
#include <QPageLayout>

CQtPrinter::CQtPrinter(std::unique_ptr<QPrinter> printer) : m_pPrinter(std::move(printer)) {
}

CQtPrinter::~CQtPrinter() {
    if (m_Painter.isActive())
        m_Painter.end();
}

bool CQtPrinter::StartDoc(const std::string &docName) {
    if (m_bInDoc || !m_pPrinter->isValid())
        return false;
    m_pPrinter->setDocName(QString::fromStdString(docName));
    m_bInDoc = true;
    return true;
}

bool CQtPrinter::StartPage() {
    if (!m_bInDoc)
        return false;
    if (!m_Painter.isActive())
        return m_Painter.begin(m_pPrinter.get());
    return m_pPrinter->newPage();
}

bool CQtPrinter::EndPage() {
    return m_bInDoc && m_Painter.isActive();
}

bool CQtPrinter::EndDoc() {
    if (!m_bInDoc)
        return false;
    m_bInDoc = false;
    return !m_Painter.isActive() || m_Painter.end();
}

// Qt's print engine for the desktop's print system cannot withdraw a job that has begun (its
// abort answers false): what was drawn is sent when the painter ends. Qt's own page calls never
// fail, so a job over this printer is aborted only when a page could not be made at all.
void CQtPrinter::AbortDoc() {
    m_bInDoc = false;
    if (m_Painter.isActive()) {
        m_pPrinter->abort();
        m_Painter.end();
    }
}

int CQtPrinter::GetDeviceCaps(platform::DeviceCap cap) const {
    const int dpi = m_pPrinter->resolution();
    const QPageLayout layout = m_pPrinter->pageLayout();
    // The painter's origin is the printable area's corner, as on every printer.
    switch (cap) {
    case platform::DeviceCap::LogPixelsX:
        return dpi;
    case platform::DeviceCap::PhysicalWidth:
        return layout.fullRectPixels(dpi).width();
    case platform::DeviceCap::PhysicalHeight:
        return layout.fullRectPixels(dpi).height();
    case platform::DeviceCap::PhysicalOffsetX:
        return layout.paintRectPixels(dpi).left();
    case platform::DeviceCap::PhysicalOffsetY:
        return layout.paintRectPixels(dpi).top();
    }
    return 0;
}

void CQtPrinter::StretchBitmap(int x, int y, int dstW, int dstH, const platform::Bitmap &bitmap,
                               int srcX, int srcY, int srcW, int srcH) {
    if (!m_Painter.isActive() || srcH <= 0 || srcY < 0 || srcY + srcH > bitmap.GetHeight())
        return;
    if (srcX < 0 || srcW <= 0 || srcX + srcW > bitmap.GetWidth())
        return;
    // The rectangle is wrapped where it lies (device bitmap rows are whole 32-bit words) and
    // turned into the one format Qt's print engine compresses without another conversion or a
    // look for transparency.
    const QImage rows(bitmap.GetRow(srcY) + srcX * platform::Bitmap::kBytesPerPixel, srcW, srcH,
                      bitmap.GetStride(), QImage::Format_BGR888);
    m_Painter.drawImage(QRect(x, y, dstW, dstH), rows.convertToFormat(QImage::Format_RGB32));
}
