// GraphicControl.h: TGraphicControl, a control without a window of its own.
// Its parent paints it (Paint on a canvas over the parent's DC) and routes the
// mouse to it.
#pragma once

#include <memory>

#include "framework/controls/Control.h"
#include "framework/graphics/Canvas.h"

// Base of windowless controls: override Paint and draw on Canvas. The parent
// window paints it (with the origin moved to its top-left and clipped to it)
// and passes it the mouse messages over it.
class TGraphicControl : public TControl {
    QUIRN_CLASS(TGraphicControl, TControl)
public:
    explicit TGraphicControl(TComponent* owner);
    ~TGraphicControl() override;

    // The canvas Paint draws on; valid only while painting.
    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    bool Dispatch(TMessage& message) override;
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> FCanvas;
};
