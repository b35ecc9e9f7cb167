// TSkinButton: push buttons drawn from the skin's "Buttons" element in its normal, hover, pressed,
// focused or default, and disabled frames, with the mouse taken from the system button so the skin
// shows each state; the click comes from the skinner when the button goes up inside.
#pragma once

#include <memory>
#include <string>

#include "skin/controls/SkinControl.h"

class TBitmap;
class TCanvas;

// A control whose Tag is this shows its parent's background around the element's transparent parts.
constexpr int32_t ParentImageTag = 5555;

class TSkinButton : public TSkinControl {
    QUIRN_CLASS(TSkinButton, TSkinControl)
public:
    explicit TSkinButton(TComponent* aOwner);
    ~TSkinButton() override;

    void Attach(TPellixForm* skinForm, TSkinData* skinData, bool useSkinColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const RECT& rect) override;

    // Draws Text (its first "||" made a line break) in Bounds of Canvas with the alignment (DT_CENTER
    // centres it both ways), and the focus rectangle around it while focused.
    void DrawCaption(TCanvas& canvas, const RECT& bounds, UINT align, std::wstring& text);

    std::unique_ptr<TBitmap> FBuffer;  // the button is composed here
    bool FTransparent = false;

protected:
    // The button was clicked by the mouse: the control's Click, or BN_CLICKED to a bare window's parent.
    void ClickFromMouse();
};
