// HintWindow.h: THintWindow, the small pop-up window that shows a control's
// hint text next to the mouse.
#pragma once

#include <string>

#include "framework/controls/CustomControl.h"

// The pop-up that shows a hint: a top-most tool window without a parent that
// never takes the focus or the mouse (clicks go to what lies below).
// TApplication keeps one; a program may make its own for its own hints.
class THintWindow : public TCustomControl {
    QUIRN_CLASS(THintWindow, TCustomControl)
public:
    explicit THintWindow(TComponent* owner);

    // The screen rectangle (at the origin) the hint needs, wrapped at maxWidth.
    virtual RECT CalcHintRect(int32_t maxWidth, const std::string& hint);
    // Shows hint in rect (screen coordinates, kept on the screen) without activating.
    virtual void ActivateHint(RECT rect, const std::string& hint);
    // Hides the hint (the window is kept for the next one).
    void ReleaseHandle();

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    bool Dispatch(TMessage& message) override;
};
