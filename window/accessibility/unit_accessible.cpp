// UnitAccessible: answers WM_GETOBJECT for a unit. The platform's accessibility library is
// looked up at the first request: programs start without mapping it, and only a running screen
// reader (or another accessibility client) ever asks.
#include "window/accessibility/unit_accessible.h"

#include <new>

#include "window/accessibility/accessible_object.h"
#include "window/accessibility/box_label.h"
#include "window/system_routine.h"

namespace {

struct AccessibilityRoutines {
    HRESULT(WINAPI *createStandardObject)(HWND, LONG, REFIID, void **);
    LRESULT(WINAPI *resultFromObject)(REFIID, WPARAM, LPUNKNOWN);
};

const AccessibilityRoutines &Accessibility() {
    static const AccessibilityRoutines routines{
        SystemRoutine<decltype(AccessibilityRoutines::createStandardObject)>(
            "oleacc", "CreateStdAccessibleObject"),
        SystemRoutine<decltype(AccessibilityRoutines::resultFromObject)>("oleacc",
                                                                         "LresultFromObject")};
    return routines;
}

// The platform's standard client object for the window, or null. For a label it is the static
// text object, since the label answers the class query as static text.
IAccessible *StandardObject(HWND window) {
    const auto create = Accessibility().createStandardObject;
    void *standard = nullptr;
    if (create == nullptr || FAILED(create(window, OBJID_CLIENT, IID_IAccessible, &standard)))
        return nullptr;
    return static_cast<IAccessible *>(standard);
}

} // namespace

UnitAccessible::~UnitAccessible() {
    if (object_ == nullptr)
        return;
    object_->Disconnect();
    object_->Release();
}

std::optional<LRESULT> UnitAccessible::AnswerObjectRequest(HWND window, WPARAM wParam,
                                                           LPARAM lParam) {
    const auto objectId = static_cast<LONG>(lParam);
    if (objectId == OBJID_QUERYCLASSNAMEIDX && kind_ == AccessibleUnitKind::kStaticText)
        return kStaticTextClassIndex;
    if (objectId != OBJID_CLIENT)
        return std::nullopt;
    const auto toResult = Accessibility().resultFromObject;
    if (toResult == nullptr)
        return std::nullopt;
    if (object_ == nullptr) {
        IAccessible *standard = StandardObject(window);
        if (standard == nullptr)
            return std::nullopt;
        // Without memory for it the request is left to the default as well.
        object_ = new (std::nothrow) AccessibleUnitObject(window, kind_, standard);
        if (object_ == nullptr) {
            standard->Release();
            return std::nullopt;
        }
    }
    // The answer holds a reference for the client until it takes the object up; a failure (no
    // COM on this thread) leaves the request to the window's default handling.
    const LRESULT answer = toResult(IID_IAccessible, wParam, static_cast<IAccessible *>(object_));
    if (FAILED(static_cast<HRESULT>(answer)))
        return std::nullopt;
    return answer;
}
