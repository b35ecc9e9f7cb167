// TCanvas: drawing on a device context with a font, brush and pen it keeps selected; copies, pictures,
// shapes, text and single pixels. Derived canvases (bitmap, control) make their DC on demand.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "framework/graphics/Brush.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "framework/graphics/Pen.h"
#include "framework/rtl/Delegate.h"
#include "framework/rtl/Object.h"
#include "framework/win/DeviceContext.h"

class TGraphic;

// Draws on a device context with its own font, brush and pen, which it selects into the DC as each
// operation needs them and deselects before the DC is let go. A plain TCanvas draws on a DC someone
// else owns (SetHandle); drawing without a DC raises EInvalidOperation. Coordinates are the DC's.
class TCanvas : public TPersistent {
    QUIRN_CLASS(TCanvas, TPersistent)
public:
    TCanvas();
    ~TCanvas() override;

    // The DC, made on demand by derived canvases, with font, brush and pen selected.
    HDC Handle();
    // Uses a DC owned by someone else (nullptr detaches; the previous DC gets its objects back).
    void SetHandle(HDC dc);
    bool HandleAllocated() const { return FHandle != nullptr; }

    TFont& Font() { return FFont; }
    TBrush& Brush() { return FBrush; }
    TPen& Pen() { return FPen; }
    void SetFont(const TFont& value) { FFont.Assign(&value); }
    void SetBrush(const TBrush& value) { FBrush.Assign(&value); }
    void SetPen(const TPen& value) { FPen.Assign(&value); }

    // Raster operation of CopyRect (SRCCOPY by default).
    DWORD CopyMode() const { return FCopyMode; }
    void SetCopyMode(DWORD value) { FCopyMode = value; }

    // Stretch mode of StretchBlt (COLORONCOLOR, HALFTONE, ...); kept across DC changes of the canvas.
    // 0 leaves the DC's own mode.
    int StretchMode() const { return FStretchMode; }
    void SetStretchMode(int value);

    POINT PenPos();
    void SetPenPos(POINT value);

    // Copies (stretching) sourceRect of source into dest with CopyMode.
    void CopyRect(const RECT& dest, TCanvas& source, const RECT& sourceRect);
    // Draws a picture at its natural size / stretched to rect (transparent pictures leave their key out).
    void Draw(int x, int y, TGraphic& graphic);
    void StretchDraw(const RECT& rect, TGraphic& graphic);

    void FillRect(const RECT& rect);
    void FrameRect(const RECT& rect);
    void Rectangle(int left, int top, int right, int bottom);
    void Rectangle(const RECT& rect) { Rectangle(rect.left, rect.top, rect.right, rect.bottom); }
    void Ellipse(int left, int top, int right, int bottom);
    void MoveTo(int x, int y);
    void LineTo(int x, int y);
    void Polyline(std::span<const POINT> points);
    void Polygon(std::span<const POINT> points);

    // Text in the ANSI code page or UTF-16, with the font's colour; the pen position is unchanged.
    // (Named so as not to meet the TextOut macro of windows.h.)
    void TextOutput(int x, int y, std::string_view text);
    void TextOutput(int x, int y, std::wstring_view text);
    // Text at (x, y) clipped to rect; the brush fills rect unless it is clear.
    void TextRect(const RECT& rect, int x, int y, std::string_view text);
    void TextRect(const RECT& rect, int x, int y, std::wstring_view text);
    SIZE TextExtent(std::string_view text);
    SIZE TextExtent(std::wstring_view text);
    int TextWidth(std::string_view text) { return TextExtent(text).cx; }
    int TextHeight(std::string_view text) { return TextExtent(text).cy; }

    // One pixel (CLR_INVALID outside the DC's surface).
    TColor Pixels(int x, int y);
    void SetPixels(int x, int y, TColor color);

    // Serialises drawing from several threads; nestable.
    void Lock();
    bool TryLock();
    void Unlock();
    int LockCount() const { return FLockCount; }

    // Called before and after each drawing operation.
    const TNotifyEvent& OnChange() const { return FOnChange; }
    void SetOnChange(const TNotifyEvent& handler) { FOnChange = handler; }
    const TNotifyEvent& OnChanging() const { return FOnChanging; }
    void SetOnChanging(const TNotifyEvent& handler) { FOnChanging = handler; }

protected:
    // Derived canvases make their DC here (calling SetHandle); the base has none to make.
    virtual void CreateHandle() {}
    // Selects the stock objects back so font, brush and pen may be changed or freed.
    void DeselectHandles();
    virtual void Changing();
    virtual void Changed();

private:
    enum StateBit : unsigned { kFontValid = 1, kPenValid = 2, kBrushValid = 4 };
    // Makes sure the DC exists and carries the wanted objects; raises when there is no DC.
    HDC RequiredState(unsigned wanted);
    void FontChanged(TObject* sender);
    void PenChanged(TObject* sender);
    void BrushChanged(TObject* sender);

    HDC FHandle = nullptr;
    unsigned FState = 0;
    TFont FFont;
    TPen FPen;
    TBrush FBrush;
    DWORD FCopyMode = SRCCOPY;
    int FStretchMode = 0;
    // The DC's own font, pen and brush, selected back by DeselectHandles.
    win::SelectedObject FFontSelection;
    win::SelectedObject FPenSelection;
    win::SelectedObject FBrushSelection;
    CRITICAL_SECTION FLock;
    int FLockCount = 0;
    TNotifyEvent FOnChange;
    TNotifyEvent FOnChanging;
};

// TCanvasBinding: lends a DC someone else owns (a paint or owner-draw DC) to a canvas for one scope and
// takes it back at the end on every path, so the DC gets its own font, pen and brush back.
class TCanvasBinding {
public:
    TCanvasBinding(TCanvas& canvas, HDC dc) : FCanvas(canvas) { canvas.SetHandle(dc); }
    TCanvasBinding(const TCanvasBinding&) = delete;
    TCanvasBinding& operator=(const TCanvasBinding&) = delete;
    ~TCanvasBinding() { FCanvas.SetHandle(nullptr); }

private:
    TCanvas& FCanvas;
};
