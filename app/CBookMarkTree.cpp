#include "app/CBookMarkTree.h"

#include "engine/PdfApi.h"
#include "res/ResPictures.h"
#include "res/resource.h"
#include "view/CVeskPDFReaderView.h"

#include <QStyledItemDelegate>

namespace {

constexpr QRgb kImageMask = 0xc0c0c0; // silver pixels of the tree images are transparent
constexpr double kFontPointSize = 9.4;
constexpr QSize kDefaultPaneSize(200, 400);

// Lets the user edit a label and then forgets the edit, as the tree keeps engine texts only.
class CDiscardEditsDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void setModelData(QWidget *, QAbstractItemModel *, const QModelIndex &) const override {}
};

} // namespace

CBookMarkTree::CBookMarkTree(QWidget *pParent) : QTreeWidget(pParent) {
    setObjectName(QString::number(IDC_BOOKMARK_TREE));
    setHeaderHidden(true);
    setColumnCount(1);
    setRootIsDecorated(true);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setEditTriggers(QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed);
    setItemDelegate(new CDiscardEditsDelegate(this));
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(kFontPointSize);
    setFont(font);
    m_imgList.addPixmap(LoadMaskedBitmap(IDB_TREE_ITEM, kImageMask), QIcon::Normal);
    m_imgList.addPixmap(LoadMaskedBitmap(IDB_TREE_ITEM_SELECTED, kImageMask), QIcon::Selected);
    // A click on the entry that is already selected changes no selection, yet goes to its page
    // again; the selection signal covers the keyboard. Focus alone moves no page.
    connect(this, &QTreeWidget::itemClicked, this, &CBookMarkTree::OnSelectBookmark);
    connect(this, &QTreeWidget::itemSelectionChanged, this, &CBookMarkTree::OnSelectBookmark);
}

QSize CBookMarkTree::sizeHint() const {
    return kDefaultPaneSize;
}

QTreeWidgetItem *CBookMarkTree::ItemFromHandle(platform::TreeItem item) {
    return reinterpret_cast<QTreeWidgetItem *>(item);
}

platform::TreeItem CBookMarkTree::HandleOf(const QTreeWidgetItem *pItem) {
    return reinterpret_cast<platform::TreeItem>(pItem);
}

platform::TreeItem CBookMarkTree::InsertItem(const std::string &text, platform::TreeItem parent) {
    QTreeWidgetItem *pItem =
        parent ? new QTreeWidgetItem(ItemFromHandle(parent)) : new QTreeWidgetItem(this);
    pItem->setText(0, QString::fromStdString(text));
    pItem->setIcon(0, m_imgList);
    pItem->setFlags(pItem->flags() | Qt::ItemIsEditable);
    return HandleOf(pItem);
}

platform::TreeItem CBookMarkTree::GetFirstVisibleItem() {
    return HandleOf(itemAt(0, 0) ? itemAt(0, 0) : topLevelItem(0));
}

void CBookMarkTree::SelectFirstVisible(platform::TreeItem item) {
    if (item)
        scrollToItem(ItemFromHandle(item), QAbstractItemView::PositionAtTop);
}

void CBookMarkTree::SetFocus() {
    setFocus(Qt::OtherFocusReason);
}

void CBookMarkTree::OnSelectBookmark() {
    QTreeWidgetItem *pItem = currentItem();
    if (!m_pView || !pItem || !pItem->isSelected())
        return;
    const int nPage = PdfGetLinkTarget(m_pView->GetPdfHandle(), HandleOf(pItem));
    if (nPage > 0)
        m_pView->GoToPage(nPage);
}
