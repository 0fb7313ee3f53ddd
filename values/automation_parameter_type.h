// The VARTYPE a member's parameter is declared with, resolved from its type description.
#pragma once

#include <windows.h>

#include <oaidl.h>

// VT_INT and VT_UINT become VT_I4 and VT_UI4, a pointer the pointed-to type with VT_BYREF, a
// safe or C array its element type with VT_ARRAY, and a user-defined type is looked up in
// owner: an enumeration is VT_I4, a dispatch interface VT_DISPATCH, an alias its aliased type,
// anything else VT_UNKNOWN.
VARTYPE ResolveParameterType(ITypeInfo *owner, const TYPEDESC *description);
