// Panel.h: TCustomPanel and TPanel, a container drawn by the framework like a
// classic panel: raised or sunken bevels, a border of its colour between them,
// and a caption placed by Alignment and VerticalAlignment.
#pragma once

#include "framework/controls/CustomControl.h"

// Vertical placement of a caption inside its box.
enum TVerticalAlignment : uint8_t { taAlignTop, taAlignBottom, taVerticalCenter };
QUIRN_ENUM(TVerticalAlignment, taAlignTop, taAlignBottom, taVerticalCenter)

// Draws width rings of a 3D frame just inside rect (top and left edges in topColor, bottom and right
// edges in bottomColor) and shrinks rect by width on every side.
void Frame3D(TCanvas& canvas, RECT& rect, TColor topColor, TColor bottomColor, int32_t width);

// The panel's behaviour, for TPanel to publish. It holds child controls, aligned inside its bevels
// and border; it paints every pixel of its client area itself (no erase before painting), and with
// ParentBackground the parent's background and picture show through instead of Color. BevelInner,
// BevelOuter and BevelWidth are the panel's own rings inside its client area (they hide the
// non-client bevel of TWinControl, which BevelKind still draws); changing them or BorderWidth sends
// CM_BORDERCHANGED. BorderStyle bsSingle adds the sunken window edge; changing it recreates the window.
class TCustomPanel : public TCustomControl {
    QUIRN_CLASS(TCustomPanel, TCustomControl)
public:
    explicit TCustomPanel(TComponent* owner);

    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TVerticalAlignment VerticalAlignment() const { return FVerticalAlignment; }
    void SetVerticalAlignment(TVerticalAlignment value);
    bool ShowCaption() const { return FShowCaption; }
    void SetShowCaption(bool value);
    TBevelCut BevelInner() const { return FPanelBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FPanelBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    // Width in pixels of each bevel ring (at least 1).
    int32_t BevelWidth() const { return FPanelBevelWidth; }
    void SetBevelWidth(int32_t value);
    // Pixels of Color between the outer and the inner bevel (0 or more).
    int32_t BorderWidth() const { return FBorderWidth; }
    void SetBorderWidth(int32_t value);
    // bsNone or bsSingle (other values count as bsSingle).
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    // True: a change of size repaints the whole panel. False: only the bevels, the border and the
    // caption are repainted (and what the change uncovered), for panels whose inside stays put.
    bool FullRepaint() const { return FFullRepaint; }
    void SetFullRepaint(bool value) { FFullRepaint = value; }

    // The client area less bevels and border: where aligned children go.
    void AdjustClientRect(RECT& rect) override;
    // The caption's rectangle in client coordinates (empty without a caption to show).
    RECT CaptionRect();

protected:
    void CreateParams(TCreateParams& params) override;
    void Paint() override;
    bool Dispatch(TMessage& message) override;
    // Fills rect with the parent's background and picture under it (ParentBackground), else with Color.
    void PaintBackground(const RECT& rect);

private:
    int32_t FrameWidth() const;
    RECT InteriorOf(RECT rect) const;
    RECT CaptionRectIn(const RECT& client);
    UINT CaptionFlags() const;
    void FrameChanged();
    void InvalidateFrameAndCaption(const RECT& client);
    void WMSize(TMessage& message);

    TAlignment FAlignment = taCenter;
    TVerticalAlignment FVerticalAlignment = taVerticalCenter;
    bool FShowCaption = true;
    TBevelCut FPanelBevelInner = bvNone;
    TBevelCut FPanelBevelOuter = bvRaised;
    int32_t FPanelBevelWidth = 1;
    int32_t FBorderWidth = 0;
    TBorderStyle FBorderStyle = bsNone;
    bool FFullRepaint = true;
    RECT FPaintedClient{0, 0, 0, 0};  // the client area the frame was last laid out in
};

// A container with bevels and a caption, for grouping controls and for tool and status strips.
class TPanel : public TCustomPanel {
    QUIRN_CLASS(TPanel, TCustomPanel)
public:
    explicit TPanel(TComponent* owner);
};
