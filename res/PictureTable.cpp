#include "res/PictureTable.h"

#include "res/FindById.h"
#include "res/resource.h"

namespace res {

namespace {

constexpr SPicture kPictures[] = {
    {IDR_MAINFRAME, ":/res/app-icon.svg", 48, 48},
    {IDR_DOCUMENT, ":/res/document-icon.svg", 32, 32},
    {IDC_HAND_CLOSED, ":/res/cursor-hand-closed.svg", 32, 32},
    {IDC_HAND_OPEN, ":/res/cursor-hand-open.svg", 32, 32},
    {IDB_TOOLBAR_BASIC, ":/res/toolbar-basic.svg", 216, 24},
    {IDB_TOOLBAR_TOOLS, ":/res/toolbar-tools.svg", 384, 24},
    {IDB_TREE_ITEM, ":/res/tree-item.svg", 16, 16},
    {IDB_TREE_ITEM_SELECTED, ":/res/tree-item-selected.svg", 16, 16},
};

constexpr SCursor kCursors[] = {
    {IDC_HAND_CLOSED, 11, 12},
    {IDC_HAND_OPEN, 10, 7},
};

} // namespace

const SPicture *LoadPicture(int nId) {
    return FindById<SPicture>(kPictures, nId);
}

const SCursor *LoadCursorInfo(int nId) {
    return FindById<SCursor>(kCursors, nId);
}

} // namespace res
