// The track list of a play page through the platform's "VBScript.RegExp", called by name
// (late-bound IDispatch) with the downloader's pattern and its settings: ignore case,
// multi-line, global. The component is created for each page, as the downloader's click does.
#include <windows.h>

#include <oleauto.h>

#include <string>

#include "bench/minimal_downloader/track_links.h"

namespace {

// Releases a dispatch interface when the scope ends.
struct Dispatch {
    IDispatch *object = nullptr;
    ~Dispatch() {
        if (object != nullptr) {
            object->Release();
        }
    }
};

// Calls member name of object with flags and up to one argument; the result lands in result.
bool Call(IDispatch *object, const wchar_t *name, WORD flags, VARIANT *argument, VARIANT &result) {
    DISPID member = 0;
    auto *names = const_cast<LPOLESTR>(name);
    if (object == nullptr ||
        FAILED(object->GetIDsOfNames(IID_NULL, &names, 1, LOCALE_USER_DEFAULT, &member))) {
        return false;
    }
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS parameters{argument, nullptr, argument != nullptr ? 1u : 0u, 0};
    if (flags == DISPATCH_PROPERTYPUT) {
        parameters.rgdispidNamedArgs = &named;
        parameters.cNamedArgs = 1;
    }
    VariantInit(&result);
    return SUCCEEDED(object->Invoke(member, IID_NULL, LOCALE_USER_DEFAULT, flags, &parameters,
                                    &result, nullptr, nullptr));
}

bool Put(IDispatch *object, const wchar_t *name, VARIANT value) {
    VARIANT ignored;
    const bool done = Call(object, name, DISPATCH_PROPERTYPUT, &value, ignored);
    VariantClear(&ignored);
    return done;
}

// A member that yields an object, called with an optional index.
bool GetObject(IDispatch *object, const wchar_t *name, VARIANT *index, Dispatch &out) {
    VARIANT result;
    if (!Call(object, name, DISPATCH_METHOD | DISPATCH_PROPERTYGET, index, result) ||
        result.vt != VT_DISPATCH) {
        VariantClear(&result);
        return false;
    }
    out.object = result.pdispVal;
    return true;
}

// Sub-match group (0-based) of a match, as code page text.
std::string SubMatch(IDispatch *match, long group) {
    Dispatch subMatches;
    VARIANT index;
    index.vt = VT_I4;
    index.lVal = group;
    VARIANT value;
    if (!GetObject(match, L"SubMatches", nullptr, subMatches) ||
        !Call(subMatches.object, L"Item", DISPATCH_METHOD | DISPATCH_PROPERTYGET, &index, value)) {
        return {};
    }
    std::string text;
    if (value.vt == VT_BSTR && value.bstrVal != nullptr) {
        text = AnsiText(value.bstrVal, static_cast<int>(SysStringLen(value.bstrVal)));
    }
    VariantClear(&value);
    return text;
}

// The component with the downloader's pattern and settings, or null.
IDispatch *CreateTrackListRegex() {
    CLSID regexClass;
    IDispatch *regex = nullptr;
    if (FAILED(CLSIDFromProgID(L"VBScript.RegExp", &regexClass)) ||
        FAILED(CoCreateInstance(regexClass, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                reinterpret_cast<void **>(&regex)))) {
        return nullptr;
    }
    VARIANT on;
    on.vt = VT_BOOL;
    on.boolVal = VARIANT_TRUE;
    VARIANT pattern;
    pattern.vt = VT_BSTR;
    pattern.bstrVal = SysAllocString(kTrackListPattern);
    const bool ready = Put(regex, L"IgnoreCase", on) && Put(regex, L"Multiline", on) &&
                       Put(regex, L"Global", on) && Put(regex, L"Pattern", pattern);
    VariantClear(&pattern);
    if (!ready) {
        regex->Release();
        return nullptr;
    }
    return regex;
}

} // namespace

std::string TrackLinesOfPage(const std::string &page) {
    Dispatch regex{CreateTrackListRegex()};
    if (regex.object == nullptr) {
        return {};
    }
    // The page crosses to the component through the ANSI code page, as the downloader's does.
    const int length =
        MultiByteToWideChar(CP_ACP, 0, page.data(), static_cast<int>(page.size()), nullptr, 0);
    VARIANT subject;
    subject.vt = VT_BSTR;
    subject.bstrVal = SysAllocStringLen(nullptr, static_cast<UINT>(length));
    MultiByteToWideChar(CP_ACP, 0, page.data(), static_cast<int>(page.size()), subject.bstrVal,
                        length);
    Dispatch matches;
    const bool executed = GetObject(regex.object, L"Execute", &subject, matches);
    VariantClear(&subject);
    VARIANT count;
    if (!executed || !Call(matches.object, L"Count", DISPATCH_PROPERTYGET, nullptr, count)) {
        return {};
    }
    VariantChangeType(&count, &count, 0, VT_I4);
    std::string lines;
    // Every match is composed and the last one kept, as the downloader overwrites its output box
    // with each match in turn.
    for (long i = 0; i < count.lVal; ++i) {
        VARIANT index;
        index.vt = VT_I4;
        index.lVal = i;
        Dispatch match;
        if (!GetObject(matches.object, L"Item", &index, match)) {
            continue;
        }
        lines = ComposeTrackLines(SubMatch(match.object, 0), SubMatch(match.object, 1));
    }
    return lines;
}
