#include "framework/controls/CustomControl.h"

QUIRN_PUBLISH(TCustomControl, p) {}

TCustomControl::TCustomControl(TComponent* AOwner) : TWinControl(AOwner), FCanvas(std::make_unique<TCanvas>()) {}

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
