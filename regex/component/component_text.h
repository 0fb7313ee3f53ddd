// Between the component's BSTRs and the engine's UTF-16 strings: the same 16-bit units, a BSTR
// counted by its length prefix (so an embedded NUL is kept), null being the empty string.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <new>
#include <string>
#include <string_view>

namespace RegExpComponent {

inline std::u16string_view BstrView(BSTR text) {
    if (text == nullptr) {
        return {};
    }
    return {reinterpret_cast<const char16_t *>(text), SysStringLen(text)};
}

// A new BSTR holding text; throws std::bad_alloc when the system has no room for it.
inline BSTR NewBstr(std::u16string_view text) {
    BSTR copy = SysAllocStringLen(reinterpret_cast<const OLECHAR *>(text.data()),
                                  static_cast<UINT>(text.size()));
    if (copy == nullptr) {
        throw std::bad_alloc();
    }
    return copy;
}

} // namespace RegExpComponent
