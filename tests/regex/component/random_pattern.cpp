// The dialect's pieces, chosen at random with bounded nesting so that a pattern stays short.
#include "tests/regex/component/random_pattern.h"

namespace RegExpTest {
namespace {

// The characters subjects are made of: letters in both cases, digits, blanks, line breaks, a
// few punctuation marks and two characters beyond ASCII.
constexpr wchar_t kSubjectCharacters[] = L"aabbcAB01_ -.\n\r\t\u00e9\u4e2d";
constexpr int kMaxDepth = 3;

} // namespace

wchar_t RandomCases::Letter() {
    constexpr wchar_t kLetters[] = L"abcAB01_ -.\u00e9";
    return kLetters[Below(static_cast<uint32_t>(std::size(kLetters) - 1))];
}

void RandomCases::Escape(std::wstring &out) {
    static const wchar_t *const kEscapes[] = {
        L"\\d",     L"\\D",   L"\\w", L"\\W", L"\\s", L"\\S",   L"\\b",   L"\\B",
        L"\\n",     L"\\r",   L"\\t", L"\\f", L"\\v", L"\\x61", L"\\x41", L"\\u0062",
        L"\\u4E2D", L"\\141", L"\\.", L"\\-", L"\\(", L"\\*"};
    out += kEscapes[Below(static_cast<uint32_t>(std::size(kEscapes)))];
}

void RandomCases::Class(std::wstring &out) {
    out += L'[';
    if (Flip()) {
        out += L'^';
    }
    const uint32_t items = 1 + Below(3);
    for (uint32_t i = 0; i < items; ++i) {
        switch (Below(4)) {
        case 0: {
            const wchar_t from = L'a' + static_cast<wchar_t>(Below(3));
            out += from;
            out += L'-';
            out += static_cast<wchar_t>(from + Below(3));
            break;
        }
        case 1:
            out += Below(2) == 0 ? L"\\d" : (Below(2) == 0 ? L"\\s" : L"\\w");
            break;
        case 2:
            out += L"A-B";
            break;
        default:
            out += Letter();
        }
    }
    out += L']';
}

void RandomCases::Quantifier(std::wstring &out) {
    static const wchar_t *const kQuantifiers[] = {L"*",    L"+",     L"?",    L"{2}",
                                                  L"{1,}", L"{0,2}", L"{1,3}"};
    if (Below(3) != 0) {
        return;
    }
    out += kQuantifiers[Below(static_cast<uint32_t>(std::size(kQuantifiers)))];
    if (Below(3) == 0) {
        out += L'?';
    }
}

void RandomCases::Atom(std::wstring &out, int depth) {
    const uint32_t choice = Below(depth < kMaxDepth ? 12 : 7);
    switch (choice) {
    case 0:
    case 1:
    case 2:
        out += Letter();
        if (out.back() == L'.' || out.back() == L'-') {
            out.back() = L'a';
        }
        break;
    case 3:
        Escape(out);
        break;
    case 4:
        Class(out);
        break;
    case 5:
        out += L'.';
        break;
    case 6:
        if (groups_ > 0 && Below(2) == 0) {
            out += L'\\';
            out += std::to_wstring(1 + Below(static_cast<uint32_t>(groups_)));
            return;
        }
        out += Below(2) == 0 ? L'^' : L'$';
        return;
    default: {
        static const wchar_t *const kOpeners[] = {L"(", L"(", L"(?:", L"(?=", L"(?!"};
        const wchar_t *opener = kOpeners[Below(static_cast<uint32_t>(std::size(kOpeners)))];
        if (opener[1] == 0) {
            ++groups_;
        }
        out += opener;
        Alternation(out, depth + 1);
        out += L')';
        if (opener[1] == L'=' || opener[1] == L'!') {
            return;
        }
    }
    }
    Quantifier(out);
}

void RandomCases::Sequence(std::wstring &out, int depth) {
    const uint32_t atoms = 1 + Below(depth == 0 ? 4 : 3);
    for (uint32_t i = 0; i < atoms; ++i) {
        Atom(out, depth);
    }
}

void RandomCases::Alternation(std::wstring &out, int depth) {
    Sequence(out, depth);
    while (Below(4) == 0) {
        out += L'|';
        Sequence(out, depth);
    }
}

std::wstring RandomCases::Pattern() {
    groups_ = 0;
    std::wstring pattern;
    Alternation(pattern, 0);
    return pattern;
}

std::wstring RandomCases::Subject() {
    std::wstring subject;
    const uint32_t length = Below(16);
    for (uint32_t i = 0; i < length; ++i) {
        subject +=
            kSubjectCharacters[Below(static_cast<uint32_t>(std::size(kSubjectCharacters) - 1))];
    }
    return subject;
}

std::wstring RandomCases::Replacement() {
    static const wchar_t *const kPieces[] = {L"$1", L"$2", L"$3", L"$9", L"$10", L"$01", L"$&",
                                             L"$`", L"$'", L"$$", L"$",  L"<",   L"x",   L"$0"};
    std::wstring replacement;
    const uint32_t pieces = Below(4);
    for (uint32_t i = 0; i < pieces; ++i) {
        replacement += kPieces[Below(static_cast<uint32_t>(std::size(kPieces)))];
    }
    return replacement;
}

} // namespace RegExpTest
