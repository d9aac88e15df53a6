// A certificate database protected by a password: the engine asks through the password-prompt
// hook, gives up after a few wrong answers or one refusal, and never fails without asking.
// Every case has a database of its own: once unlocked, a database stays unlocked.

#include "tests/pubsec/PubSecHome.h"
#include "tests/support/EngineHandle.h"

#include <gtest/gtest.h>

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
