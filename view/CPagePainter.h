#pragma once

#include "platform/DeviceContext.h"
#include "view/CViewCore.h"

namespace view {

// Composes one paint: a grey background over the whole buffer and the visible pages copied
// from the page cache at their places, then asks the worker for the page that follows.
// Painting never renders; a page missing from the cache is asked of the worker and waited for.
class CPagePainter {
public:
    static constexpr platform::Rgb kBackground{192, 192, 192};

    explicit CPagePainter(CViewCore &core) : m_Core(core) {}

    // buffer is the client area plus one pixel each way. False when nothing may be shown (the
    // visible range could not be had); the window then keeps what it shows.
    bool Paint(platform::DeviceContext &buffer);

private:
    void PaintContinuous(platform::DeviceContext &buffer, int sx, int sy, int first, int last,
                         int wd);
    void PaintSinglePage(platform::DeviceContext &buffer, int sx, int sy, int wd);
    void DrawPage(platform::DeviceContext &buffer, int page, int x, int y);

    CViewCore &m_Core;
};

} // namespace view
