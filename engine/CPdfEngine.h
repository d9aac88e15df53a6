#pragma once

// Private to engine/: the object behind a PDFHANDLE. Poppler types may appear here.

#include "engine-ext/PubSecLoader.h"
#include "engine/CWaterMark.h"
#include "engine/PageBoxes.h"
#include "engine/PageBudget.h"
#include "engine/PdfApi.h"
#include "engine/TempFiles.h"
#include "platform/DeviceContext.h"
#include "platform/Printer.h"
#include "platform/TreeControl.h"

#include <PDFDoc.h>

#include <array>
#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <vector>

struct PageSlice;
class SplashBitmap;
class SplashOutputDev;
class TextOutputDev;
class OutlineItem;
class GooFile;

// Where a bookmark leads: a named destination, an explicit one, or a plain page number.
struct BookMarkEntry {
    struct Dest {
        bool bPageRef = false;
        int nPage = 0; // when not a reference: the 1-based page the destination names
        Ref ref = Ref::INVALID();
    };
    platform::TreeItem item = 0;
    std::optional<std::string> namedDest;
    std::optional<Dest> dest;
    int nPage = 0;
};

class CPdfEngine {
public:
    CPdfEngine();
    ~CPdfEngine();
    CPdfEngine(const CPdfEngine &) = delete;
    CPdfEngine &operator=(const CPdfEngine &) = delete;

    // Held by every call on this engine that reads the document or draws (see PdfApi.cpp).
    std::mutex m_Lock;
    // Calls inside the engine or waiting for m_Lock; PdfDestroy waits until none is left.
    std::mutex m_CallersLock;
    std::condition_variable m_NoCallers;
    int m_nCallers = 0; // guarded by m_CallersLock
    // Guards the layout: the page arrays, zoom, rotation, open flag and page count. They are
    // changed only with both locks held (m_Lock first), so a layout query holds this lock
    // alone and never waits for a page being drawn.
    std::mutex m_LayoutLock;

    // Opening and bookmarks (PdfOpen.cpp, PdfBookmarks.cpp).
    static constexpr int kNeedsCertificateKey = 1; // Open: finish with OpenCertificateEncrypted
    // 0, -1, -2 as PdfOpen, or kNeedsCertificateKey with `parameters` and `refused` filled in.
    int Open(const char *fileName, const char *password, platform::TreeControl *tree,
             std::optional<engine_ext::PubSecParameters> *parameters,
             engine_ext::RefusedDocument *refused);
    int OpenCertificateEncrypted(const char *fileName,
                                 const engine_ext::PubSecParameters &parameters,
                                 const std::vector<unsigned char> &key,
                                 engine_ext::RefusedDocument refused, platform::TreeControl *tree);
    void CloseDocument();
    void BuildBookMarks(platform::TreeControl *tree);
    int GetLinkTarget(platform::TreeItem item);
    int CanCopy() const;

    // Geometry and layout (PdfGeometry.cpp). The Layout* queries answer from the page arrays
    // alone, never from the document, so they need only m_LayoutLock.
    int LayoutPageCount() const;
    int LayoutPageWidth(int page) const;
    int LayoutPageHeight(int page) const;
    int GetPageCount() const;
    int GetPageWidth(int page) const;
    int GetPageHeight(int page) const;
    int SetZoom(float zoom);
    int Rotate(int delta);
    int GoToPage(int page);
    int GetDocExtent(int *width, int *height) const;
    int GetPageLeft(int page, int width) const;
    int GetPageTop(int page) const;
    int GetVisibleRange(int top, int bottom, int *first, int *last);

    // Rendering and extraction (PdfRender.cpp, PdfText.cpp), saving (PdfSaveAs.cpp).
    int SetDeviceScale(float scale);
    void ReleasePageMemory();
    int DrawPage(platform::DeviceContext &dc, int page, int x, int y);
    std::unique_ptr<platform::Bitmap> GetRectBitmap(int page, int x, int y, int width, int height);
    void GetRectText(int page, double xMin, double yMin, double xMax, double yMax, char16_t *buffer,
                     int *length, int capacity);
    int SaveAs(const char *fileName, int overwrite);

