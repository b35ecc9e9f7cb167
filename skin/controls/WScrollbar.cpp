// TWScrollbar: the scroll-bar overlay — geometry read from the system, the paint composed from the
// skin's scroll-bar elements, and the mouse handed to the system's scroll-bar loop.
#include "skin/controls/WScrollbar.h"

#include <windowsx.h>

#include <algorithm>
#include <cstdlib>

#include "framework/controls/Messages.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/rtl/SysUtils.h"
#include "skin/controls/SkinControl.h"
#include "skin/controls/SkinFrames.h"
#include "skin/controls/SkinProps.h"
#include "skin/controls/SkinRoutines.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinServices.h"
#include "skin/form/SkinFormConstants.h"

QUIRN_DEFINE_CLASS(TWScrollbar)

namespace {

// A strip height within this of the system's arrow size is the bar's thickness; beyond it the
// system's size is kept.
constexpr int32_t ThicknessTolerance = 2;
// The scroll-bar control's orientation property, and its horizontal value (lower case).
constexpr std::string_view KindProp = "Kind";
constexpr std::string_view HorizontalKind = "sbhorizontal";

int32_t RectWidth(const RECT& rect) { return rect.right - rect.left; }
int32_t RectHeight(const RECT& rect) { return rect.bottom - rect.top; }

TScrollPartLook LookOf(bool hot, bool tracking) {
    if (!hot) return TScrollPartLook::Normal;
    return tracking ? TScrollPartLook::Pressed : TScrollPartLook::Hover;
}

bool HasElementBitmap(const TDataSkinObject* element) {
    return element != nullptr && element->Bitmap && !element->Bitmap->Empty();
}

}  // namespace

TWScrollbar::TWScrollbar(TComponent* aOwner) : TCustomControl(aOwner), FBuffer(std::make_unique<TBitmap>()) {
    FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    SetTabStop(false);
}

TWScrollbar::~TWScrollbar() { *FAlive = false; }

void TWScrollbar::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.ExStyle = WS_EX_TOOLWINDOW;
}

// --- Binding and geometry ------------------------------------------------------------------------

void TWScrollbar::Bind(TSkinControl* skinner, TWinControl* control, uint8_t kind) {
    BindTo(skinner, control, control != nullptr ? control->Handle() : nullptr, kind);
}

void TWScrollbar::BindHandle(TSkinControl* skinner, HWND handle, uint8_t kind) {
    BindTo(skinner, nullptr, handle, kind);
}

void TWScrollbar::BindTo(TSkinControl* skinner, TWinControl* control, HWND handle, uint8_t kind) {
    FSkinner = skinner;
    FTarget = control;
    FTargetHandle = handle;
    FKind = kind;
    FVertical = kind;
    if (kind == ScrollBarControl) FVertical = LowerCase(GetEnumPropText(control, KindProp)) == HorizontalKind ? 0 : 1;
    SetColor(skinner->GetParentColor(skinner->SkinFaceColor()));
    // A sibling of the target, so it can lie over the target's non-client bar.
    SetParentWindow(GetParent(handle));
    UpdateBar();
}

void TWScrollbar::Hide() {
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    FShowing = false;
    SetVisible(false);
}

