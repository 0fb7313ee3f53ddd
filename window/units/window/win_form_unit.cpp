// CWinFormUnit: creation from the properties, frame styles, icons, background painting, close
// queries, destruction and the final clean-up that gives the template back.
#include "window/units/window/win_form_unit.h"

#include "runtime/program_text_wide.h"
#include "runtime/runtime_app.h"
#include "runtime/windows_alive_wait.h"
#include "runtime/wiring_routines.h"
#include "window/deferred_work.h"
#include "window/dpi_scale.h"
#include "window/event_dispatch.h"
#include "window/keyboard/window_keyboard.h"
#include "window/menu_builder.h"
#include "window/mouse_pointer.h"
#include "window/units/edit_box/unit_look.h"
#include "window/window_collection.h"
#include "window/window_engine.h"
#include "window/window_engine_state.h"

namespace {

constexpr const wchar_t *kDefaultClassName = L"KVWindow";
constexpr UINT kPaintBackgroundMessage = 0x8389;
constexpr LRESULT kPaintBackgroundAnswer = 20141111;

enum WindowEvent : int32_t {
    kCloseEvent = 1,
    kDestroyEvent = 2,
    kMovedEvent = 3,
    kResizedEvent = 4,
    kActivatedEvent = 5,
    kDeactivatedEvent = 6,
    kFirstActivationEvent = 8,
    kNotificationIconEvent = 9,
    kShownEvent = 10,
    kHiddenEvent = 11,
    kCloseQueryEvent = 12,
    kFocusGainedEvent = -7,
    kFocusLostEvent = -8,
};

// The style bits the border style adds: style, extended style.
struct BorderStyles {
    DWORD style;
    DWORD exStyle;
};
constexpr BorderStyles kBorderStyles[] = {
    {0, 0},                            // 0 none
    {WS_THICKFRAME, 0},                // 1 sizable
    {0, 0},                            // 2 fixed
    {WS_THICKFRAME, WS_EX_TOOLWINDOW}, // 3 sizable tool window
    {0, WS_EX_TOOLWINDOW},             // 4 tool window
    {WS_THICKFRAME, WS_EX_CLIENTEDGE}, // 5 sizable with client edge
    {0, WS_EX_CLIENTEDGE},             // 6 client edge
};

COLORREF ResolveColour(uint32_t colour) {
    return colour == 0xFF000000 ? GetSysColor(COLOR_BTNFACE) : colour;
}

bool EnsureClassRegistered(const wchar_t *className) {
    WNDCLASSW existing;
    if (GetClassInfoW(GetModuleHandleW(nullptr), className, &existing))
        return true;
    WNDCLASSW windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    windowClass.lpszClassName = className;
    return RegisterClassW(&windowClass) != 0;
}

// The caption, system menu and box bits the properties ask for.
DWORD FrameBits(const WindowProperties &p) {
    DWORD style = 0;
    if (p.borderStyle != 0 && (!p.title.empty() || p.controlBox)) {
        style |= WS_CAPTION;
        if (p.controlBox)
            style |= WS_SYSMENU;
    }
    if (p.maximiseBox)
        style |= WS_MAXIMIZEBOX;
    if (p.minimiseBox)
        style |= WS_MINIMIZEBOX;
    return style;
}

HICON IconFromFile(const std::vector<uint8_t> &file, int size) {
    constexpr size_t kDirectoryHeader = 6;
    constexpr size_t kDirectoryEntry = 16;
    if (file.size() < kDirectoryHeader + kDirectoryEntry)
        return nullptr;
    const uint16_t count = static_cast<uint16_t>(file[4] | (file[5] << 8));
    if (count == 0 || file.size() < kDirectoryHeader + kDirectoryEntry * count)
        return nullptr;
    // LookupIconIdFromDirectoryEx reads only the directory, which fits in the bytes (checked).
    const int offset = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(file.data()), TRUE, size, size,
                                                   LR_DEFAULTCOLOR);
    for (uint16_t i = 0; i < count; ++i) {
        const uint8_t *entry = file.data() + kDirectoryHeader + kDirectoryEntry * i;
        const uint32_t bytes = entry[8] | entry[9] << 8 | entry[10] << 16 | entry[11] << 24;
        const uint32_t at = entry[12] | entry[13] << 8 | entry[14] << 16 | entry[15] << 24;
        if (static_cast<int>(at) != offset && offset > 0)
            continue;
        if (at >= file.size() || bytes > file.size() - at)
            return nullptr;
        return CreateIconFromResourceEx(const_cast<PBYTE>(file.data()) + at, bytes, TRUE,
                                        0x00030000, size, size, LR_DEFAULTCOLOR);
    }
    return nullptr;
}

