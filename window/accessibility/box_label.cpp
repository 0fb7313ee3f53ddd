// The label that names a box for a screen reader, found by its place in the tab order and on the
// window.
#include "window/accessibility/box_label.h"

#include <iterator>

namespace {

// A sibling of another thread that does not answer the class query within this time is taken
// for no static text.
constexpr UINT kClassQueryMilliseconds = 200;

// The window's rectangle in its parent's client coordinates; in a right-to-left parent these
// run from its right edge, so that "left of" means "before" in either reading direction.
RECT RectInParent(HWND window, HWND parent) {
    RECT rect{};
    GetWindowRect(window, &rect);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT *>(&rect), 2);
    return rect;
}

// Above the box and overlapping its columns, or left of it with its middle within the box's
// rows (a prompt beside a box is often shorter than the box and not aligned to its top).
bool LiesBefore(const RECT &label, const RECT &box) {
    const LONG middleX = label.left + (label.right - label.left) / 2;
    const LONG middleY = label.top + (label.bottom - label.top) / 2;
    const bool above = middleY < box.top && label.left < box.right && label.right > box.left;
    const bool leftOnItsLine = middleX < box.left && middleY >= box.top && middleY < box.bottom;
    return above || leftOnItsLine;
}

} // namespace

std::wstring UnitWindowText(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

bool ReadsAsStaticText(HWND window) {
    wchar_t className[16] = {};
    if (RealGetWindowClassW(window, className, static_cast<UINT>(std::size(className))) != 0 &&
        lstrcmpiW(className, L"Static") == 0)
        return true;
    DWORD_PTR index = 0;
    return SendMessageTimeoutW(
               window, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_QUERYCLASSNAMEIDX),
               SMTO_ABORTIFHUNG | SMTO_BLOCK, kClassQueryMilliseconds, &index) != 0 &&
           static_cast<LRESULT>(index) == kStaticTextClassIndex;
}

std::wstring BoxLabelText(HWND box) {
    HWND label = GetWindow(box, GW_HWNDPREV);
    HWND parent = GetParent(box);
    if (label == nullptr || parent == nullptr || !IsWindowVisible(label) ||
        !ReadsAsStaticText(label) ||
        !LiesBefore(RectInParent(label, parent), RectInParent(box, parent)))
        return {};
    return UnitWindowText(label);
}
