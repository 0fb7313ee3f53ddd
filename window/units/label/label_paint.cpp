// The label's paint routine: gradient frame, picture by mode, gradient or plain background, and
// the caption with its alignment, word wrap and lettering effect.
#include <algorithm>
#include <string>

#include "window/dpi_scale.h"
#include "window/units/edit_box/unit_look.h"
#include "window/units/label/label_gradient.h"
#include "window/units/label/label_unit.h"

namespace {

enum LetteringEffect : uint32_t { kPlain = 0, kRaised = 1, kSunken = 2, kShadowed = 3 };
enum PictureMode : uint32_t { kNaturalSize = 0, kTiled = 1, kScaledToFit = 2 };

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);

UINT CaptionFormat(const LabelProperties &p) {
    UINT format = DT_NOPREFIX;
    if (p.horizontalAlignment == 1)
        format |= DT_CENTER;
    else if (p.horizontalAlignment == 2)
        format |= DT_RIGHT;
    if (p.wordWrap)
        return format | DT_WORDBREAK | DT_VCENTER; // DT_VCENTER has no effect without SINGLELINE
    format |= DT_SINGLELINE;
    if (p.verticalAlignment == 1)
        format |= DT_VCENTER;
    else if (p.verticalAlignment == 2)
        format |= DT_BOTTOM;
    return format;
}

void DrawCaption(HDC dc, const std::wstring &text, RECT rect, COLORREF colour, UINT format) {
    SetTextColor(dc, colour);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

RECT Offset(RECT rect, int by) {
    OffsetRect(&rect, by, by);
    return rect;
}

// The caption as the window holds it: drawn wide, so that no code page comes between.
std::wstring WindowTextOf(HWND window) {
    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(
        static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

} // namespace

void CLabelUnit::Paint(HDC dc) {
    const LabelProperties &p = properties;
    RECT clip;
    if (GetClipBox(dc, &clip) == NULLREGION || IsRectEmpty(&clip))
        return;
    RECT r;
    GetClientRect(m_hWnd, &r);
    // The frame's width, the picture's natural size, the font and the lettering's offsets are
    // units: everything is drawn at the window's DPI.
    const int dpi = WindowDpi(m_hWnd);

    if (p.border == kGradientFrameBorder && static_cast<int32_t>(p.frameWidth) > 0) {
        const std::vector<COLORREF> colours = UsableGradientColours(p.frameColours);
        if (colours.size() >= 2)
            DrawGradientFrame(dc, &r, UnitsToPixels(static_cast<int>(p.frameWidth), dpi), colours,
                              clip);
    }
    RECT area;
    HRGN background = CreateRectRgn(0, 0, 0, 0);
    if (IntersectRect(&area, &clip, &r))
        SetRectRgn(background, area.left, area.top, area.right, area.bottom);
    const COLORREF backgroundColour = ResolveUnitColour(p.backgroundColour);

    if (!p.picture.empty() && !picture_.Valid() && !pictureUnusable_)
        pictureUnusable_ =
            !picture_.Decode(p.picture.data(), static_cast<uint32_t>(p.picture.size()));
    if (picture_.Valid()) {
        const SIZE size = picture_.PixelSize(dpi);
        const int saved = SaveDC(dc);
        IntersectClipRect(dc, r.left, r.top, r.right, r.bottom);
        HBRUSH under = CreateSolidBrush(backgroundColour);
        if (p.pictureMode == kTiled) {
            FillRect(dc, &r, under);
            for (int y = r.top; size.cy > 0 && y < r.bottom; y += size.cy)
                for (int x = r.left; size.cx > 0 && x < r.right; x += size.cx) {
                    const RECT tile = {x, y, x + size.cx, y + size.cy};
                    RECT common;
                    if (IntersectRect(&common, &tile, &clip))
                        picture_.Draw(dc, tile, dpi);
                }
            SetRectRgn(background, 0, 0, 0, 0);
        } else {
            int width = size.cx, height = size.cy;
            RECT placed = {r.left, r.top, r.left + width, r.top + height};
            if (p.pictureMode == kScaledToFit) {
                const int areaWidth = r.right - r.left, areaHeight = r.bottom - r.top;
                if (width > areaWidth || height > areaHeight) {
                    const double scale = std::min(static_cast<double>(areaWidth) / width,
                                                  static_cast<double>(areaHeight) / height);
                    width = static_cast<int>(width * scale);
                    height = static_cast<int>(height * scale);
                }
                placed.left = r.left + (areaWidth - width) / 2;
                placed.top = r.top + (areaHeight - height) / 2;
                placed.right = placed.left + width;
                placed.bottom = placed.top + height;
            }
            FillRect(dc, &placed, under);
            picture_.Draw(dc, placed, dpi);
            HRGN pictureRegion = CreateRectRgnIndirect(&placed);
            CombineRgn(background, background, pictureRegion, RGN_DIFF);
            DeleteObject(pictureRegion);
        }
        DeleteObject(under);
        RestoreDC(dc, saved);
    } else if (p.gradientStyle >= 1 && p.gradientStyle <= kLastGradientStyle) {
        const std::vector<COLORREF> colours = UsableGradientColours(p.gradientColours);
        if (colours.size() >= 2) {
            FillGradient(dc, r, p.gradientStyle, colours, clip);
            SetRectRgn(background, 0, 0, 0, 0);
        }
    }
    HBRUSH brush = CreateSolidBrush(backgroundColour);
    FillRgn(dc, background, brush);
    DeleteObject(brush);
    DeleteObject(background);

    const std::wstring text = WindowTextOf(m_hWnd);
    if (text.empty())
        return;
    HGDIOBJ previous = SelectObject(dc, Font());
    const UINT format = CaptionFormat(p);
    SetBkMode(dc, TRANSPARENT);
    switch (p.letteringEffect) {
    case kRaised:
        DrawCaption(dc, text, Offset(r, UnitsToPixels(1, dpi)), kWhite, format);
        break;
    case kSunken:
        DrawCaption(dc, text, r, kWhite, format);
        r = Offset(r, UnitsToPixels(1, dpi));
        break;
    case kShadowed:
        DrawCaption(dc, text, Offset(r, UnitsToPixels(2, dpi)), kBlack, format);
        break;
    default:
        break;
    }
    DrawCaption(dc, text, r, p.textColour & 0xFFFFFF, format);
    SelectObject(dc, previous);
}
