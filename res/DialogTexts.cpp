#include "res/DialogTexts.h"

namespace res {

namespace {

using enum ControlKind;

constexpr DialogControl kGotoPageControls[] = {
    {kIdOk, DefPushButton, "确定", 87, 53, 50, 14, kTabStop},
    {kIdCancel, PushButton, "取消", 151, 53, 50, 14, kTabStop},
    {kIdStatic, Label, "页码：", 28, 19, 25, 8, 0},
    {kIdPageEdit, Edit, "", 64, 17, 55, 13, kBorder | kTabStop | kAutoHScroll},
    {kIdStatic, Label, "/", 124, 19, 8, 9, 0},
    {kIdPageCount, Label, "0000", 130, 19, 18, 9, 0},
};

constexpr DialogControl kZoomToControls[] = {
    {kIdOk, DefPushButton, "确定", 95, 54, 50, 14, kTabStop},
    {kIdCancel, PushButton, "取消", 146, 54, 50, 14, kTabStop},
    {kIdZoomCombo, DropDownCombo, "", 67, 25, 94, 162, kVScroll | kTabStop},
    {kIdStatic, Label, "缩放率：", 30, 27, 32, 9, 0},
};

constexpr DialogControl kGetPassControls[] = {
    {kIdOk, DefPushButton, "确定", 103, 71, 50, 14, kTabStop},
    {kIdCancel, PushButton, "取消", 164, 70, 50, 14, kTabStop},
    {kIdStatic, Label, "该文档已经加密，请输入文档打开密码：", 50, 18, 146, 10, 0},
    {kIdStatic, Label, "输入密码：", 27, 46, 46, 10, 0},
    {kIdPasswordEdit, Edit, "", 76, 43, 114, 12, kBorder | kTabStop | kAutoHScroll | kPassword},
    {kIdStatic, Icon, "", 21, 10, 20, 20, 0},
};

constexpr DialogTemplate kTemplates[] = {
    {kDlgGotoPage, "请输入你希望到达的页码：", 208, 74, kGotoPageControls},
    {kDlgZoomTo, "请输入缩放率：", 203, 75, kZoomToControls},
    {kDlgGetPass, "请输入密码：", 221, 94, kGetPassControls},
};

} // namespace

const DialogTemplate *FindDialogTemplate(int id) {
    for (const DialogTemplate &t : kTemplates)
        if (t.nId == id)
            return &t;
    return nullptr;
}

const std::array<ZoomChoice, 13> kZoomChoices = {{
    {"原始大小", ZoomAction::Factor, 1.0f},
    {"适合宽度", ZoomAction::FitWidth, 0.0f},
    {"适合高度", ZoomAction::FitHeight, 0.0f},
    {"25%", ZoomAction::Factor, 0.25f},
    {"50%", ZoomAction::Factor, 0.5f},
    {"75%", ZoomAction::Factor, 0.75f},
    {"80%", ZoomAction::Factor, 0.8f},
    {"100%", ZoomAction::Factor, 1.0f},
    {"125%", ZoomAction::Factor, 1.25f},
    {"150%", ZoomAction::Factor, 1.5f},
    {"200%", ZoomAction::Factor, 2.0f},
    {"300%", ZoomAction::Factor, 3.0f},
    {"400%", ZoomAction::Factor, 4.0f},
}};

} // namespace res
