// CButtonUnit: the push button unit over the platform's "BUTTON" class, with a picture face,
// alignment and a font of its own.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "window/picture.h"
#include "window/unit_type.h"
#include "window/unit_wnd.h"

// The button's properties in the order of its PropertyBlock (version 1).
struct ButtonProperties {
    uint32_t type = 0;                // 0 push button, 1 default button
    uint32_t horizontalAlignment = 1; // 0 left, 1 centred, 2 right
    uint32_t verticalAlignment = 1;   // 0 top, 1 centred, 2 bottom
    std::vector<uint8_t> picture;     // picture file bytes, or empty
    std::vector<uint8_t> font;        // a 60-byte LOGFONTA, or empty for the default
    std::string caption = "按钮";
};

constexpr uint32_t kButtonBlockVersion = 1;

bool ReadButtonProperties(const uint8_t *block, uint32_t size, ButtonProperties *properties);
HGLOBAL SaveButtonProperties(const ButtonProperties &properties);

class CButtonUnit : public CUnitWnd {
public:
    ButtonProperties properties;

    static CWnd *Create(const UnitCreateArguments &arguments);
    int32_t SetProperty(int32_t index, const PropertyValue &value);
    void GetProperty(int32_t index, PropertyValue *value);
    // The window style has BS_DEFPUSHBUTTON.
    bool IsDefaultButton() const;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT *result) override;
    void PostNcDestroy() override;

private:
    void ApplyFont();
    // Replaces the style bits in mask by bits, with a frame change and a repaint.
    void ReplaceStyle(DWORD mask, DWORD bits);

    HFONT font_ = nullptr; // created from the font property, or null for DEFAULT_GUI_FONT
    DecodedPicture picture_;
    HANDLE image_ = nullptr; // the picture rendered for the control
    bool imageIsIcon_ = false;
};
