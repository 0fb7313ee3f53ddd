// The kernel library's unit types as the window engine serves them: flags, property tables and
// UnitInterfaces of the window, menu item, edit box, label and button. The library's data type
// table (image/kernel_library.cpp) is made of these.
#pragma once

#include <cstdint>

#include "runtime/image_layout.h"

inline constexpr uint32_t kWindowTypeFlags = 0x800000D0;
inline constexpr uint32_t kMenuItemTypeFlags = 0x00000004;
inline constexpr uint32_t kEditBoxTypeFlags = 0x80000040;
inline constexpr uint32_t kLabelTypeFlags = 0x84012040;
inline constexpr uint32_t kButtonTypeFlags = 0x80000840;

inline constexpr uint32_t kWindowPropertyCount = 32;
inline constexpr uint32_t kMenuItemPropertyCount = 4;
inline constexpr uint32_t kEditBoxPropertyCount = 29;
inline constexpr uint32_t kLabelPropertyCount = 29;
inline constexpr uint32_t kButtonPropertyCount = 14;

extern const PropertyTableEntry kWindowProperties[kWindowPropertyCount];
extern const PropertyTableEntry kMenuItemProperties[kMenuItemPropertyCount];
extern const PropertyTableEntry kEditBoxProperties[kEditBoxPropertyCount];
extern const PropertyTableEntry kLabelProperties[kLabelPropertyCount];
extern const PropertyTableEntry kButtonProperties[kButtonPropertyCount];

void *WindowUnitInterface(int32_t operationCode);
void *ButtonUnitInterface(int32_t operationCode);
void *EditBoxUnitInterface(int32_t operationCode);
void *LabelUnitInterface(int32_t operationCode);
