// CharacterMatchFinder: byte-level matches filtered to character starts (StartsCharacter).
// Every byte is looked at backwards at most once, because the known start only moves forward.
#include "values/character_match_finder.h"

#include "values/character_scan.h"
#include "values/cp936_text.h"

CharacterMatchFinder::CharacterMatchFinder(const uint8_t *text, uint32_t end, const uint8_t *sought,
                                           uint32_t soughtLength, bool foldCase)
    : text_(text), searcher_(text, end, sought, soughtLength, foldCase) {}

int64_t CharacterMatchFinder::Next(uint32_t from) {
    if (from > knownStart_) {
        knownStart_ = from;
    }
    uint32_t at = from;
    for (;;) {
        const int64_t found = searcher_.Next(at);
        if (found < 0) {
            return -1;
        }
        const auto candidate = static_cast<uint32_t>(found);
        if (StartsCharacter(text_, knownStart_, candidate)) {
            if (IsLeadByte(text_[candidate]) && text_[candidate + 1] == 0) {
                return -1;
            }
            knownStart_ = candidate;
            return candidate;
        }
        // The candidate is a trail byte, so the byte behind it starts a character.
        knownStart_ = candidate + 1;
        at = candidate + 1;
    }
}
