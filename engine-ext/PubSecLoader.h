#pragma once

// Documents encrypted for certificate holders (security handler "Adobe.PubSec"). Poppler knows
// only the password handler and refuses them as encrypted; the cross-reference table it built
// for the refused document is where we take over: the file key comes from a recipient block
// opened with the user's certificate database, and the document is reopened decrypted.

#include <memory>

class PDFDoc;

namespace engine_ext {

// True when Poppler refused the document as encrypted and its handler is "Adobe.PubSec".
bool IsCertificateEncrypted(PDFDoc &refused);

// Opens a refused certificate-encrypted document. When no recipient block opens with the user's
// certificates, shows "错误代码:\t<NSS error code>" through the message-box hook and returns a
// document failed with errEncrypted; a damaged encryption dictionary fails with errDamaged.
// The document keeps the refused one's file name: saving a copy copies the encrypted file.
std::unique_ptr<PDFDoc> OpenCertificateEncrypted(PDFDoc &refused);

} // namespace engine_ext
