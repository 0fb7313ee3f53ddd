// AutomationStatus: the per-thread outcome of the last by-name call on an automation object.
#pragma once

#include <windows.h>

#include <cstdint>

enum AutomationStatusCode : int32_t {
    kAutomationSucceeded = 0,
    kAutomationObjectEmpty = -1,
    kAutomationNoDispatch = -2,
    kAutomationNameNotBound = -3,
    kAutomationNoTypeInformation = -4,
    kAutomationTooManyArguments = -5,
    kAutomationArgumentWithoutVariantForm = -7,
    kAutomationResultNotConvertible = -8,
    kAutomationBadParamCount = -9,
    kAutomationBadVarType = -10,
    kAutomationException = -11,
    kAutomationMemberNotFound = -12,
    kAutomationNoNamedArgs = -13,
    kAutomationOverflow = -14,
    kAutomationParamNotFound = -15,
    kAutomationTypeMismatch = -16,
    kAutomationParamNotOptional = -17,
    kAutomationInvokeFailed = -18,
};

int32_t GetAutomationStatus();
void SetAutomationStatus(int32_t status);
// The status for a failing HRESULT returned by IDispatch::Invoke.
int32_t AutomationStatusFromInvokeResult(HRESULT result);
