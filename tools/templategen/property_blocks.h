// The PropertyBlock of each unit type: its fields in stream order with their defaults, and the
// encoder that writes a block from the values a description gives.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// A value from the description: a number, or bytes (a code page 936 text, a file, a font).
struct PropertyValue {
    bool isNumber = false;
    int64_t number = 0;
    std::string bytes;
};

// The UnitType for a description keyword ("window", "editbox", "label", "button"); throws
// std::runtime_error for any other.
uint32_t UnitTypeForKeyword(const std::string &keyword);

// Encodes the block of unitType at its save version: every field, each taken from values or
// its default. Throws std::runtime_error for a name the type does not have or a value of the
// wrong kind.
std::string EncodePropertyBlock(uint32_t unitType,
                                const std::map<std::string, PropertyValue> &values);
