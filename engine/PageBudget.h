#pragma once

// Private to engine/: how long one page may take to draw or to read, and how much memory its
// picture may take, so that no page of a hostile file can hold a window for ever.

#include "platform/DeviceContext.h"

#include <atomic>
#include <chrono>

class CPageBudget {
public:
    // Real pages take a fraction of this; a page still drawing after it never ends.
    static constexpr std::chrono::milliseconds kDefaultTime{15000};
    // The largest page picture drawn: as large as the view's own cache bitmaps may be.
    static constexpr long long kMaxPictureBytes = 512LL * 1024 * 1024;

    // abort: stops the page at once when set (the engine is being destroyed); cancel: stops a
    // cancellable page while set (its drawer no longer wants it).
    CPageBudget(const std::atomic<bool> &abort, const std::atomic<bool> &cancel)
        : m_Abort(abort), m_Cancel(cancel) {}

    std::chrono::milliseconds m_Time = kDefaultTime;

    // Starts one page; the previous page's outcome is forgotten.
    void Start(bool cancellable = false);
    // The abort check Poppler calls between drawing operators: data is this budget.
    static bool Exceeded(void *data);
    // The last page stopped because its time ran out (not because of an abort).
    bool WasCutShort() const { return m_bCutShort; }
    // The last page was stopped by an abort or a cancel: what was drawn is not to be shown.
    bool WasStopped() const { return m_bStopped; }
    // Nothing more of the page is to be drawn: its time ran out, the engine is going or the page
    // was cancelled.
    bool IsSpent() const {
        return m_bCutShort || m_Abort.load(std::memory_order_relaxed) ||
               (m_bCancellable && m_Cancel.load(std::memory_order_relaxed));
    }

    // Whether a picture of width x height pixels, three bytes each, fits the budget; an empty
    // one always does.
    static bool PictureFits(long long width, long long height);

private:
    const std::atomic<bool> &m_Abort;
    const std::atomic<bool> &m_Cancel;
    std::chrono::steady_clock::time_point m_Deadline;
    bool m_bCancellable = false;
    bool m_bCutShort = false;
    bool m_bStopped = false;
};

// A page whose time ran out shows what was drawn inside a red border along the edges of its
// w x h picture, so that nobody takes it for the whole page.
void MarkIncomplete(platform::DeviceContext &dc, int w, int h);
