#include "app/CMainFrame.h"

#include "app/CChildFrame.h"
#include "app/CLockKeyIndicators.h"
#include "app/CMdiTabArea.h"
#include "app/CVeskPDFReaderApp.h"
#include "app/CWindowPlacement.h"
#include "app/MessageBox.h"
#include "res/ResPictures.h"
#include "res/ResStrings.h"
#include "res/ToolbarTable.h"
#include "res/resource.h"
#include "view/CVeskPDFReaderView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QToolBar>

namespace {

const QString kWorkspace = QStringLiteral("Workspace");
const QString kLookValue = QStringLiteral("ApplicationLook");
const QString kLayoutValue = QStringLiteral("MainFrameLayout");
const QString kNormalRectValue = QStringLiteral("MainFrameNormalRect");
const QString kStatusBarValue = QStringLiteral("StatusBar");
constexpr int kMenuBarHeight = 30;
constexpr int kMenuFontPixels = 12;
constexpr int kIdleUpdateMs = 200;

QStringList DroppedFiles(const QMimeData *pData) {
    QStringList files;
    for (const QUrl &url : pData->urls()) {
        if (url.isLocalFile())
            files.append(url.toLocalFile());
    }
    return files;
}

} // namespace

const SCommandEntry<CMainFrame> CMainFrame::s_CommandMap[] = {
    OnCommandRange(ID_VIEW_APPLOOK_WIN_2000, ID_VIEW_APPLOOK_OFF_2007_AQUA,
                   &CMainFrame::OnChangeLook, &CMainFrame::OnUpdateChangeLook),
    OnCommand(ID_VIEW_BASIC_BAR, &CMainFrame::OnToggleBasicBar,
              &CMainFrame::OnUpdateToggleBasicBar),
    OnCommand(ID_VIEW_TOOLS_BAR, &CMainFrame::OnToggleToolsBar,
              &CMainFrame::OnUpdateToggleToolsBar),
    OnCommand(ID_VIEW_STATUS_BAR, &CMainFrame::OnViewStatusBar, &CMainFrame::OnUpdateViewStatusBar),
};

CMainFrame::CMainFrame(CVeskPDFReaderApp &app)
    : m_App(app), m_Router([this] { return CommandChain(); }) {
    QSettings settings;
    m_App.m_nApplicationLook =
        settings.value(kWorkspace + QLatin1Char('/') + kLookValue, ID_VIEW_APPLOOK_OFF_2007_BLUE)
            .toUInt();
}

CMainFrame::~CMainFrame() {
    // The document windows go first, while the command chain they notify still stands.
    m_IdleTimer.stop();
    if (m_pDocArea) {
        m_pDocArea->disconnect(this);
        delete m_pDocArea;
    }
}

bool CMainFrame::LoadFrame() {
    setWindowTitle(LoadResString(AFX_IDS_APP_TITLE));
    setWindowIcon(LoadIcon(IDR_MAINFRAME));
    // The size the window is maximised to, so documents opened before it is shown already fit
    // their pages to the width they will have; the placement keeps the size it is restored to.
    if (const QScreen *pScreen = QGuiApplication::primaryScreen())
        resize(pScreen->availableSize());
    m_pPlacement = new CWindowPlacement(*this);
    // Applying the stored look also writes it back, so the value is there from the first start.
    OnChangeLook(static_cast<int>(m_App.m_nApplicationLook));

    m_pDocArea = new CMdiTabArea(this);
    setCentralWidget(m_pDocArea);
    connect(m_pDocArea, &QTabWidget::currentChanged, this, [this] {
        UpdateFrameTitle();
        UpdateCommandUI();
    });
    setDockOptions(dockOptions() | QMainWindow::AllowTabbedDocks | QMainWindow::AnimatedDocks);

    m_pCommands = new CCommandActions(m_Router, this);
    CreateMenuBar();
    m_pBasicBar = CreateToolBar(IDR_MAINFRAME, "BasicBar");
    m_pToolsBar = CreateToolBar(IDR_TOOLBAR_TOOLS, "ToolsBar");
    if (!m_pBasicBar || !m_pToolsBar)
        return false;
    addToolBar(Qt::TopToolBarArea, m_pBasicBar);
    addToolBar(Qt::TopToolBarArea, m_pToolsBar);
    CreateStatusBar();
    m_pCommands->AddAccelerators(IDR_MAINFRAME);
    LoadWorkspace();

    connect(&m_IdleTimer, &QTimer::timeout, this, &CMainFrame::UpdateCommandUI);
    m_IdleTimer.start(kIdleUpdateMs);
    UpdateCommandUI();
    return true;
}

