#include "view/CVeskPDFReaderView.h"

#include "platform/SpecialFolders.h"
#include "res/ResPictures.h"
#include "res/ResStrings.h"
#include "view/CDlgGetpass.h"
#include "view/CGotoPage.h"
#include "view/CPagePainter.h"
#include "view/CSelectionCopy.h"
#include "view/CZoomTo.h"
#include "view/ScreenImage.h"
#include "view/Snapshot.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QLayout>
#include <QMainWindow>
#include <QMessageBox>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QTimer>
#include <QWheelEvent>

#include <cmath>

namespace {

// The print job's resolution factor: 150 dots per inch.
constexpr int kPrintFactor = 3;

// rc/ beside the running executable.
std::string ResourceDir() {
    const QString exe = QCoreApplication::applicationFilePath();
    return QFile::encodeName(exe.left(exe.lastIndexOf('/') + 1) + "rc").toStdString();
}

} // namespace

CVeskPDFReaderView::CVeskPDFReaderView(QWidget *parent)
    : QAbstractScrollArea(parent), m_pCore(std::make_unique<view::CViewCore>(ResourceDir())),
      m_pTools(std::make_unique<view::CMouseTools>(*m_pCore)),
      m_curOpenHand(LoadCursor(IDC_HAND_OPEN)), m_curClosedHand(LoadCursor(IDC_HAND_CLOSED)),
      m_dlgGotoPage(std::make_unique<CGotoPage>(this)),
      m_dlgZoomTo(std::make_unique<CZoomTo>(this)) {
    // Every paint covers the whole client area, so the background is never erased first.
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAutoFillBackground(false);
    setFocusPolicy(Qt::StrongFocus);
    connect(verticalScrollBar(), &QScrollBar::actionTriggered, this,
            &CVeskPDFReaderView::OnVerticalAction);
    connect(horizontalScrollBar(), &QScrollBar::actionTriggered, this,
            &CVeskPDFReaderView::OnHorizontalAction);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { OnScrollValue(Qt::Vertical, value); });
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
            [this](int value) { OnScrollValue(Qt::Horizontal, value); });
    verticalScrollBar()->installEventFilter(this);
    SetErrorReporter();
    SetFillListener();
    SyncScrollBars();
}

// A worker that outlives the view keeps the cache: it must not reach the view any more.
CVeskPDFReaderView::~CVeskPDFReaderView() {
    m_pCore->Cache().SetFillListener(nullptr);
}

// The worker reports from its own thread; the message is shown on the user-interface thread,
// without a parent once the view is gone.
void CVeskPDFReaderView::SetErrorReporter() {
    auto guard = std::make_shared<QPointer<CVeskPDFReaderView>>(this);
    m_pCore->Cache().SetErrorReporter([guard](int code) {
        QMetaObject::invokeMethod(
            qApp,
            [guard, code] {
                QMessageBox::critical(guard->data(), "Error", QString::asprintf("Error %d", code));
            },
            Qt::QueuedConnection);
    });
}

// A page the worker has just drawn is shown by a paint on the user-interface thread.
void CVeskPDFReaderView::SetFillListener() {
    auto guard = std::make_shared<QPointer<CVeskPDFReaderView>>(this);
    m_pCore->Cache().SetFillListener([guard](int) {
        QMetaObject::invokeMethod(
            qApp,
            [guard] {
                if (CVeskPDFReaderView *view = guard->data())
                    view->viewport()->update();
            },
            Qt::QueuedConnection);
    });
}

view::CViewCore &CVeskPDFReaderView::Core() {
    return *m_pCore;
}

int CVeskPDFReaderView::OpenPdfFile(const QString &path, platform::TreeControl *tree) {
    auto askPassword = [this] {
        CDlgGetpass dlg(this);
        dlg.DoModal();
        return dlg.m_strPassword.toStdString();
    };
    const int r = m_pCore->OpenPdfFile(QFile::encodeName(path).toStdString(), tree, askPassword);
    Refresh();
    return r;
}

// The fit is made by the first paint, which has the size the user first sees once the window
// manager has placed the window. The fit is a zoom change, so the view takes the keyboard focus
// now, after the open has given it to the bookmark tree.
void CVeskPDFReaderView::OnInitialUpdate() {
    m_bInitialUpdatePending = m_pCore->IsOpen();
    FocusIfOpen();
    viewport()->update();
}

