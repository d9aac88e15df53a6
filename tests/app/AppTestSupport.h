#pragma once

// What the application tests share: an offscreen Qt application whose home, settings and data
// folders are a fresh temporary folder, and a helper that answers the modal boxes a command
// opens.

#include <QMessageBox>
#include <QString>
#include <QTimer>

#include <optional>
#include <string>

namespace apptest {

// The temporary folder that stands for $HOME (XDG folders below it).
const std::string &HomeFolder();
// Removes every stored setting, as before a first start.
void ClearSettings();

// While it lives, answers each modal dialog that opens: a message box with the button given,
// an input dialog with the text given to Type, any other dialog by closing it. Remembers what it
// saw.
class CModalAnswer {
public:
    explicit CModalAnswer(QMessageBox::StandardButton answer = QMessageBox::Ok);
    // Input dialogs get this text typed and are accepted.
    void Type(const QString &text) { m_strInput = text; }
    ~CModalAnswer();

    int Count() const { return m_nCount; }
    const QString &Text() const { return m_strText; }   // the last message box's text
    const QString &Title() const { return m_strTitle; } // the last dialog's title
    QMessageBox::StandardButtons Buttons() const { return m_Buttons; }
    QMessageBox::Icon Icon() const { return m_eIcon; }
    const QString &DialogName() const { return m_strName; } // the last dialog's object name

private:
    void Poll();

    QMessageBox::StandardButton m_eAnswer;
    std::optional<QString> m_strInput;
    QTimer m_Timer;
    int m_nCount = 0;
    QString m_strText;
    QString m_strTitle;
    QString m_strName;
    QMessageBox::StandardButtons m_Buttons;
    QMessageBox::Icon m_eIcon = QMessageBox::NoIcon;
};

} // namespace apptest
