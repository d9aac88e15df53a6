#pragma once

#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"

#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace view {

// Shared ownership of one engine: whoever lets go last destroys it with PdfDestroy, so a
// render worker that outlives its view never draws with a destroyed engine.
using EnginePtr = std::shared_ptr<CPdfEngine>;
EnginePtr MakeEngine();

// One cached page: its device context holds a bitmap at least the drawn size of the page.
struct PageSlot {
    int nPage = 0; // 0 = empty
    platform::DeviceContext dc;
    int nWidth = 0; // bitmap size in pixels; 0 after ClearCache forces a new bitmap
    int nHeight = 0;
};

// The most recently rendered pages, three slots reused first in, first out. The render worker
// fills slots (CachePage); paints copy from them (DrawCachedPage). A slot being drawn is
// marked empty and its bitmap is out of the slot while the engine draws into it, so a paint
// never copies a half-drawn page, and a copy never waits for a page to render: the lock is
// only held to look up, copy or hand back a slot, never around an engine call.
//
// A paint never waits for a render, so every page it shows must fit in the cache at once:
// when more pages are visible than there are slots, the paint asks for more (Reserve), and
// the extra slots go again with the next clear. Pages are drawn at device pixels: the device
// scale multiplies the zoom for the pictures and the frame (see PdfSetDeviceScale).
class CPageCache {
public:
    static constexpr int kSlotCount = 3;
    static constexpr int kMaxSlotCount = 1024; // far more than a window shows
    static constexpr int kInitialSlotSize = 3000;
    static constexpr int kFrameSize = 4; // frame and shadow that PdfDrawPage adds to a page
    // A bitmap larger than this is refused like one the system cannot make.
    static constexpr long long kMaxBitmapBytes = 512LL * 1024 * 1024;
    static constexpr int kOutOfMemory = 12; // the error code reported for a refused bitmap

    // Told the error code when a slot bitmap cannot be made; may run on the worker thread.
    using ErrorReporter = std::function<void(int code)>;
    // Told each page that has just been rendered into a slot; runs on the rendering thread.
    using FillListener = std::function<void(int page)>;

    CPageCache();
    CPageCache(const CPageCache &) = delete;
    CPageCache &operator=(const CPageCache &) = delete;

    void SetEngine(EnginePtr engine);
    void SetErrorReporter(ErrorReporter reporter);
    void SetFillListener(FillListener listener);
    // Device pixels per layout pixel for the pictures; set only while no page is being drawn,
    // with the engine's own scale, and followed by a clear.
    void SetDeviceScale(float scale);
    float DeviceScale() const;

    // -1 without an engine, -2 for a page below 0 or past the last, 0 when cached afterwards.
    int CachePage(int page);
    // While cancel is set, a page being drawn stops at once and its slot is left empty: whoever
    // stops the render worker no longer wants it.
    void CancelDrawing(bool cancel);
    // The slot index holding page (searched 0, 1, 2, ...), or -1.
    int FindCachedPage(int page) const;
    // Device pixels that page with its frame and shadow fills at the current zoom; false
    // without an engine or for no page.
    bool DrawnSize(int page, int *width, int *height) const;
    // Copies width x height pixels of page's slot from its corner to (x, y) of dst; -1 when
    // no slot holds the page.
    int DrawCachedPage(int page, platform::DeviceContext &dst, int x, int y, int width,
                       int height) const;
    // At least `slots` slots (up to kMaxSlotCount) until the next clear.
    void Reserve(int slots);
    int SlotCount() const;
    // Empties every slot and goes back to three of them.
    void ClearCache();
    // As ClearCache, and every slot bitmap is freed at once (a page being drawn loses its
    // bitmap when it is handed back); the slots are filled again when pages are next cached.
    void ReleaseMemory();

    // A 24-bit bitmap, or null after reporting the error code (too large or out of memory).
    std::unique_ptr<platform::Bitmap>
    CreateDIB24(int width, int height,
                platform::Bitmap::Fill fill = platform::Bitmap::Fill::White) const;

    // State for tests and diagnostics.
    PageSlot SlotInfo(int slot) const; // the slot without its bitmap
    int BitmapWidth(int slot) const;
    int LastSlot() const;
    long RenderCount() const; // pages drawn by the engine into this cache

private:
    struct Claim {
        int nSlot;
        unsigned nGeneration;
        std::unique_ptr<platform::Bitmap> bitmap;
        bool bReused;
    };

    int FindLocked(int page) const;
    void Empty(bool bFreeBitmaps);
    std::vector<PageSlot> ShrinkLocked();
    Claim ClaimNextSlot(int width, int height);
    // True when the page went into its slot.
    bool ReturnSlot(Claim claim, int page, int width, int height);
    void Report(int code) const;

    mutable std::mutex m_Lock; // guards every field below
    EnginePtr m_pEngine;
    std::vector<PageSlot> m_Slots;
    int m_nLastSlot = -1;
    unsigned m_nGeneration = 0; // counts clears, so a page drawn across one is dropped
    float m_fDeviceScale = 1.0f;
    std::atomic<long> m_nRenders = 0;
    std::atomic<bool> m_bCancelling = false;
    ErrorReporter m_Reporter;
    FillListener m_Listener;
};

} // namespace view