// Until a command changes the zoom, the fit follows the width the view has without its scroll
// bars, so a scroll bar coming or going does not fit the page again.
void CVeskPDFReaderView::FollowInitialFit() {
    const int width = maximumViewportSize().width();
    if (m_bInitialUpdatePending) {
        m_bInitialUpdatePending = false;
        m_pCore->OnInitialUpdate();
    } else if (!m_pCore->KeepsInitialFit() || width == m_nFittedWidth) {
        return;
    } else {
        m_pCore->RefitWidth();
    }
    m_nFittedWidth = width;
    SyncScrollBars();
}

// The view goes back into its document window first, so that it closes with it.
void CVeskPDFReaderView::Close() {
    LeaveFullScreen();
    m_pTools->Reset();
    m_pCore->Close();
    Refresh();
    if (QWidget *frame = parentWidget())
        frame->close();
}

const std::string &CVeskPDFReaderView::GetFilePath() const {
    return m_pCore->FilePath();
}

PDFHANDLE CVeskPDFReaderView::GetPdfHandle() const {
    return m_pCore->Handle();
}

bool CVeskPDFReaderView::IsDocumentOpen() const {
    return m_pCore->IsOpen();
}

int CVeskPDFReaderView::GoToPage(int page) {
    return Refreshed(m_pCore->GoToPage(page));
}

int CVeskPDFReaderView::FirstPage() {
    return Refreshed(m_pCore->FirstPage());
}

int CVeskPDFReaderView::PrevPage() {
    return Refreshed(m_pCore->PrevPage());
}

int CVeskPDFReaderView::NextPage() {
    return Refreshed(m_pCore->NextPage());
}

int CVeskPDFReaderView::LastPage() {
    return Refreshed(m_pCore->LastPage());
}

void CVeskPDFReaderView::PrevView() {
    m_pCore->PrevView();
    Refresh();
}

void CVeskPDFReaderView::NextView() {
    m_pCore->NextView();
    Refresh();
}

void CVeskPDFReaderView::OnGoToPageDialog() {
    m_dlgGotoPage->m_pView = this;
    m_dlgGotoPage->DoModal();
}

int CVeskPDFReaderView::ZoomTo(float zoom) {
    BeforeZoomCommand();
    return Refreshed(m_pCore->ZoomTo(zoom));
}

int CVeskPDFReaderView::FitWidth() {
    BeforeZoomCommand();
    return Refreshed(m_pCore->FitWidth());
}

int CVeskPDFReaderView::FitHeight() {
    BeforeZoomCommand();
    return Refreshed(m_pCore->FitHeight());
}

int CVeskPDFReaderView::ActualSize() {
    return ZoomTo(1.0f);
}

int CVeskPDFReaderView::ZoomIn() {
    BeforeZoomCommand();
    return Refreshed(m_pCore->ZoomIn());
}

int CVeskPDFReaderView::ZoomOut() {
    BeforeZoomCommand();
    return Refreshed(m_pCore->ZoomOut());
}

void CVeskPDFReaderView::OnZoomToDialog() {
    m_dlgZoomTo->m_pView = this;
    m_dlgZoomTo->DoModal();
}

void CVeskPDFReaderView::RotateClockwise() {
    BeforeZoomCommand();
    m_pCore->Rotate(90);
    Refresh();
}

void CVeskPDFReaderView::RotateCounterClockwise() {
    BeforeZoomCommand();
    m_pCore->Rotate(-90);
    Refresh();
}

void CVeskPDFReaderView::SetSinglePageMode() {
    m_pCore->SetDisplayMode(view::kSinglePage);
    Refresh();
}

void CVeskPDFReaderView::SetContinuousMode() {
    m_pCore->SetDisplayMode(view::kContinuous);
    Refresh();
}

int CVeskPDFReaderView::GetDisplayMode() const {
    return m_pCore->DisplayMode();
}

void CVeskPDFReaderView::UpdateScrollSizes() {
    m_pCore->UpdateScrollSizes();
    Refresh();
}

void CVeskPDFReaderView::ScrollHorz(int pos) {
    m_pCore->ScrollHorz(pos);
    Refresh();
}

