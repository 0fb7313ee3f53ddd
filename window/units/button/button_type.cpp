// The button unit type's UnitInterface: its operations by code.
#include "window/units/button/button_unit.h"

#include "window/kernel_unit_types.h"
#include "window/units/unit_operations.h"
#include "window/units/unit_text_rewrite.h"

namespace {

HGLOBAL SaveButton(CWnd *unit) {
    return SaveButtonProperties(static_cast<CButtonUnit *>(unit)->properties);
}

HGLOBAL RewriteButtonTexts(const uint8_t *block, uint32_t size, TextRewriteCallback callback,
                           void *context) {
    ButtonProperties properties;
    if (!ReadButtonProperties(block, size, &properties))
        return nullptr;
    RewriteBlockText(properties.caption, callback, context);
    RewriteFontFace(properties.font, callback, context);
    return SaveButtonProperties(properties);
}

bool IsDefaultButton(CWnd *unit) {
    return static_cast<CButtonUnit *>(unit)->IsDefaultButton();
}

} // namespace

void *ButtonUnitInterface(int32_t operationCode) {
    if (operationCode == kOperationIsDefaultButton)
        return reinterpret_cast<void *>(&IsDefaultButton);
    return CommonUnitOperation<CButtonUnit>(operationCode, &SaveButton, &RewriteButtonTexts);
}
