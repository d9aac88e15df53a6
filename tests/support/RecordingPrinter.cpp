#include "tests/support/RecordingPrinter.h"

#include <algorithm>
#include <cstring>

namespace testsupport {

std::unique_ptr<platform::Bitmap> PrintedSheet::Picture() const {
    if (bands.empty())
        return nullptr;
    int height = 0;
    for (const PrintedBand &b : bands)
        height += b.srcH;
    auto picture = std::make_unique<platform::Bitmap>(bands.front().srcW, height);
    int y = 0;
    for (const PrintedBand &b : bands) {
        for (int row = 0; row < b.srcH; ++row, ++y)
            std::memcpy(picture->GetRow(y), b.pixels->GetRow(row),
                        std::min(picture->GetStride(), b.pixels->GetStride()));
    }
    return picture;
}

bool CRecordingPrinter::StartDoc(const std::string &docName) {
    m_Log.calls.push_back("StartDoc");
    m_Log.docName = docName;
    return !m_Script.bStartDocFails;
}

bool CRecordingPrinter::StartPage() {
    m_Log.calls.push_back("StartPage");
    m_Log.sheets.emplace_back();
    return static_cast<int>(m_Log.sheets.size()) != m_Script.nFailStartPage;
}

bool CRecordingPrinter::EndPage() {
    m_Log.calls.push_back("EndPage");
    return static_cast<int>(m_Log.sheets.size()) != m_Script.nFailEndPage;
}

bool CRecordingPrinter::EndDoc() {
    m_Log.calls.push_back("EndDoc");
    return true;
}

void CRecordingPrinter::AbortDoc() {
    m_Log.calls.push_back("AbortDoc");
}

int CRecordingPrinter::GetDeviceCaps(platform::DeviceCap cap) const {
    switch (cap) {
    case platform::DeviceCap::LogPixelsX:
        return m_Script.nDpi;
    case platform::DeviceCap::PhysicalWidth:
        return m_Script.nPhysWidth;
    case platform::DeviceCap::PhysicalHeight:
        return m_Script.nPhysHeight;
    case platform::DeviceCap::PhysicalOffsetX:
        return m_Script.nOffsetX;
    case platform::DeviceCap::PhysicalOffsetY:
        return m_Script.nOffsetY;
    }
    return 0;
}

bool CRecordingPrinter::StretchJpeg(int x, int y, int dstW, int dstH,
                                    const std::vector<std::uint8_t> &jpeg, int srcW, int srcH) {
    if (m_Log.sheets.empty())
        return false;
    m_Log.sheets.back().jpegs.push_back({x, y, dstW, dstH, srcW, srcH, jpeg});
    return true;
}

void CRecordingPrinter::StretchBitmap(int x, int y, int dstW, int dstH,
                                      const platform::Bitmap &bitmap, int srcX, int srcY, int srcW,
                                      int srcH) {
    if (m_Log.sheets.empty())
        return;
    auto pixels = std::make_shared<platform::Bitmap>(srcW, srcH);
    for (int row = 0; row < srcH; ++row)
        std::memcpy(pixels->GetRow(row),
                    bitmap.GetRow(srcY + row) + srcX * platform::Bitmap::kBytesPerPixel,
                    static_cast<std::size_t>(srcW) * platform::Bitmap::kBytesPerPixel);
    m_Log.sheets.back().bands.push_back({x, y, dstW, dstH, srcX, srcY, srcW, srcH, pixels});
}

CScriptedPrintDialog::CScriptedPrintDialog(std::optional<Answer> answer, PrinterScript script)
    : m_Answer(std::move(answer)), m_Script(script) {
    platform::SetPrintDialogHook(this);
}

CScriptedPrintDialog::~CScriptedPrintDialog() {
    platform::SetPrintDialogHook(nullptr);
}

std::optional<platform::PrintChoice>
CScriptedPrintDialog::ShowPrintDialog(const platform::PrintDialogSetup &setup) {
    m_Log.setup = setup;
    if (!m_Answer)
        return std::nullopt;
    platform::PrintChoice choice;
    choice.range = m_Answer->range;
    choice.pageRanges = m_Answer->pageRanges;
    choice.bLandscape = m_Answer->bLandscape;
    choice.pPrinter = std::make_unique<CRecordingPrinter>(m_Log, m_Script);
    return choice;
}

} // namespace testsupport
