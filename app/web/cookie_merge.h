// Cookie lists ("name=value" items joined by "; "): merging what was sent with what the server
// set, and the small list routines the merge uses.
#pragma once

#include <cstdint>

#include "values/value_blocks.h"

// Items the server set come first, then sent items whose names it did not set; items ending in
// "=deleted" are dropped, blanks are removed from both lists (written back) and repeated items
// kept once. sent receives the merged list; a new copy of it is returned.
Text MergeCookies(Text *sent, Text *received);
// The text before the first "=" (the whole item without one), trimmed of blanks.
Text CookieName(Text *item);
// Whether an item of list has exactly this name (names are case-sensitive).
bool ListHasCookie(TextArrayHeader **list, Text *name);
// The items of text split at delimiter, each kept at its first occurrence, joined again.
Text RemoveDuplicateItems(Text *text, Text *delimiter);
// The 1-based index of the first element equal to text, or -1.
int32_t FindItem(TextArrayHeader **array, Text *text);

// Appends a copy of item to a text list, growing its block by one element.
void AppendListItem(TextArrayHeader **list, const char *item);
