// The border styles that the edit box and the label share: none, sunken, raised, thin sunken,
// sunken and raised, single line.
#pragma once

#include <windows.h>

#include <cstdint>

constexpr uint32_t kLastWindowBorder = 5;

// Replaces the control's border styles by those of border (0 to 5; any other value removes
// them all) with a frame change.
void ApplyUnitBorder(HWND control, uint32_t border);
