// Unit type lookup through the registered libraries' data type tables.
#include "window/unit_type.h"

#include "window/engine_state.h"

const UnitTypeDescriptor *FindUnitTypeDescriptor(uint32_t unitType) {
    const uint32_t library = unitType >> 16;
    const uint32_t type = unitType & 0xFFFF;
    const auto &libraries = Engine().libraries;
    if (library == 0 || library > libraries.size() || type == 0)
        return nullptr;
    const UnitTypeTable &table = libraries[library - 1];
    if (table.types == nullptr || type > table.count)
        return nullptr;
    return &table.types[type - 1];
}

void *UnitOperationOf(const UnitTypeDescriptor *descriptor, int32_t operationCode) {
    if (descriptor == nullptr || descriptor->unitInterface == nullptr)
        return nullptr;
    return descriptor->unitInterface(operationCode);
}

uint16_t PropertyTypeOf(const UnitTypeDescriptor *descriptor, int32_t index) {
    if (descriptor == nullptr || index < 0 ||
        static_cast<uint32_t>(index) >= descriptor->propertyCount || !descriptor->properties)
        return 0;
    return descriptor->properties[index].type;
}

WindowEngineState &Engine() {
    static WindowEngineState state;
    return state;
}
