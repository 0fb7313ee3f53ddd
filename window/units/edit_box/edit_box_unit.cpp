// CEditBoxUnit: creation, the single-line band and its margin, colours, input filtering, the
// focus-loss normalisation, the spin button and the events 0, 1, -7 and -8.
#include "window/units/edit_box/edit_box_unit.h"

#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>

#include "runtime/program_text_wide.h"
#include "runtime/windows_alive_wait.h"
#include "window/dpi_scale.h"
#include "window/units/edit_box/edit_input.h"
#include "window/units/edit_box/unit_border.h"
#include "window/units/edit_box/unit_look.h"

namespace {

enum EditBoxEvent : int32_t {
    kChanged = 0,
    kSpinPressed = 1,
    kFocusGained = -7,
    kFocusLost = -8,
};

constexpr int kSpinWidth = 18;
constexpr uint32_t kSpinIdOffset = 4;
// The text whose height a single-line box must at least show, and the one that sets its band.
constexpr const wchar_t *kHeightSample = L"吴";
constexpr const wchar_t *kLineSample = L"W";

// The spin button's framework object: it takes the reflected UDN_DELTAPOS for its edit box.
class CSpinButton : public CWnd {
public:
    explicit CSpinButton(CEditBoxUnit *edit) : edit_(edit) {}

protected:
    bool OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT *result) override {
        const auto *header = reinterpret_cast<const NMHDR *>(lParam);
        if (message != WM_NOTIFY || header->code != UDN_DELTAPOS)
            return false;
        edit_->OnSpin(reinterpret_cast<const NMUPDOWN *>(lParam)->iDelta);
        *result = 0;
        return true;
    }
    void PostNcDestroy() override { delete this; }
    // Part of the box: its arrows take no click during a wait, whichever loop delivers it.
    bool RefusesMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        return WindowsAliveWaitRunning() &&
               IsInputRefusedDuringWait(MSG{m_hWnd, message, wParam, lParam, 0, {}});
    }

private:
    CEditBoxUnit *edit_; // the edit box destroys its spin button before it goes
};

bool HasStaticEdge(uint32_t border) {
    return border == 0 || border == 1 || border == 3;
}

SIZE TextSize(HDC dc, const wchar_t *text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text, static_cast<int>(std::wcslen(text)), &size);
    return size;
}

} // namespace

CWnd *CEditBoxUnit::Create(const UnitCreateArguments &a) {
    auto *unit = new CEditBoxUnit;
    if (!ReadEditBoxProperties(a.propertyBlock, a.propertyBlockSize, &unit->properties)) {
        delete unit;
        return nullptr;
    }
    const EditBoxProperties &p = unit->properties;
    unit->windowId = a.windowId;
    unit->unitId = a.unitId;
    DWORD style = a.style | WS_CHILD | WS_CLIPSIBLINGS;
    if (!p.hideSelection)
        style |= ES_NOHIDESEL;
    if (p.multiLine) {
        style |= ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
        if (p.scrollBars == 1 || p.scrollBars == 3)
            style |= ES_AUTOHSCROLL | WS_HSCROLL;
        if (p.scrollBars == 2 || p.scrollBars == 3)
            style |= WS_VSCROLL;
    } else {
        style |= ES_AUTOHSCROLL;
    }
    style |= p.alignment == 1 ? ES_CENTER : p.alignment == 2 ? ES_RIGHT : ES_LEFT;
    if (p.inputMode == kInputReadOnly)
        style |= ES_READONLY;
    else if (p.inputMode == kInputPassword)
        style |= ES_PASSWORD;
    if (p.caseConversion == 1)
        style |= ES_LOWERCASE;
    else if (p.caseConversion == 2)
        style |= ES_UPPERCASE;
    unit->RemakeBrush();
    if (!unit->CreateEx(0, L"EDIT", ProgramTextToWide(p.content).c_str(), style, a.left, a.top,
                        a.width, a.height, a.parent,
                        reinterpret_cast<HMENU>(static_cast<uintptr_t>(a.controlId)))) {
        unit->ReleaseResources();
        delete unit;
        return nullptr;
    }
    unit->ApplyFont(); // a single-line box also refreshes its frame here
    SendMessageA(unit->m_hWnd, EM_LIMITTEXT, p.maximumLength, 0);
    if (p.inputMode == kInputPassword)
        SendMessageW(unit->m_hWnd, EM_SETPASSWORDCHAR,
                     ProgramCharacterToWide(p.passwordCharacter & 0xFF), 0);
    if (unit->SingleLine() && p.spinMode != 0)
        unit->CreateSpinButton(a.parent, a.controlId + kSpinIdOffset, (a.style & WS_DISABLED) != 0);
    unit->Select(p.selectionStart, p.selectionLength);
    ApplyUnitBorder(unit->m_hWnd, p.border);
    return unit;
}

