#pragma once

// Documents encrypted for certificate holders (security handler "Adobe.PubSec"). Poppler knows
// only the password handler and refuses them as encrypted; the cross-reference table it built
// for the refused document is where we take over: the file key comes from a recipient block
// opened with the user's certificate database, and the document is reopened decrypted.

#include "engine-ext/PubSecFileKey.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class GooFile;
class PDFDoc;

namespace engine_ext {

// True when Poppler refused the document as encrypted and its handler is "Adobe.PubSec".
bool IsCertificateEncrypted(PDFDoc &refused);

// Opening such a document takes three steps, so that no engine lock is held while the user's
// certificate database asks for its password or a failure is reported:
// 1. what the refused document's encryption dictionary says (nullopt: it is damaged);
std::optional<PubSecParameters> ReadCertificateParameters(PDFDoc &refused);

// 2. the file key from the first recipient block that opens with the user's certificates, in
//    array order, or the NSS error of the last attempt. A block costs a private-key operation
//    when its recipient names one of the user's certificates: real documents carry a handful,
//    a crafted one could carry thousands, so no more than kMaxRecipientsTried are tried. When
//    the database wants its password the user is asked through platform::AskPassword, a few
//    times per document at most, with the database released: the prompt may open documents.
constexpr std::size_t kMaxRecipientsTried = 256;
constexpr int kMaxPasswordPrompts = 3;
struct CertificateKey {
    std::vector<unsigned char> key; // empty when no block opened
    int nError = 0;
    std::size_t nBlocksTried = 0; // blocks handed to the database, a block retried counting again
};
CertificateKey FindCertificateKey(const PubSecParameters &parameters);

// 3. the file read again and opened decrypted with that key. It keeps the file's name: saving a
//    copy copies the encrypted file, from its header on, through the handle it was read with,
//    which is held open with it to tell whether the file changed since. A file that no longer
//    carries the same recipients fails with errDamaged.
//    The refused document of step 1 is decrypted in place of a new reading when the file still
//    holds the bytes it was read from: a crafted cross-reference table can make that reading
//    cost as much as the rest of the open.
struct RefusedDocument {
    std::unique_ptr<PDFDoc> pDoc;
    const std::string *pBytes = nullptr; // what pDoc was read from; null: not read into memory
};
struct CertificateDocument {
    std::unique_ptr<PDFDoc> pDoc;
    std::shared_ptr<GooFile> pFile; // null when the file could not be read
};
CertificateDocument OpenCertificateEncrypted(const std::string &fileName,
                                             const PubSecParameters &parameters,
                                             const std::vector<unsigned char> &key,
                                             RefusedDocument refused = {});

// The text shown when no recipient block opens.
std::string CertificateFailureMessage(int nssError);

} // namespace engine_ext
