// TPellixForm's caption buttons: which are visible and enabled on this window, where they go, how
// they are drawn in their states, the caption icon, and finding the object under a point.
#include <algorithm>

#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinServices.h"
#include "skin/form/NCObject.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinManage.h"
#include "skin/form/SkinMenuBarLink.h"

namespace {

int32_t Width(const RECT& R) { return R.right - R.left; }

bool IsIconAction(int32_t Action) { return Action == ButtonActionSystemMenu || Action == ButtonActionIcon; }

}  // namespace

bool TPellixForm::IsButtonVisible(int32_t Index) {
    if (Index < 0 || Index >= static_cast<int32_t>(FSysButtons.size())) return false;
    TWinSysButton& Button = *FSysButtons[Index];
    const TDataSkinSysButton& Element = *Button.FElement;
    const bool Maximized = FWindowState == WindowStateMaximized;
    const bool AnyBox = HasMinimizeBox() || HasMaximizeBox();
    const bool SystemMenu = HasSystemMenu();

    // The MDI frame's active child is maximized and the frame shows a menu bar.
    auto MDIChildMaximized = [&] {
        if (FFormKind != FormKindMDIFrame || FClientHandle == nullptr || !FMenuBar) return false;
        BOOL ChildMaximized = FALSE;
        const auto Active = reinterpret_cast<HWND>(
            SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&ChildMaximized)));
        return Active != nullptr && ChildMaximized != FALSE;
    };
    // One condition; Second selects the Visibility1 reading where the two keys differ.
    auto Condition = [&](int32_t Value, bool Second) {
        switch (Value) {
        case VisibleAlways: return true;
        case VisibleMaximized: return Maximized;
        case VisibleNotMaximized: return !Maximized;
        case VisibleActive: return FActive;
        case VisibleInactive: return !FActive;
        case VisibleNever: return false;
        case VisibleWithBoxes:
        case VisibleWithBoxes2: return Second ? AnyBox : AnyBox && SystemMenu;
        case VisibleNoMaximizeBox: return !HasMaximizeBox();
        case VisibleNoMinimizeBox: return !HasMinimizeBox();
        case VisibleHelpOnly: return Second ? HasHelpButton() : HasHelpButton() && !AnyBox;
        case VisibleMDIChildMaximized: return MDIChildMaximized();
        case VisibleOwnDialog: return FBorderKind == BorderKindDialog && !FIsDialog;
        default: break;
        }
        if (Value >= VisibleAlwaysFirst && Value <= VisibleAlwaysLast) return true;
        if (Value >= VisibleQueryFirst && Value <= VisibleQueryLast)
            return Second || SendMessageW(FHandle, WM_SKINBUTTONQUERY, static_cast<WPARAM>(Value),
                                          static_cast<LPARAM>(Element.Action)) > 0;
        return false;  // -1 and anything else: never
    };

    bool Visible = Condition(Element.Visibility, false) && Condition(Element.Visibility1, true);
    switch (Element.Action) {
    case ButtonActionClose: Visible = Visible && SystemMenu; break;
    case ButtonActionMaximize:
    case ButtonActionMaximize2: Button.FEnabled = HasMaximizeBox() && SystemMenu; break;
    case ButtonActionMinimize:
    case ButtonActionMinimize2: Button.FEnabled = HasMinimizeBox() && SystemMenu; break;
    case ButtonActionSystemMenu:
    case ButtonActionIcon:
    case ButtonActionSystemMenu2: Visible = Visible && FBorderKind != BorderKindDialog; break;
    default: break;
    }
    Button.FVisible = Visible;
    return Visible;
}

void TPellixForm::LayoutButtons() {
    const int32_t W = FWidth;
    for (int32_t Index = 0; Index < static_cast<int32_t>(FSysButtons.size()); ++Index) {
        TWinSysButton& Button = *FSysButtons[Index];
        const TDataSkinSysButton& Element = *Button.FElement;
        if (!IsButtonVisible(Index) || Element.Bitmap->Empty()) continue;
        const int32_t ButtonWidth = Element.Bitmap->Width() / std::max(Element.Frame, 1);
        const int32_t ButtonHeight = Element.Bitmap->Height();
        POINT At{0, 0};
        switch (Element.Align) {
        case ButtonAlignLeft: At = POINT{Element.XCoord, Element.YCoord}; break;
        case ButtonAlignRight: At = POINT{W - Element.XCoord, Element.YCoord}; break;
        case ButtonAlignBeforeText:
        case ButtonAlignBeforeText2: At = POINT{FTitleRect.left - ButtonWidth - Element.XCoord, Element.YCoord}; break;
        case ButtonAlignAfterText:
        case ButtonAlignAfterText2: At = POINT{FTitleRect.right + Element.XCoord, Element.YCoord}; break;
        case ButtonAlignMenuBar: {
            const int32_t BarLeft = FSkinData->FMenuBar ? FSkinData->FMenuBar->LeftWidth : 0;
            At = POINT{W - Element.XCoord - FRightWidth - BarLeft, FTitleHeight + (FMenuHeight - ButtonHeight) / 2};
            break;
        }
        default: break;
        }
        Button.FBounds = RECT{At.x, At.y, At.x + ButtonWidth, At.y + ButtonHeight};
    }
}

