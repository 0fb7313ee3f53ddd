// The plain model: one position at a time, no search tricks, the rules spelled out step by step.
// Texts are taken up to their first zero byte, as the commands see them.
#include "tests/values/reference_commands.h"

#include <algorithm>

namespace Reference {
namespace {

std::string Prefix(const std::string &text) {
    return text.substr(0, text.find('\0'));
}

bool IsLead(unsigned char c) {
    return c >= 0x80;
}

// The byte at i, or 0 at and beyond the end (where the terminating NUL stands).
unsigned char At(const std::string &t, size_t i) {
    return i < t.size() ? static_cast<unsigned char>(t[i]) : 0;
}

unsigned char Lower(unsigned char c) {
    return c >= 'A' && c <= 'Z' ? c + 32 : c;
}

bool MatchesAt(const std::string &t, size_t i, const std::string &s, bool fold) {
    for (size_t k = 0; k < s.size(); ++k) {
        unsigned char a = At(t, i + k);
        unsigned char b = At(s, k);
        if (fold) {
            a = Lower(a);
            b = Lower(b);
        }
        if (a != b) {
            return false;
        }
    }
    return true;
}

int64_t Offset(std::optional<int32_t> start) {
    return start ? std::max<int64_t>(static_cast<int64_t>(*start) - 1, 0) : 0;
}

// Every match position in the walk over [begin, end).
std::vector<size_t> WalkMatches(const std::string &t, size_t begin, size_t end,
                                const std::string &s, bool fold) {
    std::vector<size_t> found;
    size_t i = begin;
    while (i < end && end - i >= s.size()) {
        if (IsLead(At(t, i)) && At(t, i + 1) == 0) {
            break;
        }
        if (MatchesAt(t, i, s, fold)) {
            found.push_back(i);
        }
        i += IsLead(At(t, i)) ? 2 : 1;
    }
    return found;
}

bool BlankAt(const std::string &t, size_t i, size_t *width) {
    if (At(t, i) == 0x20) {
        *width = 1;
        return true;
    }
    if (At(t, i) == 0xA1 && At(t, i + 1) == 0xA1) {
        *width = 2;
        return true;
    }
    return false;
}

} // namespace

int32_t FindText(const std::string &text, const std::string &sought, std::optional<int32_t> start,
                 uint32_t ignoreCase) {
    const std::string t = Prefix(text);
    const std::string s = Prefix(sought);
    const size_t b = static_cast<size_t>(Offset(start));
    if (b >= t.size()) {
        return -1;
    }
    if (s.empty()) {
        return 1;
    }
    const auto found = WalkMatches(t, b, t.size(), s, ignoreCase == 1);
    return found.empty() ? -1 : static_cast<int32_t>(found.front() + 1);
}

int32_t FindTextBackward(const std::string &text, const std::string &sought,
                         std::optional<int32_t> start, uint32_t ignoreCase) {
    const std::string t = Prefix(text);
    const std::string s = Prefix(sought);
    const int64_t b = start ? Offset(start) : static_cast<int64_t>(t.size());
    const size_t end = std::min<size_t>(static_cast<size_t>(b), t.size());
    if (end == 0) {
        return -1;
    }
    if (s.empty()) {
        return 1;
    }
    const auto found = WalkMatches(t, 0, end, s, ignoreCase == 1);
    return found.empty() ? -1 : static_cast<int32_t>(found.back() + 1);
}

std::string ReplaceSubtext(const std::string &text, const std::string &sought,
                           const std::string &replacement, std::optional<int32_t> start,
                           std::optional<int32_t> count, uint32_t caseSensitive) {
    const std::string t = Prefix(text);
    const std::string s = Prefix(sought);
    const std::string r = Prefix(replacement);
    const size_t from = static_cast<size_t>(Offset(start));
    const int32_t c = count ? *count : -1;
    if (t.empty() || s.empty() || from >= t.size() || c == 0) {
        return t;
    }
    std::string out = t.substr(0, from);
    size_t i = from;
    int32_t done = 0;
    while (t.size() - i >= s.size() && i < t.size()) {
        if (IsLead(At(t, i)) && At(t, i + 1) == 0) {
            return out; // the lone lead byte is dropped and nothing follows it
        }
        if (MatchesAt(t, i, s, caseSensitive == 0)) {
            out += r;
            i += s.size();
            ++done;
            if (c > 0 && done == c) {
                break;
            }
            continue;
        }
        const size_t width = IsLead(At(t, i)) ? 2 : 1;
        out += t.substr(i, width);
        i += width;
    }
    if (i < t.size()) {
        out += t.substr(i);
    }
    return out;
}

std::vector<std::string> SplitText(const std::string &text,
                                   const std::optional<std::string> &delimiter,
                                   std::optional<int32_t> maximum) {
    const std::string t = Prefix(text);
    const std::string d = delimiter ? Prefix(*delimiter) : std::string(",");
    const int64_t max = maximum ? std::max<int32_t>(*maximum, 0) : -1;
    std::vector<std::string> pieces;
    if (t.empty() || max == 0) {
        return pieces;
    }
    if (d.empty()) {
        pieces.push_back(t);
        return pieces;
    }
    size_t cut = 0;
    size_t i = 0;
    while (i < t.size() && t.size() - i >= d.size()) {
        if (IsLead(At(t, i)) && At(t, i + 1) == 0) {
            break;
        }
        if (MatchesAt(t, i, d, false)) {
            pieces.push_back(t.substr(cut, i - cut));
            i += d.size();
            cut = i;
            if (max != -1 && static_cast<int64_t>(pieces.size()) == max) {
                return pieces;
            }
            continue;
        }
        i += IsLead(At(t, i)) ? 2 : 1;
    }
    if (cut < t.size()) {
        pieces.push_back(t.substr(cut));
    }
    return pieces;
}

std::string TrimSpaces(const std::string &text) {
    const std::string t = Prefix(text);
    size_t i = 0;
    size_t width = 0;
    while (BlankAt(t, i, &width)) {
        i += width;
    }
    std::string out;
    std::string pendingBlanks;
    while (i < t.size()) {
        if (BlankAt(t, i, &width)) {
            pendingBlanks += t.substr(i, width);
            i += width;
            continue;
        }
        if (IsLead(At(t, i)) && At(t, i + 1) == 0) {
            break;
        }
        const size_t w = IsLead(At(t, i)) ? 2 : 1;
        out += pendingBlanks + t.substr(i, w);
        pendingBlanks.clear();
        i += w;
    }
    return out;
}

std::string RemoveAllSpaces(const std::string &text) {
    const std::string t = Prefix(text);
    std::string out;
    size_t i = 0;
    size_t width = 0;
    while (i < t.size()) {
        if (BlankAt(t, i, &width)) {
            i += width;
            continue;
        }
        if (IsLead(At(t, i)) && At(t, i + 1) == 0) {
            break;
        }
        const size_t w = IsLead(At(t, i)) ? 2 : 1;
        out += t.substr(i, w);
        i += w;
    }
    return out;
}

std::string ToLowerCase(const std::string &text) {
    std::string t = Prefix(text);
    size_t i = 0;
    while (i < t.size()) {
        if (IsLead(At(t, i))) {
            i += 2;
            continue;
        }
        t[i] = static_cast<char>(Lower(At(t, i)));
        ++i;
    }
    return t;
}

std::string HalfWidthFold(const std::string &text) {
    const std::string t = Prefix(text);
    std::string out;
    size_t i = 0;
    while (i < t.size()) {
        const unsigned char c = At(t, i);
        if (!IsLead(c)) {
            out += static_cast<char>(c);
            ++i;
            continue;
        }
        const unsigned char n = At(t, i + 1);
        if (n == 0) {
            break;
        }
        if (c == 0xA3 && n >= 0xA1 && n <= 0xFE) {
            out += static_cast<char>(n - 0x80);
        } else if (c == 0xA1 && n == 0xA1) {
            out += ' ';
        } else if (c == 0xA1 && n == 0xAB) {
            out += '~';
        } else if (c == 0xA1 && (n == 0xEE || n == 0xEF)) {
            out += '*';
        } else {
            out += static_cast<char>(c);
            out += static_cast<char>(n);
        }
        i += 2;
    }
    return out;
}

int32_t ToInteger(const std::string &text) {
    const std::string t = HalfWidthFold(text);
    size_t i = 0;
    while (i < t.size() && (t[i] == ' ' || t[i] == '\t' || t[i] == '\n' || t[i] == '\v' ||
                            t[i] == '\f' || t[i] == '\r')) {
        ++i;
    }
    bool negative = false;
    if (i < t.size() && (t[i] == '-' || t[i] == '+')) {
        negative = t[i] == '-';
        ++i;
    }
    // Digits accumulate in a wide integer and stop mattering once far beyond the range.
    long double value = 0;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') {
        value = value * 10 + (t[i] - '0');
        if (value > 1e12L) {
            value = 1e12L;
        }
        ++i;
    }
    if (negative) {
        value = -value;
    }
    if (value > 2147483647.0L) {
        return 2147483647;
    }
    if (value < -2147483648.0L) {
        return -2147483647 - 1;
    }
    return static_cast<int32_t>(value);
}

} // namespace Reference
