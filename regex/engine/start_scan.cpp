// Skipping to where a match can begin: a scan for the literal prefix's first unit (or one of
// its case partners) followed by a comparison, or a scan for a first unit of the pattern.
#include "regex/engine/start_scan.h"

#include "regex/engine/case_folding.h"

namespace RegexEngine {
namespace {

size_t FindFoldedPrefix(const StartHint &hint, std::u16string_view subject, size_t from) {
    std::u16string_view prefix = hint.prefix;
    const char16_t *partners = hint.prefixStarts;
    size_t last = subject.size() - prefix.size();
    for (size_t at = from; at <= last; ++at) {
        char16_t c = subject[at];
        if (c != partners[0] && c != partners[1] && c != partners[2]) {
            continue;
        }
        size_t i = 1;
        while (i < prefix.size() && Canonicalize(subject[at + i]) == prefix[i]) {
            ++i;
        }
        if (i == prefix.size()) {
            return at;
        }
    }
    return subject.size() + 1;
}

} // namespace

size_t FindCandidate(const StartHint &hint, std::u16string_view subject, size_t from) {
    size_t none = subject.size() + 1;
    if (from > subject.size()) {
        return none;
    }
    if (!hint.prefix.empty()) {
        if (subject.size() - from < hint.prefix.size()) {
            return none;
        }
        if (hint.foldPrefix) {
            return FindFoldedPrefix(hint, subject, from);
        }
        size_t at = subject.find(hint.prefix, from);
        return at == std::u16string_view::npos ? none : at;
    }
    if (!hint.useFirstUnits) {
        return from;
    }
    for (size_t at = from; at < subject.size(); ++at) {
        if (hint.firstUnits.Contains(subject[at])) {
            return at;
        }
    }
    return none;
}

} // namespace RegexEngine
