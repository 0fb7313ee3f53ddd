// Property access by identifiers (service slots 4 and 5) and by unit object and type (internal
// commands 4 and 5), with the conversions between program values and PropertyValues.
#pragma once

#include <cstdint>

#include "window/unit_type.h"

// Slot 4: a program value in two words (EDX:EAX); texts and byte sets returned are new blocks.
extern "C" uint64_t ReadUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index,
                                     int32_t subIndex);
// Slot 5.
extern "C" void WriteUnitProperty(uint32_t windowId, uint32_t unitId, int32_t index,
                                  int32_t subIndex, uint32_t low, uint32_t high);

// Internal commands 4 and 5: property index counts the unit type's own properties from 0 (the
// index the type's operations take). The selector of a read picks the conversion as the sub-index
// of ReadUnitProperty does: -1 the whole value, 0 to 6 one field of a font.
extern "C" uint64_t ReadTypeProperty(uint32_t typeCode, CWnd *unit, int32_t index,
                                     uint32_t selector);
extern "C" void WriteTypeProperty(uint32_t typeCode, CWnd *unit, int32_t index, uint32_t low,
                                  uint32_t high);

// The conversions of one PropertyType. A PropertyValue made by ToPropertyValue may point at a
// scratch copy that lives until the next call on the same thread.
PropertyValue ToPropertyValue(uint16_t type, uint32_t low, uint32_t high);
uint64_t FromPropertyValue(uint16_t type, const PropertyValue &value);

// Clamp of the common geometry properties.
constexpr int32_t kMaxCoordinate = 32627;
