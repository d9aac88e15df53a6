#include "app/CBookMark.h"

#include "res/ResStrings.h"
#include "res/resource.h"

CBookMark::CBookMark(QWidget *pParent)
    : QDockWidget(LoadResString(IDS_BOOKMARK_CAPTION), pParent), m_wndTree(this) {
    setObjectName(QStringLiteral("CBookMark"));
    setWidget(&m_wndTree);
}
