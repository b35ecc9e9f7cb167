// TPellixForm's frame and caption painting: the client rectangle inside the skin's frame, the four
// sides and the caption strip composed off-screen, the caption text, the window's shape from the
// transparent parts of the frame, and the window state the painting depends on.
#include <algorithm>
#include <exception>
#include <optional>

#include "framework/controls/Form.h"
#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinServices.h"
#include "skin/form/NCObject.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinManage.h"
#include "skin/form/SkinMenuBarLink.h"

namespace {

// A region's colour tolerance per channel and the key it leaves out.
constexpr int32_t RegionTolerance = 1;
// Caption text placement.
constexpr int32_t RightToLeftTextShift = 10;
constexpr int32_t ButtonsTextGap = 5;
constexpr int32_t DialogTextShift = 16;
constexpr int32_t TitleAlignLeft = 0;
constexpr int32_t TitleAlignCentre = 1;
constexpr int32_t TitleAlignRight = 2;
// The caption text background has two frames stacked: active, inactive.
constexpr int32_t TitleBackFrames = 2;

int32_t Width(const RECT& R) { return R.right - R.left; }
int32_t Height(const RECT& R) { return R.bottom - R.top; }

// Frame 1 (active) of a two-frame element, frame 2 while inactive; a one-frame element always 1.
int32_t ActiveFrame(bool Active, int32_t FrameCount) { return Active || FrameCount <= 1 ? 1 : 2; }

}  // namespace

// --- Client rectangle and style ----------------------------------------------------------------

void TPellixForm::CalcClientRect(TMessage& Message) {
    CallOldProc(Message);
    auto* Rect = reinterpret_cast<RECT*>(Message.LParam);
    if (Rect == nullptr) return;
    const bool Calculated = Message.WParam != 0;
    auto* Params = reinterpret_cast<NCCALCSIZE_PARAMS*>(Message.LParam);
    if (IsMaximizedMDIChild() || (IsMDIChild() && FWindowState == WindowStateMinimized) ||
        FBorderKind == BorderKindNoCaption || IsIconic(FHandle)) {
        if (Calculated) {
            Params->rgrc[1] = Params->rgrc[0];
            Message.Result = WVR_VALIDRECTS;
        }
        return;
    }
    // The proposed window rectangle (the first rectangle before the system replaced it).
    RECT Window{};
    if (Calculated) {
        Window = Params->lppos != nullptr
                     ? RECT{Params->lppos->x, Params->lppos->y, Params->lppos->x + Params->lppos->cx,
                            Params->lppos->y + Params->lppos->cy}
                     : Params->rgrc[0];
    } else {
        GetWindowRect(FHandle, &Window);
        if (HWND Parent = GetParent(FHandle); Parent != nullptr && (FStyle & WS_CHILD) != 0)
            MapWindowPoints(nullptr, Parent, reinterpret_cast<POINT*>(&Window), 2);
    }
    RECT Client{Window.left + FLeftWidth, Window.top + FTitleHeight + FMenuHeight, Window.right - FRightWidth,
                Window.bottom - FBottomHeight};
    Client.right = std::max(Client.right, Client.left);
    Client.bottom = std::max(Client.bottom, Client.top);
    if (!Calculated) {
        // Asked without positions: the client rectangle of the window as it stands.
        *Rect = Client;
        Message.Result = 0;
        return;
    }
    Params->rgrc[0] = Client;
    Params->rgrc[1] = Client;
    Message.Result = WVR_VALIDRECTS;
}

bool TPellixForm::HasSystemMenu() const { return (FBorderIcons & BorderIconSystemMenu) != 0 || FSystemMenu != nullptr; }

void TPellixForm::SetSysMenuStyle(bool Hide) {
    if ((FBorderIcons & BorderIconKeepStyle) != 0) return;
    FStyle = static_cast<DWORD>(GetWindowLongW(FHandle, GWL_STYLE));
    DWORD Style = FStyle;
    if (Hide)
        Style &= ~static_cast<DWORD>(WS_SYSMENU);
    else if ((FBorderIcons & BorderIconSystemMenu) != 0)
        Style |= WS_SYSMENU;
    if (Style == FStyle) return;  // no change, no style messages
    FStyle = Style;
    SetWindowLongW(FHandle, GWL_STYLE, static_cast<LONG>(Style));
}

