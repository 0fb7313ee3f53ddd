// The component's dual interfaces as C++ sees them: the same methods in the same vtable order as
// regexp_component.idl declares them, so that the type library's ITypeInfo::Invoke reaches them.
#pragma once

#include <windows.h>

#include <oaidl.h>

// {34334a66-3b16-4ab6-8432-7fbe37eec9f5}
inline constexpr IID kSubMatchesInterfaceId = {
    0x34334a66, 0x3b16, 0x4ab6, {0x84, 0x32, 0x7f, 0xbe, 0x37, 0xee, 0xc9, 0xf5}};
// {946a1dfd-698c-4adb-b186-6c8c2ef7cf9a}
inline constexpr IID kMatchInterfaceId = {
    0x946a1dfd, 0x698c, 0x4adb, {0xb1, 0x86, 0x6c, 0x8c, 0x2e, 0xf7, 0xcf, 0x9a}};
// {fd11c45a-4b64-4f2e-882b-536d11d9f68a}
inline constexpr IID kMatchCollectionInterfaceId = {
    0xfd11c45a, 0x4b64, 0x4f2e, {0x88, 0x2b, 0x53, 0x6d, 0x11, 0xd9, 0xf6, 0x8a}};
// {29b14eba-b60a-4958-a0fd-5495a54a50e5}
inline constexpr IID kRegExpInterfaceId = {
    0x29b14eba, 0xb60a, 0x4958, {0xa0, 0xfd, 0x54, 0x95, 0xa5, 0x4a, 0x50, 0xe5}};

class IZvSubMatches : public IDispatch {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Item(LONG index, VARIANT *subMatch) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG *count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown **enumerator) = 0;
};

class IZvMatch : public IDispatch {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Value(BSTR *value) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_FirstIndex(LONG *firstIndex) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Length(LONG *length) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_SubMatches(IDispatch **subMatches) = 0;
};

class IZvMatchCollection : public IDispatch {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Item(LONG index, IDispatch **match) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Count(LONG *count) = 0;
    virtual HRESULT STDMETHODCALLTYPE get__NewEnum(IUnknown **enumerator) = 0;
};

class IZvRegExp : public IDispatch {
public:
    virtual HRESULT STDMETHODCALLTYPE get_Pattern(BSTR *pattern) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Pattern(BSTR pattern) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_IgnoreCase(VARIANT_BOOL *ignoreCase) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_IgnoreCase(VARIANT_BOOL ignoreCase) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Global(VARIANT_BOOL *global) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Global(VARIANT_BOOL global) = 0;
    virtual HRESULT STDMETHODCALLTYPE get_Multiline(VARIANT_BOOL *multiline) = 0;
    virtual HRESULT STDMETHODCALLTYPE put_Multiline(VARIANT_BOOL multiline) = 0;
    virtual HRESULT STDMETHODCALLTYPE Execute(BSTR sourceString, IDispatch **matches) = 0;
    virtual HRESULT STDMETHODCALLTYPE Test(BSTR sourceString, VARIANT_BOOL *found) = 0;
    virtual HRESULT STDMETHODCALLTYPE Replace(BSTR sourceString, VARIANT replaceVar,
                                              BSTR *replaced) = 0;
};