void CMainFrame::CreateMenuBar() {
    QMenuBar *pBar = menuBar();
    pBar->setObjectName(QString::number(AFX_IDW_MENUBAR));
    QFont font({QStringLiteral("宋体"), QStringLiteral("SimSun")});
    font.setPixelSize(kMenuFontPixels);
    pBar->setFont(font);
    pBar->setMinimumHeight(kMenuBarHeight);
    m_pCommands->BuildMenuBar(pBar, IDR_MAINFRAME, m_App.RecentFiles().GetSize());
}

QToolBar *CMainFrame::CreateToolBar(int nToolbarId, const char *pszName) {
    const res::SToolbar *pTable = res::LoadToolBar(nToolbarId);
    if (!pTable)
        return nullptr;
    auto *pBar = new QToolBar(LoadResString(pTable->nTitle), this);
    pBar->setObjectName(QString::fromLatin1(pszName));
    pBar->setIconSize(QSize(pTable->nButtonSize, pTable->nButtonSize));
    pBar->setAllowedAreas(Qt::AllToolBarAreas);
    m_pCommands->BuildToolBar(pBar, *pTable);
    return pBar;
}

void CMainFrame::CreateStatusBar() {
    statusBar()->setObjectName(QString::number(AFX_IDW_STATUS_BAR));
    m_pIndicators = new CLockKeyIndicators(statusBar());
    statusBar()->showMessage(LoadResString(AFX_IDS_IDLEMESSAGE));
}

void CMainFrame::LoadWorkspace() {
    QSettings settings;
    settings.beginGroup(kWorkspace);
    restoreState(settings.value(kLayoutValue).toByteArray());
    statusBar()->setVisible(settings.value(kStatusBarValue, true).toBool());
    m_pPlacement->Load(settings, kNormalRectValue);
}

void CMainFrame::SaveWorkspace() const {
    QSettings settings;
    settings.beginGroup(kWorkspace);
    settings.setValue(kLayoutValue, saveState());
    settings.setValue(kStatusBarValue, !statusBar()->isHidden());
    m_pPlacement->Save(settings, kNormalRectValue);
}

std::vector<CCmdTarget *> CMainFrame::CommandChain() {
    std::vector<CCmdTarget *> chain;
    if (CChildFrame *pFrame = GetActiveChildFrame()) {
        chain.push_back(&pFrame->GetViewTarget());
        chain.push_back(pFrame);
    }
    chain.push_back(this);
    chain.push_back(&m_App);
    return chain;
}

bool CMainFrame::OnCmdMsg(int nID, CCmdUI *pUI) {
    return DispatchCommand<CMainFrame>(*this, s_CommandMap, nID, pUI);
}

void CMainFrame::UpdateCommandUI() {
    if (m_pCommands)
        m_pCommands->UpdateAll();
    if (m_pIndicators)
        m_pIndicators->Update();
}

void CMainFrame::AddDocumentWindow(CChildFrame *pFrame) {
    CVeskPDFReaderView *pView = pFrame->GetActiveView();
    // Full screen makes the view a window of its own; the keys still reach their commands.
    pView->addActions(m_pCommands->Actions());
    pView->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(pView, &QWidget::customContextMenuRequested, this, [this, pView](const QPoint &pos) {
        OnViewContextMenu(pView->viewport()->mapToGlobal(pos));
    });
    connect(pFrame, &QWidget::windowTitleChanged, this, &CMainFrame::UpdateFrameTitle);
    connect(pFrame, &QObject::destroyed, this, &CMainFrame::UpdateCommandUI, Qt::QueuedConnection);
    m_pDocArea->AddWindow(pFrame);
    UpdateFrameTitle();
}

// The view's menu: the selection menu while the selection tool is on, else the page menu with
// the full-screen mark. Its commands travel the same way as the menu bar's.
void CMainFrame::OnViewContextMenu(const QPoint &globalPos) {
    const auto isChecked = [this](int nID) {
        return m_Router.Query(nID).m_eCheck == CCmdUI::Check::Checked;
    };
    if (isChecked(ID_SELECT_TOOL)) {
        m_pCommands->TrackPopupMenu(IDR_MENU_SELECT, globalPos, {});
        return;
    }
    std::set<int> checked;
    if (isChecked(ID_FULL_SCREEN))
        checked.insert(ID_FULL_SCREEN);
    m_pCommands->TrackPopupMenu(IDR_MENU_RIGHT, globalPos, checked);
}

