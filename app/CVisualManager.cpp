#include "app/CVisualManager.h"

#include "res/resource.h"

#include <QApplication>
#include <QPalette>
#include <QStyle>
#include <QStyleFactory>

namespace {

struct SColours {
    QRgb window, windowText, button, buttonText, base, text, highlight, highlightedText;
};

struct SLook {
    int nId;
    const char *pszStyle;
    SColours colours;
};

// The looks that are no Office 2007 colour style.
constexpr SLook kLooks[] = {
    {ID_VIEW_APPLOOK_WIN_2000,
     "Windows",
     {0xd4d0c8, 0x000000, 0xd4d0c8, 0x000000, 0xffffff, 0x000000, 0x0a246a, 0xffffff}},
    {ID_VIEW_APPLOOK_OFF_XP,
     "Fusion",
     {0xeeede5, 0x000000, 0xf7f6f1, 0x000000, 0xffffff, 0x000000, 0xb6bdd2, 0x000000}},
    {ID_VIEW_APPLOOK_WIN_XP,
     "Fusion",
     {0xece9d8, 0x000000, 0xf4f3ee, 0x000000, 0xffffff, 0x000000, 0x316ac5, 0xffffff}},
    {ID_VIEW_APPLOOK_OFF_2003,
     "Fusion",
     {0xc3daf9, 0x000000, 0xe3efff, 0x000000, 0xffffff, 0x000000, 0xffd58d, 0x000000}},
    {ID_VIEW_APPLOOK_VS_2005,
     "Fusion",
     {0xe5e5d7, 0x000000, 0xf5f4ef, 0x000000, 0xffffff, 0x000000, 0xc1d2ee, 0x000000}},
};

// Indexed by CVisualManager::Office2007Style.
constexpr SColours kOffice2007[] = {
    {0xbfdbff, 0x15428b, 0xdae6f4, 0x15428b, 0xffffff, 0x000000, 0xffe38e, 0x000000},
    {0x535353, 0xffffff, 0x6e6e6e, 0xffffff, 0xffffff, 0x000000, 0xffd86b, 0x000000},
    {0xc4d8dd, 0x254a5a, 0xdbe8ec, 0x254a5a, 0xffffff, 0x000000, 0xffe38e, 0x000000},
    {0xd0d4dd, 0x4c535c, 0xe4e7ed, 0x4c535c, 0xffffff, 0x000000, 0xffe38e, 0x000000},
};

QPalette MakePalette(const SColours &c) {
    QPalette palette{QColor(c.button), QColor(c.window)};
    palette.setColor(QPalette::WindowText, QColor(c.windowText));
    palette.setColor(QPalette::ButtonText, QColor(c.buttonText));
    palette.setColor(QPalette::Base, QColor(c.base));
    palette.setColor(QPalette::AlternateBase, QColor(c.base).darker(105));
    palette.setColor(QPalette::Text, QColor(c.text));
    palette.setColor(QPalette::Highlight, QColor(c.highlight));
    palette.setColor(QPalette::HighlightedText, QColor(c.highlightedText));
    const QColor grey(0x80, 0x80, 0x80);
    for (const auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text})
        palette.setColor(QPalette::Disabled, role, grey);
    return palette;
}

void SetStyleAndPalette(const char *pszStyle, const SColours &colours) {
    if (QStyle *pStyle = QStyleFactory::create(QString::fromLatin1(pszStyle)))
        QApplication::setStyle(pStyle);
    QApplication::setPalette(MakePalette(colours));
}

} // namespace

void CVisualManager::Apply(int nLook) {
    for (const SLook &look : kLooks) {
        if (look.nId == nLook) {
            SetStyleAndPalette(look.pszStyle, look.colours);
            return;
        }
    }
    switch (nLook) {
    case ID_VIEW_APPLOOK_OFF_2007_BLUE:
        m_eOffice2007Style = kBlue;
        break;
    case ID_VIEW_APPLOOK_OFF_2007_BLACK:
        m_eOffice2007Style = kBlack;
        break;
    case ID_VIEW_APPLOOK_OFF_2007_SILVER:
        m_eOffice2007Style = kSilver;
        break;
    case ID_VIEW_APPLOOK_OFF_2007_AQUA:
        m_eOffice2007Style = kAqua;
        break;
    default:
        break; // any other value: the Office 2007 look in the colour style it had
    }
    SetStyleAndPalette("Fusion", kOffice2007[m_eOffice2007Style]);
}
