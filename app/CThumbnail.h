#pragma once

#include <QDockWidget>
#include <QListWidget>

// The thumbnail pane of a document window: a docking pane with an empty list, kept for page
// thumbnails that nothing fills yet.
class CThumbnail : public QDockWidget {
    Q_OBJECT

public:
    explicit CThumbnail(QWidget *pParent = nullptr);

    QListWidget m_wndList;
};
