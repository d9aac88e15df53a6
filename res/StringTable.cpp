#include "res/StringTable.h"

#include "res/resource.h"

#include <algorithm>
#include <iterator>

namespace res {

namespace {

struct SString {
    int nId;
    const char *pszText;
};

// Sorted by id.
constexpr SString kStrings[] = {
    {IDR_MAINFRAME, "VeskPDFReader"},
    {IDS_CONFIRM_CLOSE_ALL, "你希望关闭所有文件？"},
    {IDS_IN_DEVELOPMENT, "开发中..."},
    {IDS_NO_UPDATE, "暂无更新"},
    {IDS_ABOUT_CAPTION, "关于 VeskPDFReader"},
    {IDS_ABOUT_VERSION, "VeskPDFReader，1.0 版"},
    {IDS_ABOUT_COPYRIGHT, "版权所有 (C) Vesk 软件"},
    {IDS_OPEN_DIALOG_TITLE, "打开PDF文件..."},
    // File names on Linux keep their letter case: both spellings of the extension are listed.
    {IDS_FILTER_PDF, "PDF files (*.PDF *.pdf)"},
    // "*.*" would hide names without a dot here.
    {IDS_FILTER_ALL, "All files (*)"},
    {IDS_BOOKMARK_CAPTION, "书签"},
    {IDS_THUMBNAIL_CAPTION, "页面"},
    {IDS_BASIC_BAR_TITLE, "基本"},
    {IDS_TOOLS_BAR_TITLE, "工具"},
    {IDS_SNAPSHOT_SAVED, "快照已经保存至“我的文档”"},
    // A desktop that keeps the screen from programs (Wayland) gives no picture.
    {IDS_SNAPSHOT_NO_SCREEN, "无法截取屏幕：此桌面不允许程序读取屏幕内容，快照没有保存。"},
    {IDS_SNAPSHOT_NOT_WRITTEN, "快照无法保存至“%1”。"},
    {IDS_SAVE_AS_FAILED, "文件无法保存至“%1”。"},
    {IDS_SAVE_AS_OPEN_FILE, "“%1”是正在阅读的文件，不能另存为它自己。"},
    {IDS_LOCK_KEYS_UNKNOWN, "此桌面不向程序提供锁定键的状态"},
    {IDS_NO_PRINTER, "没有可用的打印机，无法打印。请先在系统的打印设置中添加打印机。"},
    {ID_OPEN_PDF, "打开PDF文档\n打开"},
    {ID_CLOSE_PDF, "关闭当前活动PDF文档\n关闭"},
    {ID_SAVE_AS, "当前活动文档另存\n另存为"},
    {ID_PRINT, "打印当前活动文档\n打印"},
    {ID_EXIT_PROGRAM, "退出程序\n退出"},
    {ID_FIRST_PAGE, "到达当前活动文档第一页\n第一页"},
    {ID_PREV_PAGE, "到达当前活动文档上一页\n上一页"},
    {ID_NEXT_PAGE, "到达当前活动文档下一页\n下一页"},
    {ID_LAST_PAGE, "到达当前活动文档最后一页\n末一页"},
    {ID_GOTO_PAGE, "到达指定页码页\n页面"},
    {ID_PREV_VIEW, "回到上一个视图\n上一视图"},
    {ID_NEXT_VIEW, "回到下一个视图\n下一视图"},
    {ID_ZOOM_IN, "放大当前视图区域\n放大"},
    {ID_ZOOM_OUT, "缩小当前视图区域\n缩小"},
    {ID_ZOOM_TO, "\n缩放到"},
    {ID_ACTUAL_SIZE, "以原始大小显示页面\n原始大小"},
    {ID_FIT_HEIGHT, "适合高度显示\n适合高度"},
    {ID_FIT_WIDTH, "适合宽度显示\n适合宽度"},
    {ID_SINGLE_PAGE, "以单页方式显示页面\n单页"},
    {ID_CONTINUOUS, "以连续页方式显示页面\n多页"},
    {ID_ROTATE_CW, "顺时针旋转90°\n右旋"},
    {ID_ROTATE_CCW, "逆时针旋转90°\n左旋"},
    {ID_FULL_SCREEN, "以全屏模式显示当前视图\n全屏"},
    {ID_HAND_TOOL, "手型页面拖动工具\n手型工具"},
    {ID_SELECT_TOOL, "文本、图像选择工具\n选择工具"},
    {ID_SNAPSHOT, "屏幕快照工具\n快照工具"},
    {ID_SET_DEFAULT_READER, "设置Vesk阅读器为默认PDF阅读器\n设为默认"},
    {ID_CHECK_UPDATE, "检测程序更新\n检测更新"},
    {ID_HOME_PAGE, "Vesk官方主页\n主页"},
    {ID_TOGGLE_BOOKMARK, "显示或隐藏书签目录\n书签"},
    {ID_COPY_TEXT, "复制选择区域内的文本\n复制文本"},
    {ID_COPY_IMAGE, "复制选择区域内的图像\n复制图像"},
    {ID_EXIT_SELECT, "退出选择模式\n退出"},
    {ID_THUMBNAIL, "显示或隐藏页面缩略图\n页面"},
    {ID_VIEW_BASIC_BAR, "显示或隐藏基本工具栏\n基本"},
    {ID_VIEW_TOOLS_BAR, "显示或隐藏常用工具栏\n工具"},
    {AFX_IDS_APP_TITLE, "VeskPDFReader"},
    {AFX_IDS_IDLEMESSAGE, "就绪"},
    {ID_FILE_MRU_FILE1, "打开此文档\n最近的文件"},
    {ID_FILE_MRU_FILE1 + 1, "打开此文档\n最近的文件"},
    {ID_FILE_MRU_FILE1 + 2, "打开此文档\n最近的文件"},
    {ID_FILE_MRU_FILE1 + 3, "打开此文档\n最近的文件"},
    {ID_APP_ABOUT, "显示程序信息、版本号和版权\n关于"},
    {ID_INDICATOR_CAPS, "CAP"},
    {ID_INDICATOR_NUM, "NUM"},
    {ID_INDICATOR_SCRL, "SCRL"},
    {ID_VIEW_STATUS_BAR, "显示或隐藏状态栏\n状态栏"},
    {AFX_IDP_FAILED_TO_OPEN_DOC, "打开文档失败。"},
    {AFX_IDP_FILE_NOT_FOUND, "找不到文件“%1”。"},
    {AFX_IDP_FILE_ACCESS_DENIED, "无法读取文件“%1”：拒绝访问。"},
};

constexpr bool IsSorted() {
    return std::is_sorted(std::begin(kStrings), std::end(kStrings),
                          [](const SString &a, const SString &b) { return a.nId < b.nId; });
}
static_assert(IsSorted(), "the string table is looked up by binary search");

} // namespace

const char *LoadString(int nId) {
    const auto *it = std::lower_bound(std::begin(kStrings), std::end(kStrings), nId,
                                      [](const SString &s, int id) { return s.nId < id; });
    return it != std::end(kStrings) && it->nId == nId ? it->pszText : nullptr;
}

} // namespace res
