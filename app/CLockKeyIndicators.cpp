#include "app/CLockKeyIndicators.h"

#include "res/ResStrings.h"
#include "res/resource.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

#include <optional>

#if VESK_HAVE_XKB
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#endif

namespace {

struct SIndicator {
    int nId;
    const char *pszXkbName;
};

constexpr SIndicator kIndicators[] = {
    {ID_INDICATOR_CAPS, "Caps Lock"},
    {ID_INDICATOR_NUM, "Num Lock"},
    {ID_INDICATOR_SCRL, "Scroll Lock"},
};

std::optional<bool> IsLockOn(const char *pszXkbName) {
#if VESK_HAVE_XKB
    auto *pX11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *pDisplay = pX11 ? pX11->display() : nullptr;
    if (!pDisplay)
        return std::nullopt;
    Bool bOn = False;
    const Atom name = XInternAtom(pDisplay, pszXkbName, False);
    if (!XkbGetNamedIndicator(pDisplay, name, nullptr, &bOn, nullptr, nullptr))
        return std::nullopt;
    return bOn != False;
#else
    (void)pszXkbName;
    return std::nullopt;
#endif
}

} // namespace

CLockKeyIndicators::CLockKeyIndicators(QStatusBar *pBar) : QObject(pBar) {
    for (std::size_t i = 0; i < std::size(kIndicators); ++i) {
        m_pLabels[i] = new QLabel(LoadResString(kIndicators[i].nId), pBar);
        m_pLabels[i]->setObjectName(QString::number(kIndicators[i].nId));
        m_pLabels[i]->setAlignment(Qt::AlignCenter);
        m_pLabels[i]->setMinimumWidth(m_pLabels[i]->sizeHint().width() + 8);
        pBar->addPermanentWidget(m_pLabels[i]);
    }
    Update();
}

void CLockKeyIndicators::Update() {
    for (std::size_t i = 0; i < std::size(kIndicators); ++i)
        m_pLabels[i]->setEnabled(IsLockOn(kIndicators[i].pszXkbName).value_or(false));
}
