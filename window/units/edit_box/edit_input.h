// Input modes of the edit box: which typed characters each mode accepts, and the text a mode
// leaves on focus loss.
#pragma once

#include <cstdint>
#include <string>

enum EditInputMode : uint32_t {
    kInputNormal = 0,
    kInputReadOnly = 1,
    kInputPassword = 2,
    kInputIntegerText = 3,
    kInputDecimalText = 4,
    kInputByte = 5,
    kInputShort = 6,
    kInputInteger = 7,
    kInputLong = 8,
    kInputFloat = 9,
    kInputDouble = 10,
    kInputDateTime = 11,
};

constexpr uint32_t kLastInputMode = kInputDateTime;

// Whether a typed character (a byte of the code page) passes the mode's filter; control
// characters below 32 always pass.
bool EditAcceptsCharacter(uint32_t mode, uint32_t character);
// The text the mode makes of text when the edit box loses the focus (text itself for modes that
// leave it alone).
std::string NormaliseEditText(uint32_t mode, const std::string &text);