void CEditBoxUnit::RemakeBrush() {
    if (brush_ != nullptr)
        DeleteObject(brush_);
    brush_ = CreateSolidBrush(ResolveUnitColour(properties.backgroundColour));
}

void CEditBoxUnit::ApplyFont() {
    HFONT old = font_;
    const int dpi = WindowDpi(m_hWnd);
    font_ = CreateUnitFont(properties.font, dpi);
    HFONT applied = font_ != nullptr ? font_ : DefaultUnitFont(dpi);
    HDC dc = GetDC(m_hWnd);
    HGDIOBJ previous = SelectObject(dc, applied);
    const SIZE sample = TextSize(dc, kHeightSample);
    lineHeight_ = TextSize(dc, kLineSample).cy;
    SelectObject(dc, previous);
    ReleaseDC(m_hWnd, dc);
    if (SingleLine()) {
        RECT rect;
        GetWindowRect(m_hWnd, &rect);
        const int minimum = sample.cy + 2 * MetricForDpi(SM_CYEDGE, dpi);
        if (rect.bottom - rect.top < minimum)
            SetWindowPos(m_hWnd, nullptr, 0, 0, rect.right - rect.left, minimum,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageA(m_hWnd, WM_SETFONT, reinterpret_cast<WPARAM>(applied), TRUE);
    if (SingleLine())
        SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (old != nullptr)
        DeleteObject(old);
}

void CEditBoxUnit::CreateSpinButton(HWND parent, uint32_t controlId, bool disabled) {
    INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&classes);
    auto *spin = new CSpinButton(this);
    const DWORD exStyle = HasStaticEdge(properties.border) ? WS_EX_STATICEDGE : 0;
    if (!spin->CreateEx(exStyle, UPDOWN_CLASSW, L"", WS_CHILD | WS_CLIPSIBLINGS, 0, 0,
                        UnitsToPixels(kSpinWidth, WindowDpi(parent)), 0, parent,
                        reinterpret_cast<HMENU>(static_cast<uintptr_t>(controlId)))) {
        delete spin;
        properties.spinMode = 0;
        return;
    }
    spin_ = spin->m_hWnd;
    ApplySpinRange();
    if (disabled)
        EnableWindow(spin_, FALSE);
    PlaceSpinButton();
}

void CEditBoxUnit::ApplySpinRange() {
    if (spin_ == nullptr)
        return;
    SendMessageA(spin_, UDM_SETRANGE32, std::min(properties.spinMinimum, properties.spinMaximum),
                 std::max(properties.spinMinimum, properties.spinMaximum));
}

void CEditBoxUnit::ApplySpinEdge() {
    if (spin_ == nullptr)
        return;
    DWORD exStyle = static_cast<DWORD>(GetWindowLongA(spin_, GWL_EXSTYLE)) & ~WS_EX_STATICEDGE;
    if (HasStaticEdge(properties.border))
        exStyle |= WS_EX_STATICEDGE;
    SetWindowLongA(spin_, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    SetWindowPos(spin_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CEditBoxUnit::PlaceSpinButton() {
    if (spin_ == nullptr)
        return;
    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    MapWindowPoints(nullptr, GetParent(m_hWnd), reinterpret_cast<POINT *>(&rect), 2);
    // The box's own visibility: its parent may not be shown yet.
    const bool shown = (GetWindowLongA(m_hWnd, GWL_STYLE) & WS_VISIBLE) != 0;
    const UINT show = shown ? SWP_SHOWWINDOW : SWP_HIDEWINDOW;
    // Directly behind the edit box in the z-order.
    SetWindowPos(spin_, m_hWnd, rect.right, rect.top, UnitsToPixels(kSpinWidth, WindowDpi(m_hWnd)),
                 rect.bottom - rect.top, SWP_NOACTIVATE | show);
}

void CEditBoxUnit::OnSpin(int32_t delta) {
    const int32_t step = delta > 0 ? 1 : delta < 0 ? -1 : 0;
    if (properties.spinMode == 2) {
        uint32_t argument = static_cast<uint32_t>(delta < 0 ? -1 : 1);
        RaiseEvent(kSpinPressed, 1, &argument);
        return;
    }
    const int64_t low = std::min(properties.spinMinimum, properties.spinMaximum);
    const int64_t high = std::max(properties.spinMinimum, properties.spinMaximum);
    int64_t value = std::strtoll(WindowText().c_str(), nullptr, 10) + step;
    if (value < low)
        value = high;
    else if (value > high)
        value = low;
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
    HWND self = m_hWnd;
    SetWindowProgramText(self, text);
    if (!IsWindow(self))
        return; // a change handler destroyed the edit box and its object
    Select(0, -1);
    SetFocus(m_hWnd);
}

std::string CEditBoxUnit::WindowText() const {
    return WindowProgramText(m_hWnd);
}

void CEditBoxUnit::SetTextQuietly(std::string_view text) {
    suppressChange_ = true;
    SetWindowProgramText(m_hWnd, text);
    suppressChange_ = false;
}

bool CEditBoxUnit::TakesKey(uint32_t keyCode) const {
    return keyCode == VK_RETURN && properties.multiLine && properties.inputMode != kInputReadOnly;
}

LRESULT CEditBoxUnit::OnNcCalcSize(WPARAM wParam, LPARAM lParam) {
    RECT *client = wParam ? &reinterpret_cast<NCCALCSIZE_PARAMS *>(lParam)->rgrc[0]
                          : reinterpret_cast<RECT *>(lParam);
    const RECT window = *client;
    const LRESULT result = Default();
    if (SingleLine() && lineHeight_ > 0) {
        // A band one line high, centred in the window, never outside the frame.
        const int top = window.top + (window.bottom - window.top - lineHeight_) / 2;
        client->top = std::max(client->top, static_cast<LONG>(top));
        client->bottom =
            std::max(client->top, std::min(client->bottom, static_cast<LONG>(top + lineHeight_)));
    }
    return result;
}

void CEditBoxUnit::OnNcPaint() {
    Default();
    if (!SingleLine())
        return;
    // The margin between the frame and the band takes the background brush.
    RECT window, client;
    GetWindowRect(m_hWnd, &window);
    GetClientRect(m_hWnd, &client);
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT *>(&client), 2);
    OffsetRect(&client, -window.left, -window.top);
    OffsetRect(&window, -window.left, -window.top);
    RECT frame = {0, 0, 0, 0};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_EXSTYLE)));
    const RECT inner = {window.left - frame.left, window.top - frame.top,
                        window.right - frame.right, window.bottom - frame.bottom};
    HRGN margin = CreateRectRgnIndirect(&inner);
    HRGN band = CreateRectRgnIndirect(&client);
    CombineRgn(margin, margin, band, RGN_DIFF);
    HDC dc = GetWindowDC(m_hWnd);
    FillRgn(dc, margin, brush_);
    ReleaseDC(m_hWnd, dc);
    DeleteObject(band);
    DeleteObject(margin);
}

