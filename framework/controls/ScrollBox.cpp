#include "framework/controls/ScrollBox.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>
#include <vector>

QUIRN_PUBLISH(TControlScrollBar, p) {
    p.Property("Increment", &TControlScrollBar::Increment, &TControlScrollBar::SetIncrement)
        .Default(TControlScrollBar::kDefaultIncrement);
    p.Property("Margin", &TControlScrollBar::Margin, &TControlScrollBar::SetMargin).Default(0);
    p.Property("Range", &TControlScrollBar::Range, &TControlScrollBar::SetRange)
        .Stored(&TControlScrollBar::IsRangeStored)
        .Default(0);
    p.Property("Position", &TControlScrollBar::Position, &TControlScrollBar::SetPosition).Default(0);
    p.Property("Tracking", &TControlScrollBar::Tracking, &TControlScrollBar::SetTracking).Default(false);
    p.Property("Visible", &TControlScrollBar::Visible, &TControlScrollBar::SetVisible).Default(true);
}

QUIRN_PUBLISH(TScrollingWinControl, p) {
    p.Property("HorzScrollBar", &TScrollingWinControl::HorzScrollBar, &TScrollingWinControl::SetHorzScrollBar);
    p.Property("VertScrollBar", &TScrollingWinControl::VertScrollBar, &TScrollingWinControl::SetVertScrollBar);
    p.Property("AutoScroll", &TScrollingWinControl::AutoScroll, &TScrollingWinControl::SetAutoScroll).Default(true);
}

QUIRN_PUBLISH(TScrollBox, p) {
    p.Property("BorderStyle", &TScrollBox::BorderStyle, &TScrollBox::SetBorderStyle).Default(bsSingle);
    p.Property("OnResize", &TScrollBox::OnResize, &TScrollBox::SetOnResize);
}

namespace {

constexpr int32_t kDefaultWidth = 185;
constexpr int32_t kDefaultHeight = 41;
constexpr UINT kDefaultWheelLines = 3;

// Scrolls bar so that the span lo..hi (client coordinates along the bar) lies within 0..extent,
// its start first when it does not fit.
void ScrollSpanInView(TControlScrollBar& bar, int32_t lo, int32_t hi, int32_t extent) {
    const int32_t margin = bar.Margin();
    if (lo - margin < 0)
        bar.SetPosition(bar.Position() + lo - margin);
    else if (hi + margin > extent)
        bar.SetPosition(bar.Position() + std::min(hi + margin - extent, lo - margin));
}

}  // namespace

// ---- TControlScrollBar -----------------------------------------------------

TControlScrollBar::TControlScrollBar(TScrollingWinControl& control, TScrollBarKind kind)
    : FControl(control), FKind(kind) {}

TPersistent* TControlScrollBar::GetOwner() const { return &FControl; }

bool TControlScrollBar::IsRangeStored() const { return !FControl.AutoScroll(); }

void TControlScrollBar::SetRange(int32_t value) {
    FControl.FAutoScroll = false;
    FRange = std::max(value, 0);
    FControl.UpdateScrollBars();
}

void TControlScrollBar::SetPosition(int32_t value) {
    if (FControl.ComponentState().Contains(csLoading)) {
        // The children read with it are placed where this position left them.
        FPosition = std::max(value, 0);
        return;
    }
    FControl.LayoutScrollBars();
    value = std::clamp(value, 0, std::max(MaxPosition(), 0));
    if (value == FPosition) return;
    const int32_t delta = FPosition - value;
    FPosition = value;
    if (FKind == sbHorizontal)
        FControl.ScrollBy(delta, 0);
    else
        FControl.ScrollBy(0, delta);
    if (FControl.HandleAllocated()) ApplyToWindow(FControl.Handle());
}

void TControlScrollBar::SetIncrement(int32_t value) { FIncrement = std::clamp(value, 1, kMaxIncrement); }

void TControlScrollBar::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    FControl.UpdateScrollBars();
}

void TControlScrollBar::SetMargin(int32_t value) {
    value = std::max(value, 0);
    if (FMargin == value) return;
    FMargin = value;
    FControl.CalcAutoRange();
}

