// UnitAccessible: a unit's answer to the platform's accessibility layer (WM_GETOBJECT). It makes
// the unit's accessible object on the first request, hands out the same one afterwards and cuts
// it off from every client when the unit goes, so that no object outlives its window.
#pragma once

#include <windows.h>

#include <optional>

// What a unit is to a screen reader where it differs from the platform control it resembles.
enum class AccessibleUnitKind {
    kStaticText,  // a label: static text named by its caption as drawn
    kLabelledBox, // an edit box: named by the label before it, never by an unrelated one
};

class AccessibleUnitObject;

class UnitAccessible {
public:
    explicit UnitAccessible(AccessibleUnitKind kind) : kind_(kind) {}
    UnitAccessible(const UnitAccessible &) = delete;
    UnitAccessible &operator=(const UnitAccessible &) = delete;
    // Disconnects the object from its clients and drops the unit's reference.
    ~UnitAccessible();

    // The answer to WM_GETOBJECT for the unit's window, or nothing where the window's default
    // handling answers (other object ids, or when the platform's accessibility library or its
    // standard object is not to be had).
    std::optional<LRESULT> AnswerObjectRequest(HWND window, WPARAM wParam, LPARAM lParam);

private:
    AccessibleUnitKind kind_;
    AccessibleUnitObject *object_ = nullptr; // made on the first request for the client object
};
