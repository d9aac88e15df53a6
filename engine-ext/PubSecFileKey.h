#pragma once

#include <Object.h> // brings Stream.h with CryptAlgorithm; Stream.h alone does not compile

#include <optional>
#include <string>
#include <vector>

class Dict;

namespace engine_ext {

// What a certificate-encryption dictionary says about its file key.
struct PubSecParameters {
    int nVersion = 0;           // V as read
    int nRevision = 0;          // R as read, kept for Poppler's records only
    std::size_t nKeyLength = 0; // bytes of the digest that form the file key
    CryptAlgorithm algorithm = cryptRC4;
    bool bSha256 = false;                // V 5 digests with SHA-256, all others with SHA-1
    bool bEncryptMetadata = true;        // false: the metadata stream is stored in the clear
    std::vector<std::string> recipients; // the string elements of Recipients, in array order
};

// Reads the dictionary; nullopt when it cannot describe a usable key (no Recipients array, a
// crypt filter missing or of an unknown method, a key length outside 40 to 128 bits).
std::optional<PubSecParameters> ReadPubSecParameters(const Dict &encrypt);

// The file key from a decrypted recipient block's content: the digest of its 20-byte seed and of
// every recipient string in array order (and four FF bytes when metadata stays in the clear),
// cut to the key length. NSS must be initialised.
std::vector<unsigned char> DerivePubSecFileKey(const PubSecParameters &parameters,
                                               const std::vector<unsigned char> &content);

} // namespace engine_ext
