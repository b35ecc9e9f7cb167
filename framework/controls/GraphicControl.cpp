#include "framework/controls/GraphicControl.h"

QUIRN_PUBLISH(TGraphicControl, p) {}

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), FCanvas(std::make_unique<TCanvas>()) {}

TGraphicControl::~TGraphicControl() = default;

bool TGraphicControl::Dispatch(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        // The parent passes its DC with the origin moved to this control.
        HDC dc = reinterpret_cast<HDC>(message.WParam);
        if (!dc) return true;
        const TCanvasBinding bound(*FCanvas, dc);
        FCanvas->Font().Assign(FFont.get());
        Paint();
        return true;
    }
    return TControl::Dispatch(message);
}
