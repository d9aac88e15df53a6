#include "res/ToolbarTable.h"

#include "res/FindById.h"
#include "res/resource.h"

namespace res {

namespace {

constexpr int kButtonSize = 24;

constexpr int kBasicButtons[] = {
    ID_OPEN_PDF,    ID_CLOSE_PDF, ID_SAVE_AS,     ID_PRINT,    ID_SEPARATOR,
    ID_FULL_SCREEN, ID_HAND_TOOL, ID_SELECT_TOOL, ID_SNAPSHOT, ID_APP_ABOUT,
};

constexpr int kToolsButtons[] = {
    ID_FIRST_PAGE, ID_PREV_PAGE,  ID_NEXT_PAGE,   ID_LAST_PAGE,  ID_PREV_VIEW,
    ID_NEXT_VIEW,  ID_SEPARATOR,  ID_SINGLE_PAGE, ID_CONTINUOUS, ID_SEPARATOR,
    ID_ZOOM_IN,    ID_ZOOM_OUT,   ID_ACTUAL_SIZE, ID_FIT_HEIGHT, ID_FIT_WIDTH,
    ID_SEPARATOR,  ID_ROTATE_CCW, ID_ROTATE_CW,   ID_SEPARATOR,  ID_TOGGLE_BOOKMARK,
};

constexpr SToolbar kToolbars[] = {
    {IDR_MAINFRAME, IDB_TOOLBAR_BASIC, IDS_BASIC_BAR_TITLE, kButtonSize, kBasicButtons},
    {IDR_TOOLBAR_TOOLS, IDB_TOOLBAR_TOOLS, IDS_TOOLS_BAR_TITLE, kButtonSize, kToolsButtons},
};

} // namespace

const SToolbar *LoadToolBar(int nId) {
    return FindById<SToolbar>(kToolbars, nId);
}

} // namespace res
