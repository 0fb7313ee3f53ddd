// Runtime arrays as one-dimensional SAFEARRAYs, and 1-based element indexes into SAFEARRAYs.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <cstdint>

// Fills out (empty on entry) with a SAFEARRAY (lower bound 1) of the elements of the runtime
// array block (a byte set when elementType is the byte-set type). False when the element type
// has no SAFEARRAY form or the array cannot be made.
bool RuntimeArrayToVariant(uint32_t elementType, const void *block, VARIANT *out);
// The array a VARIANT holds directly or by reference, or null.
SAFEARRAY *ArrayOf(const VARIANT *value);
// Subscripts (one per dimension, as SafeArrayGetElement takes them) of the 1-based index
// counted over all dimensions with the first varying fastest. False outside the array.
bool ElementSubscripts(SAFEARRAY *array, int32_t index, LONG *subscripts);
// Stores value, changed to the array's element type, at the subscripts. False when the
// element type has no storable form or the change fails.
bool StoreElement(SAFEARRAY *array, const LONG *subscripts, VARIANT *value);
// Fetches the element at the subscripts into out (empty on entry). False when the element
// type has no readable form.
bool FetchElement(SAFEARRAY *array, const LONG *subscripts, VARIANT *out);
