// The edit box's UnitInterface: its operations by code.
#include "window/units/edit_box/edit_box_unit.h"
#include "window/units/edit_box/unit_text_rewrite.h"

namespace {

int32_t SetEditBoxProperty(CWnd *unit, int32_t index, const PropertyValue &value) {
    return static_cast<CEditBoxUnit *>(unit)->SetProperty(index, value);
}

void GetEditBoxProperty(CWnd *unit, int32_t index, PropertyValue *value) {
    static_cast<CEditBoxUnit *>(unit)->GetProperty(index, value);
}

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
    switch (operationCode) {
    case kOperationCreate:
        return reinterpret_cast<void *>(&CEditBoxUnit::Create);
    case kOperationSetProperty:
        return reinterpret_cast<void *>(&SetEditBoxProperty);
    case kOperationSaveProperties:
        return reinterpret_cast<void *>(&SaveEditBox);
    case kOperationGetProperty:
        return reinterpret_cast<void *>(&GetEditBoxProperty);
    case kOperationKeyHook:
        return reinterpret_cast<void *>(&EditBoxTakesKey);
    case kOperationRewriteTexts:
        return reinterpret_cast<void *>(&RewriteEditBoxTexts);
    default:
        return nullptr;
    }
}
