#include "view/CDragPointer.h"

#include <QGuiApplication>
#include <QWidget>

namespace view {

// The rectangle goes to the window system in the top-level window's own device pixels.
void CDragPointer::Confine(QWidget *area) {
    Release();
#if QT_CONFIG(xcb)
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11 || !area)
        return;
    QWidget *top = area->window();
    const qreal ratio = top->devicePixelRatioF();
    const QRect rect(area->mapTo(top, QPoint(0, 0)), area->size());
    m_pX11 = std::make_unique<platform::CX11PointerConfinement>(
        x11->connection(), static_cast<std::uint32_t>(top->winId()), qRound(rect.x() * ratio),
        qRound(rect.y() * ratio), qRound(rect.width() * ratio), qRound(rect.height() * ratio));
#else
    Q_UNUSED(area);
#endif
}

} // namespace view
