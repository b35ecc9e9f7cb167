// TSkinGroupBox: a group box redrawn as a thin rounded line in the skin's shadow colour on the
// skin's face colour, its caption cut into the top line.
#pragma once

#include "skin/controls/SkinControl.h"

// FKind of a group-box skinner that paints the whole control itself (a framework control stands
// behind the window); 0 means the window paints first and the skinner paints over it.
constexpr int32_t GroupBoxPaintsAll = 1;

class TSkinGroupBox : public TSkinControl {
    QUIRN_CLASS(TSkinGroupBox, TSkinControl)
public:
    explicit TSkinGroupBox(TComponent* aOwner);

    void Attach(TPellixForm* skinForm, TSkinData* skinData, bool useSkinColor, TCanvas* canvas) override;
    bool BeforeMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const RECT& rect) override;
};
