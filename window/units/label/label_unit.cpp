// CLabelUnit: class registration, creation, its messages and the property reads and writes.
#include "window/units/label/label_unit.h"

#include <algorithm>

#include "runtime/program_text_wide.h"
#include "window/dpi_scale.h"
#include "window/units/edit_box/unit_border.h"
#include "window/units/edit_box/unit_look.h"
#include "window/units/label/label_gradient.h"
#include "window/units/unit_property_values.h"

namespace {

constexpr const wchar_t *kLabelClassName = L"_LM_Label";

enum LabelProperty : int32_t {
    kCaption = 0,              // 8
    kLetteringEffect = 1,      // 9
    kBorder = 2,               // 10
    kFrameWidth = 3,           // 11
    kFrameColour1 = 4,         // 12, 13, 14
    kFont = 7,                 // 15
    kTextColour = 8,           // 16
    kBackgroundColour = 9,     // 17
    kPicture = 10,             // 18
    kPictureMode = 11,         // 19
    kGradientStyle = 12,       // 20
    kGradientColour1 = 13,     // 21, 22, 23
    kHorizontalAlignment = 16, // 24
    kWordWrap = 17,            // 25
    kVerticalAlignment = 18,   // 26
    kDataSource = 19,          // 27
    kDataColumn = 20,          // 28
};

bool EnsureLabelClass() {
    WNDCLASSW existing;
    if (GetClassInfoW(GetModuleHandleW(nullptr), kLabelClassName, &existing))
        return true;
    WNDCLASSW labelClass = {};
    labelClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    labelClass.lpfnWndProc = DefWindowProcW;
    labelClass.hInstance = GetModuleHandleW(nullptr);
    labelClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512)); // IDC_ARROW
    labelClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    labelClass.lpszClassName = kLabelClassName;
    return RegisterClassW(&labelClass) != 0;
}

const char *TextOf(const PropertyValue &value) {
    return value.low != 0 ? reinterpret_cast<const char *>(value.low) : "";
}

} // namespace

CWnd *CLabelUnit::Create(const UnitCreateArguments &a) {
    auto *unit = new CLabelUnit;
    if (!ReadLabelProperties(a.propertyBlock, a.propertyBlockSize, &unit->properties) ||
        !EnsureLabelClass()) {
        delete unit;
        return nullptr;
    }
    unit->windowId = a.windowId;
    unit->unitId = a.unitId;
    if (!unit->CreateEx(0, kLabelClassName, ProgramTextToWide(unit->properties.caption).c_str(),
                        a.style | WS_CHILD | WS_CLIPSIBLINGS, a.left, a.top, a.width, a.height,
                        a.parent, reinterpret_cast<HMENU>(static_cast<uintptr_t>(a.controlId)))) {
        delete unit;
        return nullptr;
    }
    ApplyUnitBorder(unit->m_hWnd, unit->properties.border); // 6: the label draws its own frame
    return unit;
}

void CLabelUnit::GetProperty(int32_t index, PropertyValue *value) {
    const LabelProperties &p = properties;
    switch (index) {
    case kCaption:
        *value = TextValue(p.caption);
        break;
    case kLetteringEffect:
        *value = {p.letteringEffect, 0};
        break;
    case kBorder:
        *value = {p.border, 0};
        break;
    case kFrameWidth:
        *value = {p.frameWidth, 0};
        break;
    case kFrameColour1:
    case kFrameColour1 + 1:
    case kFrameColour1 + 2:
        *value = {p.frameColours[index - kFrameColour1], 0};
        break;
    case kFont:
        *value = BytesValue(p.font);
        break;
    case kTextColour:
        *value = {p.textColour, 0};
        break;
    case kBackgroundColour:
        *value = {p.backgroundColour, 0};
        break;
    case kPicture:
        *value = BytesValue(p.picture);
        break;
    case kPictureMode:
        *value = {p.pictureMode, 0};
        break;
    case kGradientStyle:
        *value = {p.gradientStyle, 0};
        break;
    case kGradientColour1:
    case kGradientColour1 + 1:
    case kGradientColour1 + 2:
        *value = {p.gradientColours[index - kGradientColour1], 0};
        break;
    case kHorizontalAlignment:
        *value = {p.horizontalAlignment, 0};
        break;
    case kWordWrap:
        *value = {p.wordWrap, 0};
        break;
    case kVerticalAlignment:
        *value = {p.verticalAlignment, 0};
        break;
    case kDataSource:
        *value = TextValue(p.dataSource);
        break;
    case kDataColumn:
        *value = TextValue(p.dataColumn);
        break;
    default:
        break;
    }
}

