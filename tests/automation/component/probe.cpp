// The probe's IDispatch: names through the embedded type library (or a small table when
// opaque), and a hand-written Invoke that accepts only the argument forms each member declares.
#include "probe.h"

#include <cstdio>

#include "component_ids.h"

using namespace ZvTestComponent;

namespace {

// The argument of the 0-based program-order index; DISPPARAMS holds them last first.
VARIANT *ArgumentAt(DISPPARAMS *params, UINT index) {
    return index < params->cArgs ? &params->rgvarg[params->cArgs - 1 - index] : nullptr;
}

HRESULT ReadLong(VARIANT *argument, LONG *value) {
    VARIANT converted;
    VariantInit(&converted);
    const HRESULT changed = VariantChangeType(&converted, argument, 0, VT_I4);
    if (SUCCEEDED(changed)) {
        *value = V_I4(&converted);
    }
    return changed;
}

HRESULT ReturnLong(VARIANT *result, LONG value) {
    if (result != nullptr) {
        V_VT(result) = VT_I4;
        V_I4(result) = value;
    }
    return S_OK;
}

HRESULT ReturnText(VARIANT *result, const std::wstring &text) {
    if (result != nullptr) {
        V_VT(result) = VT_BSTR;
        V_BSTR(result) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    }
    return S_OK;
}

HRESULT ReturnDispatch(VARIANT *result, IDispatch *value) {
    if (result != nullptr) {
        if (value != nullptr) {
            value->AddRef();
        }
        V_VT(result) = VT_DISPATCH;
        V_DISPATCH(result) = value;
    }
    return S_OK;
}

// Replaces a held reference with value (AddRef'd), releasing the old one.
void Hold(IDispatch **slot, IDispatch *value) {
    if (value != nullptr) {
        value->AddRef();
    }
    if (*slot != nullptr) {
        (*slot)->Release();
    }
    *slot = value;
}

bool IsPropertyPut(const DISPPARAMS *params) {
    return params->cArgs == 1 && params->cNamedArgs == 1 &&
           params->rgdispidNamedArgs[0] == DISPID_PROPERTYPUT;
}

// Split(text, [out] head, [out] length, [in, out] rest): head is the text before the first
// blank, length the text's length, rest receives the text after that blank.
HRESULT Split(DISPPARAMS *params) {
    VARIANT *text = ArgumentAt(params, 0);
    VARIANT *head = ArgumentAt(params, 1);
    VARIANT *length = ArgumentAt(params, 2);
    VARIANT *rest = ArgumentAt(params, 3);
    if (params->cArgs != 4 || V_VT(text) != VT_BSTR || V_VT(head) != (VT_BYREF | VT_BSTR) ||
        V_VT(length) != (VT_BYREF | VT_I4) || V_VT(rest) != (VT_BYREF | VT_VARIANT)) {
        return DISP_E_TYPEMISMATCH;
    }
    const std::wstring whole(V_BSTR(text), SysStringLen(V_BSTR(text)));
    const size_t blank = whole.find(L' ');
    const std::wstring first = whole.substr(0, blank);
    const std::wstring after = blank == std::wstring::npos ? L"" : whole.substr(blank + 1);
    SysFreeString(*V_BSTRREF(head));
    *V_BSTRREF(head) = SysAllocStringLen(first.data(), static_cast<UINT>(first.size()));
    *V_I4REF(length) = static_cast<LONG>(whole.size());
    VariantClear(V_VARIANTREF(rest));
    V_VT(V_VARIANTREF(rest)) = VT_BSTR;
    V_BSTR(V_VARIANTREF(rest)) = SysAllocStringLen(after.data(), static_cast<UINT>(after.size()));
    return S_OK;
}

// Join(separator, parts...): every argument after the separator as text, separated by it.
HRESULT Join(DISPPARAMS *params, VARIANT *result) {
    VARIANT *separator = ArgumentAt(params, 0);
    if (separator == nullptr || V_VT(separator) != VT_BSTR) {
        return DISP_E_TYPEMISMATCH;
    }
    std::wstring joined;
    for (UINT i = 1; i < params->cArgs; ++i) {
        VARIANT text;
        VariantInit(&text);
        if (FAILED(VariantChangeType(&text, ArgumentAt(params, i), 0, VT_BSTR))) {
            return DISP_E_TYPEMISMATCH;
        }
        if (i > 1) {
            joined += V_BSTR(separator);
        }
        joined.append(V_BSTR(&text), SysStringLen(V_BSTR(&text)));
        VariantClear(&text);
    }
    return ReturnText(result, joined);
}

// Origin: the record ZvPoint {3, 4}.
HRESULT Origin(VARIANT *result) {
    ITypeInfo *info = ComponentTypeInfo(kPointRecordId);
    IRecordInfo *record = nullptr;
    const HRESULT made = info != nullptr ? GetRecordInfoFromTypeInfo(info, &record) : E_FAIL;
    if (info != nullptr) {
        info->Release();
    }
    if (FAILED(made)) {
        return made;
    }
    auto *point = static_cast<Point *>(record->RecordCreate());
    point->x = 3;
    point->y = 4;
    V_VT(result) = VT_RECORD;
    V_RECORDINFO(result) = record;
    V_RECORD(result) = point;
    return S_OK;
}

// Measure(point): x + y of a ZvPoint record.
HRESULT Measure(DISPPARAMS *params, VARIANT *result) {
    VARIANT *point = ArgumentAt(params, 0);
    GUID type{};
    if (params->cArgs != 1 || V_VT(point) != VT_RECORD || V_RECORDINFO(point) == nullptr ||
        FAILED(V_RECORDINFO(point)->GetGuid(&type)) || type != kPointRecordId) {
        return DISP_E_TYPEMISMATCH;
    }
    const auto *data = static_cast<const Point *>(V_RECORD(point));
    return ReturnLong(result, data->x + data->y);
}

// Describe(first, second): each given argument's type, and the code of a VT_ERROR one.
HRESULT Describe(DISPPARAMS *params, VARIANT *result) {
    std::wstring description;
    for (UINT i = 0; i < params->cArgs; ++i) {
        const VARIANT *argument = ArgumentAt(params, i);
        wchar_t part[48];
        if (V_VT(argument) == VT_ERROR) {
            swprintf(part, 48, L"%sERROR:%08lX", i > 0 ? L" " : L"",
                     static_cast<unsigned long>(V_ERROR(argument)));
        } else {
            swprintf(part, 48, L"%s%u", i > 0 ? L" " : L"", V_VT(argument));
        }
        description += part;
    }
    return ReturnText(result, description);
}

} // namespace

