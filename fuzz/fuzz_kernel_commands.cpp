// Fuzz target: fuzzer bytes become a text, a sought text, a replacement and integer arguments
// for every kernel command 0 to 19; the character-aware ones must agree with the plain
// reference, and every call must hand back exactly the heap blocks it returned.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "runtime/heap.h"
#include "runtime/heap_instrumentation.h"
#include "tests/values/reference_commands.h"
#include "values/kernel_calls.h"
#include "values/kernel_command_table.h"

namespace {

// Reads the fuzzer's bytes front to back; running out gives zeros and empty texts.
class Input {
public:
    Input(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    int32_t Integer() {
        // Small values near the interesting edges, or any 32-bit value.
        const uint8_t kind = Byte();
        if (kind & 1) {
            return static_cast<int8_t>(Byte());
        }
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = (value << 8) | Byte();
        }
        return static_cast<int32_t>(value);
    }
    std::optional<int32_t> OptionalInteger() {
        if (Byte() & 1) {
            return std::nullopt;
        }
        return Integer();
    }
    // A text of up to 255 bytes, cut at the first zero byte as a text would be.
    std::string Text() {
        const size_t length = Byte();
        std::string text;
        for (size_t i = 0; i < length && at_ < size_; ++i) {
            text += static_cast<char>(data_[at_++]);
        }
        return text.substr(0, text.find('\0'));
    }

private:
    const uint8_t *data_;
    size_t size_;
    size_t at_ = 0;
};

void Check(bool agrees, const char *what) {
    if (!agrees) {
        std::fprintf(stderr, "difference from the reference in %s\n", what);
        std::abort();
    }
}

std::string TakeText(Text text) {
    std::string bytes = text == nullptr ? std::string() : std::string(text);
    Check(text == nullptr || text[0] != '\0', "an empty result that is not null");
    FreeMemory(text);
    return bytes;
}

void FreeResult(const ArgumentRecord &result, uint32_t index) {
    void *block = reinterpret_cast<void *>(static_cast<uintptr_t>(result.low));
    switch (index) {
    case 3:
    case 6:
    case 7:
    case 9:
    case 17:
    case 18:
        return; // integer results
    case 14:
        FreeTextArray(static_cast<TextArrayHeader *>(block));
        return;
    default:
        FreeMemory(block);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const int32_t liveBefore = HeapInstrumentation::LiveBlocks();
    Input in(data, size);
    const uint32_t index = in.Byte() % 20;
    const std::string text = in.Text();
    const std::string sought = in.Text();
    const std::string replacement = in.Text();
    const std::optional<int32_t> first = in.OptionalInteger();
    const std::optional<int32_t> second = in.OptionalInteger();
    const uint32_t flag = in.Byte() % 3;
    const bool replacementGiven = (in.Byte() & 1) != 0;

    // Every command once with generic records: a text, a text, a text or omitted, two integers
    // or omitted, a Boolean. Value commands also see a byte set built from the text.
    std::vector<uint32_t> byteSet(2 + (text.size() + 3) / 4);
    byteSet[0] = 1;
    byteSet[1] = static_cast<uint32_t>(text.size());
    std::memcpy(byteSet.data() + 2, text.data(), text.size());
    const ArgumentRecord byteSetRecord{
        static_cast<uint32_t>(reinterpret_cast<uintptr_t>(byteSet.data())), 0, kTypeByteSet};
    const bool useByteSet = (index == 0 || index == 8 || index == 9 || index == 11) && flag == 2;
    ArgumentRecord args[] = {useByteSet ? byteSetRecord : Kernel::TextArgument(text.c_str()),
                             index == 1 || index == 10 || index == 11 || index == 12 || index == 16
                                 ? Kernel::OptionalIntegerArgument(first.value_or(0))
                                 : Kernel::TextArgument(sought.c_str()),
                             replacementGiven ? Kernel::TextArgument(replacement.c_str())
                                              : Kernel::OptionalIntegerArgument(first),
                             Kernel::OptionalIntegerArgument(first),
                             Kernel::OptionalIntegerArgument(second),
                             ArgumentRecord{flag, 0, kTypeBoolean}};
    const int32_t count = static_cast<int32_t>(in.Byte() % 7);
    FreeResult(InvokeKernelCommand(KernelCommandTable[index], count, args), index);

    // The character-aware commands against the reference.
    const char *t = text.c_str();
    const char *s = sought.c_str();
    switch (index % 6) {
    case 0:
        Check(Kernel::AsInteger(InvokeKernelCommand(
                  FindText, 4,
                  (ArgumentRecord[]){Kernel::TextArgument(t), Kernel::TextArgument(s),
                                     Kernel::OptionalIntegerArgument(first),
                                     ArgumentRecord{flag, 0, kTypeBoolean}})) ==
                  Reference::FindText(text, sought, first, flag),
              "FindText");
        Check(Kernel::AsInteger(InvokeKernelCommand(
                  FindTextBackward, 4,
                  (ArgumentRecord[]){Kernel::TextArgument(t), Kernel::TextArgument(s),
                                     Kernel::OptionalIntegerArgument(first),
                                     ArgumentRecord{flag, 0, kTypeBoolean}})) ==
                  Reference::FindTextBackward(text, sought, first, flag),
              "FindTextBackward");
        break;
    case 1:
        Check(TakeText(Kernel::AsText(InvokeKernelCommand(
                  ReplaceSubtext, 6,
                  (ArgumentRecord[]){Kernel::TextArgument(t), Kernel::TextArgument(s),
                                     Kernel::TextArgument(replacement.c_str()),
                                     Kernel::OptionalIntegerArgument(first),
                                     Kernel::OptionalIntegerArgument(second),
                                     ArgumentRecord{flag, 0, kTypeBoolean}}))) ==
                  Reference::ReplaceSubtext(text, sought, replacement, first, second, flag),
              "ReplaceSubtext");
        break;
    case 2: {
        TextArrayHeader *pieces = Kernel::SplitText(t, replacementGiven ? s : nullptr, second);
        const auto expected = Reference::SplitText(
            text, replacementGiven ? std::optional<std::string>(sought) : std::nullopt, second);
        Check(pieces->elementCount == expected.size(), "SplitText count");
        for (uint32_t i = 0; i < pieces->elementCount; ++i) {
            const Text piece = TextArrayElements(pieces)[i];
            Check((piece == nullptr ? std::string() : std::string(piece)) == expected[i],
                  "SplitText piece");
        }
        FreeTextArray(pieces);
        break;
    }
    case 3:
        Check(TakeText(Kernel::TrimSpaces(t)) == Reference::TrimSpaces(text), "TrimSpaces");
        Check(TakeText(Kernel::RemoveAllSpaces(t)) == Reference::RemoveAllSpaces(text),
              "RemoveAllSpaces");
        break;
    case 4:
        Check(TakeText(Kernel::ToLowerCase(t)) == Reference::ToLowerCase(text), "ToLowerCase");
        break;
    default:
        Check(Kernel::TextToInteger(t) == Reference::ToInteger(text), "ToInteger");
        break;
    }
    Check(HeapInstrumentation::LiveBlocks() == liveBefore, "a leaked or doubly freed block");
    return 0;
}
