#pragma once

// Poppler cannot be given a file key for a security handler it does not know, so a
// certificate-encrypted document is read once through a cross-reference table keyed by hand
// and written out, object by object, as an unencrypted file in memory. Poppler then opens that
// like any other document; every later reading, drawing and extraction runs on plain bytes.

#include <Object.h>
#include <goo/gfile.h>

#include <memory>
#include <string>
#include <vector>

class GooFile;
class PDFDoc;
class XRef;

namespace engine_ext {

class CStringOutStream;

class CDecryptedDocumentWriter {
public:
    // xref: keyed with XRef::setEncryption. encrypt: the encryption dictionary's object, left
    // out. clearMetadata: metadata streams were stored unencrypted and are copied as they are.
    CDecryptedDocumentWriter(XRef &xref, Ref encrypt, bool clearMetadata);

    // The whole file: every object that is not free, a cross-reference table listing them and a
    // trailer. Object streams and cross-reference streams are not copied; their objects are
    // written one by one.
    std::string Write();

private:
    struct WrittenObject {
        int num;
        int gen;
        Goffset offset;
    };

    bool WriteObject(int num, int gen, CStringOutStream &out);
    static void WriteCrossReferences(const std::vector<WrittenObject> &written,
                                     CStringOutStream &out);
    void WriteStream(Object &object, CStringOutStream &out);
    void WriteTrailer(int size, CStringOutStream &out);

    XRef &m_XRef;
    Ref m_Encrypt;
    bool m_bClearMetadata;
};

// Opens written bytes as a document whose file is `original`, the encrypted file, named
// fileName: saving a copy copies that file from its header (at byte headerOffset) on, never the
// decrypted bytes, and relative links resolve beside it.
std::unique_ptr<PDFDoc> OpenDecryptedDocument(std::string bytes, const std::string &fileName,
                                              std::shared_ptr<GooFile> original,
                                              Goffset headerOffset);

} // namespace engine_ext
