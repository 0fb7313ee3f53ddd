// SplitText: cuts a text at every exact match of a delimiter into an array of new texts.
#include <cstring>

#include "runtime/heap.h"
#include "values/character_match_finder.h"
#include "values/command_arguments.h"
#include "values/kernel_commands.h"

namespace {

constexpr int32_t kAllPieces = -1;

// The pieces made so far, in a block that doubles as it fills. Each piece is made as soon as
// its end is found, so the text is read once, while its bytes are still in the cache.
class PieceList {
public:
    PieceList() = default;
    PieceList(const PieceList &) = delete;
    PieceList &operator=(const PieceList &) = delete;
    // Frees the pieces too, unless they were handed to an array.
    ~PieceList() {
        for (uint32_t i = 0; i < count_; ++i) {
            FreeMemory(pieces_[i]);
        }
        FreeMemory(pieces_);
    }

    void Add(const char *bytes, uint32_t length) {
        if (count_ == capacity_) {
            capacity_ = capacity_ == 0 ? kFirstCapacity : capacity_ * 2;
            pieces_ = static_cast<Text *>(ReallocateMemory(pieces_, capacity_ * sizeof(Text)));
        }
        pieces_[count_++] = NewText(bytes, length);
    }
    uint32_t Count() const { return count_; }

    // A new array owning the pieces.
    TextArrayHeader *IntoArray() {
        TextArrayHeader *array = NewTextArray(count_);
        if (count_ > 0) {
            std::memcpy(TextArrayElements(array), pieces_, count_ * sizeof(Text));
        }
        count_ = 0;
        return array;
    }

private:
    static constexpr uint32_t kFirstCapacity = 16;
    Text *pieces_ = nullptr;
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
            pieces.Add(text, length);
        } else {
            CharacterMatchFinder finder(reinterpret_cast<const uint8_t *>(text), length,
                                        reinterpret_cast<const uint8_t *>(delimiter),
                                        delimiterLength, false);
            uint32_t cut = 0;
            bool full = false;
            for (int64_t found = finder.Next(0); found >= 0; found = finder.Next(cut)) {
                const auto match = static_cast<uint32_t>(found);
                pieces.Add(text + cut, match - cut);
                cut = match + delimiterLength;
                if (maximum != kAllPieces && pieces.Count() == maximum) {
                    full = true;
                    break;
                }
            }
            if (!full && cut < length) {
                pieces.Add(text + cut, length - cut);
            }
        }
    }
    SetAddressResult(result, pieces.IntoArray());
}
