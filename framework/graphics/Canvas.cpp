#include "framework/graphics/Canvas.h"

#include "framework/graphics/Graphic.h"
#include "framework/rtl/SysUtils.h"

QUIRN_DEFINE_CLASS(TCanvas)

TCanvas::TCanvas() {
    ::InitializeCriticalSection(&FLock);
    FFont.SetOnChange(TNotifyEvent(this, &TCanvas::FontChanged));
    FPen.SetOnChange(TNotifyEvent(this, &TCanvas::PenChanged));
    FBrush.SetOnChange(TNotifyEvent(this, &TCanvas::BrushChanged));
}

TCanvas::~TCanvas() {
    // Give the DC its own objects back before font, brush and pen delete theirs.
    SetHandle(nullptr);
    ::DeleteCriticalSection(&FLock);
}

HDC TCanvas::Handle() { return RequiredState(kFontValid | kPenValid | kBrushValid); }

void TCanvas::SetHandle(HDC dc) {
    if (dc == FHandle) return;
    if (FHandle) DeselectHandles();
    FHandle = dc;
    FState = 0;
    if (FHandle && FStretchMode) ::SetStretchBltMode(FHandle, FStretchMode);
}

void TCanvas::SetStretchMode(int value) {
    FStretchMode = value;
    if (FHandle && FStretchMode) ::SetStretchBltMode(FHandle, FStretchMode);
}

void TCanvas::DeselectHandles() {
    if (!FHandle) return;
    FFontSelection.Restore();
    FPenSelection.Restore();
    FBrushSelection.Restore();
    FState = 0;
}

HDC TCanvas::RequiredState(unsigned wanted) {
    if (!FHandle) {
        CreateHandle();
        if (!FHandle) throw EInvalidOperation("Canvas does not allow drawing");
    }
    const unsigned missing = wanted & ~FState;
    if (missing & kFontValid) {
        FFontSelection.Select(FHandle, FFont.Handle());
        ::SetTextColor(FHandle, COLORREF(ColorToRGB(FFont.Color())));
    }
    if (missing & kPenValid) {
        FPenSelection.Select(FHandle, FPen.Handle());
        ::SetROP2(FHandle, FPen.RasterOperation());
    }
    if (missing & kBrushValid) {
        FBrushSelection.Select(FHandle, FBrush.Handle());
        // Text and hatches take the brush colour as background; a clear brush leaves it alone.
        ::SetBkColor(FHandle, COLORREF(ColorToRGB(FBrush.Color())));
        ::SetBkMode(FHandle, FBrush.Style() == bsClear ? TRANSPARENT : OPAQUE);
    }
    FState |= missing;
    return FHandle;
}

void TCanvas::FontChanged(TObject*) {
    if (FHandle && (FState & kFontValid)) {
        FFontSelection.Select(FHandle, ::GetStockObject(SYSTEM_FONT));
        FState &= ~unsigned(kFontValid);
    }
}

void TCanvas::PenChanged(TObject*) {
    if (FHandle && (FState & kPenValid)) {
        FPenSelection.Select(FHandle, ::GetStockObject(BLACK_PEN));
        FState &= ~unsigned(kPenValid);
    }
}

void TCanvas::BrushChanged(TObject*) {
    if (FHandle && (FState & kBrushValid)) {
        FBrushSelection.Select(FHandle, ::GetStockObject(HOLLOW_BRUSH));
        FState &= ~unsigned(kBrushValid);
    }
}

POINT TCanvas::PenPos() {
    POINT position{};
    ::GetCurrentPositionEx(RequiredState(0), &position);
    return position;
}

void TCanvas::SetPenPos(POINT value) { ::MoveToEx(RequiredState(0), value.x, value.y, nullptr); }

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect) {
    HDC target = RequiredState(kBrushValid);
    HDC from = source.RequiredState(kBrushValid);
    Changing();
    ::StretchBlt(target, dest.left, dest.top, dest.right - dest.left, dest.bottom - dest.top, from, sourceRect.left,
                 sourceRect.top, sourceRect.right - sourceRect.left, sourceRect.bottom - sourceRect.top, FCopyMode);
    Changed();
}

void TCanvas::Draw(int x, int y, TGraphic& graphic) {
    if (graphic.Empty()) return;
    const RECT rect{x, y, x + graphic.Width(), y + graphic.Height()};
    StretchDraw(rect, graphic);
}

void TCanvas::StretchDraw(const RECT& rect, TGraphic& graphic) {
    if (graphic.Empty()) return;
    RequiredState(kFontValid | kPenValid | kBrushValid);
    Changing();
    graphic.DrawTo(*this, rect);
    Changed();
}

