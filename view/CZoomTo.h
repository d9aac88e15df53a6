#pragma once

#include <QDialog>

class CVeskPDFReaderView;

// Offers the zoom list; OK applies the chosen entry. Text typed into the field is never read.
class CZoomTo : public QDialog {
    Q_OBJECT

public:
    explicit CZoomTo(QWidget *parent = nullptr);

    // Fills the list, shows the current factor, then runs modally.
    int DoModal();
    void OnInitDialog();
    void accept() override; // OK

    CVeskPDFReaderView *m_pView = nullptr;

private:
    int m_nChosen = -1; // the entry picked from the list; typing in the field forgets it
};
