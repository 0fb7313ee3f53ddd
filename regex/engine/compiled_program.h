// The compiled form of a pattern that both matchers run: a list of instructions over a slot
// array (group begin/end pairs, then one register per loop that must not repeat empty).
#pragma once

#include "regex/engine/char_class.h"
#include "regex/engine/pattern_tree.h"
#include "regex/engine/regex_engine.h"

#include <cstdint>
#include <vector>

namespace RegexEngine {

enum class Op : uint8_t {
    Unit, // a: the unit (canonical when flag is set: compare folded)
    AnyButLineFeed,
    Class,         // a: class index
    Split,         // try a, then b
    Jump,          // a
    Save,          // a: slot := position
    ClearSlots,    // slots [a, b) := -1 (the groups of a loop body at each iteration)
    LoopStart,     // a: register := position
    LoopCheck,     // a: fail when the iteration consumed nothing (register == position)
    Assert,        // flag: AssertKind
    Lookahead,     // flag: negative; a: its LookaheadEnd; b: lookahead index
    LookaheadEnd,  // a lookahead's body matched
    BackReference, // a: group; flag: fold
    Match,
};

struct Instruction {
    Op op;
    uint8_t flag = 0;
    uint32_t a = 0;
    uint32_t b = 0;
};

// Where a search may begin: a literal every match starts with, else the set of first units.
struct StartHint {
    std::u16string prefix; // canonical units when foldPrefix
    bool foldPrefix = false;
    char16_t prefixStarts[3] = {}; // with foldPrefix: the units that fold to prefix[0]
    bool useFirstUnits = false;    // firstUnits is exact enough to skip by
    CharClass firstUnits;
};

struct LookaheadInfo {
    uint32_t firstSlot = 0; // slots of the groups inside it: [firstSlot, endSlot)
    uint32_t endSlot = 0;
};

// One emitted optional iteration of a loop whose body can match empty: the code between its
// LoopStart and LoopCheck. Such spans nest; the register holds where the iteration began.
struct LoopSpan {
    uint32_t loopRegister = 0;
    uint32_t parent = UINT32_MAX; // the enclosing span
};

class Program {
public:
    std::vector<Instruction> code;
    std::vector<CharClass> classes;
    std::vector<LookaheadInfo> lookaheads;
    // Dense index of each instruction that waits for a unit (Unit, AnyButLineFeed, Class,
    // Match, LookaheadEnd) or UINT32_MAX: the linear matcher keeps capture slots per such state.
    std::vector<uint32_t> threadIndex;
    uint32_t threadStates = 0;
    // The innermost LoopSpan around each instruction (UINT32_MAX for none). Two threads at one
    // instruction and position behave alike only when the same enclosing iterations began at
    // that position (those must still consume); as iterations that began here are always the
    // innermost ones, their number tells the states apart. stateBase numbers the
    // (instruction, that number) pairs for the linear matcher's visited set.
    std::vector<uint32_t> enclosingLoop;
    std::vector<LoopSpan> loopSpans;
    std::vector<uint32_t> stateBase;
    uint32_t stateCount = 0;
    uint32_t groupCount = 0;
    uint32_t slotCount = 0; // 2 * (groupCount + 1) + loop registers
    bool hasBackReferences = false;
    StartHint start;
};

} // namespace RegexEngine