void TPellixForm::UpdateWindowState() {
    WINDOWPLACEMENT Placement{};
    Placement.length = sizeof(Placement);
    if (!GetWindowPlacement(FHandle, &Placement)) return;
    switch (Placement.showCmd) {
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE: FWindowState = WindowStateMinimized; break;
    case SW_SHOWMAXIMIZED: FWindowState = WindowStateMaximized; break;
    default: FWindowState = WindowStateNormal; break;
    }
}

void TPellixForm::FindMDIClient() {
    FFormKind = FormKindPlain;
    for (HWND Child = GetTopWindow(FHandle); Child != nullptr; Child = GetWindow(Child, GW_HWNDNEXT)) {
        if (ClassNameOf(Child) != MDIClientClassName) continue;
        FFormKind = FormKindMDIFrame;
        FClientHandle = Child;
        if (SkinManager != nullptr) {
            SkinManager->FMDIClient = Child;
            SkinManager->FMDIForm = FForm;
        }
        return;
    }
}

// --- Painting -------------------------------------------------------------------------------------

TDataSkinObject* TPellixForm::BorderElement(int32_t Kind) const {
    switch (Kind) {
    case BorderSideLeft: return FSkinData->FBorderLeft.get();
    case BorderSideRight: return FSkinData->FBorderRight.get();
    case BorderSideTop: return FSkinData->FBorderTop.get();
    case BorderSideBottom: return FSkinData->FBorderBottom.get();
    default: return nullptr;
    }
}

void TPellixForm::PaintFrame(HDC DC) {
    if (FSkinData == nullptr || (FSkinState != SkinStateRunning && FSkinState != SkinStateRefreshing) ||
        FBorderKind == BorderKindNoCaption || IsMaximizedMDIChild())
        return;
    SkinBackBuffer();  // the menu strip's back buffer exists before anything paints
    std::optional<win::WindowFrameDC> Own;
    if (DC == nullptr) {
        Own.emplace(FHandle);
        DC = Own->get();
        if (DC == nullptr) return;
    }
    try {
        DropStaleButtons();
        UpdateWindowState();
        GetWindowRect(FHandle, &FWindowRect);
        FWidth = Width(FWindowRect);
        FHeight = Height(FWindowRect);
        const int32_t W = FWidth;
        const int32_t H = FHeight;
        if (FWindowState == WindowStateMinimized) {
            PaintCaption(DC);
        } else {
            PaintBorder(BorderSideLeft, RECT{0, 0, FLeftWidth, H}, DC);
            PaintBorder(BorderSideRight, RECT{W - FRightWidth, 0, W, H}, DC);
            PaintBorder(BorderSideBottom, RECT{FLeftWidth, H - FBottomHeight, W - FRightWidth, H}, DC);
            PaintCaption(DC);
            const RECT Strip{FLeftWidth, FTitleHeight, W - FRightWidth, FTitleHeight + FMenuHeight};
            if (FMenuBar) {
                FMenuBar->Paint(DC, Strip);
            } else if (FMenuHeight > 0) {
                FillRect(DC, &Strip, FSkinData->FFaceBrush.get());
            }
        }
    } catch (const std::exception& Error) {
        // A fault while painting leaves the frame as it is; the window goes on.
        QUIRN_TRACE(TTraceChannel::Paint, "frame paint failed: ", Error.what());
    } catch (...) {
        QUIRN_TRACE(TTraceChannel::Paint, "frame paint failed");
    }
}

void TPellixForm::PaintBorder(int32_t Kind, RECT Rect, HDC DC) {
    std::unique_ptr<TBitmap> Picture = ComposeBorder(Kind, Width(Rect), Height(Rect));
    if (Picture) BitBlt(DC, Rect.left, Rect.top, Width(Rect), Height(Rect), Picture->Canvas().Handle(), 0, 0, SRCCOPY);
}

