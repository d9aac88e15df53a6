#pragma once

// The dialog templates of the reading view: captions, control texts, control ids and places
// in dialog units (x, y, width, height), in tab order.

#include <array>
#include <span>

namespace res {

inline constexpr int kDlgGotoPage = 324;
inline constexpr int kDlgZoomTo = 325;
inline constexpr int kDlgGetPass = 326;
inline constexpr int kIconGetPass = 327;

inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdStatic = -1; // a label nobody addresses
inline constexpr int kIdPageEdit = 1000;
inline constexpr int kIdPageCount = 1001;
inline constexpr int kIdZoomCombo = 1003;
inline constexpr int kIdPasswordEdit = 1004;

enum class ControlKind { DefPushButton, PushButton, Label, Edit, DropDownCombo, Icon };

enum ControlStyle : unsigned {
    kTabStop = 1u << 0,
    kBorder = 1u << 1,
    kAutoHScroll = 1u << 2,
    kPassword = 1u << 3,
    kVScroll = 1u << 4,
};

struct DialogControl {
    int nId;
    ControlKind kind;
    const char *pszText; // UTF-8; for an icon, empty (the icon id is the template's)
    int x, y, cx, cy;
    unsigned nStyle;
};

// Every template uses the dialog font "MS Shell Dlg", 8 points, and a small caption.
struct DialogTemplate {
    int nId;
    const char *pszCaption;
    int cx, cy;
    std::span<const DialogControl> controls;
};

const DialogTemplate *FindDialogTemplate(int id);

// The zoom-to list, in its order: what each entry does on OK.
enum class ZoomAction { Factor, FitWidth, FitHeight };
struct ZoomChoice {
    const char *pszText;
    ZoomAction action;
    float fFactor; // for ZoomAction::Factor
};
extern const std::array<ZoomChoice, 13> kZoomChoices;

} // namespace res
