// TSkinScrollbarH: the scroll-bar skinner of a bare window known only by its handle (a list inside
// another vendor's control, a simple combo box's list): the same two overlays as TSkinScrollbar,
// attached through the window's procedure.
#pragma once

#include "skin/controls/SkinControl.h"

class TWScrollbar;

class TSkinScrollbarH : public TSkinControl {
    QUIRN_CLASS(TSkinScrollbarH, TSkinControl)
public:
    explicit TSkinScrollbarH(TComponent* aOwner);
    ~TSkinScrollbarH() override;

    void AttachHandle(HWND handle, TSkinData* skinData, TPellixForm* skinForm, TCanvas* canvas) override;
    // The overlays go unless the window is already gone.
    void Detach() override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const RECT& rect) override;
    // A new skin: the overlays compose their bars again, then the window repaints.
    void SkinChanged() override;

    TWScrollbar* FHorzBar = nullptr;  // owned
    TWScrollbar* FVertBar = nullptr;  // owned
};
