// WindowId and UnitId fields: serial number, kind and class, and the tests every lookup applies.
#pragma once

#include <cstdint>

inline constexpr uint32_t kIdSerialMask = 0x00FFFFFF;
inline constexpr uint32_t kIdKindMask = 0x0F000000;
inline constexpr uint32_t kIdClassMask = 0xF0000000;
inline constexpr uint32_t kUnitIdKind = 0x06000000;
inline constexpr uint32_t kMenuItemIdClass = 0x20000000;

// Only an identifier with a serial number and a kind names anything; lookups treat every other
// value as absent without searching.
inline bool IsValidId(uint32_t id) {
    return (id & kIdSerialMask) != 0 && (id & kIdKindMask) != 0;
}

// Whether the record of this UnitId has the menu-item form. Every walker decides the record form
// by this test, never by the record's type word.
inline bool IsMenuItemId(uint32_t unitId) {
    return (unitId & kIdKindMask) == kUnitIdKind && (unitId & kIdClassMask) == kMenuItemIdClass;
}