bool TWScrollbar::ReadGeometry(TScrollBarGeometry& geometry, bool minimumThumb) const {
    if (FTargetHandle == nullptr) return false;
    if (FKind != ScrollBarControl) {
        SCROLLBARINFO info{};
        info.cbSize = sizeof(info);
        const LONG object = FKind == ScrollBarVertical ? OBJID_VSCROLL : OBJID_HSCROLL;
        if (!SafeGetScrollBarInfo(FTargetHandle, object, info)) return false;
        geometry.Bar = info.rcScrollBar;
        geometry.ThumbTop = info.xyThumbTop;
        geometry.ThumbBottom = info.xyThumbBottom;
        geometry.State = info.rgstate[0];
        return true;
    }
    // A scroll-bar control: its bounds (in its parent's client coordinates), and the thumb computed from
    // its own scroll information.
    if (FTarget != nullptr) {
        geometry.Bar = FTarget->BoundsRect();
    } else {
        if (!GetWindowRect(FTargetHandle, &geometry.Bar)) return false;
        MapWindowPoints(nullptr, GetParent(FTargetHandle), reinterpret_cast<POINT*>(&geometry.Bar), 2);
    }
    geometry.State = IsWindowEnabled(FTargetHandle) ? 0 : STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(FTargetHandle)) geometry.State |= STATE_SYSTEM_INVISIBLE;
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(FTargetHandle, SB_CTL, &info)) return false;
    const int32_t length = Vertical() ? RectHeight(geometry.Bar) : RectWidth(geometry.Bar);
    const int32_t range = info.nMax == info.nMin ? EmptyScrollRange : info.nMax - info.nMin;
    const int32_t track = length - 2 * FArrowSize;
    const int32_t offset = info.nPos - info.nMin;
    const bool atMinimum = info.nPos == info.nMin;
    int32_t thumb = FArrowSize;
    int32_t start = FArrowSize;
    if (info.nPage != 0) {
        thumb = MulDiv(track, static_cast<int>(info.nPage) - 1, range);
        if (thumb > MinimumThumbLength - 1 || !minimumThumb) {
            if (!atMinimum) start = FArrowSize + MulDiv(track, offset, range);
        } else {
            thumb = MinimumThumbLength;
            if (!atMinimum) start = FArrowSize + MulDiv(track - MinimumThumbLength, offset, range);
        }
    } else if (!atMinimum) {
        start = FArrowSize + MulDiv(length - 3 * FArrowSize, offset, range);
    }
    geometry.ThumbTop = start;
    geometry.ThumbBottom = start + thumb;
    return true;
}

void TWScrollbar::UpdateBar() {
    TScrollBarGeometry geometry;
    if (!ReadGeometry(geometry)) {
        FShowing = false;
        return;
    }
    if ((GetWindowLongW(FTargetHandle, GWL_STYLE) & WS_VISIBLE) == 0 ||
        (geometry.State & STATE_SYSTEM_INVISIBLE) != 0) {
        Hide();
        return;
    }
    const RECT& bar = geometry.Bar;
    POINT position{bar.left, bar.top};
    if (FKind == ScrollBarControl) {
        FBarRect = RECT{0, 0, RectWidth(bar), RectHeight(bar)};
        ::ClientToScreen(GetParent(FTargetHandle), &position);
        FBarOrigin = position;
        position = POINT{bar.left, bar.top};
    } else {
        POINT topLeft{bar.left, bar.top};
        POINT bottomRight{bar.right, bar.bottom};
        ::ScreenToClient(FTargetHandle, &topLeft);
        ::ScreenToClient(FTargetHandle, &bottomRight);
        FBarRect = RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
        FBarOrigin = POINT{bar.left, bar.top};
        ::ScreenToClient(GetParent(FTargetHandle), &position);
    }
    FLength = Vertical() ? RectHeight(bar) : RectWidth(bar);
    const HWND overlay = Handle();
    SetVisible(true);
    FShowing = true;
    // Directly above the target, whose bar it covers.
    SetWindowPos(overlay, GetWindow(FTargetHandle, GW_HWNDPREV), position.x, position.y, RectWidth(bar),
                 RectHeight(bar), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    MoveWindow(overlay, position.x, position.y, RectWidth(bar), RectHeight(bar), TRUE);
}

int32_t TWScrollbar::HitTest(POINT point) const {
    const int32_t along = AlongAxis(point);
    if (along < FArrowSize) return ScrollPartFirstArrow;
    if (along < FThumbStart) return ScrollPartPageBefore;
    if (along < FThumbEnd) return ScrollPartThumb;
    if (along < FLength - FArrowSize) return ScrollPartPageAfter;
    return ScrollPartSecondArrow;
}

// --- Messages ------------------------------------------------------------------------------------

void TWScrollbar::WndProc(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND: message.Result = 1; return;
    case WM_SKINQUERY:
        // Part of the skin: the engine's discovery leaves it alone.
        message.Result = SkinQueryAnswer;
        return;
    case WM_MOUSEMOVE:
        TCustomControl::WndProc(message);
        MouseMoved(message);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A double click is a second press: the system scrolls again.
        TMessage down{WM_LBUTTONDOWN, message.WParam, message.LParam, 0};
        TCustomControl::WndProc(down);
        ButtonDown(down);
        return;
    }
    case WM_LBUTTONUP:
        TCustomControl::WndProc(message);
        ButtonUp(message);
        return;
    case WM_MOUSELEAVE:
        if (!FTracking) {
            FHotPart = ScrollPartNone;
            Invalidate();
        }
        return;
    default: TCustomControl::WndProc(message); return;
    }
}

