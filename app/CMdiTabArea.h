#pragma once

#include <QTabWidget>

#include <memory>

class QMenu;
class QStyle;
class QToolButton;

// The tabbed document area of the main window: one tab per document window, notebook-like tabs
// coloured automatically, the close button on the active tab only, no document icons, and a
// button at the right end that lists the open documents.
class CMdiTabArea : public QTabWidget {
    Q_OBJECT

public:
    explicit CMdiTabArea(QWidget *pParent = nullptr);
    ~CMdiTabArea() override;

    // Adds pWindow as the last tab and makes it the active one.
    void AddWindow(QWidget *pWindow);
    // Follows a change of the application look.
    void UpdateLook();
    QToolButton *DocumentListButton() const { return m_pListButton; }

private:
    void ShowCloseButtonOnActiveTab();
    void FillDocumentList();

    std::unique_ptr<QStyle> m_pTabStyle;
    QToolButton *m_pListButton;
    QMenu *m_pListMenu;
};
