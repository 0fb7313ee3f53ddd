// The four properties of a menu item, kept on its record: caption, and three flag bits.
#pragma once

#include <cstdint>

struct WindowObject;

uint64_t ReadMenuItemProperty(WindowObject &window, uint32_t unitId, int32_t index);
void WriteMenuItemProperty(WindowObject &window, uint32_t unitId, int32_t index, uint32_t low);
