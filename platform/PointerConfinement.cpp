#include "platform/PointerConfinement.h"

#include <xcb/xcb.h>
#include <xcb/xinput.h>

#include <cstdlib>
#include <memory>

namespace platform {

namespace {

// The events a drag needs; the grab reports them to the grabbing window.
constexpr std::uint16_t kDragEvents = XCB_EVENT_MASK_BUTTON_PRESS | XCB_EVENT_MASK_BUTTON_RELEASE |
                                      XCB_EVENT_MASK_POINTER_MOTION | XCB_EVENT_MASK_BUTTON_MOTION;

struct FreeReply {
    void operator()(void *reply) const { std::free(reply); }
};

// The button press left the pointer grabbed by this program through the input extension;
// the server refuses to turn that grab into a confined one, so it is released first.
void ReleaseImplicitGrab(xcb_connection_t *connection) {
    // A request of an extension the server lacks would end the connection.
    const xcb_query_extension_reply_t *input = xcb_get_extension_data(connection, &xcb_input_id);
    if (!input || !input->present)
        return;
    const std::unique_ptr<xcb_input_xi_get_client_pointer_reply_t, FreeReply> pointer(
        xcb_input_xi_get_client_pointer_reply(
            connection, xcb_input_xi_get_client_pointer(connection, XCB_NONE), nullptr));
    if (pointer && pointer->deviceid)
        xcb_input_xi_ungrab_device(connection, XCB_CURRENT_TIME, pointer->deviceid);
}

} // namespace

CX11PointerConfinement::CX11PointerConfinement(xcb_connection_t *connection, std::uint32_t window,
                                               int x, int y, int width, int height)
    : m_pConnection(connection) {
    if (!connection || xcb_connection_has_error(connection) || width <= 0 || height <= 0)
        return;
    // An input-only window draws nothing; it only gives the confinement its shape.
    m_nArea = xcb_generate_id(connection);
    xcb_create_window(connection, 0, m_nArea, window, static_cast<std::int16_t>(x),
                      static_cast<std::int16_t>(y), static_cast<std::uint16_t>(width),
                      static_cast<std::uint16_t>(height), 0, XCB_WINDOW_CLASS_INPUT_ONLY,
                      XCB_COPY_FROM_PARENT, 0, nullptr);
    xcb_map_window(connection, m_nArea);
    ReleaseImplicitGrab(connection);
    const xcb_grab_pointer_cookie_t cookie =
        xcb_grab_pointer(connection, 0, window, kDragEvents, XCB_GRAB_MODE_ASYNC,
                         XCB_GRAB_MODE_ASYNC, m_nArea, XCB_NONE, XCB_CURRENT_TIME);
    const std::unique_ptr<xcb_grab_pointer_reply_t, FreeReply> reply(
        xcb_grab_pointer_reply(connection, cookie, nullptr));
    m_bGrabbed = reply && reply->status == XCB_GRAB_STATUS_SUCCESS;
}

CX11PointerConfinement::~CX11PointerConfinement() {
    if (!m_nArea)
        return;
    if (m_bGrabbed)
        xcb_ungrab_pointer(m_pConnection, XCB_CURRENT_TIME);
    xcb_destroy_window(m_pConnection, m_nArea);
    xcb_flush(m_pConnection);
}

} // namespace platform
