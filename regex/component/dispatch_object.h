// DispatchObject: what every object of the component shares. Reference counting, IDispatch
// through the type library (so names, argument conversion and default members behave as for
// any type-library-driven automation object) and errors reported both as EXCEPINFO and through
// the thread's error object.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <exception>
#include <memory>
#include <utility>

#include "regex/component/regexp_errors.h"
#include "regex/component/regexp_type_library.h"

namespace RegExpComponent {

// How many of the component's objects (of every kind) are alive in the process.
extern LONG g_liveObjects;

template <class Interface, InterfaceKind kKind, const IID &kInterfaceId>
class DispatchObject : public Interface, public ISupportErrorInfo {
public:
    explicit DispatchObject(std::shared_ptr<const TypeLibrary> types) : types_(std::move(types)) {
        InterlockedIncrement(&g_liveObjects);
    }
    DispatchObject(const DispatchObject &) = delete;
    DispatchObject &operator=(const DispatchObject &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void **object) override {
        if (object == nullptr) {
            return E_POINTER;
        }
        if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kInterfaceId) {
            *object = static_cast<Interface *>(this);
        } else if (iid == IID_ISupportErrorInfo) {
            *object = static_cast<ISupportErrorInfo *>(this);
        } else {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override {
        return static_cast<ULONG>(InterlockedIncrement(&references_));
    }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&references_);
        if (left == 0) {
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override {
        if (count == nullptr) {
            return E_POINTER;
        }
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID, ITypeInfo **info) override {
        if (info == nullptr) {
            return E_POINTER;
        }
        *info = nullptr;
        if (index != 0) {
            return DISP_E_BADINDEX;
        }
        *info = types_->DispatchInfo(kKind);
        (*info)->AddRef();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR *names, UINT count, LCID,
                                            DISPID *ids) override {
        if (iid != IID_NULL) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        return DispGetIDsOfNames(types_->VtableInfo(kKind), names, count, ids);
    }
    // The type library calls the vtable method; a method that failed left its error in
    // pending_, which becomes the caller's EXCEPINFO and DISP_E_EXCEPTION.
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID iid, LCID, WORD flags,
                                     DISPPARAMS *params, VARIANT *result, EXCEPINFO *exception,
                                     UINT *argumentError) override {
        if (iid != IID_NULL) {
            return DISP_E_UNKNOWNINTERFACE;
        }
        pending_ = nullptr;
        HRESULT invoked =
            types_->VtableInfo(kKind)->Invoke(static_cast<Interface *>(this), member, flags, params,
                                              result, exception, argumentError);
        if (pending_ != nullptr) {
            if (exception != nullptr) {
                SysFreeString(exception->bstrSource);
                SysFreeString(exception->bstrDescription);
                SysFreeString(exception->bstrHelpFile);
                *exception = EXCEPINFO{};
                exception->bstrSource = SysAllocString(kErrorSource);
                exception->bstrDescription = SysAllocString(pending_->description);
                exception->scode = pending_->code;
            }
            invoked = DISP_E_EXCEPTION;
            pending_ = nullptr;
        }
        // A failed call hands back no result, not an empty value of the member's type.
        if (FAILED(invoked) && result != nullptr) {
            VariantClear(result);
        }
        return invoked;
    }

    HRESULT STDMETHODCALLTYPE InterfaceSupportsErrorInfo(REFIID iid) override {
        return iid == kInterfaceId ? S_OK : S_FALSE;
    }

protected:
    virtual ~DispatchObject() { InterlockedDecrement(&g_liveObjects); }

    const std::shared_ptr<const TypeLibrary> &types() const { return types_; }

    // Records error for the caller: through Invoke as EXCEPINFO, through the vtable as the
    // thread's error object. Returns its HRESULT.
    HRESULT Fail(const ComponentError &error) {
        pendingStore_ = error;
        pending_ = &pendingStore_;
        ICreateErrorInfo *creator = nullptr;
        if (SUCCEEDED(CreateErrorInfo(&creator))) {
            creator->SetGUID(kInterfaceId);
            creator->SetSource(const_cast<LPOLESTR>(kErrorSource));
            creator->SetDescription(const_cast<LPOLESTR>(error.description));
            IErrorInfo *info = nullptr;
            if (SUCCEEDED(
                    creator->QueryInterface(IID_IErrorInfo, reinterpret_cast<void **>(&info)))) {
                SetErrorInfo(0, info);
                info->Release();
            }
            creator->Release();
        }
        return error.code;
    }

    // Runs a method body; running out of memory inside it (std::bad_alloc, or a length error
    // for a string too long to hold) becomes the component's error rather than an exception
    // crossing the COM boundary.
    template <class Body> HRESULT Guarded(Body &&body) {
        try {
            return body();
        } catch (const std::exception &) {
            return Fail(kOutOfMemory);
        }
    }

private:
    LONG references_ = 1;
    std::shared_ptr<const TypeLibrary> types_;
    ComponentError pendingStore_{};
    const ComponentError *pending_ = nullptr;
};

} // namespace RegExpComponent
