// TPen: the lines and outlines of shapes (colour, width, dash style, mix mode); owns the HPEN made from
// those properties. Publishes Color, Mode, Style and Width.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/graphics/Color.h"
#include "framework/core/TypeInfo.h"
#include "framework/graphics/GraphicsObject.h"
#include "framework/win/GdiObject.h"

// Solid, dashed or dotted lines, no line (psClear), or a solid line kept inside a shape's bounds.
enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
QUIRN_ENUM(TPenStyle, psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame)

// Mix modes: how the pen combines with the destination (each maps to one binary raster operation).
enum TPenMode : uint8_t {
    pmBlack,
    pmWhite,
    pmNop,
    pmNot,
    pmCopy,
    pmNotCopy,
    pmMergePenNot,
    pmMaskPenNot,
    pmMergeNotPen,
    pmMaskNotPen,
    pmMerge,
    pmNotMerge,
    pmMask,
    pmNotMask,
    pmXor,
    pmNotXor
};
QUIRN_ENUM(TPenMode, pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot, pmMergeNotPen,
           pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor)

// The lines and outlines a canvas draws. Owns its HPEN, remade after each change. Width in pixels.
class TPen : public TGraphicsObject {
    QUIRN_CLASS(TPen, TGraphicsObject)
public:
    TPen();
    ~TPen() override;

    void Assign(const TPersistent* source) override;

    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    int32_t Width() const { return FWidth; }
    void SetWidth(int32_t value);
    TPenStyle Style() const { return FStyle; }
    void SetStyle(TPenStyle value);
    // The mix mode is applied to the DC by the canvas; it is not part of the HPEN.
    TPenMode Mode() const { return FMode; }
    void SetMode(TPenMode value);
    // The R2_ code of Mode for SetROP2.
    int RasterOperation() const;

    // The HPEN for the current properties, made on first use; owned by the pen.
    HPEN Handle();
    // Takes ownership of a pen handle and reads colour, width and style back from it.
    void SetHandle(HPEN handle);
    bool HandleAllocated() const override { return static_cast<bool>(FHandle); }

protected:
    HGDIOBJ DetachHandle() override { return FHandle.release(); }

private:
    TColor FColor = clBlack;
    int32_t FWidth = 1;
    TPenStyle FStyle = psSolid;
    TPenMode FMode = pmCopy;
    win::PenHandle FHandle;
};
