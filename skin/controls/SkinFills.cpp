// The solid fills of the control skinners.
#include "skin/controls/SkinFills.h"

#include "framework/win/GdiObject.h"

void FillColorRect(HDC dc, const RECT& rect, TColor color) {
    if (dc == nullptr) return;
    win::BrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color))));
    if (brush) FillRect(dc, &rect, brush.get());
}

void FrameColorRect(HDC dc, const RECT& rect, TColor color) {
    if (dc == nullptr) return;
    win::BrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(color))));
    if (brush) FrameRect(dc, &rect, brush.get());
}
