// TSkinStatusBar: a status bar painted completely from the skin: its face, the edge of every panel
// (or of the one simple panel) from "StatusBarEdges", the texts, the size grip from "ExtraImages",
// then the windowless children and the application's own panel drawing on top. It composes in the
// shared back buffer and copies the result in one BitBlt.
#pragma once

#include "skin/controls/SkinControl.h"

class TCanvas;
class TCustomStatusBar;

class TSkinStatusBar : public TSkinControl {
    QUIRN_CLASS(TSkinStatusBar, TSkinControl)
public:
    explicit TSkinStatusBar(TComponent* aOwner);

    bool BeforeMessage(TMessage& message) override;
    void DrawSkin(HDC dc, const RECT& rect) override;

private:
    TCustomStatusBar* StatusBar() const;
    // One panel's edge (frame of "StatusBarEdges", or a one-pixel bevel without its bitmap).
    void DrawPanelEdge(TCanvas& canvas, const RECT& rect, int32_t frame);
    // A panel's text, vertically centred in Rect, aligned by Align (DT_LEFT, DT_CENTER, DT_RIGHT).
    void DrawPanelText(TCanvas& canvas, const RECT& rect, const std::wstring& text, UINT align);
    void DrawSizeGrip(TCanvas& canvas, const RECT& rect);
};
