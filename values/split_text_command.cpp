// SplitText: cuts a text at every exact match of a delimiter into an array of new texts.
#include <cstring>

#include "runtime/heap.h"
#include "values/character_match_finder.h"
#include "values/command_arguments.h"
#include "values/kernel_commands.h"

namespace {

constexpr int32_t kAllPieces = -1;

struct Piece {
    uint32_t offset;
    uint32_t length;
};

// The pieces found so far, in a block that doubles as it fills.
class PieceList {
public:
    PieceList() = default;
    PieceList(const PieceList &) = delete;
    PieceList &operator=(const PieceList &) = delete;
    ~PieceList() { FreeMemory(pieces_); }

    void Add(uint32_t offset, uint32_t length) {
        if (count_ == capacity_) {
            capacity_ = capacity_ == 0 ? kFirstCapacity : capacity_ * 2;
            pieces_ = static_cast<Piece *>(ReallocateMemory(pieces_, capacity_ * sizeof(Piece)));
        }
        pieces_[count_++] = Piece{offset, length};
    }
    uint32_t Count() const { return count_; }
    const Piece &At(uint32_t index) const { return pieces_[index]; }

private:
    static constexpr uint32_t kFirstCapacity = 16;
    Piece *pieces_ = nullptr;
    uint32_t count_ = 0;
    uint32_t capacity_ = 0;
};

} // namespace

void SplitText(ArgumentRecord *result, int32_t count, ArgumentRecord *args) {
    const CommandArguments in(count, args);
    const char *text = in.TextAt(0);
    const char *delimiter = in.IsGiven(1) ? in.TextAt(1) : ",";
    const auto givenMaximum = in.OptionalIntegerAt(2);
    const int64_t maximum = !givenMaximum ? kAllPieces : (*givenMaximum < 0 ? 0 : *givenMaximum);
    const uint32_t length = TextByteLength(text);
    const uint32_t delimiterLength = TextByteLength(delimiter);
    PieceList pieces;
    if (length != 0 && maximum != 0) {
        if (delimiterLength == 0) {
            pieces.Add(0, length);
        } else {
            CharacterMatchFinder finder(reinterpret_cast<const uint8_t *>(text), length,
                                        reinterpret_cast<const uint8_t *>(delimiter),
                                        delimiterLength, false);
            uint32_t cut = 0;
            bool full = false;
            for (int64_t found = finder.Next(0); found >= 0; found = finder.Next(cut)) {
                const auto match = static_cast<uint32_t>(found);
                pieces.Add(cut, match - cut);
                cut = match + delimiterLength;
                if (maximum != kAllPieces && pieces.Count() == maximum) {
                    full = true;
                    break;
                }
            }
            if (!full && cut < length) {
                pieces.Add(cut, length - cut);
            }
        }
    }
    TextArrayHeader *array = NewTextArray(pieces.Count());
    Text *elements = TextArrayElements(array);
    for (uint32_t i = 0; i < pieces.Count(); ++i) {
        elements[i] = NewText(text + pieces.At(i).offset, pieces.At(i).length);
    }
    SetAddressResult(result, array);
}
