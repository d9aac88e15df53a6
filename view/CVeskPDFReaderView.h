#pragma once

// The reading view: one engine, its page cache and render worker, layout, zoom, rotation,
// navigation and the view history, hosted by a document window.
//
// Interface for the application shell (kept stable; everything else is private):
//   construction   CVeskPDFReaderView(parent): makes the engine and points it at rc/ beside
//                  the executable. The view is a QAbstractScrollArea; put it in the document
//                  window as its central widget.
//   open, close    OpenPdfFile(path, tree) -> 0 opened, -1 no engine or not a readable PDF,
//                  -2 encrypted and the password (asked once through CDlgGetpass) refused.
//                  tree is the bookmark pane's tree control, filled by the engine.
//                  OnInitialUpdate() after a successful open: fit width, top of the document.
//                  Close() (command 32773) closes the parent window (the document window).
//   commands       OnCommand(id) runs a view command (32773, 32778-32798 below) and answers
//                  whether the view handles id; the named member functions do the same.
//   update state   GetCommandState(id, state) answers whether the view handles id and fills
//                  in enabled/checked: every view command is enabled while a view is active;
//                  single page (32794) and continuous (32795) carry the check marks.
//   keys           Page Up/Down and Up/Down are handled by the view itself; Home, End, Left,
//                  Right, Alt+Left/Right, Ctrl+N/M/1/2/3, Ctrl(+Shift)+keypad +/- come through
//                  the shell's accelerators as the commands below.
//   engine         GetPdfHandle() for the bookmark pane (PdfGetLinkTarget), then GoToPage.
// Dialogs: CGotoPage, CZoomTo and CDlgGetpass live in view/ with the view (vesk_view).
// Nothing throws; results are the integer codes named at each function. Only the public part
// above is fixed; the private part may change.

#include "engine/PdfApi.h"
#include "platform/DeviceContext.h"
#include "res/resource.h"
#include "view/CViewCore.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QString>

#include <memory>
#include <string>

class CGotoPage;
class CZoomTo;

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
    // Client point to page pixels of the current page; false without a document.
    bool WindowToPage(int x, int y, int *px, int *py) const;

    // Queries: -1 / -1.0 without a document.
    int CurrentPage() const;
    float CurrentZoom() const;
    int PageCount() const;

    // Command routing for the shell.
    bool OnCommand(int id);
    bool GetCommandState(int id, view::CCommandState *state) const;

    // The plain logic underneath, for tests and the benchmark.
    view::CViewCore &Core();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void wheelEvent(QWheelEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
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
    void SetErrorReporter();

    std::unique_ptr<view::CViewCore> m_pCore;
    platform::DeviceContext m_memDC; // the paint buffer, kept while the client size stays
    QImage m_imgScreen;              // the buffer as the window surface takes it
    std::unique_ptr<CGotoPage> m_dlgGotoPage;
    std::unique_ptr<CZoomTo> m_dlgZoomTo;
    bool m_bSyncing = false;
};
