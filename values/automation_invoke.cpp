// AutomationInvoke: bind by type information, build the DISPPARAMS, invoke, write back
// by-reference arguments and convert the result.
#include "values/automation_invoke.h"

#include <cstring>

#include "runtime/heap.h"
#include "values/automation_parameter_type.h"
#include "values/automation_status.h"
#include "values/automation_text.h"
#include "values/automation_type_codes.h"
#include "values/com_object.h"
#include "values/variant_conversion.h"

namespace {

constexpr int32_t kLeadingArguments = 2; // the object and the member name

// The argument and shadow VARIANTs of one call. Arguments stand in reverse order, as
// DISPPARAMS wants them; the shadow of an argument holds the value a by-reference argument
// points at. A lent argument shares its string with the program's Variant and is not cleared.
class CallArguments {
public:
    explicit CallArguments(int32_t count) : count_(count) {
        const uint32_t slots = static_cast<uint32_t>(count > 0 ? count : 1);
        arguments_ = static_cast<VARIANT *>(AllocateMemory(slots * sizeof(VARIANT)));
        shadows_ = static_cast<VARIANT *>(AllocateMemory(slots * sizeof(VARIANT)));
        lent_ = static_cast<bool *>(AllocateMemory(slots * sizeof(bool)));
        std::memset(arguments_, 0, slots * sizeof(VARIANT));
        std::memset(shadows_, 0, slots * sizeof(VARIANT));
        std::memset(lent_, 0, slots * sizeof(bool));
    }
    ~CallArguments() {
        for (int32_t i = 0; i < count_; ++i) {
            if (!lent_[i]) {
                ClearArgumentVariant(&arguments_[i]);
            }
            ClearArgumentVariant(&shadows_[i]);
        }
        FreeMemory(arguments_);
        FreeMemory(shadows_);
        FreeMemory(lent_);
    }

    // Passes the program's text VARIANT itself as the by-value argument index. A by-value
    // argument belongs to the caller, who frees it after the call; the callee may read it but
    // neither change nor free it. So a copy, which for a page-sized subject doubles what the
    // call holds, is not needed.
    void Lend(int32_t index, const VARIANT &text) {
        *Argument(index) = text;
        lent_[count_ - 1 - index] = true;
    }
    CallArguments(const CallArguments &) = delete;
    CallArguments &operator=(const CallArguments &) = delete;

