// TNCObject: a clickable object of a skinned window's non-client area (a caption button or a
// menu-bar button) with the normal / hot / pressed state machine; TWinSysButton: one caption button
// made from a caption-button element of the skin.
#pragma once

#include <windows.h>

#include <cstdint>

#include "framework/rtl/Object.h"
#include "skin/form/SkinFormConstants.h"

class TPellixForm;
class TDataSkinSysButton;

class TNCObject : public TObject {
    QUIRN_CLASS(TNCObject, TObject)
public:
    explicit TNCObject(TPellixForm* form) : FForm(form) {}
    ~TNCObject() override;

    // State changes (each repaints the object); an invisible object ignores them.
    virtual void MouseDown();
    virtual void MouseUp();
    virtual void MouseMove();
    virtual void MouseLeave();
    virtual void Paint() {}

    TPellixForm* FForm;  // owning form skinner
    RECT FBounds{};      // window coordinates
    bool FVisible = false;
    int32_t FState = NCStateNormal;
    bool FEnabled = true;
};

class TWinSysButton : public TNCObject {
    QUIRN_CLASS(TWinSysButton, TNCObject)
public:
    TWinSysButton(TPellixForm* form, TDataSkinSysButton* element) : TNCObject(form), FElement(element) {}

    void Paint() override;

    TDataSkinSysButton* FElement;  // the skin's element (owned by the skin data)
};

// The hint text of a caption button's action; empty for actions without hint.
const char* CaptionButtonHint(int32_t action);
