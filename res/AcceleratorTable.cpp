#include "res/AcceleratorTable.h"

#include "res/resource.h"

namespace res {

namespace {

constexpr std::uint8_t kCtrl = FVIRTKEY | FCONTROL;
constexpr std::uint8_t kCtrlShift = FVIRTKEY | FCONTROL | FSHIFT;
constexpr std::uint8_t kAlt = FVIRTKEY | FALT;

constexpr SAccel kMainAccelerators[] = {
    {kCtrl, 'O', ID_OPEN_PDF},          {kCtrl, 'W', ID_CLOSE_PDF},
    {kCtrlShift, 'S', ID_SAVE_AS},      {kCtrl, 'P', ID_PRINT},
    {kCtrl, 'X', ID_EXIT_PROGRAM},      {kCtrl, 'N', ID_GOTO_PAGE},
    {FVIRTKEY, VK_HOME, ID_FIRST_PAGE}, {FVIRTKEY, VK_LEFT, ID_PREV_PAGE},
    {FVIRTKEY, VK_RIGHT, ID_NEXT_PAGE}, {FVIRTKEY, VK_END, ID_LAST_PAGE},
    {kAlt, VK_LEFT, ID_PREV_VIEW},      {kAlt, VK_RIGHT, ID_NEXT_VIEW},
    {kCtrl, 'M', ID_ZOOM_TO},           {kCtrl, VK_ADD, ID_ZOOM_IN},
    {kCtrl, VK_SUBTRACT, ID_ZOOM_OUT},  {kCtrl, '1', ID_ACTUAL_SIZE},
    {kCtrl, '2', ID_FIT_HEIGHT},        {kCtrl, '3', ID_FIT_WIDTH},
    {kCtrlShift, VK_ADD, ID_ROTATE_CW}, {kCtrlShift, VK_SUBTRACT, ID_ROTATE_CCW},
    {FVIRTKEY, VK_F12, ID_FULL_SCREEN}, {kAlt, '1', ID_HAND_TOOL},
    {kAlt, '2', ID_SELECT_TOOL},        {kAlt, '3', ID_SNAPSHOT},
};

} // namespace

std::span<const SAccel> LoadAccelerators(int nId) {
    if (nId == IDR_MAINFRAME)
        return kMainAccelerators;
    return {};
}

} // namespace res
