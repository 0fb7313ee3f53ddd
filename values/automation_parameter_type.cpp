// Resolving declared parameter types through the member's type information.
#include "values/automation_parameter_type.h"

namespace {

// Aliases may refer to aliases; a type library with a cycle must not recurse forever.
constexpr int kMaximumAliasDepth = 16;

VARTYPE ResolveUserDefined(ITypeInfo *owner, HREFTYPE reference, int depth);

VARTYPE Resolve(ITypeInfo *owner, const TYPEDESC *description, int depth) {
    if (description == nullptr || depth > kMaximumAliasDepth) {
        return VT_UNKNOWN;
    }
    switch (description->vt) {
    case VT_INT:
        return VT_I4;
    case VT_UINT:
        return VT_UI4;
    case VT_PTR: {
        const TYPEDESC *target = description->lptdesc;
        const VARTYPE pointed = Resolve(owner, target, depth + 1);
        // A pointer to an interface is the interface reference itself, passed by value.
        if (target != nullptr && target->vt == VT_USERDEFINED &&
            (pointed == VT_UNKNOWN || pointed == VT_DISPATCH)) {
            return pointed;
        }
        return static_cast<VARTYPE>(pointed | VT_BYREF);
    }
    case VT_SAFEARRAY:
        return static_cast<VARTYPE>(Resolve(owner, description->lptdesc, depth + 1) | VT_ARRAY);
    case VT_CARRAY:
        if (description->lpadesc == nullptr) {
            return VT_UNKNOWN;
        }
        return static_cast<VARTYPE>(Resolve(owner, &description->lpadesc->tdescElem, depth + 1) |
                                    VT_ARRAY);
    case VT_USERDEFINED:
        return ResolveUserDefined(owner, description->hreftype, depth + 1);
    default:
        return description->vt;
    }
}

VARTYPE ResolveUserDefined(ITypeInfo *owner, HREFTYPE reference, int depth) {
    ITypeInfo *referenced = nullptr;
    if (owner == nullptr || FAILED(owner->GetRefTypeInfo(reference, &referenced))) {
        return VT_UNKNOWN;
    }
    VARTYPE resolved = VT_UNKNOWN;
    TYPEATTR *attributes = nullptr;
    if (SUCCEEDED(referenced->GetTypeAttr(&attributes))) {
        switch (attributes->typekind) {
        case TKIND_ENUM:
            resolved = VT_I4;
            break;
        case TKIND_DISPATCH:
            resolved = VT_DISPATCH;
            break;
        case TKIND_ALIAS:
            resolved = Resolve(referenced, &attributes->tdescAlias, depth);
            break;
        default:
            break;
        }
        referenced->ReleaseTypeAttr(attributes);
    }
    referenced->Release();
    return resolved;
}

} // namespace

VARTYPE ResolveParameterType(ITypeInfo *owner, const TYPEDESC *description) {
    return Resolve(owner, description, 0);
}
