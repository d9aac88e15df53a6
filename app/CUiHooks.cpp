#include "app/CUiHooks.h"

#include <QApplication>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
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

CUiHooks::CUiHooks() {
    platform::SetMessageBoxHook(&m_MessageBox);
    platform::SetPasswordPromptHook(&m_PasswordPrompt);
}

CUiHooks::~CUiHooks() {
    platform::SetMessageBoxHook(nullptr);
    platform::SetPasswordPromptHook(nullptr);
}