Probe::Probe(bool opaque) : opaque_(opaque) {
    InterlockedIncrement(&g_componentReferences);
}

Probe::~Probe() {
    Hold(&partner_, nullptr);
    Hold(&target_, nullptr);
}

HRESULT Probe::QueryInterface(REFIID iid, void **object) {
    if (object == nullptr) {
        return E_POINTER;
    }
    if (iid == IID_IUnknown || iid == IID_IDispatch || iid == kProbeInterfaceId) {
        *object = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG Probe::AddRef() {
    InterlockedIncrement(&g_componentReferences);
    return static_cast<ULONG>(InterlockedIncrement(&references_));
}

ULONG Probe::Release() {
    InterlockedDecrement(&g_componentReferences);
    const LONG left = InterlockedDecrement(&references_);
    if (left == 0) {
        delete this;
    }
    return static_cast<ULONG>(left);
}

HRESULT Probe::GetTypeInfoCount(UINT *count) {
    *count = opaque_ ? 0 : 1;
    return S_OK;
}

HRESULT Probe::GetTypeInfo(UINT index, LCID, ITypeInfo **info) {
    *info = nullptr;
    if (opaque_ || index != 0) {
        return opaque_ ? E_NOTIMPL : DISP_E_BADINDEX;
    }
    *info = ComponentTypeInfo(kProbeInterfaceId);
    return *info != nullptr ? S_OK : E_FAIL;
}

HRESULT Probe::GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID, DISPID *ids) {
    if (!opaque_) {
        ITypeInfo *info = ComponentTypeInfo(kProbeInterfaceId);
        if (info == nullptr) {
            return E_FAIL;
        }
        const HRESULT found = DispGetIDsOfNames(info, names, count, ids);
        info->Release();
        return found;
    }
    // The opaque probe knows two names.
    if (count != 1) {
        return DISP_E_UNKNOWNNAME;
    }
    if (lstrcmpiW(names[0], L"Counter") == 0) {
        ids[0] = kCounter;
    } else if (lstrcmpiW(names[0], L"Add") == 0) {
        ids[0] = kAdd;
    } else {
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    return S_OK;
}

void Probe::RecordCall(WORD flags, const DISPPARAMS *params) {
    wchar_t line[160];
    swprintf(line, 160, L"flags=%u args=%u named=%d", flags, params->cArgs,
             params->cNamedArgs > 0 ? static_cast<int>(params->rgdispidNamedArgs[0]) : 0);
    lastCall_ = line;
    for (UINT i = 0; i < params->cArgs; ++i) {
        const VARIANT &argument = params->rgvarg[params->cArgs - 1 - i];
        wchar_t type[16];
        swprintf(type, 16, L" %u", V_VT(&argument));
        lastCall_ += type;
        // An interface argument without an interface in it.
        if ((V_VT(&argument) == VT_UNKNOWN || V_VT(&argument) == VT_DISPATCH) &&
            V_UNKNOWN(&argument) == nullptr) {
            lastCall_ += L"(null)";
        }
    }
}

HRESULT Probe::InvokeProperty(DISPID member, WORD flags, DISPPARAMS *params, VARIANT *result) {
    const bool get = (flags & DISPATCH_PROPERTYGET) != 0 && params->cArgs == 0;
    switch (member) {
    case kCounter:
        if (get) {
            return ReturnLong(result, counter_);
        }
        if (flags == DISPATCH_PROPERTYPUT && IsPropertyPut(params)) {
            return ReadLong(&params->rgvarg[0], &counter_);
        }
        break;
    case kPartner:
    case kTarget: {
        IDispatch **slot = member == kPartner ? &partner_ : &target_;
        if (get) {
            return ReturnDispatch(result, *slot);
        }
        // Only put-by-reference sets these: a plain put is refused.
        if (flags == DISPATCH_PROPERTYPUTREF && IsPropertyPut(params)) {
            if (V_VT(&params->rgvarg[0]) != VT_DISPATCH) {
                return DISP_E_TYPEMISMATCH;
            }
            Hold(slot, V_DISPATCH(&params->rgvarg[0]));
            return S_OK;
        }
        break;
    }
    case kWord:
        if (get) {
            return ReturnText(result, L"abc");
        }
        break;
    case kOrigin:
        if (get && result != nullptr) {
            return Origin(result);
        }
        break;
    case kLastCall:
        if (get) {
            return ReturnText(result, lastCall_);
        }
        break;
    default:
        break;
    }
    return DISP_E_MEMBERNOTFOUND;
}

HRESULT Probe::InvokeMethod(DISPID member, DISPPARAMS *params, VARIANT *result) {
    if (params->cNamedArgs != 0) {
        return DISP_E_NONAMEDARGS;
    }
    switch (member) {
    case kSplit:
        return Split(params);
    case kJoin:
        return Join(params, result);
    case kFail: {
        LONG code = 0;
        if (params->cArgs != 1 || FAILED(ReadLong(&params->rgvarg[0], &code))) {
            return DISP_E_BADPARAMCOUNT;
        }
        return static_cast<HRESULT>(code);
    }
    case kMeasure:
        return Measure(params, result);
    case kAdd: {
        LONG a = 0;
        LONG b = 0;
        if (params->cArgs != 2) {
            return DISP_E_BADPARAMCOUNT;
        }
        if (FAILED(ReadLong(ArgumentAt(params, 0), &a)) ||
            FAILED(ReadLong(ArgumentAt(params, 1), &b))) {
            return DISP_E_TYPEMISMATCH;
        }
        return ReturnLong(result, a + b);
    }
    case kOpaque: {
        auto *opaque = new Probe(true);
        ReturnDispatch(result, opaque);
        opaque->Release();
        return S_OK;
    }
    case kTwice: {
        VARIANT *value = ArgumentAt(params, 0);
        if (params->cArgs != 1 || V_VT(value) != (VT_BYREF | VT_I4)) {
            return DISP_E_TYPEMISMATCH;
        }
        *V_I4REF(value) *= 2;
        return S_OK;
    }
    case kDescribe:
        return Describe(params, result);
    default:
        return DISP_E_MEMBERNOTFOUND;
    }
}

HRESULT Probe::Invoke(DISPID member, REFIID, LCID, WORD flags, DISPPARAMS *params, VARIANT *result,
                      EXCEPINFO *, UINT *) {
    if (params == nullptr) {
        return E_INVALIDARG;
    }
    if (member != kLastCall) {
        RecordCall(flags, params);
    }
    if ((flags & DISPATCH_METHOD) != 0) {
        const HRESULT called = InvokeMethod(member, params, result);
        if (called != DISP_E_MEMBERNOTFOUND || (flags & DISPATCH_PROPERTYGET) == 0) {
            return called;
        }
    }
    return InvokeProperty(member, flags, params, result);
}
