// One case of the differential test, what a component made of it, and the platform deviations
// that the program's own component deliberately does not copy.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace RegExpTest {

struct Case {
    std::wstring pattern;
    std::wstring subject;
    std::wstring replacement;
    bool global = false;
    bool ignoreCase = false;
    bool multiline = false;
};

struct MatchSeen {
    std::wstring value;
    long firstIndex = 0;
    long length = 0;
    // Each group as "" for Empty, or "=" followed by its text.
    std::vector<std::wstring> groups;
    bool operator==(const MatchSeen &) const = default;
};

struct Outcome {
    bool executeFailed = false;
    std::vector<MatchSeen> matches;
    bool replaceFailed = false;
    std::wstring replaced;
    bool operator==(const Outcome &) const = default;
};

// Runs the case on a component through IDispatch.
Outcome RunCase(IDispatch *component, const Case &one);
// One line describing an outcome.
std::wstring Describe(const Outcome &outcome);

// Wine's component never returns from a Global Execute that meets an empty match (it searches
// again at the same place), and fails such a Replace; the documented behaviour, which ours
// follows, moves on by one character. Cases where ours finds an empty match with Global on are
// therefore compared with Global off, and so are cases where the platform's Global Replace
// fails: it meets an empty match that ours does not find (one of the deviations below), and its
// Execute would not return.
inline constexpr char kGlobalEmptyMatchDeviation[] = "WineGlobalEmptyMatchNeverEnds";
bool HasEmptyMatch(const Outcome &outcome);
// Patterns where Wine's component may find empty matches that ours rightly does not (see
// WineLazyQuantifierInLookahead) and then loop even in Replace: compared without Global too.
bool HasLazyQuantifierAndLookahead(const std::wstring &pattern);
bool ReplaceFails(IDispatch *component, const Case &one);

// Runs a changed case again: on our component, and on the platform's (nothing when it gives no
// answer in time, or compares the case without Global).
struct Reruns {
    std::function<Outcome(const Case &)> own;
    std::function<std::optional<Outcome>(const Case &)> platform;
};

// Where the platform's component under Wine departs from the documented dialect; our component
// follows the documentation, so the difference is expected. A deviation explains a difference
// only when the difference has its form: the outcomes agree once the construct is changed the
// way the platform reads it, or taken out.
struct PlatformDeviation {
    const char *name;
    bool (*explains)(const Case &one, const Outcome &platform, const Outcome &own,
                     const Reruns &again);
};
extern const PlatformDeviation kPlatformDeviations[];
extern const size_t kPlatformDeviationCount;

// The index of the deviation that explains the difference, or -1.
int KnownDeviation(const Case &one, const Outcome &platform, const Outcome &own,
                   const Reruns &again);

} // namespace RegExpTest
