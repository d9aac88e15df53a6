#include "app/CLockKeyIndicators.h"

#include "res/ResStrings.h"
#include "res/resource.h"

#include <QGuiApplication>
#include <QLabel>
#include <QStatusBar>

#include <array>
#include <optional>

#if VESK_HAVE_XKB
#include <QtGui/qguiapplication_platform.h>
#include <X11/XKBlib.h>
#endif

namespace {

constexpr std::size_t kCount = 3;

struct SIndicator {
    int nId;
    const char *pszXkbName;
};

constexpr SIndicator kIndicators[kCount] = {
    {ID_INDICATOR_CAPS, "Caps Lock"},
    {ID_INDICATOR_NUM, "Num Lock"},
    {ID_INDICATOR_SCRL, "Scroll Lock"},
};

using LockStates = std::array<std::optional<bool>, kCount>;

} // namespace

#if VESK_HAVE_XKB

// The lock indicators of the X server's core keyboard. Each indicator's index is looked up
// once; an update is a single request, since the status bar asks several times a second.
class CLockStateReader {
public:
    static std::unique_ptr<CLockStateReader> ForThisDesktop() {
        if (QGuiApplication::platformName() != QLatin1String("xcb"))
            return nullptr;
        auto *pX11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
        Display *pDisplay = pX11 ? pX11->display() : nullptr;
        if (!pDisplay)
            return nullptr;
        auto pReader = std::unique_ptr<CLockStateReader>(new CLockStateReader(pDisplay));
        for (std::size_t i = 0; i < kCount; ++i) {
            const Atom name = XInternAtom(pDisplay, kIndicators[i].pszXkbName, True);
            int nIndex = -1;
            if (name != None &&
                XkbGetNamedIndicator(pDisplay, name, &nIndex, nullptr, nullptr, nullptr))
                pReader->m_nIndex[i] = nIndex;
        }
        return pReader;
    }

    LockStates Read() const {
        LockStates states;
        unsigned int mask = 0;
        if (XkbGetIndicatorState(m_pDisplay, XkbUseCoreKbd, &mask) != Success)
            return states;
        for (std::size_t i = 0; i < kCount; ++i) {
            if (m_nIndex[i] >= 0)
                states[i] = (mask & (1u << m_nIndex[i])) != 0;
        }
        return states;
    }

private:
    explicit CLockStateReader(Display *pDisplay) : m_pDisplay(pDisplay) {}

    Display *m_pDisplay;
    std::array<int, kCount> m_nIndex{-1, -1, -1};
};

#else

class CLockStateReader {
public:
    static std::unique_ptr<CLockStateReader> ForThisDesktop() { return nullptr; }
    LockStates Read() const { return {}; }
};

#endif

CLockKeyIndicators::CLockKeyIndicators(QStatusBar *pBar)
    : QObject(pBar), m_pReader(CLockStateReader::ForThisDesktop()) {
    for (std::size_t i = 0; i < kCount; ++i) {
        m_pLabels[i] = new QLabel(LoadResString(kIndicators[i].nId), pBar);
        m_pLabels[i]->setObjectName(QString::number(kIndicators[i].nId));
        m_pLabels[i]->setAlignment(Qt::AlignCenter);
        m_pLabels[i]->setMinimumWidth(m_pLabels[i]->sizeHint().width() + 8);
        if (!m_pReader)
            m_pLabels[i]->setToolTip(LoadResString(IDS_LOCK_KEYS_UNKNOWN));
        pBar->addPermanentWidget(m_pLabels[i]);
    }
    Update();
}

CLockKeyIndicators::~CLockKeyIndicators() = default;

void CLockKeyIndicators::Update() {
    const LockStates states = m_pReader ? m_pReader->Read() : LockStates{};
    for (std::size_t i = 0; i < kCount; ++i)
        m_pLabels[i]->setEnabled(states[i].value_or(false));
}
