// TSkinBox: the container skinner.
#include "skin/controls/SkinBox.h"

#include "framework/controls/WinControl.h"

QUIRN_DEFINE_CLASS(TSkinBox)

TSkinBox::TSkinBox(TComponent* aOwner) : TSkinControl(aOwner) {}

void TSkinBox::Attach(TPellixForm* skinForm, TSkinData* skinData, bool useSkinColor, TCanvas* canvas) {
    if (FAttached || !BindControl(skinForm, skinData, useSkinColor, canvas)) return;
    FAttached = true;
    FStatus = ControlSkinAttached;
}

void TSkinBox::Detach() {
    if (FUseSkinColor && FControl != nullptr) RestoreSkinColor();
    FStatus = ControlSkinDetached;
}

void TSkinBox::AfterMessage(TMessage&) {}
