// CoveredText: the part of a subject that one search's matches cover, copied once so that the
// match objects can outlive the caller's string. Units below 0x100 (markup, Latin text) are kept
// one byte each; a part holding any other unit keeps all of its units at two bytes. Values are
// cut from it when asked.
#pragma once

#include <windows.h>

#include <oleauto.h>

#include <cstdint>
#include <string>
#include <string_view>

namespace RegExpComponent {

class CoveredText {
public:
    CoveredText() = default;
    // The subject's units [from, to).
    CoveredText(std::u16string_view subject, size_t from, size_t to);

    // A new BSTR of the subject's units [begin, end), positions in the whole subject that lie
    // inside the covered part. Throws std::bad_alloc when the system has no room for it.
    BSTR NewBstr(size_t begin, size_t end) const;
    // A new program text (code page 936, runtime heap) of the subject's units [begin, end) up to
    // the first NUL among them, as a BSTR of them would convert; null when that is empty.
    char *NewProgramText(size_t begin, size_t end) const;

private:
    size_t from_ = 0;
    std::string narrow_;  // the units, when every one is below 0x100
    std::u16string wide_; // otherwise
    bool isNarrow_ = true;
};

} // namespace RegExpComponent
