#include "app/CChildFrame.h"

#include "app/MessageBox.h"
#include "res/ResStrings.h"
#include "res/resource.h"
#include "view/CVeskPDFReaderView.h"

#include <QMenu>

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

// The view makes the fit when it is first painted, at the size the desktop finally gives the
// window, and follows the width until the user changes the zoom.
void CChildFrame::InitialUpdateFrame() {
    m_pView->OnInitialUpdate();
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
