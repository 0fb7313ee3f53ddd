// The accessible step of the GUI driver: a control's role, name and value through oleacc.
#include "tests/e2e/driver/accessible_probe.h"

#include <oleacc.h>

#include "tests/e2e/driver/window_text.h"

namespace {

// The child id that asks about the object itself.
VARIANT Self() {
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    return self;
}

using TextQuestion = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, BSTR *);

// The object's answer to a question for a text, as code page 936 bytes; empty for none (S_FALSE,
// a null or empty text).
std::string AnswerText(IAccessible *object, TextQuestion question) {
    BSTR text = nullptr;
    const HRESULT result = (object->*question)(Self(), &text);
    const std::string bytes = SUCCEEDED(result) && text != nullptr
                                  ? ProgramBytes(std::wstring(text, SysStringLen(text)))
                                  : std::string();
    SysFreeString(text);
    return bytes;
}

// A role as the steps name it: static, text, button, or else its number.
std::string RoleWord(const VARIANT &role) {
    switch (role.vt == VT_I4 ? role.lVal : -1) {
    case ROLE_SYSTEM_STATICTEXT:
        return "static";
    case ROLE_SYSTEM_TEXT:
        return "text";
    case ROLE_SYSTEM_PUSHBUTTON:
        return "button";
    default:
        return std::to_string(role.vt == VT_I4 ? role.lVal : -1);
    }
}

std::string Difference(const char *what, const std::string &actual, const std::string &expected) {
    return actual == expected ? std::string()
                              : std::string(what) + " \"" + Printable(actual) + "\", expected \"" +
                                    Printable(expected) + "\"; ";
}

} // namespace

std::string AccessibleFault(HWND control, const std::string &role, const std::string &name,
                            const std::string &value) {
    // The calls cross into the program's process; this thread need not pump messages for them.
    static const HRESULT com = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (FAILED(com))
        return "COM does not start";
    IAccessible *object = nullptr;
    const HRESULT found =
        AccessibleObjectFromWindow(control, static_cast<DWORD>(OBJID_CLIENT), IID_IAccessible,
                                   reinterpret_cast<void **>(&object));
    if (FAILED(found) || object == nullptr)
        return "no accessible object, error " + std::to_string(found);
    VARIANT actualRole;
    VariantInit(&actualRole);
    object->get_accRole(Self(), &actualRole);
    const std::string actualName = AnswerText(object, &IAccessible::get_accName);
    const std::string actualValue = AnswerText(object, &IAccessible::get_accValue);
    object->Release();

    const std::string roleWord = role == "*" ? role : RoleWord(actualRole);
    VariantClear(&actualRole);
    return Difference("role", roleWord, role) + Difference("name", actualName, name) +
           Difference("value", actualValue, value);
}
