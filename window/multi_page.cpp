// Multi-page containers: the current page of the control and showing its units.
#include "window/multi_page.h"

#include "framework/window.h"
#include "window/unit_type.h"
#include "window/window_collection.h"

namespace {

// The platform tab control's messages for its selected item, which is the current page.
constexpr UINT kGetCurrentPage = 0x130B; // TCM_GETCURSEL
constexpr UINT kSetCurrentPage = 0x130C; // TCM_SETCURSEL

} // namespace

int32_t CurrentPageOf(HWND container) {
    return static_cast<int32_t>(SendMessageA(container, kGetCurrentPage, 0, 0));
}

void SetCurrentPage(HWND container, int32_t page) {
    SendMessageA(container, kSetCurrentPage, static_cast<WPARAM>(page), 0);
}

int32_t ShowCurrentPage(uint32_t windowId, uint32_t unitId) {
    WindowTemplate *window = FindWindowTemplate(windowId);
    const int32_t index = window != nullptr ? RecordIndexOf(*window, unitId) : -1;
    if (index <= 0)
        return 0;
    const UnitRecordView record = window->RecordAt(static_cast<uint32_t>(index));
    const UnitTypeDescriptor *descriptor =
        record.IsMenuItem() ? nullptr : FindUnitTypeDescriptor(record.Type());
    CWnd *container = LiveUnitAt(*window, static_cast<uint32_t>(index));
    if (descriptor == nullptr || !(descriptor->flags & kTypeMultiPage) || container == nullptr)
        return 0;
    HWND focus = GetFocus();
    const bool focusInside =
        focus != nullptr && (focus == container->m_hWnd || IsChild(container->m_hWnd, focus));
    const int32_t current = CurrentPageOf(container->m_hWnd);
    int32_t page = 0;
    int32_t first = -1; // the page's first unit in tab order: lowest word, then highest index
    for (uint32_t c = 0; c < record.ChildCount(); ++c) {
        const uint32_t childId = record.Child(c);
        if (childId == 0) {
            ++page;
            continue;
        }
        const int32_t childIndex = window->IndexOfUnit(childId);
        CWnd *child =
            childIndex > 0 ? LiveUnitAt(*window, static_cast<uint32_t>(childIndex)) : nullptr;
        if (child == nullptr)
            continue;
        const UnitRecordView childRecord = window->RecordAt(static_cast<uint32_t>(childIndex));
        const bool shown = page == current && (childRecord.Flags() & kUnitVisible);
        ShowWindow(child->m_hWnd, shown ? SW_SHOWNA : SW_HIDE);
        if (!shown || !(childRecord.Flags() & kUnitTabStop) || !IsWindowEnabled(child->m_hWnd))
            continue;
        if (first < 0 ||
            childRecord.TabOrder() < window->RecordAt(static_cast<uint32_t>(first)).TabOrder() ||
            (childRecord.TabOrder() == window->RecordAt(static_cast<uint32_t>(first)).TabOrder() &&
             childIndex > first))
            first = childIndex;
    }
    if (focusInside && first > 0)
        SetFocus(LiveUnitAt(*window, static_cast<uint32_t>(first))->m_hWnd);
    return 1;
}
