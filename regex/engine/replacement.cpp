// ExpandReplacement: the $ substitutions of the component's Replace.
#include "regex/engine/regex_engine.h"

namespace RegexEngine {
namespace {

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The span of a group, or false when it took no part or the captures do not describe a match
// of this subject (then every reference to it gives empty text).
bool GroupSpan(std::u16string_view subject, const Captures &captures, uint32_t group, size_t &begin,
               size_t &end) {
    if (2 * size_t{group} + 1 >= captures.slots.size() || captures.begin(group) < 0 ||
        captures.end(group) < captures.begin(group) ||
        static_cast<size_t>(captures.end(group)) > subject.size()) {
        return false;
    }
    begin = static_cast<size_t>(captures.begin(group));
    end = static_cast<size_t>(captures.end(group));
    return true;
}

void AppendGroup(std::u16string &out, std::u16string_view subject, const Captures &captures,
                 uint32_t group) {
    size_t begin = 0;
    size_t end = 0;
    if (GroupSpan(subject, captures, group, begin, end)) {
        out.append(subject.substr(begin, end - begin));
    }
}

} // namespace

std::u16string ExpandReplacement(std::u16string_view replacement, std::u16string_view subject,
                                 const Captures &captures, uint32_t groupCount) {
    std::u16string out;
    size_t matchBegin = 0;
    size_t matchEnd = 0;
    bool matched = GroupSpan(subject, captures, 0, matchBegin, matchEnd);
    for (size_t i = 0; i < replacement.size(); ++i) {
        char16_t c = replacement[i];
        char16_t next = i + 1 < replacement.size() ? replacement[i + 1] : 0;
        if (c != u'$' || i + 1 >= replacement.size()) {
            out.push_back(c);
        } else if (next == u'$') {
            out.push_back(u'$');
            ++i;
        } else if (next == u'&') {
            AppendGroup(out, subject, captures, 0);
            ++i;
        } else if (next == u'`') {
            out.append(matched ? subject.substr(0, matchBegin) : std::u16string_view{});
            ++i;
        } else if (next == u'\'') {
            out.append(matched ? subject.substr(matchEnd) : std::u16string_view{});
            ++i;
        } else if (IsDigit(next)) {
            uint32_t one = next - u'0';
            bool hasSecond = i + 2 < replacement.size() && IsDigit(replacement[i + 2]);
            uint32_t two = hasSecond ? one * 10 + (replacement[i + 2] - u'0') : 0;
            if (hasSecond && two >= 1 && two <= groupCount) {
                AppendGroup(out, subject, captures, two);
                i += 2;
            } else if (one >= 1 && one <= groupCount) {
                AppendGroup(out, subject, captures, one);
                i += 1;
            } else {
                out.push_back(c);
            }
        } else {
            out.push_back(c);
        }
    }
    return out;
}

} // namespace RegexEngine
