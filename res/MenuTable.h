#pragma once

// Menu resources as tables, read like a resource script: a popup opens a level that the next
// unmatched End closes. Item texts keep their mnemonics (&) and, after a tab, the shortcut text
// shown at the right of the item.

#include <span>

namespace res {

enum class MenuKind { Popup, Item, Separator, End };

struct SMenuEntry {
    MenuKind kind;
    int nId; // command id of an Item; 0 otherwise
    const char *pszText;
};

// The entries of menu nId (IDR_MAINFRAME, IDR_MENU_SELECT, IDR_MENU_RIGHT); empty for any other.
std::span<const SMenuEntry> LoadMenu(int nId);

} // namespace res
