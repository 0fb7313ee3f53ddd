// What the units' property code shares: a stored choice held to its range, and texts and bytes
// handed out in the PropertyValue pair (the unit keeps owning them).
#pragma once

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "window/unit_type.h"

// value read as a signed number and held to 0..maximum.
inline uint32_t Clamp(uint32_t value, uint32_t maximum) {
    return static_cast<uint32_t>(
        std::clamp(static_cast<int32_t>(value), 0, static_cast<int32_t>(maximum)));
}

inline PropertyValue TextValue(const std::string &text) {
    return {reinterpret_cast<uint32_t>(text.c_str()), 0};
}

// The bytes' address (null when empty) and their count.
inline PropertyValue BytesValue(const std::vector<uint8_t> &bytes) {
    return {bytes.empty() ? 0 : reinterpret_cast<uint32_t>(bytes.data()),
            static_cast<uint32_t>(bytes.size())};
}
