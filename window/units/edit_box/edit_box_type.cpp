// The edit box's UnitInterface: its operations by code.
#include "window/units/edit_box/edit_box_unit.h"
#include "window/units/unit_operations.h"
#include "window/units/unit_text_rewrite.h"

namespace {

HGLOBAL SaveEditBox(CWnd *unit) {
    return SaveEditBoxProperties(static_cast<CEditBoxUnit *>(unit)->CurrentProperties());
}

HGLOBAL RewriteEditBoxTexts(const uint8_t *block, uint32_t size, TextRewriteCallback callback,
                            void *context) {
    EditBoxProperties properties;
    if (!ReadEditBoxProperties(block, size, &properties))
        return nullptr;
    RewriteBlockText(properties.content, callback, context);
    RewriteFontFace(properties.font, callback, context);
    RewriteBlockText(properties.dataSource, callback, context);
    RewriteBlockText(properties.dataColumn, callback, context);
    return SaveEditBoxProperties(properties);
}

bool EditBoxTakesKey(CWnd *unit, uint32_t keyCode) {
    return static_cast<CEditBoxUnit *>(unit)->TakesKey(keyCode);
}

} // namespace

void *EditBoxUnitInterface(int32_t operationCode) {
    if (operationCode == kOperationKeyHook)
        return reinterpret_cast<void *>(&EditBoxTakesKey);
    return CommonUnitOperation<CEditBoxUnit>(operationCode, &SaveEditBox, &RewriteEditBoxTexts);
}
