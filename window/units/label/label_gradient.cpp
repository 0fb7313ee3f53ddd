// Gradient colours, tiled gradient fills and the four-strip gradient frame of the label.
#include "window/units/label/label_gradient.h"

#include <algorithm>
#include <utility>

namespace {

constexpr int kTileSize = 50;
constexpr uint32_t kUnusedColour = 0xFF000000;

// Position along the gradient and its length, for a pixel at (x, y) of a width by height area.
struct GradientPoint {
    int position;
    int length;
};

GradientPoint PointOf(uint32_t style, int x, int y, int width, int height) {
    const int diagonal = 2 * std::min(width, height);
    switch (style) {
    case 2:
        return {x, width};
    case 3:
        return {x + y, diagonal};
    case 4:
        return {(width - 1 - x) + y, diagonal};
    case 5:
        return {height - 1 - y, height};
    case 6:
        return {width - 1 - x, width};
    case 7:
        return {(width - 1 - x) + (height - 1 - y), diagonal};
    case 8:
        return {x + (height - 1 - y), diagonal};
    default: // 1
        return {y, height};
    }
}

int Channel(COLORREF colour, int shift) {
    return static_cast<int>((colour >> shift) & 0xFF);
}

// The DIB pixel (blue, green, red, unused) of a COLORREF.
uint32_t PixelOf(COLORREF colour) {
    return static_cast<uint32_t>(Channel(colour, 0) << 16 | Channel(colour, 8) << 8 |
                                 Channel(colour, 16));
}

void ClipToPolygon(HDC dc, const POINT (&corners)[4]) {
    HRGN region = CreatePolygonRgn(corners, 4, WINDING);
    ExtSelectClipRgn(dc, region, RGN_AND);
    DeleteObject(region);
}

} // namespace

std::vector<COLORREF> UsableGradientColours(const uint32_t (&colours)[3]) {
    std::vector<COLORREF> usable;
    for (uint32_t colour : colours)
        if (colour != kUnusedColour)
            usable.push_back(colour & 0xFFFFFF);
    return usable;
}

COLORREF GradientColourAt(const std::vector<COLORREF> &colours, int position, int length) {
    const int spans = static_cast<int>(colours.size()) - 1;
    const int span = spans > 0 ? length / spans : 0;
    if (colours.empty())
        return 0;
    if (span <= 0)
        return colours.back();
    const int k = position / span;
    if (k >= spans)
        return colours.back();
    const int offset = position % span;
    int channels[3];
    for (int c = 0; c < 3; ++c) {
        const int from = Channel(colours[k], 8 * c);
        const int to = Channel(colours[k + 1], 8 * c);
        channels[c] = from + (to - from) * offset / span;
    }
    return RGB(channels[0], channels[1], channels[2]);
}

void FillGradient(HDC dc, const RECT &rect, uint32_t style, const std::vector<COLORREF> &colours,
                  const RECT &limit) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0 || colours.size() < 2)
        return;
    std::vector<uint32_t> pixels(kTileSize * kTileSize);
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    for (int top = 0; top < height; top += kTileSize) {
        for (int left = 0; left < width; left += kTileSize) {
            const int tileWidth = std::min(kTileSize, width - left);
            const int tileHeight = std::min(kTileSize, height - top);
            const RECT tile = {rect.left + left, rect.top + top, rect.left + left + tileWidth,
                               rect.top + top + tileHeight};
            RECT common;
            if (!IntersectRect(&common, &tile, &limit))
                continue;
            for (int y = 0; y < tileHeight; ++y)
                for (int x = 0; x < tileWidth; ++x) {
                    const GradientPoint point = PointOf(style, left + x, top + y, width, height);
                    pixels[y * tileWidth + x] =
                        PixelOf(GradientColourAt(colours, point.position, point.length));
                }
            info.bmiHeader.biWidth = tileWidth;
            info.bmiHeader.biHeight = -tileHeight; // top-down rows
            SetDIBitsToDevice(dc, tile.left, tile.top, tileWidth, tileHeight, 0, 0, 0, tileHeight,
                              pixels.data(), &info, DIB_RGB_COLORS);
        }
    }
}

void DrawGradientFrame(HDC dc, RECT *rect, int width, const std::vector<COLORREF> &colours,
                       const RECT &limit) {
    const RECT r = *rect;
    const int across = std::min(width, static_cast<int>(r.right - r.left) / 2);
    const int down = std::min(width, static_cast<int>(r.bottom - r.top) / 2);
    const RECT top = {r.left, r.top, r.right, r.top + down};
    const RECT bottom = {r.left, r.bottom - down, r.right, r.bottom};
    FillGradient(dc, top, kGradientTopToBottom, colours, limit);
    FillGradient(dc, bottom, kGradientTopToBottom, colours, limit);
    // The side strips meet the top and bottom strips along the corners' diagonals.
    const POINT left[4] = {{r.left, r.top},
                           {r.left + across, r.top + down},
                           {r.left + across, r.bottom - down},
                           {r.left, r.bottom}};
    const POINT right[4] = {{r.right, r.top},
                            {r.right - across, r.top + down},
                            {r.right - across, r.bottom - down},
                            {r.right, r.bottom}};
    const RECT leftStrip = {r.left, r.top, r.left + across, r.bottom};
    const RECT rightStrip = {r.right - across, r.top, r.right, r.bottom};
    for (const auto &[corners, strip] :
         {std::pair{&left, leftStrip}, std::pair{&right, rightStrip}}) {
        const int saved = SaveDC(dc);
        ClipToPolygon(dc, *corners);
        FillGradient(dc, strip, kGradientLeftToRight, colours, limit);
        RestoreDC(dc, saved);
    }
    *rect = {r.left + across, r.top + down, r.right - across, r.bottom - down};
}
