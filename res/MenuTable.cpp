#include "res/MenuTable.h"

#include "res/resource.h"

namespace res {

namespace {

constexpr SMenuEntry Popup(const char *text) {
    return {MenuKind::Popup, 0, text};
}
constexpr SMenuEntry Item(int id, const char *text) {
    return {MenuKind::Item, id, text};
}
constexpr SMenuEntry kSeparator{MenuKind::Separator, 0, ""};
constexpr SMenuEntry kEnd{MenuKind::End, 0, ""};

constexpr SMenuEntry kMainMenu[] = {
    Popup("文件(&F)"),
    Item(ID_OPEN_PDF, "打开(&O)\tCtrl + O"),
    Item(ID_CLOSE_PDF, "关闭(&C)\tCtrl + W"),
    kSeparator,
    Item(ID_SAVE_AS, "另存为(&A)...\tCtrl + shift + S"),
    Item(ID_PRINT, "打印(&P)...\tCtrl + p"),
    kSeparator,
    Item(ID_FILE_MRU_FILE1, "最近的文件"),
    kSeparator,
    Item(ID_EXIT_PROGRAM, "退出(&X)\tCtrl + X"),
    kEnd,

    Popup("视图(&V)"),
    Popup("页面跳转(&G)"),
    Item(ID_GOTO_PAGE, "页面(&A)...\tCtrl + N"),
    kSeparator,
    Item(ID_FIRST_PAGE, "第一页(&F)\tHome"),
    Item(ID_PREV_PAGE, "上一页(&P)\tLeft"),
    Item(ID_NEXT_PAGE, "下一页(&N)\tRight"),
    Item(ID_LAST_PAGE, "末一页(&S)\tEnd"),
    kSeparator,
    Item(ID_PREV_VIEW, "上一视图(&V)\tAlt + Left"),
    Item(ID_NEXT_VIEW, "下一视图(&W)\tAlt + Right"),
    kEnd,
    Popup("页面缩放(&Z)"),
    Item(ID_ZOOM_TO, "缩放到(&T)...\tCtrl + M"),
    kSeparator,
    Item(ID_ZOOM_IN, "放大(&I)\tCtrl + Num+"),
    Item(ID_ZOOM_OUT, "缩小(&O)\tCtrl + Num-"),
    kSeparator,
    Item(ID_ACTUAL_SIZE, "原始大小(&C)\tCtrl + 1"),
    Item(ID_FIT_HEIGHT, "适合高度(&H)\tCtrl + 2"),
    Item(ID_FIT_WIDTH, "适合宽度(&W)\t Ctrl + 3"),
    kEnd,
    Popup("页面显示(&D)"),
    Item(ID_SINGLE_PAGE, "单页显示(&S)"),
    Item(ID_CONTINUOUS, "多页显示(&M)"),
    kEnd,
    Popup("旋转视图(&R)"),
    Item(ID_ROTATE_CW, "顺时针90°(&R)\tCtrl + Shift + Num+"),
    Item(ID_ROTATE_CCW, "逆时针90°(&L)\tCtrl + Shift + Num-"),
    kEnd,
    kSeparator,
    Item(ID_FULL_SCREEN, "全屏模式(&F)\t F12"),
    kSeparator,
    Popup("应用程序外观(&A)"),
    Item(ID_VIEW_APPLOOK_WIN_2000, "Windows 2000(&2)"),
    Item(ID_VIEW_APPLOOK_OFF_XP, "Office XP(&X)"),
    Item(ID_VIEW_APPLOOK_WIN_XP, "Windows XP(&W)"),
    Item(ID_VIEW_APPLOOK_OFF_2003, "Office 2003(&3)"),
    Item(ID_VIEW_APPLOOK_VS_2005, "Visual Studio.NET 2005(&5)"),
    Popup("Office 2007(&7)"),
    Item(ID_VIEW_APPLOOK_OFF_2007_BLUE, "蓝色样式(&B)"),
    Item(ID_VIEW_APPLOOK_OFF_2007_BLACK, "黑色样式(&L)"),
    Item(ID_VIEW_APPLOOK_OFF_2007_SILVER, "银色样式(&S)"),
    Item(ID_VIEW_APPLOOK_OFF_2007_AQUA, "水绿色样式(&A)"),
    kEnd,
    kEnd,
    Popup("导航栏(&N)"),
    Item(ID_TOGGLE_BOOKMARK, "书签(&B)"),
    Item(ID_THUMBNAIL, "页面(&T)"),
    kEnd,
    kSeparator,
    Item(ID_VIEW_STATUS_BAR, "状态栏(&S)"),
    Popup("工具栏(&T)"),
    Item(ID_VIEW_BASIC_BAR, "基本(&B)"),
    Item(ID_VIEW_TOOLS_BAR, "工具(&T)"),
    kEnd,
    kEnd,

    Popup("工具(&T)"),
    Item(ID_HAND_TOOL, "手型工具(&H)\tAlt + 1"),
    Item(ID_SELECT_TOOL, "选择工具(&S)\tAlt + 2"),
    Item(ID_SNAPSHOT, "快照工具(&N)\tAlt + 3"),
    kEnd,

    Popup("帮助(&H)"),
    Item(ID_SET_DEFAULT_READER, "设为默认(&D)"),
    kSeparator,
    Item(ID_CHECK_UPDATE, "检测更新(&U)"),
    kSeparator,
    Item(ID_HOME_PAGE, "Vesk主页(&H)"),
    Item(ID_APP_ABOUT, "关于 VeskPDFReader(&A)..."),
    kEnd,
};

constexpr SMenuEntry kSelectMenu[] = {
    Popup("select"),
    Item(ID_COPY_TEXT, "复制文本"),
    Item(ID_COPY_IMAGE, "复制图像"),
    Item(ID_EXIT_SELECT, "退出选择模式"),
    kEnd,
};

constexpr SMenuEntry kRightMenu[] = {
    Popup("right"),
    Item(ID_FIRST_PAGE, "第一页(&F)\tHome"),
    Item(ID_PREV_PAGE, "上一页(&P)\tLeft"),
    Item(ID_NEXT_PAGE, "下一页(&N)\tRight"),
    Item(ID_LAST_PAGE, "末一页(&L)\tEnd"),
    kSeparator,
    Item(ID_PREV_VIEW, "上一视图(&V)\tAlt + Left"),
    Item(ID_NEXT_VIEW, "下一视图(&M)\tAlt + Right"),
    kSeparator,
    Item(ID_ACTUAL_SIZE, "原始大小(&C)\tCtrl + 1"),
    Item(ID_FIT_HEIGHT, "适合高度(&H)\tCtrl + 2"),
    Item(ID_FIT_WIDTH, "适合宽度(&W)\tCtrl + 3"),
    kSeparator,
    Item(ID_ZOOM_IN, "放大(&I)\tCtrl + Num+"),
    Item(ID_ZOOM_OUT, "缩小(&O)\tCtrl + Num-"),
    kSeparator,
    Item(ID_SINGLE_PAGE, "单页模式(&S)"),
    Item(ID_CONTINUOUS, "多页模式(&D)"),
    kSeparator,
    Item(ID_ROTATE_CCW, "逆时针旋转90°(&E)\tCtrl + Shift + Num-"),
    Item(ID_ROTATE_CW, "顺时针旋转90°(&R)\tCtrl + Shift + Num+"),
    kSeparator,
    Item(ID_FULL_SCREEN, "全屏模式(&A)\tF12"),
    kSeparator,
    Item(ID_CLOSE_PDF, "关闭(&C)\tCtrl + W"),
    kEnd,
};

} // namespace

std::span<const SMenuEntry> LoadMenu(int nId) {
    switch (nId) {
    case IDR_MAINFRAME:
        return kMainMenu;
    case IDR_MENU_SELECT:
        return kSelectMenu;
    case IDR_MENU_RIGHT:
        return kRightMenu;
    default:
        return {};
    }
}

} // namespace res
