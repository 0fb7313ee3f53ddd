// The test component's one class: a dispatch object whose Invoke checks and records exactly
// what a caller passed, so that tests can see the DISPPARAMS the automation commands build.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <string>

// Every AddRef and Release of the component's objects moves this total.
extern LONG g_componentReferences;
// The component's DLL module, for its embedded type library.
extern HMODULE g_componentModule;

// The type info of the probe interface or of the ZvPoint record, from the type library embedded
// in the component; null when it cannot be loaded. The caller releases it.
ITypeInfo *ComponentTypeInfo(REFGUID type);

class Probe final : public IDispatch {
public:
    // An opaque probe gives no type information and resolves names itself.
    explicit Probe(bool opaque);

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID locale,
                                            DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID locale, WORD flags,
                                     DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argumentError) override;

private:
    ~Probe();
    void RecordCall(WORD flags, const DISPPARAMS *params);
    HRESULT InvokeProperty(DISPID member, WORD flags, DISPPARAMS *params, VARIANT *result);
    HRESULT InvokeMethod(DISPID member, DISPPARAMS *params, VARIANT *result);

    LONG references_ = 1;
    bool opaque_;
    LONG counter_ = 0;
    IDispatch *partner_ = nullptr;
    IDispatch *target_ = nullptr;
    std::wstring lastCall_;
};