// The program's icon resource at the size it has nearest to width x height.
HICON ProgramIcon(int width, int height) {
    return static_cast<HICON>(
        LoadImageA(GetModuleHandleA(nullptr), "DEFAULT_ICON", IMAGE_ICON, width, height, 0));
}

} // namespace

void LoadProgramIcons() {
    WindowEngineState &state = EngineState();
    if (state.programIcon != nullptr)
        return;
    state.programIcon = ProgramIcon(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    state.smallProgramIcon =
        ProgramIcon(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
}

void DestroyProgramIcons() {
    WindowEngineState &state = EngineState();
    for (HICON *icon : {&state.programIcon, &state.smallProgramIcon}) {
        if (*icon != nullptr) {
            DestroyIcon(*icon);
            *icon = nullptr;
        }
    }
}

void CWinFormUnit::RaiseMenuItemEvent(uint32_t item) {
    // Also a posted command may name an item a user could not choose; that does nothing.
    WindowTemplate *window = FindWindowTemplate(windowId);
    const int32_t index = window != nullptr ? ChoosableMenuItem(*window, item) : -1;
    if (index > 0) {
        RaiseUnitEvent(windowId, window->UnitIdAt(static_cast<uint32_t>(index)), 0);
    }
}

void CWinFormUnit::RaiseFocusGained() {
    focusGainedRaised = true;
    RaiseEvent(kFocusGainedEvent);
}

void CWinFormUnit::ReplaceAccelerators(HACCEL accelerators) {
    if (accelerators_ != nullptr && accelerators_ != accelerators)
        DestroyAcceleratorTable(accelerators_);
    accelerators_ = accelerators;
}

CWnd *CWinFormUnit::Create(const UnitCreateArguments &a) {
    auto *unit = new CWinFormUnit;
    if (!ReadWindowProperties(a.propertyBlock, a.propertyBlockSize, &unit->properties)) {
        delete unit;
        return nullptr;
    }
    const WindowProperties &p = unit->properties;
    unit->windowId = a.windowId;
    unit->unitId = a.unitId;
    unit->childWindow = a.childFlag != 0;
    unit->modal = EngineState().modalCreation;

    DWORD style = a.style | WS_CLIPCHILDREN;
    DWORD exStyle = 0;
    if (p.borderStyle != 0) {
        style |= FrameBits(p) & (WS_CAPTION | WS_SYSMENU);
        if (!unit->childWindow)
            style |= WS_DLGFRAME;
        else
            exStyle = WS_EX_DLGMODALFRAME;
    }
    style |= kBorderStyles[p.borderStyle].style;
    exStyle |= kBorderStyles[p.borderStyle].exStyle;
    style |= FrameBits(p) & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX);
    if (!unit->childWindow) {
        if (p.startPosition == 2) {
            style |= WS_MINIMIZE;
        } else if (p.startPosition == 3 && (style & WS_THICKFRAME)) {
            style |= WS_MAXIMIZE;
        }
    }
    HWND parentOrOwner = a.parent;
    if (unit->childWindow) {
        style = (style & ~WS_THICKFRAME) | WS_CHILD;
    } else if (a.parent != nullptr) {
        style = (style & 0x3FFFFFFF) | WS_POPUP;
    }
    // The geometry arrives in units: the window opens at the DPI of its parent or owner, or at
    // the system's.
    const int dpi = a.parent != nullptr ? WindowDpi(a.parent) : SystemDpi();
    const bool menuBar = a.menu != nullptr && !unit->childWindow;
    SIZE outer = OuterSizeToPixels({a.width, a.height}, {style, exStyle, menuBar}, dpi);
    int left = UnitsToPixels(a.left, dpi), top = UnitsToPixels(a.top, dpi);
    if (!unit->childWindow && p.startPosition == 1) {
        left = (GetSystemMetrics(SM_CXSCREEN) - outer.cx) / 2;
        top = (GetSystemMetrics(SM_CYSCREEN) - outer.cy) / 2;
    }
    if ((unit->modal || !p.showInTaskbar) && a.parent == nullptr && Runtime().programKind != 0)
        parentOrOwner = Runtime().hiddenOwner.m_hWnd;

    // A class name from the properties is program text like any other.
    const std::wstring className =
        p.className.empty() ? kDefaultClassName : ProgramTextToWide(p.className);
    if (!EnsureClassRegistered(className.c_str())) {
        delete unit;
        return nullptr;
    }
    HMENU menuOrId =
        unit->childWindow ? reinterpret_cast<HMENU>(static_cast<uintptr_t>(a.controlId)) : a.menu;
    if (!unit->CreateEx(exStyle, className.c_str(), ProgramTextToWide(p.title).c_str(), style, left,
                        top, outer.cx, outer.cy, parentOrOwner, menuOrId)) {
        if (a.menu != nullptr && !unit->childWindow)
            DestroyMenu(a.menu);
        delete unit;
        return nullptr;
    }
    if (a.menu != nullptr && unit->childWindow)
        DestroyMenu(a.menu); // a child window cannot carry a menu bar
    unit->ApplyFrameStyles();
    // The frame as created, at the DPI the window got, decides the outer size.
    unit->dpi_ = WindowDpi(unit->m_hWnd);
    if (unit->dpi_ != dpi || FrameStyleOf(unit->m_hWnd).menu != menuBar)
        outer = OuterSizeToPixels({a.width, a.height}, FrameStyleOf(unit->m_hWnd), unit->dpi_);
    RECT created;
    GetWindowRect(unit->m_hWnd, &created);
    if (created.right - created.left != outer.cx || created.bottom - created.top != outer.cy)
        SetWindowPos(unit->m_hWnd, nullptr, left, top, outer.cx, outer.cy,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    unit->ApplyIcons();
    if (p.shape != 0)
        unit->ApplyShape();
    SendMessageA(unit->m_hWnd, WM_SETFONT,
                 reinterpret_cast<WPARAM>(DefaultUnitFont(WindowDpi(unit->m_hWnd))), FALSE);
    if (p.alwaysOnTop)
        unit->ApplyAlwaysOnTop();
    if (!p.movable)
        unit->ApplyMovable();
    unit->StartMusic();
    return unit;
}

void CWinFormUnit::ApplyFrameStyles() {
    if (m_hWnd == nullptr)
        return;
    constexpr DWORD kFrameMask =
        WS_CAPTION | WS_SYSMENU | WS_MAXIMIZEBOX | WS_MINIMIZEBOX | WS_THICKFRAME | WS_DLGFRAME;
    DWORD style = static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_STYLE)) & ~kFrameMask;
    DWORD exStyle = static_cast<DWORD>(GetWindowLongA(m_hWnd, GWL_EXSTYLE)) &
                    ~(WS_EX_TOOLWINDOW | WS_EX_CLIENTEDGE | WS_EX_DLGMODALFRAME);
    const WindowProperties &p = properties;
    const DWORD frame = FrameBits(p);
    if (p.borderStyle != 0) {
        style |= frame & (WS_CAPTION | WS_SYSMENU);
        if (!childWindow)
            style |= WS_DLGFRAME;
        else
            exStyle |= WS_EX_DLGMODALFRAME;
    }
    style |= kBorderStyles[p.borderStyle].style | (frame & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX));
    exStyle |= kBorderStyles[p.borderStyle].exStyle;
    if (childWindow)
        style &= ~WS_THICKFRAME;
    SetWindowLongA(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
    SetWindowLongA(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(exStyle));
    SetWindowPos(m_hWnd, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void CWinFormUnit::ApplyIcons() {
    // Icons of the sizes for the window's DPI: the shared program icons are the system DPI's.
    const int dpi = WindowDpi(m_hWnd);
    const bool systemDpi = dpi == SystemDpi();
    const int bigSize = systemDpi ? GetSystemMetrics(SM_CXICON) : MetricForDpi(SM_CXICON, dpi);
    const int smallSize =
        systemDpi ? GetSystemMetrics(SM_CXSMICON) : MetricForDpi(SM_CXSMICON, dpi);
    HICON big = IconFromFile(properties.icon, bigSize);
    HICON small = IconFromFile(properties.icon, smallSize);
    if (big == nullptr && !systemDpi) {
        big = ProgramIcon(bigSize, bigSize);
        small = ProgramIcon(smallSize, smallSize);
    }
    HICON oldBig = bigIcon_, oldSmall = smallIcon_;
    bigIcon_ = big;
    smallIcon_ = small;
    if (big == nullptr) {
        LoadProgramIcons();
        big = EngineState().programIcon;
        small = EngineState().smallProgramIcon;
    }
    SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(big));
    SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(small ? small : big));
    if (oldBig != nullptr)
        DestroyIcon(oldBig);
    if (oldSmall != nullptr)
        DestroyIcon(oldSmall);
}

