#include "view/CVeskPDFReaderView.h"

#include "view/CDlgGetpass.h"
#include "view/CGotoPage.h"
#include "view/CPagePainter.h"
#include "view/CZoomTo.h"
#include "view/ScreenImage.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QScrollBar>
#include <QWheelEvent>

namespace {

// rc/ beside the running executable.
std::string ResourceDir() {
    const QString exe = QCoreApplication::applicationFilePath();
    return QFile::encodeName(exe.left(exe.lastIndexOf('/') + 1) + "rc").toStdString();
}

} // namespace

CVeskPDFReaderView::CVeskPDFReaderView(QWidget *parent)
    : QAbstractScrollArea(parent), m_pCore(std::make_unique<view::CViewCore>(ResourceDir())),
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
    SyncScrollBars();
}

CVeskPDFReaderView::~CVeskPDFReaderView() = default;

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

// The fit needs the window's size even when no resize has reached the view yet.
void CVeskPDFReaderView::OnInitialUpdate() {
    SyncClientSize();
    m_pCore->OnInitialUpdate();
    Refresh();
}

void CVeskPDFReaderView::Close() {
    m_pCore->Close();
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
    FocusIfOpen();
    return Refreshed(m_pCore->ZoomTo(zoom));
}

int CVeskPDFReaderView::FitWidth() {
    FocusIfOpen();
    return Refreshed(m_pCore->FitWidth());
}

int CVeskPDFReaderView::FitHeight() {
    FocusIfOpen();
    return Refreshed(m_pCore->FitHeight());
}

int CVeskPDFReaderView::ActualSize() {
    return ZoomTo(1.0f);
}

int CVeskPDFReaderView::ZoomIn() {
    FocusIfOpen();
    return Refreshed(m_pCore->ZoomIn());
}

int CVeskPDFReaderView::ZoomOut() {
    FocusIfOpen();
    return Refreshed(m_pCore->ZoomOut());
}

void CVeskPDFReaderView::OnZoomToDialog() {
    m_dlgZoomTo->m_pView = this;
    m_dlgZoomTo->DoModal();
}

void CVeskPDFReaderView::RotateClockwise() {
    m_pCore->Rotate(90);
    Refresh();
}

void CVeskPDFReaderView::RotateCounterClockwise() {
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

bool CVeskPDFReaderView::WindowToPage(int x, int y, int *px, int *py) const {
    return m_pCore->WindowToPage(x, y, px, py);
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
    default:
        return false;
    }
    return true;
}

// The view enables every command it handles; only the display modes carry a check mark.
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
        break;
    default:
        return false;
    }
    state->bEnabled = true;
    state->bChecked = (id == kCmdSinglePage && GetDisplayMode() == kSinglePage) ||
                      (id == kCmdContinuous && GetDisplayMode() == kContinuous);
    return true;
}

void CVeskPDFReaderView::paintEvent(QPaintEvent *) {
    const view::CScrollModel &scroll = m_pCore->Scroll();
    const int w = scroll.ClientWidth(), h = scroll.ClientHeight();
    if (w <= 0 || h <= 0)
        return;
    if (m_memDC.GetHeight() != h + 1 || m_memDC.GetWidth() != platform::Bitmap::WidenedWidth(w + 1))
        m_memDC.SelectBitmap(std::make_unique<platform::Bitmap>(w + 1, h + 1));
    if (!view::CPagePainter(*m_pCore).Paint(m_memDC))
        return;
    view::ToScreenImage(*m_memDC.GetBitmap(), w, h, m_imgScreen);
    QPainter(viewport()).drawImage(QPoint(0, 0), m_imgScreen);
}

void CVeskPDFReaderView::resizeEvent(QResizeEvent *) {
    SyncClientSize();
    SyncScrollBars();
}

void CVeskPDFReaderView::SyncClientSize() {
    m_pCore->Scroll().SetClientSize(viewport()->width(), viewport()->height());
}

void CVeskPDFReaderView::wheelEvent(QWheelEvent *event) {
    const int delta = event->angleDelta().y();
    if (delta == 0 || !m_pCore->OnMouseWheel(delta)) {
        event->ignore();
        return;
    }
    event->accept();
    Refresh();
}

// The wheel over the scroll bar scrolls as it does over the pages.
bool CVeskPDFReaderView::eventFilter(QObject *watched, QEvent *event) {
    if (watched == verticalScrollBar() && event->type() == QEvent::Wheel) {
        wheelEvent(static_cast<QWheelEvent *>(event));
        return true;
    }
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
    default:
        QWidget::keyPressEvent(event);
    }
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
