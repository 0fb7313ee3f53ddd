// Where the platform's component under Wine departs from the documented dialect, each named
// with its reason; our component follows the documentation, so these differences are expected.
#include "tests/regex/component/differential_outcome.h"

namespace RegExpTest {
namespace {

bool Contains(const std::wstring &text, const wchar_t *piece) {
    return text.find(piece) != std::wstring::npos;
}

// True when the pattern has a "." outside a character class that is not escaped.
bool HasAnyCharacter(const std::wstring &pattern) {
    bool inClass = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        if (c == L'\\') {
            ++i;
        } else if (c == L'[') {
            inClass = true;
        } else if (c == L']') {
            inClass = false;
        } else if (c == L'.' && !inClass) {
            return true;
        }
    }
    return false;
}

// The documentation: "." matches any single character except the line feed "\n". Wine's
// component also refuses the carriage return there, as JScript does.
bool DotRefusesCarriageReturn(const Case &one, const Outcome &, const Outcome &) {
    return HasAnyCharacter(one.pattern) && Contains(one.subject, L"\r");
}

// Some groups (captured inside a look-ahead, or in a repetition the search gave up) come back
// from Wine's component as characters that are nowhere in the subject: it reads them from
// memory it has given up. A group's documented value is always a piece of the subject.
bool CapturesCorrupt(const Case &one, const Outcome &platform, const Outcome &) {
    for (const MatchSeen &match : platform.matches) {
        for (const std::wstring &group : match.groups) {
            if (!group.empty() && one.subject.find(group.substr(1)) == std::wstring::npos) {
                return true;
            }
        }
    }
    return false;
}

// Wine's component leaves in a repeated group the empty text of an iteration the search then
// gave up, where documented the group holds what its last kept iteration matched, or is Empty
// when it took no part. The outcomes agree once those groups are read as ours reads them.
bool CapturesNotRestored(const Case &, const Outcome &platform, const Outcome &own) {
    if (platform.matches.size() != own.matches.size()) {
        return false;
    }
    bool differs = false;
    Outcome restored = platform;
    for (size_t m = 0; m < restored.matches.size(); ++m) {
        std::vector<std::wstring> &groups = restored.matches[m].groups;
        for (size_t g = 0; g < groups.size() && g < own.matches[m].groups.size(); ++g) {
            if (groups[g] == L"=" && groups[g] != own.matches[m].groups[g]) {
                groups[g] = own.matches[m].groups[g];
                differs = true;
            }
        }
    }
    restored.replaced = own.replaced;
    return differs && restored == own;
}

// In Wine's component a lazy quantifier inside a look-ahead never settles for its smallest
// count, so (?=a??) fails and (?!a??) succeeds where the documented look-ahead body matches
// the empty text.
bool LazyQuantifierInLookahead(const Case &one, const Outcome &, const Outcome &) {
    return HasLazyQuantifierAndLookahead(one.pattern);
}

// True when a back-reference stands inside the group it refers to, as in (a\1)+.
bool BackReferenceInsideItsGroup(const std::wstring &pattern) {
    std::vector<int> open;
    int groups = 0;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        if (c == L'\\' && i + 1 < pattern.size()) {
            const wchar_t next = pattern[++i];
            if (next >= L'1' && next <= L'9') {
                for (int group : open) {
                    if (group == next - L'0') {
                        return true;
                    }
                }
            }
        } else if (c == L'(') {
            const bool capturing = i + 1 >= pattern.size() || pattern[i + 1] != L'?';
            open.push_back(capturing ? ++groups : 0);
        } else if (c == L')' && !open.empty()) {
            open.pop_back();
        }
    }
    return false;
}

// Documented (as in JScript), a repeated group starts each iteration with its captures
// undefined, so a back-reference to the group from inside it matches the empty text; Wine's
// component lets it match what the previous iteration captured.
bool NoCaptureResetPerIteration(const Case &one, const Outcome &, const Outcome &) {
    return BackReferenceInsideItsGroup(one.pattern);
}

// True when the pattern has no capturing group and an escape of two or more decimal digits
// outside a class, as in \1410.
bool MultiDigitEscapeWithoutGroups(const std::wstring &pattern) {
    bool escape = false;
    bool inClass = false;
    for (size_t i = 0; i < pattern.size(); ++i) {
        const wchar_t c = pattern[i];
        if (c == L'\\' && i + 1 < pattern.size()) {
            const wchar_t next = pattern[++i];
            const bool digits = next >= L'1' && next <= L'9' && i + 1 < pattern.size() &&
                                pattern[i + 1] >= L'0' && pattern[i + 1] <= L'9';
            escape = escape || (digits && !inClass);
        } else if (c == L'[') {
            inClass = true;
        } else if (c == L']') {
            inClass = false;
        } else if (c == L'(' && !inClass && (i + 1 >= pattern.size() || pattern[i + 1] != L'?')) {
            return false;
        }
    }
    return escape;
}

// Documented, an escape like \141 that names no group is an octal escape (the letter a). In
// a pattern without any capturing group, Wine's component reads a run of digits such as \1410
// as a back-reference to a group that does not exist and matches the empty text there.
bool DecimalEscapeWithoutGroups(const Case &one, const Outcome &, const Outcome &) {
    return MultiDigitEscapeWithoutGroups(one.pattern);
}

} // namespace

bool HasLazyQuantifierAndLookahead(const std::wstring &pattern) {
    return (Contains(pattern, L"(?=") || Contains(pattern, L"(?!")) &&
           (Contains(pattern, L"??") || Contains(pattern, L"*?") || Contains(pattern, L"+?") ||
            Contains(pattern, L"}?"));
}

const PlatformDeviation kPlatformDeviations[] = {
    {"WineDotRefusesCarriageReturn", DotRefusesCarriageReturn},
    {"WineCapturesCorrupt", CapturesCorrupt},
    {"WineCapturesNotRestored", CapturesNotRestored},
    {"WineLazyQuantifierInLookahead", LazyQuantifierInLookahead},
    {"WineNoCaptureResetPerIteration", NoCaptureResetPerIteration},
    {"WineDecimalEscapeWithoutGroups", DecimalEscapeWithoutGroups},
};
const size_t kPlatformDeviationCount = std::size(kPlatformDeviations);

} // namespace RegExpTest