    // The VARIANT of the 0-based argument index in program order.
    VARIANT *Argument(int32_t index) { return &arguments_[count_ - 1 - index]; }
    VARIANT *Shadow(int32_t index) { return &shadows_[count_ - 1 - index]; }
    VARIANT *Reversed() { return arguments_; }

private:
    int32_t count_;
    VARIANT *arguments_;
    VARIANT *shadows_;
    bool *lent_;
};

// The VARIANT of a Variant value that holds a string, or null.
const VARIANT *TextVariantOf(const RuntimeValue &value) {
    if (value.type != AutomationTypeCode::kVariant) {
        return nullptr;
    }
    const auto *variant = reinterpret_cast<const VARIANT *>(static_cast<uintptr_t>(value.bits));
    return variant != nullptr && V_VT(variant) == VT_BSTR ? variant : nullptr;
}

void PassParameterNotFound(VARIANT *argument) {
    V_VT(argument) = VT_ERROR;
    V_ERROR(argument) = DISP_E_PARAMNOTFOUND;
}

bool HasReferenceForm(VARTYPE type) {
    switch (type) {
    case VT_I1:
    case VT_UI1:
    case VT_I2:
    case VT_UI2:
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_R4:
    case VT_R8:
    case VT_CY:
    case VT_DATE:
    case VT_BSTR:
    case VT_DISPATCH:
    case VT_UNKNOWN:
    case VT_ERROR:
    case VT_BOOL:
    case VT_DECIMAL:
        return true;
    default:
        return false;
    }
}

// Turns a converted argument into a by-reference one pointing at its shadow, when the
// declared type allows. Returns true when the argument now travels VT_BYREF.
bool PassByReference(VARTYPE declared, VARIANT *argument, VARIANT *shadow) {
    if (V_VT(argument) == VT_ERROR) {
        return false;
    }
    if ((declared & VT_ARRAY) != 0) {
        if ((V_VT(argument) & VT_ARRAY) == 0) {
            return false;
        }
        *shadow = *argument;
        std::memset(argument, 0, sizeof(VARIANT));
        V_VT(argument) = static_cast<VARTYPE>(V_VT(shadow) | VT_BYREF);
        V_ARRAYREF(argument) = &V_ARRAY(shadow);
        return true;
    }
    if (declared == VT_VARIANT) {
        *shadow = *argument;
        std::memset(argument, 0, sizeof(VARIANT));
        V_VT(argument) = VT_BYREF | VT_VARIANT;
        V_VARIANTREF(argument) = shadow;
        return true;
    }
    if (declared == VT_RECORD || !HasReferenceForm(declared) ||
        FAILED(VariantChangeType(shadow, argument, 0, declared))) {
        return false;
    }
    ClearArgumentVariant(argument);
    V_VT(argument) = static_cast<VARTYPE>(declared | VT_BYREF);
    // Every by-reference member of the VARIANT union points at the shadow's data; a DECIMAL
    // fills the whole VARIANT.
    if (declared == VT_DECIMAL) {
        V_DECIMALREF(argument) = &V_DECIMAL(shadow);
    } else {
        V_BYREF(argument) = &V_UI1(shadow);
    }
    return true;
}

struct InvokeResult {
    int32_t status;
    uint64_t value;
};

InvokeResult InvokeMember(IDispatch *dispatch, LCID locale, const wchar_t *name,
                          const ArgumentRecord *callArgs, int32_t callCount, InvokeKind kind,
                          uint32_t resultType) {
    BoundMember member;
    const int32_t bound = BindMember(dispatch, locale, name, kind, &member);
    if (bound != kAutomationSucceeded) {
        return {bound, 0};
    }
    if (callCount > member.declaredCount && !member.takesVariableArguments) {
        member.Release();
        return {kAutomationTooManyArguments, 0};
    }

    InvokeResult outcome{kAutomationSucceeded, 0};
    {
        CallArguments arguments(callCount);
        bool *passedByReference = static_cast<bool *>(AllocateMemory(callCount + 1));
        std::memset(passedByReference, 0, callCount + 1);
        for (int32_t i = 0; i < callCount && outcome.status == kAutomationSucceeded; ++i) {
            VARIANT *argument = arguments.Argument(i);
            const ELEMDESC *parameter = member.ParameterFor(i);
            const VARTYPE declared = parameter != nullptr
                                         ? ResolveParameterType(member.owner, &parameter->tdesc)
                                         : static_cast<VARTYPE>(VT_EMPTY);
            if (callArgs[i].type == 0) {
                PassParameterNotFound(argument);
                continue;
            }
            const RuntimeValue value = ReadArgumentValue(callArgs[i]);
            const VARIANT *text = TextVariantOf(value);
            if (text != nullptr && (declared & VT_BYREF) == 0) {
                arguments.Lend(i, *text);
                continue;
            }
            const VariantForm form = RuntimeValueToVariant(value, declared, argument);
            if (form != VariantForm::Made) {
                // A string the system cannot allocate fails the call as Invoke would fail it.
                outcome.status = form == VariantForm::None
                                     ? kAutomationArgumentWithoutVariantForm
                                     : AutomationStatusFromInvokeResult(E_OUTOFMEMORY);
                break;
            }
            if (V_VT(argument) == VT_EMPTY) {
                PassParameterNotFound(argument);
            }
            if ((declared & VT_BYREF) != 0) {
                passedByReference[i] = PassByReference(static_cast<VARTYPE>(declared & ~VT_BYREF),
                                                       argument, arguments.Shadow(i));
            }
        }

        if (outcome.status == kAutomationSucceeded) {
            DISPID putName = DISPID_PROPERTYPUT;
            DISPPARAMS parameters{arguments.Reversed(), nullptr, static_cast<UINT>(callCount), 0};
            if ((member.flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) != 0) {
                parameters.rgdispidNamedArgs = &putName;
                parameters.cNamedArgs = 1;
            }
            VARIANT returned;
            VariantInit(&returned);
            UINT argumentError = 0;
            const HRESULT invoked =
                dispatch->Invoke(member.id, IID_NULL, locale, member.flags, &parameters, &returned,
                                 nullptr, &argumentError);
            if (FAILED(invoked)) {
                outcome.status = AutomationStatusFromInvokeResult(invoked);
            } else {
                for (int32_t i = 0; i < callCount; ++i) {
                    const ELEMDESC *parameter = member.ParameterFor(i);
                    if (passedByReference[i] && parameter != nullptr &&
                        (parameter->paramdesc.wParamFlags & PARAMFLAG_FOUT) != 0 &&
                        IsReferenceArgument(callArgs[i])) {
                        WriteVariantToVariable(
                            arguments.Argument(i), ReadArgumentValue(callArgs[i]).type,
                            reinterpret_cast<void *>(static_cast<uintptr_t>(callArgs[i].low)));
                    }
                }
                if (resultType != 0 &&
                    !VariantToRuntimeValue(&returned, resultType, &outcome.value)) {
                    outcome.status = kAutomationResultNotConvertible;
                }
            }
            VariantClear(&returned);
        }
        FreeMemory(passedByReference);
    }
    member.Release();
    return outcome;
}

int32_t CountGivenArguments(int32_t count, const ArgumentRecord *args) {
    int32_t given = count - kLeadingArguments;
    while (given > 0 && args[kLeadingArguments + given - 1].type == 0) {
        --given;
    }
    return given > 0 ? given : 0;
}

} // namespace

int32_t AutomationInvoke(ArgumentRecord *result, int32_t count, const ArgumentRecord *args,
                         InvokeKind kind, uint32_t resultType) {
    InvokeResult outcome{kAutomationObjectEmpty, 0};
    const ComObject *target =
        count >= 1 ? reinterpret_cast<const ComObject *>(static_cast<uintptr_t>(args[0].low))
                   : nullptr;
    if (target != nullptr && target->object != nullptr) {
        IDispatch *dispatch = nullptr;
        if (FAILED(target->object->QueryInterface(IID_IDispatch,
                                                  reinterpret_cast<void **>(&dispatch))) ||
            dispatch == nullptr) {
            outcome.status = kAutomationNoDispatch;
        } else {
            const char *nameText =
                count >= 2 ? reinterpret_cast<const char *>(static_cast<uintptr_t>(args[1].low))
                           : nullptr;
            wchar_t *name = TextToWide(nameText);
            outcome = InvokeMember(dispatch, GetUserDefaultLCID(), name, args + kLeadingArguments,
                                   CountGivenArguments(count, args), kind, resultType);
            FreeMemory(name);
            dispatch->Release();
        }
    }
    SetAutomationStatus(outcome.status);
    if (outcome.status != kAutomationSucceeded) {
        outcome.value = resultType != 0 ? EmptyResultValue(resultType) : 0;
    }
    if (result != nullptr) {
        result->low = static_cast<uint32_t>(outcome.value);
        result->high = static_cast<uint32_t>(outcome.value >> 32);
    }
    return outcome.status;
}