void TControlScrollBar::ApplyToWindow(HWND window) const {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    if (FShown) {
        info.nMax = FRange - 1;
        info.nPage = static_cast<UINT>(FPage);
        info.nPos = FPosition;
    }
    // Only changes go to the window (a form without scrolling realigns often and has no bars).
    SCROLLINFO current{};
    current.cbSize = sizeof current;
    current.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    GetScrollInfo(window, SystemBar(), &current);  // a window without bars yet leaves it all 0
    const bool same = current.nMin == info.nMin && current.nMax == info.nMax && current.nPage == info.nPage &&
                      current.nPos == info.nPos;
    // The system shows the bar exactly while the range exceeds the page.
    if (!same) SetScrollInfo(window, SystemBar(), &info, TRUE);
    const LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE);
    const bool showing = (style & (FKind == sbHorizontal ? WS_HSCROLL : WS_VSCROLL)) != 0;
    if (showing != FShown) ShowScrollBar(window, SystemBar(), FShown);
}

void TControlScrollBar::ScrollMessage(WORD code) {
    int32_t position = FPosition;
    const int32_t page = std::max(FPage, FIncrement);
    switch (code) {
    case SB_LINEUP: position -= FIncrement; break;
    case SB_LINEDOWN: position += FIncrement; break;
    case SB_PAGEUP: position -= page; break;
    case SB_PAGEDOWN: position += page; break;
    case SB_TOP: position = 0; break;
    case SB_BOTTOM: position = FRange; break;
    case SB_THUMBTRACK:
        if (!FTracking) return;  // the content follows when the thumb is let go
        [[fallthrough]];
    case SB_THUMBPOSITION: {
        // The 32-bit track position (the message carries only 16 bits of it).
        SCROLLINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SIF_TRACKPOS;
        if (!FControl.HandleAllocated() || !GetScrollInfo(FControl.Handle(), SystemBar(), &info)) return;
        position = info.nTrackPos;
        break;
    }
    default: return;
    }
    SetPosition(position);
}

void TControlScrollBar::Assign(const TPersistent* source) {
    if (const auto* other = ObjectAs<TControlScrollBar>(source)) {
        FIncrement = other->FIncrement;
        FMargin = other->FMargin;
        FTracking = other->FTracking;
        FVisible = other->FVisible;
        if (other->FControl.AutoScroll())
            FControl.UpdateScrollBars();
        else
            SetRange(other->FRange);
        SetPosition(other->FPosition);
        return;
    }
    TPersistent::Assign(source);
}

// ---- TScrollingWinControl --------------------------------------------------

TScrollingWinControl::TScrollingWinControl(TComponent* owner)
    : TWinControl(owner),
      FHorzScrollBar(std::make_unique<TControlScrollBar>(*this, sbHorizontal)),
      FVertScrollBar(std::make_unique<TControlScrollBar>(*this, sbVertical)) {}

TScrollingWinControl::~TScrollingWinControl() {
    // The window goes while the scroll bars it reports to still exist.
    DestroyWindowHandle();
}

void TScrollingWinControl::SetAutoScroll(bool value) {
    if (FAutoScroll == value) return;
    FAutoScroll = value;
    if (value) {
        CalcAutoRange();
        return;
    }
    FHorzScrollBar->FRange = 0;
    FVertScrollBar->FRange = 0;
    UpdateScrollBars();
}

void TScrollingWinControl::EnableAutoRange() {
    if (FAutoRangeLock > 0 && --FAutoRangeLock == 0) CalcAutoRange();
}

bool TScrollingWinControl::CanCalcAutoRange() const {
    return FAutoRangeLock == 0 && !ComponentState().Contains(csLoading) && !ComponentState().Contains(csDestroying);
}