void CMainFrame::ActivateDocumentWindow(CChildFrame *pFrame) {
    m_pDocArea->setCurrentWidget(pFrame);
    activateWindow();
}

CChildFrame *CMainFrame::GetActiveChildFrame() const {
    return m_pDocArea ? qobject_cast<CChildFrame *>(m_pDocArea->currentWidget()) : nullptr;
}

std::vector<CChildFrame *> CMainFrame::GetDocumentWindows() const {
    std::vector<CChildFrame *> frames;
    for (int i = 0; m_pDocArea && i < m_pDocArea->count(); ++i) {
        if (auto *pFrame = qobject_cast<CChildFrame *>(m_pDocArea->widget(i)))
            frames.push_back(pFrame);
    }
    return frames;
}

int CMainFrame::GetOpenDocumentCount() const {
    return static_cast<int>(GetDocumentWindows().size());
}

void CMainFrame::StopRendering() {
    for (CChildFrame *pFrame : GetDocumentWindows())
        pFrame->StopRendering();
}

void CMainFrame::UpdateFrameTitle() {
    const QString appTitle = LoadResString(AFX_IDS_APP_TITLE);
    const CChildFrame *pFrame = GetActiveChildFrame();
    setWindowTitle(pFrame ? appTitle + QStringLiteral(" - ") + pFrame->windowTitle() : appTitle);
}

bool CMainFrame::event(QEvent *pEvent) {
    if (pEvent->type() == QEvent::StatusTip) {
        const QString tip = static_cast<QStatusTipEvent *>(pEvent)->tip();
        statusBar()->showMessage(tip.isEmpty() ? LoadResString(AFX_IDS_IDLEMESSAGE) : tip);
        return true;
    }
    return QMainWindow::event(pEvent);
}

void CMainFrame::closeEvent(QCloseEvent *pEvent) {
    if (GetOpenDocumentCount() >= 2 &&
        AfxMessageBox(LoadResString(IDS_CONFIRM_CLOSE_ALL), QMessageBox::Ok | QMessageBox::Cancel,
                      QMessageBox::Warning) != QMessageBox::Ok) {
        pEvent->ignore();
        return;
    }
    SaveWorkspace();
    // The program ends: the workers stop together, and the application waits for them once.
    StopRendering();
    for (CChildFrame *pFrame : GetDocumentWindows())
        pFrame->close();
    pEvent->accept();
}

void CMainFrame::dragEnterEvent(QDragEnterEvent *pEvent) {
    if (!DroppedFiles(pEvent->mimeData()).isEmpty())
        pEvent->acceptProposedAction();
}

void CMainFrame::dropEvent(QDropEvent *pEvent) {
    const QStringList files = DroppedFiles(pEvent->mimeData());
    if (files.isEmpty())
        return;
    pEvent->acceptProposedAction();
    // Opened once the drop has returned, so that a password prompt or an error message never
    // keeps the program the files came from waiting for the end of its drag.
    QMetaObject::invokeMethod(
        this,
        [this, files] {
            activateWindow();
            for (const QString &file : files)
                m_App.OpenDocumentFile(file);
        },
        Qt::QueuedConnection);
}

void CMainFrame::OnChangeLook(int nID) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    m_App.m_nApplicationLook = static_cast<unsigned>(nID);
    m_App.VisualManager().Apply(nID);
    if (m_pDocArea)
        m_pDocArea->UpdateLook();
    update();
    QSettings settings;
    settings.setValue(kWorkspace + QLatin1Char('/') + kLookValue, nID);
    QApplication::restoreOverrideCursor();
}

void CMainFrame::OnUpdateChangeLook(CCmdUI *pUI) {
    pUI->SetRadio(static_cast<unsigned>(pUI->m_nID) == m_App.m_nApplicationLook);
}

void CMainFrame::OnToggleBasicBar() {
    m_pBasicBar->setVisible(m_pBasicBar->isHidden());
}

void CMainFrame::OnUpdateToggleBasicBar(CCmdUI *pUI) {
    pUI->SetCheck(!m_pBasicBar->isHidden());
}

void CMainFrame::OnToggleToolsBar() {
    m_pToolsBar->setVisible(m_pToolsBar->isHidden());
}

void CMainFrame::OnUpdateToggleToolsBar(CCmdUI *pUI) {
    pUI->SetCheck(!m_pToolsBar->isHidden());
}

void CMainFrame::OnViewStatusBar() {
    statusBar()->setVisible(statusBar()->isHidden());
}

void CMainFrame::OnUpdateViewStatusBar(CCmdUI *pUI) {
    pUI->SetCheck(!statusBar()->isHidden());
}
