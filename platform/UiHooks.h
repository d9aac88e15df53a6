#pragma once

// What engine code may ask of the person in front of the screen. The user interface installs
// its implementations at start-up and tests install recording fakes; engine code calls the
// free functions below. With no hook installed nothing is shown, every password request is
// declined and no print dialog is shown, so an engine without a user interface never blocks.

#include "platform/Printer.h"

#include <optional>
#include <string>

namespace platform {

class MessageBoxHook {
public:
    virtual ~MessageBoxHook() = default;
    // A modal message with an OK button, no owner window and no caption.
    virtual void ShowMessage(const std::string &text) = 0;
};

class PasswordPromptHook {
public:
    virtual ~PasswordPromptHook() = default;
    // Asks for the password that unlocks `what` (for instance a certificate database by its
    // name). nullopt when the user declines.
    virtual std::optional<std::string> AskPassword(const std::string &what) = 0;
};

class PrintDialogHook {
public:
    virtual ~PrintDialogHook() = default;
    // Shows the print dialog, modal, owned by the application's main window. nullopt when it
    // cannot be shown or the user leaves it without printing; otherwise the choice carries the
    // printer the job goes to.
    virtual std::optional<PrintChoice> ShowPrintDialog(const PrintDialogSetup &setup) = 0;
};

// The hooks are not owned; pass nullptr to remove one. Install before engines are used.
void SetMessageBoxHook(MessageBoxHook *hook);
void SetPasswordPromptHook(PasswordPromptHook *hook);
void SetPrintDialogHook(PrintDialogHook *hook);

void ShowMessageBox(const std::string &text);
std::optional<std::string> AskPassword(const std::string &what);
std::optional<PrintChoice> ShowPrintDialog(const PrintDialogSetup &setup);

} // namespace platform
