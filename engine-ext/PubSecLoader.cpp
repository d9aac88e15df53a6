#include "engine-ext/PubSecLoader.h"

#include "engine-ext/PubSecDatabase.h"
#include "engine-ext/PubSecDocument.h"
#include "engine-ext/PubSecFileKey.h"
#include "engine-ext/PubSecRecipient.h"
#include "platform/UiHooks.h"

#include <ErrorCodes.h>
#include <PDFDoc.h>
#include <Stream.h>
#include <XRef.h>
#include <goo/GooString.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace engine_ext {

namespace {

// Every permission: the user holds a recipient's key, which counts as owner access.
constexpr int kAllPermissions = -1;

Object EncryptDictionary(XRef &xref) {
    return xref.getTrailerDict()->dictLookup("Encrypt");
}

std::optional<std::string> ReadFile(const std::string &name) {
    std::ifstream in(name, std::ios::binary);
    if (!in)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::unique_ptr<PDFDoc> Failed(PDFDoc &refused, int errorCode) {
    const GooString *name = refused.getFileName();
    return PDFDoc::ErrorPDFDoc(errorCode, std::make_unique<GooString>(name ? name->toStr() : ""));
}

// The file key from the first recipient block that opens, in array order, or the NSS error of
// the last attempt. The key is derived while the database is held: digests need NSS.
struct KeySearch {
    std::vector<unsigned char> key;
    int nError = 0;
};

KeySearch FindFileKey(const PubSecParameters &parameters) {
    KeySearch search;
    const CPubSecDatabase database;
    CPubSecRecipientDecryptor decryptor(database);
    for (const std::string &block : parameters.recipients) {
        if (const auto content = decryptor.Decrypt(block)) {
            search.key = DerivePubSecFileKey(parameters, *content);
            return search;
        }
    }
    // Without any recipient string the database's own state is all there is to report.
    search.nError = parameters.recipients.empty() ? database.ErrorCode() : decryptor.ErrorCode();
    return search;
}

} // namespace

bool IsCertificateEncrypted(PDFDoc &refused) {
    if (refused.isOk() || refused.getErrorCode() != errEncrypted || !refused.getXRef())
        return false;
    const Object encrypt = EncryptDictionary(*refused.getXRef());
    return encrypt.isDict() && encrypt.dictLookup("Filter").isName("Adobe.PubSec");
}

std::unique_ptr<PDFDoc> OpenCertificateEncrypted(PDFDoc &refused) {
    const GooString *name = refused.getFileName();
    const std::optional<std::string> file = name ? ReadFile(name->toStr()) : std::nullopt;
    if (!file)
        return Failed(refused, errOpenFile);
    // Every object is read once more below, which from memory takes half the time it takes
    // through the file stream's small reads. Poppler refuses this copy as it refused the file.
    PDFDoc source(new MemStream(file->data(), 0, static_cast<Goffset>(file->size()), Object()));
    if (!IsCertificateEncrypted(source))
        return Failed(refused, errDamaged);
    XRef &xref = *source.getXRef();
    // Read before the table is keyed: afterwards the recipient strings would be "decrypted".
    const Object encrypt = EncryptDictionary(xref);
    const Object &encryptRef = xref.getTrailerDict()->dictLookupNF("Encrypt");
    const std::optional<PubSecParameters> parameters = ReadPubSecParameters(*encrypt.getDict());
    if (!parameters)
        return Failed(refused, errDamaged);
    const KeySearch search = FindFileKey(*parameters);
    if (search.key.size() != parameters->nKeyLength) {
        platform::ShowMessageBox("错误代码:\t" + std::to_string(search.nError));
        return Failed(refused, errEncrypted);
    }
    xref.setEncryption(kAllPermissions, true, search.key.data(),
                       static_cast<int>(search.key.size()), parameters->nVersion,
                       parameters->nRevision, parameters->algorithm);
    CDecryptedDocumentWriter writer(xref, encryptRef.isRef() ? encryptRef.getRef() : Ref::INVALID(),
                                    !parameters->bEncryptMetadata);
    return OpenDecryptedDocument(writer.Write(), name);
}

} // namespace engine_ext
