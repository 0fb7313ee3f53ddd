// What one Execute found, kept apart from the subject: the part of the subject its matches
// cover, copied once however many matches lie in it, and each match's capture slots. Match and
// group values are cut from that copy when asked, so that neither many matches nor one huge one
// hold more than one copy of the subject.
#pragma once

#include <cstdint>
#include <vector>

#include "regex/component/covered_text.h"

namespace RegExpComponent {

struct MatchList {
    CoveredText covered;
    // Per match, begin and end (in UTF-16 units from the subject's start) of the whole match,
    // then of each capturing group; -1 for a group that took no part in the match.
    uint32_t slotsPerMatch = 2;
    std::vector<int32_t> slots;

    size_t Count() const { return slots.size() / slotsPerMatch; }
    uint32_t GroupCount() const { return slotsPerMatch / 2 - 1; }
    // Group 0 is the whole match.
    int32_t Begin(size_t match, uint32_t group) const {
        return slots[match * slotsPerMatch + 2 * group];
    }
    int32_t End(size_t match, uint32_t group) const {
        return slots[match * slotsPerMatch + 2 * group + 1];
    }
    BSTR NewBstr(size_t match, uint32_t group) const {
        return covered.NewBstr(static_cast<size_t>(Begin(match, group)),
                               static_cast<size_t>(End(match, group)));
    }
};

} // namespace RegExpComponent
