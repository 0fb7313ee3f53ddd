// The operations every unit type hands out through its UnitInterface: create, property set and
// get, save and text rewrite. They are made here from the unit class and the type's own save
// and rewrite routines, so that each type's interface names only what is its own.
#pragma once

#include <cstdint>

#include "window/unit_type.h"

// Property set and get as operations over a unit class's SetProperty and GetProperty.
template <class Unit> struct UnitPropertyOperations {
    static int32_t Set(CWnd *unit, int32_t index, const PropertyValue &value) {
        return static_cast<Unit *>(unit)->SetProperty(index, value);
    }
    static void Get(CWnd *unit, int32_t index, PropertyValue *value) {
        static_cast<Unit *>(unit)->GetProperty(index, value);
    }
};

// The operation of operationCode among those every unit type has, or null for any other code.
template <class Unit>
void *CommonUnitOperation(int32_t operationCode, UnitSaveOperation save,
                          UnitRewriteTextsOperation rewriteTexts) {
    switch (operationCode) {
    case kOperationCreate:
        return reinterpret_cast<void *>(static_cast<UnitCreateOperation>(&Unit::Create));
    case kOperationSetProperty:
        return reinterpret_cast<void *>(
            static_cast<UnitSetPropertyOperation>(&UnitPropertyOperations<Unit>::Set));
    case kOperationSaveProperties:
        return reinterpret_cast<void *>(save);
    case kOperationGetProperty:
        return reinterpret_cast<void *>(
            static_cast<UnitGetPropertyOperation>(&UnitPropertyOperations<Unit>::Get));
    case kOperationRewriteTexts:
        return reinterpret_cast<void *>(rewriteTexts);
    default:
        return nullptr;
    }
}
