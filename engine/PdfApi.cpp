// The flat call interface: null-handle answers and the per-engine locks live here, the work
// in CPdfEngine. The configuration is held steady for the whole call (see
// engine_ext::CConfigurationUse), and always taken before the engine's own lock so that a
// rebuild in one window can never wait on an engine that waits on the rebuild. Nothing is
// thrown past these functions, and the user is asked or told nothing while a lock is held: a
// nested event loop may call the engine again.
//
// Layout queries take only the layout lock, so a paint asking where pages lie never waits for
// a page being drawn on the render thread; calls that change the layout take the engine's lock
// and then the layout lock, so a draw never sees the layout change under it.

#include "engine/PdfApi.h"

#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/PubSecLoader.h"
#include "engine-ext/ResourcePath.h"
#include "engine/CPdfEngine.h"
#include "engine/TempFiles.h"
#include "platform/SpecialFolders.h"
#include "platform/UiHooks.h"

namespace {

// Counts a call from before it waits for the engine's lock until it has left the engine.
class CEngineCall {
public:
    explicit CEngineCall(CPdfEngine &e) : m_Engine(e) {
        std::lock_guard lock(m_Engine.m_CallersLock);
        ++m_Engine.m_nCallers;
    }
    ~CEngineCall() {
        std::lock_guard lock(m_Engine.m_CallersLock);
        if (--m_Engine.m_nCallers == 0)
            m_Engine.m_NoCallers.notify_all();
    }
    CEngineCall(const CEngineCall &) = delete;
    CEngineCall &operator=(const CEngineCall &) = delete;

private:
    CPdfEngine &m_Engine;
};

// A failure of any kind inside, memory exhausted included, answers failResult.
template <typename R, typename F> R Guarded(R failResult, F &&call) noexcept {
    try {
        return call();
    } catch (...) {
        return failResult;
    }
}

// What a call needs of the configuration. Poppler cannot parse a document without one; a call
// that draws or reads text has one built first when none exists, and its fonts registered.
// Without the configuration it needs, the call fails.
enum class Needs { kNothing, kConfiguration, kFonts };

template <typename R, typename F>
R WithEngine(PDFHANDLE h, R nullResult, F &&call, Needs needs = Needs::kNothing) noexcept {
    if (!h)
        return nullResult;
    const CEngineCall counted(*h);
    return Guarded(nullResult, [&] {
        engine_ext::CConfigurationUse configuration(needs == Needs::kFonts);
        if (needs != Needs::kNothing && !configuration.HasConfiguration())
            return nullResult;
        std::lock_guard lock(h->m_Lock);
        return call(*h);
    });
}

// An open that fails half-way, by an exception too, leaves the engine without a document.
template <typename F> int OpenedOrClosed(CPdfEngine &e, F &&open) {
    try {
        return open();
    } catch (...) {
        e.CloseDocument();
        throw;
    }
}

template <typename R, typename F> R WithLayout(PDFHANDLE h, R nullResult, F &&call) noexcept {
    if (!h)
        return nullResult;
    const CEngineCall counted(*h);
    return Guarded(nullResult, [&] {
        std::lock_guard lock(h->m_LayoutLock);
        return call(*h);
    });
}

template <typename R, typename F>
R WithLayoutChange(PDFHANDLE h, R nullResult, F &&call, Needs needs = Needs::kNothing) noexcept {
    return WithEngine(
        h, nullResult,
        [&](CPdfEngine &e) {
            std::lock_guard lock(e.m_LayoutLock);
            return call(e);
        },
        needs);
}

} // namespace

PDFHANDLE PdfCreate() {
    return Guarded(static_cast<PDFHANDLE>(nullptr), [] {
        engine_ext::SetResourceBasePath(platform::AppDataFolder());
        auto h = std::make_unique<CPdfEngine>();
        engine_ext::RetainEngineConfiguration();
        return h.release();
    });
}

int PdfSetResourceDir(PDFHANDLE, const char *path) {
    return Guarded(-1, [&] {
        engine_ext::SetResourceBasePath(path ? path : "");
        return 0;
    });
}

