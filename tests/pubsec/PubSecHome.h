#pragma once

#include "platform/UiHooks.h"
#include "tests/support/TestPaths.h"

#include <mutex>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

// A certificate-encrypted fixture by name, e.g. PubSecFixture("v4-aes.pdf").
std::string PubSecFixture(const std::string &name);

// Every fixture that alice can open, each a copy of plain.pdf: our generator's variants, two
// with a recipient for bob first, and Apache PDFBox's.
const std::vector<std::string> &FixturesForAlice();

// A test user: a temporary home folder that $HOME points at while the object lives, with a
// certificate database made by make-nssdb.sh. The machine's own database is never read.
class CPubSecHome {
public:
    struct Keystore {
        std::string path;
        std::string password;
    };
    // No database at all when withDatabase is false.
    explicit CPubSecHome(const std::vector<Keystore> &keystores, const std::string &dbPassword = "",
                         bool withDatabase = true);
    ~CPubSecHome();
    CPubSecHome(const CPubSecHome &) = delete;
    CPubSecHome &operator=(const CPubSecHome &) = delete;

    // Points $HOME here again (after another home took it).
    void Enter() const;
    bool IsReady() const { return m_bReady; }

    // alice.p12, the key every "for alice" fixture is encrypted for.
    static Keystore Alice();
    // The real-world keystores published with the corpus files, when the corpus is there.
    static std::vector<Keystore> CorpusKeystores();
    // Both of the above.
    static std::vector<Keystore> AliceAndCorpus();

private:
    CTempDir m_Dir;
    std::optional<std::string> m_strOldHome;
    bool m_bReady = false;
};

// Records every message the engine shows, from whichever thread shows it.
class CRecordingMessageBox : public platform::MessageBoxHook {
public:
    CRecordingMessageBox() { platform::SetMessageBoxHook(this); }
    ~CRecordingMessageBox() override { platform::SetMessageBoxHook(nullptr); }
    void ShowMessage(const std::string &text) override {
        std::lock_guard lock(m_Lock);
        m_Messages.push_back(text);
    }
    // Read once the threads that show messages are done.
    std::vector<std::string> m_Messages;

private:
    std::mutex m_Lock;
};

// Answers password requests from a list, then declines; records what was asked for.
class CScriptedPasswordPrompt : public platform::PasswordPromptHook {
public:
    explicit CScriptedPasswordPrompt(std::vector<std::string> answers);
    ~CScriptedPasswordPrompt() override { platform::SetPasswordPromptHook(nullptr); }
    std::optional<std::string> AskPassword(const std::string &what) override;
    std::vector<std::string> m_Asked;

private:
    std::vector<std::string> m_Answers;
};

// The number in an "错误代码:\t<n>" message, or nullopt when the text is not one.
std::optional<int> ErrorCodeOf(const std::string &message);

} // namespace testsupport
