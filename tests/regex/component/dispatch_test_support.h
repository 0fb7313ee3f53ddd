// Helpers for driving the component through IDispatch as a script host does: names through
// GetIDsOfNames, arguments in program order, results and exceptions owned by the helper.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "regex/component/regexp_component.h"

namespace RegExpTest {

// A VARIANT cleared at the end of its scope.
class OwnedVariant {
public:
    OwnedVariant() { VariantInit(&value_); }
    ~OwnedVariant() { VariantClear(&value_); }
    OwnedVariant(const OwnedVariant &) = delete;
    OwnedVariant &operator=(const OwnedVariant &) = delete;
    VARIANT *get() { return &value_; }
    const VARIANT *operator->() const { return &value_; }

private:
    VARIANT value_;
};

inline VARIANT Bstr(const wchar_t *text) {
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocString(text);
    return value;
}
inline VARIANT Bool(bool flag) {
    VARIANT value;
    V_VT(&value) = VT_BOOL;
    V_BOOL(&value) = flag ? VARIANT_TRUE : VARIANT_FALSE;
    return value;
}
inline VARIANT Long(LONG number) {
    VARIANT value;
    V_VT(&value) = VT_I4;
    V_I4(&value) = number;
    return value;
}
inline VARIANT Real(double number) {
    VARIANT value;
    V_VT(&value) = VT_R8;
    V_R8(&value) = number;
    return value;
}

// What one Invoke gave: its HRESULT, the result and the exception it reported.
struct Invoked {
    HRESULT code = E_FAIL;
    VARIANT result{};
    EXCEPINFO exception{};
    Invoked() { VariantInit(&result); }
    ~Invoked() {
        VariantClear(&result);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrHelpFile);
    }
    Invoked(const Invoked &) = delete;
    Invoked &operator=(const Invoked &) = delete;
    std::wstring Text() const {
        return V_VT(&result) == VT_BSTR
                   ? std::wstring(V_BSTR(&result), SysStringLen(V_BSTR(&result)))
                   : std::wstring();
    }
    // The object the call returned (still owned here), or null when it returned none.
    IDispatch *Object() const {
        return V_VT(&result) == VT_DISPATCH ? V_DISPATCH(&result) : nullptr;
    }
    std::wstring Description() const {
        return exception.bstrDescription != nullptr ? exception.bstrDescription : L"";
    }
};

inline DISPID IdOf(IDispatch *object, const wchar_t *name) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    EXPECT_EQ(S_OK, object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id)) << name;
    return id;
}

// Invokes member id with the arguments in program order; the arguments are cleared after.
inline void InvokeId(IDispatch *object, DISPID id, WORD flags, std::vector<VARIANT> args,
                     Invoked &out) {
    std::vector<VARIANT> reversed(args.rbegin(), args.rend());
    DISPID put = DISPID_PROPERTYPUT;
    const bool isPut = (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0;
    DISPPARAMS params{reversed.empty() ? nullptr : reversed.data(), isPut ? &put : nullptr,
                      static_cast<UINT>(reversed.size()), isPut ? 1u : 0u};
    UINT argumentError = 0;
    out.code = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                              isPut ? nullptr : &out.result, &out.exception, &argumentError);
    for (VARIANT &argument : reversed) {
        VariantClear(&argument);
    }
}

inline void InvokeName(IDispatch *object, const wchar_t *name, WORD flags,
                       std::vector<VARIANT> args, Invoked &out) {
    InvokeId(object, IdOf(object, name), flags, std::move(args), out);
}

// A new object of the component as IDispatch, released by the caller.
inline IDispatch *NewRegExp() {
    IUnknown *created = RegExpComponent::CreateRegExp();
    IDispatch *dispatch = nullptr;
    if (created != nullptr) {
        created->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&dispatch));
        created->Release();
    }
    return dispatch;
}

inline ULONG ReferenceCount(IUnknown *object) {
    object->AddRef();
    return object->Release();
}

} // namespace RegExpTest
