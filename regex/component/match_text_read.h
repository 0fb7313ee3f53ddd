// Reading a value of the component's match collection straight into a program text, for the
// program's regular-expression class. Free of <windows.h>, whose macros (FindText and the like)
// would rename the kernel commands its callers use.
#pragma once

#include <cstdint>

struct ComObject;

namespace RegExpComponent {

// The value of match (from 0) of the match collection a ComObject block holds, or of its group
// (from 1; 0 the whole match), as a new program text (code page 936) read straight from the
// collection, as a text conversion of the value read through automation would give it: null
// when it is empty or the group took no part in the match. False, with text unchanged, when the
// block holds no collection of this component's or match or group names none; the caller then
// reads through automation.
bool ReadMatchTextFrom(const ComObject *matches, int32_t match, int32_t group, char **text);

} // namespace RegExpComponent