LRESULT CEditBoxUnit::OnNcHitTest(LPARAM lParam) {
    const POINT at = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
    RECT window, client;
    GetWindowRect(m_hWnd, &window);
    GetClientRect(m_hWnd, &client);
    MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<POINT *>(&client), 2);
    if (SingleLine() && PtInRect(&window, at) && !PtInRect(&client, at))
        return HTBORDER;
    return Default();
}

LRESULT CEditBoxUnit::OnChar(WPARAM wParam) {
    if (!EditAcceptsCharacter(properties.inputMode, static_cast<uint32_t>(wParam)))
        return 0;
    if (properties.maximumLength != 0)
        return TypeWithinLimit(static_cast<wchar_t>(wParam));
    return Default();
}

LRESULT CEditBoxUnit::OnKillFocus() {
    HWND self = m_hWnd;
    const LRESULT result = Default();
    const std::string old = WindowText();
    const std::string normalised = NormaliseEditText(properties.inputMode, old);
    if (normalised != old) {
        DWORD start = 0;
        SendMessageW(m_hWnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), 0);
        SetWindowProgramText(self, normalised);
        if (!IsWindow(self))
            return result; // a change handler destroyed the edit box and its object
        SendMessageW(m_hWnd, EM_SETSEL, start, start);
    }
    RaiseEvent(kFocusLost);
    return result;
}

