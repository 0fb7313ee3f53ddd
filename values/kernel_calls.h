// Typed wrappers through which program code calls the value kernel commands: each builds the
// argument records, calls the command through the runtime (CallKernelCommand) and unpacks the
// result. Texts and byte sets passed in must not be null (pass the constant empty value);
// returned ones belong to the caller.
#pragma once

#include <cstdint>
#include <optional>

#include "runtime/program_calls.h"
#include "values/kernel_commands.h"
#include "values/type_codes.h"
#include "values/value_blocks.h"

namespace Kernel {

inline ArgumentRecord TextArgument(const char *text) {
    return ArgumentRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(text)), 0, kTypeText};
}
inline ArgumentRecord ByteSetArgument(const ByteSetHeader *set) {
    return ArgumentRecord{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(set)), 0, kTypeByteSet};
}
inline ArgumentRecord IntegerArgument(int32_t value) {
    return ArgumentRecord{static_cast<uint32_t>(value), 0, kTypeInteger};
}
inline ArgumentRecord OptionalIntegerArgument(std::optional<int32_t> value) {
    return value ? IntegerArgument(*value) : ArgumentRecord{0, 0, kTypeNone};
}
inline ArgumentRecord BooleanArgument(bool value) {
    return ArgumentRecord{value ? 1u : 0u, 0, kTypeBoolean};
}

inline Text AsText(const ArgumentRecord &result) {
    return reinterpret_cast<Text>(static_cast<uintptr_t>(result.low));
}
inline ByteSet AsByteSet(const ArgumentRecord &result) {
    return reinterpret_cast<ByteSet>(static_cast<uintptr_t>(result.low));
}
inline int32_t AsInteger(const ArgumentRecord &result) {
    return static_cast<int32_t>(result.low);
}

// value is any typed record (see type_codes.h).
inline Text ToText(const ArgumentRecord &value) {
    return AsText(InvokeKernelCommand(::ToText, 1, &value));
}
inline Text LeftText(const char *text, int32_t n) {
    const ArgumentRecord args[] = {TextArgument(text), IntegerArgument(n)};
    return AsText(InvokeKernelCommand(::LeftText, 2, args));
}
inline Text ToLowerCase(const char *text) {
    const ArgumentRecord args[] = {TextArgument(text)};
    return AsText(InvokeKernelCommand(::ToLowerCase, 1, args));
}
inline int32_t FindText(const char *text, const char *sought, std::optional<int32_t> start,
                        bool ignoreCase) {
    const ArgumentRecord args[] = {TextArgument(text), TextArgument(sought),
                                   OptionalIntegerArgument(start), BooleanArgument(ignoreCase)};
    return AsInteger(InvokeKernelCommand(::FindText, 4, args));
}
inline Text TrimSpaces(const char *text) {
    const ArgumentRecord args[] = {TextArgument(text)};
    return AsText(InvokeKernelCommand(::TrimSpaces, 1, args));
}
inline Text CharText(uint8_t code) {
    const ArgumentRecord args[] = {ArgumentRecord{code, 0, kTypeByte}};
    return AsText(InvokeKernelCommand(::CharText, 1, args));
}
inline int32_t BitOr(int32_t a, int32_t b) {
    const ArgumentRecord args[] = {IntegerArgument(a), IntegerArgument(b)};
    return AsInteger(InvokeKernelCommand(::BitOr, 2, args));
}
inline int32_t TextLength(const char *text) {
    const ArgumentRecord args[] = {TextArgument(text)};
    return AsInteger(InvokeKernelCommand(::TextLength, 1, args));
}
inline ByteSet ToByteSet(const ArgumentRecord &value) {
    return AsByteSet(InvokeKernelCommand(::ToByteSet, 1, &value));
}
inline int32_t ByteSetLength(const ByteSetHeader *set) {
    const ArgumentRecord args[] = {ByteSetArgument(set)};
    return AsInteger(InvokeKernelCommand(::ByteSetLength, 1, args));
}
inline ByteSet BlankByteSet(int32_t n) {
    const ArgumentRecord args[] = {IntegerArgument(n)};
    return AsByteSet(InvokeKernelCommand(::BlankByteSet, 1, args));
}
inline ByteSet LeftBytes(const ByteSetHeader *set, int32_t n) {
    const ArgumentRecord args[] = {ByteSetArgument(set), IntegerArgument(n)};
    return AsByteSet(InvokeKernelCommand(::LeftBytes, 2, args));
}
inline Text BlankText(int32_t n) {
    const ArgumentRecord args[] = {IntegerArgument(n)};
    return AsText(InvokeKernelCommand(::BlankText, 1, args));
}
// replacement null means left out (the empty text).
inline Text ReplaceSubtext(const char *text, const char *sought, const char *replacement,
                           std::optional<int32_t> start, std::optional<int32_t> count,
                           bool caseSensitive) {
    const ArgumentRecord args[] = {TextArgument(text),
                                   TextArgument(sought),
                                   replacement != nullptr ? TextArgument(replacement)
                                                          : ArgumentRecord{0, 0, kTypeNone},
                                   OptionalIntegerArgument(start),
                                   OptionalIntegerArgument(count),
                                   BooleanArgument(caseSensitive)};
    return AsText(InvokeKernelCommand(::ReplaceSubtext, 6, args));
}
// delimiter null means left out (","). The array and its texts belong to the caller
// (FreeTextArray).
inline TextArrayHeader *SplitText(const char *text, const char *delimiter,
                                  std::optional<int32_t> maximum) {
    const ArgumentRecord args[] = {TextArgument(text),
                                   delimiter != nullptr ? TextArgument(delimiter)
                                                        : ArgumentRecord{0, 0, kTypeNone},
                                   OptionalIntegerArgument(maximum)};
    return reinterpret_cast<TextArrayHeader *>(
        static_cast<uintptr_t>(InvokeKernelCommand(::SplitText, 3, args).low));
}
inline Text MiddleText(const char *text, int32_t start, int32_t n) {
    const ArgumentRecord args[] = {TextArgument(text), IntegerArgument(start), IntegerArgument(n)};
    return AsText(InvokeKernelCommand(::MiddleText, 3, args));
}
inline Text RightText(const char *text, int32_t n) {
    const ArgumentRecord args[] = {TextArgument(text), IntegerArgument(n)};
    return AsText(InvokeKernelCommand(::RightText, 2, args));
}
inline int32_t FindTextBackward(const char *text, const char *sought, std::optional<int32_t> start,
                                bool ignoreCase) {
    const ArgumentRecord args[] = {TextArgument(text), TextArgument(sought),
                                   OptionalIntegerArgument(start), BooleanArgument(ignoreCase)};
    return AsInteger(InvokeKernelCommand(::FindTextBackward, 4, args));
}
inline int32_t ToInteger(const ArgumentRecord &value) {
    return AsInteger(InvokeKernelCommand(::ToInteger, 1, &value));
}
inline int32_t TextToInteger(const char *text) {
    return ToInteger(TextArgument(text));
}
inline Text RemoveAllSpaces(const char *text) {
    const ArgumentRecord args[] = {TextArgument(text)};
    return AsText(InvokeKernelCommand(::RemoveAllSpaces, 1, args));
}

} // namespace Kernel
