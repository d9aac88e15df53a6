#pragma once

#include "app/CCommandActions.h"
#include "app/CCommandRouter.h"
#include "app/CmdTarget.h"

#include <QMainWindow>
#include <QTimer>

#include <vector>

class CChildFrame;
class CLockKeyIndicators;
class CMdiTabArea;
class CVeskPDFReaderApp;
class CWindowPlacement;
class QToolBar;

// The main window: menu bar, the toolbars "基本" and "工具", the status bar, and the tabbed area
// of document windows. It owns the application look, the toolbar toggles and the question
// before several documents are closed, and it routes every command of its menus, toolbars and
// keys along the active view, the active document window, itself and the application.
class CMainFrame : public QMainWindow, public CCmdTarget {
    Q_OBJECT

public:
    explicit CMainFrame(CVeskPDFReaderApp &app);
    ~CMainFrame() override;

    // Builds the window's bars and areas; false when a part cannot be made.
    bool LoadFrame();

    void AddDocumentWindow(CChildFrame *pFrame);
    void ActivateDocumentWindow(CChildFrame *pFrame);
    CChildFrame *GetActiveChildFrame() const;
    std::vector<CChildFrame *> GetDocumentWindows() const;
    int GetOpenDocumentCount() const;
    // Tells the render worker of every document window to stop, waiting for none of them.
    void StopRendering();

    // Runs every update handler and shows the result on menus and toolbars.
    void UpdateCommandUI();
    const CCommandActions &Commands() const { return *m_pCommands; }
    const CCommandRouter &Router() const { return m_Router; }
    QToolBar *BasicBar() const { return m_pBasicBar; }
    QToolBar *ToolsBar() const { return m_pToolsBar; }
    CMdiTabArea *DocumentArea() const { return m_pDocArea; }

    bool OnCmdMsg(int nID, CCmdUI *pUI) override;

protected:
    bool event(QEvent *pEvent) override;
    void closeEvent(QCloseEvent *pEvent) override;
    void dragEnterEvent(QDragEnterEvent *pEvent) override;
    void dropEvent(QDropEvent *pEvent) override;

private:
    void CreateMenuBar();
    QToolBar *CreateToolBar(int nToolbarId, const char *pszName);
    void CreateStatusBar();
    void UpdateFrameTitle();
    void OnViewContextMenu(const QPoint &globalPos);
    void SaveWorkspace() const;
    void LoadWorkspace();
    std::vector<CCmdTarget *> CommandChain();

    void OnChangeLook(int nID);
    void OnUpdateChangeLook(CCmdUI *pUI);
    void OnToggleBasicBar();
    void OnUpdateToggleBasicBar(CCmdUI *pUI);
    void OnToggleToolsBar();
    void OnUpdateToggleToolsBar(CCmdUI *pUI);
    void OnViewStatusBar();
    void OnUpdateViewStatusBar(CCmdUI *pUI);

    static const SCommandEntry<CMainFrame> s_CommandMap[];

    CVeskPDFReaderApp &m_App;
    CCommandRouter m_Router;
    CCommandActions *m_pCommands = nullptr;
    CMdiTabArea *m_pDocArea = nullptr;
    QToolBar *m_pBasicBar = nullptr;
    QToolBar *m_pToolsBar = nullptr;
    CLockKeyIndicators *m_pIndicators = nullptr;
    CWindowPlacement *m_pPlacement = nullptr;
    QTimer m_IdleTimer;
};
