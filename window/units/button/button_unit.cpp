// CButtonUnit: property block, creation, properties and its events 0, -7 and -8.
#include "window/units/button/button_unit.h"

#include <algorithm>

#include "runtime/program_text_wide.h"
#include "window/dpi_scale.h"
#include "window/property_block.h"
#include "window/units/edit_box/unit_look.h"
#include "window/units/unit_property_values.h"

namespace {

enum ButtonProperty : int32_t {
    kPicture = 0,             // 8
    kType = 1,                // 9
    kCaption = 2,             // 10
    kHorizontalAlignment = 3, // 11
    kVerticalAlignment = 4,   // 12
    kFont = 5,                // 13
};

enum ButtonEvent : int32_t { kClicked = 0, kFocusGained = -7, kFocusLost = -8 };

constexpr DWORD kHorizontalStyles[] = {BS_LEFT, BS_CENTER, BS_RIGHT};
constexpr DWORD kVerticalStyles[] = {BS_TOP, BS_VCENTER, BS_BOTTOM};
constexpr DWORD kButtonTypeMask = 0x1F;

} // namespace

bool ReadButtonProperties(const uint8_t *block, uint32_t size, ButtonProperties *properties) {
    *properties = ButtonProperties{};
    if (block == nullptr || size == 0)
        return true;
    try {
        ArchiveReader in(block, size);
        if (in.ReadWord() > kButtonBlockVersion)
            return false;
        properties->type = Clamp(in.ReadWord(), 1);
        properties->horizontalAlignment = Clamp(in.ReadWord(), 2);
        properties->verticalAlignment = Clamp(in.ReadWord(), 2);
        properties->picture = ReadBlockBytes(in);
        properties->font = ReadBlockBytes(in);
        properties->caption = ReadBlockText(in);
        return true;
    } catch (const ArchiveException &) {
        return false;
    }
}

HGLOBAL SaveButtonProperties(const ButtonProperties &p) {
    ArchiveWriter out;
    out.WriteWord(kButtonBlockVersion);
    out.WriteWord(p.type);
    out.WriteWord(p.horizontalAlignment);
    out.WriteWord(p.verticalAlignment);
    WriteBlockBytes(out, p.picture);
    WriteBlockBytes(out, p.font);
    WriteBlockText(out, p.caption);
    return ToMovableBlock(out);
}

CWnd *CButtonUnit::Create(const UnitCreateArguments &a) {
    auto *unit = new CButtonUnit;
    if (!ReadButtonProperties(a.propertyBlock, a.propertyBlockSize, &unit->properties)) {
        delete unit;
        return nullptr;
    }
    const ButtonProperties &p = unit->properties;
    unit->windowId = a.windowId;
    unit->unitId = a.unitId;
    DWORD style = a.style | (p.type == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) |
                  kHorizontalStyles[p.horizontalAlignment] | kVerticalStyles[p.verticalAlignment] |
                  WS_CHILD | WS_CLIPSIBLINGS | BS_MULTILINE;
    if (!p.picture.empty() &&
        unit->picture_.Decode(p.picture.data(), static_cast<uint32_t>(p.picture.size()))) {
        unit->imageIsIcon_ = unit->picture_.IsIcon();
        unit->image_ =
            unit->picture_.RenderForButton(GetSysColor(COLOR_BTNFACE), WindowDpi(a.parent));
        if (unit->image_ != nullptr)
            style |= unit->imageIsIcon_ ? BS_ICON : BS_BITMAP;
        else
            unit->picture_.Reset();
    }
    if (!unit->CreateEx(0, L"BUTTON", ProgramTextToWide(p.caption).c_str(), style, a.left, a.top,
                        a.width, a.height, a.parent,
                        reinterpret_cast<HMENU>(static_cast<uintptr_t>(a.controlId)))) {
        delete unit;
        return nullptr;
    }
    unit->ApplyFont();
    if (unit->image_ != nullptr)
        SendMessageA(unit->m_hWnd, BM_SETIMAGE, unit->imageIsIcon_ ? IMAGE_ICON : IMAGE_BITMAP,
                     reinterpret_cast<LPARAM>(unit->image_));
    return unit;
}