int CVeskPDFReaderView::CurrentPage() const {
    return m_pCore->CurrentPage();
}

float CVeskPDFReaderView::CurrentZoom() const {
    return m_pCore->CurrentZoom();
}

int CVeskPDFReaderView::PageCount() const {
    return m_pCore->PageCount();
}

bool CVeskPDFReaderView::OnCommand(int id) {
    using namespace view;
    switch (id) {
    case kCmdClose:
        Close();
        break;
    case kCmdFirstPage:
        FirstPage();
        break;
    case kCmdPrevPage:
        PrevPage();
        break;
    case kCmdNextPage:
        NextPage();
        break;
    case kCmdLastPage:
        LastPage();
        break;
    case kCmdGoToPage:
        OnGoToPageDialog();
        break;
    case kCmdPrevView:
        PrevView();
        break;
    case kCmdNextView:
        NextView();
        break;
    case kCmdZoomIn:
        ZoomIn();
        break;
    case kCmdZoomOut:
        ZoomOut();
        break;
    case kCmdZoomTo:
        OnZoomToDialog();
        break;
    case kCmdActualSize:
        ActualSize();
        break;
    case kCmdFitHeight:
        FitHeight();
        break;
    case kCmdFitWidth:
        FitWidth();
        break;
    case kCmdSinglePage:
        SetSinglePageMode();
        break;
    case kCmdContinuous:
        SetContinuousMode();
        break;
    case kCmdRotateClockwise:
        RotateClockwise();
        break;
    case kCmdRotateCounterClockwise:
        RotateCounterClockwise();
        break;
    case kCmdSaveAs:
        OnSaveAs();
        break;
    case kCmdPrint:
        OnPrint();
        break;
    case kCmdFullScreen:
        OnFullScreen();
        break;
    case kCmdHandTool:
        OnHandTool();
        break;
    case kCmdSelectTool:
        OnSelectTool();
        break;
    case kCmdSnapshot:
        OnSnapshot();
        break;
    case kCmdCopyText:
        OnCopyText();
        break;
    case kCmdCopyImage:
        OnCopyImage();
        break;
    case kCmdExitSelect:
        OnExitSelect();
        break;
    default:
        return false;
    }
    return true;
}

// The view enables every command it handles; the display modes, the selection tool and full
// screen carry a check mark.
bool CVeskPDFReaderView::GetCommandState(int id, view::CCommandState *state) const {
    using namespace view;
    switch (id) {
    case kCmdClose:
    case kCmdFirstPage:
    case kCmdPrevPage:
    case kCmdNextPage:
    case kCmdLastPage:
    case kCmdGoToPage:
    case kCmdPrevView:
    case kCmdNextView:
    case kCmdZoomIn:
    case kCmdZoomOut:
    case kCmdZoomTo:
    case kCmdActualSize:
    case kCmdFitHeight:
    case kCmdFitWidth:
    case kCmdSinglePage:
    case kCmdContinuous:
    case kCmdRotateClockwise:
    case kCmdRotateCounterClockwise:
    case kCmdSaveAs:
    case kCmdPrint:
    case kCmdFullScreen:
    case kCmdHandTool:
    case kCmdSelectTool:
    case kCmdSnapshot:
    case kCmdCopyText:
    case kCmdCopyImage:
    case kCmdExitSelect:
        break;
    default:
        return false;
    }
    state->bEnabled = true;
    state->bChecked = (id == kCmdSinglePage && GetDisplayMode() == kSinglePage) ||
                      (id == kCmdContinuous && GetDisplayMode() == kContinuous) ||
                      (id == kCmdSelectTool && IsSelectMode()) ||
                      (id == kCmdFullScreen && IsFullScreen());
    return true;
}

