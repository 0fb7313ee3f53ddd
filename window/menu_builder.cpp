// Menu bar and accelerator table of a window from its menu-item records, and the rebuild that
// follows a change of those records.
#include "window/menu_builder.h"

#include <cstdio>
#include <cstring>
#include <iterator>
#include <vector>

#include "runtime/program_text_wide.h"
#include "window/units/window/win_form_unit.h"
#include "window/window_collection.h"

namespace {

constexpr uint32_t kShortcutKeyMask = 0xFFFF;

struct MenuEntry {
    uint32_t index; // record index
    uint32_t level; // effective nesting level
    uint32_t flags;
    bool hasItems; // the next entry lies one level deeper
};

// The first run of consecutive menu-item records, with their effective levels.
std::vector<MenuEntry> MenuRun(WindowTemplate &window) {
    std::vector<MenuEntry> run;
    uint32_t i = 1;
    while (i < window.UnitCount() && !window.RecordAt(i).IsMenuItem()) {
        ++i;
    }
    for (; i < window.UnitCount() && window.RecordAt(i).IsMenuItem(); ++i) {
        const uint32_t flags = window.RecordAt(i).MenuFlags();
        uint32_t level = (flags & kMenuLevelMask) >> kMenuLevelShift;
        const uint32_t deepest = run.empty() ? 0 : run.back().level + 1;
        if (level > deepest) {
            level = deepest;
        }
        if (!run.empty() && level > run.back().level) {
            run.back().hasItems = true;
        }
        run.push_back({i, level, flags, false});
    }
    return run;
}

bool IsSeparator(WindowTemplate &window, const MenuEntry &entry) {
    return std::strcmp(window.RecordAt(entry.index).Caption(), "-") == 0;
}

// Whether entry n and every item it lies under are shown and enabled.
bool ChainUsable(const std::vector<MenuEntry> &run, size_t n) {
    uint32_t level = run[n].level + 1;
    for (size_t k = n + 1; k-- > 0;) {
        if (run[k].level < level) {
            if (run[k].flags & (kMenuItemHidden | kMenuItemDisabled)) {
                return false;
            }
            level = run[k].level;
            if (level == 0) {
                return true;
            }
        }
    }
    return true;
}

ACCEL AcceleratorOf(uint32_t shortcut, size_t n) {
    ACCEL accelerator = {};
    accelerator.fVirt = FVIRTKEY;
    if (shortcut & kShortcutCtrl) {
        accelerator.fVirt |= FCONTROL;
    }
    if (shortcut & kShortcutShift) {
        accelerator.fVirt |= FSHIFT;
    }
    if (shortcut & kShortcutAlt) {
        accelerator.fVirt |= FALT;
    }
    accelerator.key = static_cast<WORD>(shortcut & kShortcutKeyMask);
    accelerator.cmd = static_cast<WORD>(kFirstMenuCommand + n);
    return accelerator;
}

} // namespace

std::string ShortcutText(uint32_t shortcut) {
    const uint32_t key = shortcut & kShortcutKeyMask;
    if (key == 0) {
        return {};
    }
    std::string name;
    if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
        name = static_cast<char>(key);
    } else if (key >= VK_F1 && key <= VK_F24) {
        name = "F" + std::to_string(key - VK_F1 + 1);
    } else {
        wchar_t buffer[64];
        const LONG scan = static_cast<LONG>(MapVirtualKeyW(key, MAPVK_VK_TO_VSC)) << 16;
        if (GetKeyNameTextW(scan, buffer, static_cast<int>(std::size(buffer))) > 0) {
            name = WideToProgramText(buffer);
        } else {
            char number[16];
            std::snprintf(number, sizeof number, "#%u", key);
            name = number;
        }
    }
    std::string text;
    if (shortcut & kShortcutCtrl) {
        text += "Ctrl+";
    }
    if (shortcut & kShortcutShift) {
        text += "Shift+";
    }
    if (shortcut & kShortcutAlt) {
        text += "Alt+";
    }
    return text + name;
}

