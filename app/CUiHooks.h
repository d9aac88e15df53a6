#pragma once

#include "platform/UiHooks.h"

#include <memory>

class QPrintDialog;
class QPrinter;

// What the engine asks of the user, answered with Qt dialogs: a message with an OK button, a
// password for the certificate database, and the print dialog. Calls from another thread wait
// for the dialog on the user-interface thread.
class CQtMessageBoxHook : public platform::MessageBoxHook {
public:
    void ShowMessage(const std::string &text) override;
};

class CQtPasswordPromptHook : public platform::PasswordPromptHook {
public:
    std::optional<std::string> AskPassword(const std::string &what) override;
};

// Qt's print dialog over a printer of the desktop's print system: all pages, the current page
// or page ranges, the paper's orientation among the printer's properties, copies for the printer
// to make. Selection and printing to a file are not offered.
class CQtPrintDialogHook : public platform::PrintDialogHook {
public:
    std::optional<platform::PrintChoice>
    ShowPrintDialog(const platform::PrintDialogSetup &setup) override;

    // The choice the dialog left in the printer, with that printer to print on.
    static platform::PrintChoice ChoiceFromPrinter(std::unique_ptr<QPrinter> printer,
                                                   const QPrintDialog &dialog);

protected:
    // What a scripted dialog changes: the printer the dialog starts from, and how it is run.
    virtual std::unique_ptr<QPrinter> MakePrinter();
    virtual int ExecDialog(QPrintDialog &dialog);
};

// Installs the hooks for its lifetime.
class CUiHooks {
public:
    CUiHooks();
    ~CUiHooks();
    CUiHooks(const CUiHooks &) = delete;
    CUiHooks &operator=(const CUiHooks &) = delete;

private:
    CQtMessageBoxHook m_MessageBox;
    CQtPasswordPromptHook m_PasswordPrompt;
    CQtPrintDialogHook m_PrintDialog;
};
