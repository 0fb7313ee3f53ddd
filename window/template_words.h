// Little-endian 32-bit words inside template bytes, read and written without alignment demands.
#pragma once

#include <cstdint>

inline uint32_t LoadTemplateWord(const uint8_t *at) {
    return uint32_t{at[0]} | uint32_t{at[1]} << 8 | uint32_t{at[2]} << 16 | uint32_t{at[3]} << 24;
}

inline void StoreTemplateWord(uint8_t *at, uint32_t word) {
    at[0] = static_cast<uint8_t>(word);
    at[1] = static_cast<uint8_t>(word >> 8);
    at[2] = static_cast<uint8_t>(word >> 16);
    at[3] = static_cast<uint8_t>(word >> 24);
}
