// Unit type look-up through the data type tables of the program's support libraries.
#include "window/unit_type.h"

#include "runtime/runtime_app.h"

const UnitTypeDescriptor *FindUnitTypeDescriptor(uint32_t unitType) {
    const uint32_t library = unitType >> 16;
    const uint32_t type = unitType & 0xFFFF;
    const GrowableBuffer &libraries = Runtime().libraries;
    if (library == 0 || library > libraries.WordCount() || type == 0) {
        return nullptr;
    }
    const auto *record = reinterpret_cast<const LibraryRecord *>(libraries.WordAt(library - 1));
    if (record == nullptr || record->dataTypes == nullptr || type > record->dataTypeCount) {
        return nullptr;
    }
    return &record->dataTypes[type - 1];
}

void *UnitOperationOf(const UnitTypeDescriptor *descriptor, int32_t operationCode) {
    if (descriptor == nullptr || descriptor->unitInterface == nullptr) {
        return nullptr;
    }
    return descriptor->unitInterface(operationCode);
}

uint16_t PropertyTypeOf(const UnitTypeDescriptor *descriptor, int32_t index) {
    if (descriptor == nullptr || index < 0 ||
        static_cast<uint32_t>(index) >= descriptor->propertyCount ||
        descriptor->properties == nullptr) {
        return 0;
    }
    return descriptor->properties[index].type;
}
