// Unit type descriptors, their property tables, and the operations a unit type hands out through
// its UnitInterface by operation code.
#pragma once

#include <windows.h>

#include <cstdint>

#include "runtime/image_layout.h"

class CWnd;

// Descriptor flags the window engine tests.
constexpr uint32_t kTypeRaisesEvents = 0x00000004;
constexpr uint32_t kTypeNotRecreatable = 0x00000010;
constexpr uint32_t kTypeRaisesEventsToo = 0x00000040;
constexpr uint32_t kTypeContainer = 0x00000080;
constexpr uint32_t kTypeMultiPage = 0x00000100;
constexpr uint32_t kTypeNeverShown = 0x00008000;
constexpr uint32_t kTypeHoldsPlayer = 0x00080000;
constexpr uint32_t kTypeBarUnit = 0x00100000;

// Unit types of the kernel library.
constexpr uint32_t kWindowUnitType = 0x00010001;
constexpr uint32_t kMenuItemUnitType = 0x00010003;
constexpr uint32_t kEditBoxUnitType = 0x00010005;
constexpr uint32_t kLabelUnitType = 0x0001000A;
constexpr uint32_t kButtonUnitType = 0x0001000B;
constexpr uint32_t kMultiPageUnitType = 0x00010015;

// PropertyType codes.
enum PropertyType : uint16_t {
    kPropertyInteger = 1000,
    kPropertyInteger2 = 1001,
    kPropertyDouble = 1002,
    kPropertyLogical = 1003,
    kPropertyDateTime = 1004,
    kPropertyText = 1005,
    kPropertyPickIndex = 1006,
    kPropertyPicture = 1009,
    kPropertyIcon = 1010,
    kPropertyMousePointer = 1011,
    kPropertySound = 1012,
    kPropertyFont = 1013,
    kPropertyColour = 1014,
    kPropertyColour2 = 1015,
    kPropertyFileName = 1016,
    kPropertyColour3 = 1017,
    kPropertyBytes = 1023,
    kPropertyBytes2 = 1024,
};

// The pair of words in which get and set operations exchange a value.
struct PropertyValue {
    uint32_t low;  // value, text or byte address
    uint32_t high; // high word of 64-bit values, byte length of byte data and fonts
};

// UnitInterface operation codes.
enum UnitOperation : int32_t {
    kOperationCreate = 1,
    kOperationSetProperty = 4,
    kOperationSaveProperties = 5,
    kOperationGetProperty = 6,
    kOperationIconBytes = 7,
    kOperationKeyHook = 8,
    kOperationRewriteTexts = 9,
    kOperationIsDefaultButton = 10,
    kOperationMessageHook = 11,
};

// The operations' signatures.
struct UnitCreateArguments {
    const uint8_t *propertyBlock;
    uint32_t propertyBlockSize;
    uint32_t style;
    HWND parent;
    uint32_t controlId;
    HMENU menu;
    int32_t left, top, width, height;
    uint32_t windowId;
    uint32_t unitId;
    uint32_t reserved;
    uint32_t childFlag;
};
using UnitCreateOperation = CWnd *(*)(const UnitCreateArguments &arguments);
// Returns 1 when the property takes effect only on a new control.
using UnitSetPropertyOperation = int32_t (*)(CWnd *unit, int32_t index, const PropertyValue &value);
using UnitGetPropertyOperation = void (*)(CWnd *unit, int32_t index, PropertyValue *value);
// A movable global memory block holding a new PropertyBlock, or null.
using UnitSaveOperation = HGLOBAL (*)(CWnd *unit);
using UnitIconBytesOperation = const uint8_t *(*)(const uint8_t *block, uint32_t size,
                                                  uint32_t *iconSize);
// Called with each text of a block; returns a replacement (or the same text).
using TextRewriteCallback = const char *(*)(const char *text, void *context);
using UnitRewriteTextsOperation = HGLOBAL (*)(const uint8_t *block, uint32_t size,
                                              TextRewriteCallback callback, void *context);
using UnitIsDefaultButtonOperation = bool (*)(CWnd *unit);

// The descriptor of a UnitType from the data type tables of the runtime's libraries, or null.
const UnitTypeDescriptor *FindUnitTypeDescriptor(uint32_t unitType);
// The operation of a descriptor, or null.
void *UnitOperationOf(const UnitTypeDescriptor *descriptor, int32_t operationCode);
// The PropertyType of property index (0-based, common properties included), or 0.
uint16_t PropertyTypeOf(const UnitTypeDescriptor *descriptor, int32_t index);
