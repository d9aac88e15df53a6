#pragma once

#include <optional>
#include <string>
#include <vector>

namespace engine_ext {

class CPubSecDatabase;

// Opens the recipient blocks of one certificate-encrypted document. A block is a DER-encoded
// CMS enveloped-data message; NSS's CMS decoder decrypts it with the first of its recipients
// whose certificate and private key are in the user's database.
class CPubSecRecipientDecryptor {
public:
    // Decrypted content longer than this is refused: a seed and its permission bytes are 24.
    static constexpr std::size_t kMaxContent = 1024;
    // A database with a password is asked for it at most this often per document.
    static constexpr int kMaxPasswordPrompts = 3;

    // Decrypts with the keys of `database`, which must outlive the decryptor.
    explicit CPubSecRecipientDecryptor(const CPubSecDatabase &database);

    // The content of one block, or nullopt; ErrorCode() then holds NSS's reason.
    std::optional<std::vector<unsigned char>> Decrypt(const std::string &block);
    int ErrorCode() const { return m_nError; }

    // Where NSS's password callback keeps count for one document.
    struct PasswordPrompts {
        int nAsked = 0;
        bool bDeclined = false;
    };

private:
    const CPubSecDatabase &m_Database;
    PasswordPrompts m_Prompts;
    int m_nError = 0;
};

} // namespace engine_ext
