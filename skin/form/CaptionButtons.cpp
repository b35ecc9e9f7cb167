// TPellixForm's caption buttons: which are visible and enabled on this window, where they go, how
// they are drawn in their states, the caption icon, and finding the object under a point; and the
// caption objects' state machine (TNCObject) and TWinSysButton's painting, which act on the form
// skinner (kept here, so that the caption objects' header needs nothing of the form skinner).
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

int32_t Width(const RECT& r) { return r.right - r.left; }

bool IsIconAction(int32_t action) { return action == ButtonActionSystemMenu || action == ButtonActionIcon; }

}  // namespace

bool TPellixForm::IsButtonVisible(int32_t index) {
    if (index < 0 || index >= static_cast<int32_t>(FSysButtons.size())) return false;
    TWinSysButton& button = *FSysButtons[index];
    const TDataSkinSysButton& Element = *button.FElement;
    const bool Maximized = FWindowState == WindowStateMaximized;
    const bool AnyBox = HasMinimizeBox() || HasMaximizeBox();
    const bool systemMenu = HasSystemMenu();

    // The MDI frame's active child is maximized and the frame shows a menu bar.
    auto MDIChildMaximized = [&] {
        if (FFormKind != FormKindMDIFrame || FClientHandle == nullptr || !FMenuBar) return false;
        BOOL childMaximized = FALSE;
        const auto active = reinterpret_cast<HWND>(
            SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&childMaximized)));
        return active != nullptr && childMaximized != FALSE;
    };
    // One condition; Second selects the Visibility1 reading where the two keys differ.
    auto condition = [&](int32_t value, bool second) {
        switch (value) {
        case VisibleAlways: return true;
        case VisibleMaximized: return Maximized;
        case VisibleNotMaximized: return !Maximized;
        case VisibleActive: return FActive;
        case VisibleInactive: return !FActive;
        case VisibleNever: return false;
        case VisibleWithBoxes:
        case VisibleWithBoxes2: return second ? AnyBox : AnyBox && systemMenu;
        case VisibleNoMaximizeBox: return !HasMaximizeBox();
        case VisibleNoMinimizeBox: return !HasMinimizeBox();
        case VisibleHelpOnly: return second ? HasHelpButton() : HasHelpButton() && !AnyBox;
        case VisibleMDIChildMaximized: return MDIChildMaximized();
        case VisibleOwnDialog: return FBorderKind == BorderKindDialog && !FIsDialog;
        default: break;
        }
        if (value >= VisibleAlwaysFirst && value <= VisibleAlwaysLast) return true;
        if (value >= VisibleQueryFirst && value <= VisibleQueryLast)
            return second || SendMessageW(FHandle, WM_SKINBUTTONQUERY, static_cast<WPARAM>(value),
                                          static_cast<LPARAM>(Element.Action)) > 0;
        return false;  // -1 and anything else: never
    };

    bool visible = condition(Element.Visibility, false) && condition(Element.Visibility1, true);
    switch (Element.Action) {
    case ButtonActionClose: visible = visible && systemMenu; break;
    case ButtonActionMaximize:
    case ButtonActionMaximize2: button.FEnabled = HasMaximizeBox() && systemMenu; break;
    case ButtonActionMinimize:
    case ButtonActionMinimize2: button.FEnabled = HasMinimizeBox() && systemMenu; break;
    case ButtonActionSystemMenu:
    case ButtonActionIcon:
    case ButtonActionSystemMenu2: visible = visible && FBorderKind != BorderKindDialog; break;
    default: break;
    }
    button.FVisible = visible;
    return visible;
}

void TPellixForm::LayoutButtons() {
    const int32_t w = FWidth;
    for (int32_t index = 0; index < static_cast<int32_t>(FSysButtons.size()); ++index) {
        TWinSysButton& button = *FSysButtons[index];
        const TDataSkinSysButton& element = *button.FElement;
        if (!IsButtonVisible(index) || element.Bitmap->Empty()) continue;
        const int32_t buttonWidth = element.Bitmap->Width() / std::max(element.Frame, 1);
        const int32_t buttonHeight = element.Bitmap->Height();
        POINT at{0, 0};
        switch (element.Align) {
        case ButtonAlignLeft: at = POINT{element.XCoord, element.YCoord}; break;
        case ButtonAlignRight: at = POINT{w - element.XCoord, element.YCoord}; break;
        case ButtonAlignBeforeText:
        case ButtonAlignBeforeText2: at = POINT{FTitleRect.left - buttonWidth - element.XCoord, element.YCoord}; break;
        case ButtonAlignAfterText:
        case ButtonAlignAfterText2: at = POINT{FTitleRect.right + element.XCoord, element.YCoord}; break;
        case ButtonAlignMenuBar: {
            const int32_t barLeft = FSkinData->FMenuBar ? FSkinData->FMenuBar->LeftWidth : 0;
            at = POINT{w - element.XCoord - FRightWidth - barLeft, FTitleHeight + (FMenuHeight - buttonHeight) / 2};
            break;
        }
        default: break;
        }
        button.FBounds = RECT{at.x, at.y, at.x + buttonWidth, at.y + buttonHeight};
    }
}

