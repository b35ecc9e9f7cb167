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

int32_t RectWidth(const RECT& Rect) { return Rect.right - Rect.left; }
int32_t RectHeight(const RECT& Rect) { return Rect.bottom - Rect.top; }

TScrollPartLook LookOf(bool Hot, bool Tracking) {
    if (!Hot) return TScrollPartLook::Normal;
    return Tracking ? TScrollPartLook::Pressed : TScrollPartLook::Hover;
}

bool HasElementBitmap(const TDataSkinObject* Element) {
    return Element != nullptr && Element->Bitmap && !Element->Bitmap->Empty();
}

}  // namespace

TWScrollbar::TWScrollbar(TComponent* AOwner) : TCustomControl(AOwner), FBuffer(std::make_unique<TBitmap>()) {
    FArrowSize = GetSystemMetrics(SM_CXHSCROLL);
    SetTabStop(false);
}

TWScrollbar::~TWScrollbar() { *FAlive = false; }

void TWScrollbar::CreateParams(TCreateParams& Params) {
    TCustomControl::CreateParams(Params);
    Params.ExStyle = WS_EX_TOOLWINDOW;
}

// --- Binding and geometry ------------------------------------------------------------------------

void TWScrollbar::Bind(TSkinControl* Skinner, TWinControl* Control, uint8_t Kind) {
    BindTo(Skinner, Control, Control != nullptr ? Control->Handle() : nullptr, Kind);
}

void TWScrollbar::BindHandle(TSkinControl* Skinner, HWND Handle, uint8_t Kind) {
    BindTo(Skinner, nullptr, Handle, Kind);
}

void TWScrollbar::BindTo(TSkinControl* Skinner, TWinControl* Control, HWND Handle, uint8_t Kind) {
    FSkinner = Skinner;
    FTarget = Control;
    FTargetHandle = Handle;
    FKind = Kind;
    FVertical = Kind;
    if (Kind == ScrollBarControl) FVertical = LowerCase(GetEnumPropText(Control, KindProp)) == HorizontalKind ? 0 : 1;
    SetColor(Skinner->GetParentColor(Skinner->SkinFaceColor()));
    // A sibling of the target, so it can lie over the target's non-client bar.
    SetParentWindow(GetParent(Handle));
    UpdateBar();
}

void TWScrollbar::Hide() {
    if (HandleAllocated()) ShowWindow(Handle(), SW_HIDE);
    FShowing = false;
    SetVisible(false);
}

bool TWScrollbar::ReadGeometry(TScrollBarGeometry& Geometry, bool MinimumThumb) const {
    if (FTargetHandle == nullptr) return false;
    if (FKind != ScrollBarControl) {
        SCROLLBARINFO Info{};
        Info.cbSize = sizeof(Info);
        const LONG Object = FKind == ScrollBarVertical ? OBJID_VSCROLL : OBJID_HSCROLL;
        if (!SafeGetScrollBarInfo(FTargetHandle, Object, Info)) return false;
        Geometry.Bar = Info.rcScrollBar;
        Geometry.ThumbTop = Info.xyThumbTop;
        Geometry.ThumbBottom = Info.xyThumbBottom;
        Geometry.State = Info.rgstate[0];
        return true;
    }
    // A scroll-bar control: its bounds (in its parent's client coordinates), and the thumb computed from
    // its own scroll information.
    if (FTarget != nullptr) {
        Geometry.Bar = FTarget->BoundsRect();
    } else {
        if (!GetWindowRect(FTargetHandle, &Geometry.Bar)) return false;
        MapWindowPoints(nullptr, GetParent(FTargetHandle), reinterpret_cast<POINT*>(&Geometry.Bar), 2);
    }
    Geometry.State = IsWindowEnabled(FTargetHandle) ? 0 : STATE_SYSTEM_UNAVAILABLE;
    if (!IsWindowVisible(FTargetHandle)) Geometry.State |= STATE_SYSTEM_INVISIBLE;
    SCROLLINFO Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;
    if (!GetScrollInfo(FTargetHandle, SB_CTL, &Info)) return false;
    const int32_t Length = Vertical() ? RectHeight(Geometry.Bar) : RectWidth(Geometry.Bar);
    const int32_t Range = Info.nMax == Info.nMin ? EmptyScrollRange : Info.nMax - Info.nMin;
    const int32_t Track = Length - 2 * FArrowSize;
    const int32_t Offset = Info.nPos - Info.nMin;
    const bool AtMinimum = Info.nPos == Info.nMin;
    int32_t Thumb = FArrowSize;
    int32_t Start = FArrowSize;
    if (Info.nPage != 0) {
        Thumb = MulDiv(Track, static_cast<int>(Info.nPage) - 1, Range);
        if (Thumb > MinimumThumbLength - 1 || !MinimumThumb) {
            if (!AtMinimum) Start = FArrowSize + MulDiv(Track, Offset, Range);
        } else {
            Thumb = MinimumThumbLength;
            if (!AtMinimum) Start = FArrowSize + MulDiv(Track - MinimumThumbLength, Offset, Range);
        }
    } else if (!AtMinimum) {
        Start = FArrowSize + MulDiv(Length - 3 * FArrowSize, Offset, Range);
    }
    Geometry.ThumbTop = Start;
    Geometry.ThumbBottom = Start + Thumb;
    return true;
}

