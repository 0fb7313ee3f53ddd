// The accessible step of the GUI driver: a control's role, name and value through oleacc.
#include "tests/e2e/driver/accessible_probe.h"

#include <oleacc.h>

#include "tests/e2e/driver/window_text.h"

namespace {

struct RoleWord {
    const char *word;
    LONG role;
};

constexpr RoleWord kRoles[] = {{"static", ROLE_SYSTEM_STATICTEXT},
                               {"text", ROLE_SYSTEM_TEXT},
                               {"button", ROLE_SYSTEM_PUSHBUTTON}};

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
    const HRESULT roleResult = object->get_accRole(Self(), &actualRole);
    const std::string actualName = AnswerText(object, &IAccessible::get_accName);
    const std::string actualValue = AnswerText(object, &IAccessible::get_accValue);
    object->Release();

    std::string fault;
    if (role != "*") {
        LONG expected = -1;
        for (const RoleWord &known : kRoles)
            expected = role == known.word ? known.role : expected;
        if (expected < 0)
            return "unknown role word " + role;
        if (roleResult != S_OK || actualRole.vt != VT_I4 || actualRole.lVal != expected)
            fault += "role " + std::to_string(actualRole.vt == VT_I4 ? actualRole.lVal : -1) +
                     ", expected " + std::to_string(expected) + "; ";
    }
    VariantClear(&actualRole);
    return fault + Difference("name", actualName, name) + Difference("value", actualValue, value);
}
