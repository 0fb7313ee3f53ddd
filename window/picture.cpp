// OleLoadPicture over an in-memory stream, drawing and rendering for controls.
#include "window/picture.h"

#include <cstring>

#include "window/dpi_scale.h"

bool DecodedPicture::Decode(const uint8_t *bytes, uint32_t length) {
    Reset();
    if (bytes == nullptr || length == 0)
        return false;
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, length);
    if (memory == nullptr)
        return false;
    std::memcpy(GlobalLock(memory), bytes, length);
    GlobalUnlock(memory);
    IStream *stream = nullptr;
    if (FAILED(CreateStreamOnHGlobal(memory, TRUE, &stream))) {
        GlobalFree(memory);
        return false;
    }
    void *picture = nullptr;
    const HRESULT result =
        OleLoadPicture(stream, static_cast<LONG>(length), FALSE, IID_IPicture, &picture);
    stream->Release();
    if (FAILED(result) || picture == nullptr)
        return false;
    picture_ = static_cast<IPicture *>(picture);
    return true;
}

void DecodedPicture::Reset() {
    if (picture_ != nullptr)
        picture_->Release();
    picture_ = nullptr;
}

SIZE DecodedPicture::PixelSize(int dpi) const {
    SIZE size = {0, 0};
    if (picture_ == nullptr)
        return size;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    HDC screen = GetDC(nullptr);
    // HIMETRIC units are hundredths of a millimetre: 2540 per inch.
    // OleLoadPicture gave a bitmap its HIMETRIC size at the screen's DPI: this finds its pixels.
    size.cx = UnitsToPixels(MulDiv(width, GetDeviceCaps(screen, LOGPIXELSX), 2540), dpi);
    size.cy = UnitsToPixels(MulDiv(height, GetDeviceCaps(screen, LOGPIXELSY), 2540), dpi);
    ReleaseDC(nullptr, screen);
    return size;
}

bool DecodedPicture::IsIcon() const {
    SHORT type = PICTYPE_NONE;
    if (picture_ != nullptr)
        picture_->get_Type(&type);
    return type == PICTYPE_ICON;
}

void DecodedPicture::Draw(HDC dc, const RECT &target, int dpi) const {
    if (picture_ == nullptr)
        return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    // At 96 DPI the device context keeps its own stretch mode, as it always did; scaled for a
    // DPI, pictures are averaged rather than have pixels dropped or doubled.
    const int savedMode = dpi != kUnitDpi ? SetStretchBltMode(dc, HALFTONE) : 0;
    POINT savedOrigin;
    if (savedMode != 0)
        SetBrushOrgEx(dc, 0, 0, &savedOrigin);
    // The source rectangle runs bottom-up in HIMETRIC.
    picture_->Render(dc, target.left, target.top, target.right - target.left,
                     target.bottom - target.top, 0, height, width, -height, nullptr);
    if (savedMode != 0) {
        SetStretchBltMode(dc, savedMode);
        SetBrushOrgEx(dc, savedOrigin.x, savedOrigin.y, nullptr);
    }
}

HANDLE DecodedPicture::RenderForButton(COLORREF background, int dpi) const {
    if (picture_ == nullptr)
        return nullptr;
    if (IsIcon()) {
        OLE_HANDLE handle = 0;
        picture_->get_Handle(&handle);
        return CopyIcon(reinterpret_cast<HICON>(static_cast<uintptr_t>(handle)));
    }
    const SIZE size = PixelSize(dpi);
    if (size.cx <= 0 || size.cy <= 0)
        return nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, size.cx, size.cy);
    ReleaseDC(nullptr, screen);
    if (bitmap == nullptr) {
        DeleteDC(memory);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(memory, bitmap);
    const RECT all = {0, 0, size.cx, size.cy};
    HBRUSH brush = CreateSolidBrush(background);
    FillRect(memory, &all, brush);
    DeleteObject(brush);
    Draw(memory, all, dpi);
    SelectObject(memory, old);
    DeleteDC(memory);
    return bitmap;
}
