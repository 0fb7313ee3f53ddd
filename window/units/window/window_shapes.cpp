// The window shapes: ellipse, rounded rectangle, ring and the 26 outlines of the
// WindowShapeTable, scaled to the window's size.
#include <algorithm>
#include <vector>

#include "window/units/window/win_form_unit.h"

namespace {

constexpr uint16_t kEnd = 65535;
constexpr uint32_t kFirstOutlineShape = 4;
constexpr uint32_t kOutlineCount = 26;
constexpr int kFull = 32767;

// Outlines of shapes 4 to 29, each a closed path in 0..32767 ended by 65535.
const uint16_t kOutline4[] = {16383, 0, 32767, 32767, 0, 32767, kEnd}; // triangle up
const uint16_t kOutline5[] = {0, 0, 32767, 0, 16383, 32767, kEnd};     // triangle down
const uint16_t kOutline6[] = {0, 0, 32767, 16383, 0, 32767, kEnd};     // triangle right
const uint16_t kOutline7[] = {32767, 0, 32767, 32767, 0, 16383, kEnd}; // triangle left
const uint16_t kOutline8[] = {16383, 0,     32767, 12516, 26018, 32767,
                              6749,  32767, 0,     12516, kEnd}; // pentagon
const uint16_t kOutline9[] = {0, 0, 32767, 0, 0, 32767, kEnd};   // corner top-left
const uint16_t kOutline10[] = {8191,  0,    24576, 0, 32767, 16383, 24576,
                               32767, 8191, 32767, 0, 16383, kEnd}; // hexagon
const uint16_t kOutline11[] = {9598,  0,    23169, 0, 32767, 9598, 32767, 23169, 23169,
                               32767, 9598, 32767, 0, 23169, 0,    9598,  kEnd};      // octagon
const uint16_t kOutline12[] = {16383, 0, 32767, 16383, 16383, 32767, 0, 16383, kEnd}; // diamond
const uint16_t kOutline13[] = {16383, 0,     20234, 12516, 32767, 12516, 22650,
                               20251, 26502, 32767, 16383, 25032, 6265,  32767,
                               10116, 20251, 0,     12516, 12532, 12516, kEnd}; // five-pointed star
const uint16_t kOutline14[] = {8191, 0, 32767, 0, 24576, 32767, 0, 32767, kEnd}; // parallelogram
const uint16_t kOutline15[] = {8191, 0, 24576, 0, 32767, 32767, 0, 32767, kEnd}; // trapezoid
const uint16_t kOutline16[] = {0,     8191,  20479, 8191,  20479, 0,     32767, 16383,
                               20479, 32767, 20479, 24576, 0,     24576, kEnd}; // arrow right
const uint16_t kOutline17[] = {32767, 8191,  12288, 8191,  12288, 0,     0,   16383,
                               12288, 32767, 12288, 24576, 32767, 24576, kEnd}; // arrow left
const uint16_t kOutline18[] = {8191,  32767, 8191,  12288, 0,     12288, 16383, 0,
                               32767, 12288, 24576, 12288, 24576, 32767, kEnd}; // arrow up
const uint16_t kOutline19[] = {8191,  0,     24576, 0,     24576, 20479, 32767, 20479,
                               16383, 32767, 0,     20479, 8191,  20479, kEnd}; // arrow down
const uint16_t kOutline20[] = {10922, 0,     21845, 0,     21845, 10922, 32767, 10922, 32767,
                               21845, 21845, 21845, 21845, 32767, 10922, 32767, 10922, 21845,
                               0,     21845, 0,     10922, 10922, 10922, kEnd}; // cross
const uint16_t kOutline21[] = {0,    0,     32767, 0,     32767, 24576, 12288, 24576,
                               4096, 32767, 6144,  24576, 0,     24576, kEnd}; // speech bubble
const uint16_t kOutline22[] = {0,     0, 24576, 0,    32767, 16383, 24576,
                               32767, 0, 32767, 8191, 16383, kEnd};                   // chevron
const uint16_t kOutline23[] = {16383, 0, 32767, 32767, 16383, 24576, 0, 32767, kEnd}; // dart
const uint16_t kOutline24[] = {0,     0,     32767, 0,     32767, 32767,
                               16383, 24576, 0,     32767, kEnd}; // banner
const uint16_t kOutline25[] = {16383, 0, 32767, 8191, 32767, 24576, 16383,
                               32767, 0, 24576, 0,    8191,  kEnd};     // upright hexagon
const uint16_t kOutline26[] = {0, 0, 32767, 32767, 0, 32767, kEnd};     // corner bottom-left
const uint16_t kOutline27[] = {32767, 0, 32767, 32767, 0, 32767, kEnd}; // corner bottom-right
const uint16_t kOutline28[] = {0, 0, 32767, 0, 32767, 32767, kEnd};     // corner top-right
const uint16_t kOutline29[] = {0, 0,     32767, 0,     32767, 32767,
                               0, 32767, 16383, 16383, kEnd}; // notched rectangle

const uint16_t *const kWindowShapeTable[kOutlineCount] = {
    kOutline4,  kOutline5,  kOutline6,  kOutline7,  kOutline8,  kOutline9,  kOutline10,
    kOutline11, kOutline12, kOutline13, kOutline14, kOutline15, kOutline16, kOutline17,
    kOutline18, kOutline19, kOutline20, kOutline21, kOutline22, kOutline23, kOutline24,
    kOutline25, kOutline26, kOutline27, kOutline28, kOutline29};

} // namespace

const uint16_t *WindowShapeOutline(uint32_t shape) {
    if (shape < kFirstOutlineShape || shape >= kFirstOutlineShape + kOutlineCount)
        return nullptr;
    return kWindowShapeTable[shape - kFirstOutlineShape];
}

HRGN CreateShapeRegion(uint32_t shape, int width, int height) {
    switch (shape) {
    case 0:
        return nullptr;
    case 1:
        return CreateEllipticRgn(0, 0, width, height);
    case 2: {
        const int corner = std::min(width / 5, height / 5);
        return CreateRoundRectRgn(0, 0, width, height, corner, corner);
    }
    case 3: {
        HRGN ring = CreateEllipticRgn(0, 0, width, height);
        HRGN inner =
            CreateEllipticRgn(width / 4, height / 4, width - width / 4, height - height / 4);
        CombineRgn(ring, ring, inner, RGN_DIFF);
        DeleteObject(inner);
        return ring;
    }
    default:
        break;
    }
    const uint16_t *outline = WindowShapeOutline(shape);
    if (outline == nullptr)
        return nullptr;
    std::vector<POINT> points;
    for (const uint16_t *at = outline; at[0] != kEnd && at[1] != kEnd; at += 2)
        points.push_back({MulDiv(at[0], width, kFull), MulDiv(at[1], height, kFull)});
    return CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
}
