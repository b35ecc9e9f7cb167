// TSkinBox: the container skinner.
#include "skin/controls/SkinBox.h"

#include "framework/controls/WinControl.h"

QUIRN_DEFINE_CLASS(TSkinBox)

TSkinBox::TSkinBox(TComponent* AOwner) : TSkinControl(AOwner) {}

void TSkinBox::Attach(TPellixForm* SkinForm, TSkinData* SkinData, bool UseSkinColor, TCanvas* Canvas) {
    if (FAttached || !BindControl(SkinForm, SkinData, UseSkinColor, Canvas)) return;
    FAttached = true;
    FStatus = ControlSkinAttached;
}

void TSkinBox::Detach() {
    if (FUseSkinColor && FControl != nullptr) RestoreSkinColor();
    FStatus = ControlSkinDetached;
}

void TSkinBox::AfterMessage(TMessage&) {}
