// Random patterns and subjects of the scripting component's regular-expression dialect, made
// from a seed so that every case can be made again.
#pragma once

#include <cstdint>
#include <random>
#include <string>

namespace RegExpTest {

class RandomCases {
public:
    explicit RandomCases(uint32_t seed) : random_(seed) {}

    // A pattern of literals, escapes, classes, groups, look-aheads, alternation, greedy and
    // lazy quantifiers, back-references and anchors.
    std::wstring Pattern();
    // A short subject over the few characters the patterns speak of, line breaks included.
    std::wstring Subject();
    // A replacement with $-references among literal text.
    std::wstring Replacement();
    bool Flip() { return Below(2) == 0; }

private:
    uint32_t Below(uint32_t bound) {
        return std::uniform_int_distribution<uint32_t>(0, bound - 1)(random_);
    }
    void Alternation(std::wstring &out, int depth);
    void Sequence(std::wstring &out, int depth);
    void Atom(std::wstring &out, int depth);
    void Quantifier(std::wstring &out);
    void Escape(std::wstring &out);
    void Class(std::wstring &out);
    wchar_t Letter();

    std::mt19937 random_;
    int groups_ = 0;
};

} // namespace RegExpTest
