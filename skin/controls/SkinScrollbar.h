// TSkinScrollbar: the skinner of a scrolling framework control (memos, list boxes, scroll boxes,
// grids). The control keeps its system scroll bars and does all the scrolling; two overlays
// (TWScrollbar) lie over the bars and show them from the skin, following every scroll, size and
// visibility change. It can also draw a flat border around the control.
#pragma once

#include "skin/controls/SkinControl.h"

class TWScrollbar;

class TSkinScrollbar : public TSkinControl {
    QUIRN_CLASS(TSkinScrollbar, TSkinControl)
public:
    explicit TSkinScrollbar(TComponent* aOwner);
    ~TSkinScrollbar() override;

    // The attach of a scrolling control (the form skinner calls it instead of Attach): the
    // border choice, the skin colour of a "FixedColor", the two overlays, then the WindowProc.
    virtual void AttachScrolling(TWinControl* control, TSkinData* skinData, TPellixForm* skinForm, TCanvas* canvas);
    // Gives back "FixedColor"; the overlays go unless the control's window is already gone.
    void Detach() override;
    bool BeforeMessage(TMessage& message) override;
    void AfterMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const RECT& rect) override;
    // The skin's face colour for "FixedColor" again; the overlays show the new skin at their next paint.
    void SkinChanged() override;

    TWScrollbar* FHorzBar = nullptr;  // owned
    TWScrollbar* FVertBar = nullptr;  // owned
    bool FOwnBorder = false;          // the skinner draws the control's border

protected:
    // The flat border (skin's shadow outside, face inside) into the window DC (0: taken here).
    void DrawBorder(HDC dc);
    // Both overlays laid over their bars again.
    void UpdateBars();
    // Both overlays freed.
    void FreeBars();
    // "FixedColor" (integer kind) takes the skin's face colour; its own is kept in FOldColor.
    void ApplyFixedColor();
};

// FKind of a TSkinScrollbar: a scrolling control, and one with a single bar, which never gets the
// skinner's border.
constexpr int32_t ScrollBarsKind = 0;
constexpr int32_t SingleScrollBarKind = 1;

// A scroll notification of the control (WM_HSCROLL, WM_VSCROLL): its bar's overlay shows the part
// being scrolled (the request code is the part code) at its next paint.
void ShowScrollRequest(const TMessage& message, TWScrollbar* horz, TWScrollbar* vert);

// Fills the square between a control's two bars (both showing) in its window DC: the bars' client
// rectangles moved by the client area's offset in the window.
void FillScrollCorner(TSkinControl& skinner, HDC dc, const TWScrollbar& vert, const TWScrollbar& horz);
