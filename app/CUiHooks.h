#pragma once

#include "platform/UiHooks.h"

// What the engine asks of the user, answered with Qt dialogs: a message with an OK button, and
// a password for the certificate database. Calls from another thread wait for the dialog on the
// user-interface thread.
class CQtMessageBoxHook : public platform::MessageBoxHook {
public:
    void ShowMessage(const std::string &text) override;
};

class CQtPasswordPromptHook : public platform::PasswordPromptHook {
public:
    std::optional<std::string> AskPassword(const std::string &what) override;
};

// Installs both hooks for its lifetime.
class CUiHooks {
public:
    CUiHooks();
    ~CUiHooks();
    CUiHooks(const CUiHooks &) = delete;
    CUiHooks &operator=(const CUiHooks &) = delete;

private:
    CQtMessageBoxHook m_MessageBox;
    CQtPasswordPromptHook m_PasswordPrompt;
};
