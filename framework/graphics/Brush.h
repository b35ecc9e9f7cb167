// TBrush: the fill of shapes and backgrounds (colour, hatch style or pattern bitmap); owns the HBRUSH
// made from those properties. Publishes Color and Style.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>

#include "framework/graphics/Color.h"
#include "framework/core/TypeInfo.h"
#include "framework/graphics/GraphicsObject.h"
#include "framework/win/GdiObject.h"

class TBitmap;

// A solid fill, no fill (bsClear), or one of the system's hatch patterns.
enum TBrushStyle : uint8_t {
    bsSolid,
    bsClear,
    bsHorizontal,
    bsVertical,
    bsFDiagonal,
    bsBDiagonal,
    bsCross,
    bsDiagCross
};
QUIRN_ENUM(TBrushStyle, bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross)

// The fill a canvas or control paints with. Owns its HBRUSH, remade after each change; a handle
// taken from Handle() stays valid only until the next change.
class TBrush : public TGraphicsObject {
    QUIRN_CLASS(TBrush, TGraphicsObject)
public:
    TBrush();
    ~TBrush() override;

    void Assign(const TPersistent* source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    TBrushStyle Style() const { return FStyle; }
    void SetStyle(TBrushStyle value);
    // Pattern bitmap (not owned; the brush copies it when its handle is made). Overrides the style.
    // SetBitmap is defined with TBitmap (Bitmap.cpp): a bitmap draws through a canvas, which paints with
    // brushes, so this file comes before TBitmap and reaches the pattern's pixels through FPatternHandle.
    TBitmap* Bitmap() const { return FBitmap; }
    void SetBitmap(TBitmap* value);

    // The HBRUSH for the current properties, made on first use; owned by the brush.
    HBRUSH Handle();
    // Takes ownership of a brush handle and reads colour and style back from it.
    void SetHandle(HBRUSH handle);
    bool HandleAllocated() const override { return static_cast<bool>(FHandle); }

protected:
    HGDIOBJ DetachHandle() override { return FHandle.release(); }

private:
    TColor FColor = clWhite;
    TBrushStyle FStyle = bsSolid;
    TBitmap* FBitmap = nullptr;
    // The handle of FBitmap's pixels, nullptr while it is empty; set together with FBitmap.
    std::function<HBITMAP()> FPatternHandle;
    win::BrushHandle FHandle;
};
