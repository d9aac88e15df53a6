#pragma once

#include "app/CRecentFileList.h"
#include "app/CUiHooks.h"
#include "app/CVisualManager.h"
#include "app/CmdTarget.h"

#include <QObject>
#include <QStringList>
#include <QUrl>

#include <chrono>
#include <future>
#include <memory>

class CChildFrame;
class CCommandLineInfo;
class CMainFrame;
class QFileDialog;
class QWidget;

// The application object: start-up, the main window, opening documents (the open dialog, the
// recent files, the command line, dropped files), exit and the help commands. It holds the
// current application look.
class CVeskPDFReaderApp : public QObject, public CCmdTarget {
    Q_OBJECT

public:
    CVeskPDFReaderApp();
    ~CVeskPDFReaderApp() override;

    // The start-up sequence; arguments are the program's arguments without its name. False when
    // the program should end.
    bool InitInstance(const QStringList &arguments);
    // After the message loop: closes the main window and waits, within kExitWait altogether,
    // for the render workers and the association check. False when one of them is still busy;
    // the process must then end at once, without tearing down what they may still use.
    bool ExitInstance();
    static constexpr std::chrono::milliseconds kExitWait{2000};

    // Opens path (made absolute, every character kept) in a new document window, or activates
    // the window that already shows it. nullptr when the file could not be opened.
    CChildFrame *OpenDocumentFile(const QString &path);

    CMainFrame *GetMainWnd() const { return m_pMainWnd.get(); }
    CRecentFileList &RecentFiles() { return m_RecentFiles; }
    CVisualManager &VisualManager() { return m_VisualManager; }

    // The open-file dialog, set up but not yet shown.
    static std::unique_ptr<QFileDialog> CreateOpenDialog(QWidget *pOwner);
    // Checks the association of .pdf files and registers this executable when it is missing.
    static void EnsurePdfAssociation(const QString &exePath);
    static QString ExecutablePath();
    // Our home page, installed beside the executable.
    static QUrl HomePageUrl();

    bool OnCmdMsg(int nID, CCmdUI *pUI) override;

    unsigned m_nApplicationLook = 0;

private:
    bool ProcessShellCommand(const CCommandLineInfo &cmdInfo, CChildFrame *pOpenedWhole);
    void StartAssociationCheck();
    CChildFrame *FindDocumentWindow(const QString &path) const;

    void OnOpenPdf();
    void OnExitProgram();
    void OnOpenRecentFile(int nID);
    void OnUpdateRecentFileMenu(CCmdUI *pUI);
    void OnSetDefaultReader();
    void OnCheckUpdate();
    void OnOpenHomePage();
    void OnShowAbout();

    static const SCommandEntry<CVeskPDFReaderApp> s_CommandMap[];

    CUiHooks m_UiHooks;
    CRecentFileList m_RecentFiles;
    CVisualManager m_VisualManager;
    std::unique_ptr<CMainFrame> m_pMainWnd;
    std::future<void> m_AssociationCheck;
};