int32_t CLabelUnit::SetProperty(int32_t index, const PropertyValue &value) {
    LabelProperties &p = properties;
    const auto *bytes = reinterpret_cast<const uint8_t *>(value.low);
    switch (index) {
    case kCaption:
        p.caption = TextOf(value);
        SetWindowProgramText(m_hWnd, p.caption);
        break;
    case kLetteringEffect:
        p.letteringEffect = Clamp(value.low, 3);
        break;
    case kBorder:
        p.border = Clamp(value.low, kGradientFrameBorder);
        ApplyUnitBorder(m_hWnd, p.border);
        break;
    case kFrameWidth:
        p.frameWidth = static_cast<uint32_t>(
            std::max(static_cast<int32_t>(value.low), static_cast<int32_t>(kMinimumFrameWidth)));
        break;
    case kFrameColour1:
    case kFrameColour1 + 1:
    case kFrameColour1 + 2:
        p.frameColours[index - kFrameColour1] = value.low;
        break;
    case kFont:
        p.font.assign(bytes, bytes != nullptr ? bytes + value.high : bytes);
        DropFont();
        break;
    case kTextColour:
        p.textColour = value.low;
        break;
    case kBackgroundColour:
        p.backgroundColour = value.low;
        break;
    case kPicture:
        p.picture.assign(bytes, bytes != nullptr ? bytes + value.high : bytes);
        picture_.Reset();
        pictureUnusable_ = false;
        break;
    case kPictureMode:
        p.pictureMode = Clamp(value.low, 2);
        break;
    case kGradientStyle:
        p.gradientStyle = Clamp(value.low, kLastGradientStyle);
        break;
    case kGradientColour1:
    case kGradientColour1 + 1:
    case kGradientColour1 + 2:
        p.gradientColours[index - kGradientColour1] = value.low;
        break;
    case kHorizontalAlignment:
        p.horizontalAlignment = Clamp(value.low, 2);
        break;
    case kWordWrap:
        p.wordWrap = value.low != 0;
        break;
    case kVerticalAlignment:
        p.verticalAlignment = Clamp(value.low, 2);
        break;
    case kDataSource:
        p.dataSource = TextOf(value);
        break;
    case kDataColumn:
        p.dataColumn = TextOf(value);
        break;
    default:
        return 0;
    }
    // The paint routine covers every pixel: no background erase, so no flicker.
    InvalidateRect(m_hWnd, nullptr, FALSE);
    return 0;
}

LRESULT CLabelUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(m_hWnd, &paint);
        Paint(dc);
        EndPaint(m_hWnd, &paint);
        return 0;
    }
    case WM_PRINTCLIENT:
        Paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer =
                accessible_.AnswerObjectRequest(m_hWnd, wParam, lParam))
            return *answer;
        return Default();
    case kUnitDpiChangedMessage: // the paint routine draws everything else at the window's DPI
        DropFont();
        InvalidateRect(m_hWnd, nullptr, FALSE);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(Font());
    case kLabelEventMessage: {
        const uint32_t arguments[2] = {static_cast<uint32_t>(wParam),
                                       static_cast<uint32_t>(lParam)};
        const EventOutcome outcome = RaiseEvent(0, 2, arguments);
        return outcome.hasResult ? static_cast<LRESULT>(outcome.result) : 0;
    }
    default:
        return CUnitWnd::WindowProc(message, wParam, lParam);
    }
}

HFONT CLabelUnit::Font() {
    const int dpi = WindowDpi(m_hWnd);
    if (!fontMade_) {
        ownFont_ = CreateUnitFont(properties.font, dpi);
        fontMade_ = true;
    }
    return ownFont_ != nullptr ? ownFont_ : DefaultUnitFont(dpi);
}

void CLabelUnit::DropFont() {
    if (ownFont_ != nullptr)
        DeleteObject(ownFont_);
    ownFont_ = nullptr;
    fontMade_ = false;
}

void CLabelUnit::PostNcDestroy() {
    DropFont();
    picture_.Reset();
    CUnitWnd::PostNcDestroy();
}
