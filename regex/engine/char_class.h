// CharClass: a set of UTF-16 units as sorted, disjoint ranges, with a bitmap for the first 256
// units (the common case of HTML and script text) and a negation flag.
#pragma once

#include <cstdint>
#include <vector>

namespace RegexEngine {

class CharClass {
public:
    void AddRange(char16_t first, char16_t last);
    void AddClass(const CharClass &other); // other's negation is applied to its ranges
    void AddDigits();
    void AddWordUnits();
    void AddWhiteSpace();
    void Negate() { negated_ = !negated_; }
    // Adds every case partner of every member (IgnoreCase); call before Seal.
    void CloseUnderFolding();
    // Sorts and merges the ranges and fills the bitmap; Contains needs a sealed class.
    void Seal();

    bool Contains(char16_t c) const {
        if (c < 256) {
            return ((low_[c >> 6] >> (c & 63)) & 1) != negated_;
        }
        return ContainsInRanges(c) != negated_;
    }
    bool negated() const { return negated_; }
    const std::vector<std::pair<char16_t, char16_t>> &ranges() const { return ranges_; }

private:
    bool ContainsInRanges(char16_t c) const;

    std::vector<std::pair<char16_t, char16_t>> ranges_; // inclusive, sorted after Seal
    uint64_t low_[4] = {};                              // members below 256, before negation
    bool negated_ = false;
};

} // namespace RegexEngine
