// What the window test programs share: the one window each loads, the title write of their
// handlers, and their ProgramEntry (window_program.cpp), which loads the window and runs the
// message loop.
#pragma once

#include <cstdint>

inline constexpr uint32_t kWindowId = 0x52010001;
// The sub-index of a property written whole.
inline constexpr int32_t kWholeValue = -1;

// Writes the window's title through service slot 5: the text constant at offset constant.
void SetWindowTitle(uint32_t constant);