void TWScrollbar::UpdateBar() {
    TScrollBarGeometry Geometry;
    if (!ReadGeometry(Geometry)) {
        FShowing = false;
        return;
    }
    if ((GetWindowLongW(FTargetHandle, GWL_STYLE) & WS_VISIBLE) == 0 ||
        (Geometry.State & STATE_SYSTEM_INVISIBLE) != 0) {
        Hide();
        return;
    }
    const RECT& Bar = Geometry.Bar;
    POINT Position{Bar.left, Bar.top};
    if (FKind == ScrollBarControl) {
        FBarRect = RECT{0, 0, RectWidth(Bar), RectHeight(Bar)};
        ::ClientToScreen(GetParent(FTargetHandle), &Position);
        FBarOrigin = Position;
        Position = POINT{Bar.left, Bar.top};
    } else {
        POINT TopLeft{Bar.left, Bar.top};
        POINT BottomRight{Bar.right, Bar.bottom};
        ::ScreenToClient(FTargetHandle, &TopLeft);
        ::ScreenToClient(FTargetHandle, &BottomRight);
        FBarRect = RECT{TopLeft.x, TopLeft.y, BottomRight.x, BottomRight.y};
        FBarOrigin = POINT{Bar.left, Bar.top};
        ::ScreenToClient(GetParent(FTargetHandle), &Position);
    }
    FLength = Vertical() ? RectHeight(Bar) : RectWidth(Bar);
    const HWND Overlay = Handle();
    SetVisible(true);
    FShowing = true;
    // Directly above the target, whose bar it covers.
    SetWindowPos(Overlay, GetWindow(FTargetHandle, GW_HWNDPREV), Position.x, Position.y, RectWidth(Bar),
                 RectHeight(Bar), SWP_NOACTIVATE | SWP_SHOWWINDOW);
    MoveWindow(Overlay, Position.x, Position.y, RectWidth(Bar), RectHeight(Bar), TRUE);
}

int32_t TWScrollbar::HitTest(POINT Point) const {
    const int32_t Along = AlongAxis(Point);
    if (Along < FArrowSize) return ScrollPartFirstArrow;
    if (Along < FThumbStart) return ScrollPartPageBefore;
    if (Along < FThumbEnd) return ScrollPartThumb;
    if (Along < FLength - FArrowSize) return ScrollPartPageAfter;
    return ScrollPartSecondArrow;
}

// --- Messages ------------------------------------------------------------------------------------

