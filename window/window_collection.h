// WindowCollection: the window templates read at start-up, in template order, each the
// WindowObject of its window; and the look-ups of live windows and units through it.
#pragma once

#include <cstdint>

#include "window/window_template.h"

class CWnd;

class WindowCollection {
public:
    WindowCollection() = default;
    WindowCollection(const WindowCollection &) = delete;
    WindowCollection &operator=(const WindowCollection &) = delete;
    ~WindowCollection() { ReleaseAll(); }

    // Appends the windows in their order; the collection owns them from now on.
    void Adopt(WindowTemplateList windows);
    // The window of windowId; an invalid identifier is absent without a search.
    WindowTemplate *Find(uint32_t windowId) const;
    uint32_t Count() const { return static_cast<uint32_t>(windows_.size()); }
    WindowTemplate *At(uint32_t index) const;
    // Destroys every live window, then frees every template.
    void ReleaseAll();

private:
    WindowTemplateList windows_;
};

// The runtime's collection, or null before start-up read the templates.
WindowCollection *Windows();
WindowTemplate *FindWindowTemplate(uint32_t windowId);

// The record index of unitId in window: 0 (or the window's own UnitId) is record 0, an absent
// or invalid identifier -1.
int32_t RecordIndexOf(const WindowTemplate &window, uint32_t unitId);
// The live unit object of record index, or null; a unit is live only while its platform window
// exists. Menu items have no unit object.
CWnd *LiveUnitAt(WindowTemplate &window, uint32_t index);
// The window's own live unit (record 0).
CWnd *LiveWindowOf(WindowTemplate &window);
bool IsWindowLoaded(WindowTemplate &window);
