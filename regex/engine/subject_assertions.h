// The zero-width tests both matchers share: ^, $ (with and without Multiline), \b and \B.
#pragma once

#include "regex/engine/pattern_tree.h"

#include <string_view>

namespace RegexEngine {

inline bool IsWordUnit(char16_t c) {
    return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') ||
           c == u'_';
}

// Line breaks for ^ and $ with Multiline: line feed and carriage return.
inline bool IsLineBreak(char16_t c) {
    return c == u'\n' || c == u'\r';
}

inline bool AssertionHolds(AssertKind kind, std::u16string_view subject, size_t pos) {
    switch (kind) {
    case AssertKind::SubjectStart:
        return pos == 0;
    case AssertKind::LineStart:
        return pos == 0 || IsLineBreak(subject[pos - 1]);
    case AssertKind::SubjectEnd:
        return pos == subject.size();
    case AssertKind::LineEnd:
        return pos == subject.size() || IsLineBreak(subject[pos]);
    case AssertKind::WordBoundary:
    case AssertKind::NotWordBoundary: {
        bool before = pos > 0 && IsWordUnit(subject[pos - 1]);
        bool after = pos < subject.size() && IsWordUnit(subject[pos]);
        return (before != after) == (kind == AssertKind::WordBoundary);
    }
    }
    return false;
}

} // namespace RegexEngine
