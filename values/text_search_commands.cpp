// FindText and FindTextBackward: character-aware searches returning 1-based positions.
#include <cstring>

#include "values/character_match_finder.h"
#include "values/command_arguments.h"
#include "values/cp936_text.h"
#include "values/kernel_commands.h"

namespace {

constexpr int32_t kNotFound = -1;
// Only this value of the ignore-case argument folds letter case.
constexpr uint32_t kIgnoreCase = 1;

// The 0-based starting offset b = max(start - 1, 0) of a given start.
uint32_t StartOffset(int32_t start) {
    return start > 1 ? static_cast<uint32_t>(start) - 1 : 0;
}

} // namespace

void FindText(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const auto *text = reinterpret_cast<const uint8_t *>(in.TextAt(0));
    const auto *sought = reinterpret_cast<const uint8_t *>(in.TextAt(1));
    const auto start = in.OptionalIntegerAt(2);
    const bool foldCase = in.At(3).low == kIgnoreCase;
    const auto length = static_cast<uint32_t>(std::strlen(reinterpret_cast<const char *>(text)));
    const uint32_t soughtLength =
        static_cast<uint32_t>(std::strlen(reinterpret_cast<const char *>(sought)));
    const uint32_t from = start ? StartOffset(*start) : 0;
    if (from >= length) {
        SetIntegerResult(result, kNotFound);
        return;
    }
    if (soughtLength == 0) {
        SetIntegerResult(result, 1);
        return;
    }
    CharacterMatchFinder finder(text, length, sought, soughtLength, foldCase);
    const int64_t found = finder.Next(from);
    SetIntegerResult(result, found < 0 ? kNotFound : static_cast<int32_t>(found + 1));
}

void FindTextBackward(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const auto *text = reinterpret_cast<const uint8_t *>(in.TextAt(0));
    const auto *sought = reinterpret_cast<const uint8_t *>(in.TextAt(1));
    const auto start = in.OptionalIntegerAt(2);
    const bool foldCase = in.At(3).low == kIgnoreCase;
    const auto length = static_cast<uint32_t>(std::strlen(reinterpret_cast<const char *>(text)));
    const uint32_t soughtLength =
        static_cast<uint32_t>(std::strlen(reinterpret_cast<const char *>(sought)));
    uint32_t regionEnd = start ? StartOffset(*start) : length;
    if (regionEnd > length) {
        regionEnd = length;
    }
    if (regionEnd == 0) {
        SetIntegerResult(result, kNotFound);
        return;
    }
    if (soughtLength == 0) {
        SetIntegerResult(result, 1);
        return;
    }
    // The walk runs forward from the start of the text and keeps the last match.
    CharacterMatchFinder finder(text, regionEnd, sought, soughtLength, foldCase);
    int64_t last = -1;
    for (int64_t found = finder.Next(0); found >= 0;) {
        last = found;
        const auto at = static_cast<uint32_t>(found);
        found = finder.Next(at + (IsLeadByte(text[at]) ? 2 : 1));
    }
    SetIntegerResult(result, last < 0 ? kNotFound : static_cast<int32_t>(last + 1));
}
