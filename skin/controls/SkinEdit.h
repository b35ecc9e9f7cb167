// TSkinEdit: one-line edits with a flat skinned border (the skin's shadow colour outside, two white
// lines inside) drawn over the non-client edge after the edit has painted itself; a spin button
// inside the edit is handed to an up-down skinner.
#pragma once

#include "skin/controls/SkinControl.h"

class TSkinEdit : public TSkinControl {
    QUIRN_CLASS(TSkinEdit, TSkinControl)
public:
    explicit TSkinEdit(TComponent* aOwner);

    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const RECT& rect) override;

    // The skinner of the spin button found inside the edit; nil until one is found.
    TSkinControl* FUpDown = nullptr;

protected:
    // WM_PRINT: the border into the printing DC (the window DC when there is none).
    void PrintBorder(HDC dc);
    // Looks for a spin button among the edit's child windows and gives it its skinner.
    void FindUpDown();
};
