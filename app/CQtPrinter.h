#pragma once

#include "platform/Printer.h"

#include <QPainter>
#include <QPrinter>

#include <memory>

// A printer of the desktop's print system behind Qt's QPrinter: the job is the painter's run
// over the printer, each picture an image drawn into its rectangle. The first page starts the
// painter, so a job without pages sends nothing.
class CQtPrinter : public platform::Printer {
public:
    explicit CQtPrinter(std::unique_ptr<QPrinter> printer);
    ~CQtPrinter() override;

    bool StartDoc(const std::string &docName) override;
    bool StartPage() override;
    bool EndPage() override;
    bool EndDoc() override;
    void AbortDoc() override;

    int GetDeviceCaps(platform::DeviceCap cap) const override;

    // Qt's print engine takes pixels and compresses them itself (JPEG inside the job's PDF): a
    // JPEG made here would be decoded and compressed a second time, so none is taken.
    bool QueryJpegSupport() const override { return false; }
    bool CheckJpeg(const std::vector<std::uint8_t> &) override { return false; }
    bool StretchJpeg(int, int, int, int, const std::vector<std::uint8_t> &, int, int) override {
        return false;
    }
    void StretchBitmap(int x, int y, int dstW, int dstH, const platform::Bitmap &bitmap, int srcX,
                       int srcY, int srcW, int srcH) override;

private:
    std::unique_ptr<QPrinter> m_pPrinter;
    QPainter m_Painter;
    bool m_bInDoc = false;
};
