// SubstringSearcher: first-byte scanning with memchr, falling back to Knuth-Morris-Pratt when
// the comparisons behind false first-byte hits outgrow the bytes scanned.
#include "values/substring_searcher.h"

#include <cstring>

#include "runtime/heap.h"
#include "values/character_scan.h"
#include "values/cp936_text.h"

namespace {

// Scanning may compare this many bytes per byte of region (plus one sought length) before the
// searcher switches to the automaton, which never looks at a byte twice.
constexpr uint64_t kComparisonsPerByte = 4;

} // namespace

SubstringSearcher::SubstringSearcher(const uint8_t *text, uint32_t end, const uint8_t *sought,
                                     uint32_t soughtLength, bool foldCase)
    : text_(text), end_(end), sought_(sought), soughtLength_(soughtLength), foldCase_(foldCase) {}

SubstringSearcher::~SubstringSearcher() {
    FreeMemory(failure_);
}

int64_t SubstringSearcher::Next(uint32_t from) {
    if (from > end_ || end_ - from < soughtLength_) {
        return -1;
    }
    if (failure_ == nullptr) {
        const int64_t found = NextByScanning(from);
        if (found != -2) {
            return found;
        }
        BuildFailureTable();
    }
    return NextByAutomaton(from);
}

uint8_t SubstringSearcher::Normalized(uint8_t byte) const {
    return foldCase_ ? FoldAsciiLetter(byte) : byte;
}

// Scanning found the first byte already; the rest is compared here.
bool SubstringSearcher::RestMatchesAt(uint32_t at) const {
    if (!foldCase_) {
        return soughtLength_ == 1 ||
               std::memcmp(text_ + at + 1, sought_ + 1, soughtLength_ - 1) == 0;
    }
    for (uint32_t i = 1; i < soughtLength_; ++i) {
        if (FoldAsciiLetter(text_[at + i]) != FoldAsciiLetter(sought_[i])) {
            return false;
        }
    }
    return true;
}

// Returns the match, -1 for none, or -2 when the comparison budget is spent.
int64_t SubstringSearcher::NextByScanning(uint32_t from) {
    const uint8_t first = sought_[0];
    const uint8_t firstFolded = FoldAsciiLetter(first);
    const bool firstHasTwoCases = foldCase_ && firstFolded >= 'a' && firstFolded <= 'z';
    const uint8_t firstUpper = static_cast<uint8_t>(firstFolded - ('a' - 'A'));
    const uint32_t lastStart = end_ - soughtLength_;
    uint32_t at = from;
    while (at <= lastStart) {
        if (!firstHasTwoCases) {
            const void *hit = std::memchr(text_ + at, first, lastStart - at + 1);
            if (hit == nullptr) {
                return -1;
            }
            at = static_cast<uint32_t>(static_cast<const uint8_t *>(hit) - text_);
        } else {
            at = FindEitherByte(text_, at, lastStart + 1, firstFolded, firstUpper);
            if (at > lastStart) {
                return -1;
            }
        }
        comparedBytes_ += soughtLength_ - 1;
        if (RestMatchesAt(at)) {
            return at;
        }
        if (comparedBytes_ > kComparisonsPerByte * at + soughtLength_) {
            return -2;
        }
        ++at;
    }
    return -1;
}

void SubstringSearcher::BuildFailureTable() {
    failure_ = static_cast<uint32_t *>(AllocateMemory(soughtLength_ * sizeof(uint32_t)));
    failure_[0] = 0;
    uint32_t border = 0;
    for (uint32_t i = 1; i < soughtLength_; ++i) {
        while (border > 0 && Normalized(sought_[i]) != Normalized(sought_[border])) {
            border = failure_[border - 1];
        }
        if (Normalized(sought_[i]) == Normalized(sought_[border])) {
            ++border;
        }
        failure_[i] = border;
    }
}

int64_t SubstringSearcher::NextByAutomaton(uint32_t from) {
    // Matches that start before from are skipped below; only a jump past the bytes already read
    // restarts the automaton, so no byte is read twice.
    if (from > automatonPosition_) {
        automatonPosition_ = from;
        automatonState_ = 0;
    }
    while (automatonPosition_ < end_) {
        const uint8_t byte = Normalized(text_[automatonPosition_++]);
        while (automatonState_ > 0 && byte != Normalized(sought_[automatonState_])) {
            automatonState_ = failure_[automatonState_ - 1];
        }
        if (byte == Normalized(sought_[automatonState_])) {
            ++automatonState_;
        }
        if (automatonState_ == soughtLength_) {
            automatonState_ = failure_[soughtLength_ - 1];
            const uint32_t start = automatonPosition_ - soughtLength_;
            if (start >= from) {
                return start;
            }
        }
    }
    return -1;
}