void CWinFormUnit::ApplyShape() {
    RECT rect;
    GetWindowRect(m_hWnd, &rect);
    // The window owns the region once it is set.
    SetWindowRgn(
        m_hWnd, CreateShapeRegion(properties.shape, rect.right - rect.left, rect.bottom - rect.top),
        TRUE);
}

void CWinFormUnit::ApplyAlwaysOnTop() {
    SetWindowPos(m_hWnd, properties.alwaysOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    if (properties.alwaysOnTop)
        return;
    // Other always-on-top windows kept off the taskbar stay on top.
    WindowCollection *collection = Windows();
    for (uint32_t i = 0; collection != nullptr && i < collection->Count(); ++i) {
        auto *other = dynamic_cast<CWinFormUnit *>(LiveWindowOf(*collection->At(i)));
        if (other != nullptr && other != this && other->properties.alwaysOnTop &&
            !other->properties.showInTaskbar)
            SetWindowPos(other->m_hWnd, HWND_TOPMOST, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void CWinFormUnit::ApplyMovable() {
    GetSystemMenu(m_hWnd, TRUE);
    if (!properties.movable)
        DeleteMenu(GetSystemMenu(m_hWnd, FALSE), SC_MOVE, MF_BYCOMMAND);
}

void CWinFormUnit::Maximise() {
    if (IsIconic(m_hWnd) || IsZoomed(m_hWnd))
        ShowWindow(m_hWnd, SW_RESTORE);
    ShowWindow(m_hWnd, SW_SHOWMAXIMIZED);
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    RECT work;
    if (GetMonitorInfoA(MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST), &monitor))
        work = monitor.rcWork;
    else
        SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    SetWindowPos(m_hWnd, nullptr, work.left, work.top, work.right - work.left,
                 work.bottom - work.top, SWP_NOZORDER);
    ShowWindow(m_hWnd, SW_SHOW);
}

void CWinFormUnit::ShowAtStartPosition() {
    switch (properties.startPosition) {
    case 3:
        Maximise();
        break;
    case 2:
        ShowWindow(m_hWnd, SW_SHOWMINIMIZED);
        break;
    default:
        ShowWindow(m_hWnd, SW_SHOW);
        break;
    }
}

HCURSOR CWinFormUnit::UnitPointer(HWND target, int hitTest) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    return window != nullptr ? ChoosePointer(*window, m_hWnd, target, hitTest) : nullptr;
}

void CWinFormUnit::ApplyStartPosition() {
    const uint32_t position = properties.startPosition;
    if (position == 2 || position == 3) {
        ShowAtStartPosition();
        return;
    }
    if (IsIconic(m_hWnd) || IsZoomed(m_hWnd))
        ShowWindow(m_hWnd, SW_RESTORE);
    if (position == 1 && !childWindow) {
        RECT outer;
        GetWindowRect(m_hWnd, &outer);
        const int width = outer.right - outer.left, height = outer.bottom - outer.top;
        SetWindowPos(m_hWnd, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                     (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0,
                     SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
}

void CWinFormUnit::PaintBackground(HDC dc, const RECT &rect) {
    HRGN remaining = CreateRectRgnIndirect(&rect);
    RECT client;
    GetClientRect(m_hWnd, &client);
    if (!properties.backgroundPicture.empty() && !picture_.Valid())
        picture_.Decode(properties.backgroundPicture.data(),
                        static_cast<uint32_t>(properties.backgroundPicture.size()));
    const int dpi = WindowDpi(m_hWnd);
    if (picture_.Valid()) {
        const SIZE size = picture_.PixelSize(dpi);
        RECT placed = {0, 0, size.cx, size.cy};
        switch (properties.pictureMode) {
        case 0:
            break;
        case 1:
            for (int y = 0; size.cy > 0 && y < client.bottom; y += size.cy)
                for (int x = 0; size.cx > 0 && x < client.right; x += size.cx) {
                    RECT tile = {x, y, x + size.cx, y + size.cy}, common;
                    if (IntersectRect(&common, &tile, &rect))
                        picture_.Draw(dc, tile, dpi);
                }
            SetRectRgn(remaining, 0, 0, 0, 0);
            break;
        case 2: {
            double scale = 1.0;
            if (size.cx > client.right || size.cy > client.bottom)
                scale = std::min(static_cast<double>(client.right) / size.cx,
                                 static_cast<double>(client.bottom) / size.cy);
            const int width = static_cast<int>(size.cx * scale);
            const int height = static_cast<int>(size.cy * scale);
            placed = {(client.right - width) / 2, (client.bottom - height) / 2,
                      (client.right - width) / 2 + width, (client.bottom - height) / 2 + height};
            break;
        }
        default:
            placed = client;
            SetRectRgn(remaining, 0, 0, 0, 0);
            break;
        }
        if (properties.pictureMode == 0 || properties.pictureMode == 2) {
            picture_.Draw(dc, placed, dpi);
            HRGN pictureRegion = CreateRectRgnIndirect(&placed);
            CombineRgn(remaining, remaining, pictureRegion, RGN_DIFF);
            DeleteObject(pictureRegion);
        } else if (properties.pictureMode == 3) {
            picture_.Draw(dc, placed, dpi);
        }
    }
    HBRUSH brush = CreateSolidBrush(ResolveColour(properties.backgroundColour));
    FillRgn(dc, remaining, brush);
    DeleteObject(brush);
    DeleteObject(remaining);
}

void CWinFormUnit::OnPaint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(m_hWnd, &paint);
    PaintBackground(dc, paint.rcPaint);
    EndPaint(m_hWnd, &paint);
}

void CWinFormUnit::RestoreModalDisabled() {
    for (const auto &[window, enabled] : disabledByModal)
        if (IsWindow(window))
            EnableWindow(window, enabled);
    disabledByModal.clear();
}

// A close asked for while a handler waits (for the network) marks the window and ends the wait:
// the handler finishes first, and the close is carried out once after it (deferred_work.cpp).
// No window is destroyed under a running handler, and nothing is posted that a nested loop (the
// window menu, the move loop, a message box) could dispatch again and again.
bool CWinFormUnit::DeferredForWait() {
    if (!WindowsAliveWaitRunning())
        return false;
    closePending = true;
    NoteCloseMark(m_hWnd);
    return true;
}

void CWinFormUnit::OnClose() {
    if (!DeferredForWait())
        CarryOutClose();
}

void CWinFormUnit::CarryOutClose() {
    EventOutcome query = RaiseEvent(kCloseQueryEvent);
    if (!Alive())
        return;
    if (query.Refused() && !childWindow && !keep)
        return;
    EventOutcome close = RaiseEvent(kCloseEvent);
    if (!Alive() || close.Refused())
        return;
    RestoreModalDisabled();
    DestroyWindow();
}

// During a wait the program's events are held, so the query is answered as the framework
// answers it, and the log-off is recorded for WM_ENDSESSION, which the platform sends next.
LRESULT CWinFormUnit::OnQueryEndSession() {
    const LRESULT framework = Default();
    if (WindowsAliveWaitRunning()) {
        logOffQueried = true;
        NoteLogOffQuery();
        return framework;
    }
    const EventOutcome close = RaiseEvent(kCloseEvent);
    if (Alive() && close.Refused() && !childWindow && !keep)
        return FALSE;
    return framework;
}

// A log-off recorded during a wait: when the session ends, the close and the exit routines run
// before this returns, since the platform may end the process as soon as it has; when it goes
// on, the record is forgotten.
void CWinFormUnit::OnEndSession(bool ending) {
    Default();
    if (!logOffQueried)
        return;
    logOffQueried = false;
    if (!ending)
        return;
    closePending = false;
    const bool underHandler = EventHandlerRunning() || WindowsAliveWaitRunning();
    CarryOutClose();
    if (underHandler)
        ShutDownAndExit(0); // the handler below must not run on in a runtime shut down
    Wiring().shutdown(0);
}

void CWinFormUnit::OnDestroy() {
    Default();
    StopMusic();
    if (!keep)
        StopUnitPlayers();
    RaiseEvent(kDestroyEvent);
    if (!Alive())
        return;
    if (helpOpened)
        WinHelpA(m_hWnd, nullptr, HELP_QUIT, 0);
    if (HMENU menu = GetMenu(m_hWnd)) {
        SetMenu(m_hWnd, nullptr);
        DestroyMenu(menu);
    }
    notificationIcon_.Remove();
}

LRESULT CWinFormUnit::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case kPaintBackgroundMessage: {
        RECT rect = *reinterpret_cast<const RECT *>(lParam);
        PaintBackground(reinterpret_cast<HDC>(wParam), rect);
        return kPaintBackgroundAnswer;
    }
    case MM_MCINOTIFY:
        Sound().MidiNotified(m_hWnd, wParam, lParam);
        return 0;
    case kWindowLayoutMessage:
        barLayoutOn_ = true;
        LayOutBarUnits();
        return 0;
    case WM_CLOSE:
        OnClose();
        return 0;
    case WM_QUERYENDSESSION:
        return OnQueryEndSession();
    case WM_ENDSESSION:
        OnEndSession(wParam != FALSE);
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_NCDESTROY:
        ForgetWindowDpi(m_hWnd);
        return Default();
    case WM_DPICHANGED:
        // The new DPI is in both words of wParam (they are always equal); a message without a
        // DPI or a rectangle is not the system's and changes nothing.
        if (LOWORD(wParam) == 0 || lParam == 0)
            return Default();
        OnDpiChanged(LOWORD(wParam), *reinterpret_cast<const RECT *>(lParam));
        return 0;
    case WM_GETDPISCALEDSIZE:
        if (wParam == 0 || lParam == 0)
            return Default();
        *reinterpret_cast<SIZE *>(lParam) = SizeAtDpi(static_cast<int>(wParam));
        return TRUE;
    case WM_SHOWWINDOW: {
        const LRESULT result = Default();
        RaiseEvent(wParam ? kShownEvent : kHiddenEvent);
        return result;
    }
    case WM_MOVE: {
        const LRESULT result = Default();
        RaiseEvent(kMovedEvent);
        return result;
    }
    case WM_SIZE: {
        const LRESULT result = Default();
        if (properties.shape != 0)
            ApplyShape();
        if (barLayoutOn_)
            LayOutBarUnits();
        RaiseEvent(kResizedEvent);
        return result;
    }
    case WM_ACTIVATE: {
        const LRESULT result = Default();
        HandleWindowActivation(this, LOWORD(wParam) != WA_INACTIVE);
        return result;
    }
    case WM_NCACTIVATE:
        if (!wParam && properties.keepTitleBarActive && IsWindowEnabled(m_hWnd))
            return DefWindowProc(message, TRUE, lParam);
        return Default();
    case WM_SETFOCUS: {
        const LRESULT result = Default();
        if (!PassFocusToUnit(this))
            RaiseFocusGained();
        return result;
    }
    case WM_SETCURSOR:
        // The hit-test code is a signed word (HTERROR is -2).
        if (HCURSOR pointer =
                UnitPointer(reinterpret_cast<HWND>(wParam), static_cast<int16_t>(LOWORD(lParam)))) {
            SetCursor(pointer);
            return TRUE;
        }
        return CUnitWnd::WindowProc(message, wParam, lParam);
    case WM_KILLFOCUS: {
        const LRESULT result = Default();
        // A window that passed its focus straight on to a unit never announced having it.
        if (focusGainedRaised) {
            focusGainedRaised = false;
            RaiseEvent(kFocusLostEvent);
        }
        return result;
    }
    case WM_COMMAND:
        if (lParam == 0 && LOWORD(wParam) >= kFirstMenuCommand) {
            RaiseMenuItemEvent(LOWORD(wParam) - kFirstMenuCommand);
            return 0;
        }
        return CUnitWnd::WindowProc(message, wParam, lParam);
    case kNotificationIconMessage: {
        uint32_t kind = lParam == WM_LBUTTONUP                                 ? 1
                        : lParam == WM_LBUTTONDBLCLK                           ? 2
                        : (lParam == WM_RBUTTONUP || lParam == WM_CONTEXTMENU) ? 3
                                                                               : 0;
        if (kind != 0)
            RaiseEvent(kNotificationIconEvent, 1, &kind);
        return 0;
    }
    default:
        return CUnitWnd::WindowProc(message, wParam, lParam);
    }
}

CUnitWnd::WaitDeferral CWinFormUnit::DeferralDuringWait(int32_t event) const {
    switch (event) {
    case kMovedEvent:
    case kResizedEvent:
        return WaitDeferral::kDeferLastOnly;
    case kActivatedEvent:
    case kDeactivatedEvent:
    case kFirstActivationEvent:
        return WaitDeferral::kDefer;
    default:
        return CUnitWnd::DeferralDuringWait(event);
    }
}

bool CWinFormUnit::RefusesMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && lParam == 0 && LOWORD(wParam) >= kFirstMenuCommand)
        return WindowsAliveWaitRunning();
    return CUnitWnd::RefusesMessage(message, wParam, lParam);
}

BOOL CWinFormUnit::PreTranslateMessage(MSG *message) {
    return TranslateWindowMessage(this, message);
}

void CWinFormUnit::ReleaseResources() {
    if (accelerators_ != nullptr)
        DestroyAcceleratorTable(accelerators_);
    accelerators_ = nullptr;
    if (bigIcon_ != nullptr)
        DestroyIcon(bigIcon_);
    if (smallIcon_ != nullptr)
        DestroyIcon(smallIcon_);
    bigIcon_ = smallIcon_ = nullptr;
    picture_.Reset();
}

void CWinFormUnit::PostNcDestroy() {
    DropDeferredEvents(windowId);
    ReleaseResources();
    NotifyWindowGone(windowId);
    delete this;
}
