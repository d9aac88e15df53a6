#pragma once

#include "platform/PointerConfinement.h"

#include <memory>

class QWidget;

namespace view {

// Keeps the mouse pointer inside a widget while a drag lasts, where the window system allows
// it: on X11 by a confined pointer grab. Elsewhere (Wayland, offscreen) the pointer may leave
// the widget, and the pressed button still sends the drag's events to it.
class CDragPointer {
public:
    void Confine(QWidget *area);
    void Release() { m_pX11.reset(); }
    bool IsConfined() const { return m_pX11 && m_pX11->IsConfined(); }

private:
    std::unique_ptr<platform::CX11PointerConfinement> m_pX11;
};

} // namespace view
