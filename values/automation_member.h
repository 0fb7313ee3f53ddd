// Binding a member name through an object's type information, as a by-name call needs it.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>

enum class InvokeKind { Get, Put, Method };

// What a name bound to: the member id, the invocation flags and the declared parameters. It
// holds the bound function or variable description and its type info until Release.
struct BoundMember {
    MEMBERID id = DISPID_UNKNOWN;
    WORD flags = 0;
    int32_t declaredCount = 0;
    // The function takes a variable argument list: extra arguments take the last parameter's
    // description.
    bool takesVariableArguments = false;
    ITypeInfo *owner = nullptr;
    FUNCDESC *function = nullptr;
    VARDESC *variable = nullptr;

    // The description of the parameter that the 0-based argument index binds to.
    const ELEMDESC *ParameterFor(int32_t argument) const;
    void Release();
};

// Binds name on dispatch for kind; returns kAutomationSucceeded or the failing status. On
// failure member holds nothing to release.
int32_t BindMember(IDispatch *dispatch, LCID locale, const wchar_t *name, InvokeKind kind,
                   BoundMember *member);