    // Printing (PdfPrint.cpp): what the print dialog offers, then the job the user chose.
    std::optional<platform::PrintDialogSetup> GetPrintSetup() const;
    int Print(platform::PrintChoice &choice, int factor, int fit, PrintProgressProc cb);

    // Puts a record into the first free slot and answers its index, or -1 when every slot is
    // taken. Takes the engine's lock. The program itself adds no watermark; tests do.
    int AddWaterMark(std::unique_ptr<CWaterMark> mark);

    // Drawn over every displayed and printed page; empty unless a record is added.
    WaterMarkArray m_WaterMarkArr;

    std::unique_ptr<PDFDoc> m_pDoc;
    // The file of a document Poppler reads from memory, held open to tell whether it changed
    // since it was read (and for a decrypted document to copy it when saving); null when Poppler
    // holds the file itself.
    std::shared_ptr<GooFile> m_pOpenedFile;
    // What the document's file was when it was opened, where it could be looked at.
    std::optional<struct stat> m_OpenedFileStatus;
    std::unique_ptr<SplashOutputDev> m_pScreenDev;
    std::atomic<int> m_nCurPage = 1; // moved by layout queries, read by printing too
    float m_fZoom = 1.0f;
    // Device pixels per layout pixel for screen pages (PdfSetDeviceScale); guarded by m_Lock.
    float m_fDeviceScale = 1.0f;
    platform::DeviceContext m_hMemDC; // holds the last page bitmap
    int m_nBmpHeight = 0;
    int m_nBmpWidth = 0;
    std::vector<int> m_PageWidths;  // points, by page number; entry 0 is 0
    std::vector<int> m_PageHeights; // points, by page number; entry 0 is 0
    std::vector<BookMarkEntry> m_BookMarkArr;
    int m_nRotate = 0; // view rotation: 0, 90, 180 or 270
    bool m_bOpen = false;
    std::atomic<int> m_bRedraw = 0; // set by page changes, which take no render lock
    std::unique_ptr<TextOutputDev> m_pTextDev;
    std::unique_ptr<std::uint8_t[]> m_pRowBuf; // widened rows of screen renders
    std::size_t m_nRowBufSize = 0;
    // Set by PdfDestroy so that a page still being drawn on another thread stops early.
    std::atomic<bool> m_bAbortDraw = false;
    // Set by PdfCancelDraw: the screen page being drawn on another thread is no longer wanted.
    std::atomic<bool> m_bCancelDraw = false;
    CPageBudget m_PageBudget{m_bAbortDraw, m_bCancelDraw};
    CEngineTempFolderUse m_TempFolderUse;
    // Crop size and own rotation of every page, read once at open (index: page - 1).
    std::vector<PageBox> m_PageBoxes;

private:
    int Adopt(std::unique_ptr<PDFDoc> doc, platform::TreeControl *tree);
    void NoteOpenedFile();
    bool IsOpenedFile(const struct stat &st) const;
    void AddOutlineItems(const Object &firstItem, platform::TreeControl &tree);
    void AddPageItems(platform::TreeControl &tree);
    void BuildPageSizes();
    std::vector<PageBox> PageBoxesFromPoppler() const;
    // Crop-box size of a page after the page's own /Rotate, in points.
    void GetCropSize(int page, double *w, double *h) const;
    int ScaledHeight(int page) const;
    int PageBottom(int page) const;
    bool HasPage(int page) const;
    bool DrawOnScreenDevice(int page, const PageSlice &slice, float zoom);
    float ScreenZoom() const { return m_fZoom * m_fDeviceScale; }
    bool RenderPage(int page);
    bool BlankPage(int page);
    bool MakePageBitmap(SplashBitmap &rows);
    SplashOutputDev &ScreenDevice();
    int DrawWaterMark(platform::DeviceContext &dc, float zoom, int rotate, int w, int h, int flag);
};
