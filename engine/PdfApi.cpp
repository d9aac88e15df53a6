// The flat call interface: null-handle answers and the per-engine lock live here, the work
// in CPdfEngine. The configuration is held steady for the whole call (see
// engine_ext::CConfigurationUse), and always taken before the engine's own lock so that a
// rebuild in one window can never wait on an engine that waits on the rebuild.

#include "engine/PdfApi.h"

#include "engine-ext/EngineConfiguration.h"
#include "engine-ext/ResourcePath.h"
#include "engine/CPdfEngine.h"
#include "engine/TempFiles.h"
#include "platform/SpecialFolders.h"

#include <new>

namespace {

template <typename R, typename F>
R WithEngine(PDFHANDLE h, R nullResult, F &&call, bool buildConfiguration = false) {
    if (!h)
        return nullResult;
    engine_ext::CConfigurationUse configuration(buildConfiguration);
    std::lock_guard lock(h->m_Lock);
    return call(*h);
}

} // namespace

PDFHANDLE PdfCreate() {
    engine_ext::SetResourceBasePath(platform::AppDataFolder());
    PDFHANDLE h = new (std::nothrow) CPdfEngine;
    if (h)
        engine_ext::RetainEngineConfiguration();
    return h;
}

int PdfSetResourceDir(PDFHANDLE, const char *path) {
    engine_ext::SetResourceBasePath(path ? path : "");
    return 0;
}

int PdfOpen(PDFHANDLE h, const char *fileName, const char *password, platform::TreeControl *tree) {
    if (!h)
        return -1;
    engine_ext::BuildEngineConfiguration();
    return WithEngine(h, -1, [&](CPdfEngine &e) { return e.Open(fileName, password, tree); });
}

int PdfIsOpen(PDFHANDLE h) {
    return WithEngine(h, 0, [](CPdfEngine &e) { return e.m_bOpen ? 1 : 0; });
}

int PdfGetPageCount(PDFHANDLE h) {
    return WithEngine(h, -1, [](CPdfEngine &e) { return e.GetPageCount(); });
}

int PdfGetPageWidth(PDFHANDLE h, int page) {
    return WithEngine(h, -1, [=](CPdfEngine &e) { return e.GetPageWidth(page); });
}

int PdfGetPageHeight(PDFHANDLE h, int page) {
    return WithEngine(h, -1, [=](CPdfEngine &e) { return e.GetPageHeight(page); });
}

float PdfGetZoom(PDFHANDLE h) {
    return WithEngine(h, -1.0f, [](CPdfEngine &e) { return e.m_fZoom; });
}

int PdfSetZoom(PDFHANDLE h, float zoom) {
    return WithEngine(h, -1, [=](CPdfEngine &e) { return e.SetZoom(zoom); });
}

int PdfRotate(PDFHANDLE h, int delta) {
    return WithEngine(h, -1, [=](CPdfEngine &e) { return e.Rotate(delta); });
}

int PdfGetRotation(PDFHANDLE h) {
    return WithEngine(h, -1, [](CPdfEngine &e) { return e.m_nRotate; });
}

int PdfGoToPage(PDFHANDLE h, int page) {
    return WithEngine(h, -1, [=](CPdfEngine &e) { return e.GoToPage(page); });
}

int PdfGetCurrentPage(PDFHANDLE h) {
    return WithEngine(h, -1, [](CPdfEngine &e) { return e.m_nCurPage; });
}

int PdfGetDocExtent(PDFHANDLE h, int *width, int *height) {
    return WithEngine(h, -1, [=](CPdfEngine &e) { return e.GetDocExtent(width, height); });
}

int PdfGetPageLeft(PDFHANDLE h, int page, int width) {
    return WithEngine(h, -1, [=](CPdfEngine &e) { return e.GetPageLeft(page, width); });
}

int PdfGetPageTop(PDFHANDLE h, int page) {
    return WithEngine(h, -1, [=](CPdfEngine &e) { return e.GetPageTop(page); });
}

int PdfGetVisibleRange(PDFHANDLE h, int top, int bottom, int *first, int *last) {
    return WithEngine(h, -1,
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

int PdfDrawPage(PDFHANDLE h, platform::DeviceContext *dc, int page, int x, int y) {
    if (!dc)
        return -1;
    return WithEngine(
        h, -1, [&](CPdfEngine &e) { return e.DrawPage(*dc, page, x, y); }, true);
}

int PdfGetRectText(PDFHANDLE h, int page, double xMin, double yMin, double xMax, double yMax,
                   char16_t *buffer, int *length, int capacity) {
    return WithEngine(
        h, 0,
        [&](CPdfEngine &e) {
            e.GetRectText(page, xMin, yMin, xMax, yMax, buffer, length, capacity);
            return 1;
        },
        true);
}

platform::Bitmap *PdfGetRectBitmap(PDFHANDLE h, platform::DeviceContext *, int page, int x, int y,
                                   int width, int height) {
    return WithEngine(
        h, static_cast<platform::Bitmap *>(nullptr),
        [&](CPdfEngine &e) { return e.GetRectBitmap(page, x, y, width, height).release(); }, true);
}

int PdfSaveAs(PDFHANDLE h, const char *fileName, int overwrite) {
    return WithEngine(h, -1, [&](CPdfEngine &e) { return e.SaveAs(fileName, overwrite); });
}

void PdfDestroy(PDFHANDLE h) {
    if (h) {
        // A call still running on another thread finishes, cut short, before the engine goes.
        h->m_bAbortDraw = true;
        { std::lock_guard lock(h->m_Lock); }
        {
            engine_ext::CConfigurationUse configuration;
            delete h;
        }
        engine_ext::ReleaseEngineConfiguration();
    }
    // Last, so that this engine's own use of the folder no longer keeps it.
    RemoveEngineTempFolder();
}
