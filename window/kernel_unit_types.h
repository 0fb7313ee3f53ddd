// The kernel library's unit type descriptors that the window engine serves: window, menu item,
// edit box, label, button, ComObject and Variant.
#pragma once

#include "window/unit_type.h"

extern const UnitTypeDescriptor kMenuItemTypeDescriptor;
extern const UnitTypeDescriptor kEditBoxTypeDescriptor;
extern const UnitTypeDescriptor kLabelTypeDescriptor;
extern const UnitTypeDescriptor kComObjectTypeDescriptor;
extern const UnitTypeDescriptor kVariantTypeDescriptor;
extern const UnitTypeDescriptor kWindowTypeDescriptor;
extern const UnitTypeDescriptor kButtonTypeDescriptor;

// Fills the kernel library's data type table (count entries, type number - 1) with the
// descriptors above; the other entries stay as they are.
void PlaceKernelUnitTypes(UnitTypeDescriptor *table, uint32_t count);
