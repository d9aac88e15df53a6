#pragma once

#include "app/CBookMarkTree.h"

#include <QDockWidget>

// The bookmark pane of a document window: a docking pane holding the outline tree.
class CBookMark : public QDockWidget {
    Q_OBJECT

public:
    explicit CBookMark(QWidget *pParent = nullptr);

    CBookMarkTree m_wndTree;
};