void TWScrollbar::WndProc(TMessage& Message) {
    switch (Message.Msg) {
    case WM_ERASEBKGND: Message.Result = 1; return;
    case WM_SKINQUERY:
        // Part of the skin: the engine's discovery leaves it alone.
        Message.Result = SkinQueryAnswer;
        return;
    case WM_MOUSEMOVE:
        TCustomControl::WndProc(Message);
        MouseMoved(Message);
        return;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
        // A double click is a second press: the system scrolls again.
        TMessage Down{WM_LBUTTONDOWN, Message.WParam, Message.LParam, 0};
        TCustomControl::WndProc(Down);
        ButtonDown(Down);
        return;
    }
    case WM_LBUTTONUP:
        TCustomControl::WndProc(Message);
        ButtonUp(Message);
        return;
    case WM_MOUSELEAVE:
        if (!FTracking) {
            FHotPart = ScrollPartNone;
            Invalidate();
        }
        return;
    default: TCustomControl::WndProc(Message); return;
    }
}

void TWScrollbar::MouseMoved(const TMessage& Message) {
    const int32_t Part = HitTest(POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
    if (Part != FHotPart) {
        FHotPart = Part;
        Invalidate();
    }
    TrackMouseLeave(Handle());
}

POINT TWScrollbar::ScreenPointOf(POINT Point) const {
    TScrollBarGeometry Geometry;
    POINT Origin = FBarOrigin;
    if (ReadGeometry(Geometry)) Origin = POINT{Geometry.Bar.left, Geometry.Bar.top};
    return POINT{Point.x + Origin.x, Point.y + Origin.y};
}

void TWScrollbar::ButtonDown(const TMessage& Message) {
    GetCursorPos(&FPressPos);
    TScrollBarGeometry Geometry;
    if (ReadGeometry(Geometry, false)) FPressThumb = Geometry.ThumbTop;
    const POINT Point{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)};
    FHotPart = HitTest(Point);
    FTracking = true;
    Invalidate();
    ReleaseCapture();
    const HWND Target = FTargetHandle;
    // The loop below dispatches every message: the control, its skinner and this overlay may go.
    const std::shared_ptr<bool> Alive = FAlive;
    if (FKind == ScrollBarControl) {
        SendMessageW(Target, WM_LBUTTONDOWN, MK_LBUTTON, Message.LParam);
    } else {
        // The system's scroll-bar loop runs inside this call: arrows, paging, auto-repeat and thumb
        // tracking, with the target's scroll notifications telling the skinner what moves.
        const POINT Screen = ScreenPointOf(Point);
        const WPARAM HitCode = FKind == ScrollBarVertical ? HTVSCROLL : HTHSCROLL;
        SendMessageW(Target, WM_NCLBUTTONDOWN, HitCode, MAKELPARAM(Screen.x, Screen.y));
    }
    if (!*Alive) return;
    FTracking = false;
    ReleaseCapture();
    // The loop is over: the thumb goes back to the system's position.
    Invalidate();
}

void TWScrollbar::ButtonUp(const TMessage& Message) {
    FTracking = false;
    ReleaseCapture();
    if (FKind == ScrollBarControl) {
        PostMessageW(FTargetHandle, WM_LBUTTONUP, MK_LBUTTON, Message.LParam);
        Invalidate();
        return;
    }
    const POINT Screen = ScreenPointOf(POINT{GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)});
    const WPARAM HitCode = FKind == ScrollBarVertical ? HTVSCROLL : HTHSCROLL;
    PostMessageW(FTargetHandle, WM_NCLBUTTONUP, HitCode, MAKELPARAM(Screen.x, Screen.y));
}

// --- Painting ------------------------------------------------------------------------------------

void TWScrollbar::Paint() { PaintBar(Canvas()->Handle()); }

