#include "app/CChildFrame.h"

#include "app/MessageBox.h"
#include "res/ResStrings.h"
#include "res/resource.h"
#include "view/CVeskPDFReaderView.h"

#include <QCoreApplication>
#include <QMenu>
#include <QWindow>

#include <chrono>

const SCommandEntry<CChildFrame> CChildFrame::s_CommandMap[] = {
    OnCommand(ID_TOGGLE_BOOKMARK, &CChildFrame::OnToggleBookMark,
              &CChildFrame::OnUpdateToggleBookMark),
    OnCommand(ID_THUMBNAIL, &CChildFrame::OnThumbnailCommand,
              &CChildFrame::OnUpdateThumbnailCommand),
};

CChildFrame::CChildFrame(QWidget *pParent)
    : QMainWindow(pParent, Qt::Widget), m_pView(new CVeskPDFReaderView(this)),
      m_ViewTarget(*m_pView), m_Doc(*this) {
    setAttribute(Qt::WA_DeleteOnClose);
    setCentralWidget(m_pView);
    CreatePanes();
    m_pBookMark->m_wndTree.SetView(m_pView);
}

CChildFrame::~CChildFrame() = default;

void CChildFrame::CreatePanes() {
    setDockOptions(dockOptions() | QMainWindow::AllowTabbedDocks);
    m_pBookMark = new CBookMark(this);
    m_pThumbnail = new CThumbnail(this);
    for (QDockWidget *pPane :
         {static_cast<QDockWidget *>(m_pBookMark), static_cast<QDockWidget *>(m_pThumbnail)}) {
        pPane->setAllowedAreas(Qt::AllDockWidgetAreas);
        addDockWidget(Qt::LeftDockWidgetArea, pPane);
    }
    // The thumbnail pane is the second tab of the bookmark pane and starts hidden, so the pane
    // area shows the outline without a tab strip.
    tabifyDockWidget(m_pBookMark, m_pThumbnail);
    m_pBookMark->show();
    m_pBookMark->raise();
    m_pThumbnail->hide();
}

// A window shown for the first time has its size only once the desktop puts it on screen
// (maximised): the fit waits for that, and comes before the first paint.
void CChildFrame::InitialUpdateFrame() {
    QWindow *pWindow = window()->windowHandle();
    if (isVisible() && pWindow && pWindow->isExposed()) {
        m_bInitialUpdatePending = false;
        // The tab area places a new window when it lays itself out; the fit needs that size.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        m_pView->OnInitialUpdate();
        return;
    }
    m_bInitialUpdatePending = true;
    if (pWindow)
        pWindow->installEventFilter(this);
}

void CChildFrame::StopRendering() {
    m_pView->Core().Worker().Stop(std::chrono::milliseconds(0));
}

QMenu *CChildFrame::createPopupMenu() {
    QMenu *pMenu = QMainWindow::createPopupMenu();
    if (pMenu)
        pMenu->removeAction(m_pThumbnail->toggleViewAction());
    return pMenu;
}

// The main window exists once it is shown; its first time on screen may come before or after
// the events already queued.
void CChildFrame::showEvent(QShowEvent *pEvent) {
    QMainWindow::showEvent(pEvent);
    if (!m_bInitialUpdatePending)
        return;
    if (QWindow *pWindow = window()->windowHandle())
        pWindow->installEventFilter(this);
    QMetaObject::invokeMethod(this, &CChildFrame::FitIfPending, Qt::QueuedConnection);
}

bool CChildFrame::eventFilter(QObject *pWatched, QEvent *pEvent) {
    if (pEvent->type() == QEvent::Expose && pWatched == window()->windowHandle()) {
        pWatched->removeEventFilter(this);
        FitIfPending();
    }
    return QMainWindow::eventFilter(pWatched, pEvent);
}

void CChildFrame::FitIfPending() {
    if (m_bInitialUpdatePending)
        InitialUpdateFrame();
}

bool CChildFrame::OnCmdMsg(int nID, CCmdUI *pUI) {
    return DispatchCommand<CChildFrame>(*this, s_CommandMap, nID, pUI);
}

void CChildFrame::OnToggleBookMark() {
    if (!m_pBookMark->isHidden()) {
        m_pBookMark->hide();
        return;
    }
    m_pBookMark->show();
    m_pBookMark->raise();
    m_pBookMark->m_wndTree.setFocus(Qt::OtherFocusReason);
}

void CChildFrame::OnUpdateToggleBookMark(CCmdUI *pUI) {
    pUI->SetCheck(!m_pBookMark->isHidden());
}

void CChildFrame::OnThumbnailCommand() {
    AfxMessageBox(LoadResString(IDS_IN_DEVELOPMENT));
}

void CChildFrame::OnUpdateThumbnailCommand(CCmdUI *pUI) {
    pUI->SetCheck(!m_pThumbnail->isHidden());
}
