#include "framework/graphics/Pen.h"

#include "framework/core/Publisher.h"

QUIRN_PUBLISH(TPen, p) {
    p.Property("Color", &TPen::Color, &TPen::SetColor).Identifiers(ColorIdents).Default(clBlack);
    p.Property("Mode", &TPen::Mode, &TPen::SetMode).Default(pmCopy);
    p.Property("Style", &TPen::Style, &TPen::SetStyle).Default(psSolid);
    p.Property("Width", &TPen::Width, &TPen::SetWidth).Default(1);
}

namespace {
constexpr int kPenStyleOf[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
constexpr int kRasterOperationOf[] = {R2_BLACK,       R2_WHITE,      R2_NOP,         R2_NOT,
                                      R2_COPYPEN,     R2_NOTCOPYPEN, R2_MERGEPENNOT, R2_MASKPENNOT,
                                      R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN,    R2_NOTMERGEPEN,
                                      R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,      R2_NOTXORPEN};
}  // namespace

TPen::TPen() = default;
TPen::~TPen() = default;

void TPen::Assign(const TPersistent* source) {
    if (const TPen* pen = ObjectAs<TPen>(source)) {
        if (pen == this) return;
        FColor = pen->FColor;
        FWidth = pen->FWidth;
        FStyle = pen->FStyle;
        FMode = pen->FMode;
        Changed();
        return;
    }
    inherited::Assign(source);
}

void TPen::SetColor(TColor value) {
    if (value == FColor) return;
    FColor = value;
    Changed();
}

void TPen::SetWidth(int32_t value) {
    if (value < 0 || value == FWidth) return;
    FWidth = value;
    Changed();
}

void TPen::SetStyle(TPenStyle value) {
    if (value == FStyle) return;
    FStyle = value;
    Changed();
}

void TPen::SetMode(TPenMode value) {
    if (value == FMode) return;
    FMode = value;
    NotifyChange();
}

int TPen::RasterOperation() const { return kRasterOperationOf[FMode]; }

HPEN TPen::Handle() {
    if (!FHandle) FHandle.reset(::CreatePen(kPenStyleOf[FStyle], FWidth, COLORREF(ColorToRGB(FColor))));
    return FHandle.get();
}

void TPen::SetHandle(HPEN handle) {
    LOGPEN pen{};
    if (handle && ::GetObjectW(handle, sizeof(pen), &pen) == sizeof(pen)) {
        FColor = TColor(pen.lopnColor);
        FWidth = pen.lopnWidth.x;
        FStyle = psSolid;
        for (int style = psSolid; style <= psInsideFrame; ++style)
            if (UINT(kPenStyleOf[style]) == (pen.lopnStyle & PS_STYLE_MASK)) FStyle = TPenStyle(style);
    }
    ReplaceHandle(FHandle, handle);
}