// A certificate-encrypted document is opened in two calls on the engine with the certificate
// search between them, outside every lock: the user's database may ask for its password.
int PdfOpen(PDFHANDLE h, const char *fileName, const char *password, platform::TreeControl *tree) {
    if (!h || !Guarded(0, engine_ext::BuildEngineConfiguration))
        return -1;
    std::optional<engine_ext::PubSecParameters> parameters;
    engine_ext::RefusedDocument refused;
    const int opened = WithLayoutChange(
        h, -1,
        [&](CPdfEngine &e) {
            return OpenedOrClosed(
                e, [&] { return e.Open(fileName, password, tree, &parameters, &refused); });
        },
        Needs::kConfiguration);
    if (opened != CPdfEngine::kNeedsCertificateKey)
        return opened;
    const auto found = Guarded(std::optional<engine_ext::CertificateKey>(),
                               [&] { return std::optional(FindCertificateKey(*parameters)); });
    if (!found || found->key.size() != parameters->nKeyLength) {
        platform::ShowMessageBox(engine_ext::CertificateFailureMessage(found ? found->nError : 0));
        return -2;
    }
    return WithLayoutChange(
        h, -1,
        [&](CPdfEngine &e) {
            return OpenedOrClosed(e, [&] {
                return e.OpenCertificateEncrypted(fileName, *parameters, found->key,
                                                  std::move(refused), tree);
            });
        },
        Needs::kConfiguration);
}

int PdfIsOpen(PDFHANDLE h) {
    return WithLayout(h, 0, [](CPdfEngine &e) { return e.m_bOpen ? 1 : 0; });
}

int PdfGetPageCount(PDFHANDLE h) {
    return WithLayout(h, -1, [](CPdfEngine &e) { return e.LayoutPageCount(); });
}

int PdfGetPageWidth(PDFHANDLE h, int page) {
    return WithLayout(h, -1, [=](CPdfEngine &e) { return e.LayoutPageWidth(page); });
}

int PdfGetPageHeight(PDFHANDLE h, int page) {
    return WithLayout(h, -1, [=](CPdfEngine &e) { return e.LayoutPageHeight(page); });
}

float PdfGetZoom(PDFHANDLE h) {
    return WithLayout(h, -1.0f, [](CPdfEngine &e) { return e.m_fZoom; });
}

int PdfSetZoom(PDFHANDLE h, float zoom) {
    return WithLayoutChange(h, -1, [=](CPdfEngine &e) { return e.SetZoom(zoom); });
}

int PdfRotate(PDFHANDLE h, int delta) {
    return WithLayoutChange(h, -1, [=](CPdfEngine &e) { return e.Rotate(delta); });
}

int PdfGetRotation(PDFHANDLE h) {
    return WithLayout(h, -1, [](CPdfEngine &e) { return e.m_nRotate; });
}

int PdfGoToPage(PDFHANDLE h, int page) {
    return WithLayout(h, -1, [=](CPdfEngine &e) { return e.GoToPage(page); });
}

int PdfGetCurrentPage(PDFHANDLE h) {
    return WithLayout(h, -1, [](CPdfEngine &e) { return e.m_nCurPage.load(); });
}

int PdfGetDocExtent(PDFHANDLE h, int *width, int *height) {
    return WithLayout(h, -1, [=](CPdfEngine &e) { return e.GetDocExtent(width, height); });
}

int PdfGetPageLeft(PDFHANDLE h, int page, int width) {
    return WithLayout(h, -1, [=](CPdfEngine &e) { return e.GetPageLeft(page, width); });
}

int PdfGetPageTop(PDFHANDLE h, int page) {
    return WithLayout(h, -1, [=](CPdfEngine &e) { return e.GetPageTop(page); });
}

int PdfGetVisibleRange(PDFHANDLE h, int top, int bottom, int *first, int *last) {
    return WithLayout(h, -1,
                      [=](CPdfEngine &e) { return e.GetVisibleRange(top, bottom, first, last); });
}

