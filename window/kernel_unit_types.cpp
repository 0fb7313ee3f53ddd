// Property tables of the kernel library's unit types.
#include "window/kernel_unit_types.h"

#include "window/unit_type.h"

// The common properties 0 to 7 that every control shares.
#define COMMON_PROPERTIES                                                                          \
    {"左边", "left", "", kPropertyInteger2, 0, nullptr},                                           \
        {"顶边", "top", "", kPropertyInteger2, 0, nullptr},                                        \
        {"宽度", "width", "", kPropertyInteger2, 0, nullptr},                                      \
        {"高度", "height", "", kPropertyInteger2, 0, nullptr},                                     \
        {"标记", "tag", "", kPropertyText, 0, nullptr},                                            \
        {"可视", "visible", "", kPropertyLogical, 0, nullptr},                                     \
        {"禁止", "disabled", "", kPropertyLogical, 0, nullptr}, {                                  \
        "鼠标指针", "mouse pointer", "", kPropertyMousePointer, 0, nullptr                         \
    }

const PropertyTableEntry kWindowProperties[kWindowPropertyCount] = {
    COMMON_PROPERTIES,
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

const PropertyTableEntry kButtonProperties[kButtonPropertyCount] = {
    COMMON_PROPERTIES,
    {"图片", "picture", "", kPropertyPicture, 0, nullptr},
    {"类型", "type", "", kPropertyPickIndex, 0, nullptr},
    {"标题", "caption", "", kPropertyText, 0, nullptr},
    {"横向对齐方式", "horizontal alignment", "", kPropertyPickIndex, 0, nullptr},
    {"纵向对齐方式", "vertical alignment", "", kPropertyPickIndex, 0, nullptr},
    {"字体", "font", "", kPropertyFont, 0, nullptr},
};

const PropertyTableEntry kEditBoxProperties[kEditBoxPropertyCount] = {
    COMMON_PROPERTIES,
    {"内容", "content", "", kPropertyText, 0, nullptr},
    {"边框", "border", "", kPropertyPickIndex, 0, nullptr},
    {"文本颜色", "text colour", "", kPropertyColour, 0, nullptr},
    {"背景颜色", "background colour", "", kPropertyColour, 0, nullptr},
    {"字体", "font", "", kPropertyFont, 0, nullptr},
    {"隐藏选择", "hide selection", "", kPropertyLogical, 0, nullptr},
    {"最大允许长度", "maximum length", "", kPropertyInteger2, 0, nullptr},
    {"是否允许多行", "multi-line", "", kPropertyLogical, 0, nullptr},
    {"滚动条", "scroll bars", "", kPropertyPickIndex, 0, nullptr},
    {"对齐方式", "alignment", "", kPropertyPickIndex, 0, nullptr},
    {"输入方式", "input mode", "", kPropertyPickIndex, 0, nullptr},
    {"密码遮盖字符", "password character", "", kPropertyText, 0, nullptr},
    {"转换方式", "case conversion", "", kPropertyPickIndex, 0, nullptr},
    {"调节器方式", "spin button", "", kPropertyPickIndex, 0, nullptr},
    {"调节器底限值", "spin minimum", "", kPropertyInteger2, 0, nullptr},
    {"调节器上限值", "spin maximum", "", kPropertyInteger2, 0, nullptr},
    {"起始选择位置", "selection start", "", kPropertyInteger2, 0, nullptr},
    {"被选择字符数", "selection length", "", kPropertyInteger2, 0, nullptr},
    {"被选择文本", "selected text", "", kPropertyText, 0, nullptr},
    {"数据源", "data source", "", kPropertyText, 0, nullptr},
    {"数据列", "data column", "", kPropertyText, 0, nullptr},
};

const PropertyTableEntry kLabelProperties[kLabelPropertyCount] = {
    COMMON_PROPERTIES,
    {"标题", "caption", "", kPropertyText, 0, nullptr},
    {"效果", "lettering effect", "", kPropertyPickIndex, 0, nullptr},
    {"边框", "border", "", kPropertyPickIndex, 0, nullptr},
    {"渐变边框宽度", "frame width", "", kPropertyInteger2, 0, nullptr},
    {"渐变边框颜色1", "frame colour 1", "", kPropertyColour, 0, nullptr},
    {"渐变边框颜色2", "frame colour 2", "", kPropertyColour, 0, nullptr},
    {"渐变边框颜色3", "frame colour 3", "", kPropertyColour, 0, nullptr},
    {"字体", "font", "", kPropertyFont, 0, nullptr},
    {"文本颜色", "text colour", "", kPropertyColour, 0, nullptr},
    {"背景颜色", "background colour", "", kPropertyColour, 0, nullptr},
    {"底图", "picture", "", kPropertyPicture, 0, nullptr},
    {"底图方式", "picture mode", "", kPropertyPickIndex, 0, nullptr},
    {"渐变背景方式", "gradient style", "", kPropertyPickIndex, 0, nullptr},
    {"渐变背景颜色1", "gradient colour 1", "", kPropertyColour, 0, nullptr},
    {"渐变背景颜色2", "gradient colour 2", "", kPropertyColour, 0, nullptr},
    {"渐变背景颜色3", "gradient colour 3", "", kPropertyColour, 0, nullptr},
    {"横向对齐方式", "horizontal alignment", "", kPropertyPickIndex, 0, nullptr},
    {"是否自动折行", "word wrap", "", kPropertyLogical, 0, nullptr},
    {"纵向对齐方式", "vertical alignment", "", kPropertyPickIndex, 0, nullptr},
    {"数据源", "data source", "", kPropertyText, 0, nullptr},
    {"数据列", "data column", "", kPropertyText, 0, nullptr},
};

// Menu items keep their four properties on the record.
const PropertyTableEntry kMenuItemProperties[kMenuItemPropertyCount] = {
    {"标题", "caption", "", kPropertyText, 0, nullptr},
    {"选中", "checked", "", kPropertyLogical, 0, nullptr},
    {"禁止", "disabled", "", kPropertyLogical, 0, nullptr},
    {"可视", "visible", "", kPropertyLogical, 0, nullptr},
};

#undef COMMON_PROPERTIES
