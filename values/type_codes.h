// TypeCode: the 32-bit type of a program value, the base-type codes and the questions the
// commands ask of a code (numeric? array? element size?).
#pragma once

#include <cstdint>

using TypeCode = uint32_t;

inline constexpr TypeCode kTypeNone = 0;
inline constexpr TypeCode kTypeByte = 0x80000101;
inline constexpr TypeCode kTypeShort = 0x80000201;
inline constexpr TypeCode kTypeInteger = 0x80000301;
inline constexpr TypeCode kTypeLong = 0x80000401;
inline constexpr TypeCode kTypeFloat = 0x80000501;
inline constexpr TypeCode kTypeDouble = 0x80000601;
inline constexpr TypeCode kTypeBoolean = 0x80000002;
inline constexpr TypeCode kTypeDateTime = 0x80000003;
inline constexpr TypeCode kTypeText = 0x80000004;
inline constexpr TypeCode kTypeByteSet = 0x80000005;
inline constexpr TypeCode kTypeWord = 0x80000006;
inline constexpr TypeCode kTypeQuadWord = 0x80000008;

// Library data types of the kernel support library (library 1).
inline constexpr TypeCode kTypeWindow = 0x00010001;
inline constexpr TypeCode kTypeMenuItem = 0x00010003;
inline constexpr TypeCode kTypeEditBox = 0x00010005;
inline constexpr TypeCode kTypeLabel = 0x0001000A;
inline constexpr TypeCode kTypeButton = 0x0001000B;
inline constexpr TypeCode kTypeComObject = 0x00010030;
inline constexpr TypeCode kTypeVariant = 0x00010031;

inline constexpr TypeCode kArrayBit = 0x20000000;

enum class TypeClass { None, Base, Unused, Library };

constexpr TypeCode ElementTypeOf(TypeCode code) {
    return code & ~kArrayBit;
}
constexpr bool IsArrayType(TypeCode code) {
    return (code & kArrayBit) != 0;
}
constexpr TypeCode ArrayTypeOf(TypeCode element) {
    return element | kArrayBit;
}

constexpr TypeClass ClassOfType(TypeCode code) {
    if (code == kTypeNone) {
        return TypeClass::None;
    }
    switch (code >> 30) {
    case 2:
        return TypeClass::Base;
    case 1:
        return TypeClass::Unused;
    default:
        return TypeClass::Library;
    }
}

// A base type is numeric exactly when the low byte of its code is 1.
constexpr bool IsNumericType(TypeCode code) {
    const TypeCode element = ElementTypeOf(code);
    return ClassOfType(element) == TypeClass::Base && (element & 0xFF) == 1;
}

// The bytes one element of a numeric type occupies; 0 for every other type.
constexpr uint32_t NumericElementSize(TypeCode code) {
    switch (ElementTypeOf(code)) {
    case kTypeByte:
        return 1;
    case kTypeShort:
        return 2;
    case kTypeInteger:
    case kTypeFloat:
        return 4;
    case kTypeLong:
    case kTypeDouble:
        return 8;
    default:
        return 0;
    }
}
