// CharacterMatchFinder: the matches of a sought text that begin at a character start of a code
// page 936 text, in increasing order, as the character-aware commands walk them.
#pragma once

#include <cstdint>

#include "values/substring_searcher.h"

class CharacterMatchFinder {
public:
    // text is the whole NUL-terminated text; matches lie wholly inside text[0, end).
    CharacterMatchFinder(const uint8_t *text, uint32_t end, const uint8_t *sought,
                         uint32_t soughtLength, bool foldCase);

    // The first match at or after from, where from is a character start (the walk's start or a
    // position the walk reached), or -1. A lead byte directly before the terminating NUL ends
    // the walk: no match begins there. Calls must not decrease from.
    int64_t Next(uint32_t from);

private:
    const uint8_t *text_;
    SubstringSearcher searcher_;
    // A character start at or before every position still to be examined.
    uint32_t knownStart_ = 0;
};
