#pragma once

#include "platform/TreeControl.h"

#include <QTreeWidget>

class CVeskPDFReaderView;

// The outline tree of a bookmark pane. The engine fills it through platform::TreeControl when
// the document opens; choosing an entry moves the reading view to the entry's page. Labels can
// be edited, but an edited text is not kept.
class CBookMarkTree : public QTreeWidget, public platform::TreeControl {
    Q_OBJECT

public:
    explicit CBookMarkTree(QWidget *pParent = nullptr);

    // The view whose engine knows the items and whose page they change.
    void SetView(CVeskPDFReaderView *pView) { m_pView = pView; }

    platform::TreeItem InsertItem(const std::string &text, platform::TreeItem parent) override;
    platform::TreeItem GetFirstVisibleItem() override;
    void SelectFirstVisible(platform::TreeItem item) override;
    void SetFocus() override;

    // The pane's default size, which the document window's layout starts from.
    QSize sizeHint() const override;

    static QTreeWidgetItem *ItemFromHandle(platform::TreeItem item);
    static platform::TreeItem HandleOf(const QTreeWidgetItem *pItem);

private:
    void OnSelectBookmark();

    QIcon m_imgList;
    CVeskPDFReaderView *m_pView = nullptr;
};
