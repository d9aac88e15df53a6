#include "app/CUiHooks.h"

#include "app/CQtPrinter.h"
#include "res/ResStrings.h"
#include "res/resource.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPageRanges>
#include <QPrintDialog>
#include <QPrintEngine>
#include <QPrinter>
#include <QRadioButton>
#include <QThread>

namespace {

const QString kPasswordCaption = QStringLiteral("请输入密码：");
const QString kPasswordLabel = QStringLiteral("请输入“%1”的密码：");

// Runs work on the user-interface thread and waits for it.
template <class F> void OnUiThread(F work) {
    if (QThread::currentThread() == qApp->thread())
        work();
    else
        QMetaObject::invokeMethod(qApp, work, Qt::BlockingQueuedConnection);
}

// Where Qt keeps the options it hands to the print system with a job: a list of names and
// values under this print-engine property (Qt's PPK_CupsOptions).
const auto kPrintSystemOptions = QPrintEngine::PrintEnginePropertyKey(0xfe00);

// What the print system is told besides the job. The dialog hands it the pages typed into its
// page field as well; the job holds only the chosen pages already, and the print system would
// pick those page numbers again out of its sheets. The dialog's "Reverse" is left to the
// application, and the print system is the one that can deliver the sheets last to first.
void AdjustPrintSystemOptions(QPrinter &printer) {
    QPrintEngine *engine = printer.printEngine();
    const QStringList given = engine->property(kPrintSystemOptions).toStringList();
    QStringList options;
    for (qsizetype i = 0; i + 1 < given.size(); i += 2) {
        if (given[i] != QLatin1String("page-ranges"))
            options << given[i] << given[i + 1];
    }
    if (printer.pageOrder() == QPrinter::LastPageFirst && !options.contains("outputorder"))
        options << QStringLiteral("outputorder") << QStringLiteral("reverse");
    engine->setProperty(kPrintSystemOptions, options);
}

// Ranges as typed into a page field: "5-6,2". Empty when the text is not such a list.
std::vector<platform::PageRange> ParsePageRanges(const QString &text) {
    std::vector<platform::PageRange> ranges;
    for (const QString &item : text.split(u',')) {
        const QStringList ends = item.split(u'-');
        bool fromOk = false, toOk = false;
        const int from = ends.front().trimmed().toInt(&fromOk);
        const int to = ends.back().trimmed().toInt(&toOk);
        if (ends.size() > 2 || !fromOk || !toOk || from < 1 || to < from)
            return {};
        ranges.push_back({from, to});
    }
    return ranges;
}

// The ranges typed into the page field of Qt's dialog, when that field was the choice; else
// empty. Qt hands them back sorted, or, in other versions, only to the print system, which would
// pick pages out of the job's sheets: read where the dialog keeps them, the pages print in the
// order the person typed them.
std::vector<platform::PageRange> TypedPageRanges(const QPrintDialog &dialog) {
    const auto *typedButton = dialog.findChild<const QRadioButton *>("pagesRadioButton");
    const auto *typedField = dialog.findChild<const QLineEdit *>("pagesLineEdit");
    if (!typedButton || !typedField || !typedButton->isChecked())
        return {};
    return ParsePageRanges(typedField->text());
}

} // namespace

void CQtMessageBoxHook::ShowMessage(const std::string &text) {
    OnUiThread([&] {
        QMessageBox box(QMessageBox::NoIcon, QString(), QString::fromStdString(text),
                        QMessageBox::Ok);
        box.exec();
    });
}

std::optional<std::string> CQtPasswordPromptHook::AskPassword(const std::string &what) {
    std::optional<std::string> password;
    OnUiThread([&] {
        QInputDialog dialog(QApplication::activeWindow());
        dialog.setWindowTitle(kPasswordCaption);
        dialog.setLabelText(kPasswordLabel.arg(QString::fromStdString(what)));
        dialog.setTextEchoMode(QLineEdit::Password);
        if (dialog.exec() == QDialog::Accepted)
            password = dialog.textValue().toStdString();
    });
    return password;
}

std::optional<platform::PrintChoice>
CQtPrintDialogHook::ShowPrintDialog(const platform::PrintDialogSetup &setup) {
    std::optional<platform::PrintChoice> choice;
    OnUiThread([&] {
        std::unique_ptr<QPrinter> printer = MakePrinter();
        QPrintDialog dialog(printer.get(), QApplication::activeWindow());
        dialog.setOptions(
            QAbstractPrintDialog::PrintPageRange | QAbstractPrintDialog::PrintCurrentPage |
            QAbstractPrintDialog::PrintCollateCopies | QAbstractPrintDialog::PrintShowPageSize);
        dialog.setMinMax(setup.nMinPage, setup.nMaxPage);
        dialog.setFromTo(setup.nMinPage, setup.nMaxPage);
        if (ExecDialog(dialog) != QDialog::Accepted)
            return;
        // With no printer installed the dialog still offers to print, to a PDF writer with no
        // file, and the job would come to nothing without a word: say why instead.
        if (printer->printerName().isEmpty() && printer->outputFileName().isEmpty()) {
            platform::ShowMessageBox(LoadResString(IDS_NO_PRINTER).toStdString());
            return;
        }
        choice = ChoiceFromPrinter(std::move(printer), dialog);
    });
    return choice;
}

platform::PrintChoice CQtPrintDialogHook::ChoiceFromPrinter(std::unique_ptr<QPrinter> printer,
                                                            const QPrintDialog &dialog) {
    platform::PrintChoice choice;
    choice.pageRanges = TypedPageRanges(dialog);
    if (!choice.pageRanges.empty()) {
        choice.range = platform::PrintRange::PageNums;
    } else if (printer->printRange() == QPrinter::CurrentPage) {
        choice.range = platform::PrintRange::CurrentPage;
    } else if (printer->printRange() == QPrinter::PageRange) {
        choice.range = platform::PrintRange::PageNums;
        for (const QPageRanges::Range &r : printer->pageRanges().toRangeList())
            choice.pageRanges.push_back({r.from, r.to});
    }
    choice.bLandscape = printer->pageLayout().orientation() == QPageLayout::Landscape;
    AdjustPrintSystemOptions(*printer);
    choice.pPrinter = std::make_unique<CQtPrinter>(std::move(printer));
    return choice;
}

std::unique_ptr<QPrinter> CQtPrintDialogHook::MakePrinter() {
    return std::make_unique<QPrinter>(QPrinter::HighResolution);
}

int CQtPrintDialogHook::ExecDialog(QPrintDialog &dialog) {
    return dialog.exec();
}

CUiHooks::CUiHooks() {
    platform::SetMessageBoxHook(&m_MessageBox);
    platform::SetPasswordPromptHook(&m_PasswordPrompt);
    platform::SetPrintDialogHook(&m_PrintDialog);
}

CUiHooks::~CUiHooks() {
    platform::SetMessageBoxHook(nullptr);
    platform::SetPasswordPromptHook(nullptr);
    platform::SetPrintDialogHook(nullptr);
}