// The pages are composed at device pixels and shown one to one, so they stay sharp on a screen
// with a scale factor; the device scale is set before the fit, which draws the first page.
void CVeskPDFReaderView::paintEvent(QPaintEvent *) {
    SyncClientSize();
    m_pCore->SetDeviceScale(static_cast<float>(viewport()->devicePixelRatioF()));
    FollowInitialFit();
    const view::CScrollModel &scroll = m_pCore->Scroll();
    if (scroll.ClientWidth() <= 0 || scroll.ClientHeight() <= 0)
        return;
    const int w = DevicePixels(scroll.ClientWidth()), h = DevicePixels(scroll.ClientHeight());
    if (m_memDC.GetHeight() != h + 1 || m_memDC.GetWidth() != platform::Bitmap::WidenedWidth(w + 1))
        m_memDC.SelectBitmap(std::make_unique<platform::Bitmap>(w + 1, h + 1));
    if (!view::CPagePainter(*m_pCore).Paint(m_memDC))
        return;
    view::ToScreenImage(*m_memDC.GetBitmap(), w, h, m_imgScreen);
    m_imgScreen.setDevicePixelRatio(m_pCore->DeviceScale());
    DrawSelection(m_imgScreen);
    QPainter(viewport()).drawImage(QPoint(0, 0), m_imgScreen);
}

// Layout pixels to device pixels; a part of a pixel counts whole, so the picture covers the
// client area.
int CVeskPDFReaderView::DevicePixels(int pixels) const {
    return static_cast<int>(std::ceil(pixels * static_cast<double>(m_pCore->DeviceScale())));
}

// The rubber band while the selection is dragged, the selection inverted once it is made. Both
// cover the client pixels from the smaller corner up to, not including, the larger one; on the
// image, the device pixels of those.
void CVeskPDFReaderView::DrawSelection(QImage &image) {
    const bool band = m_pTools->ShowsBand(), highlight = m_pTools->ShowsHighlight();
    if (!band && !highlight)
        return;
    const view::CSelectRect &sel = m_pTools->Selection();
    const QRect rect(QPoint(DevicePixels(std::min(sel.start.x, sel.end.x)),
                            DevicePixels(std::min(sel.start.y, sel.end.y))),
                     QPoint(DevicePixels(std::max(sel.start.x, sel.end.x)) - 1,
                            DevicePixels(std::max(sel.start.y, sel.end.y)) - 1));
    if (rect.isEmpty())
        return;
    if (band)
        view::InvertOutline(image, rect);
    else
        view::InvertRect(image, rect);
}

void CVeskPDFReaderView::resizeEvent(QResizeEvent *) {
    SyncClientSize();
    SyncScrollBars();
}

void CVeskPDFReaderView::SyncClientSize() {
    m_pCore->Scroll().SetClientSize(viewport()->width(), viewport()->height());
}

void CVeskPDFReaderView::wheelEvent(QWheelEvent *event) {
    const QPoint angle = event->angleDelta(), pixels = event->pixelDelta();
    if (!m_pCore->OnWheel(angle.x(), angle.y(), pixels.x(), pixels.y())) {
        event->ignore();
        return;
    }
    event->accept();
    Refresh();
}

// The wheel over the scroll bar scrolls as it does over the pages. The document window
// closing while the view is full screen takes the view back first.
bool CVeskPDFReaderView::eventFilter(QObject *watched, QEvent *event) {
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
    if (watched == m_pSavedParent && event->type() == QEvent::Close)
        LeaveFullScreen();
    return QAbstractScrollArea::eventFilter(watched, event);
}

