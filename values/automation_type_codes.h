// The type codes that automation arguments, results and variant assignment distinguish.
#pragma once

#include <cstdint>

namespace AutomationTypeCode {

inline constexpr uint32_t kByte = 0x80000101;
inline constexpr uint32_t kShort = 0x80000201;
inline constexpr uint32_t kInteger = 0x80000301;
inline constexpr uint32_t kLong = 0x80000401;
inline constexpr uint32_t kSingle = 0x80000501;
inline constexpr uint32_t kDouble = 0x80000601;
inline constexpr uint32_t kBoolean = 0x80000002;
inline constexpr uint32_t kDateTime = 0x80000003;
inline constexpr uint32_t kText = 0x80000004;
inline constexpr uint32_t kByteSet = 0x80000005;
inline constexpr uint32_t kComObject = 0x00010030;
inline constexpr uint32_t kVariant = 0x00010031;

// In a by-name call's argument the bit marks a reference to a program variable; in a value
// handed to VariantAssign it marks an array.
inline constexpr uint32_t kArrayOrReferenceBit = 0x20000000;

inline constexpr uint32_t WithoutArrayBit(uint32_t type) {
    return type & ~kArrayOrReferenceBit;
}

} // namespace AutomationTypeCode