void TPellixForm::PaintButtons(TCanvas& canvas) {
    for (const auto& button : FSysButtons) {
        const TDataSkinSysButton& element = *button->FElement;
        if (!button->FVisible || element.Bitmap->Empty() || element.Visibility == VisibleMDIChildMaximized) continue;
        if (IsIconAction(element.Action)) {
            DrawCaptionIcon(canvas.Handle(), button->FBounds);
            continue;
        }
        int32_t frame =
            element.Frame < NCStateDisabled || (FActive && button->FEnabled) ? NCStateNormal : NCStateDisabled;
        // The button under the mouse keeps its hot or pressed look through a full repaint.
        if (button.get() == FHotObject && FActive && button->FEnabled) frame = button->FState;
        DrawFrameStretched(canvas.Handle(), button->FBounds, *element.Bitmap, true, element.Frame, frame);
    }
}

void TPellixForm::DrawSysButton(TWinSysButton& button, int32_t state) {
    if (FSkinState != SkinStateRunning && FSkinState != SkinStateRefreshing) return;
    const TDataSkinSysButton& element = *button.FElement;
    if (element.Bitmap->Empty()) return;
    int32_t frame = state;
    if (!button.FEnabled) frame = element.Frame >= NCStateDisabled ? NCStateDisabled : NCStateNormal;
    win::WindowFrameDC dc(FHandle);
    if (!dc) return;
    if (element.Visibility == VisibleMDIChildMaximized) {
        // On the menu bar: drawn straight onto the window.
        if (frame == NCStateHot) frame = NCStateDisabled;
        DrawFrameStretched(dc.get(), button.FBounds, *element.Bitmap, true, element.Frame, frame);
        return;
    }
    // In the caption the strip is composed again, so that the key-coloured parts of the new state
    // show the caption behind them and not the state before.
    PaintFrameCaption(dc.get());
}

void TPellixForm::PaintFrameCaption(HDC dc) {
    GetWindowRect(FHandle, &FWindowRect);
    FWidth = Width(FWindowRect);
    FHeight = FWindowRect.bottom - FWindowRect.top;
    PaintCaption(dc);
}

void TPellixForm::DrawCaptionIcon(HDC dc, const RECT& rect) {
    HICON icon = WindowIconOf(FHandle);
    if (icon != FCaptionIconSource || !FCaptionIconCopy) {
        FCaptionIconCopy.reset(
            icon != nullptr ? static_cast<HICON>(CopyImage(icon, IMAGE_ICON, FIconSize, FIconSize, LR_COPYFROMRESOURCE))
                            : nullptr);
        FCaptionIconSource = icon;
    }
    if (FCaptionIconCopy) {
        constexpr int32_t iconLeft = 8;
        const int32_t top = (FTextRect.top + FTextRect.bottom) / 2 - FIconSize / 2;
        DrawIconEx(dc, iconLeft, top, FCaptionIconCopy.get(), FIconSize, FIconSize, 0, nullptr, DI_NORMAL);
        return;
    }
    DrawTransparent(dc, rect, *FIconBitmap, SkinTransparentColor);
}

TWinSysButton* TPellixForm::ObjectAt(POINT framePoint) {
    DropStaleButtons();
    for (const auto& button : FSysButtons)
        if (button->FVisible && button->FElement->Action >= 0 && PtInRect(&button->FBounds, framePoint))
            return button.get();
    return nullptr;
}

TNCObject* TPellixForm::NCObjectAt(POINT framePoint) {
    if (TWinSysButton* button = ObjectAt(framePoint)) return button;
    return FMenuBar ? FMenuBar->FindMenuButtonAt(framePoint) : nullptr;
}

POINT TPellixForm::ScreenToFrame(POINT screenPoint) const {
    POINT point = screenPoint;
    ScreenToClient(FHandle, &point);
    if (!(IsMDIChild() && FWindowState == WindowStateMinimized)) {
        point.x += FLeftWidth;
        point.y += FTitleHeight + FMenuHeight;
    }
    return point;
}

// --- Caption objects -------------------------------------------------------------------------

QUIRN_DEFINE_CLASS(TNCObject)
QUIRN_DEFINE_CLASS(TWinSysButton)

TNCObject::~TNCObject() {
    // The form must not keep pointing at an object that is going.
    if (FForm != nullptr && FForm->FHotObject == this) FForm->FHotObject = nullptr;
}

void TNCObject::MouseDown() {
    if (FForm->FHotObject != nullptr && FForm->FHotObject != this) FForm->FHotObject->MouseLeave();
    if (!FVisible) return;
    FForm->FHotObject = this;
    FState = NCStatePressed;
    Paint();
}

void TNCObject::MouseUp() {
    if (!FVisible) return;
    FState = NCStateHot;
    Paint();
}

void TNCObject::MouseMove() {
    if (FForm->FHotObject == this) return;
    if (FForm->FHotObject != nullptr) FForm->FHotObject->MouseLeave();
    if (!FVisible) return;
    FForm->FHotObject = this;
    FState = NCStateHot;
    Paint();
}

void TNCObject::MouseLeave() {
    if (!FVisible) return;
    FForm->FHotObject = nullptr;
    FState = NCStateNormal;
    Paint();
    if (TSkinData* data = FForm->FSkinData) {
        data->HideButtonHint();
        data->FHintClock = 0;
    }
}

void TWinSysButton::Paint() { FForm->DrawSysButton(*this, FState); }

const char* CaptionButtonHint(int32_t action) {
    switch (action) {
    case ButtonActionClose:
    case ButtonActionMDIClose:
    case ButtonActionMDIClose2: return "Close";
    case ButtonActionMaximize:
    case ButtonActionMaximize2: return "Maximize";
    case ButtonActionMinimize:
    case ButtonActionMDIMinimize:
    case ButtonActionMinimize2:
    case ButtonActionMDIMinimize2: return "Minimize";
    case ButtonActionMDIRestore:
    case ButtonActionMDIRestore2: return "Restore";
    default: return "";
    }
}
