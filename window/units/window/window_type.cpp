// The window unit type's UnitInterface: its operations by code.
#include "window/kernel_unit_types.h"
#include "window/property_block.h"
#include "window/units/unit_operations.h"
#include "window/units/unit_text_rewrite.h"
#include "window/units/window/win_form_unit.h"

namespace {

HGLOBAL SaveWindow(CWnd *unit) {
    return SaveWindowProperties(static_cast<CWinFormUnit *>(unit)->properties);
}

// The icon bytes of a block, inside the block; null when it has none or cannot be read.
const uint8_t *WindowIconBytes(const uint8_t *block, uint32_t size, uint32_t *iconSize) {
    *iconSize = 0;
    WindowProperties properties;
    const uint8_t *iconAt = nullptr;
    if (block == nullptr || !ReadWindowProperties(block, size, &properties, &iconAt) ||
        properties.icon.empty())
        return nullptr;
    *iconSize = static_cast<uint32_t>(properties.icon.size());
    return iconAt;
}

HGLOBAL RewriteWindowTexts(const uint8_t *block, uint32_t size, TextRewriteCallback callback,
                           void *context) {
    WindowProperties properties;
    if (!ReadWindowProperties(block, size, &properties))
        return nullptr;
    for (std::string *text : {&properties.title, &properties.helpFile, &properties.className})
        RewriteBlockText(*text, callback, context);
    return SaveWindowProperties(properties);
}

} // namespace

void *WindowUnitInterface(int32_t operationCode) {
    if (operationCode == kOperationIconBytes)
        return reinterpret_cast<void *>(&WindowIconBytes);
    return CommonUnitOperation<CWinFormUnit>(operationCode, &SaveWindow, &RewriteWindowTexts);
}
