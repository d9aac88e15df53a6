#pragma once

#include "platform/UiHooks.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// How the fake printer describes itself and where it fails. The default is US Letter at
// 600 dpi without margins, taking pixels only.
struct PrinterScript {
    int nDpi = 600;
    int nPhysWidth = 5100, nPhysHeight = 6600;
    int nOffsetX = 0, nOffsetY = 0;
    bool bJpeg = false;        // answers the JPEG query positively
    bool bJpegAccepted = true; // and takes the JPEG it is shown
    bool bStartDocFails = false;
    int nFailStartPage = 0; // the 1-based sheet whose StartPage fails; 0 for none
    int nFailEndPage = 0;
};

// A rectangle of a picture handed to the printer, with a copy of its pixels.
struct PrintedBand {
    int x, y, dstW, dstH;
    int srcX, srcY, srcW, srcH;
    std::shared_ptr<platform::Bitmap> pixels; // srcW x srcH
};

struct PrintedJpeg {
    int x, y, dstW, dstH, srcW, srcH;
    std::vector<std::uint8_t> data;
};

struct PrintedSheet {
    std::vector<PrintedBand> bands;
    std::vector<PrintedJpeg> jpegs;
    // The bands stacked in order: the picture as the printer received it (null without bands).
    std::unique_ptr<platform::Bitmap> Picture() const;
};

// Everything the print dialog and the printer were asked, in order.
struct PrintLog {
    std::optional<platform::PrintDialogSetup> setup;
    std::vector<std::string> calls; // StartDoc, StartPage, EndPage, EndDoc, AbortDoc
    std::string docName;
    std::vector<PrintedSheet> sheets;
};

class CRecordingPrinter : public platform::Printer {
public:
    CRecordingPrinter(PrintLog &log, const PrinterScript &script) : m_Log(log), m_Script(script) {}

    bool StartDoc(const std::string &docName) override;
    bool StartPage() override;
    bool EndPage() override;
    bool EndDoc() override;
    void AbortDoc() override;
    int GetDeviceCaps(platform::DeviceCap cap) const override;
    bool QueryJpegSupport() const override { return m_Script.bJpeg; }
    bool CheckJpeg(const std::vector<std::uint8_t> &) override { return m_Script.bJpegAccepted; }
    bool StretchJpeg(int x, int y, int dstW, int dstH, const std::vector<std::uint8_t> &jpeg,
                     int srcW, int srcH) override;
    void StretchBitmap(int x, int y, int dstW, int dstH, const platform::Bitmap &bitmap, int srcX,
                       int srcY, int srcW, int srcH) override;

private:
    PrintLog &m_Log;
    PrinterScript m_Script;
};

// A print dialog that answers with a prepared choice (or as if cancelled) and hands out a
// recording printer; installed for its lifetime.
class CScriptedPrintDialog : public platform::PrintDialogHook {
public:
    struct Answer {
        platform::PrintRange range = platform::PrintRange::AllPages;
        std::vector<platform::PageRange> pageRanges;
        bool bLandscape = false;
    };

    explicit CScriptedPrintDialog(std::optional<Answer> answer, PrinterScript script = {});
    ~CScriptedPrintDialog() override;
    CScriptedPrintDialog(const CScriptedPrintDialog &) = delete;
    CScriptedPrintDialog &operator=(const CScriptedPrintDialog &) = delete;

    std::optional<platform::PrintChoice>
    ShowPrintDialog(const platform::PrintDialogSetup &setup) override;

    PrintLog m_Log;

private:
    std::optional<Answer> m_Answer;
    PrinterScript m_Script;
};

} // namespace testsupport
