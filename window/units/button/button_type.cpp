// The button unit type: its property table and UnitInterface.
#include "window/units/button/button_unit.h"

#include <cstring>

#include "window/kernel_unit_types.h"

const PropertyTableEntry kButtonProperties[kButtonPropertyCount] = {
    {"左边", "left", "", kPropertyInteger2, 0, nullptr},
    {"顶边", "top", "", kPropertyInteger2, 0, nullptr},
    {"宽度", "width", "", kPropertyInteger2, 0, nullptr},
    {"高度", "height", "", kPropertyInteger2, 0, nullptr},
    {"标记", "tag", "", kPropertyText, 0, nullptr},
    {"可视", "visible", "", kPropertyLogical, 0, nullptr},
    {"禁止", "disabled", "", kPropertyLogical, 0, nullptr},
    {"鼠标指针", "mouse pointer", "", kPropertyMousePointer, 0, nullptr},
    {"图片", "picture", "", kPropertyPicture, 0, nullptr},
    {"类型", "type", "", kPropertyPickIndex, 0, nullptr},
    {"标题", "caption", "", kPropertyText, 0, nullptr},
    {"横向对齐方式", "horizontal alignment", "", kPropertyPickIndex, 0, nullptr},
    {"纵向对齐方式", "vertical alignment", "", kPropertyPickIndex, 0, nullptr},
    {"字体", "font", "", kPropertyFont, 0, nullptr},
};

namespace {

int32_t SetButtonProperty(CWnd *unit, int32_t index, const PropertyValue &value) {
    return static_cast<CButtonUnit *>(unit)->SetProperty(index, value);
}

void GetButtonProperty(CWnd *unit, int32_t index, PropertyValue *value) {
    static_cast<CButtonUnit *>(unit)->GetProperty(index, value);
}

HGLOBAL SaveButton(CWnd *unit) {
    return SaveButtonProperties(static_cast<CButtonUnit *>(unit)->properties);
}

HGLOBAL RewriteButtonTexts(const uint8_t *block, uint32_t size, TextRewriteCallback callback,
                           void *context) {
    ButtonProperties properties;
    if (!ReadButtonProperties(block, size, &properties))
        return nullptr;
    const char *caption = callback(properties.caption.c_str(), context);
    properties.caption = caption != nullptr ? caption : "";
    if (properties.font.size() == sizeof(LOGFONTA)) {
        auto *font = reinterpret_cast<LOGFONTA *>(properties.font.data());
        char face[LF_FACESIZE + 1] = {};
        std::memcpy(face, font->lfFaceName, LF_FACESIZE);
        const char *rewritten = callback(face, context);
        std::memset(font->lfFaceName, 0, LF_FACESIZE);
        if (rewritten != nullptr)
            std::memcpy(font->lfFaceName, rewritten, strnlen(rewritten, LF_FACESIZE - 1));
    }
    return SaveButtonProperties(properties);
}

bool IsDefaultButton(CWnd *unit) {
    return static_cast<CButtonUnit *>(unit)->IsDefaultButton();
}

} // namespace

void *ButtonUnitInterface(int32_t operationCode) {
    switch (operationCode) {
    case kOperationCreate:
        return reinterpret_cast<void *>(&CButtonUnit::Create);
    case kOperationSetProperty:
        return reinterpret_cast<void *>(&SetButtonProperty);
    case kOperationSaveProperties:
        return reinterpret_cast<void *>(&SaveButton);
    case kOperationGetProperty:
        return reinterpret_cast<void *>(&GetButtonProperty);
    case kOperationRewriteTexts:
        return reinterpret_cast<void *>(&RewriteButtonTexts);
    case kOperationIsDefaultButton:
        return reinterpret_cast<void *>(&IsDefaultButton);
    default:
        return nullptr;
    }
}
