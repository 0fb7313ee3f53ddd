// Binding by ITypeComp::Bind, trying the invocation kinds of each call kind in order.
#include "values/automation_member.h"

#include "values/automation_parameter_type.h"
#include "values/automation_status.h"

namespace {

constexpr WORD kGetKinds[] = {INVOKE_PROPERTYGET, INVOKE_FUNC};
constexpr WORD kPutKinds[] = {INVOKE_PROPERTYPUT, INVOKE_PROPERTYPUTREF, INVOKE_FUNC};
constexpr WORD kMethodKinds[] = {INVOKE_FUNC, INVOKE_PROPERTYGET, INVOKE_PROPERTYPUT,
                                 INVOKE_PROPERTYPUTREF};

struct KindList {
    const WORD *kinds;
    int count;
};

KindList KindsFor(InvokeKind kind) {
    switch (kind) {
    case InvokeKind::Get:
        return {kGetKinds, 2};
    case InvokeKind::Put:
        return {kPutKinds, 3};
    default:
        return {kMethodKinds, 4};
    }
}

// Releases whatever a successful Bind handed out that the caller does not keep.
void ReleaseBinding(ITypeInfo *owner, DESCKIND kind, BINDPTR binding) {
    if (kind == DESCKIND_FUNCDESC && owner != nullptr) {
        owner->ReleaseFuncDesc(binding.lpfuncdesc);
    } else if ((kind == DESCKIND_VARDESC || kind == DESCKIND_IMPLICITAPPOBJ) && owner != nullptr) {
        owner->ReleaseVarDesc(binding.lpvardesc);
    } else if (kind == DESCKIND_TYPECOMP && binding.lptcomp != nullptr) {
        binding.lptcomp->Release();
    }
    if (owner != nullptr) {
        owner->Release();
    }
}

ITypeComp *TypeCompOf(IDispatch *dispatch, LCID locale) {
    ITypeInfo *typeInfo = nullptr;
    if (FAILED(dispatch->GetTypeInfo(0, locale, &typeInfo)) || typeInfo == nullptr) {
        return nullptr;
    }
    ITypeComp *typeComp = nullptr;
    if (FAILED(typeInfo->GetTypeComp(&typeComp))) {
        typeComp = nullptr;
    }
    typeInfo->Release();
    return typeComp;
}

void DescribeVariable(InvokeKind kind, BoundMember *member) {
    member->id = member->variable->memid;
    if (kind != InvokeKind::Put) {
        member->flags = DISPATCH_PROPERTYGET;
        member->declaredCount = 0;
        return;
    }
    member->declaredCount = 1;
    const VARTYPE type = ResolveParameterType(member->owner, &member->variable->elemdescVar.tdesc) &
                         static_cast<VARTYPE>(~VT_BYREF);
    const bool byReference = (type & VT_ARRAY) != 0 || type == VT_UNKNOWN || type == VT_DISPATCH;
    member->flags = byReference ? DISPATCH_PROPERTYPUTREF : DISPATCH_PROPERTYPUT;
}

// Wine's scripting components answer GetTypeInfo with E_NOTIMPL for the objects they hand
// out (match collections, matches, sub-matches), so those could not be driven at all. For an
// object without type information the name is resolved by the dispatch interface itself, with
// the first invocation kind of the list and no parameter descriptions.
int32_t BindByDispatch(IDispatch *dispatch, LCID locale, const wchar_t *name, InvokeKind kind,
                       BoundMember *member) {
    auto *names = const_cast<LPOLESTR>(name);
    DISPID id = DISPID_UNKNOWN;
    if (FAILED(dispatch->GetIDsOfNames(IID_NULL, &names, 1, locale, &id))) {
        return kAutomationNoTypeInformation;
    }
    member->id = id;
    member->flags = KindsFor(kind).kinds[0];
    if (kind == InvokeKind::Method) {
        member->flags |= DISPATCH_PROPERTYGET;
    }
    member->declaredCount = 0;
    member->takesVariableArguments = true;
    return kAutomationSucceeded;
}

} // namespace

const ELEMDESC *BoundMember::ParameterFor(int32_t argument) const {
    if (function != nullptr) {
        if (function->cParams == 0) {
            return nullptr;
        }
        const int32_t last = function->cParams - 1;
        return &function->lprgelemdescParam[argument < last ? argument : last];
    }
    return variable != nullptr && declaredCount > 0 ? &variable->elemdescVar : nullptr;
}

void BoundMember::Release() {
    if (owner != nullptr) {
        if (function != nullptr) {
            owner->ReleaseFuncDesc(function);
        }
        if (variable != nullptr) {
            owner->ReleaseVarDesc(variable);
        }
        owner->Release();
    }
    owner = nullptr;
    function = nullptr;
    variable = nullptr;
}

int32_t BindMember(IDispatch *dispatch, LCID locale, const wchar_t *name, InvokeKind kind,
                   BoundMember *member) {
    ITypeComp *typeComp = TypeCompOf(dispatch, locale);
    if (typeComp == nullptr) {
        return BindByDispatch(dispatch, locale, name, kind, member);
    }
    // Bind takes a non-const name; it only reads it.
    auto *bindName = const_cast<LPOLESTR>(name);
    const ULONG hash = LHashValOfNameSys(SYS_WIN32, locale, name);
    const KindList kinds = KindsFor(kind);
    ITypeInfo *owner = nullptr;
    DESCKIND found = DESCKIND_NONE;
    BINDPTR binding{};
    for (int i = 0; i < kinds.count; ++i) {
        owner = nullptr;
        found = DESCKIND_NONE;
        binding.lpfuncdesc = nullptr;
        const HRESULT bound =
            typeComp->Bind(bindName, hash, kinds.kinds[i], &owner, &found, &binding);
        if (SUCCEEDED(bound) && found != DESCKIND_NONE) {
            break;
        }
        ReleaseBinding(owner, SUCCEEDED(bound) ? found : DESCKIND_NONE, binding);
        owner = nullptr;
        found = DESCKIND_NONE;
    }
    typeComp->Release();

    switch (found) {
    case DESCKIND_FUNCDESC:
        member->owner = owner;
        member->function = binding.lpfuncdesc;
        member->id = member->function->memid;
        member->flags = static_cast<WORD>(member->function->invkind);
        member->declaredCount = member->function->cParams;
        member->takesVariableArguments =
            member->function->cParams >= 1 && member->function->cParamsOpt == -1;
        return kAutomationSucceeded;
    case DESCKIND_VARDESC:
    case DESCKIND_IMPLICITAPPOBJ:
        member->owner = owner;
        member->variable = binding.lpvardesc;
        DescribeVariable(kind, member);
        return kAutomationSucceeded;
    default:
        ReleaseBinding(owner, found, binding);
        return kAutomationNameNotBound;
    }
}
