// The kernel support library's record, data type table (the window engine's unit types among
// its entries) and notification routine.
#include "image/kernel_library.h"

#include "values/kernel_command_table.h"
#include "window/kernel_unit_types.h"

namespace {

uint32_t gRuntimeCallback = 0;

constexpr uint32_t kLibraryFormatWord = 20000101;
constexpr uint32_t kLibraryFlags = 0xC0000001;

// Data type numbers (1-based) of the types whose names the image carries.
constexpr uint32_t kWindowType = 1;
constexpr uint32_t kMenuItemType = 3;
constexpr uint32_t kEditBoxType = 5;
constexpr uint32_t kLabelType = 10;
constexpr uint32_t kButtonType = 11;
constexpr uint32_t kComObjectType = 0x30;
constexpr uint32_t kVariantType = 0x31;

constexpr UnitTypeDescriptor Described(const char *name, const char *englishName, uint32_t flags,
                                       uint32_t propertyCount, const PropertyTableEntry *properties,
                                       UnitInterface unitInterface) {
    return UnitTypeDescriptor{name,      englishName,   "",         {0, 0},        flags,
                              {0, 0, 0}, propertyCount, properties, unitInterface, {0, 0}};
}

constexpr UnitTypeDescriptor Named(const char *name, const char *englishName) {
    return Described(name, englishName, 0, 0, nullptr, nullptr);
}

struct DataTypeTable {
    UnitTypeDescriptor entries[kKernelDataTypeCount];
};

constexpr DataTypeTable MakeDataTypeTable() {
    DataTypeTable table{};
    table.entries[kWindowType - 1] =
        Described("窗口", "window", kWindowTypeFlags, kWindowPropertyCount, kWindowProperties,
                  &WindowUnitInterface);
    table.entries[kMenuItemType - 1] = Described(
        "菜单", "Menu", kMenuItemTypeFlags, kMenuItemPropertyCount, kMenuItemProperties, nullptr);
    table.entries[kEditBoxType - 1] = Described("编辑框", "EditBox", kEditBoxTypeFlags,
                                                kEditBoxPropertyCount, kEditBoxProperties, nullptr);
    table.entries[kLabelType - 1] =
        Described("标签", "Label", kLabelTypeFlags, kLabelPropertyCount, kLabelProperties, nullptr);
    table.entries[kButtonType - 1] =
        Described("按钮", "Button", kButtonTypeFlags, kButtonPropertyCount, kButtonProperties,
                  &ButtonUnitInterface);
    table.entries[kComObjectType - 1] = Named("对象", "ComObject");
    table.entries[kVariantType - 1] = Named("变体型", "Variant");
    return table;
}

constexpr DataTypeTable kDataTypeTable = MakeDataTypeTable();

} // namespace

const UnitTypeDescriptor *const KernelDataTypes = kDataTypeTable.entries;

int32_t __attribute__((stdcall))
KernelLibraryNotify(int32_t message, uint32_t argument1, uint32_t) {
    if (message == kLibraryNotifyStartup) {
        gRuntimeCallback = argument1;
        return 0;
    }
    return kLibraryNotifyUnhandled;
}

uint32_t KernelLibraryRuntimeCallback() {
    return gRuntimeCallback;
}

const LibraryRecord KernelLibraryRecord = {
    kLibraryFormatWord,
    "6c0cb1ce57774dd88d2b12905046e6ef",
    {5, 3, 64, 3, 7, 3, 7},
    "系统核心支持库",
    1,
    nullptr,
    kLibraryFlags,
    {nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr},
    kKernelDataTypeCount,
    kDataTypeTable.entries,
    0,
    nullptr,
    kKernelCommandCount,
    nullptr,
    KernelCommandTable,
    nullptr,
    nullptr,
    &KernelLibraryNotify,
};
