#include "engine-ext/PubSecLoader.h"

#include "engine-ext/PubSecDatabase.h"
#include "engine-ext/PubSecDocument.h"
#include "engine-ext/PubSecFileKey.h"
#include "engine-ext/PubSecRecipient.h"
#include "platform/UiHooks.h"

#include <ErrorCodes.h>
#include <PDFDoc.h>
#include <XRef.h>
#include <goo/GooString.h>

#include <string>
#include <vector>

namespace engine_ext {

namespace {

// Every permission: the user holds a recipient's key, which counts as owner access.
constexpr int kAllPermissions = -1;

Object EncryptDictionary(XRef &xref) {
    return xref.getTrailerDict()->dictLookup("Encrypt");
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
    XRef &xref = *refused.getXRef();
    // Read before the table is keyed: afterwards the recipient strings would be "decrypted".
    const Object encrypt = EncryptDictionary(xref);
    const Object &encryptRef = xref.getTrailerDict()->dictLookupNF("Encrypt");
    const std::optional<PubSecParameters> parameters =
        encrypt.isDict() ? ReadPubSecParameters(*encrypt.getDict()) : std::nullopt;
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
    return OpenDecryptedDocument(writer.Write(), refused.getFileName());
}

} // namespace engine_ext
