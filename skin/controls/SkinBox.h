// TSkinBox: panels, tool bars and similar containers. It takes over no message: while skinned the
// container only wears the skin's face colour, and gets its own colour back when skinning ends.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinBox : public TSkinControl {
    QUIRN_CLASS(TSkinBox, TSkinControl)
public:
    explicit TSkinBox(TComponent* aOwner);

    // Keeps the arguments and gives the skin colour when asked for; the WindowProc stays the control's.
    void Attach(TPellixForm* skinForm, TSkinData* skinData, bool useSkinColor, TCanvas* canvas) override;
    void Detach() override;
    void AfterMessage(TMessage& message) override;
};
