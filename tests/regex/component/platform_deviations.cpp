// Where the platform's component under Wine departs from the documented dialect, each named
// with its reason; our component follows the documentation, so these differences are expected.
#include "tests/regex/component/differential_outcome.h"

#include <algorithm>

namespace RegExpTest {
namespace {

bool Contains(const std::wstring &text, const wchar_t *piece) {
    return text.find(piece) != std::wstring::npos;
}

// What stands in for a piece of a pattern that is taken out: it matches the empty text and, unlike
// nothing at all, keeps a quantifier behind it valid.
constexpr wchar_t kEmptyPiece[] = L"(?:)";

bool IsDigit(wchar_t c) {
    return c >= L'0' && c <= L'9';
}

// Where the piece of a pattern that starts at begin ends: an escape with what it escapes (a
// back-reference or octal escape with all its digits), a character class whole, a group's
// opening with its "?:", "?=" or "?!", or one character.
size_t PieceEnd(const std::wstring &pattern, size_t begin) {
    size_t end = begin + 1;
    if (pattern[begin] == L'\\' && end < pattern.size()) {
        ++end;
        if (pattern[begin + 1] >= L'1' && pattern[begin + 1] <= L'9') {
            while (end < pattern.size() && IsDigit(pattern[end])) {
                ++end;
            }
        }
    } else if (pattern[begin] == L'[') {
        while (end < pattern.size() && pattern[end] != L']') {
            end += pattern[end] == L'\\' ? 2 : 1;
        }
        end = std::min(end + 1, pattern.size());
    } else if (pattern.compare(begin, 2, L"(?") == 0) {
        end = std::min(begin + 3, pattern.size());
    }
    return end;
}

// Walks a pattern piece by piece (see PieceEnd); visit(piece, depth) gets each with the number
// of look-aheads it stands in, and what it returns replaces the piece in the result.
template <typename Visit> std::wstring Rewritten(const std::wstring &pattern, Visit visit) {
    std::wstring out;
    std::vector<bool> lookahead;
    int depth = 0;
    for (size_t begin = 0; begin < pattern.size();) {
        const size_t end = PieceEnd(pattern, begin);
        const std::wstring piece = pattern.substr(begin, end - begin);
        if (piece[0] == L'(') {
            const bool isLookahead = piece == L"(?=" || piece == L"(?!";
            lookahead.push_back(isLookahead);
            depth += isLookahead ? 1 : 0;
        } else if (piece == L")" && !lookahead.empty()) {
            depth -= lookahead.back() ? 1 : 0;
            lookahead.pop_back();
        }
        out += visit(piece, depth);
        begin = end;
    }
    return out;
}

// True when the pattern has a "." outside a character class that is not escaped.
bool HasAnyCharacter(const std::wstring &pattern) {
    bool found = false;
    Rewritten(pattern, [&](const std::wstring &piece, int) {
        found = found || piece == L".";
        return piece;
    });
    return found;
}

// The platform's outcome with some of its groups read as ours reads them: equal to ours when
// those groups were the only difference, and at least one was changed. Where the replacement
// names groups ("$"), the replaced texts differ by those groups too: both components run the
// case again with the replacement's "$" taken out, and must agree on that replaced text.
template <typename Misread>
bool AgreesOnceGroupsAreReadAsOurs(const Case &one, const Outcome &platform, const Outcome &own,
                                   const Reruns &again, Misread misread) {
    if (platform.matches.size() != own.matches.size()) {
        return false;
    }
    bool differs = false;
    Outcome restored = platform;
    for (size_t m = 0; m < restored.matches.size(); ++m) {
        std::vector<std::wstring> &groups = restored.matches[m].groups;
        for (size_t g = 0; g < groups.size() && g < own.matches[m].groups.size(); ++g) {
            if (groups[g] != own.matches[m].groups[g] && misread(groups[g])) {
                groups[g] = own.matches[m].groups[g];
                differs = true;
            }
        }
    }
    if (Contains(one.replacement, L"$")) {
        Case literal = one;
        std::erase(literal.replacement, L'$');
        const std::optional<Outcome> platformLiteral = again.platform(literal);
        const Outcome ownLiteral = again.own(literal);
        if (!platformLiteral.has_value() || platformLiteral->replaced != ownLiteral.replaced ||
            platformLiteral->replaceFailed != ownLiteral.replaceFailed) {
            return false;
        }
        restored.replaced = own.replaced;
    }
    return differs && restored == own;
}

// The documentation: "." matches any single character except the line feed "\n". Wine's
// component also refuses the carriage return there, as JScript does: ours, given the pattern
// with each "." written as [^\n\r], finds what the platform's found.
bool DotRefusesCarriageReturn(const Case &one, const Outcome &platform, const Outcome &,
                              const Reruns &again) {
    if (!HasAnyCharacter(one.pattern) || !Contains(one.subject, L"\r")) {
        return false;
    }
    Case wine = one;
    wine.pattern = Rewritten(one.pattern, [](const std::wstring &piece, int) {
        return piece == L"." ? std::wstring(L"[^\\n\\r]") : piece;
    });
    return again.own(wine) == platform;
}

// Some groups (captured inside a look-ahead, or in a repetition the search gave up) come back
// from Wine's component as characters that are nowhere in the subject: it reads them from
// memory it has given up. A group's documented value is always a piece of the subject, and
// everything else agrees.
bool CapturesCorrupt(const Case &one, const Outcome &platform, const Outcome &own,
                     const Reruns &again) {
    return AgreesOnceGroupsAreReadAsOurs(one, platform, own, again, [&](const std::wstring &group) {
        return !group.empty() && one.subject.find(group.substr(1)) == std::wstring::npos;
    });
}

// Wine's component leaves in a repeated group the empty text of an iteration the search then
// gave up, where documented the group holds what its last kept iteration matched, or is Empty
// when it took no part. The outcomes agree once those groups are read as ours reads them.
bool CapturesNotRestored(const Case &one, const Outcome &platform, const Outcome &own,
                         const Reruns &again) {
    return AgreesOnceGroupsAreReadAsOurs(one, platform, own, again,
                                         [](const std::wstring &group) { return group == L"="; });
}

// Both components agree on the case once the pattern is changed by rewrite, and ours is not
// changed by it: the difference lies in the construct the rewrite takes out.
template <typename Rewrite>
bool AgreeWithoutTheConstruct(const Case &one, const Outcome &own, const Reruns &again,
                              bool ownUnchanged, Rewrite rewrite) {
    Case without = one;
    without.pattern = Rewritten(one.pattern, rewrite);
    if (without.pattern == one.pattern) {
        return false;
    }
    const Outcome ownWithout = again.own(without);
    if (ownUnchanged && !(ownWithout == own)) {
        return false;
    }
    const std::optional<Outcome> platformWithout = again.platform(without);
    return platformWithout.has_value() && *platformWithout == ownWithout;
}

// In Wine's component a lazy quantifier inside a look-ahead never settles for its smallest
// count, so (?=a??) fails and (?!a??) succeeds where the documented look-ahead body matches
// the empty text. With those quantifiers made greedy, the components agree.
bool LazyQuantifierInLookahead(const Case &one, const Outcome &, const Outcome &own,
                               const Reruns &again) {
    bool afterQuantifier = false;
    return AgreeWithoutTheConstruct(
        one, own, again, false, [&](const std::wstring &piece, int depth) {
            const bool lazyMark = afterQuantifier && piece == L"?" && depth > 0;
            afterQuantifier =
                !lazyMark && (piece == L"*" || piece == L"+" || piece == L"?" || piece == L"}");
            return lazyMark ? std::wstring() : piece;
        });
}

// Documented (as in JScript), a repeated group starts each iteration with its captures
// undefined, so a back-reference to the group from inside it matches the empty text; Wine's
// component lets it match what the previous iteration captured. Without such back-references
// ours finds the same (they matched the empty text), and so does the platform's.
bool NoCaptureResetPerIteration(const Case &one, const Outcome &, const Outcome &own,
                                const Reruns &again) {
    std::vector<int> open;
    int groups = 0;
    return AgreeWithoutTheConstruct(
        one, own, again, true, [&](const std::wstring &piece, int) -> std::wstring {
            if (piece[0] == L'(') {
                open.push_back(piece == L"(" ? ++groups : 0);
            } else if (piece == L")" && !open.empty()) {
                open.pop_back();
            } else if (piece.size() == 2 && piece[0] == L'\\' && piece[1] >= L'1' &&
                       piece[1] <= L'9' &&
                       std::find(open.begin(), open.end(), piece[1] - L'0') != open.end()) {
                return kEmptyPiece;
            }
            return piece;
        });
}

// True for an escape of two or more decimal digits, as in \1410.
bool MultiDigitEscape(const std::wstring &piece) {
    return piece.size() > 2 && piece[0] == L'\\' && piece[1] >= L'1' && piece[1] <= L'9' &&
           IsDigit(piece[2]);
}

// Documented, an escape like \141 that names no group is an octal escape (the letter a). In
// a pattern without any capturing group, Wine's component reads a run of digits such as \1410
// as a back-reference to a group that does not exist and matches the empty text there: ours,
// given the pattern with such escapes taken out, finds what the platform's found.
bool DecimalEscapeWithoutGroups(const Case &one, const Outcome &platform, const Outcome &,
                                const Reruns &again) {
    bool capturing = false;
    Rewritten(one.pattern, [&](const std::wstring &piece, int) {
        capturing = capturing || piece == L"(";
        return piece;
    });
    if (capturing) {
        return false;
    }
    Case wine = one;
    wine.pattern = Rewritten(one.pattern, [](const std::wstring &piece, int) {
        return MultiDigitEscape(piece) ? std::wstring(kEmptyPiece) : piece;
    });
    return wine.pattern != one.pattern && again.own(wine) == platform;
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
