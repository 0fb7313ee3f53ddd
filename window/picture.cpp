// OleLoadPicture over an in-memory stream, drawing and rendering for controls.
#include "window/picture.h"

#include <cstring>

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

SIZE DecodedPicture::PixelSize() const {
    SIZE size = {0, 0};
    if (picture_ == nullptr)
        return size;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    HDC screen = GetDC(nullptr);
    // HIMETRIC units are hundredths of a millimetre: 2540 per inch.
    size.cx = MulDiv(width, GetDeviceCaps(screen, LOGPIXELSX), 2540);
    size.cy = MulDiv(height, GetDeviceCaps(screen, LOGPIXELSY), 2540);
    ReleaseDC(nullptr, screen);
    return size;
}

bool DecodedPicture::IsIcon() const {
    SHORT type = PICTYPE_NONE;
    if (picture_ != nullptr)
        picture_->get_Type(&type);
    return type == PICTYPE_ICON;
}

void DecodedPicture::Draw(HDC dc, const RECT &target) const {
    if (picture_ == nullptr)
        return;
    OLE_XSIZE_HIMETRIC width = 0;
    OLE_YSIZE_HIMETRIC height = 0;
    picture_->get_Width(&width);
    picture_->get_Height(&height);
    // The source rectangle runs bottom-up in HIMETRIC.
    picture_->Render(dc, target.left, target.top, target.right - target.left,
                     target.bottom - target.top, 0, height, width, -height, nullptr);
}

HANDLE DecodedPicture::RenderForButton(COLORREF background) const {
    if (picture_ == nullptr)
        return nullptr;
    if (IsIcon()) {
        OLE_HANDLE handle = 0;
        picture_->get_Handle(&handle);
        return CopyIcon(reinterpret_cast<HICON>(static_cast<uintptr_t>(handle)));
    }
    const SIZE size = PixelSize();
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
    Draw(memory, all);
    SelectObject(memory, old);
    DeleteDC(memory);
    return bitmap;
}