void TWScrollbar::PaintBar(HDC DC) {
    TSkinData* Data = FSkinner != nullptr ? FSkinner->FSkinData : nullptr;
    if (Data == nullptr || !HasElementBitmap(Data->FScrollbar.get())) return;
    TScrollBarGeometry Geometry;
    if (!ReadGeometry(Geometry) || (Geometry.State & STATE_SYSTEM_INVISIBLE) != 0) return;
    const bool Enabled = (Geometry.State & STATE_SYSTEM_UNAVAILABLE) == 0;
    RECT Bar{0, 0, RectWidth(Geometry.Bar), RectHeight(Geometry.Bar)};
    const RECT Overlay = ClientRect();
    if (Bar.right < 0 || Bar.bottom < 0) return;
    if (FKind != ScrollBarControl && (Bar.right > Overlay.right || Bar.bottom > Overlay.bottom)) return;
    FLength = Vertical() ? Bar.bottom : Bar.right;

    TBitmap& Strip = *Data->FScrollbar->Bitmap;
    int32_t Thickness = Strip.Height();
    if (std::abs(Thickness - FArrowSize) > ThicknessTolerance) Thickness = FArrowSize;

    // The thumb: where the cursor drags it, else where the system has it.
    if (FTracking && FHotPart == ScrollPartThumb && FKind != ScrollBarControl) {
        POINT Cursor{};
        GetCursorPos(&Cursor);
        const int32_t ThumbLength = FThumbEnd - FThumbStart;
        const int32_t Start = FPressThumb + AlongAxis(Cursor) - AlongAxis(FPressPos);
        FThumbStart = std::max(FArrowSize, std::min(Start, FLength - FArrowSize - ThumbLength));
        FThumbEnd = FThumbStart + ThumbLength;
    } else {
        FThumbStart = Geometry.ThumbTop;
        FThumbEnd = Geometry.ThumbBottom;
    }

    // Most paints (a line scrolled, the thumb still on the same pixel) show the picture composed last.
    const TBarPicture Picture{
        Data,     Data->FScrollbar.get(), Bar.right, Bar.bottom, Thickness, FHotPart, FTracking, Enabled, FThumbStart,
        FThumbEnd};
    if (!FPictureValid || !(Picture == FPicture)) {
        FPictureValid = ComposeBar(*Data, Bar, Thickness, Enabled);
        FPicture = Picture;
    }
    if (!FPictureValid) return;
    const HDC Buffer = FBuffer->Canvas().Handle();
    if (FKind == ScrollBarControl) {
        StretchBlt(DC, 0, 0, Overlay.right, Overlay.bottom, Buffer, 0, 0, FBuffer->Width(), FBuffer->Height(), SRCCOPY);
    } else {
        BitBlt(DC, 0, 0, FBuffer->Width(), FBuffer->Height(), Buffer, 0, 0, SRCCOPY);
    }
}

bool TWScrollbar::ComposeBar(TSkinData& Data, RECT Bar, int32_t Thickness, bool Enabled) {
    // A scroll-bar control is drawn at the skin's thickness and stretched to its bounds.
    auto SetCross = [&] { (Vertical() ? Bar.right : Bar.bottom) = Thickness; };
    if (FKind == ScrollBarControl) SetCross();
    FBuffer->SetSize(Bar.right, Bar.bottom);
    if (FBuffer->Empty()) return false;
    if (FKind != ScrollBarControl) SetCross();
    const HDC Buffer = FBuffer->Canvas().Handle();
    SetStretchBltMode(Buffer, COLORONCOLOR);
    FillColorRect(Buffer, RECT{0, 0, FBuffer->Width(), FBuffer->Height()}, Data.ButtonFaceColor());

    // The track between the arrows.
    const TDataSkinObject* Track = Vertical() ? Data.FVertScroll.get() : Data.FHorzScroll.get();
    if (HasElementBitmap(Track)) {
        RECT Inside = Bar;
        (Vertical() ? Inside.top : Inside.left) += FArrowSize;
        (Vertical() ? Inside.bottom : Inside.right) -= FArrowSize;
        const bool Tile = Data.FHorzScroll != nullptr && Data.FHorzScroll->Tile != 0;
        const RECT Margins{Track->LeftWidth, Track->TopHeight, Track->RightWidth, Track->BottomHeight};
        const TScrollTrackLook Look = Enabled ? TScrollTrackLook::Enabled : TScrollTrackLook::Disabled;
        if (Inside.right >= Inside.left && Inside.bottom >= Inside.top)
            DrawSkinElement(Buffer, Inside, *Track->Bitmap, false, Tile, Track->Trans == 1, ScrollTrackFrameCount,
                            FrameOf(Look), Margins);
    }
    PaintArrows(Buffer, Bar, Thickness);
    if (Enabled) PaintThumb(Buffer, Thickness);
    return true;
}

