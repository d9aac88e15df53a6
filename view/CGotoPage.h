#pragma once

#include <QDialog>

class CVeskPDFReaderView;

// Asks for a page number and sends the view there on OK; the view ignores a number that is
// no page.
class CGotoPage : public QDialog {
    Q_OBJECT

public:
    explicit CGotoPage(QWidget *parent = nullptr);

    // Shows the current page and the page count, then runs modally.
    int DoModal();
    void OnInitDialog();
    void accept() override; // OK

    CVeskPDFReaderView *m_pView = nullptr;
};