std::unique_ptr<TBitmap> TPellixForm::ComposeBorder(int32_t Kind, int32_t W, int32_t H) {
    TDataSkinObject* Element = BorderElement(Kind);
    if (Element == nullptr || W <= 0 || H <= 0 || Element->Bitmap->Empty()) return nullptr;
    const bool Vertical = Kind == BorderSideTop || Kind == BorderSideBottom;
    const RECT Margins{Element->LeftWidth, Element->TopHeight, Element->RightWidth, Element->BottomHeight};
    // For the frame sides the Tile field holds the "Stretch" key: 1 stretches the middle.
    std::unique_ptr<TBitmap> Picture =
        CreateSkinElementBitmap(RECT{0, 0, W, H}, *Element->Bitmap, Margins, Vertical, Element->Tile != 1,
                                Element->Frame, ActiveFrame(FActive, Element->Frame));
    if (!Picture || Picture->Empty()) return nullptr;
    return Picture;
}

void TPellixForm::PaintCaption(HDC DC) {
    const int32_t W = FWidth;
    RECT Caption{};
    if (FWindowState == WindowStateMinimized) {
        FCaptionBuffer->SetSize(W, FHeight);
        FCaptionBuffer->Canvas().Brush().SetColor(FSkinData->ButtonFaceColor());
        FCaptionBuffer->Canvas().FillRect(RECT{0, 0, W, FHeight});
        Caption = RECT{0, 0, W, FTitleHeight};
    } else {
        FCaptionBuffer->SetSize(W, FTitleHeight);
        BitBlt(FCaptionBuffer->Canvas().Handle(), 0, 0, W, FTitleHeight, DC, 0, 0, SRCCOPY);
        Caption = RECT{FLeftWidth, 0, W - FRightWidth, FTitleHeight};
    }
    if (FCaptionBuffer->Empty()) return;
    TCanvas& Canvas = FCaptionBuffer->Canvas();
    PaintBorder(BorderSideTop, Caption, Canvas.Handle());
    PaintTitleText(Canvas, Caption);
    LayoutButtons();
    PaintButtons(Canvas);
    BitBlt(DC, 0, 0, FCaptionBuffer->Width(), FCaptionBuffer->Height(), Canvas.Handle(), 0, 0, SRCCOPY);
    SetBkMode(DC, OPAQUE);
}

