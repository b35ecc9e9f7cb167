// GroupBox.h: TCustomGroupBox and TGroupBox, a framed container with an
// optional caption in its top edge; its children sit inside the frame.
#pragma once

#include "framework/controls/CustomControl.h"

// The group box's behaviour, for TGroupBox to publish: a frame with the
// caption set into its top edge; aligned children stay inside the frame.
class TCustomGroupBox : public TCustomControl {
    QUIRN_CLASS(TCustomGroupBox, TCustomControl)
public:
    explicit TCustomGroupBox(TComponent* owner);

    // The client area less the frame and the caption's height.
    void AdjustClientRect(RECT& rect) override;

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    bool Dispatch(TMessage& message) override;
    int32_t CaptionHeight();
};

// A framed, captioned container for other controls.
class TGroupBox : public TCustomGroupBox {
    QUIRN_CLASS(TGroupBox, TCustomGroupBox)
public:
    explicit TGroupBox(TComponent* owner);
};
