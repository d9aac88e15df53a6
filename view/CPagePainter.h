#pragma once

#include "platform/DeviceContext.h"
#include "view/CViewCore.h"

namespace view {

// Composes one paint: a grey background over the whole buffer and the visible pages copied
// from the page cache at their places, then asks the worker for what the paint lacked or, when
// nothing was missing, for the page that follows. Painting never renders and never waits for a
// render: a page missing from the cache stays grey until the worker has drawn it, and the view
// paints again when it has. Only without a worker thread does the paint draw its pages itself.
//
// The buffer is in device pixels (the view's device scale times the client area plus one
// layout pixel each way); every position is worked out in layout pixels and scaled last.
class CPagePainter {
public:
    static constexpr platform::Rgb kBackground{192, 192, 192};

    explicit CPagePainter(CViewCore &core) : m_Core(core) {}

    // False when nothing may be shown (the visible range could not be had); the window then
    // keeps what it shows.
    bool Paint(platform::DeviceContext &buffer);
    // After Paint: the visible pages that were not in the cache, first and last (0 when none).
    int FirstMissing() const { return m_nFirstMissing; }
    int LastMissing() const { return m_nLastMissing; }

private:
    void PaintPages(platform::DeviceContext &buffer, int first, int last, int sx, int sy, int wd);
    void DrawPage(platform::DeviceContext &buffer, int page, int x, int y);
    void AskWorker(int last);
    int ToDevice(int pixels) const;

    CViewCore &m_Core;
    float m_fScale = 1.0f;
    int m_nFirstMissing = 0;
    int m_nLastMissing = 0;
};

} // namespace view
