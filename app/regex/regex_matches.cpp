// Reading the match collection of the last Create: counts, match and group texts, and their
// byte positions in the subject.
#include "app/regex/regex_object.h"

#include "app/regex/regex_program.h"
#include "regex/component/match_text_read.h"
#include "values/kernel_calls.h"

namespace Regex {
namespace {

constexpr uint8_t kFirstLeadByte = 0x81;
constexpr uint8_t kLastLeadByte = 0xFE;

// Whether byte can follow a lead byte as its trail (as the text's conversion for the component
// reads it): before any other byte, a lead byte is a character of its own.
constexpr bool IsTrailByte(uint8_t byte) {
    return byte >= 0x40 && byte != 0x7F && byte != 0xFF;
}

// The byte offset at which character index characters (0-based) of a code page 936 text
// starts: a lead byte takes its trail byte with it.
int32_t CharacterStart(const char *text, int32_t characters) {
    int32_t offset = 0;
    for (int32_t counted = 0; counted < characters && text[offset] != 0; ++counted) {
        const auto byte = static_cast<uint8_t>(text[offset]);
        const bool pair = byte >= kFirstLeadByte && byte <= kLastLeadByte &&
                          IsTrailByte(static_cast<uint8_t>(text[offset + 1]));
        offset += pair ? 2 : 1;
    }
    return offset;
}

// Stores into the caller's position variable the 0-based byte offset of sought in the subject,
// searched from the start of the match item (-2 when it is not found). The component counts
// FirstIndex in characters; the search starts at the byte where that character starts, so it
// never begins inside a double-byte character, and it compares letter case exactly, because
// sought is the subject's own text.
void StoreBytePosition(RegexObject *instance, ComObject *item, const char *sought,
                       OptionalArgument position) {
    Text subject = Kernel::VariantToText(instance->subject);
    const int32_t firstIndex =
        Whole(Kernel::ObjectReadNumberProperty(item, Named(Constant::NameFirstIndex)));
    const int32_t start = CharacterStart(Arg(subject), firstIndex) + 1;
    const int32_t found = Kernel::FindText(Arg(subject), Arg(sought), start, false);
    ProgramCall::FreeMemory(subject);
    *reinterpret_cast<int32_t *>(static_cast<uintptr_t>(position.value)) = found - 1;
}

// Match number match (1-based) of the collection; the component counts from 0.
ComObject *MatchItem(RegexObject *instance, int32_t match) {
    return Kernel::ObjectReadObjectProperty(instance->matches, Named(Constant::NameItem),
                                            Kernel::DoubleArgument(static_cast<double>(match) - 1));
}

// The text of a variant read from an object's property, the variant freed.
template <typename... Args>
Text VariantPropertyText(ComObject *object, const char *name, const Args &...args) {
    VariantBlock *value = Kernel::ObjectReadVariantProperty(object, name, args...);
    Text text = Kernel::VariantToText(value);
    FreeVariant(value);
    return text;
}

// The text of match number match (from 1) or of its group (from 1; 0 the whole match), read
// straight from the program's own component's collection: no automation calls, and no UTF-16
// copy of a value as large as the page. False where the collection is the platform's (or the
// numbers name nothing, so that the automation read reports it as it always has).
bool ReadInPlace(RegexObject *instance, int32_t match, int32_t group, Text &text) {
    return RegExpComponent::ReadMatchTextFrom(instance->matches, match - 1, group, &text);
}

} // namespace

int32_t MatchCount(RegexObject **self) {
    return Whole(Kernel::ObjectReadNumberProperty((*self)->matches, Named(Constant::NameCount)));
}

Text MatchText(RegexObject **self, int32_t match, OptionalArgument position) {
    RegexObject *instance = *self;
    Text text = nullptr;
    if (position.givenFlag == 0 && ReadInPlace(instance, match, 0, text)) {
        return text;
    }
    ComObject *item = MatchItem(instance, match);
    text = VariantPropertyText(item, Named(Constant::NameValue));
    if (position.givenFlag != 0) {
        StoreBytePosition(instance, item, text, position);
    }
    FreeObject(item);
    return text;
}

Text SubMatchText(RegexObject **self, int32_t match, int32_t group, OptionalArgument position) {
    RegexObject *instance = *self;
    Text text = nullptr;
    if (position.givenFlag == 0 && group >= 1 && ReadInPlace(instance, match, group, text)) {
        return text;
    }
    ComObject *item = MatchItem(instance, match);
    ComObject *groups = Kernel::ObjectReadObjectProperty(item, Named(Constant::NameSubMatches));
    text = VariantPropertyText(groups, Named(Constant::NameItem),
                               Kernel::DoubleArgument(static_cast<double>(group) - 1));
    if (position.givenFlag != 0) {
        StoreBytePosition(instance, item, text, position);
    }
    FreeObject(item);
    FreeObject(groups);
    return text;
}

int32_t SubMatchCount(RegexObject **self) {
    ComObject *item = Kernel::ObjectReadObjectProperty((*self)->matches, Named(Constant::NameItem),
                                                       Kernel::IntegerArgument(0));
    ComObject *groups = Kernel::ObjectReadObjectProperty(item, Named(Constant::NameSubMatches));
    FreeObject(item);
    const int32_t count =
        Whole(Kernel::ObjectReadNumberProperty(groups, Named(Constant::NameCount)));
    FreeObject(groups);
    return count;
}

} // namespace Regex