void CVeskPDFReaderView::keyPressEvent(QKeyEvent *event) {
    switch (event->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        m_pCore->OnKeyUpDown(event->key() == Qt::Key_Up);
        Refresh();
        return;
    case Qt::Key_PageUp:
        PrevPage();
        return;
    case Qt::Key_PageDown:
        NextPage();
        return;
    case Qt::Key_Escape:
        // Unlike F12, Esc keeps the zoom.
        if (m_bFullScreen)
            SetFullScreen(false);
        QWidget::keyPressEvent(event);
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

// Only the left button works the tools; without a document the mouse does nothing here.
void CVeskPDFReaderView::mousePressEvent(QMouseEvent *event) {
    if (!IsDocumentOpen() || event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    m_pTools->OnButtonDown(at.x(), at.y());
    m_DragPointer.Confine(viewport());
    UpdateCursor();
    viewport()->update();
}

void CVeskPDFReaderView::mouseMoveEvent(QMouseEvent *event) {
    if (!IsDocumentOpen())
        return;
    const QPoint at = event->position().toPoint();
    const bool bLeftDown = event->buttons() & Qt::LeftButton;
    if (m_pTools->OnMouseMove(at.x(), at.y(), bLeftDown))
        SyncScrollBars();
    UpdateCursor();
    if (bLeftDown)
        viewport()->update();
}

void CVeskPDFReaderView::mouseReleaseEvent(QMouseEvent *event) {
    if (!IsDocumentOpen() || event->button() != Qt::LeftButton)
        return;
    const QPoint at = event->position().toPoint();
    m_pTools->OnButtonUp(at.x(), at.y());
    m_DragPointer.Release();
    UpdateCursor();
    viewport()->update();
}

// A drag must never leave the pointer held: a dialog, another window or full screen taking
// the view away ends it.
void CVeskPDFReaderView::EndDrag() {
    m_DragPointer.Release();
    m_pTools->CancelDrag();
    UpdateCursor();
    viewport()->update();
}

void CVeskPDFReaderView::focusOutEvent(QFocusEvent *event) {
    if (m_pTools->IsDragging())
        EndDrag();
    QAbstractScrollArea::focusOutEvent(event);
}

// A view that is no longer shown (another tab in front) gives its pictures back. Hiding and
// showing at once, as moving into or out of full screen does, keeps them.
void CVeskPDFReaderView::hideEvent(QHideEvent *event) {
    if (m_pTools->IsDragging())
        EndDrag();
    QAbstractScrollArea::hideEvent(event);
    QTimer::singleShot(0, this, [this] {
        if (isVisible() || m_bMemoryReleased)
            return;
        m_pCore->ReleaseMemory();
        m_bMemoryReleased = true;
    });
}

// Shown again, the view draws its pages before the first paint, so the page is there at once.
void CVeskPDFReaderView::showEvent(QShowEvent *event) {
    QAbstractScrollArea::showEvent(event);
    if (!m_bMemoryReleased)
        return;
    m_bMemoryReleased = false;
    SyncClientSize();
    m_pCore->RenderVisiblePages();
}

void CVeskPDFReaderView::UpdateCursor() {
    switch (m_pTools->Cursor()) {
    case view::ToolCursor::OpenHand:
        viewport()->setCursor(m_curOpenHand);
        break;
    case view::ToolCursor::ClosedHand:
        viewport()->setCursor(m_curClosedHand);
        break;
    case view::ToolCursor::Arrow:
        viewport()->unsetCursor();
        break;
    }
}

void CVeskPDFReaderView::OnHandTool() {
    m_pTools->SetHandTool();
    Refresh();
}

void CVeskPDFReaderView::OnSelectTool() {
    m_pTools->SetSelectTool();
    Refresh();
}

void CVeskPDFReaderView::OnExitSelect() {
    m_pTools->ExitSelectMode();
    Refresh();
}

bool CVeskPDFReaderView::IsSelectMode() const {
    return m_pTools->IsSelectMode();
}

// The engine ends lines with CR LF; the clipboard takes line feeds, which Qt hands to each
// desktop in its own convention (CR LF again where that is the rule).
void CVeskPDFReaderView::OnCopyText() {
    const std::optional<std::u16string> text =
        view::CSelectionCopy(*m_pCore).Text(m_pTools->Selection());
    if (text)
        QGuiApplication::clipboard()->setText(
            QString::fromStdU16String(*text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

// A rectangle the engine cannot draw leaves the clipboard as it was.
void CVeskPDFReaderView::OnCopyImage() {
    const view::CPagePicture picture =
        view::CSelectionCopy(*m_pCore).Picture(m_pTools->Selection());
    if (!picture.bitmap)
        return;
    QImage image;
    view::ToScreenImage(*picture.bitmap, picture.width, picture.height, image);
    QGuiApplication::clipboard()->setImage(image);
}

// A desktop that keeps its screen from programs answers with no picture; that is said, as is
// a file that cannot be written, instead of reporting a snapshot that was never saved.
int CVeskPDFReaderView::OnSnapshot() {
    if (!IsDocumentOpen())
        return -1;
    QScreen *on = screen();
    const QImage shot = on ? on->grabWindow(0).toImage() : QImage();
    const std::unique_ptr<platform::Bitmap> bitmap =
        shot.isNull() ? nullptr : view::FromScreenImage(shot);
    if (!bitmap) {
        ShowMessage(LoadResString(IDS_SNAPSHOT_NO_SCREEN));
        return 0;
    }
    const std::string path =
        view::SnapshotPath(platform::DocumentsFolder(), GetFilePath(), CurrentPage());
    if (view::SaveSnapshot(*bitmap, shot.width(), shot.height(), path))
        ShowMessage(LoadResString(IDS_SNAPSHOT_SAVED));
    else
        ShowMessage(LoadResString(IDS_SNAPSHOT_NOT_WRITTEN).arg(QFile::decodeName(path.c_str())));
    return 0;
}

void CVeskPDFReaderView::ShowMessage(const QString &text) {
    QMessageBox box(QMessageBox::NoIcon, LoadResString(AFX_IDS_APP_TITLE), text, QMessageBox::Ok,
                    this);
    box.exec();
}

int CVeskPDFReaderView::SetFullScreen(bool on) {
    if (!IsDocumentOpen())
        return -1;
    if (on)
        EnterFullScreen();
    else
        LeaveFullScreen();
    setFocus();
    return 0;
}

void CVeskPDFReaderView::OnFullScreen() {
    SetFullScreen(!m_bFullScreen);
    FitWidth();
}

// The view becomes a window of its own over the screen its window is on, above every other
// window; the document window, its bars and panes stay behind it as they are.
void CVeskPDFReaderView::EnterFullScreen() {
    if (m_bFullScreen)
        return;
    QScreen *on = screen();
    m_pSavedParent = parentWidget();
    m_rcSavedGeometry = geometry();
    if (m_pSavedParent) {
        m_pSavedParent->installEventFilter(this);
        // Deleted without being closed first, the window takes its view along.
        m_connParentGone =
            connect(m_pSavedParent, &QObject::destroyed, this, [this] { delete this; });
    }
    setParent(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    if (on) {
        setScreen(on);
        setGeometry(on->geometry());
    }
    m_bFullScreen = true;
    showFullScreen();
    raise();
    activateWindow();
}

// The view takes its place in the document window at once, so that a fit that follows
// measures the window's width and not the screen's.
void CVeskPDFReaderView::LeaveFullScreen() {
    if (!m_bFullScreen)
        return;
    m_bFullScreen = false;
    QWidget *frame = m_pSavedParent;
    disconnect(m_connParentGone);
    if (frame)
        frame->removeEventFilter(this);
    setParent(frame, Qt::Widget);
    auto *mainWindow = qobject_cast<QMainWindow *>(frame);
    if (mainWindow && !mainWindow->centralWidget())
        mainWindow->setCentralWidget(this);
    else
        setGeometry(m_rcSavedGeometry);
    if (frame && frame->layout())
        frame->layout()->activate();
    show();
}

// Closing the full-screen window ends full screen; the document stays open.
void CVeskPDFReaderView::closeEvent(QCloseEvent *event) {
    if (!m_bFullScreen) {
        QAbstractScrollArea::closeEvent(event);
        return;
    }
    event->ignore();
    SetFullScreen(false);
}

void CVeskPDFReaderView::OnPrint() {
    if (IsDocumentOpen())
        PdfPrint(GetPdfHandle(), "", 0, kPrintFactor, 0, nullptr);
}

std::unique_ptr<QFileDialog> CVeskPDFReaderView::CreateSaveAsDialog(QWidget *owner) {
    auto dialog = std::make_unique<QFileDialog>(owner, CommandToolTip(ID_SAVE_AS));
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->setDefaultSuffix(QStringLiteral("PDF"));
    dialog->setNameFilters({LoadResString(IDS_FILTER_PDF), LoadResString(IDS_FILTER_ALL)});
    dialog->selectNameFilter(LoadResString(IDS_FILTER_PDF));
    return dialog;
}

// The dialog has already asked whether to replace a file of the chosen name, so a file there
// is replaced; the engine puts the copy in its place only once it is complete, or, where a new
// file would lose what the old one carries (other links, attributes), writes it over in place.
void CVeskPDFReaderView::OnSaveAs() {
    if (!IsDocumentOpen())
        return;
    const std::unique_ptr<QFileDialog> dialog = CreateSaveAsDialog(this);
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return;
    const QString path = dialog->selectedFiles().constFirst();
    const int overwrite = QFileInfo::exists(path) ? 1 : 0;
    if (PdfSaveAs(GetPdfHandle(), QFile::encodeName(path).constData(), overwrite) == 0)
        return;
    const bool bOpenFile = QFileInfo(path).canonicalFilePath() ==
                           QFileInfo(QFile::decodeName(GetFilePath().c_str())).canonicalFilePath();
    const int message = bOpenFile && overwrite ? IDS_SAVE_AS_OPEN_FILE : IDS_SAVE_AS_FAILED;
    ShowMessage(LoadResString(message).arg(QDir::toNativeSeparators(path)));
}

void CVeskPDFReaderView::scrollContentsBy(int, int) {
    viewport()->update();
}

// Scroll-bar actions become the view's own vertical requests; the bar then shows where the
// request put the view (top and bottom requests leave it where it was).
void CVeskPDFReaderView::OnVerticalAction(int action) {
    QScrollBar *bar = verticalScrollBar();
    int request = -1;
    switch (action) {
    case QAbstractSlider::SliderSingleStepAdd:
        request = view::kLineDown;
        break;
    case QAbstractSlider::SliderSingleStepSub:
        request = view::kLineUp;
        break;
    case QAbstractSlider::SliderPageStepAdd:
        request = view::kPageDown;
        break;
    case QAbstractSlider::SliderPageStepSub:
        request = view::kPageUp;
        break;
    case QAbstractSlider::SliderToMinimum:
        request = view::kTop;
        break;
    case QAbstractSlider::SliderToMaximum:
        request = view::kBottom;
        break;
    case QAbstractSlider::SliderMove:
        request = bar->isSliderDown() ? view::kThumbTrack : view::kThumbPosition;
        break;
    default:
        return;
    }
    m_pCore->VScroll(request, 0, bar->sliderPosition());
    bar->setSliderPosition(m_pCore->Scroll().VertPos());
    viewport()->update();
}

// Horizontal paging moves a tenth of the extent, as the scrolled area's default steps say.
void CVeskPDFReaderView::OnHorizontalAction(int action) {
    view::CScrollModel &scroll = m_pCore->Scroll();
    QScrollBar *bar = horizontalScrollBar();
    if (action == QAbstractSlider::SliderPageStepAdd)
        bar->setSliderPosition(scroll.HorzPos() + scroll.HorzPageStep());
    else if (action == QAbstractSlider::SliderPageStepSub)
        bar->setSliderPosition(scroll.HorzPos() - scroll.HorzPageStep());
}

void CVeskPDFReaderView::OnScrollValue(Qt::Orientation bar, int value) {
    if (m_bSyncing)
        return;
    if (bar == Qt::Horizontal)
        m_pCore->Scroll().SetHorzPos(value);
    else
        m_pCore->Scroll().SetVertPos(value);
    viewport()->update();
}

void CVeskPDFReaderView::SyncScrollBars() {
    const view::CScrollModel &scroll = m_pCore->Scroll();
    m_bSyncing = true;
    QScrollBar *h = horizontalScrollBar();
    h->setRange(0, scroll.MaxHorz());
    h->setPageStep(scroll.ClientWidth());
    h->setSingleStep(std::max(scroll.HorzLineStep(), 1));
    h->setValue(scroll.HorzPos());
    QScrollBar *v = verticalScrollBar();
    v->setRange(0, scroll.MaxVert());
    v->setPageStep(scroll.ClientHeight());
    v->setSingleStep(view::CScrollModel::kLineStep);
    v->setValue(scroll.VertPos());
    m_bSyncing = false;
}

void CVeskPDFReaderView::Refresh() {
    SyncScrollBars();
    UpdateCursor();
    viewport()->update();
}

int CVeskPDFReaderView::Refreshed(int result) {
    Refresh();
    return result;
}

void CVeskPDFReaderView::FocusIfOpen() {
    if (m_pCore->IsOpen())
        setFocus();
}

// Every zoom change gives the view the keyboard focus; a zoom the user chose replaces the
// initial fit that is still to come.
void CVeskPDFReaderView::BeforeZoomCommand() {
    m_bInitialUpdatePending = false;
    FocusIfOpen();
}