void TPellixForm::PaintTitleText(TCanvas& Canvas, const RECT& Rect) {
    FButtonsWidth = 0;
    for (int32_t Index = 0; Index < static_cast<int32_t>(FSysButtons.size()); ++Index) {
        const TDataSkinSysButton& Element = *FSysButtons[Index]->FElement;
        if (Element.Align == ButtonAlignRight && !Element.Bitmap->Empty() && IsButtonVisible(Index))
            FButtonsWidth = std::max(FButtonsWidth, Element.XCoord);
    }
    const TDataSkinTitle& Title = *FSkinData->FTitle;
    const TColor TextColor =
        FActive ? FSkinData->FColors[SkinColour::TitleTextActive] : FSkinData->FColors[SkinColour::TitleTextNoActive];
    Canvas.Font().Assign(FCaptionFont.get());
    Canvas.Font().SetColor(TextColor);
    const HDC DC = Canvas.Handle();
    const int PreviousMode = SetBkMode(DC, TRANSPARENT);
    struct TModeRestore {
        HDC DC;
        int Mode;
        ~TModeRestore() { SetBkMode(DC, Mode); }
    } Restore{DC, PreviousMode};

    const std::wstring Text = FTitleIndent + ReadWindowText() + FTitleSpace;
    FCaption = Text;
    RECT T{Rect.left, Rect.top, Rect.left, Rect.top};
    DrawTextWide(DC, Text, T, DT_CALCRECT | DT_NOPREFIX | DT_NOCLIP);
    T.right += Title.TXTBackleft + Title.TXTBackRight;
    const int32_t E = T.right;
    const int32_t TextShift = Title.LeftWidth;
    const int32_t VerticalShift = Title.TopHeight;
    const int32_t RightClip = Title.RightWidth;

    int32_t Offset = 0;
    const auto LeftToRightOffset = [&]() -> int32_t {
        switch (Title.TextAlignment) {
        case TitleAlignLeft: return TextShift;
        case TitleAlignCentre: return (Rect.right - E) / 2;
        case TitleAlignRight: return Rect.right - RightClip - E;
        default: return 0;
        }
    };
    if (FRightToLeft) {
        switch (Title.TextAlignment) {
        case TitleAlignLeft: Offset = Rect.right - FButtonsWidth - E; break;
        case TitleAlignCentre: Offset = (Rect.right - FButtonsWidth - E) / 2; break;
        case TitleAlignRight: Offset = TextShift; break;
        default: Offset = LeftToRightOffset(); break;
        }
    } else {
        Offset = LeftToRightOffset();
    }
    OffsetRect(&T, Offset, (Height(Rect) - Height(T)) / 2 + VerticalShift / 2);
    if (FRightToLeft && Offset < 1) T.left = TextShift;

    if ((FStyle & WS_POPUP) != 0) {
        if (FRightToLeft)
            OffsetRect(&T, RightToLeftTextShift, 0);
        else if (FButtonsWidth > ButtonsTextGap && Rect.right - FButtonsWidth - ButtonsTextGap < T.right)
            T.right = Rect.right - FButtonsWidth - ButtonsTextGap;
    } else {
        if (FRightToLeft)
            OffsetRect(&T, RightToLeftTextShift, 0);
        else
            T.right = std::min<LONG>(T.right, Rect.right - RightClip);
    }
    if (FBorderKind == BorderKindDialog && Title.TextAlignment == TitleAlignLeft) T.left -= DialogTextShift;
    FTitleRect = T;

    if (!Title.Bitmap->Empty() && T.right > T.left) {
        const RECT Back{T.left, Rect.top, T.right, Rect.bottom};
        DrawThreePartTiled(Canvas, Back, *Title.Bitmap, true, true, TitleBackFrames,
                           ActiveFrame(FActive, TitleBackFrames), RECT{Title.TXTBackleft, 0, Title.TXTBackRight, 0});
    }
    T.left += Title.TXTBackleft;
    T.right -= Title.TXTBackRight;
    UINT Format = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
    if (FRightToLeft) Format |= DT_RIGHT | DT_RTLREADING;
    // Drawing the background may have touched the DC's state: the text is drawn as set up here.
    const HDC TextDC = Canvas.Handle();
    SetBkMode(TextDC, TRANSPARENT);
    SetTextColor(TextDC, static_cast<COLORREF>(ColorToRGB(TextColor)));
    if (T.right > T.left) {
        RECT TextRect = T;
        DrawTextWide(TextDC, Text, TextRect, Format);
    }
    FTextRect = T;
}

// --- Region -------------------------------------------------------------------------------------

