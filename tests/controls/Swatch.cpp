#include "Swatch.h"

namespace {
constexpr int32_t kDefaultSize = 24;
constexpr int kFrameWidth = 2;  // pixels of frame inside the bounds
}  // namespace

// Publishing also registers TSwatch by name, so form streams can create it.
QUIRN_PUBLISH(TSwatch, p) {
    p.Property("Selected", &TSwatch::Selected, &TSwatch::SetSelected).Default(false);
    p.Property("FrameColor", &TSwatch::FrameColor, &TSwatch::SetFrameColor).Identifiers(ColorIdents).Default(clBlack);
    p.Property("OnChange", &TSwatch::OnChange, &TSwatch::SetOnChange);
}

TSwatch::TSwatch(TComponent* owner) : TGraphicControl(owner) {
    FWidth = kDefaultSize;
    FHeight = kDefaultSize;
    FControlStyle.Include(csOpaque);  // Paint covers every pixel: the parent need not erase below
}

void TSwatch::SetSelected(bool value) {
    if (FSelected == value) return;
    FSelected = value;
    Invalidate();
    if (FOnChange && !ComponentState().Contains(csLoading)) FOnChange(this);
}

void TSwatch::SetFrameColor(TColor value) {
    if (FFrameColor == value) return;
    FFrameColor = value;
    Invalidate();
}

void TSwatch::Paint() {
    TCanvas& canvas = *Canvas();  // bound to the parent's paint DC, origin at our top-left
    const RECT client = ClientRect();
    canvas.Brush().SetColor(Color());
    canvas.FillRect(client);
    if (!FSelected) return;
    canvas.Brush().SetColor(FFrameColor);
    RECT frame = client;
    for (int i = 0; i < kFrameWidth; ++i) {
        canvas.FrameRect(frame);
        InflateRect(&frame, -1, -1);
    }
}

void TSwatch::Click() {
    SetSelected(!FSelected);
    TGraphicControl::Click();  // OnClick
}