void TWScrollbar::MouseMoved(const TMessage& message) {
    const int32_t part = HitTest(POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
    if (part != FHotPart) {
        FHotPart = part;
        Invalidate();
    }
    TrackMouseLeave(Handle());
}

POINT TWScrollbar::ScreenPointOf(POINT point) const {
    TScrollBarGeometry geometry;
    POINT origin = FBarOrigin;
    if (ReadGeometry(geometry)) origin = POINT{geometry.Bar.left, geometry.Bar.top};
    return POINT{point.x + origin.x, point.y + origin.y};
}

void TWScrollbar::ButtonDown(const TMessage& message) {
    GetCursorPos(&FPressPos);
    TScrollBarGeometry geometry;
    if (ReadGeometry(geometry, false)) FPressThumb = geometry.ThumbTop;
    const POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
    FHotPart = HitTest(point);
    FTracking = true;
    Invalidate();
    ReleaseCapture();
    const HWND target = FTargetHandle;
    // The loop below dispatches every message: the control, its skinner and this overlay may go.
    const std::shared_ptr<bool> alive = FAlive;
    if (FKind == ScrollBarControl) {
        SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, message.LParam);
    } else {
        // The system's scroll-bar loop runs inside this call: arrows, paging, auto-repeat and thumb
        // tracking, with the target's scroll notifications telling the skinner what moves.
        const POINT screen = ScreenPointOf(point);
        const WPARAM hitCode = FKind == ScrollBarVertical ? HTVSCROLL : HTHSCROLL;
        SendMessageW(target, WM_NCLBUTTONDOWN, hitCode, MAKELPARAM(screen.x, screen.y));
    }
    if (!*alive) return;
    FTracking = false;
    ReleaseCapture();
    // The loop is over: the thumb goes back to the system's position.
    Invalidate();
}

