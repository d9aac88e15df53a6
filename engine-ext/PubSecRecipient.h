#pragma once

#include <optional>
#include <string>
#include <vector>

namespace engine_ext {

class CPubSecDatabase;

// Opens the recipient blocks of one certificate-encrypted document. A block is a DER-encoded
// CMS enveloped-data message; NSS's CMS decoder decrypts it with the first of its recipients
// whose certificate and private key are in the user's database.
//
// The decryptor never asks the user anything: it runs while the database is held, and a prompt
// runs an event loop from which another document may be opened. A token that wants its
// password is named by LockedToken(); the caller asks the user with the database released and
// offers the answer to the next attempt.
class CPubSecRecipientDecryptor {
public:
    // Decrypted content longer than this is refused: a seed and its permission bytes are 24.
    static constexpr std::size_t kMaxContent = 1024;

    // Decrypts with the keys of `database`, which must outlive the decryptor.
    explicit CPubSecRecipientDecryptor(const CPubSecDatabase &database);

    // Given, once, to the first token that asks for its password during a later Decrypt.
    void OfferPassword(std::string password) { m_Request.offered = std::move(password); }

    // The content of one block, or nullopt; ErrorCode() then holds NSS's reason.
    std::optional<std::vector<unsigned char>> Decrypt(const std::string &block);
    int ErrorCode() const { return m_nError; }
    // The token that asked for a password during the last Decrypt and was given none or a
    // wrong one: the block may open once the user has told its password.
    const std::optional<std::string> &LockedToken() const { return m_Request.token; }

    // What NSS's password callback reads and writes.
    struct PasswordRequest {
        std::optional<std::string> offered;
        std::optional<std::string> token;
    };

private:
    const CPubSecDatabase &m_Database;
    PasswordRequest m_Request;
    int m_nError = 0;
};

} // namespace engine_ext
