// Helpers for the engine's tests: run a pattern and describe the match as text
// ("whole|group1|group2", "(unset)" for a group that took no part, "NO MATCH"), checking on
// the way that both matchers agree whenever both can run the pattern.
#pragma once

#include "regex/engine/regex_engine.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace RegexEngineTest {

// ASCII as itself, anything else as \uXXXX, so that expectations stay plain ASCII.
inline std::string Printable(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char buffer[8];
            snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}

inline std::string Describe(std::u16string_view subject, const RegexEngine::Captures &captures,
                            uint32_t groupCount) {
    std::string out;
    for (uint32_t group = 0; group <= groupCount; ++group) {
        if (group > 0) {
            out += "|";
        }
        if (captures.begin(group) < 0) {
            out += "(unset)";
        } else {
            out += Printable(
                subject.substr(captures.begin(group), captures.end(group) - captures.begin(group)));
        }
    }
    return out;
}

struct Outcome {
    std::string text; // Describe's form, or "NO MATCH", "BUDGET" or "ERROR"
    RegexEngine::Captures captures;
};

inline Outcome Exec(std::u16string_view pattern, std::u16string_view subject,
                    RegexEngine::Options options = {}, size_t start = 0) {
    Outcome outcome;
    RegexEngine::CompileResult compiled = RegexEngine::Compile(pattern, options);
    if (!compiled.program) {
        outcome.text = "ERROR";
        return outcome;
    }
    const RegexEngine::Program &program = *compiled.program;
    RegexEngine::SearchResult result =
        RegexEngine::Search(program, subject, start, outcome.captures);
    if (result == RegexEngine::SearchResult::Found) {
        outcome.text = Describe(subject, outcome.captures, RegexEngine::GroupCount(program));
    } else {
        outcome.text = result == RegexEngine::SearchResult::NotFound ? "NO MATCH" : "BUDGET";
    }
    // The backtracking matcher must agree with the linear one on every pattern both can run.
    RegexEngine::Captures other;
    RegexEngine::SearchControl control;
    control.matcher = RegexEngine::Matcher::Backtracking;
    RegexEngine::SearchResult otherResult =
        RegexEngine::Search(program, subject, start, other, control, nullptr);
    EXPECT_EQ(otherResult, result) << Printable(pattern);
    if (otherResult == result && result == RegexEngine::SearchResult::Found) {
        EXPECT_EQ(other.slots, outcome.captures.slots) << Printable(pattern);
    }
    return outcome;
}

struct Case {
    std::u16string_view pattern;
    std::u16string_view subject;
    std::string_view expected;
};

inline void ExpectTable(std::initializer_list<Case> cases, RegexEngine::Options options = {}) {
    for (const Case &c : cases) {
        EXPECT_EQ(Exec(c.pattern, c.subject, options).text, c.expected)
            << "pattern " << Printable(c.pattern) << " on " << Printable(c.subject);
    }
}

} // namespace RegexEngineTest
