// The four properties of a menu item, kept on its record: caption, and three flag bits.
#pragma once

#include <cstdint>

class WindowTemplate;

uint64_t ReadMenuItemProperty(WindowTemplate &window, uint32_t unitId, int32_t index);
void WriteMenuItemProperty(WindowTemplate &window, uint32_t unitId, int32_t index, uint32_t low);
