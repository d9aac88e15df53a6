// A certificate database protected by a password: the engine asks through the password-prompt
// hook, gives up after a few wrong answers or one refusal, and never fails without asking.
// Every case has a database of its own: once unlocked, a database stays unlocked. The prompt
// runs an event loop, from which the reading view may open documents of its own.

#include "tests/pubsec/PubSecHome.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <future>

using testsupport::CEngineHandle;
using testsupport::CPubSecHome;
using testsupport::CRecordingMessageBox;
using testsupport::CScriptedPasswordPrompt;
using testsupport::PubSecFixture;

namespace {

const char kDatabasePassword[] = "Geheim 密码";

} // namespace

TEST(PubSecPassword, PromptAnswersDecideTheOutcome) {
    const struct {
        const char *scenario;
        std::vector<std::string> answers;
        int nResult;
        std::size_t nPrompts;
        std::size_t nMessages;
    } cases[] = {
        {"right password", {kDatabasePassword}, 0, 1, 0},
        {"wrong, then right", {"wrong", kDatabasePassword}, 0, 2, 0},
        {"always wrong", {"a", "b", "c", "d"}, -2, 3, 1},
        {"declined", {}, -2, 1, 1},
    };
    for (const auto &c : cases) {
        CPubSecHome home({CPubSecHome::Alice()}, kDatabasePassword);
        ASSERT_TRUE(home.IsReady());
        CRecordingMessageBox messages;
        CScriptedPasswordPrompt prompt(c.answers);
        CEngineHandle engine;
        EXPECT_EQ(engine.Open(PubSecFixture("v4-aes.pdf")), c.nResult) << c.scenario;
        EXPECT_EQ(prompt.m_Asked.size(), c.nPrompts) << c.scenario;
        EXPECT_EQ(messages.m_Messages.size(), c.nMessages) << c.scenario;
        for (const std::string &what : prompt.m_Asked)
            EXPECT_FALSE(what.empty()) << c.scenario;
    }
}

namespace {

// The user, asked for the password, first opens another certificate-encrypted document in a
// second window, which asks in its turn; both questions get the right answer.
class CPromptOpeningADocument : public platform::PasswordPromptHook {
public:
    CPromptOpeningADocument() { platform::SetPasswordPromptHook(this); }
    ~CPromptOpeningADocument() override { platform::SetPasswordPromptHook(nullptr); }
    std::optional<std::string> AskPassword(const std::string &) override {
        if (++m_nAsked == 1) {
            CEngineHandle other;
            m_nOtherOpened = other.Open(PubSecFixture("v5-aes256.pdf"));
            m_nOtherPages = PdfGetPageCount(other);
        }
        return kDatabasePassword;
    }
    int m_nAsked = 0;
    int m_nOtherOpened = -1;
    int m_nOtherPages = -1;
};

} // namespace

TEST(PubSecPassword, APromptMayOpenAnotherCertificateDocument) {
    CPubSecHome home({CPubSecHome::Alice()}, kDatabasePassword);
    ASSERT_TRUE(home.IsReady());
    CRecordingMessageBox messages;
    CPromptOpeningADocument prompt;
    auto opening = std::async(std::launch::async, [] {
        CEngineHandle engine;
        return engine.Open(PubSecFixture("v4-aes.pdf"));
    });
    if (opening.wait_for(std::chrono::seconds(60)) != std::future_status::ready) {
        ADD_FAILURE() << "the open waits on itself";
        std::_Exit(1); // the waiting thread can never be joined
    }
    EXPECT_EQ(opening.get(), 0);
    EXPECT_EQ(prompt.m_nAsked, 2);
    EXPECT_EQ(prompt.m_nOtherOpened, 0);
    EXPECT_EQ(prompt.m_nOtherPages, 6);
    EXPECT_TRUE(messages.m_Messages.empty());
}

namespace {

// The user, asked for the password, first replaces the file being opened with another one.
class CPromptReplacingTheFile : public platform::PasswordPromptHook {
public:
    CPromptReplacingTheFile(std::string path, std::string replacement)
        : m_strPath(std::move(path)), m_strReplacement(std::move(replacement)) {
        platform::SetPasswordPromptHook(this);
    }
    ~CPromptReplacingTheFile() override { platform::SetPasswordPromptHook(nullptr); }
    std::optional<std::string> AskPassword(const std::string &) override {
        std::filesystem::copy_file(m_strReplacement, m_strPath,
                                   std::filesystem::copy_options::overwrite_existing);
        return kDatabasePassword;
    }

private:
    std::string m_strPath;
    std::string m_strReplacement;
};

} // namespace

// What opens is the file as it is once the password is given, never what it held when the open
// began: a file now for another recipient is refused as damaged; the same bytes written anew open.
TEST(PubSecPassword, AFileReplacedDuringThePromptOpensAsItIsNow) {
    const struct {
        const char *replacement;
        int nResult;
    } cases[] = {{"for-bob.pdf", -1}, {"v5-aes256.pdf", 0}};
    for (const auto &c : cases) {
        CPubSecHome home({CPubSecHome::Alice()}, kDatabasePassword);
        ASSERT_TRUE(home.IsReady());
        const testsupport::CTempDir dir;
        const std::string path = dir / "opened.pdf";
        std::filesystem::copy_file(PubSecFixture("v5-aes256.pdf"), path);
        CRecordingMessageBox messages;
        CPromptReplacingTheFile prompt(path, PubSecFixture(c.replacement));
        CEngineHandle engine;
        EXPECT_EQ(engine.Open(path), c.nResult) << c.replacement;
        EXPECT_EQ(PdfGetPageCount(engine), c.nResult == 0 ? 6 : -1) << c.replacement;
    }
}
