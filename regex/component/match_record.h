// What one match found, kept apart from the subject so that a match collection holds only the
// matched texts however large the subject was.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace RegExpComponent {

struct MatchRecord {
    std::u16string value;
    int32_t firstIndex = 0; // in UTF-16 units from the subject's start
    // One entry per capturing group; empty for a group that took no part in the match.
    std::vector<std::optional<std::u16string>> groups;
};

using MatchList = std::vector<MatchRecord>;

} // namespace RegExpComponent
