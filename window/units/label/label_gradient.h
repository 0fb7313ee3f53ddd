// The label's gradients: colours spaced evenly along a direction, drawn in tiles of at most
// 50 by 50 pixels.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

// Gradient directions: 1 top to bottom, 2 left to right, 5 bottom to top, 6 right to left;
// diagonals from the top-left (3), top-right (4), bottom-right (7) and bottom-left (8) corner.
constexpr uint32_t kGradientTopToBottom = 1;
constexpr uint32_t kGradientLeftToRight = 2;
constexpr uint32_t kLastGradientStyle = 8;

// The colours of a three-colour list that are used (not 0xFF000000), in order.
std::vector<COLORREF> UsableGradientColours(const uint32_t (&colours)[3]);
// The colour at position of a gradient of the given length through colours (at least two).
COLORREF GradientColourAt(const std::vector<COLORREF> &colours, int position, int length);
// Fills rect with the gradient of style; only tiles that meet limit are drawn.
void FillGradient(HDC dc, const RECT &rect, uint32_t style, const std::vector<COLORREF> &colours,
                  const RECT &limit);
// Draws the gradient frame just inside rect and shrinks rect by its widths; width is the frame
// width, at most half of the rectangle's width (height) on each side.
void DrawGradientFrame(HDC dc, RECT *rect, int width, const std::vector<COLORREF> &colours,
                       const RECT &limit);
