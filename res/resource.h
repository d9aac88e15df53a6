#pragma once

// Every numeric id of the user interface: commands, menus, accelerator and toolbar tables,
// bitmaps, icons, cursors, dialogs, controls and strings. The numbers are the program's own and
// are shared by the tables in this folder, the pictures of the Qt resource file and app/.

// Shared by the document template and the main window: menu, accelerators, icon, toolbar
// "基本" and the title string.
inline constexpr int IDR_MAINFRAME = 128;
// The document icon; it must stay the second icon, the association names it.
inline constexpr int IDR_DOCUMENT = 130;

// Dialogs and their controls.
inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_GOTOPAGE = 324;
inline constexpr int IDD_ZOOMTO = 325;
inline constexpr int IDD_GETPASS = 326;
inline constexpr int IDOK = 1;
inline constexpr int IDCANCEL = 2;
inline constexpr int IDC_EDIT_PAGE = 1000;
inline constexpr int IDC_STATIC_PAGECOUNT = 1001;
inline constexpr int IDC_COMBO_ZOOM = 1003;
inline constexpr int IDC_EDIT_PASSWORD = 1004;

// Docking panes of a document window and their children.
inline constexpr int IDC_NAVIGATION_PANE = 101;
inline constexpr int IDC_BOOKMARK_TREE = 102;
inline constexpr int IDC_THUMBNAIL_LIST = 1;

// Pictures.
inline constexpr int IDC_HAND_CLOSED = 310;
inline constexpr int IDC_HAND_OPEN = 311;
inline constexpr int IDB_TOOLBAR_BASIC = 314;
inline constexpr int IDR_TOOLBAR_TOOLS = 315;
inline constexpr int IDB_TOOLBAR_TOOLS = 317;
inline constexpr int IDB_TREE_ITEM = 322;
inline constexpr int IDB_TREE_ITEM_SELECTED = 323;
inline constexpr int IDI_PASSWORD = 327;

// Context menus of the reading view.
inline constexpr int IDR_MENU_SELECT = 320;
inline constexpr int IDR_MENU_RIGHT = 321;

// Application looks, one command each.
inline constexpr int ID_VIEW_APPLOOK_WIN_2000 = 210;
inline constexpr int ID_VIEW_APPLOOK_OFF_XP = 211;
inline constexpr int ID_VIEW_APPLOOK_WIN_XP = 212;
inline constexpr int ID_VIEW_APPLOOK_OFF_2003 = 213;
inline constexpr int ID_VIEW_APPLOOK_VS_2005 = 214;
inline constexpr int ID_VIEW_APPLOOK_OFF_2007_BLUE = 215;
inline constexpr int ID_VIEW_APPLOOK_OFF_2007_BLACK = 216;
inline constexpr int ID_VIEW_APPLOOK_OFF_2007_SILVER = 217;
inline constexpr int ID_VIEW_APPLOOK_OFF_2007_AQUA = 218;

