#include "app/CThumbnail.h"

#include "res/ResStrings.h"
#include "res/resource.h"

CThumbnail::CThumbnail(QWidget *pParent)
    : QDockWidget(LoadResString(IDS_THUMBNAIL_CAPTION), pParent), m_wndList(this) {
    setObjectName(QStringLiteral("CThumbnail"));
    m_wndList.setObjectName(QString::number(IDC_THUMBNAIL_LIST));
    m_wndList.setViewMode(QListView::IconMode);
    m_wndList.setFrameShape(QFrame::NoFrame);
    setWidget(&m_wndList);
}
