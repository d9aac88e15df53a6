#include "engine-ext/PubSecLoader.h"

#include "engine-ext/FileInMemory.h"
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
#include <goo/gfile.h>

#include <algorithm>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace engine_ext {

namespace {

// Every permission: the user holds a recipient's key, which counts as owner access.
constexpr int kAllPermissions = -1;

Object EncryptDictionary(XRef &xref) {
    return xref.getTrailerDict()->dictLookup("Encrypt");
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

namespace {

// Blocks are tried with the database held, the user is asked with it released: whatever the
// prompt's event loop does, opening another certificate document included, never waits on
// this search. A block that wanted the password is tried again with the answer.
class CCertificateKeySearch {
public:
    explicit CCertificateKeySearch(const PubSecParameters &parameters)
        : m_Parameters(parameters),
          m_nLimit(std::min(parameters.recipients.size(), kMaxRecipientsTried)) {}

    CertificateKey Run() {
        while (const std::optional<std::string> token = TryBlocks())
            AskPassword(*token);
        return std::move(m_Result);
    }

private:
    // Tries the blocks from the next one on; stops at the first that opens or that waits for a
    // password the user may still be asked for, and then names its token.
    std::optional<std::string> TryBlocks() {
        const CPubSecDatabase database;
        if (!database.IsOpen()) {
            m_Result.nError = database.ErrorCode();
            return std::nullopt;
        }
        CPubSecRecipientDecryptor decryptor(database);
        if (m_Answer)
            decryptor.OfferPassword(*std::exchange(m_Answer, std::nullopt));
        for (; m_nNext < m_nLimit; ++m_nNext) {
            ++m_Result.nBlocksTried;
            // The key is derived while the database is held: digests need NSS.
            if (const auto content = decryptor.Decrypt(m_Parameters.recipients[m_nNext])) {
                m_Result.key = DerivePubSecFileKey(m_Parameters, *content);
                return std::nullopt;
            }
            m_Result.nError = decryptor.ErrorCode();
            if (decryptor.LockedToken() && !m_bDeclined && m_nAsked < kMaxPasswordPrompts)
                return decryptor.LockedToken();
        }
        return std::nullopt;
    }

    // A refusal leaves the block locked: the search moves on and asks no more.
    void AskPassword(const std::string &token) {
        ++m_nAsked;
        m_Answer = platform::AskPassword(token);
        if (!m_Answer) {
            m_bDeclined = true;
            ++m_nNext;
        }
    }

    const PubSecParameters &m_Parameters;
    const std::size_t m_nLimit;
    std::size_t m_nNext = 0;
    std::optional<std::string> m_Answer;
    int m_nAsked = 0;
    bool m_bDeclined = false;
    CertificateKey m_Result;
};

} // namespace

CertificateKey FindCertificateKey(const PubSecParameters &parameters) {
    return CCertificateKeySearch(parameters).Run();
}

namespace {

// The refused document when it was read from these very bytes, else the bytes read anew. Every
// object is read once more, which from memory takes half the time it takes through the file
// stream's small reads. Poppler refuses a new reading as it refused the file.
std::unique_ptr<PDFDoc> SourceDocument(const std::string &file, RefusedDocument refused) {
    if (refused.pDoc && refused.pBytes && *refused.pBytes == file)
        return std::move(refused.pDoc);
    return std::make_unique<PDFDoc>(
        new MemStream(file.data(), 0, static_cast<Goffset>(file.size()), Object()));
}

// The plain bytes of a certificate-encrypted file, or nothing when the file is not the one the
// key was found for. Poppler's reading of the file goes with this function: the copy is opened
// after it, so the two tables are never held at once.
std::optional<std::string> DecryptedCopy(const std::string &file,
                                         const PubSecParameters &parameters,
                                         const std::vector<unsigned char> &key,
                                         RefusedDocument refused, Goffset &headerOffset) {
    const std::unique_ptr<PDFDoc> source = SourceDocument(file, std::move(refused));
    // Read before the table is keyed: afterwards the recipient strings would be "decrypted".
    // The refused document's table was never keyed: its handler was unknown to Poppler.
    const std::optional<PubSecParameters> now = ReadCertificateParameters(*source);
    if (!now || now->recipients != parameters.recipients || key.size() != now->nKeyLength)
        return std::nullopt;
    // Poppler starts the file at its "%PDF-" header; a copy starts there too.
    headerOffset = source->getBaseStream()->getStart();
    XRef &xref = *source->getXRef();
    const Object &encryptRef = xref.getTrailerDict()->dictLookupNF("Encrypt");
    xref.setEncryption(kAllPermissions, true, key.data(), static_cast<int>(key.size()),
                       now->nVersion, now->nRevision, now->algorithm);
    CDecryptedDocumentWriter writer(xref, encryptRef.isRef() ? encryptRef.getRef() : Ref::INVALID(),
                                    !now->bEncryptMetadata);
    return writer.Write();
}

} // namespace

CertificateDocument OpenCertificateEncrypted(const std::string &fileName,
                                             const PubSecParameters &parameters,
                                             const std::vector<unsigned char> &key,
                                             RefusedDocument refused) {
    std::shared_ptr<GooFile> original = GooFile::open(fileName);
    const std::optional<std::string> file = original ? ReadWholeFile(*original) : std::nullopt;
    if (!file)
        return {Failed(fileName, errOpenFile), nullptr};
    Goffset header = 0;
    std::optional<std::string> copy =
        DecryptedCopy(*file, parameters, key, std::move(refused), header);
    if (!copy)
        return {Failed(fileName, errDamaged), nullptr};
    return {OpenDecryptedDocument(std::move(*copy), fileName, original, header), original};
}

std::string CertificateFailureMessage(int nssError) {
    return "错误代码:\t" + std::to_string(nssError);
}

} // namespace engine_ext
