// Swatch.h: TSwatch, the worked example of a new control in docs/framework.md:
// a windowless colour swatch that fills itself with Color, frames itself in
// FrameColor while Selected, and toggles Selected when clicked.
#pragma once

#include "framework/controls/GraphicControl.h"

// A clickable colour swatch. Selected and FrameColor are published, so forms
// can store them; OnChange fires when Selected changes (not while loading).
class TSwatch : public TGraphicControl {
    QUIRN_CLASS(TSwatch, TGraphicControl)
public:
    explicit TSwatch(TComponent* owner);

    bool Selected() const { return FSelected; }
    void SetSelected(bool value);
    TColor FrameColor() const { return FFrameColor; }
    void SetFrameColor(TColor value);
    TNotifyEvent OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = value; }

protected:
    void Paint() override;
    void Click() override;

private:
    bool FSelected = false;
    TColor FFrameColor = clBlack;
    TNotifyEvent FOnChange;
};