void TWScrollbar::PaintArrows(HDC Buffer, const RECT& Bar, int32_t Thickness) {
    TBitmap& Strip = *FSkinner->FSkinData->FScrollbar->Bitmap;
    // A bar shorter than two arrows gets two arrows of half its length.
    const int32_t Arrow = FLength < 2 * FArrowSize ? FLength / 2 : FArrowSize;
    RECT First{};
    RECT Second{};
    if (Vertical()) {
        First = RECT{0, 0, Thickness, Arrow};
        Second = RECT{0, Bar.bottom - Arrow, Thickness, Bar.bottom};
    } else {
        First = RECT{0, 0, Arrow, Thickness};
        Second = RECT{Bar.right - Arrow, 0, Bar.right, Thickness};
    }
    const TScrollPicture FirstPicture = Vertical() ? TScrollPicture::UpArrow : TScrollPicture::LeftArrow;
    const TScrollPicture SecondPicture = Vertical() ? TScrollPicture::DownArrow : TScrollPicture::RightArrow;
    const int32_t FirstCell = CellOf(FirstPicture, LookOf(FHotPart == ScrollPartFirstArrow, FTracking));
    const int32_t SecondCell = CellOf(SecondPicture, LookOf(FHotPart == ScrollPartSecondArrow, FTracking));
    DrawCellStretched(*FSkinner, Buffer, First, ScrollbarCellCount, FirstCell, Strip);
    DrawCellStretched(*FSkinner, Buffer, Second, ScrollbarCellCount, SecondCell, Strip);
}

void TWScrollbar::PaintThumb(HDC Buffer, int32_t Thickness) {
    TSkinData& Data = *FSkinner->FSkinData;
    const int32_t Limit = Vertical() ? FBuffer->Height() : FBuffer->Width();
    // No thumb (nothing to scroll), or one outside the overlay.
    if (FThumbEnd <= FThumbStart || FThumbStart < 0 || FThumbEnd > Limit) return;
    const RECT Thumb =
        Vertical() ? RECT{0, FThumbStart, Thickness, FThumbEnd} : RECT{FThumbStart, 0, FThumbEnd, Thickness};
    const TScrollPartLook Look = LookOf(FHotPart == ScrollPartThumb, FTracking);
    // The vertical thumb takes its frame count and transparency from the horizontal thumb's element.
    const TDataSkinObject* Element = Vertical() ? Data.FVertScrollThumb.get() : Data.FHorzScrollThumb.get();
    const TDataSkinObject* Counts = Data.FHorzScrollThumb != nullptr ? Data.FHorzScrollThumb.get() : Element;
    if (HasElementBitmap(Element)) {
        const RECT Margins{Element->LeftWidth, Element->TopHeight, Element->RightWidth, Element->BottomHeight};
        DrawSkinElement(Buffer, Thumb, *Element->Bitmap, false, Element->Tile != 0, Counts->Trans == 1,
                        std::max(Counts->Frame, 1), FrameOf(Look), Margins);
    }
    // The grip, centred in a thumb long enough for it.
    TBitmap& Strip = *Data.FScrollbar->Bitmap;
    const int32_t Grip = Strip.Height();
    const int32_t ThumbLength = FThumbEnd - FThumbStart;
    if (ThumbLength <= Grip + 2) return;
    const int32_t GripStart = FThumbStart + (ThumbLength - Grip) / 2;
    if (GripStart < 0 || GripStart + Grip > Limit) return;
    const RECT GripRect =
        Vertical() ? RECT{0, GripStart, Thickness, GripStart + Grip} : RECT{GripStart, 0, GripStart + Grip, Thickness};
    const TScrollPicture Picture = Vertical() ? TScrollPicture::VertGrip : TScrollPicture::HorzGrip;
    DrawCellStretched(*FSkinner, Buffer, GripRect, ScrollbarCellCount, CellOf(Picture, Look), Strip);
}
