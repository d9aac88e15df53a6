#pragma once

// The reading view: one engine, its page cache and render worker, layout, zoom, rotation,
// navigation and the view history, the mouse tools, full screen, hosted by a document window.
//
// Interface for the application shell (kept stable; everything else is private):
//   construction   CVeskPDFReaderView(parent): makes the engine and points it at rc/ beside
//                  the executable. The view is a QAbstractScrollArea; put it in the document
//                  window as its central widget.
//   open, close    OpenPdfFile(path, tree) -> 0 opened, -1 no engine or not a readable PDF,
//                  -2 encrypted and the password (asked once through CDlgGetpass) refused.
//                  tree is the bookmark pane's tree control, filled by the engine.
//                  OnInitialUpdate() after a successful open: fit width, top of the document,
//                  made when the view is first painted and kept while the window's size
//                  changes, until a command changes the zoom.
//                  Close() (command 32773) leaves full screen and selection mode and closes the
//                  parent window (the document window).
//   commands       OnCommand(id) runs a view command (the ViewCommand ids below) and answers
//                  whether the view handles id; the named member functions do the same.
//   update state   GetCommandState(id, state) answers whether the view handles id and fills
//                  in enabled/checked: every view command is enabled while a view is active;
//                  single page (32794), continuous (32795), the selection tool (32802) and
//                  full screen (32799) carry the check marks.
//   keys           Page Up/Down, Up/Down and Esc (leaves full screen) are handled by the view
//                  itself; the other keys come through the shell's accelerators as commands.
//                  Give the view the shell's actions (addActions) so that their keys also
//                  reach it while it is full screen, a window of its own.
//   full screen    The view leaves its document window for a window of its own over the
//                  screen the window is on, and returns when full screen ends, when that window
//                  is closed or when the document window closes.
//   engine         GetPdfHandle() for the bookmark pane (PdfGetLinkTarget), then GoToPage.
// Dialogs: CGotoPage, CZoomTo and CDlgGetpass live in view/ with the view (vesk_view).
// Nothing throws; results are the integer codes named at each function. Only the public part
// above is fixed; the private part may change.

#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"
#include "res/resource.h"
#include "view/CDragPointer.h"
#include "view/CMouseTools.h"
#include "view/CViewCore.h"

#include <QAbstractScrollArea>
#include <QCursor>
#include <QImage>
#include <QPointer>
#include <QString>

#include <memory>
#include <string>

class CGotoPage;
class CZoomTo;
class QFileDialog;

namespace view {

// Commands the view handles, by the program's command ids.
enum ViewCommand : int {
    kCmdClose = ID_CLOSE_PDF,
    kCmdFirstPage = ID_FIRST_PAGE,
    kCmdPrevPage = ID_PREV_PAGE,
    kCmdNextPage = ID_NEXT_PAGE,
    kCmdLastPage = ID_LAST_PAGE,
    kCmdGoToPage = ID_GOTO_PAGE, // runs the go-to-page dialog
    kCmdPrevView = ID_PREV_VIEW,
    kCmdNextView = ID_NEXT_VIEW,
    kCmdZoomIn = ID_ZOOM_IN,
    kCmdZoomOut = ID_ZOOM_OUT,
    kCmdZoomTo = ID_ZOOM_TO, // runs the zoom-to dialog
    kCmdActualSize = ID_ACTUAL_SIZE,
    kCmdFitHeight = ID_FIT_HEIGHT,
    kCmdFitWidth = ID_FIT_WIDTH,
    kCmdSinglePage = ID_SINGLE_PAGE,
    kCmdContinuous = ID_CONTINUOUS,
    kCmdRotateClockwise = ID_ROTATE_CW,
    kCmdRotateCounterClockwise = ID_ROTATE_CCW,
    kCmdSaveAs = ID_SAVE_AS,
    kCmdPrint = ID_PRINT,
    kCmdFullScreen = ID_FULL_SCREEN,
    kCmdHandTool = ID_HAND_TOOL,
    kCmdSelectTool = ID_SELECT_TOOL,
    kCmdSnapshot = ID_SNAPSHOT,
    kCmdCopyText = ID_COPY_TEXT,
    kCmdCopyImage = ID_COPY_IMAGE,
    kCmdExitSelect = ID_EXIT_SELECT,
};

struct CCommandState {
    bool bEnabled = true;
    bool bChecked = false;
};

} // namespace view