LRESULT CEditBoxUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCALCSIZE:
        return OnNcCalcSize(wParam, lParam);
    case WM_NCPAINT:
        OnNcPaint();
        return 0;
    case WM_NCHITTEST:
        return OnNcHitTest(lParam);
    case WM_CHAR:
        return OnChar(wParam);
    case WM_IME_CHAR:
        if (properties.maximumLength != 0)
            return TypeWithinLimit(static_cast<wchar_t>(wParam));
        return Default();
    case WM_PASTE:
        if (properties.maximumLength != 0) {
            PasteWithinLimit();
            return 0;
        }
        return Default();
    case WM_SETFOCUS: {
        const LRESULT result = Default();
        RaiseEvent(kFocusGained);
        return result;
    }
    case WM_KILLFOCUS:
        return OnKillFocus();
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = Default();
        PlaceSpinButton();
        return result;
    }
    case WM_SHOWWINDOW:
        // Under a hidden parent, showing a child only sets its style: no position change.
        if (spin_ != nullptr)
            ShowWindow(spin_, wParam ? SW_SHOWNA : SW_HIDE);
        return Default();
    case WM_ENABLE:
        if (spin_ != nullptr)
            EnableWindow(spin_, static_cast<BOOL>(wParam));
        return Default();
    case WM_GETOBJECT:
        if (const std::optional<LRESULT> answer =
                accessible_.AnswerObjectRequest(m_hWnd, wParam, lParam))
            return *answer;
        return Default();
    case kUnitDpiChangedMessage:
        ApplyFont();
        PlaceSpinButton();
        return 0;
    case WM_DESTROY:
        if (spin_ != nullptr && IsWindow(spin_))
            ::DestroyWindow(spin_);
        spin_ = nullptr;
        return Default();
    default:
        return CUnitWnd::WindowProc(message, wParam, lParam);
    }
}

bool CEditBoxUnit::OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT *result) {
    switch (message) {
    case WM_COMMAND:
        if (HIWORD(wParam) != EN_CHANGE)
            return false;
        if (!suppressChange_)
            RaiseEvent(kChanged);
        *result = 0;
        return true;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: { // read-only and disabled edit boxes ask with the static message
        HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, properties.textColour);
        SetBkColor(dc, ResolveUnitColour(properties.backgroundColour));
        *result = reinterpret_cast<LRESULT>(brush_);
        return true;
    }
    default:
        return false;
    }
}

void CEditBoxUnit::ReleaseResources() {
    if (brush_ != nullptr)
        DeleteObject(brush_);
    brush_ = nullptr;
    if (font_ != nullptr)
        DeleteObject(font_);
    font_ = nullptr;
}

void CEditBoxUnit::PostNcDestroy() {
    ReleaseResources();
    CUnitWnd::PostNcDestroy();
}