void CButtonUnit::ApplyFont() {
    HFONT old = font_;
    const int dpi = WindowDpi(m_hWnd);
    font_ = CreateUnitFont(properties.font, dpi);
    HGDIOBJ applied = font_ != nullptr ? font_ : DefaultUnitFont(dpi);
    SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(applied), TRUE);
    if (old != nullptr)
        DeleteObject(old);
}

void CButtonUnit::ReplaceStyle(DWORD mask, DWORD bits) {
    const DWORD style = static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE));
    SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>((style & ~mask) | bits));
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    InvalidateRect(m_hWnd, nullptr, TRUE);
}

bool CButtonUnit::IsDefaultButton() const {
    return (static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE)) & kButtonTypeMask) ==
           BS_DEFPUSHBUTTON;
}

void CButtonUnit::GetProperty(int32_t index, PropertyValue *value) {
    const ButtonProperties &p = properties;
    switch (index) {
    case kPicture:
        *value = {p.picture.empty() ? 0 : reinterpret_cast<uint32_t>(p.picture.data()),
                  static_cast<uint32_t>(p.picture.size())};
        break;
    case kType:
        *value = {p.type, 0};
        break;
    case kCaption:
        *value = {reinterpret_cast<uint32_t>(p.caption.c_str()), 0};
        break;
    case kHorizontalAlignment:
        *value = {p.horizontalAlignment, 0};
        break;
    case kVerticalAlignment:
        *value = {p.verticalAlignment, 0};
        break;
    case kFont:
        *value = {p.font.empty() ? 0 : reinterpret_cast<uint32_t>(p.font.data()),
                  static_cast<uint32_t>(p.font.size())};
        break;
    default:
        break;
    }
}

int32_t CButtonUnit::SetProperty(int32_t index, const PropertyValue &value) {
    ButtonProperties &p = properties;
    const auto *bytes = reinterpret_cast<const uint8_t *>(value.low);
    switch (index) {
    case kPicture:
        p.picture.assign(bytes, bytes != nullptr ? bytes + value.high : bytes);
        return 1; // the picture style bits are fixed at creation
    case kType:
        p.type = Clamp(value.low, 1);
        ReplaceStyle(kButtonTypeMask, p.type == 1 ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON);
        break;
    case kCaption:
        p.caption = value.low != 0 ? reinterpret_cast<const char *>(value.low) : "";
        SetWindowProgramText(m_hWnd, p.caption);
        break;
    case kHorizontalAlignment:
        p.horizontalAlignment = Clamp(value.low, 2);
        ReplaceStyle(BS_CENTER, kHorizontalStyles[p.horizontalAlignment]);
        break;
    case kVerticalAlignment:
        p.verticalAlignment = Clamp(value.low, 2);
        ReplaceStyle(BS_VCENTER, kVerticalStyles[p.verticalAlignment]);
        break;
    case kFont:
        p.font.assign(bytes, bytes != nullptr ? bytes + value.high : bytes);
        ApplyFont();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CButtonUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_SETFOCUS: {
        const LRESULT result = Default();
        RaiseEvent(kFocusGained);
        return result;
    }
    case WM_KILLFOCUS: {
        const LRESULT result = Default();
        RaiseEvent(kFocusLost);
        return result;
    }
    case kUnitDpiChangedMessage:
        ApplyFont();
        return 0;
    default:
        return CUnitWnd::WindowProc(message, wParam, lParam);
    }
}

bool CButtonUnit::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT *result) {
    if (message != WM_COMMAND || HIWORD(wParam) != BN_CLICKED)
        return false;
    RaiseEvent(kClicked);
    *result = 0;
    return true;
}

void CButtonUnit::PostNcDestroy() {
    if (image_ != nullptr) {
        if (imageIsIcon_)
            DestroyIcon(static_cast<HICON>(image_));
        else
            DeleteObject(image_);
    }
    image_ = nullptr;
    picture_.Reset();
    if (font_ != nullptr)
        DeleteObject(font_);
    font_ = nullptr;
    CUnitWnd::PostNcDestroy();
}
