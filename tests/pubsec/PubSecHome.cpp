#include "tests/pubsec/PubSecHome.h"

#include "tests/support/ShellCommand.h"

#include <cstdlib>
#include <regex>

namespace testsupport {

std::string PubSecFixture(const std::string &name) {
    return Fixture("pubsec/" + name);
}

const std::vector<std::string> &FixturesForAlice() {
    static const std::vector<std::string> names = {
        "v1.pdf",        "v2-40.pdf",         "v2-128.pdf",
        "v4-rc4.pdf",    "v4-aes.pdf",        "v4-aes-clear-metadata.pdf",
        "v5-aes256.pdf", "second-of-two.pdf", "one-envelope.pdf",
        "pdfbox-v1.pdf", "pdfbox-v2.pdf",     "pdfbox-v5.pdf"};
    return names;
}

CPubSecHome::CPubSecHome(const std::vector<Keystore> &keystores, const std::string &dbPassword,
                         bool withDatabase) {
    if (const char *home = std::getenv("HOME"))
        m_strOldHome = home;
    Enter();
    if (m_Dir.Path().empty())
        return;
    if (!withDatabase) {
        m_bReady = true;
        return;
    }
    std::string command = "sh " + ShellQuoted(SourceDir() + "/tests/pubsec/make-nssdb.sh") + " " +
                          ShellQuoted(m_Dir.Path()) + " " + ShellQuoted(dbPassword);
    for (const Keystore &keystore : keystores)
        command += " " + ShellQuoted(keystore.path) + " " + ShellQuoted(keystore.password);
    m_bReady = std::system(command.c_str()) == 0;
}

CPubSecHome::~CPubSecHome() {
    if (m_strOldHome)
        setenv("HOME", m_strOldHome->c_str(), 1);
    else
        unsetenv("HOME");
}

void CPubSecHome::Enter() const {
    setenv("HOME", m_Dir.Path().c_str(), 1);
}

CPubSecHome::Keystore CPubSecHome::Alice() {
    return {PubSecFixture("alice.p12"), ""};
}

std::vector<CPubSecHome::Keystore> CPubSecHome::CorpusKeystores() {
    const std::string corpus = CorpusDir();
    if (corpus.empty())
        return {};
    return {{corpus + "/pdfbox-PDFBOX-4421-keystore.pfx", "w!z%C*F-JaNdRgUk"},
            {corpus + "/pdfbox-PDFBOX-5249.p12", ""}};
}

std::vector<CPubSecHome::Keystore> CPubSecHome::AliceAndCorpus() {
    std::vector<Keystore> keys = CorpusKeystores();
    keys.push_back(Alice());
    return keys;
}

CScriptedPasswordPrompt::CScriptedPasswordPrompt(std::vector<std::string> answers)
    : m_Answers(std::move(answers)) {
    platform::SetPasswordPromptHook(this);
}

std::optional<std::string> CScriptedPasswordPrompt::AskPassword(const std::string &what) {
    m_Asked.push_back(what);
    if (m_Asked.size() > m_Answers.size())
        return std::nullopt;
    return m_Answers[m_Asked.size() - 1];
}

std::optional<int> ErrorCodeOf(const std::string &message) {
    static const std::regex pattern("错误代码:\t(-?[0-9]+)");
    std::smatch match;
    if (!std::regex_match(message, match, pattern))
        return std::nullopt;
    return std::stoi(match[1]);
}

} // namespace testsupport
