// WindowCollection lookups and the live-slot helpers.
#include "window/window_collection.h"

#include "framework/wnd.h"

void WindowCollection::Add(uint32_t windowId, WindowObject *object) {
    ids_.push_back(windowId);
    objects_.push_back(object);
}

WindowObject *WindowCollection::Find(uint32_t windowId) const {
    if (!IsValidIdentifier(windowId))
        return nullptr;
    for (size_t i = 0; i < ids_.size(); ++i)
        if (ids_[i] == windowId)
            return objects_[i];
    return nullptr;
}

uint32_t WindowCollection::IdOf(const WindowObject *object) const {
    for (size_t i = 0; i < objects_.size(); ++i)
        if (objects_[i] == object)
            return ids_[i];
    return 0;
}

WindowObject *WindowCollection::At(uint32_t index) const {
    return index < objects_.size() ? objects_[index] : nullptr;
}

uint32_t WindowCollection::IdAt(uint32_t index) const {
    return index < ids_.size() ? ids_[index] : 0;
}

void WindowCollection::ReleaseAll() {
    for (WindowObject *object : objects_) {
        if (CWnd *window = LiveWindowOf(*object))
            window->DestroyWindow();
    }
    std::vector<WindowObject *> objects;
    objects.swap(objects_);
    ids_.clear();
    for (WindowObject *object : objects)
        delete object;
}

CWnd *LiveUnitAt(const UnitList &list, uint32_t index) {
    UnitRecordLayout layout;
    if (!ParseUnitRecord(list, index, &layout) || IsMenuItemId(UnitIdAt(list, index)))
        return nullptr;
    auto *unit = reinterpret_cast<CWnd *>(ReadFixedWord(layout, kLiveUnitOffset));
    return unit != nullptr && unit->m_hWnd != nullptr && IsWindow(unit->m_hWnd) ? unit : nullptr;
}

CWnd *LiveWindowOf(const WindowObject &object) {
    return LiveUnitAt(object.units, 0);
}

bool IsWindowLoaded(const WindowObject &object) {
    return LiveWindowOf(object) != nullptr;
}
