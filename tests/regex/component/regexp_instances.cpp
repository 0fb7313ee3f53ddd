// Making the platform's component by its ProgID and ours in-process, and calling either by name.
#include "tests/regex/component/regexp_instances.h"

#include "regex/component/regexp_component.h"

namespace RegExpTest {

IDispatch *NewPlatformRegExp() {
    CLSID classId{};
    IDispatch *instance = nullptr;
    if (SUCCEEDED(CLSIDFromProgID(L"VBScript.RegExp", &classId))) {
        CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                         reinterpret_cast<void **>(&instance));
    }
    return instance;
}

IDispatch *NewOwnRegExp() {
    IUnknown *created = RegExpComponent::CreateRegExp();
    IDispatch *instance = nullptr;
    if (created != nullptr) {
        created->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&instance));
        created->Release();
    }
    return instance;
}

HRESULT CallByName(IDispatch *object, const wchar_t *name, WORD flags, VARIANT *args, UINT count,
                   VARIANT *result) {
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
        return DISP_E_UNKNOWNNAME;
    }
    DISPID put = DISPID_PROPERTYPUT;
    const bool isPut = flags == DISPATCH_PROPERTYPUT;
    DISPPARAMS params{args, isPut ? &put : nullptr, count, isPut ? 1u : 0u};
    EXCEPINFO exception{};
    UINT argumentError = 0;
    const HRESULT invoked = object->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                                           result, &exception, &argumentError);
    SysFreeString(exception.bstrSource);
    SysFreeString(exception.bstrDescription);
    SysFreeString(exception.bstrHelpFile);
    return invoked;
}

} // namespace RegExpTest
