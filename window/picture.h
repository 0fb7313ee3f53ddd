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
    // Size in pixels of the screen.
    SIZE PixelSize() const;
    bool IsIcon() const;
    // Draws the picture stretched into target.
    void Draw(HDC dc, const RECT &target) const;
    // A new bitmap of the picture over a background colour, or a new icon for icon pictures.
    HANDLE RenderForButton(COLORREF background) const;

private:
    IPicture *picture_ = nullptr;
};
