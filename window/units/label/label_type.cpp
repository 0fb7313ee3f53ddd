// The label's UnitInterface: its operations by code.
#include "window/units/edit_box/unit_text_rewrite.h"
#include "window/units/label/label_unit.h"

namespace {

int32_t SetLabelProperty(CWnd *unit, int32_t index, const PropertyValue &value) {
    return static_cast<CLabelUnit *>(unit)->SetProperty(index, value);
}

void GetLabelProperty(CWnd *unit, int32_t index, PropertyValue *value) {
    static_cast<CLabelUnit *>(unit)->GetProperty(index, value);
}

HGLOBAL SaveLabel(CWnd *unit) {
    return SaveLabelProperties(static_cast<CLabelUnit *>(unit)->properties);
}

HGLOBAL RewriteLabelTexts(const uint8_t *block, uint32_t size, TextRewriteCallback callback,
                          void *context) {
    LabelProperties properties;
    if (!ReadLabelProperties(block, size, &properties))
        return nullptr;
    RewriteBlockText(properties.caption, callback, context);
    RewriteFontFace(properties.font, callback, context);
    RewriteBlockText(properties.dataSource, callback, context);
    RewriteBlockText(properties.dataColumn, callback, context);
    return SaveLabelProperties(properties);
}

} // namespace

void *LabelUnitInterface(int32_t operationCode) {
    switch (operationCode) {
    case kOperationCreate:
        return reinterpret_cast<void *>(&CLabelUnit::Create);
    case kOperationSetProperty:
        return reinterpret_cast<void *>(&SetLabelProperty);
    case kOperationSaveProperties:
        return reinterpret_cast<void *>(&SaveLabel);
    case kOperationGetProperty:
        return reinterpret_cast<void *>(&GetLabelProperty);
    case kOperationRewriteTexts:
        return reinterpret_cast<void *>(&RewriteLabelTexts);
    default:
        return nullptr;
    }
}
