#include "framework/controls/CustomControl.h"

QUIRN_PUBLISH(TCustomControl, p) {}

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), FCanvas(std::make_unique<TCanvas>()) {}

TCustomControl::~TCustomControl() {
    // The window goes while the canvas still exists (paint messages may come).
    DestroyOrDetachWindow();
}

void TCustomControl::PaintWindow(HDC dc) {
    const TCanvasBinding bound(*FCanvas, dc);
    FCanvas->Font().Assign(FFont.get());
    FCanvas->Brush().SetColor(FColor);
    Paint();
}