int PdfGetLinkTarget(PDFHANDLE h, platform::TreeItem item) {
    return WithEngine(h, -1, [=](CPdfEngine &e) { return e.GetLinkTarget(item); });
}

int PdfCanCopy(PDFHANDLE h) {
    return WithEngine(h, 0, [](CPdfEngine &e) { return e.CanCopy(); });
}

int PdfSetRedraw(PDFHANDLE h, int flag) {
    return WithEngine(h, -1, [=](CPdfEngine &e) {
        e.m_bRedraw = flag;
        return 0;
    });
}

int PdfSetDeviceScale(PDFHANDLE h, float scale) {
    return WithEngine(h, -1, [=](CPdfEngine &e) { return e.SetDeviceScale(scale); });
}

int PdfReleasePageMemory(PDFHANDLE h) {
    return WithEngine(h, -1, [](CPdfEngine &e) {
        e.ReleasePageMemory();
        return 0;
    });
}

// Takes no lock: it is meant for the page that holds the engine's lock.
int PdfCancelDraw(PDFHANDLE h, int cancel) {
    if (!h)
        return -1;
    h->m_bCancelDraw = cancel != 0;
    return 0;
}

int PdfDrawPage(PDFHANDLE h, platform::DeviceContext *dc, int page, int x, int y) {
    if (!dc)
        return -1;
    return WithEngine(
        h, -1, [&](CPdfEngine &e) { return e.DrawPage(*dc, page, x, y); }, Needs::kFonts);
}

int PdfGetRectText(PDFHANDLE h, int page, double xMin, double yMin, double xMax, double yMax,
                   char16_t *buffer, int *length, int capacity) {
    return WithEngine(
        h, 0,
        [&](CPdfEngine &e) {
            e.GetRectText(page, xMin, yMin, xMax, yMax, buffer, length, capacity);
            return 1;
        },
        Needs::kFonts);
}

platform::Bitmap *PdfGetRectBitmap(PDFHANDLE h, platform::DeviceContext *, int page, int x, int y,
                                   int width, int height) {
    return WithEngine(
        h, static_cast<platform::Bitmap *>(nullptr),
        [&](CPdfEngine &e) { return e.GetRectBitmap(page, x, y, width, height).release(); },
        Needs::kFonts);
}

// The dialog is shown without the engine's lock: while it is open the view goes on painting,
// and its render worker must be able to draw. The job then holds the lock to its end.
int PdfPrint(PDFHANDLE h, const char *, int, int factor, int fit, PrintProgressProc cb) {
    const std::optional<platform::PrintDialogSetup> setup =
        WithEngine(h, std::optional<platform::PrintDialogSetup>(),
                   [](CPdfEngine &e) { return e.GetPrintSetup(); });
    if (!setup)
        return -1;
    std::optional<platform::PrintChoice> choice = Guarded(
        std::optional<platform::PrintChoice>(), [&] { return platform::ShowPrintDialog(*setup); });
    if (!choice)
        return -1;
    return WithEngine(
        h, -1, [&](CPdfEngine &e) { return e.Print(*choice, factor, fit, cb); }, Needs::kFonts);
}

int PdfSaveAs(PDFHANDLE h, const char *fileName, int overwrite) {
    return WithEngine(h, -1, [&](CPdfEngine &e) { return e.SaveAs(fileName, overwrite); });
}

void PdfDestroy(PDFHANDLE h) {
    if (h) {
        // Calls still running or waiting on other threads finish, cut short, before the
        // engine goes.
        h->m_bAbortDraw = true;
        {
            std::unique_lock callers(h->m_CallersLock);
            h->m_NoCallers.wait(callers, [h] { return h->m_nCallers == 0; });
        }
        Guarded(0, [h] {
            engine_ext::CConfigurationUse configuration;
            delete h;
            return 0;
        });
        Guarded(0, [] {
            engine_ext::ReleaseEngineConfiguration();
            return 0;
        });
    }
    // Last, so that this engine's own use of the folder no longer keeps it.
    Guarded(0, [] {
        RemoveEngineTempFolder();
        return 0;
    });
}
