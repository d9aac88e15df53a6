// Prints a document through the program's own Qt print dialog and printer to a queue of the
// desktop's print system, making the choices in the dialog's widgets as a person would: the
// pages and the paper's orientation (the queue is the print system's default).
//   print_to_queue DOCUMENT PAGES portrait|landscape
// PAGES is what a person types into the dialog's page field, e.g. "2-3,5"; with "-" the dialog
// waits for a person instead. Prints the choice the engine received; the exit status is 0 when
// PdfPrint answered 0.

#include "app/CUiHooks.h"
#include "engine/PdfApi.h"
#include "tests/support/RecordingTree.h"

#include <QApplication>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QTimer>

#include <cstdio>
#include <cstring>

namespace {

class CScriptedQtDialog : public CQtPrintDialogHook {
public:
    CScriptedQtDialog(QString pages, bool landscape) : m_strPages(pages), m_bLandscape(landscape) {}

    std::optional<platform::PrintChoice>
    ShowPrintDialog(const platform::PrintDialogSetup &setup) override {
        std::optional<platform::PrintChoice> choice = CQtPrintDialogHook::ShowPrintDialog(setup);
        if (choice) {
            std::printf("choice: landscape %d ranges", choice->bLandscape ? 1 : 0);
            for (const platform::PageRange &r : choice->pageRanges)
                std::printf(" %d-%d", r.nFrom, r.nTo);
            std::printf("\n");
        }
        return choice;
    }

protected:
    // The orientation lives among the printer's properties, a dialog of its own: it is set on
    // the printer the print dialog starts from, which the dialog shows and hands back.
    std::unique_ptr<QPrinter> MakePrinter() override {
        std::unique_ptr<QPrinter> printer = CQtPrintDialogHook::MakePrinter();
        printer->setPageOrientation(m_bLandscape ? QPageLayout::Landscape : QPageLayout::Portrait);
        return printer;
    }

    int ExecDialog(QPrintDialog &dialog) override {
        if (m_strPages == "-")
            return dialog.exec();
        QTimer::singleShot(0, &dialog, [&] {
            auto *pagesButton = dialog.findChild<QRadioButton *>("pagesRadioButton");
            auto *pagesEdit = dialog.findChild<QLineEdit *>("pagesLineEdit");
            if (!pagesButton || !pagesEdit) {
                std::fprintf(stderr, "the print dialog has no page field\n");
                dialog.reject();
                return;
            }
            pagesButton->setChecked(true);
            pagesEdit->setText(m_strPages);
            dialog.accept();
        });
        return dialog.exec();
    }

private:
    QString m_strPages;
    bool m_bLandscape;
};

// What the program would tell the person in a message box goes to the output instead.
class CPrintedMessages : public platform::MessageBoxHook {
public:
    void ShowMessage(const std::string &text) override {
        std::printf("message: %s\n", text.c_str());
    }
};

} // namespace

int main(int argc, char **argv) {
    if (argc != 4 || (std::strcmp(argv[3], "portrait") && std::strcmp(argv[3], "landscape"))) {
        std::fprintf(stderr, "usage: %s DOCUMENT PAGES portrait|landscape\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    CScriptedQtDialog dialog(QString::fromUtf8(argv[2]), std::strcmp(argv[3], "landscape") == 0);
    platform::SetPrintDialogHook(&dialog);
    CPrintedMessages messages;
    platform::SetMessageBoxHook(&messages);
    PDFHANDLE h = PdfCreate();
    PdfSetResourceDir(h, (QCoreApplication::applicationDirPath() + "/rc").toUtf8().constData());
    testsupport::CRecordingTree tree;
    int result = PdfOpen(h, argv[1], nullptr, &tree);
    if (result == 0)
        result = PdfPrint(h, "", 0, 3, 0, nullptr);
    std::printf("result: %d\n", result);
    PdfDestroy(h);
    platform::SetPrintDialogHook(nullptr);
    platform::SetMessageBoxHook(nullptr);
    return result == 0 ? 0 : 1;
}
