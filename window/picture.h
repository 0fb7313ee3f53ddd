// Pictures held as bytes in picture-valued properties, decoded by the platform's OleLoadPicture
// (BMP, JPEG, GIF, ICO). Bytes it cannot decode give no picture.
#pragma once

#include <ole2.h>
#include <olectl.h>
#include <windows.h>

#include <cstdint>

class DecodedPicture {
public:
    DecodedPicture() = default;
    DecodedPicture(const DecodedPicture &) = delete;
    DecodedPicture &operator=(const DecodedPicture &) = delete;
    ~DecodedPicture() { Reset(); }

    bool Decode(const uint8_t *bytes, uint32_t length);
    void Reset();
    bool Valid() const { return picture_ != nullptr; }
    // The natural size in pixels at dpi: a picture's pixels are units, as all geometry.
    SIZE PixelSize(int dpi) const;
    bool IsIcon() const;
    // Draws the picture stretched into target, smoothly where the window's DPI scales it.
    void Draw(HDC dc, const RECT &target, int dpi) const;
    // A new bitmap of the picture at its natural size at dpi over a background colour, or a new
    // icon for icon pictures.
    HANDLE RenderForButton(COLORREF background, int dpi) const;

private:
    IPicture *picture_ = nullptr;
};
