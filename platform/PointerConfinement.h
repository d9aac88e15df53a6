#pragma once

// Keeping the mouse pointer inside a rectangle of an X11 window while a drag lasts. Other
// window systems have no such request for ordinary programs (a Wayland compositor only
// confines through a protocol the toolkit does not offer); there the drag simply goes on while
// the pointer is outside, because the pressed button keeps sending the events to the window.

#include <cstdint>

struct xcb_connection_t;

namespace platform {

// While it lives, the pointer cannot leave the rectangle (x, y, width, height in the window's
// own pixels): the window grabs the pointer, confined to an input-only child window covering
// the rectangle. The window then receives every pointer event, wherever the pointer is.
class CX11PointerConfinement {
public:
    CX11PointerConfinement(xcb_connection_t *connection, std::uint32_t window, int x, int y,
                           int width, int height);
    ~CX11PointerConfinement();
    CX11PointerConfinement(const CX11PointerConfinement &) = delete;
    CX11PointerConfinement &operator=(const CX11PointerConfinement &) = delete;

    // False when the server refused the grab (another program holds the pointer).
    bool IsConfined() const { return m_bGrabbed; }

private:
    xcb_connection_t *m_pConnection;
    std::uint32_t m_nArea = 0;
    bool m_bGrabbed = false;
};

} // namespace platform
