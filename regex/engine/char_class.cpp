// Building, folding and testing character classes.
#include "regex/engine/char_class.h"

#include "regex/engine/case_folding.h"

#include <algorithm>
#include <bitset>
#include <memory>

namespace RegexEngine {

void CharClass::AddRange(char16_t first, char16_t last) {
    ranges_.emplace_back(first, last);
}

void CharClass::AddClass(const CharClass &other) {
    if (!other.negated_) {
        ranges_.insert(ranges_.end(), other.ranges_.begin(), other.ranges_.end());
        return;
    }
    // The complement of other's sorted, merged ranges.
    uint32_t next = 0;
    for (const auto &[first, last] : other.ranges_) {
        if (first > next) {
            AddRange(static_cast<char16_t>(next), static_cast<char16_t>(first - 1));
        }
        next = static_cast<uint32_t>(last) + 1;
    }
    if (next <= 0xFFFF) {
        AddRange(static_cast<char16_t>(next), 0xFFFF);
    }
}

void CharClass::AddDigits() {
    AddRange(u'0', u'9');
}

void CharClass::AddWordUnits() {
    AddRange(u'0', u'9');
    AddRange(u'A', u'Z');
    AddRange(u'_', u'_');
    AddRange(u'a', u'z');
}

// The documented set of \s: space, form feed, line feed, carriage return, tab, vertical tab.
void CharClass::AddWhiteSpace() {
    AddRange(u'\t', u'\r');
    AddRange(u' ', u' ');
}

bool CharClass::ContainsInRanges(char16_t c) const {
    auto after =
        std::upper_bound(ranges_.begin(), ranges_.end(), c,
                         [](char16_t unit, const auto &range) { return unit < range.first; });
    return after != ranges_.begin() && c <= std::prev(after)->second;
}

void CharClass::CloseUnderFolding() {
    Seal();
    auto canonicalPresent = std::make_unique<std::bitset<0x10000>>();
    ForEachFoldingUnit([&](char16_t c) {
        if (ContainsInRanges(c)) {
            canonicalPresent->set(Canonicalize(c));
        }
    });
    ForEachFoldingUnit([&](char16_t c) {
        if (canonicalPresent->test(Canonicalize(c))) {
            AddRange(c, c);
        }
    });
    Seal();
}

void CharClass::Seal() {
    std::sort(ranges_.begin(), ranges_.end());
    std::vector<std::pair<char16_t, char16_t>> merged;
    for (const auto &range : ranges_) {
        if (!merged.empty() &&
            static_cast<uint32_t>(range.first) <= static_cast<uint32_t>(merged.back().second) + 1) {
            merged.back().second = std::max(merged.back().second, range.second);
        } else {
            merged.push_back(range);
        }
    }
    ranges_ = std::move(merged);
    std::fill(std::begin(low_), std::end(low_), 0);
    for (const auto &[first, last] : ranges_) {
        for (uint32_t c = first; c <= last && c < 256; ++c) {
            low_[c >> 6] |= uint64_t{1} << (c & 63);
        }
    }
}

} // namespace RegexEngine