void TScrollingWinControl::CalcAutoRange() {
    if (!CanCalcAutoRange()) return;
    if (!FAutoScroll) {
        UpdateScrollBars();  // ranges of its own, but the client area may have changed
        return;
    }
    // Extents in unscrolled content coordinates; children at the far edges stack up beside it.
    const int32_t horzPosition = FHorzScrollBar->FPosition;
    const int32_t vertPosition = FVertScrollBar->FPosition;
    int32_t horzExtent = 0;
    int32_t vertExtent = 0;
    int32_t horzStacked = 0;
    int32_t vertStacked = 0;
    bool anyAligned = false;
    for (const TControl* child : FControls) {
        if (!child->Visible()) continue;
        const TAlign align = child->Align();
        anyAligned = anyAligned || align != alNone;
        if (align == alNone || align == alCustom || align == alLeft)
            horzExtent = std::max(horzExtent, horzPosition + child->Left() + child->Width());
        if (align == alNone || align == alCustom || align == alTop)
            vertExtent = std::max(vertExtent, vertPosition + child->Top() + child->Height());
        if (align == alRight) horzStacked += child->Width();
        if (align == alBottom) vertStacked += child->Height();
    }
    const auto withMargin = [](int32_t extent, const TControlScrollBar& bar) {
        return extent > 0 ? extent + bar.Margin() : 0;
    };
    const int32_t horzRange = withMargin(horzExtent + horzStacked, *FHorzScrollBar);
    const int32_t vertRange = withMargin(vertExtent + vertStacked, *FVertScrollBar);
    const bool changed = horzRange != FHorzScrollBar->FRange || vertRange != FVertScrollBar->FRange;
    FHorzScrollBar->FRange = horzRange;
    FVertScrollBar->FRange = vertRange;
    UpdateScrollBars();
    // The aligned children fill the content, which has just changed its size.
    if (changed && anyAligned) Realign();
}

void TScrollingWinControl::LayoutScrollBars() {
    TControlScrollBar& horz = *FHorzScrollBar;
    TControlScrollBar& vert = *FVertScrollBar;
    // The client area as it is without the bars.
    const RECT client = ClientRect();
    int32_t width = client.right - client.left;
    int32_t height = client.bottom - client.top;
    const int32_t barWidth = GetSystemMetrics(SM_CXVSCROLL);
    const int32_t barHeight = GetSystemMetrics(SM_CYHSCROLL);
    if (FHandle) {
        const LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
        if (style & WS_VSCROLL) width += barWidth;
        if (style & WS_HSCROLL) height += barHeight;
    }
    // A bar needed on one side narrows the other side, which may then need its bar too.
    bool showHorz = horz.FVisible && horz.FRange > width;
    bool showVert = vert.FVisible && vert.FRange > height;
    if (showHorz && !showVert) showVert = vert.FVisible && vert.FRange > height - barHeight;
    if (showVert && !showHorz) showHorz = horz.FVisible && horz.FRange > width - barWidth;
    horz.FShown = showHorz;
    vert.FShown = showVert;
    horz.FPage = std::max(width - (showVert ? barWidth : 0), 0);
    vert.FPage = std::max(height - (showHorz ? barHeight : 0), 0);
}

void TScrollingWinControl::UpdateScrollBars() {
    if (FUpdatingScrollBars || ComponentState().Contains(csLoading)) return;
    FUpdatingScrollBars = true;
    try {
        LayoutScrollBars();
        // Positions beyond the new layout scroll the content back.
        for (TControlScrollBar* bar : {FHorzScrollBar.get(), FVertScrollBar.get()}) {
            const int32_t position = std::clamp(bar->FPosition, 0, std::max(bar->MaxPosition(), 0));
            if (position == bar->FPosition) continue;
            const int32_t delta = bar->FPosition - position;
            bar->FPosition = position;
            if (bar->FKind == sbHorizontal)
                ScrollBy(delta, 0);
            else
                ScrollBy(0, delta);
        }
        if (FHandle) {
            FHorzScrollBar->ApplyToWindow(FHandle);
            FVertScrollBar->ApplyToWindow(FHandle);
        }
    } catch (...) {
        FUpdatingScrollBars = false;
        throw;
    }
    FUpdatingScrollBars = false;
}

void TScrollingWinControl::AlignControls(TControl* control, RECT& rect) {
    TWinControl::AlignControls(control, rect);
    CalcAutoRange();
}

void TScrollingWinControl::AdjustClientRect(RECT& rect) {
    const int32_t width = std::max<int32_t>(FHorzScrollBar->FRange, rect.right - rect.left);
    const int32_t height = std::max<int32_t>(FVertScrollBar->FRange, rect.bottom - rect.top);
    rect.left -= FHorzScrollBar->FPosition;
    rect.top -= FVertScrollBar->FPosition;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    TWinControl::AdjustClientRect(rect);
}

