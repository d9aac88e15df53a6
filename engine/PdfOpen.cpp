#include "engine/CPdfEngine.h"

#include "engine-ext/CjkDocumentFonts.h"
#include "engine-ext/FileInMemory.h"
#include "engine-ext/PageTreeEntries.h"
#include "engine-ext/PubSecLoader.h"

#include <ErrorCodes.h>
#include <goo/GooString.h>
#include <goo/gfile.h>

#include <optional>

namespace {

// Legacy handlers take the password's bytes as the file's producer typed them, commonly
// Latin-1; a UTF-8 password from our user interface gets a second try in that form.
std::optional<std::string> Latin1Form(const std::string &utf8) {
    std::string out;
    bool changed = false;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const unsigned char c = utf8[i];
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size() &&
                   (static_cast<unsigned char>(utf8[i + 1]) & 0xC0) == 0x80) {
            out += static_cast<char>(((c & 0x03) << 6) | (utf8[++i] & 0x3F));
            changed = true;
        } else {
            return std::nullopt;
        }
    }
    return changed ? std::optional<std::string>(out) : std::nullopt;
}

// Files up to this size are read whole into memory; larger ones, mostly scanned pages that are
// read once per page in long runs, are read from the file as they are needed.
constexpr Goffset kMaxFileInMemory = 32 * 1024 * 1024;

// A document; when it was read into memory, also its file, held open, and the bytes read.
struct LoadedDocument {
    std::unique_ptr<PDFDoc> pDoc;
    std::shared_ptr<GooFile> pFile;
    const std::string *pBytes = nullptr;
};

LoadedDocument LoadDocument(const char *fileName, const std::optional<GooString> &pw) {
    std::shared_ptr<GooFile> file = GooFile::open(fileName);
    if (file && file->size() <= kMaxFileInMemory) {
        if (std::optional<std::string> bytes = engine_ext::ReadWholeFile(*file)) {
            auto *stream = new engine_ext::CFileInMemoryStream(std::move(*bytes), fileName);
            return {std::make_unique<PDFDoc>(stream, pw, pw), std::move(file), &stream->Bytes()};
        }
    }
    return {std::make_unique<PDFDoc>(std::make_unique<GooString>(fileName), pw, pw), nullptr};
}

} // namespace

int CPdfEngine::Open(const char *fileName, const char *password, platform::TreeControl *tree,
                     std::optional<engine_ext::PubSecParameters> *parameters,
                     engine_ext::RefusedDocument *refused) {
    CloseDocument();
    if (!fileName)
        return -1;
    std::optional<GooString> pw;
    if (password)
        pw.emplace(password);
    LoadedDocument loaded = LoadDocument(fileName, pw);
    if (engine_ext::IsCertificateEncrypted(*loaded.pDoc)) {
        *parameters = engine_ext::ReadCertificateParameters(*loaded.pDoc);
        *refused = {std::move(loaded.pDoc), loaded.pBytes};
        return *parameters ? kNeedsCertificateKey : -1;
    }
    if (!loaded.pDoc->isOk() && loaded.pDoc->getErrorCode() == errEncrypted && password) {
        if (const auto latin1 = Latin1Form(password))
            loaded = LoadDocument(fileName, GooString(*latin1));
    }
    const int result = Adopt(std::move(loaded.pDoc), tree);
    if (result == 0)
        m_pOpenedFile = std::move(loaded.pFile);
    return result;
}

int CPdfEngine::OpenCertificateEncrypted(const char *fileName,
                                         const engine_ext::PubSecParameters &parameters,
                                         const std::vector<unsigned char> &key,
                                         engine_ext::RefusedDocument refused,
                                         platform::TreeControl *tree) {
    CloseDocument();
    engine_ext::CertificateDocument opened =
        engine_ext::OpenCertificateEncrypted(fileName, parameters, key, std::move(refused));
    const int result = Adopt(std::move(opened.pDoc), tree);
    if (result == 0)
        m_pOpenedFile = std::move(opened.pFile);
    return result;
}

int CPdfEngine::Adopt(std::unique_ptr<PDFDoc> doc, platform::TreeControl *tree) {
    if (!doc->isOk())
        return doc->getErrorCode() == errEncrypted ? -2 : -1;
    // A catalog whose page tree yields no page is as unusable as no catalog at all: the view
    // could neither show nor select anything.
    if (doc->getNumPages() < 1)
        return -1;
    // One pass over the page tree serves both the page sizes and the font preparation, which
    // must see every object before it changes any.
    engine_ext::PageTreeEntries entries;
    std::optional<std::vector<PageBox>> boxes = ReadPageBoxes(*doc, &entries);
    engine_ext::PrepareCjkFonts(*doc, boxes ? &entries : nullptr);
    m_pDoc = std::move(doc);
    NoteOpenedFile();
    m_PageBoxes = boxes ? std::move(*boxes) : PageBoxesFromPoppler();
    BuildBookMarks(tree);
    BuildPageSizes();
    m_bRedraw = 1;
    m_bOpen = true;
    return 0;
}

int CPdfEngine::CanCopy() const {
    return m_pDoc && m_pDoc->okToCopy(false) ? 1 : 0;
}
