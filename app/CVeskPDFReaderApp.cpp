#include "app/CVeskPDFReaderApp.h"

#include "app/CAboutDlg.h"
#include "app/CChildFrame.h"
#include "app/CCommandLineInfo.h"
#include "app/CMainFrame.h"
#include "app/CMdiTabArea.h"
#include "app/CRegRelateExt.h"
#include "app/MessageBox.h"
#include "app/XdgMimeApps.h"
#include "res/ResPictures.h"
#include "res/ResStrings.h"
#include "res/resource.h"
#include "view/CRenderWorker.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include <algorithm>
#include <system_error>

namespace {

constexpr int kRecentFiles = 4;
const QString kRegistryKey = QStringLiteral("应用程序向导生成的本地应用程序");
const QString kPdfExtension = QStringLiteral(".pdf");
const QString kHomePage = QStringLiteral("/home/index.html");

QString AbsolutePath(const QString &path) {
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// Two names of one file count as the same document.
bool SameFile(const QString &a, const QString &b) {
    if (a == b)
        return true;
    const QString canonicalA = QFileInfo(a).canonicalFilePath();
    return !canonicalA.isEmpty() && canonicalA == QFileInfo(b).canonicalFilePath();
}

} // namespace

const SCommandEntry<CVeskPDFReaderApp> CVeskPDFReaderApp::s_CommandMap[] = {
    OnCommand(ID_OPEN_PDF, &CVeskPDFReaderApp::OnOpenPdf),
    OnCommand(ID_EXIT_PROGRAM, &CVeskPDFReaderApp::OnExitProgram),
    OnCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, &CVeskPDFReaderApp::OnOpenRecentFile,
                   &CVeskPDFReaderApp::OnUpdateRecentFileMenu),
    OnCommand(ID_SET_DEFAULT_READER, &CVeskPDFReaderApp::OnSetDefaultReader),
    OnCommand(ID_CHECK_UPDATE, &CVeskPDFReaderApp::OnCheckUpdate),
    OnCommand(ID_HOME_PAGE, &CVeskPDFReaderApp::OnOpenHomePage),
    OnCommand(ID_APP_ABOUT, &CVeskPDFReaderApp::OnShowAbout),
};

CVeskPDFReaderApp::CVeskPDFReaderApp() : m_RecentFiles(kRecentFiles) {
}

CVeskPDFReaderApp::~CVeskPDFReaderApp() = default;

bool CVeskPDFReaderApp::InitInstance(const QStringList &arguments) {
    QCoreApplication::setOrganizationName(kRegistryKey);
    QCoreApplication::setApplicationName(LoadResString(AFX_IDS_APP_TITLE));
    QApplication::setWindowIcon(LoadIcon(IDR_MAINFRAME));
    m_RecentFiles.ReadList();

    m_pMainWnd = std::make_unique<CMainFrame>(*this);
    if (!m_pMainWnd->LoadFrame()) {
        m_pMainWnd.reset();
        return false;
    }
    StartAssociationCheck();
    m_pMainWnd->setAcceptDrops(true);

    CCommandLineInfo cmdInfo(arguments);
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileNew)
        cmdInfo.m_nShellCommand = CCommandLineInfo::FileNothing;
    // The command line read whole opens a path with blanks even when nobody quoted it.
    CChildFrame *pOpenedWhole = nullptr;
    if (!cmdInfo.m_strRawCommandLine.isEmpty())
        pOpenedWhole = OpenDocumentFile(StripPathQuotes(cmdInfo.m_strRawCommandLine));
    if (!ProcessShellCommand(cmdInfo, pOpenedWhole))
        return false;

    m_pMainWnd->showMaximized();
    return true;
}

bool CVeskPDFReaderApp::ExitInstance() {
    const auto deadline = std::chrono::steady_clock::now() + kExitWait;
    if (m_pMainWnd) {
        m_pMainWnd->StopRendering();
        m_pMainWnd.reset();
    }
    const auto left = std::max(std::chrono::milliseconds(0),
                               std::chrono::duration_cast<std::chrono::milliseconds>(
                                   deadline - std::chrono::steady_clock::now()));
    const bool bWorkersDone = view::CRenderWorker::WaitForFinishingWorkers(left);
    const bool bCheckDone = !m_AssociationCheck.valid() ||
                            m_AssociationCheck.wait_until(deadline) == std::future_status::ready;
    return bWorkersDone && bCheckDone;
}

// The check reads and writes a few small files and never needs the window, so the window does
// not wait for it; a system that cannot start the thread runs it here.
void CVeskPDFReaderApp::StartAssociationCheck() {
    const QString exePath = ExecutablePath();
    try {
        m_AssociationCheck =
            std::async(std::launch::async, [exePath] { EnsurePdfAssociation(exePath); });
    } catch (const std::system_error &) {
        EnsurePdfAssociation(exePath);
    }
}