// Commands.
inline constexpr int ID_OPEN_PDF = 32772;
inline constexpr int ID_CLOSE_PDF = 32773;
inline constexpr int ID_SAVE_AS = 32774;
inline constexpr int ID_PRINT = 32775;
inline constexpr int ID_EXIT_PROGRAM = 32776;
inline constexpr int ID_FIRST_PAGE = 32778;
inline constexpr int ID_PREV_PAGE = 32779;
inline constexpr int ID_NEXT_PAGE = 32780;
inline constexpr int ID_LAST_PAGE = 32781;
inline constexpr int ID_GOTO_PAGE = 32782;
inline constexpr int ID_PREV_VIEW = 32783;
inline constexpr int ID_NEXT_VIEW = 32784;
inline constexpr int ID_ZOOM_IN = 32786;
inline constexpr int ID_ZOOM_OUT = 32787;
inline constexpr int ID_ZOOM_TO = 32788;
inline constexpr int ID_ACTUAL_SIZE = 32789;
inline constexpr int ID_FIT_HEIGHT = 32790;
inline constexpr int ID_FIT_WIDTH = 32792;
inline constexpr int ID_SINGLE_PAGE = 32794;
inline constexpr int ID_CONTINUOUS = 32795;
inline constexpr int ID_ROTATE_CW = 32797;
inline constexpr int ID_ROTATE_CCW = 32798;
inline constexpr int ID_FULL_SCREEN = 32799;
inline constexpr int ID_HAND_TOOL = 32801;
inline constexpr int ID_SELECT_TOOL = 32802;
inline constexpr int ID_SNAPSHOT = 32803;
inline constexpr int ID_SET_DEFAULT_READER = 32806;
inline constexpr int ID_CHECK_UPDATE = 32807;
inline constexpr int ID_HOME_PAGE = 32808;
inline constexpr int ID_TOGGLE_BOOKMARK = 32813;
inline constexpr int ID_COPY_TEXT = 32817;
inline constexpr int ID_COPY_IMAGE = 32818;
inline constexpr int ID_EXIT_SELECT = 32819;
inline constexpr int ID_THUMBNAIL = 32822;
inline constexpr int ID_VIEW_BASIC_BAR = 32829;
inline constexpr int ID_VIEW_TOOLS_BAR = 32830;

// Framework commands and windows.
inline constexpr int ID_FILE_MRU_FILE1 = 57616;
inline constexpr int ID_FILE_MRU_FILE16 = 57631;
inline constexpr int ID_APP_ABOUT = 57664;
inline constexpr int ID_SEPARATOR = 0;
inline constexpr int ID_INDICATOR_CAPS = 59137;
inline constexpr int ID_INDICATOR_NUM = 59138;
inline constexpr int ID_INDICATOR_SCRL = 59139;
inline constexpr int AFX_IDW_TOOLBAR = 59392;
inline constexpr int AFX_IDW_STATUS_BAR = 59393;
inline constexpr int AFX_IDW_MENUBAR = 59398;
inline constexpr int ID_VIEW_STATUS_BAR = AFX_IDW_STATUS_BAR;

// Strings that are no command prompt.
inline constexpr int IDS_CONFIRM_CLOSE_ALL = 129;
inline constexpr int IDS_IN_DEVELOPMENT = 131;
inline constexpr int IDS_NO_UPDATE = 132;
inline constexpr int IDS_ABOUT_CAPTION = 133;
inline constexpr int IDS_ABOUT_VERSION = 134;
inline constexpr int IDS_ABOUT_COPYRIGHT = 135;
inline constexpr int IDS_OPEN_DIALOG_TITLE = 136;
inline constexpr int IDS_FILTER_PDF = 137;
inline constexpr int IDS_FILTER_ALL = 138;
inline constexpr int IDS_BOOKMARK_CAPTION = 139;
inline constexpr int IDS_THUMBNAIL_CAPTION = 140;
inline constexpr int IDS_BASIC_BAR_TITLE = 141;
inline constexpr int IDS_TOOLS_BAR_TITLE = 142;
inline constexpr int IDS_SNAPSHOT_SAVED = 143;
inline constexpr int IDS_SNAPSHOT_NO_SCREEN = 144;
inline constexpr int IDS_SNAPSHOT_NOT_WRITTEN = 145;
inline constexpr int IDS_SAVE_AS_FAILED = 146;
inline constexpr int IDS_SAVE_AS_OPEN_FILE = 147;
inline constexpr int IDS_LOCK_KEYS_UNKNOWN = 148;
inline constexpr int IDS_NO_PRINTER = 149;
inline constexpr int AFX_IDS_APP_TITLE = 57344;
inline constexpr int AFX_IDS_IDLEMESSAGE = 57345;
inline constexpr int AFX_IDP_FAILED_TO_OPEN_DOC = 61699;
inline constexpr int AFX_IDP_FILE_NOT_FOUND = 61825;
inline constexpr int AFX_IDP_FILE_ACCESS_DENIED = 61829;
