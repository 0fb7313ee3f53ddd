// Parser of the window description format.
//
// One statement per line; "#" starts a comment line. Texts are UTF-8 in double quotes (\" and
// \\ escape) and are stored as code page 936 bytes.
//
//   window <WindowId>                      starts a window
//   reserved <word> <word>                 the WindowRecord's two reserved words
//   unit <UnitId> <type> "<name>"          starts a unit record (window, editbox, label, button,
//                                          menuitem: a UnitId of kind 6, class 2)
//   position <left> <top> <width> <height>
//   flags <visible|disabled|tabstop>...    UnitFlags
//   tab_order <n>  parent <UnitId>  event_target <UnitId>  children <UnitId>...
//   remark "<text>"  tag "<text>"  mouse_pointer <number>
//   event <number> <handler name>          binds an event to an entry of the handler list
//   properties empty                       an empty PropertyBlock: every default
//   menu "<caption>" <level> [hidden|disabled|checked]...
//                                          a menu item's caption, nesting level and flags
//   shortcut <key> [ctrl|shift|alt]...     a menu item's shortcut: a virtual-key code
//   menu_value <word>  handler <name>      a menu item's value and handler
//   <property> <value>                     a PropertyBlock field: a number, "<text>", none,
//                                          file "<path>" (relative to the description), or
//                                          font "<face>" <height> <weight> (a LOGFONT record)
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "window_description.h"

// Entry i of the program code entry table is the 5-byte entry at offset 5 * i from CodeBase.
inline constexpr uint32_t kEntryTableEntryBytes = 5;

// handlerOffsets maps handler names to their offsets from CodeBase. Throws std::runtime_error
// naming the line of the first error.
std::vector<WindowDescription>
ParseWindowDescription(const std::string &text, const std::string &directory,
                       const std::map<std::string, uint32_t> &handlerOffsets);

// Reads a handler list (one name per line, in entry-table order; "#" comments) into offsets.
std::map<std::string, uint32_t> ParseHandlerList(const std::string &text);
