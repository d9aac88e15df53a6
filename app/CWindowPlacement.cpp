#include "app/CWindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QWidget>
#include <QWindowStateChangeEvent>

namespace {

// A stored rectangle counts when this much of it lies on one screen, so the title bar can be
// reached; smaller ones (a screen that was unplugged) give way to the default.
constexpr int kMinVisibleWidth = 160;
constexpr int kMinVisibleHeight = 100;
constexpr int kDefaultShare = 4; // the default is three quarters of the screen each way
constexpr Qt::WindowStates kNotNormal =
    Qt::WindowMaximized | Qt::WindowFullScreen | Qt::WindowMinimized;

} // namespace

CWindowPlacement::CWindowPlacement(QWidget &window)
    : QObject(&window), m_Window(window), m_rcNormal(DefaultRect()) {
    window.installEventFilter(this);
}

QRect CWindowPlacement::DefaultRect() {
    const QScreen *pScreen = QGuiApplication::primaryScreen();
    if (!pScreen)
        return {};
    const QRect area = pScreen->availableGeometry();
    const QSize size = area.size() * (kDefaultShare - 1) / kDefaultShare;
    QRect rect(QPoint(), size);
    rect.moveCenter(area.center());
    return rect;
}

bool CWindowPlacement::IsShownWell(const QRect &rect) {
    for (const QScreen *pScreen : QGuiApplication::screens()) {
        const QRect shown = pScreen->availableGeometry().intersected(rect);
        if (shown.width() >= kMinVisibleWidth && shown.height() >= kMinVisibleHeight)
            return true;
    }
    return false;
}

void CWindowPlacement::Load(const QSettings &settings, const QString &key) {
    const QRect stored = settings.value(key).toRect();
    m_rcNormal = IsShownWell(stored) ? stored : DefaultRect();
}

void CWindowPlacement::Save(QSettings &settings, const QString &key) const {
    if (m_rcNormal.isValid())
        settings.setValue(key, m_rcNormal);
}

bool CWindowPlacement::eventFilter(QObject *pWatched, QEvent *pEvent) {
    if (pWatched != &m_Window)
        return false;
    switch (pEvent->type()) {
    case QEvent::WindowStateChange:
        OnStateChange(static_cast<QWindowStateChangeEvent *>(pEvent)->oldState());
        break;
    case QEvent::Move:
    case QEvent::Resize:
        if (!m_bRestorePending && m_Window.isVisible() && !(m_Window.windowState() & kNotNormal))
            m_rcNormal = m_Window.geometry();
        break;
    default:
        break;
    }
    return false;
}

void CWindowPlacement::OnStateChange(Qt::WindowStates oldState) {
    if (!m_bRestorePending || (m_Window.windowState() & kNotNormal) ||
        !(oldState & (Qt::WindowMaximized | Qt::WindowFullScreen)))
        return;
    m_bRestorePending = false;
    if (m_rcNormal.isValid())
        m_Window.setGeometry(m_rcNormal);
}
