#include "engine-ext/PubSecFileKey.h"

#include <Dict.h>
#include <Object.h>

#include <sechash.h>

#include <algorithm>
#include <memory>

namespace engine_ext {

namespace {

constexpr std::size_t kSeedLength = 20;
constexpr int kMinKeyBits = 40;
constexpr int kMaxKeyBits = 128;
constexpr unsigned char kClearMetadataMark[] = {0xFF, 0xFF, 0xFF, 0xFF};

bool ReadRecipients(const Dict &owner, PubSecParameters &out) {
    const Object recipients = owner.lookup("Recipients");
    if (!recipients.isArray())
        return false;
    for (int i = 0; i < recipients.arrayGetLength(); ++i) {
        const Object element = recipients.arrayGet(i);
        if (element.isString())
            out.recipients.push_back(element.getString()->toStr());
    }
    return true;
}

bool IsFalse(const Dict &dict, const char *key) {
    const Object value = dict.lookup(key);
    return value.isBool() && !value.getBool();
}

// V 4 and V 5 keep the key method and the recipients in the crypt filter DefaultCryptFilter.
bool ReadCryptFilter(const Dict &encrypt, PubSecParameters &out) {
    const Object filters = encrypt.lookup("CF");
    const Object filter = filters.isDict() ? filters.dictLookup("DefaultCryptFilter") : Object();
    if (!filter.isDict())
        return false;
    const Object method = filter.dictLookup("CFM");
    if (out.nVersion == 4 && method.isName("V2")) {
        out.nKeyLength = 16;
        out.algorithm = cryptRC4;
    } else if (out.nVersion == 4 && method.isName("AESV2")) {
        out.nKeyLength = 16;
        out.algorithm = cryptAES;
    } else if (out.nVersion == 5 && method.isName("AESV3")) {
        out.nKeyLength = 32;
        out.algorithm = cryptAES256;
        out.bSha256 = true;
    } else {
        return false;
    }
    out.bEncryptMetadata =
        !IsFalse(*filter.getDict(), "EncryptMetadata") && !IsFalse(encrypt, "EncryptMetadata");
    return ReadRecipients(*filter.getDict(), out);
}

bool ReadLength(const Dict &encrypt, PubSecParameters &out) {
    const Object length = encrypt.lookup("Length");
    const int bits = length.isInt() ? length.getInt() : kMinKeyBits;
    if (bits < kMinKeyBits || bits > kMaxKeyBits)
        return false;
    out.nKeyLength = static_cast<std::size_t>(bits / 8);
    return true;
}

struct HashDeleter {
    void operator()(HASHContext *context) const { HASH_Destroy(context); }
};

} // namespace

std::optional<PubSecParameters> ReadPubSecParameters(const Dict &encrypt) {
    PubSecParameters out;
    const Object version = encrypt.lookup("V");
    const Object revision = encrypt.lookup("R");
    out.nVersion = version.isInt() ? version.getInt() : 0;
    out.nRevision = revision.isInt() ? revision.getInt() : 0;
    bool usable = false;
    if (out.nVersion == 4 || out.nVersion == 5) {
        usable = ReadCryptFilter(encrypt, out);
    } else if (out.nVersion == 2) {
        usable = ReadLength(encrypt, out) && ReadRecipients(encrypt, out);
    } else {
        out.nKeyLength = kMinKeyBits / 8;
        usable = ReadRecipients(encrypt, out);
    }
    return usable ? std::optional<PubSecParameters>(std::move(out)) : std::nullopt;
}

std::vector<unsigned char> DerivePubSecFileKey(const PubSecParameters &parameters,
                                               const std::vector<unsigned char> &content) {
    // A short content leaves the rest of the seed zero, as the fixed buffer it was read into.
    unsigned char seed[kSeedLength] = {};
    std::copy_n(content.begin(), std::min(content.size(), kSeedLength), seed);

    std::unique_ptr<HASHContext, HashDeleter> hash(
        HASH_Create(parameters.bSha256 ? HASH_AlgSHA256 : HASH_AlgSHA1));
    if (!hash)
        return {};
    HASH_Begin(hash.get());
    HASH_Update(hash.get(), seed, kSeedLength);
    for (const std::string &recipient : parameters.recipients)
        HASH_Update(hash.get(), reinterpret_cast<const unsigned char *>(recipient.data()),
                    static_cast<unsigned int>(recipient.size()));
    if (!parameters.bEncryptMetadata)
        HASH_Update(hash.get(), kClearMetadataMark, sizeof kClearMetadataMark);
    unsigned char digest[HASH_LENGTH_MAX];
    unsigned int length = 0;
    HASH_End(hash.get(), digest, &length, sizeof digest);
    return std::vector<unsigned char>(
        digest, digest + std::min<std::size_t>(length, parameters.nKeyLength));
}

} // namespace engine_ext
