#pragma once

#include "engine/PdfApi.h"
#include "view/CPageCache.h"
#include "view/CRenderWorker.h"
#include "view/CScrollModel.h"
#include "view/CViewHistory.h"
#include "view/CWheelNotches.h"

#include <chrono>
#include <functional>
#include <memory>
#include <string>

namespace view {

// Display modes.
inline constexpr int kSinglePage = 1;
inline constexpr int kContinuous = 2;

// The reading view without its window: one engine, the page cache and render worker, the
// scrolled area, the display mode and the view history. The widget forwards its events and
// commands here and repaints afterwards; tests drive this class directly.
class CViewCore {
public:
    static constexpr int kPageMargin = 10;        // top of the page in single-page mode
    static constexpr int kSinglePageReserve = 20; // extent beyond the page in single-page mode
    static constexpr int kFitWidthReserve = 40;
    static constexpr int kFitHeightReserve = 20;
    static constexpr int kWheelReserve = 10; // single-page wheel: the page fits with this to spare
    static constexpr double kZoomStep = 0.2;
    static constexpr float kMaxZoom = 4.0f;
    // How long a zoom change or a view coming to the front waits for a page to be drawn before
    // it goes on without it: a real page takes a fraction of this, a hostile one far more.
    static constexpr std::chrono::milliseconds kPagePatience{500};

    // Asked once when the document wants a password; an empty answer is no password.
    using PasswordPrompt = std::function<std::string()>;

    explicit CViewCore(const std::string &resourceDir);
    ~CViewCore();
    CViewCore(const CViewCore &) = delete;
    CViewCore &operator=(const CViewCore &) = delete;

    // 0 opened, -1 no engine or not a readable PDF, -2 password refused. The worker starts
    // with nothing to draw: the first fit or paint asks for the pages at their zoom.
    int OpenPdfFile(const std::string &path, platform::TreeControl *tree,
                    const PasswordPrompt &askPassword);
    // Fit width and the top of the document. The fit is kept, following the window's width
    // (RefitWidth), until the zoom is changed by a command.
    void OnInitialUpdate();
    bool KeepsInitialFit() const { return m_bFitKept; }
    // Fits the width again while the initial fit is kept; a factor that stays the same
    // changes nothing. True when the zoom changed.
    bool RefitWidth();
    void Close() { m_strFilePath.clear(); }
    PDFHANDLE Handle() const { return m_hPdf; }
    bool IsOpen() const;
    const std::string &FilePath() const { return m_strFilePath; }

    // Layout, zoom and rotation.
    void UpdateScrollSizes();
    int ZoomTo(float zoom);
    int FitWidth();
    int FitHeight();
    int ZoomIn();
    int ZoomOut();
    void Rotate(int delta); // +90 clockwise, -90 anticlockwise
    void ScrollHorz(int pos);
    void VScroll(int request, int arg, int track = 0);
    bool OnMouseWheel(int delta); // one notch, as a classic wheel sends it; false: not handled
    // A wheel or touchpad event: pixel deltas where the device gives them, else angle deltas
    // added up to whole notches. Vertically as OnMouseWheel; sideways where the pages are
    // wider than the window. False when the event was not handled.
    bool OnWheel(int angleX, int angleY, int pixelX, int pixelY);
    void OnKeyUpDown(bool bUp);
    // The page a client row belongs to: the current page in single-page mode; in continuous
    // mode the page drawn there, below a gap the page after it, below the last page the last.
    // -1 without a document.
    int PageUnder(int y) const;
    // A client point in pixels of page, measured from that page's place in the layout.
    bool WindowToPage(int page, int x, int y, int *px, int *py) const;

    // Navigation and history.
    int GoToPage(int page);
    int FirstPage();
    int PrevPage();
    int NextPage();
    int LastPage();
    void PrevView();
    void NextView();
    void SetDisplayMode(int mode);
    int DisplayMode() const { return m_nDisplayMode; }

    // Queries: -1 or -1.0 without a document.
    int CurrentPage() const;
    float CurrentZoom() const;
    int PageCount() const;
    // Page size in pixels at the current zoom (pw and ph); -1 without a page.
    int PageWidthPx(int page) const;
    int PageHeightPx(int page) const;

    // Device pixels per layout pixel of the window the view is shown in: pages are drawn at
    // that resolution, while every layout number stays in layout pixels.
    void SetDeviceScale(float scale);
    float DeviceScale() const { return m_fDeviceScale; }
    // The pages a paint shows (first above last: none); false when they cannot be had.
    bool VisibleRange(int *first, int *last); // moves the current page as a paint does
    // A view that is not shown gives its page pictures back; RenderVisiblePages draws what the
    // view shows again, before it is painted.
    void ReleaseMemory();
    void RenderVisiblePages();

    CScrollModel &Scroll() { return m_Scroll; }
    const CScrollModel &Scroll() const { return m_Scroll; }
    CViewHistory &History() { return m_History; }
    CPageCache &Cache() { return *m_pPageCache; }
    CRenderWorker &Worker() { return m_Worker; }

private:
    void StartWorker(int page);
    int ApplyZoom(float zoom);
    void FitZoom(int pixels, int points);
    int FitWidthFactor(float *zoom) const;
    bool WheelVertical(int notches, int pixels);

    EnginePtr m_pEngine;
    PDFHANDLE m_hPdf;
    std::shared_ptr<CPageCache> m_pPageCache;
    CRenderWorker m_Worker; // after the engine and cache: it is stopped before they go
    CScrollModel m_Scroll;
    CViewHistory m_History;
    int m_nDisplayMode;
    std::string m_strFilePath;
    bool m_bFitKept = false;
    float m_fDeviceScale = 1.0f;
    CWheelNotches m_WheelX;
    CWheelNotches m_WheelY;
};

} // namespace view
