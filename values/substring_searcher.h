// SubstringSearcher: finds every byte position where a sought text occurs in a region, in
// increasing order, in time linear in the region whatever the input. Exact or with ASCII
// letters folded. Plain first-byte scanning with a comparison budget; once hostile input
// exhausts the budget the searcher continues with Knuth-Morris-Pratt.
#pragma once

#include <cstdint>

class SubstringSearcher {
public:
    // The region is text[0, end); sought has soughtLength >= 1 bytes and outlives the searcher.
    SubstringSearcher(const uint8_t *text, uint32_t end, const uint8_t *sought,
                      uint32_t soughtLength, bool foldCase);
    SubstringSearcher(const SubstringSearcher &) = delete;
    SubstringSearcher &operator=(const SubstringSearcher &) = delete;
    ~SubstringSearcher();

    // The first offset >= from at which sought occurs wholly inside the region, or -1. Calls
    // must not decrease from.
    int64_t Next(uint32_t from);

private:
    int64_t NextByScanning(uint32_t from);
    int64_t NextByAutomaton(uint32_t from);
    bool RestMatchesAt(uint32_t at) const;
    uint8_t Normalized(uint8_t byte) const;
    void BuildFailureTable();

    const uint8_t *text_;
    uint32_t end_;
    const uint8_t *sought_;
    uint32_t soughtLength_;
    bool foldCase_;
    // Bytes compared beyond the first, against the bytes scanned: the scanning path's budget.
    uint64_t comparedBytes_ = 0;
    // The automaton: failure[i] is the length of the longest proper border of sought[0, i].
    uint32_t *failure_ = nullptr;
    uint32_t automatonPosition_ = 0; // next text byte the automaton reads
    uint32_t automatonState_ = 0;    // bytes of sought matched before automatonPosition_
};
