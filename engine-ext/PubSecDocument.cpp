#include "engine-ext/PubSecDocument.h"

#include "engine-ext/FileInMemory.h"

#include <Dict.h>
#include <ErrorCodes.h>
#include <PDFDoc.h>
#include <Stream.h>
#include <XRef.h>
#include <goo/gfile.h>

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <iterator>
#include <vector>

namespace engine_ext {

class CStringOutStream : public OutStream {
public:
    explicit CStringOutStream(std::string &out) : m_Out(out) {}
    void close() override {}
    Goffset getPos() override { return static_cast<Goffset>(m_Out.size()); }
    void put(char c) override { m_Out += c; }
    void printf(const char *format, ...) override GCC_PRINTF_FORMAT(2, 3);
    void Append(const std::string &bytes) { m_Out += bytes; }

private:
    std::string &m_Out;
};

// Sized by vsnprintf's count, not by a terminating zero: a string may hold NUL bytes.
void CStringOutStream::printf(const char *format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = std::vsnprintf(nullptr, 0, format, measure);
    va_end(measure);
    if (length > 0) {
        const std::size_t start = m_Out.size();
        m_Out.resize(start + static_cast<std::size_t>(length) + 1);
        std::vsnprintf(m_Out.data() + start, static_cast<std::size_t>(length) + 1, format, args);
        m_Out.resize(start + static_cast<std::size_t>(length));
    }
    va_end(args);
}

namespace {

// Poppler saves a document by copying its stream. For this one a copy is the encrypted file it
// was decrypted from, held open like any opened file: saving never writes the plain text.
class CDecryptedFileStream : public CFileInMemoryStream {
public:
    CDecryptedFileStream(std::string bytes, const std::string &fileName,
                         std::shared_ptr<GooFile> original, Goffset headerOffset)
        : CFileInMemoryStream(std::move(bytes), fileName), m_pOriginal(std::move(original)),
          m_nHeaderOffset(headerOffset) {}

