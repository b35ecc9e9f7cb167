// CustomControl.h: TCustomControl, a windowed control that paints itself on
// a canvas (Paint), for controls no system window class draws.
#pragma once

#include <memory>

#include "framework/controls/WinControl.h"
#include "framework/graphics/Canvas.h"

// Base of windowed controls that draw themselves: override Paint and draw on
// Canvas, which is bound to the paint DC (with the control's font and colour)
// only while Paint runs.
class TCustomControl : public TWinControl {
    QUIRN_CLASS(TCustomControl, TWinControl)
public:
    explicit TCustomControl(TComponent* owner);
    ~TCustomControl() override;

    TCanvas* Canvas() const { return FCanvas.get(); }

protected:
    void PaintWindow(HDC dc) override;
    virtual void Paint() {}

private:
    std::unique_ptr<TCanvas> FCanvas;
};
