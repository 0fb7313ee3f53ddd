// The errors the component raises: the scripting runtime's error numbers and texts, returned
// as HRESULTs of the facility FACILITY_CONTROL (0x800A0000 | number) with their description.
#pragma once

#include <windows.h>

#include "regex/engine/regex_engine.h"

namespace RegExpComponent {

struct ComponentError {
    HRESULT code;
    const wchar_t *description;
};

inline constexpr HRESULT ScriptError(unsigned number) {
    return static_cast<HRESULT>(0x800A0000u | number);
}

inline constexpr ComponentError kInvalidArgument = {ScriptError(5),
                                                    L"Invalid procedure call or argument"};
inline constexpr ComponentError kTypeMismatch = {ScriptError(13), L"Type mismatch"};
inline constexpr ComponentError kOutOfMemory = {ScriptError(7), L"Out of memory"};
// The back-reference matcher gave up on a pattern whose backtracking would not end in
// reasonable time; the scripting runtime reports its own exhaustion so.
inline constexpr ComponentError kOutOfStackSpace = {ScriptError(28), L"Out of stack space"};

// The error of a refused pattern.
ComponentError CompileFailure(RegexEngine::CompileError error);

// The source every error of the component names.
inline constexpr wchar_t kErrorSource[] = L"Zorvin.RegExp";

} // namespace RegExpComponent
