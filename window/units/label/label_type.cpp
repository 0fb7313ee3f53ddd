// The label's UnitInterface: its operations by code.
#include "window/units/label/label_unit.h"
#include "window/units/unit_operations.h"
#include "window/units/unit_text_rewrite.h"

namespace {

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
    return CommonUnitOperation<CLabelUnit>(operationCode, &SaveLabel, &RewriteLabelTexts);
}