void TScrollingWinControl::ScrollBy(int32_t dx, int32_t dy) {
    if (dx == 0 && dy == 0) return;
    DisableAutoRange();
    try {
        // Windows of the children move with the pixels; where the system did not move one (a
        // hidden or minimised parent), it is moved here.
        std::vector<std::pair<TWinControl*, POINT>> windows;
        for (TControl* child : FControls) {
            auto* windowed = ObjectAs<TWinControl>(child);
            if (windowed && windowed->HandleAllocated()) {
                windows.emplace_back(windowed, POINT{child->Left() + dx, child->Top() + dy});
            } else {
                child->FLeft += dx;
                child->FTop += dy;
            }
        }
        if (FHandle && IsWindowVisible(FHandle))
            ScrollWindowEx(FHandle, dx, dy, nullptr, nullptr, nullptr, nullptr,
                           SW_SCROLLCHILDREN | SW_INVALIDATE | SW_ERASE);
        for (const auto& [windowed, place] : windows)
            if (windowed->Left() != place.x || windowed->Top() != place.y)
                SetWindowPos(windowed->Handle(), nullptr, place.x, place.y, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } catch (...) {
        --FAutoRangeLock;
        throw;
    }
    --FAutoRangeLock;
}

void TScrollingWinControl::ScrollInView(TControl* control) {
    if (!control || control == this) return;
    bool inside = false;
    for (const TWinControl* parent = control->Parent(); parent && !inside; parent = parent->Parent())
        inside = parent == this;
    if (!inside) return;
    const RECT bounds = control->BoundsRect();
    const POINT topLeft = ScreenToClient(control->Parent()->ClientToScreen(POINT{bounds.left, bounds.top}));
    const int32_t width = bounds.right - bounds.left;
    const int32_t height = bounds.bottom - bounds.top;
    const RECT client = ClientRect();
    ScrollSpanInView(*FHorzScrollBar, topLeft.x, topLeft.x + width, client.right);
    ScrollSpanInView(*FVertScrollBar, topLeft.y, topLeft.y + height, client.bottom);
}

void TScrollingWinControl::CreateHandle() {
    TWinControl::CreateHandle();
    UpdateScrollBars();
}

void TScrollingWinControl::Loaded() {
    TWinControl::Loaded();
    CalcAutoRange();
}

void TScrollingWinControl::WMMouseWheel(TMessage& message) {
    TControlScrollBar* bar = nullptr;
    const bool sideways = (GET_KEYSTATE_WPARAM(message.WParam) & MK_SHIFT) != 0;
    if (FVertScrollBar->IsScrollBarVisible() && !sideways) bar = FVertScrollBar.get();
    if (!bar && FHorzScrollBar->IsScrollBarVisible()) bar = FHorzScrollBar.get();
    if (!bar) {
        DefaultHandler(message);  // the parent may scroll instead
        return;
    }
    FWheelDelta += GET_WHEEL_DELTA_WPARAM(message.WParam);
    const int32_t notches = FWheelDelta / WHEEL_DELTA;
    FWheelDelta %= WHEEL_DELTA;
    UINT lines = kDefaultWheelLines;
    SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
    const int32_t step = lines == WHEEL_PAGESCROLL ? bar->PageSize() : static_cast<int32_t>(lines) * bar->Increment();
    bar->SetPosition(bar->Position() - notches * step);
    message.Result = 0;
}

bool TScrollingWinControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_HSCROLL:
    case WM_VSCROLL:
        if (message.LParam != 0) break;  // a scroll bar control's: reflected to it
        (message.Msg == WM_HSCROLL ? FHorzScrollBar : FVertScrollBar)->ScrollMessage(LOWORD(message.WParam));
        message.Result = 0;
        return true;
    case WM_MOUSEWHEEL: WMMouseWheel(message); return true;
    default: break;
    }
    return TWinControl::Dispatch(message);
}

// ---- TScrollBox ------------------------------------------------------------

TScrollBox::TScrollBox(TComponent* owner) : TScrollingWinControl(owner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FWidth = kDefaultWidth;
    FHeight = kDefaultHeight;
}

void TScrollBox::CreateParams(TCreateParams& params) {
    TScrollingWinControl::CreateParams(params);
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TScrollBox::SetBorderStyle(TBorderStyle value) {
    if (value != bsNone) value = bsSingle;
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    RecreateWnd();
}
