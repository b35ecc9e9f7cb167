// The solid fills of the control skinners.
#include "skin/controls/SkinFills.h"

#include "framework/win/GdiObject.h"

void FillColorRect(HDC DC, const RECT& Rect, TColor Color) {
    if (DC == nullptr) return;
    win::BrushHandle Brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color))));
    if (Brush) FillRect(DC, &Rect, Brush.get());
}

void FrameColorRect(HDC DC, const RECT& Rect, TColor Color) {
    if (DC == nullptr) return;
    win::BrushHandle Brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color))));
    if (Brush) FrameRect(DC, &Rect, Brush.get());
}
