// WindowCollection and WindowObject: the window templates in template order, each with its
// working unit list (live while loaded) and the pristine copy that restores it afterwards.
#pragma once

#include <cstdint>
#include <vector>

#include "window/unit_list.h"

class CWnd;

struct WindowObject {
    uint32_t reserved1 = 0;            // carried unchanged
    uint32_t reserved2 = 0;            // carried unchanged
    std::vector<uint8_t> text1, text2; // carried unchanged
    UnitList units;                    // working list; live slots point at unit objects
    UnitList pristine;                 // copy taken just before loading, empty otherwise
    bool firstShowPending = false;     // set by the load, cleared by show-after-load
};

class WindowCollection {
public:
    WindowCollection() = default;
    WindowCollection(const WindowCollection &) = delete;
    WindowCollection &operator=(const WindowCollection &) = delete;
    ~WindowCollection() { ReleaseAll(); }

    // Takes ownership of object.
    void Add(uint32_t windowId, WindowObject *object);
    WindowObject *Find(uint32_t windowId) const;
    // The WindowId of object, or 0.
    uint32_t IdOf(const WindowObject *object) const;
    uint32_t Count() const { return static_cast<uint32_t>(objects_.size()); }
    WindowObject *At(uint32_t index) const;
    uint32_t IdAt(uint32_t index) const;
    // Destroys every live window and frees every template.
    void ReleaseAll();

private:
    std::vector<uint32_t> ids_;
    std::vector<WindowObject *> objects_;
};

// The live unit object of record index, or null; live only while its platform window exists.
CWnd *LiveUnitAt(const UnitList &list, uint32_t index);
// The window object's own live unit (record 0) when its platform window exists.
CWnd *LiveWindowOf(const WindowObject &object);
bool IsWindowLoaded(const WindowObject &object);
