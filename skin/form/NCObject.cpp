// TNCObject's state machine and TWinSysButton's painting.
#include "skin/form/NCObject.h"

#include "skin/data/SkinData.h"
#include "skin/form/PellixFormSkinner.h"

QUIRN_DEFINE_CLASS(TNCObject)
QUIRN_DEFINE_CLASS(TWinSysButton)

TNCObject::~TNCObject() {
    // The form must not keep pointing at an object that is going.
    if (FForm != nullptr && FForm->FHotObject == this) FForm->FHotObject = nullptr;
}

void TNCObject::MouseDown() {
    if (FForm->FHotObject != nullptr && FForm->FHotObject != this) FForm->FHotObject->MouseLeave();
    if (!FVisible) return;
    FForm->FHotObject = this;
    FState = NCStatePressed;
    Paint();
}

void TNCObject::MouseUp() {
    if (!FVisible) return;
    FState = NCStateHot;
    Paint();
}

void TNCObject::MouseMove() {
    if (FForm->FHotObject == this) return;
    if (FForm->FHotObject != nullptr) FForm->FHotObject->MouseLeave();
    if (!FVisible) return;
    FForm->FHotObject = this;
    FState = NCStateHot;
    Paint();
}

void TNCObject::MouseLeave() {
    if (!FVisible) return;
    FForm->FHotObject = nullptr;
    FState = NCStateNormal;
    Paint();
    if (TSkinData* Data = FForm->FSkinData) {
        Data->HideButtonHint();
        Data->FHintClock = 0;
    }
}

void TWinSysButton::Paint() { FForm->DrawSysButton(*this, FState); }

const char* CaptionButtonHint(int32_t Action) {
    switch (Action) {
    case ButtonActionClose:
    case ButtonActionMDIClose:
    case ButtonActionMDIClose2: return "Close";
    case ButtonActionMaximize:
    case ButtonActionMaximize2: return "Maximize";
    case ButtonActionMinimize:
    case ButtonActionMDIMinimize:
    case ButtonActionMinimize2:
    case ButtonActionMDIMinimize2: return "Minimize";
    case ButtonActionMDIRestore:
    case ButtonActionMDIRestore2: return "Restore";
    default: return "";
    }
}