// A document the whole command line has opened is only activated, even when the parsed file
// name is just its first word.
bool CVeskPDFReaderApp::ProcessShellCommand(const CCommandLineInfo &cmdInfo,
                                            CChildFrame *pOpenedWhole) {
    if (cmdInfo.m_nShellCommand != CCommandLineInfo::FileOpen)
        return true;
    if (pOpenedWhole) {
        m_pMainWnd->ActivateDocumentWindow(pOpenedWhole);
        return true;
    }
    return OpenDocumentFile(cmdInfo.m_strFileName) != nullptr;
}

CChildFrame *CVeskPDFReaderApp::FindDocumentWindow(const QString &path) const {
    for (CChildFrame *pFrame : m_pMainWnd->GetDocumentWindows()) {
        if (SameFile(pFrame->GetDocument().GetPathName(), path))
            return pFrame;
    }
    return nullptr;
}

CChildFrame *CVeskPDFReaderApp::OpenDocumentFile(const QString &path) {
    if (path.isEmpty() || !m_pMainWnd)
        return nullptr;
    const QString fullPath = AbsolutePath(path);
    if (CChildFrame *pOpen = FindDocumentWindow(fullPath)) {
        m_pMainWnd->ActivateDocumentWindow(pOpen);
        return pOpen;
    }
    // Inside the main window from the start, so a password prompt during the open sits over it.
    auto pFrame = std::make_unique<CChildFrame>(m_pMainWnd->DocumentArea());
    if (!pFrame->GetDocument().OnOpenDocument(fullPath))
        return nullptr;
    pFrame->GetDocument().SetPathName(fullPath);
    m_RecentFiles.Add(fullPath);
    CChildFrame *pShown = pFrame.release();
    m_pMainWnd->AddDocumentWindow(pShown);
    pShown->InitialUpdateFrame();
    return pShown;
}

bool CVeskPDFReaderApp::OnCmdMsg(int nID, CCmdUI *pUI) {
    return DispatchCommand<CVeskPDFReaderApp>(*this, s_CommandMap, nID, pUI);
}

std::unique_ptr<QFileDialog> CVeskPDFReaderApp::CreateOpenDialog(QWidget *pOwner) {
    auto pDialog = std::make_unique<QFileDialog>(pOwner, LoadResString(IDS_OPEN_DIALOG_TITLE));
    pDialog->setFileMode(QFileDialog::ExistingFile);
    pDialog->setAcceptMode(QFileDialog::AcceptOpen);
    pDialog->setNameFilters({LoadResString(IDS_FILTER_PDF), LoadResString(IDS_FILTER_ALL)});
    pDialog->selectNameFilter(LoadResString(IDS_FILTER_PDF));
    return pDialog;
}

void CVeskPDFReaderApp::OnOpenPdf() {
    const std::unique_ptr<QFileDialog> pDialog = CreateOpenDialog(m_pMainWnd.get());
    if (pDialog->exec() != QDialog::Accepted || pDialog->selectedFiles().isEmpty())
        return;
    OpenDocumentFile(pDialog->selectedFiles().constFirst());
}

void CVeskPDFReaderApp::OnExitProgram() {
    m_pMainWnd->close();
}

void CVeskPDFReaderApp::OnOpenRecentFile(int nID) {
    const int nIndex = nID - ID_FILE_MRU_FILE1;
    if (nIndex >= m_RecentFiles.GetCount())
        return;
    // A file that no longer opens leaves the list.
    if (!OpenDocumentFile(m_RecentFiles.At(nIndex)))
        m_RecentFiles.Remove(nIndex);
}

void CVeskPDFReaderApp::OnUpdateRecentFileMenu(CCmdUI *pUI) {
    m_RecentFiles.UpdateMenu(pUI->m_nID - ID_FILE_MRU_FILE1, pUI);
}

void CVeskPDFReaderApp::EnsurePdfAssociation(const QString &exePath) {
    CRegRelateExt relate(kPdfExtension, exePath);
    if (relate.m_bRelated)
        return;
    relate.RelateExt(kPdfExtension, exePath);
    xdg::UpdateDesktopDatabase();
}

QString CVeskPDFReaderApp::ExecutablePath() {
    return QCoreApplication::applicationFilePath();
}

QUrl CVeskPDFReaderApp::HomePageUrl() {
    return QUrl::fromLocalFile(QCoreApplication::applicationDirPath() + kHomePage);
}

// After the start-up check, so that the two never write the same files at once.
void CVeskPDFReaderApp::OnSetDefaultReader() {
    if (m_AssociationCheck.valid())
        m_AssociationCheck.wait();
    EnsurePdfAssociation(ExecutablePath());
}

void CVeskPDFReaderApp::OnCheckUpdate() {
    AfxMessageBox(LoadResString(IDS_NO_UPDATE));
}

void CVeskPDFReaderApp::OnOpenHomePage() {
    QDesktopServices::openUrl(HomePageUrl());
}

void CVeskPDFReaderApp::OnShowAbout() {
    CAboutDlg dialog(m_pMainWnd.get());
    dialog.exec();
}
