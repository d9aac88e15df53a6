#include "app/CMdiTabArea.h"

#include <QApplication>
#include <QMenu>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleFactory>
#include <QStyleOptionTab>
#include <QTabBar>
#include <QToolButton>

#include <iterator>

namespace {

// Tabs take these colours in turn, so neighbouring documents are told apart at a glance.
constexpr QRgb kTabColours[] = {0x94afe6, 0xffdb75, 0xbdcd9f, 0xf09e9f,
                                0xbaa6e1, 0x9abfb4, 0xf7b683, 0xd8abc0};

class CTabColourStyle : public QProxyStyle {
public:
    using QProxyStyle::QProxyStyle;

    void drawControl(ControlElement element, const QStyleOption *pOption, QPainter *pPainter,
                     const QWidget *pWidget) const override {
        const auto *pTab = qstyleoption_cast<const QStyleOptionTab *>(pOption);
        if (element != CE_TabBarTabShape || !pTab || pTab->tabIndex < 0) {
            QProxyStyle::drawControl(element, pOption, pPainter, pWidget);
            return;
        }
        QStyleOptionTab tab(*pTab);
        QColor colour(kTabColours[pTab->tabIndex % std::size(kTabColours)]);
        if (!(pTab->state & State_Selected))
            colour = colour.lighter(115);
        tab.palette.setColor(QPalette::Window, colour);
        tab.palette.setColor(QPalette::Button, colour);
        QProxyStyle::drawControl(element, &tab, pPainter, pWidget);
    }
};

} // namespace

CMdiTabArea::CMdiTabArea(QWidget *pParent)
    : QTabWidget(pParent), m_pListButton(new QToolButton(this)), m_pListMenu(new QMenu(this)) {
    setDocumentMode(true);
    setTabsClosable(true);
    setMovable(true);
    tabBar()->setExpanding(false);
    tabBar()->setIconSize(QSize(0, 0));
    m_pListButton->setArrowType(Qt::DownArrow);
    m_pListButton->setAutoRaise(true);
    m_pListButton->setPopupMode(QToolButton::InstantPopup);
    m_pListButton->setMenu(m_pListMenu);
    setCornerWidget(m_pListButton, Qt::TopRightCorner);
    connect(m_pListMenu, &QMenu::aboutToShow, this, &CMdiTabArea::FillDocumentList);
    connect(this, &QTabWidget::currentChanged, this, &CMdiTabArea::ShowCloseButtonOnActiveTab);
    connect(this, &QTabWidget::tabCloseRequested, this, [this](int nIndex) {
        if (QWidget *pWindow = widget(nIndex))
            pWindow->close();
    });
    UpdateLook();
}

CMdiTabArea::~CMdiTabArea() {
    tabBar()->setStyle(nullptr);
}

void CMdiTabArea::AddWindow(QWidget *pWindow) {
    const int nIndex = addTab(pWindow, pWindow->windowTitle());
    connect(pWindow, &QWidget::windowTitleChanged, this, [this, pWindow](const QString &title) {
        const int i = indexOf(pWindow);
        if (i >= 0)
            setTabText(i, title);
    });
    setCurrentIndex(nIndex);
    ShowCloseButtonOnActiveTab();
}

void CMdiTabArea::UpdateLook() {
    auto pStyle = std::make_unique<CTabColourStyle>(QStyleFactory::create(qApp->style()->name()));
    tabBar()->setStyle(pStyle.get());
    m_pTabStyle = std::move(pStyle);
}

void CMdiTabArea::ShowCloseButtonOnActiveTab() {
    for (int i = 0; i < count(); ++i) {
        for (const auto side : {QTabBar::LeftSide, QTabBar::RightSide}) {
            if (QWidget *pButton = tabBar()->tabButton(i, side))
                pButton->setVisible(i == currentIndex());
        }
    }
}

void CMdiTabArea::FillDocumentList() {
    m_pListMenu->clear();
    for (int i = 0; i < count(); ++i) {
        QAction *pItem = m_pListMenu->addAction(tabText(i).trimmed());
        pItem->setCheckable(true);
        pItem->setChecked(i == currentIndex());
        QWidget *pWindow = widget(i);
        connect(pItem, &QAction::triggered, this, [this, pWindow] { setCurrentWidget(pWindow); });
    }
}
