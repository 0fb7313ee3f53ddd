// AutomationStatus kept in thread-local storage, and the mapping of Invoke failures to it.
#include "values/automation_status.h"

namespace {

thread_local int32_t t_automationStatus = kAutomationSucceeded;

} // namespace

int32_t GetAutomationStatus() {
    return t_automationStatus;
}

void SetAutomationStatus(int32_t status) {
    t_automationStatus = status;
}

int32_t AutomationStatusFromInvokeResult(HRESULT result) {
    switch (result) {
    case DISP_E_BADPARAMCOUNT:
        return kAutomationBadParamCount;
    case DISP_E_BADVARTYPE:
        return kAutomationBadVarType;
    case DISP_E_EXCEPTION:
        return kAutomationException;
    case DISP_E_MEMBERNOTFOUND:
        return kAutomationMemberNotFound;
    case DISP_E_NONAMEDARGS:
        return kAutomationNoNamedArgs;
    case DISP_E_OVERFLOW:
        return kAutomationOverflow;
    case DISP_E_PARAMNOTFOUND:
        return kAutomationParamNotFound;
    case DISP_E_TYPEMISMATCH:
        return kAutomationTypeMismatch;
    case DISP_E_PARAMNOTOPTIONAL:
        return kAutomationParamNotOptional;
    default:
        return kAutomationInvokeFailed;
    }
}