WindowMenu BuildWindowMenu(WindowTemplate &window) {
    const std::vector<MenuEntry> run = MenuRun(window);
    WindowMenu built;
    built.menu = CreateMenu();
    if (built.menu == nullptr) {
        return built;
    }
    std::vector<HMENU> menus = {built.menu};
    std::vector<ACCEL> accelerators;
    bool anyShown = false;
    // Items under a hidden item are left out with it.
    uint32_t skipBelow = UINT32_MAX;
    for (size_t n = 0; n < run.size(); ++n) {
        const MenuEntry &entry = run[n];
        if (entry.level > skipBelow) {
            continue;
        }
        skipBelow = UINT32_MAX;
        if (entry.flags & kMenuItemHidden) {
            skipBelow = entry.level;
            continue;
        }
        menus.resize(entry.level + 1);
        const UnitRecordView record = window.RecordAt(entry.index);
        UINT flags = MF_STRING;
        if (entry.flags & kMenuItemDisabled) {
            flags |= MF_GRAYED;
        }
        if (entry.flags & kMenuItemChecked) {
            flags |= MF_CHECKED;
        }
        std::string caption = record.Caption();
        UINT_PTR command = kFirstMenuCommand + n;
        if (entry.hasItems) {
            HMENU items = CreatePopupMenu();
            menus.push_back(items);
            flags |= MF_POPUP;
            command = reinterpret_cast<UINT_PTR>(items);
        } else if (IsSeparator(window, entry)) {
            flags = MF_SEPARATOR;
        } else if (record.Shortcut() & kShortcutKeyMask) {
            if (entry.level > 0) {
                caption += "\t" + ShortcutText(record.Shortcut());
            }
            if (ChainUsable(run, n)) {
                accelerators.push_back(AcceleratorOf(record.Shortcut(), n));
            }
        }
        AppendMenuW(menus[entry.level], flags, command, ProgramTextToWide(caption).c_str());
        anyShown = anyShown || entry.level == 0;
    }
    if (!anyShown && !(window.RecordAt(0).Flags() & kWindowMenuMarked)) {
        DestroyMenu(built.menu);
        built.menu = nullptr;
    }
    if (!accelerators.empty()) {
        built.accelerators =
            CreateAcceleratorTableW(accelerators.data(), static_cast<int>(accelerators.size()));
    }
    return built;
}

void DestroyWindowMenu(const WindowMenu &built) {
    if (built.menu != nullptr && IsMenu(built.menu)) {
        DestroyMenu(built.menu);
    }
    if (built.accelerators != nullptr) {
        DestroyAcceleratorTable(built.accelerators);
    }
}

int32_t ChoosableMenuItem(WindowTemplate &window, uint32_t n) {
    const std::vector<MenuEntry> run = MenuRun(window);
    if (n >= run.size() || run[n].hasItems || IsSeparator(window, run[n]) || !ChainUsable(run, n)) {
        return -1;
    }
    return static_cast<int32_t>(run[n].index);
}

void RebuildWindowMenu(WindowTemplate &window) {
    auto *unit = dynamic_cast<CWinFormUnit *>(LiveWindowOf(window));
    if (unit == nullptr) {
        return;
    }
    WindowMenu built = BuildWindowMenu(window);
    if (unit->childWindow && built.menu != nullptr) {
        // A child window cannot carry a menu bar.
        DestroyMenu(built.menu);
        built.menu = nullptr;
    }
    if (!unit->childWindow) {
        HMENU old = GetMenu(unit->m_hWnd);
        SetMenu(unit->m_hWnd, built.menu);
        DrawMenuBar(unit->m_hWnd);
        if (old != nullptr && old != built.menu) {
            DestroyMenu(old);
        }
    }
    unit->ReplaceAccelerators(built.accelerators);
}