void TPellixForm::UpdateRegion() {
    if (FSkinState == SkinStateDead || !FSkinFrame || FSkinData == nullptr) return;
    RECT Window{};
    GetWindowRect(FHandle, &Window);
    const int32_t W = Width(Window);
    const int32_t H = Height(Window);
    if (W <= 0 || H <= 0) return;
    UpdateWindowState();
    if (IsMDIChild() && FWindowState != WindowStateNormal) return;
    if (FHasRegion && W == FRegionWidth && H == FRegionHeight && !IsMDIChild() && FSkinState != SkinStateRefreshing)
        return;

    const TSkinData& Data = *FSkinData;
    const bool AnyTransparent = Data.FBorderLeft->Trans == 1 || Data.FBorderRight->Trans == 1 ||
                                Data.FBorderTop->Trans == 1 || Data.FBorderBottom->Trans == 1;
    win::RegionHandle Region;
    if (!AnyTransparent || FBorderKind == BorderKindNoCaption) {
        Region.reset(CreateRectRgn(0, 0, W, H));
    } else {
        Region.reset(CreateRectRgn(FLeftWidth, FTitleHeight, W - FRightWidth, H - FBottomHeight));
        // One side: its full rectangle, or the opaque pixels of the side as painted.
        auto Side = [&](int32_t Kind, const RECT& Rect, bool FromBitmap) {
            const TDataSkinObject* Element = BorderElement(Kind);
            if (Width(Rect) <= 0 || Height(Rect) <= 0) return win::RegionHandle(CreateRectRgn(0, 0, 0, 0));
            if (!FromBitmap || Element->Trans != 1 || Element->Bitmap->Empty())
                return win::RegionHandle(CreateRectRgnIndirect(&Rect));
            // The side as PaintBorder paints it, read without copying it to a scratch bitmap first; a
            // picture that is not 24-bit is copied to one, so that the key colour compares as painted.
            std::unique_ptr<TBitmap> Picture = ComposeBorder(Kind, Width(Rect), Height(Rect));
            if (!Picture) return win::RegionHandle(CreateRectRgnIndirect(&Rect));
            if (Picture->PixelFormat() != pf24bit) {
                auto Scratch = std::make_unique<TBitmap>(Width(Rect), Height(Rect), pf24bit);
                BitBlt(Scratch->Canvas().Handle(), 0, 0, Width(Rect), Height(Rect), Picture->Canvas().Handle(), 0, 0,
                       SRCCOPY);
                Picture = std::move(Scratch);
            }
            return CreateRegionFromBitmap(*Picture, Rect.left, Rect.top, RegionTolerance, RegionTolerance,
                                          RegionTolerance, SkinTransparentColor);
        };
        const RECT LeftRect{0, 0, FLeftWidth, H};
        const RECT RightRect{W - FRightWidth, 0, W, H};
        const RECT BottomRect{FLeftWidth, H - FBottomHeight, W - FRightWidth, H};
        const RECT TopRect{FLeftWidth, 0, W - FRightWidth, FTitleHeight};
        win::RegionHandle Left = Side(BorderSideLeft, LeftRect, H > 1);
        win::RegionHandle Right = Side(BorderSideRight, RightRect, H > 1);
        win::RegionHandle Bottom = Side(BorderSideBottom, BottomRect, FBottomHeight >= 2);
        win::RegionHandle Top = Side(BorderSideTop, TopRect, FTitleHeight > 1 && Width(TopRect) > 0);
        CombineRgn(Left.get(), Left.get(), Right.get(), RGN_OR);
        CombineRgn(Top.get(), Top.get(), Bottom.get(), RGN_OR);
        CombineRgn(Left.get(), Left.get(), Top.get(), RGN_OR);
        CombineRgn(Region.get(), Region.get(), Left.get(), RGN_OR);
    }
    FRegionWidth = W;
    FRegionHeight = H;
    // From here on the region belongs to the system.
    FRegion = Region.get();
    if (SetWindowRgn(FHandle, Region.get(), TRUE) != 0) {
        static_cast<void>(Region.release());
        FHasRegion = true;
    } else {
        FRegion = nullptr;
    }
}

void TPellixForm::ClearRegion() {
    if (!FHasRegion) return;
    SetWindowRgn(FHandle, nullptr, IsMDIChild() ? TRUE : FALSE);
    FRegion = nullptr;
    FHasRegion = false;
}

// --- A control showing its parent's background ----------------------------------------------------

void TPellixForm::DrawParentImage(TControl* Control, HDC DC) {
    if (Control == nullptr || Control->Parent() == nullptr || DC == nullptr) return;
    win::SavedDC Saved(DC);
    POINT Origin{};
    GetViewportOrgEx(DC, &Origin);
    SetViewportOrgEx(DC, Origin.x - Control->Left(), Origin.y - Control->Top(), nullptr);
    RECT Clip = Control->ClientRect();
    OffsetRect(&Clip, Control->Left(), Control->Top());
    IntersectClipRect(DC, Clip.left, Clip.top, Clip.right, Clip.bottom);
    TWinControl* Parent = Control->Parent();
    Parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(DC), 0);
    Parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(DC), 0);
}