void TWScrollbar::ButtonUp(const TMessage& message) {
    FTracking = false;
    ReleaseCapture();
    if (FKind == ScrollBarControl) {
        PostMessageW(FTargetHandle, WM_LBUTTONUP, MK_LBUTTON, message.LParam);
        Invalidate();
        return;
    }
    const POINT screen = ScreenPointOf(POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
    const WPARAM hitCode = FKind == ScrollBarVertical ? HTVSCROLL : HTHSCROLL;
    PostMessageW(FTargetHandle, WM_NCLBUTTONUP, hitCode, MAKELPARAM(screen.x, screen.y));
}

// --- Painting ------------------------------------------------------------------------------------

void TWScrollbar::Paint() { PaintBar(Canvas()->Handle()); }

void TWScrollbar::PaintBar(HDC dc) {
    TSkinData* data = FSkinner != nullptr ? FSkinner->FSkinData : nullptr;
    if (data == nullptr || !HasElementBitmap(data->FScrollbar.get())) return;
    TScrollBarGeometry geometry;
    if (!ReadGeometry(geometry) || (geometry.State & STATE_SYSTEM_INVISIBLE) != 0) return;
    const bool enabled = (geometry.State & STATE_SYSTEM_UNAVAILABLE) == 0;
    RECT bar{0, 0, RectWidth(geometry.Bar), RectHeight(geometry.Bar)};
    const RECT overlay = ClientRect();
    if (bar.right < 0 || bar.bottom < 0) return;
    if (FKind != ScrollBarControl && (bar.right > overlay.right || bar.bottom > overlay.bottom)) return;
    FLength = Vertical() ? bar.bottom : bar.right;

    TBitmap& strip = *data->FScrollbar->Bitmap;
    int32_t thickness = strip.Height();
    if (std::abs(thickness - FArrowSize) > ThicknessTolerance) thickness = FArrowSize;

    // The thumb: where the cursor drags it, else where the system has it.
    if (FTracking && FHotPart == ScrollPartThumb && FKind != ScrollBarControl) {
        POINT cursor{};
        GetCursorPos(&cursor);
        const int32_t thumbLength = FThumbEnd - FThumbStart;
        const int32_t start = FPressThumb + AlongAxis(cursor) - AlongAxis(FPressPos);
        FThumbStart = std::max(FArrowSize, std::min(start, FLength - FArrowSize - thumbLength));
        FThumbEnd = FThumbStart + thumbLength;
    } else {
        FThumbStart = geometry.ThumbTop;
        FThumbEnd = geometry.ThumbBottom;
    }

    // Most paints (a line scrolled, the thumb still on the same pixel) show the picture composed last.
    const TBarPicture picture{
        data,     data->FScrollbar.get(), bar.right, bar.bottom, thickness, FHotPart, FTracking, enabled, FThumbStart,
        FThumbEnd};
    if (!FPictureValid || !(picture == FPicture)) {
        FPictureValid = ComposeBar(*data, bar, thickness, enabled);
        FPicture = picture;
    }
    if (!FPictureValid) return;
    const HDC buffer = FBuffer->Canvas().Handle();
    if (FKind == ScrollBarControl) {
        StretchBlt(dc, 0, 0, overlay.right, overlay.bottom, buffer, 0, 0, FBuffer->Width(), FBuffer->Height(), SRCCOPY);
    } else {
        BitBlt(dc, 0, 0, FBuffer->Width(), FBuffer->Height(), buffer, 0, 0, SRCCOPY);
    }
}

bool TWScrollbar::ComposeBar(TSkinData& data, RECT Bar, int32_t thickness, bool enabled) {
    // A scroll-bar control is drawn at the skin's thickness and stretched to its bounds.
    auto setCross = [&] { (Vertical() ? Bar.right : Bar.bottom) = thickness; };
    if (FKind == ScrollBarControl) setCross();
    FBuffer->SetSize(Bar.right, Bar.bottom);
    if (FBuffer->Empty()) return false;
    if (FKind != ScrollBarControl) setCross();
    const HDC buffer = FBuffer->Canvas().Handle();
    SetStretchBltMode(buffer, COLORONCOLOR);
    FillColorRect(buffer, RECT{0, 0, FBuffer->Width(), FBuffer->Height()}, data.ButtonFaceColor());

    // The track between the arrows.
    const TDataSkinObject* track = Vertical() ? data.FVertScroll.get() : data.FHorzScroll.get();
    if (HasElementBitmap(track)) {
        RECT inside = Bar;
        (Vertical() ? inside.top : inside.left) += FArrowSize;
        (Vertical() ? inside.bottom : inside.right) -= FArrowSize;
        const bool tile = data.FHorzScroll != nullptr && data.FHorzScroll->Tile != 0;
        const RECT margins{track->LeftWidth, track->TopHeight, track->RightWidth, track->BottomHeight};
        const TScrollTrackLook look = enabled ? TScrollTrackLook::Enabled : TScrollTrackLook::Disabled;
        if (inside.right >= inside.left && inside.bottom >= inside.top)
            DrawSkinElement(buffer, inside, *track->Bitmap, false, tile, track->Trans == 1, ScrollTrackFrameCount,
                            FrameOf(look), margins);
    }
    PaintArrows(buffer, Bar, thickness);
    if (enabled) PaintThumb(buffer, thickness);
    return true;
}

void TWScrollbar::PaintArrows(HDC buffer, const RECT& bar, int32_t thickness) {
    TBitmap& strip = *FSkinner->FSkinData->FScrollbar->Bitmap;
    // A bar shorter than two arrows gets two arrows of half its length.
    const int32_t arrow = FLength < 2 * FArrowSize ? FLength / 2 : FArrowSize;
    RECT first{};
    RECT second{};
    if (Vertical()) {
        first = RECT{0, 0, thickness, arrow};
        second = RECT{0, bar.bottom - arrow, thickness, bar.bottom};
    } else {
        first = RECT{0, 0, arrow, thickness};
        second = RECT{bar.right - arrow, 0, bar.right, thickness};
    }
    const TScrollPicture firstPicture = Vertical() ? TScrollPicture::UpArrow : TScrollPicture::LeftArrow;
    const TScrollPicture secondPicture = Vertical() ? TScrollPicture::DownArrow : TScrollPicture::RightArrow;
    const int32_t firstCell = CellOf(firstPicture, LookOf(FHotPart == ScrollPartFirstArrow, FTracking));
    const int32_t secondCell = CellOf(secondPicture, LookOf(FHotPart == ScrollPartSecondArrow, FTracking));
    DrawCellStretched(*FSkinner, buffer, first, ScrollbarCellCount, firstCell, strip);
    DrawCellStretched(*FSkinner, buffer, second, ScrollbarCellCount, secondCell, strip);
}

void TWScrollbar::PaintThumb(HDC buffer, int32_t thickness) {
    TSkinData& data = *FSkinner->FSkinData;
    const int32_t limit = Vertical() ? FBuffer->Height() : FBuffer->Width();
    // No thumb (nothing to scroll), or one outside the overlay.
    if (FThumbEnd <= FThumbStart || FThumbStart < 0 || FThumbEnd > limit) return;
    const RECT thumb =
        Vertical() ? RECT{0, FThumbStart, thickness, FThumbEnd} : RECT{FThumbStart, 0, FThumbEnd, thickness};
    const TScrollPartLook look = LookOf(FHotPart == ScrollPartThumb, FTracking);
    // The vertical thumb takes its frame count and transparency from the horizontal thumb's element.
    const TDataSkinObject* element = Vertical() ? data.FVertScrollThumb.get() : data.FHorzScrollThumb.get();
    const TDataSkinObject* counts = data.FHorzScrollThumb != nullptr ? data.FHorzScrollThumb.get() : element;
    if (HasElementBitmap(element)) {
        const RECT margins{element->LeftWidth, element->TopHeight, element->RightWidth, element->BottomHeight};
        DrawSkinElement(buffer, thumb, *element->Bitmap, false, element->Tile != 0, counts->Trans == 1,
                        std::max(counts->Frame, 1), FrameOf(look), margins);
    }
    // The grip, centred in a thumb long enough for it.
    TBitmap& strip = *data.FScrollbar->Bitmap;
    const int32_t grip = strip.Height();
    const int32_t thumbLength = FThumbEnd - FThumbStart;
    if (thumbLength <= grip + 2) return;
    const int32_t gripStart = FThumbStart + (thumbLength - grip) / 2;
    if (gripStart < 0 || gripStart + grip > limit) return;
    const RECT gripRect =
        Vertical() ? RECT{0, gripStart, thickness, gripStart + grip} : RECT{gripStart, 0, gripStart + grip, thickness};
    const TScrollPicture picture = Vertical() ? TScrollPicture::VertGrip : TScrollPicture::HorzGrip;
    DrawCellStretched(*FSkinner, buffer, gripRect, ScrollbarCellCount, CellOf(picture, look), strip);
}
