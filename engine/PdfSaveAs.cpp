// PdfSaveAs: a byte copy of the opened file from its "%PDF-" header on.
//
// A failed or interrupted save never leaves a half-written file nor destroys the file it was
// to replace (see CFileReplacement). Saving onto the file the document was opened from is
// refused: it is the copy's source.

#include "engine/CPdfEngine.h"
#include "engine/FileReplacement.h"

#include <ErrorCodes.h>
#include <Stream.h>
#include <goo/GooString.h>
#include <goo/gfile.h>

#include <climits>
#include <cstdlib>
#include <sys/stat.h>

namespace {

bool SameFile(const struct stat &a, const struct stat &b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// Poppler copies the file as it was opened, from its header on, and refuses one changed since.
bool CopyDocument(PDFDoc &doc, FILE *file) {
    FileOutStream out(file, 0);
    return doc.saveWithoutChangesAs(&out) == errNone;
}

} // namespace

void CPdfEngine::NoteOpenedFile() {
    struct stat st {};
    const GooString *name = m_pDoc ? m_pDoc->getFileName() : nullptr;
    m_OpenedFileStatus.reset();
    if (name && stat(name->c_str(), &st) == 0)
        m_OpenedFileStatus = st;
}

// The file under its name now, or the file it was when opened (a name may since have been
// given to another file).
bool CPdfEngine::IsOpenedFile(const struct stat &st) const {
    struct stat now {};
    const GooString *name = m_pDoc->getFileName();
    return (name && stat(name->c_str(), &now) == 0 && SameFile(now, st)) ||
           (m_OpenedFileStatus && SameFile(*m_OpenedFileStatus, st));
}

int CPdfEngine::SaveAs(const char *fileName, int overwrite) {
    if (!m_pDoc || !fileName || !*fileName)
        return -1;
    // A document read from memory is copied from the file held open since: it must still be
    // the file the document was read from.
    if (m_pOpenedFile && m_pOpenedFile->modificationTimeChangedSinceOpen())
        return -1;
    struct stat st {};
    if (!overwrite && lstat(fileName, &st) == 0)
        return -1;
    std::string target = fileName;
    std::optional<struct stat> existing;
    if (stat(fileName, &st) == 0) {
        char resolved[PATH_MAX];
        if (!S_ISREG(st.st_mode) || !realpath(fileName, resolved) || IsOpenedFile(st))
            return -1;
        // Through a symbolic link the file it names is replaced, not the link.
        target = resolved;
        existing = st;
    }
    CFileReplacement file(target, existing, overwrite != 0);
    FILE *out = file.Open(m_OpenedFileStatus ? m_OpenedFileStatus->st_size : 0);
    return out && CopyDocument(*m_pDoc, out) && file.Commit() ? 0 : -1;
}
