// New instances of both regular-expression components and one call by name through IDispatch,
// shared by the differential test and the benchmark.
#pragma once

#include <windows.h>

#include <oaidl.h>

namespace RegExpTest {

// New instances, owned by the caller; null when the component cannot be made.
IDispatch *NewPlatformRegExp();
IDispatch *NewOwnRegExp();

// Invokes the member named name as a script host does (names through GetIDsOfNames, args in
// DISPPARAMS order: last argument first); the exception information is dropped.
HRESULT CallByName(IDispatch *object, const wchar_t *name, WORD flags, VARIANT *args, UINT count,
                   VARIANT *result);

} // namespace RegExpTest
