#include "platform/UiHooks.h"

#include <atomic>

namespace platform {

namespace {

std::atomic<MessageBoxHook *> g_pMessageBox{nullptr};
std::atomic<PasswordPromptHook *> g_pPasswordPrompt{nullptr};
std::atomic<PrintDialogHook *> g_pPrintDialog{nullptr};

} // namespace

void SetMessageBoxHook(MessageBoxHook *hook) {
    g_pMessageBox = hook;
}

void SetPasswordPromptHook(PasswordPromptHook *hook) {
    g_pPasswordPrompt = hook;
}

void SetPrintDialogHook(PrintDialogHook *hook) {
    g_pPrintDialog = hook;
}

void ShowMessageBox(const std::string &text) {
    if (MessageBoxHook *hook = g_pMessageBox)
        hook->ShowMessage(text);
}

std::optional<std::string> AskPassword(const std::string &what) {
    if (PasswordPromptHook *hook = g_pPasswordPrompt)
        return hook->AskPassword(what);
    return std::nullopt;
}

std::optional<PrintChoice> ShowPrintDialog(const PrintDialogSetup &setup) {
    if (PrintDialogHook *hook = g_pPrintDialog)
        return hook->ShowPrintDialog(setup);
    return std::nullopt;
}

} // namespace platform