void TPellixForm::PaintButtons(TCanvas& Canvas) {
    for (const auto& Button : FSysButtons) {
        const TDataSkinSysButton& Element = *Button->FElement;
        if (!Button->FVisible || Element.Bitmap->Empty() || Element.Visibility == VisibleMDIChildMaximized) continue;
        if (IsIconAction(Element.Action)) {
            DrawCaptionIcon(Canvas.Handle(), Button->FBounds);
            continue;
        }
        int32_t Frame =
            Element.Frame < NCStateDisabled || (FActive && Button->FEnabled) ? NCStateNormal : NCStateDisabled;
        // The button under the mouse keeps its hot or pressed look through a full repaint.
        if (Button.get() == FHotObject && FActive && Button->FEnabled) Frame = Button->FState;
        DrawFrameStretched(Canvas.Handle(), Button->FBounds, *Element.Bitmap, true, Element.Frame, Frame);
    }
}

void TPellixForm::DrawSysButton(TWinSysButton& Button, int32_t State) {
    if (FSkinState != SkinStateRunning && FSkinState != SkinStateRefreshing) return;
    const TDataSkinSysButton& Element = *Button.FElement;
    if (Element.Bitmap->Empty()) return;
    int32_t Frame = State;
    if (!Button.FEnabled) Frame = Element.Frame >= NCStateDisabled ? NCStateDisabled : NCStateNormal;
    win::WindowFrameDC DC(FHandle);
    if (!DC) return;
    if (Element.Visibility == VisibleMDIChildMaximized) {
        // On the menu bar: drawn straight onto the window.
        if (Frame == NCStateHot) Frame = NCStateDisabled;
        DrawFrameStretched(DC.get(), Button.FBounds, *Element.Bitmap, true, Element.Frame, Frame);
        return;
    }
    // In the caption the strip is composed again, so that the key-coloured parts of the new state
    // show the caption behind them and not the state before.
    PaintFrameCaption(DC.get());
}

void TPellixForm::PaintFrameCaption(HDC DC) {
    GetWindowRect(FHandle, &FWindowRect);
    FWidth = Width(FWindowRect);
    FHeight = FWindowRect.bottom - FWindowRect.top;
    PaintCaption(DC);
}

void TPellixForm::DrawCaptionIcon(HDC DC, const RECT& Rect) {
    HICON Icon = WindowIconOf(FHandle);
    if (Icon != FCaptionIconSource || !FCaptionIconCopy) {
        FCaptionIconCopy.reset(
            Icon != nullptr ? static_cast<HICON>(CopyImage(Icon, IMAGE_ICON, FIconSize, FIconSize, LR_COPYFROMRESOURCE))
                            : nullptr);
        FCaptionIconSource = Icon;
    }
    if (FCaptionIconCopy) {
        constexpr int32_t IconLeft = 8;
        const int32_t Top = (FTextRect.top + FTextRect.bottom) / 2 - FIconSize / 2;
        DrawIconEx(DC, IconLeft, Top, FCaptionIconCopy.get(), FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
        return;
    }
    DrawTransparent(DC, Rect, *FIconBitmap, SkinTransparentColor);
}

TWinSysButton* TPellixForm::ObjectAt(POINT FramePoint) {
    DropStaleButtons();
    for (const auto& Button : FSysButtons)
        if (Button->FVisible && Button->FElement->Action >= 0 && PtInRect(&Button->FBounds, FramePoint))
            return Button.get();
    return nullptr;
}

TNCObject* TPellixForm::NCObjectAt(POINT FramePoint) {
    if (TWinSysButton* Button = ObjectAt(FramePoint)) return Button;
    return FMenuBar ? FMenuBar->FindMenuButtonAt(FramePoint) : nullptr;
}

POINT TPellixForm::ScreenToFrame(POINT ScreenPoint) const {
    POINT Point = ScreenPoint;
    ScreenToClient(FHandle, &Point);
    if (!(IsMDIChild() && FWindowState == WindowStateMinimized)) {
        Point.x += FLeftWidth;
        Point.y += FTitleHeight + FMenuHeight;
    }
    return Point;
}
