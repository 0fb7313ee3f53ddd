// libFuzzer target: the regular-expression component's Execute and Replace as the component runs
// them on the engine (a search from each match's end, one unit further after an empty match, and
// each match's replacement expanded), on any pattern and on subjects up to 256 Ki units. The
// first byte holds the options and how often the subject is repeated; then come the pattern, the
// subject and the replacement, separated by NUL bytes, one unit per byte. Beyond memory safety
// and the time limit: every search ends (found, not found, or failed as too complex), matches
// come in order inside the subject with their groups inside it, and Replace keeps the text
// between the matches.
#include "regex/engine/regex_engine.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

constexpr size_t kMaxSubjectUnits = 1u << 18;
// "$'" or "$`" on a pattern that matches everywhere makes a result the square of the subject;
// the component reports running out of memory for it. The target stops building one there.
constexpr size_t kMaxReplacedUnits = 16u << 20;

void Check(bool holds) {
    if (!holds) {
        std::abort();
    }
}

struct Texts {
    const uint8_t *data;
    size_t size;
    std::u16string Next() {
        std::u16string text;
        while (size > 0) {
            const uint8_t byte = *data++;
            --size;
            if (byte == 0) {
                break;
            }
            text.push_back(byte);
        }
        return text;
    }
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    if (size == 0) {
        return 0;
    }
    const uint8_t flags = data[0];
    const RegexEngine::Options options{.ignoreCase = (flags & 1) != 0,
                                       .multiline = (flags & 2) != 0};
    const bool global = (flags & 4) != 0;
    // Mostly a few copies, so that the fuzzer explores; one input in eight goes large.
    const size_t repeats = size_t{1} << ((flags >> 3) < 28 ? (flags >> 3) % 4 : (flags >> 3) - 13);
    Texts texts{data + 1, size - 1};
    const std::u16string pattern = texts.Next();
    const std::u16string piece = texts.Next();
    const std::u16string replacement = texts.Next();
    std::u16string subject;
    for (size_t i = 0; i < repeats && subject.size() + piece.size() <= kMaxSubjectUnits; ++i) {
        subject += piece;
    }
    const RegexEngine::CompileResult compiled = RegexEngine::Compile(pattern, options);
    if (!compiled.program) {
        return 0;
    }
    const RegexEngine::Program &program = *compiled.program;
    const uint32_t groups = RegexEngine::GroupCount(program);
    const auto units = static_cast<int32_t>(subject.size());

    RegexEngine::Captures captures;
    std::u16string replaced;
    size_t start = 0;
    size_t copiedUpTo = 0;
    while (start <= subject.size()) {
        const RegexEngine::SearchResult result =
            RegexEngine::Search(program, subject, start, captures);
        if (result != RegexEngine::SearchResult::Found) {
            break;
        }
        const int32_t begin = captures.begin(0);
        const int32_t end = captures.end(0);
        Check(begin >= static_cast<int32_t>(start) && begin <= end && end <= units);
        for (uint32_t group = 1; group <= groups; ++group) {
            Check(captures.begin(group) == -1 ||
                  (captures.begin(group) >= 0 && captures.begin(group) <= captures.end(group) &&
                   captures.end(group) <= units));
        }
        replaced.append(subject, copiedUpTo, static_cast<size_t>(begin) - copiedUpTo);
        replaced += RegexEngine::ExpandReplacement(replacement, subject, captures, groups);
        if (replaced.size() > kMaxReplacedUnits) {
            return 0;
        }
        copiedUpTo = static_cast<size_t>(end);
        if (!global) {
            break;
        }
        start = begin == end ? static_cast<size_t>(end) + 1 : static_cast<size_t>(end);
    }
    replaced.append(subject, copiedUpTo);
    Check(copiedUpTo != 0 || replaced.ends_with(subject));
    return 0;
}
