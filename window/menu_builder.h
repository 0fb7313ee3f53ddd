// The window's menu bar and accelerator table, built from the first run of menu-item records.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class WindowTemplate;

// Menu flags of a menu-item record. Bits 4 to 7 hold the item's nesting level: 0 on the menu
// bar, 1 in the pop-up of the nearest earlier item one level up, and so on; a level more than
// one below the item before it counts as one below.
inline constexpr uint32_t kMenuItemHidden = 0x1;
inline constexpr uint32_t kMenuItemDisabled = 0x2;
inline constexpr uint32_t kMenuItemChecked = 0x4;
inline constexpr uint32_t kMenuLevelShift = 4;
inline constexpr uint32_t kMenuLevelMask = 0xF0;

// Shortcut word of a menu item: the virtual-key code in the low 16 bits and the modifiers in
// bits 16 to 18 (1 Ctrl, 2 Shift, 4 Alt, as the events report them); 0 is no shortcut.
inline constexpr uint32_t kShortcutCtrl = 0x10000;
inline constexpr uint32_t kShortcutShift = 0x20000;
inline constexpr uint32_t kShortcutAlt = 0x40000;

// Item n of the run sends command 20000 + n; a caption of "-" is a separator.
inline constexpr UINT kFirstMenuCommand = 20000;

struct WindowMenu {
    HMENU menu = nullptr;
    HACCEL accelerators = nullptr;
};

// Builds the menu bar from the shown items (a hidden item hides the items under it) and the
// accelerator table from the shortcuts of the items that can be chosen. Without a shown item
// the menu is null, unless the window's own record carries the menu mark (UnitFlags bit 3),
// which keeps an empty menu bar. The accelerators are null when no item has a usable shortcut.
WindowMenu BuildWindowMenu(WindowTemplate &window);
void DestroyWindowMenu(const WindowMenu &built);

// The record index of the item behind command 20000 + n when a user can choose it: a shown,
// enabled item without items under it, whose enclosing items are shown and enabled; else -1.
int32_t ChoosableMenuItem(WindowTemplate &window, uint32_t n);

// Gives a loaded window a menu and accelerator table built afresh from its records and destroys
// the old ones; a window that is not loaded keeps only its records.
void RebuildWindowMenu(WindowTemplate &window);

// The text a menu shows for a shortcut word ("Ctrl+O", "F5"), empty for none.
std::string ShortcutText(uint32_t shortcut);