    BaseStream *copy() override {
        const Goffset size = m_pOriginal->size();
        const Goffset start = std::min(m_nHeaderOffset, size);
        return new FileStream(m_pOriginal.get(), start, false, size - start, Object(objNull));
    }

private:
    std::shared_ptr<GooFile> m_pOriginal;
    Goffset m_nHeaderOffset;
};

std::string ReadAll(Stream *stream) {
    std::string bytes;
    if (!stream)
        return bytes;
    stream->reset();
    unsigned char buffer[4096];
    for (int n; (n = stream->doGetChars(sizeof buffer, buffer)) > 0;)
        bytes.append(reinterpret_cast<const char *>(buffer), static_cast<std::size_t>(n));
    stream->close();
    return bytes;
}

// A stream's bytes decrypted but still encoded: the decrypting layer lies below every
// decoding filter. A stream stored in the clear is read from beneath that layer.
std::string EncodedBytes(Stream *top, bool storedInClear) {
    for (Stream *layer = top; layer; layer = layer->getNextStream()) {
        if (layer->getKind() == strCrypt)
            return ReadAll(storedInClear ? layer->getNextStream() : layer);
    }
    return ReadAll(top->getUndecodedStream());
}

bool IsStreamOfType(Object &object, const char *type) {
    return object.isStream() && object.streamGetDict()->lookup("Type").isName(type);
}

} // namespace

CDecryptedDocumentWriter::CDecryptedDocumentWriter(XRef &xref, Ref encrypt, bool clearMetadata)
    : m_XRef(xref), m_Encrypt(encrypt), m_bClearMetadata(clearMetadata) {
}

std::string CDecryptedDocumentWriter::Write() {
    std::string file = "%PDF-1.7\n%\xE2\xE3\xCF\xD3\n";
    CStringOutStream out(file);
    std::vector<WrittenObject> written;
    const int size = m_XRef.getNumObjects();
    for (int num = 1; num < size; ++num) {
        const XRefEntry *entry = m_XRef.getEntry(num, false);
        if (!entry || num == m_Encrypt.num ||
            (entry->type != xrefEntryUncompressed && entry->type != xrefEntryCompressed))
            continue;
        // Objects kept in object streams have generation 0; their entry's field is an index.
        const int gen = entry->type == xrefEntryUncompressed ? entry->gen : 0;
        const Goffset offset = out.getPos();
        if (WriteObject(num, gen, out))
            written.push_back({num, gen, offset});
    }
    const Goffset xrefOffset = out.getPos();
    WriteCrossReferences(written, out);
    WriteTrailer(written.empty() ? 1 : written.back().num + 1, out);
    out.printf("startxref\n%lld\n%%%%EOF\n", static_cast<long long>(xrefOffset));
    return file;
}

// Only the objects written are listed, in runs of consecutive numbers. A table may claim
// millions of numbers that hold nothing; listing each of them would cost the copy, and Poppler
// reading it, memory in proportion to the claim instead of to the file.
void CDecryptedDocumentWriter::WriteCrossReferences(const std::vector<WrittenObject> &written,
                                                    CStringOutStream &out) {
    out.printf("xref\n0 1\n0000000000 65535 f \n");
    for (auto run = written.begin(); run != written.end();) {
        auto end = std::next(run);
        while (end != written.end() && end->num == std::prev(end)->num + 1)
            ++end;
        out.printf("%d %td\n", run->num, end - run);
        for (; run != end; ++run)
            out.printf("%010lld %05d n \n", static_cast<long long>(run->offset), run->gen);
    }
}

bool CDecryptedDocumentWriter::WriteObject(int num, int gen, CStringOutStream &out) {
    Object object = m_XRef.fetch(num, gen);
    if (IsStreamOfType(object, "ObjStm") || IsStreamOfType(object, "XRef"))
        return false;
    out.printf("%d %d obj\n", num, gen);
    if (object.isStream())
        WriteStream(object, out);
    else if (object.isError() || object.isNone() || object.isEOF())
        out.printf("null");
    else
        PDFDoc::writeObject(&object, &out, &m_XRef, 0, nullptr, cryptRC4, 0, {num, gen});
    out.printf("\nendobj\n");
    return true;
}

void CDecryptedDocumentWriter::WriteStream(Object &object, CStringOutStream &out) {
    Stream *stream = object.getStream();
    const bool clear = m_bClearMetadata && IsStreamOfType(object, "Metadata");
    const std::string bytes = EncodedBytes(stream, clear);
    // Decryption changes the length: AES drops its initialisation vector and padding.
    stream->getDict()->set("Length", Object(static_cast<long long>(bytes.size())));
    Object dict = stream->getDictObject()->copy();
    PDFDoc::writeObject(&dict, &out, &m_XRef, 0, nullptr, cryptRC4, 0, Ref::INVALID());
    out.printf("\nstream\n");
    out.Append(bytes);
    out.printf("\nendstream");
}

void CDecryptedDocumentWriter::WriteTrailer(int size, CStringOutStream &out) {
    Dict *old = m_XRef.getTrailerDict()->getDict();
    Object trailer(new Dict(&m_XRef));
    trailer.dictSet("Size", Object(size));
    // The table's own root: after a repair the old trailer may name none.
    trailer.dictSet("Root", Object(m_XRef.getRoot()));
    for (const char *key : {"Info", "ID"}) {
        const Object &value = old->lookupNF(key);
        if (!value.isNull())
            trailer.dictSet(key, value.copy());
    }
    out.printf("trailer\n");
    PDFDoc::writeObject(&trailer, &out, &m_XRef, 0, nullptr, cryptRC4, 0, Ref::INVALID());
    out.printf("\n");
}

std::unique_ptr<PDFDoc> OpenDecryptedDocument(std::string bytes, const std::string &fileName,
                                              std::shared_ptr<GooFile> original,
                                              Goffset headerOffset) {
    return std::make_unique<PDFDoc>(
        new CDecryptedFileStream(std::move(bytes), fileName, std::move(original), headerOffset));
}

} // namespace engine_ext
