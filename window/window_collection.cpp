// WindowCollection: its life from the start-up read to shutdown, its look-ups and the live-slot
// helpers.
#include "window/window_collection.h"

#include "framework/window.h"
#include "runtime/image_layout.h"
#include "window/template_ids.h"
#include "window/template_reader.h"
#include "window/window_engine.h"
#include "window/window_engine_state.h"

void WindowCollection::Adopt(WindowTemplateList windows) {
    for (auto &window : windows) {
        windows_.push_back(std::move(window));
    }
}

WindowTemplate *WindowCollection::Find(uint32_t windowId) const {
    if (!IsValidId(windowId)) {
        return nullptr;
    }
    for (const auto &window : windows_) {
        if (window->WindowId() == windowId) {
            return window.get();
        }
    }
    return nullptr;
}

WindowTemplate *WindowCollection::At(uint32_t index) const {
    return index < windows_.size() ? windows_[index].get() : nullptr;
}

void WindowCollection::ReleaseAll() {
    for (const auto &window : windows_) {
        if (CWnd *live = LiveWindowOf(*window)) {
            live->DestroyWindow();
        }
    }
    WindowTemplateList released;
    released.swap(windows_);
}

WindowCollection *Windows() {
    return EngineState().windows;
}

WindowTemplate *FindWindowTemplate(uint32_t windowId) {
    WindowCollection *collection = Windows();
    return collection != nullptr ? collection->Find(windowId) : nullptr;
}

int32_t RecordIndexOf(const WindowTemplate &window, uint32_t unitId) {
    if (window.UnitCount() == 0) {
        return -1;
    }
    return unitId == 0 ? 0 : window.IndexOfUnit(unitId);
}

CWnd *LiveUnitAt(WindowTemplate &window, uint32_t index) {
    const UnitRecordView record = window.RecordAt(index);
    if (!record || record.IsMenuItem()) {
        return nullptr;
    }
    auto *unit = reinterpret_cast<CWnd *>(record.LiveUnit());
    return unit != nullptr && unit->m_hWnd != nullptr && IsWindow(unit->m_hWnd) ? unit : nullptr;
}

CWnd *LiveWindowOf(WindowTemplate &window) {
    return LiveUnitAt(window, 0);
}

bool IsWindowLoaded(WindowTemplate &window) {
    return LiveWindowOf(window) != nullptr;
}

void LoadWindowTemplates(const ImageHeader &header) {
    if (header.templateSegmentSize == 0) {
        return;
    }
    WindowTemplateList windows =
        LoadWindowTemplates(header.templateSegment, header.templateSegmentSize,
                            reinterpret_cast<uint32_t>(header.codeBase));
    WindowEngineState &state = EngineState();
    if (state.windows == nullptr) {
        state.windows = new WindowCollection;
    }
    state.windows->Adopt(std::move(windows));
}

void ReleaseAllWindows() {
    WindowEngineState &state = EngineState();
    WindowCollection *collection = state.windows;
    if (collection == nullptr) {
        return;
    }
    // Destroying the windows still finds them through the collection; only then it goes.
    collection->ReleaseAll();
    state.windows = nullptr;
    delete collection;
}
