// The window unit type: its property table and UnitInterface.
#include "window/kernel_unit_types.h"
#include "window/property_block.h"
#include "window/units/window/win_form_unit.h"

const PropertyTableEntry kWindowProperties[kWindowPropertyCount] = {
    {"左边", "left", "", kPropertyInteger2, 0, nullptr},
    {"顶边", "top", "", kPropertyInteger2, 0, nullptr},
    {"宽度", "width", "", kPropertyInteger2, 0, nullptr},
    {"高度", "height", "", kPropertyInteger2, 0, nullptr},
    {"标记", "tag", "", kPropertyText, 0, nullptr},
    {"可视", "visible", "", kPropertyLogical, 0, nullptr},
    {"禁止", "disabled", "", kPropertyLogical, 0, nullptr},
    {"鼠标指针", "mouse pointer", "", kPropertyMousePointer, 0, nullptr},
    {"标题", "title", "", kPropertyText, 0, nullptr},
    {"边框", "border style", "", kPropertyPickIndex, 0, nullptr},
    {"底色", "background colour", "", kPropertyColour3, 0, nullptr},
    {"底图", "background picture", "", kPropertyPicture, 0, nullptr},
    {"底图方式", "picture mode", "", kPropertyPickIndex, 0, nullptr},
    {"背景音乐", "background music", "", kPropertySound, 0, nullptr},
    {"播放次数", "music play mode", "", kPropertyPickIndex, 0, nullptr},
    {"控制按钮", "control box", "", kPropertyLogical, 0, nullptr},
    {"最大化按钮", "maximise box", "", kPropertyLogical, 0, nullptr},
    {"最小化按钮", "minimise box", "", kPropertyLogical, 0, nullptr},
    {"位置", "start position", "", kPropertyPickIndex, 0, nullptr},
    {"可否移动", "movable", "", kPropertyLogical, 0, nullptr},
    {"图标", "icon", "", kPropertyIcon, 0, nullptr},
    {"回车下移焦点", "Enter moves focus", "", kPropertyLogical, 0, nullptr},
    {"Esc键关闭", "Esc closes", "", kPropertyLogical, 0, nullptr},
    {"F1键打开帮助", "F1 opens help", "", kPropertyLogical, 0, nullptr},
    {"帮助文件名", "help file", "", kPropertyFileName, 0, nullptr},
    {"帮助标志值", "help topic", "", kPropertyInteger2, 0, nullptr},
    {"在任务条中显示", "show in taskbar", "", kPropertyLogical, 0, nullptr},
    {"随意移动", "drag by client area", "", kPropertyLogical, 0, nullptr},
    {"外形", "shape", "", kPropertyPickIndex, 0, nullptr},
    {"总在最前", "always on top", "", kPropertyLogical, 0, nullptr},
    {"保持标题条激活", "keep title bar active", "", kPropertyLogical, 0, nullptr},
    {"窗口类名", "class name", "", kPropertyText, 0, nullptr},
};

namespace {

int32_t SetWindowProperty(CWnd *unit, int32_t index, const PropertyValue &value) {
    return static_cast<CWinFormUnit *>(unit)->SetProperty(index, value);
}

void GetWindowProperty(CWnd *unit, int32_t index, PropertyValue *value) {
    static_cast<CWinFormUnit *>(unit)->GetProperty(index, value);
}

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
    for (std::string *text : {&properties.title, &properties.helpFile, &properties.className}) {
        const char *rewritten = callback(text->c_str(), context);
        *text = rewritten != nullptr ? rewritten : "";
    }
    return SaveWindowProperties(properties);
}

} // namespace

void *WindowUnitInterface(int32_t operationCode) {
    switch (operationCode) {
    case kOperationCreate:
        return reinterpret_cast<void *>(&CWinFormUnit::Create);
    case kOperationSetProperty:
        return reinterpret_cast<void *>(&SetWindowProperty);
    case kOperationSaveProperties:
        return reinterpret_cast<void *>(&SaveWindow);
    case kOperationGetProperty:
        return reinterpret_cast<void *>(&GetWindowProperty);
    case kOperationIconBytes:
        return reinterpret_cast<void *>(&WindowIconBytes);
    case kOperationRewriteTexts:
        return reinterpret_cast<void *>(&RewriteWindowTexts);
    default:
        return nullptr;
    }
}
