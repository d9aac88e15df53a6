#include "engine-ext/PubSecRecipient.h"

#include "engine-ext/PubSecDatabase.h"

#include <cms.h>
#include <pk11pub.h>
#include <prerror.h>
#include <secerr.h>

#include <memory>

namespace engine_ext {

namespace {

// NSS asks again after a wrong password until the callback gives up. The offered password is
// handed over once; any further request names the token for the caller to ask the user.
char *OnPasswordRequest(PK11SlotInfo *slot, PRBool, void *arg) {
    auto *request = static_cast<CPubSecRecipientDecryptor::PasswordRequest *>(arg);
    if (!request)
        return nullptr;
    if (request->offered) {
        char *password = PORT_Strdup(request->offered->c_str());
        request->offered.reset();
        return password;
    }
    request->token = PK11_GetTokenName(slot);
    return nullptr;
}

struct MessageDeleter {
    void operator()(NSSCMSMessage *message) const { NSS_CMSMessage_Destroy(message); }
};

} // namespace

CPubSecRecipientDecryptor::CPubSecRecipientDecryptor(const CPubSecDatabase &database)
    : m_Database(database) {
}

std::optional<std::vector<unsigned char>>
CPubSecRecipientDecryptor::Decrypt(const std::string &block) {
    if (!m_Database.IsOpen()) {
        m_nError = m_Database.ErrorCode();
        return std::nullopt;
    }
    m_Request.token.reset();
    SECItem der{siBuffer, reinterpret_cast<unsigned char *>(const_cast<char *>(block.data())),
                static_cast<unsigned int>(block.size())};
    std::unique_ptr<NSSCMSMessage, MessageDeleter> message(NSS_CMSMessage_CreateFromDER(
        &der, nullptr, nullptr, OnPasswordRequest, &m_Request, nullptr, nullptr));
    if (!message) {
        m_nError = PR_GetError();
        return std::nullopt;
    }
    // A signed or plain message decodes without any key; only an enveloped one was decrypted.
    NSSCMSContentInfo *outer = NSS_CMSMessage_ContentLevel(message.get(), 0);
    if (!outer || NSS_CMSContentInfo_GetContentTypeTag(outer) != SEC_OID_PKCS7_ENVELOPED_DATA) {
        m_nError = SEC_ERROR_BAD_DATA;
        return std::nullopt;
    }
    const SECItem *content = NSS_CMSMessage_GetContent(message.get());
    if (!content || content->len > kMaxContent) {
        m_nError = SEC_ERROR_BAD_DATA;
        return std::nullopt;
    }
    return std::vector<unsigned char>(content->data, content->data + content->len);
}

} // namespace engine_ext
