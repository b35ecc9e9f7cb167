#include "framework/graphics/Brush.h"

#include "framework/core/Publisher.h"

QUIRN_PUBLISH(TBrush, p) {
    p.Property("Color", &TBrush::Color, &TBrush::SetColor).Identifiers(ColorIdents).Default(clWhite);
    p.Property("Style", &TBrush::Style, &TBrush::SetStyle).Default(bsSolid);
}

namespace {
constexpr int kHatchOf[] = {0, 0, HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL, HS_BDIAGONAL, HS_CROSS, HS_DIAGCROSS};
}

TBrush::TBrush() = default;
TBrush::~TBrush() = default;

void TBrush::Assign(const TPersistent* source) {
    if (const TBrush* brush = ObjectAs<TBrush>(source)) {
        if (brush == this) return;
        FColor = brush->FColor;
        FStyle = brush->FStyle;
        FBitmap = brush->FBitmap;
        FPatternHandle = brush->FPatternHandle;
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TBrush::SetColor(TColor value) {
    if (value == FColor && FStyle != bsClear) return;
    FColor = value;
    // Choosing a colour makes a clear brush solid again.
    if (FStyle == bsClear) FStyle = bsSolid;
    Changed();
}

void TBrush::SetStyle(TBrushStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

HBRUSH TBrush::Handle() {
    if (!FHandle) {
        if (HBITMAP pattern = FPatternHandle ? FPatternHandle() : nullptr) {
            FHandle.reset(::CreatePatternBrush(pattern));
        } else if (FStyle == bsClear) {
            LOGBRUSH hollow{BS_HOLLOW, 0, 0};
            FHandle.reset(::CreateBrushIndirect(&hollow));
        } else if (FStyle == bsSolid) {
            FHandle.reset(::CreateSolidBrush(COLORREF(ColorToRGB(FColor))));
        } else {
            FHandle.reset(::CreateHatchBrush(kHatchOf[FStyle], COLORREF(ColorToRGB(FColor))));
        }
    }
    return FHandle.get();
}

void TBrush::SetHandle(HBRUSH handle) {
    LOGBRUSH brush{};
    if (handle && ::GetObjectW(handle, sizeof(brush), &brush) == sizeof(brush)) {
        FColor = TColor(brush.lbColor);
        FBitmap = nullptr;
        FPatternHandle = nullptr;
        if (brush.lbStyle == BS_HOLLOW) {
            FStyle = bsClear;
        } else if (brush.lbStyle == BS_HATCHED) {
            FStyle = bsSolid;
            for (int style = bsHorizontal; style <= bsDiagCross; ++style)
                if (ULONG_PTR(kHatchOf[style]) == brush.lbHatch) FStyle = TBrushStyle(style);
        } else {
            FStyle = bsSolid;
        }
    }
    ReplaceHandle(FHandle, handle);
}
