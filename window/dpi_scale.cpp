// Conversions between 96-DPI units and pixels, and the DPI of a window. The platform's DPI
// functions are bound when first needed: Windows before 10 (1607) has none of them, and there the
// process is at most system aware, so the system's DPI from the screen's device context holds.
#include "window/dpi_scale.h"

#include "window/system_routine.h"

namespace {

// The window property that holds the DPI a change of DPI announced.
constexpr const wchar_t *kAnnouncedDpiProperty = L"ZvAnnouncedDpi";

using GetDpiForWindowFunction = UINT(WINAPI *)(HWND);
using GetDpiForSystemFunction = UINT(WINAPI *)();
using GetSystemMetricsForDpiFunction = int(WINAPI *)(int, UINT);
using AdjustWindowRectExForDpiFunction = BOOL(WINAPI *)(RECT *, DWORD, BOOL, DWORD, UINT);

struct DpiFunctions {
    GetDpiForWindowFunction getDpiForWindow;
    GetDpiForSystemFunction getDpiForSystem;
    GetSystemMetricsForDpiFunction getSystemMetricsForDpi;
    AdjustWindowRectExForDpiFunction adjustWindowRectExForDpi;
};

const DpiFunctions &Functions() {
    static const DpiFunctions functions = {
        SystemRoutine<GetDpiForWindowFunction>("user32", "GetDpiForWindow"),
        SystemRoutine<GetDpiForSystemFunction>("user32", "GetDpiForSystem"),
        SystemRoutine<GetSystemMetricsForDpiFunction>("user32", "GetSystemMetricsForDpi"),
        SystemRoutine<AdjustWindowRectExForDpiFunction>("user32", "AdjustWindowRectExForDpi"),
    };
    return functions;
}

// A caption, dialog or sizing frame: only windows have one, never the units inside them (whose
// borders are edges of their own and scale with them), so that a unit reads back as created.
bool FrameDrawnAtDpi(const WindowFrameStyle &frame) {
    return (frame.style & (WS_DLGFRAME | WS_THICKFRAME)) != 0;
}

// The frame's thickness along each axis at dpi (both sides together, the caption and menu bar
// included).
SIZE FrameExtent(const WindowFrameStyle &frame, int dpi) {
    RECT rect = {0, 0, 0, 0};
    const DpiFunctions &functions = Functions();
    if (functions.adjustWindowRectExForDpi != nullptr) {
        functions.adjustWindowRectExForDpi(&rect, frame.style, frame.menu, frame.exStyle,
                                           static_cast<UINT>(dpi));
    } else {
        // Without per-DPI metrics the system's are the only ones: frames at other DPIs scale.
        AdjustWindowRectEx(&rect, frame.style, frame.menu, frame.exStyle);
        const int system = SystemDpi();
        rect = {MulDiv(rect.left, dpi, system), MulDiv(rect.top, dpi, system),
                MulDiv(rect.right, dpi, system), MulDiv(rect.bottom, dpi, system)};
    }
    return {rect.right - rect.left, rect.bottom - rect.top};
}

int Scale(int value, int dpi, bool toPixels) {
    return toPixels ? UnitsToPixels(value, dpi) : PixelsToUnits(value, dpi);
}

// An outer size from units to pixels or back: the client area scales, each side has its frame.
SIZE ConvertOuterSize(SIZE size, const WindowFrameStyle &frame, int dpi, bool toPixels) {
    if (dpi == kUnitDpi || dpi <= 0)
        return size;
    SIZE from = {0, 0}, to = {0, 0};
    if (FrameDrawnAtDpi(frame)) {
        const SIZE unitFrame = FrameExtent(frame, kUnitDpi);
        const SIZE pixelFrame = FrameExtent(frame, dpi);
        from = toPixels ? unitFrame : pixelFrame;
        to = toPixels ? pixelFrame : unitFrame;
    }
    return {Scale(size.cx - from.cx, dpi, toPixels) + to.cx,
            Scale(size.cy - from.cy, dpi, toPixels) + to.cy};
}

RECT ConvertUnitRect(HWND unit, const RECT &rect, int dpi, bool toPixels) {
    if (dpi == kUnitDpi || dpi <= 0)
        return rect;
    const int left = Scale(rect.left, dpi, toPixels), top = Scale(rect.top, dpi, toPixels);
    const SIZE size = ConvertOuterSize({rect.right - rect.left, rect.bottom - rect.top},
                                       FrameStyleOf(unit), dpi, toPixels);
    return {left, top, left + size.cx, top + size.cy};
}

} // namespace

int UnitsToPixels(int units, int dpi) {
    return dpi == kUnitDpi || dpi <= 0 ? units : MulDiv(units, dpi, kUnitDpi);
}

int PixelsToUnits(int pixels, int dpi) {
    return dpi == kUnitDpi || dpi <= 0 ? pixels : MulDiv(pixels, kUnitDpi, dpi);
}

int SystemDpi() {
    static const int dpi = [] {
        if (const GetDpiForSystemFunction getDpiForSystem = Functions().getDpiForSystem) {
            const UINT system = getDpiForSystem();
            if (system > 0)
                return static_cast<int>(system);
        }
        HDC screen = GetDC(nullptr);
        const int logical = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 0;
        if (screen != nullptr)
            ReleaseDC(nullptr, screen);
        return logical > 0 ? logical : kUnitDpi;
    }();
    return dpi;
}

int WindowDpi(HWND window) {
    if (window == nullptr)
        return SystemDpi();
    HWND root = GetAncestor(window, GA_ROOT);
    const auto announced = reinterpret_cast<uintptr_t>(
        GetPropW(root != nullptr ? root : window, kAnnouncedDpiProperty));
    if (announced != 0)
        return static_cast<int>(announced);
    if (const GetDpiForWindowFunction getDpiForWindow = Functions().getDpiForWindow) {
        const UINT dpi = getDpiForWindow(window);
        if (dpi > 0)
            return static_cast<int>(dpi);
    }
    return SystemDpi();
}

void RememberWindowDpi(HWND window, int dpi) {
    if (dpi > 0)
        SetPropW(window, kAnnouncedDpiProperty,
                 reinterpret_cast<HANDLE>(static_cast<uintptr_t>(dpi)));
}

void ForgetWindowDpi(HWND window) {
    RemovePropW(window, kAnnouncedDpiProperty);
}

int MetricForDpi(int index, int dpi) {
    if (const GetSystemMetricsForDpiFunction forDpi = Functions().getSystemMetricsForDpi)
        return forDpi(index, static_cast<UINT>(dpi));
    return MulDiv(GetSystemMetrics(index), dpi, SystemDpi());
}

WindowFrameStyle FrameStyleOf(HWND window) {
    const auto style = static_cast<DWORD>(GetWindowLongW(window, GWL_STYLE));
    // Only a window that is not a child can carry a menu bar.
    const bool menu = !(style & WS_CHILD) && GetMenu(window) != nullptr;
    return {style, static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), menu};
}

SIZE OuterSizeToPixels(SIZE units, const WindowFrameStyle &frame, int dpi) {
    return ConvertOuterSize(units, frame, dpi, true);
}

SIZE OuterSizeToUnits(SIZE pixels, const WindowFrameStyle &frame, int dpi) {
    return ConvertOuterSize(pixels, frame, dpi, false);
}

RECT UnitRectToUnits(HWND unit, const RECT &pixels, int dpi) {
    return ConvertUnitRect(unit, pixels, dpi, false);
}

RECT UnitRectToPixels(HWND unit, const RECT &units, int dpi) {
    return ConvertUnitRect(unit, units, dpi, true);
}