class CVeskPDFReaderView : public QAbstractScrollArea {
    Q_OBJECT

public:
    explicit CVeskPDFReaderView(QWidget *parent = nullptr);
    ~CVeskPDFReaderView() override;
    CVeskPDFReaderView(const CVeskPDFReaderView &) = delete;
    CVeskPDFReaderView &operator=(const CVeskPDFReaderView &) = delete;

    // Opening and closing.
    int OpenPdfFile(const QString &path, platform::TreeControl *tree);
    void OnInitialUpdate();
    void Close();
    const std::string &GetFilePath() const; // UTF-8; empty before an open and after Close
    PDFHANDLE GetPdfHandle() const;
    bool IsDocumentOpen() const;

    // Navigation: 0 done, -1 no document or not a page (nothing changes then).
    int GoToPage(int page);
    int FirstPage();
    int PrevPage();
    int NextPage();
    int LastPage();
    void PrevView();
    void NextView();
    void OnGoToPageDialog();

    // Zoom and rotation: 0 done, -1 no document, -3 factor outside 0.0 to 4.0.
    int ZoomTo(float zoom);
    int FitWidth();
    int FitHeight();
    int ActualSize();
    int ZoomIn();
    int ZoomOut();
    void OnZoomToDialog();
    void RotateClockwise();
    void RotateCounterClockwise();

    // Display modes.
    void SetSinglePageMode();
    void SetContinuousMode();
    int GetDisplayMode() const;

    // Layout.
    void UpdateScrollSizes();
    void ScrollHorz(int pos);

    // Mouse tools and copying; nothing happens without a document.
    void OnHandTool();
    void OnSelectTool(); // only when the document allows copying
    void OnExitSelect();
    bool IsSelectMode() const;
    void OnCopyText();  // the selection's text to the clipboard
    void OnCopyImage(); // the selection's picture to the clipboard
    // The screen the window is on, as a JPEG file in the documents folder; says where it went
    // or why not. -1 without a document, else 0.
    int OnSnapshot();

    // Full screen: 0 done, -1 without a document. OnFullScreen toggles and fits the width.
    int SetFullScreen(bool on);
    bool IsFullScreen() const { return m_bFullScreen; }
    void OnFullScreen();

    // The document: the engine's print dialog and job; a byte copy under another name.
    void OnPrint();
    void OnSaveAs();
    // The Save As dialog as OnSaveAs shows it.
    static std::unique_ptr<QFileDialog> CreateSaveAsDialog(QWidget *owner);

    // Queries: -1 / -1.0 without a document.
    int CurrentPage() const;
    float CurrentZoom() const;
    int PageCount() const;

    // Command routing for the shell.
    bool OnCommand(int id);
    bool GetCommandState(int id, view::CCommandState *state) const;

    // The plain logic underneath, for tests and the benchmark.
    view::CViewCore &Core();
    view::CMouseTools &Tools() { return *m_pTools; }
    // Whether the pointer is held inside the view by the window system during this drag.
    bool IsPointerConfined() const { return m_DragPointer.IsConfined(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void OnVerticalAction(int action);
    void OnHorizontalAction(int action);
    void OnScrollValue(Qt::Orientation bar, int value);
    void SyncScrollBars();
    void SyncClientSize();
    void Refresh();
    int Refreshed(int result); // refreshes and hands result on
    void FocusIfOpen();
    void BeforeZoomCommand();
    void FollowInitialFit();
    int DevicePixels(int pixels) const;
    void SetErrorReporter();
    void SetFillListener();
    void UpdateCursor();
    void EndDrag();
    void DrawSelection(QImage &image);
    void EnterFullScreen();
    void LeaveFullScreen();
    void ShowMessage(const QString &text);

    std::unique_ptr<view::CViewCore> m_pCore;
    std::unique_ptr<view::CMouseTools> m_pTools;
    view::CDragPointer m_DragPointer;
    QCursor m_curOpenHand;
    QCursor m_curClosedHand;
    bool m_bFullScreen = false;
    QPointer<QWidget> m_pSavedParent; // the document window while the view is full screen
    QMetaObject::Connection m_connParentGone;
    QRect m_rcSavedGeometry;
    platform::DeviceContext m_memDC; // the paint buffer, kept while the client size stays
    QImage m_imgScreen;              // the buffer as the window surface takes it
    std::unique_ptr<CGotoPage> m_dlgGotoPage;
    std::unique_ptr<CZoomTo> m_dlgZoomTo;
    bool m_bSyncing = false;
    bool m_bInitialUpdatePending = false; // the fit waits for the first paint
    int m_nFittedWidth = 0;               // the width without scroll bars the fit was made for
    bool m_bMemoryReleased = false;       // hidden: the page pictures were given back
};
