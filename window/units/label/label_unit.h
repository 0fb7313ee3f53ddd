// CLabelUnit: the label unit, a window of the runtime's own class "_LM_Label" that draws an
// optional gradient frame, a picture, a gradient or plain background and its caption.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "window/accessibility/unit_accessible.h"
#include "window/picture.h"
#include "window/unit_type.h"
#include "window/unit_wnd.h"

// The label's properties in the order of its PropertyBlock (version 2).
struct LabelProperties {
    uint32_t letteringEffect = 0; // 0 plain, 1 raised, 2 sunken, 3 shadowed
    uint32_t frameWidth = 8;      // units, for border 6; writes keep it at least 5
    uint32_t border = 0;          // 0..5 window borders, 6 the gradient frame
    uint32_t frameColours[3] = {0x808080, 0xFFFFFF, 0x808080}; // 0xFF000000: not used
    uint32_t textColour = 0;                                   // COLORREF
    uint32_t backgroundColour = 0xFF000000;                    // 0xFF000000: the button-face colour
    uint32_t pictureMode = 1;   // 0 natural size, 1 tiled, 2 scaled to fit
    uint32_t gradientStyle = 0; // 0 none, 1..8 directions
    uint32_t gradientColours[3] = {0x808080, 0xFFFFFF, 0x808080}; // 0xFF000000: not used
    uint32_t horizontalAlignment = 0;                             // 0 left, 1 centred, 2 right
    uint32_t verticalAlignment = 1; // 0 top, 1 centred, 2 bottom (single-line captions)
    uint32_t wordWrap = 0;
    std::vector<uint8_t> font;    // a 60-byte LOGFONTA, or empty for the default
    std::vector<uint8_t> picture; // picture file bytes, or empty
    std::string caption = "标签";
    std::string dataSource; // from version 2; stored only
    std::string dataColumn; // from version 2; stored only
};

constexpr uint32_t kLabelBlockVersion = 2;
constexpr uint32_t kGradientFrameBorder = 6;
constexpr uint32_t kMinimumFrameWidth = 5;
// Sent to a label, it raises the label's event 0 with its two parameters.
constexpr UINT kLabelEventMessage = 0x8075;

// Reads a block (defaults for an empty one); false for a version above 2 or a short block.
// Out-of-range values are clamped as property writes clamp them.
bool ReadLabelProperties(const uint8_t *block, uint32_t size, LabelProperties *properties);
HGLOBAL SaveLabelProperties(const LabelProperties &properties);

class CLabelUnit : public CUnitWnd {
public:
    LabelProperties properties;

    static CWnd *Create(const UnitCreateArguments &arguments);
    // Property operations (index counted from 8); never asks for re-creation.
    int32_t SetProperty(int32_t index, const PropertyValue &value);
    void GetProperty(int32_t index, PropertyValue *value);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void PostNcDestroy() override;

private:
    // Draws the whole label into dc, whose clip box limits the work.
    void Paint(HDC dc);
    // The font the caption is drawn with (also the answer to WM_GETFONT), at the window's DPI.
    HFONT Font();
    // Forgets the font: the font property or the DPI changed.
    void DropFont();

    DecodedPicture picture_;       // decoded on the first paint, dropped when the picture changes
    bool pictureUnusable_ = false; // the picture bytes did not decode
    UnitAccessible accessible_{AccessibleUnitKind::kStaticText}; // what a screen reader reads
    HFONT ownFont_ = nullptr;      // made from the font property, owned; null for the default font
    bool fontMade_ = false;        // ownFont_ is made for the present font property and DPI
};

// The label's UnitInterface (descriptor in the kernel unit types).
void *LabelUnitInterface(int32_t operationCode);
