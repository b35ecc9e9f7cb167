// ScrollBox.h: TControlScrollBar, TScrollingWinControl and TScrollBox: windowed
// containers whose content may be larger than their client area and is scrolled
// with the window's own scroll bars (forms are scrolling controls too).
#pragma once

#include <memory>

#include "framework/controls/WinControl.h"

// Which of its two scroll bars a TControlScrollBar is.
enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };
QUIRN_ENUM(TScrollBarKind, sbHorizontal, sbVertical)

class TScrollingWinControl;

// One scroll bar of a scrolling control, owned by it: the extent of the content along the bar
// (Range), how far the content is scrolled (Position), the step of an arrow click (Increment),
// whether the bar may show (Visible) and whether dragging the thumb scrolls at once (Tracking).
// The bar shows while Visible and Range exceeds the visible extent; otherwise Position is 0.
class TControlScrollBar : public TPersistent {
    QUIRN_CLASS(TControlScrollBar, TPersistent)
public:
    static constexpr int32_t kDefaultIncrement = 8;
    static constexpr int32_t kMaxIncrement = 32767;

    TControlScrollBar(TScrollingWinControl& control, TScrollBarKind kind);

    TScrollBarKind Kind() const { return FKind; }
    // The content's extent in pixels; with the control's AutoScroll it is computed from the
    // children, and setting it switches AutoScroll off.
    int32_t Range() const { return FRange; }
    void SetRange(int32_t value);
    // Pixels the content is scrolled by, kept within 0 .. Range less the visible extent; setting it
    // moves the children.
    int32_t Position() const { return FPosition; }
    void SetPosition(int32_t value);
    // Pixels an arrow click (or a wheel line) scrolls, 1 .. kMaxIncrement.
    int32_t Increment() const { return FIncrement; }
    void SetIncrement(int32_t value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    // True: the content follows the thumb while it is dragged; false: it moves when the thumb is let go.
    bool Tracking() const { return FTracking; }
    void SetTracking(bool value) { FTracking = value; }
    // Blank pixels AutoScroll keeps beyond the farthest child, and ScrollInView keeps around a control.
    int32_t Margin() const { return FMargin; }
    void SetMargin(int32_t value);

    // Whether the bar shows: Visible, and Range exceeds the visible extent.
    bool IsScrollBarVisible() const { return FShown; }
    // The visible extent of the content along the bar (the client area's width or height).
    int32_t PageSize() const { return FPage; }
    // Position while the bar shows, else 0.
    int32_t ScrollPos() const { return FShown ? FPosition : 0; }
    // Carries out a scroll bar request (SB_LINEDOWN, SB_THUMBTRACK, ...) as the window's bar sends it.
    void ScrollMessage(WORD code);

    void Assign(const TPersistent* source) override;
    TPersistent* GetOwner() const override;

private:
    friend class TScrollingWinControl;
    bool IsRangeStored() const;
    int32_t MaxPosition() const { return FShown ? FRange - FPage : 0; }
    int SystemBar() const { return FKind == sbHorizontal ? SB_HORZ : SB_VERT; }
    // Brings the window's bar in line with Range, page and Position.
    void ApplyToWindow(HWND window) const;

    TScrollingWinControl& FControl;
    TScrollBarKind FKind;
    int32_t FRange = 0;
    int32_t FPosition = 0;
    int32_t FIncrement = kDefaultIncrement;
    int32_t FMargin = 0;
    bool FVisible = true;
    bool FTracking = false;
    bool FShown = false;  // laid out by the control (UpdateScrollBars)
    int32_t FPage = 0;
};

// A windowed control that scrolls its children: with AutoScroll the ranges follow the children
// (every child not aligned to the far edges counts with its right and bottom edge; alRight and
// alBottom children add their size), scrolling moves the children, the mouse wheel scrolls, and a
// child that gets the focus is scrolled into view. Owns its two TControlScrollBars.
class TScrollingWinControl : public TWinControl {
    QUIRN_CLASS(TScrollingWinControl, TWinControl)
public:
    explicit TScrollingWinControl(TComponent* owner);
    ~TScrollingWinControl() override;

    TControlScrollBar* HorzScrollBar() const { return FHorzScrollBar.get(); }
    void SetHorzScrollBar(TControlScrollBar* value) { FHorzScrollBar->Assign(value); }
    TControlScrollBar* VertScrollBar() const { return FVertScrollBar.get(); }
    void SetVertScrollBar(TControlScrollBar* value) { FVertScrollBar->Assign(value); }
    // Switching it off sets both ranges to 0 (the content scrolls back and the bars go).
    bool AutoScroll() const { return FAutoScroll; }
    void SetAutoScroll(bool value);

    // Moves every child by dx, dy pixels (and the window's pixels with them); the scroll positions
    // are not changed (TControlScrollBar::SetPosition calls this).
    void ScrollBy(int32_t dx, int32_t dy);
    // Scrolls so that control, a child or grandchild, lies inside the client area (its top left
    // corner when it is larger).
    void ScrollInView(TControl* control);
    // Batches of child changes: the ranges are computed once, at the last EnableAutoRange.
    void DisableAutoRange() { ++FAutoRangeLock; }
    void EnableAutoRange();
    // Computes the ranges from the children (with AutoScroll) and lays the bars out.
    void CalcAutoRange();
    // Lays the bars out for the current ranges and client size, keeps the positions inside them and
    // shows the bars in the window.
    void UpdateScrollBars();

    void AlignControls(TControl* control, RECT& rect) override;
    // Aligned children are laid out in the scrolled content: at least the client area, as large as
    // the ranges, moved by the positions.
    void AdjustClientRect(RECT& rect) override;

protected:
    void CreateHandle() override;
    bool Dispatch(TMessage& message) override;
    void Loaded() override;
    bool FAutoScroll = true;

private:
    friend class TControlScrollBar;
    // Decides which bars show and the page of each for the current client size.
    void LayoutScrollBars();
    bool CanCalcAutoRange() const;
    void WMMouseWheel(TMessage& message);

    std::unique_ptr<TControlScrollBar> FHorzScrollBar;
    std::unique_ptr<TControlScrollBar> FVertScrollBar;
    int32_t FAutoRangeLock = 0;
    bool FUpdatingScrollBars = false;
    int32_t FWheelDelta = 0;  // wheel movement not yet scrolled (less than one notch)
};

// A bordered container that scrolls its children (AutoScroll on by default).
class TScrollBox : public TScrollingWinControl {
    QUIRN_CLASS(TScrollBox, TScrollingWinControl)
public:
    explicit TScrollBox(TComponent* owner);

    // bsNone or bsSingle (the sunken edge; other values count as bsSingle); changing it
    // recreates the window.
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

protected:
    void CreateParams(TCreateParams& params) override;

private:
    TBorderStyle FBorderStyle = bsSingle;
};