void TCanvas::FillRect(const RECT& rect) {
    HDC dc = RequiredState(kBrushValid);
    Changing();
    ::FillRect(dc, &rect, FBrush.Handle());
    Changed();
}

void TCanvas::FrameRect(const RECT& rect) {
    HDC dc = RequiredState(kBrushValid);
    Changing();
    ::FrameRect(dc, &rect, FBrush.Handle());
    Changed();
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
    HDC dc = RequiredState(kPenValid | kBrushValid);
    Changing();
    ::Rectangle(dc, left, top, right, bottom);
    Changed();
}

void TCanvas::Ellipse(int left, int top, int right, int bottom) {
    HDC dc = RequiredState(kPenValid | kBrushValid);
    Changing();
    ::Ellipse(dc, left, top, right, bottom);
    Changed();
}

void TCanvas::MoveTo(int x, int y) { ::MoveToEx(RequiredState(kPenValid), x, y, nullptr); }

void TCanvas::LineTo(int x, int y) {
    HDC dc = RequiredState(kPenValid | kBrushValid);
    Changing();
    ::LineTo(dc, x, y);
    Changed();
}

void TCanvas::Polyline(std::span<const POINT> points) {
    HDC dc = RequiredState(kPenValid | kBrushValid);
    Changing();
    ::Polyline(dc, points.data(), int(points.size()));
    Changed();
}

void TCanvas::Polygon(std::span<const POINT> points) {
    HDC dc = RequiredState(kPenValid | kBrushValid);
    Changing();
    ::Polygon(dc, points.data(), int(points.size()));
    Changed();
}

void TCanvas::TextOutput(int x, int y, std::string_view text) {
    HDC dc = RequiredState(kFontValid | kBrushValid);
    Changing();
    ::ExtTextOutA(dc, x, y, 0, nullptr, text.data(), UINT(text.size()), nullptr);
    Changed();
}

void TCanvas::TextOutput(int x, int y, std::wstring_view text) {
    HDC dc = RequiredState(kFontValid | kBrushValid);
    Changing();
    ::ExtTextOutW(dc, x, y, 0, nullptr, text.data(), UINT(text.size()), nullptr);
    Changed();
}

void TCanvas::TextRect(const RECT& rect, int x, int y, std::string_view text) {
    HDC dc = RequiredState(kFontValid | kBrushValid);
    Changing();
    const UINT options = ETO_CLIPPED | (FBrush.Style() != bsClear ? ETO_OPAQUE : 0);
    ::ExtTextOutA(dc, x, y, options, &rect, text.data(), UINT(text.size()), nullptr);
    Changed();
}

void TCanvas::TextRect(const RECT& rect, int x, int y, std::wstring_view text) {
    HDC dc = RequiredState(kFontValid | kBrushValid);
    Changing();
    const UINT options = ETO_CLIPPED | (FBrush.Style() != bsClear ? ETO_OPAQUE : 0);
    ::ExtTextOutW(dc, x, y, options, &rect, text.data(), UINT(text.size()), nullptr);
    Changed();
}

SIZE TCanvas::TextExtent(std::string_view text) {
    SIZE size{};
    ::GetTextExtentPoint32A(RequiredState(kFontValid), text.data(), int(text.size()), &size);
    return size;
}

SIZE TCanvas::TextExtent(std::wstring_view text) {
    SIZE size{};
    ::GetTextExtentPoint32W(RequiredState(kFontValid), text.data(), int(text.size()), &size);
    return size;
}

TColor TCanvas::Pixels(int x, int y) { return TColor(::GetPixel(RequiredState(0), x, y)); }

void TCanvas::SetPixels(int x, int y, TColor color) {
    HDC dc = RequiredState(0);
    Changing();
    ::SetPixel(dc, x, y, COLORREF(ColorToRGB(color)));
    Changed();
}

void TCanvas::Lock() {
    ::EnterCriticalSection(&FLock);
    ++FLockCount;
}

bool TCanvas::TryLock() {
    if (!::TryEnterCriticalSection(&FLock)) return false;
    ++FLockCount;
    return true;
}

void TCanvas::Unlock() {
    if (FLockCount <= 0) return;
    --FLockCount;
    ::LeaveCriticalSection(&FLock);
}

void TCanvas::Changing() {
    if (FOnChanging) FOnChanging(this);
}

void TCanvas::Changed() {
    if (FOnChange) FOnChange(this);
}
