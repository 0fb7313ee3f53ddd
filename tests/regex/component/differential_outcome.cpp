// Running a differential case through IDispatch and reading everything the component reports.
#include "tests/regex/component/differential_outcome.h"

#include "tests/regex/component/regexp_instances.h"

namespace RegExpTest {
namespace {

void PutText(IDispatch *object, const wchar_t *name, const std::wstring &text) {
    VARIANT value;
    V_VT(&value) = VT_BSTR;
    V_BSTR(&value) = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    CallByName(object, name, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
    VariantClear(&value);
}

void PutFlag(IDispatch *object, const wchar_t *name, bool flag) {
    VARIANT value;
    V_VT(&value) = VT_BOOL;
    V_BOOL(&value) = flag ? VARIANT_TRUE : VARIANT_FALSE;
    CallByName(object, name, DISPATCH_PROPERTYPUT, &value, 1, nullptr);
}

std::wstring TextOf(const VARIANT &value) {
    return V_VT(&value) == VT_BSTR ? std::wstring(V_BSTR(&value), SysStringLen(V_BSTR(&value)))
                                   : std::wstring();
}

// A property read as a VARIANT; with index, the indexed (default-member style) read.
HRESULT Read(IDispatch *object, const wchar_t *name, VARIANT *result, const LONG *index = nullptr) {
    VariantInit(result);
    VARIANT argument;
    V_VT(&argument) = VT_I4;
    V_I4(&argument) = index != nullptr ? *index : 0;
    return CallByName(object, name, DISPATCH_PROPERTYGET, index != nullptr ? &argument : nullptr,
                      index != nullptr ? 1 : 0, result);
}

LONG ReadLong(IDispatch *object, const wchar_t *name) {
    VARIANT value;
    Read(object, name, &value);
    VARIANT converted;
    VariantInit(&converted);
    const LONG number =
        SUCCEEDED(VariantChangeType(&converted, &value, 0, VT_I4)) ? V_I4(&converted) : -1;
    VariantClear(&value);
    return number;
}

MatchSeen ReadMatch(IDispatch *match) {
    MatchSeen seen;
    VARIANT value;
    Read(match, L"Value", &value);
    seen.value = TextOf(value);
    VariantClear(&value);
    seen.firstIndex = ReadLong(match, L"FirstIndex");
    seen.length = ReadLong(match, L"Length");
    VARIANT groups;
    if (SUCCEEDED(Read(match, L"SubMatches", &groups)) && V_VT(&groups) == VT_DISPATCH) {
        const LONG count = ReadLong(V_DISPATCH(&groups), L"Count");
        for (LONG i = 0; i < count; ++i) {
            VARIANT group;
            Read(V_DISPATCH(&groups), L"Item", &group, &i);
            seen.groups.push_back(V_VT(&group) == VT_EMPTY ? L"" : L"=" + TextOf(group));
            VariantClear(&group);
        }
    }
    VariantClear(&groups);
    return seen;
}

void Configure(IDispatch *component, const Case &one) {
    PutText(component, L"Pattern", one.pattern);
    PutFlag(component, L"Global", one.global);
    PutFlag(component, L"IgnoreCase", one.ignoreCase);
    PutFlag(component, L"Multiline", one.multiline);
}

// Replace of the case's subject and replacement; the result goes to replaced.
HRESULT CallReplace(IDispatch *component, const Case &one, std::wstring &replaced) {
    // DISPPARAMS hold the arguments last first: the replacement, then the subject.
    VARIANT arguments[2];
    V_VT(&arguments[0]) = VT_BSTR;
    V_BSTR(&arguments[0]) =
        SysAllocStringLen(one.replacement.data(), static_cast<UINT>(one.replacement.size()));
    V_VT(&arguments[1]) = VT_BSTR;
    V_BSTR(&arguments[1]) =
        SysAllocStringLen(one.subject.data(), static_cast<UINT>(one.subject.size()));
    VARIANT result;
    VariantInit(&result);
    const HRESULT called =
        CallByName(component, L"Replace", DISPATCH_METHOD, arguments, 2, &result);
    replaced = TextOf(result);
    VariantClear(&result);
    VariantClear(&arguments[0]);
    VariantClear(&arguments[1]);
    return called;
}

} // namespace

bool ReplaceFails(IDispatch *component, const Case &one) {
    Configure(component, one);
    std::wstring replaced;
    return FAILED(CallReplace(component, one, replaced));
}

Outcome RunCase(IDispatch *component, const Case &one) {
    Configure(component, one);
    Outcome outcome;
    VARIANT subject;
    V_VT(&subject) = VT_BSTR;
    V_BSTR(&subject) = SysAllocStringLen(one.subject.data(), static_cast<UINT>(one.subject.size()));
    VARIANT matches;
    VariantInit(&matches);
    outcome.executeFailed =
        FAILED(CallByName(component, L"Execute", DISPATCH_METHOD, &subject, 1, &matches)) ||
        V_VT(&matches) != VT_DISPATCH;
    if (!outcome.executeFailed) {
        const LONG count = ReadLong(V_DISPATCH(&matches), L"Count");
        for (LONG i = 0; i < count; ++i) {
            VARIANT match;
            Read(V_DISPATCH(&matches), L"Item", &match, &i);
            if (V_VT(&match) == VT_DISPATCH) {
                outcome.matches.push_back(ReadMatch(V_DISPATCH(&match)));
            }
            VariantClear(&match);
        }
    }
    VariantClear(&matches);
    VariantClear(&subject);
    outcome.replaceFailed = FAILED(CallReplace(component, one, outcome.replaced));
    return outcome;
}

std::wstring Describe(const Outcome &outcome) {
    if (outcome.executeFailed) {
        return L"Execute failed";
    }
    std::wstring line = L"Count " + std::to_wstring(outcome.matches.size());
    for (const MatchSeen &match : outcome.matches) {
        line += L" [" + match.value + L"@" + std::to_wstring(match.firstIndex) + L"+" +
                std::to_wstring(match.length);
        for (const std::wstring &group : match.groups) {
            line += L" (" + group + L")";
        }
        line += L"]";
    }
    line += outcome.replaceFailed ? L" Replace failed" : L" Replace " + outcome.replaced;
    return line;
}

bool HasEmptyMatch(const Outcome &outcome) {
    for (const MatchSeen &match : outcome.matches) {
        if (match.length == 0) {
            return true;
        }
    }
    return false;
}

int KnownDeviation(const Case &one, const Outcome &platform, const Outcome &own,
                   const Reruns &again) {
    for (size_t i = 0; i < kPlatformDeviationCount; ++i) {
        if (kPlatformDeviations[i].explains(one, platform, own, again)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

} // namespace RegExpTest
