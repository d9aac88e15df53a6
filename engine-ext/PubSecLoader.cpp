#include "engine-ext/PubSecLoader.h"

#include "engine-ext/PubSecDatabase.h"
#include "engine-ext/PubSecDocument.h"
#include "engine-ext/PubSecFileKey.h"
#include "engine-ext/PubSecRecipient.h"

#include <ErrorCodes.h>
#include <PDFDoc.h>
#include <Stream.h>
#include <XRef.h>
#include <goo/GooString.h>
#include <goo/gfile.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

namespace engine_ext {

namespace {

// Every permission: the user holds a recipient's key, which counts as owner access.
constexpr int kAllPermissions = -1;
// A block costs a private-key operation when its recipient names one of the user's
// certificates; real documents carry a handful, a crafted one could carry thousands.
constexpr std::size_t kMaxRecipientsTried = 256;

Object EncryptDictionary(XRef &xref) {
    return xref.getTrailerDict()->dictLookup("Encrypt");
}

std::optional<std::string> ReadAll(const GooFile &file) {
    const Goffset size = file.size();
    if (size < 0)
        return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    for (Goffset done = 0; done < size;) {
        const int chunk = static_cast<int>(std::min<Goffset>(size - done, 1 << 20));
        const int got = file.read(bytes.data() + done, chunk, done);
        if (got <= 0)
            return std::nullopt;
        done += got;
    }
    return bytes;
}

std::unique_ptr<PDFDoc> Failed(const std::string &fileName, int errorCode) {
    return PDFDoc::ErrorPDFDoc(errorCode, std::make_unique<GooString>(fileName));
}

} // namespace

bool IsCertificateEncrypted(PDFDoc &refused) {
    if (refused.isOk() || refused.getErrorCode() != errEncrypted || !refused.getXRef())
        return false;
    const Object encrypt = EncryptDictionary(*refused.getXRef());
    return encrypt.isDict() && encrypt.dictLookup("Filter").isName("Adobe.PubSec");
}

std::optional<PubSecParameters> ReadCertificateParameters(PDFDoc &refused) {
    if (!IsCertificateEncrypted(refused))
        return std::nullopt;
    const Object encrypt = EncryptDictionary(*refused.getXRef());
    return ReadPubSecParameters(*encrypt.getDict());
}

// The key is derived while the database is held: digests need NSS.
CertificateKey FindCertificateKey(const PubSecParameters &parameters) {
    CertificateKey search;
    const CPubSecDatabase database;
    CPubSecRecipientDecryptor decryptor(database);
    const std::size_t tried = std::min(parameters.recipients.size(), kMaxRecipientsTried);
    for (std::size_t i = 0; i < tried; ++i) {
        if (const auto content = decryptor.Decrypt(parameters.recipients[i])) {
            search.key = DerivePubSecFileKey(parameters, *content);
            return search;
        }
    }
    // Without any recipient string the database's own state is all there is to report.
    search.nError = parameters.recipients.empty() ? database.ErrorCode() : decryptor.ErrorCode();
    return search;
}

CertificateDocument OpenCertificateEncrypted(const std::string &fileName,
                                             const PubSecParameters &parameters,
                                             const std::vector<unsigned char> &key) {
    std::shared_ptr<GooFile> original = GooFile::open(fileName);
    const std::optional<std::string> file = original ? ReadAll(*original) : std::nullopt;
    if (!file)
        return {Failed(fileName, errOpenFile), nullptr};
    // Every object is read once more below, which from memory takes half the time it takes
    // through the file stream's small reads. Poppler refuses this copy as it refused the file.
    PDFDoc source(new MemStream(file->data(), 0, static_cast<Goffset>(file->size()), Object()));
    // Read before the table is keyed: afterwards the recipient strings would be "decrypted".
    const std::optional<PubSecParameters> now = ReadCertificateParameters(source);
    if (!now || now->recipients != parameters.recipients || key.size() != now->nKeyLength)
        return {Failed(fileName, errDamaged), nullptr};
    // Poppler starts the file at its "%PDF-" header; a copy starts there too.
    const Goffset header = source.getBaseStream()->getStart();
    XRef &xref = *source.getXRef();
    const Object &encryptRef = xref.getTrailerDict()->dictLookupNF("Encrypt");
    xref.setEncryption(kAllPermissions, true, key.data(), static_cast<int>(key.size()),
                       now->nVersion, now->nRevision, now->algorithm);
    CDecryptedDocumentWriter writer(xref, encryptRef.isRef() ? encryptRef.getRef() : Ref::INVALID(),
                                    !now->bEncryptMetadata);
    return {OpenDecryptedDocument(writer.Write(), fileName, original, header), original};
}

std::string CertificateFailureMessage(int nssError) {
    return "错误代码:\t" + std::to_string(nssError);
}

} // namespace engine_ext
