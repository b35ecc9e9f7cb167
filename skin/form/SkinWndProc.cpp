// TPellixForm's window procedure: which messages the window's own procedure sees, and the
// behaviour of the skinned non-client area — hit testing, activation, sizing, the caption buttons
// under the mouse, double clicks, system commands, keyboard access to the menu bar and the hover
// timer with the caption-button hints.
#include <algorithm>

#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "framework/controls/Timer.h"
#include "framework/rtl/Trace.h"
#include "skin/data/SkinData.h"
#include "skin/form/NCObject.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinControlLink.h"
#include "skin/form/SkinManage.h"
#include "skin/form/PellixMenu.h"
#include "skin/form/SkinMenuBarLink.h"

namespace {

// A frame point this far below the window's top edge is on the caption.
constexpr int32_t CaptionTopEdge = 3;
// The hint goes this far below the cursor.
constexpr int32_t HintCursorOffset = 24;
// SC_KEYMENU's key for the menu bar itself (F10 or Alt alone).
constexpr LPARAM MenuBarKey = 0;

POINT MessagePoint(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

bool IsSystemCaptionHit(LRESULT hit) {
    switch (hit) {
    case HTSYSMENU:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP: return true;
    default: return false;
    }
}

// The messages of the user's input whose way through the form skinner the Form channel traces.
bool IsTracedInput(UINT msg) {
    return (msg >= WM_NCMOUSEMOVE && msg <= WM_NCXBUTTONDBLCLK && msg != WM_NCMOUSEMOVE) ||
           (msg >= WM_KEYFIRST && msg <= WM_KEYLAST) || msg == WM_SYSCOMMAND || msg == WM_CONTEXTMENU ||
           msg == WM_INITMENUPOPUP;
}

// Counts the calls of the window procedure that are running, so that a purge never frees the
// skinner under its own feet (a modal loop inside a handler runs the hook).
struct TDepthGuard {
    int32_t& Depth;
    explicit TDepthGuard(int32_t& value) : Depth(value) { ++Depth; }
    ~TDepthGuard() { --Depth; }
};

}  // namespace

void TPellixForm::SkinWndProc(TMessage& message) {
    TDepthGuard guard(FWindowProcDepth);
    if (IsTracedInput(message.Msg))
        QUIRN_TRACE(TTraceChannel::Form, "input ", std::hex, message.Msg, " wParam ", message.WParam, " lParam ",
                    message.LParam, " to ", FHandle);
    else if (message.Msg == WM_WINDOWPOSCHANGED)
        QUIRN_TRACE(TTraceChannel::Form, "position of ", FHandle, " changed, flags ", std::hex,
                    reinterpret_cast<const WINDOWPOS*>(message.LParam)->flags, ", after ",
                    reinterpret_cast<const WINDOWPOS*>(message.LParam)->hwndInsertAfter);
    else if (message.Msg == WM_ACTIVATE)
        QUIRN_TRACE(TTraceChannel::Form, "activate ", FHandle, " state ", message.WParam);
    message.Result = 0;
    bool passOn = false;
    if (SkinStage1(message, passOn)) return;
    if (SkinStage2(message, passOn)) return;
    SkinStage3(message, passOn);
}

// Stage 1, for every message; true when the message is done.
bool TPellixForm::SkinStage1(TMessage& message, bool& passOn) {
    switch (message.Msg) {
    case WM_NCPAINT:
        if (FSkinState != SkinStateCreated) break;
        return true;  // no system frame before the attach has finished
    case WM_ERASEBKGND:
        CallOldProc(message);
        if (FForm == nullptr && FSkinData != nullptr && message.WParam != 0) {
            RECT client{};
            GetClientRect(FHandle, &client);
            FillRect(reinterpret_cast<HDC>(message.WParam), &client, FSkinData->FFaceBrush.get());
            message.Result = 1;
        }
        return true;
    case WM_NCDESTROY:
        FSkinState = SkinStateDestroying;
        UnskinDestroyed();
        CallOldProc(message);
        FSkinState = SkinStateDead;
        return true;
    case WM_NCACTIVATE:
        if (FSkinState == SkinStateCreated && !IsMDIChild()) return true;
        break;
    case WM_NCUAHDRAWCAPTION: return true;
    case WM_INITMENUPOPUP:
        if (SkinManager != nullptr)
            SkinManager->FMenuSource =
                reinterpret_cast<HMENU>(message.WParam) == FSystemMenu ? MenuSourceSystemMenu : MenuSourceMenuBar;
        CallOldProc(message);
        return true;
    case WM_CTLCOLORBTN:
        CallOldProc(message);
        if (FForm == nullptr) SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
        return true;
    case WM_CTLCOLORSTATIC:
        CallOldProc(message);
        if (FForm == nullptr && FSkinData != nullptr) {
            SetBkMode(reinterpret_cast<HDC>(message.WParam), TRANSPARENT);
            message.Result = reinterpret_cast<LRESULT>(FSkinData->FFaceBrush.get());
        }
        return true;
    case WM_SKINATTACH:
        if (!FAttached) FinishAttach();
        return true;
    case WM_SKINRESCROLL:
        for (size_t index = FControlSkins.size(); index-- > 0;) {
            TSkinControlLink* old = FControlSkins[index];
            if (old->SkinnedWindow() != reinterpret_cast<HWND>(message.WParam)) continue;
            if (ControlDiscovery().Rescroll != nullptr) ControlDiscovery().Rescroll(*this, *old);
            break;
        }
        return true;
    case WM_SKINQUERY:
        message.Result = SkinQueryAnswer;
        PostMessageW(FHandle, WM_SKINNOTIFY, 0, SkinMagic);
        return true;
    default: break;
    }
    if (!FSkinFrame) {
        CallOldProc(message);
        return true;
    }
    passOn = true;
    return false;
}

// Stage 2, for messages marked in stage 1; true when the message is done.
bool TPellixForm::SkinStage2(TMessage& message, bool& passOn) {
    if (!passOn) return false;
    if ((FStyle & WS_CHILD) != 0 && !IsMDIChild()) {
        CallOldProc(message);
        return true;
    }
    passOn = false;
    switch (message.Msg) {
    case WM_COMMAND: {
        const WPARAM command = LOWORD(message.WParam);
        switch (command) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_CLOSE:
        case SC_RESTORE:
            // A command of the owner-drawn system menu.
            PostMessageW(FHandle, WM_SYSCOMMAND, command, 0);
            return true;
        default: CallOldProc(message); return true;
        }
    }
    case WM_SYSCOMMAND: SysCommandHandler(message); return true;
    case WM_WINDOWPOSCHANGED:
        UpdateWindowState();
        CallOldProc(message);
        return true;
    case WM_SIZE: SizeHandler(message); return true;
    case WM_ACTIVATE:
        FActive = LOBYTE(LOWORD(message.WParam)) != 0;
        passOn = true;
        return false;
    case WM_GETMINMAXINFO:
        CallOldProc(message);
        UpdateWindowState();
        return true;
    case WM_SETICON:
        CallOldProc(message);
        BuildIconBitmap();
        if (FAttached && IsWindowVisible(FHandle)) PaintFrame(nullptr);
        return true;
    case WM_SETTEXT:
        CallOldProc(message);
        // A window without form object has no form-level procedure to repaint its caption: the
        // system has just drawn its own over the skinned one.
        if (FForm == nullptr && FAttached && IsWindowVisible(FHandle)) PaintFrame(nullptr);
        return true;
    case WM_NCACTIVATE:
        FActive = LOBYTE(LOWORD(message.WParam)) != 0;
        passOn = true;
        return false;
    case WM_SKINMENUKEY: {
        const POINT frame = ScreenToFrame(MessagePoint(message.LParam));
        TNCObject* object = NCObjectAt(frame);
        if (object != nullptr && !object->InheritsFrom(TWinSysButton::StaticClass()) && FMenuBar)
            FMenuBar->OpenMenuBarItem(object);
        message.Result = 0;
        return true;
    }
    case CM_MENUCHANGED: MenuChanged(message, false); return true;
    default: passOn = true; return false;
    }
}

// Stage 3: the frame's own messages, once the attach has run.
void TPellixForm::SkinStage3(TMessage& message, bool passOn) {
    if (FSkinState == SkinStateCreated || IsMaximizedMDIChild()) {
        if (passOn) CallOldProc(message);
        return;
    }
    switch (message.Msg) {
    case WM_NCACTIVATE: ActivationHandler(message); return;
    case WM_WINDOWPOSCHANGING: CallOldProc(message); return;
    case WM_NCCALCSIZE: CalcClientRect(message); return;
    case WM_MEASUREITEM:
        if (!MeasureItemMessage(message)) CallOldProc(message);
        return;
    case WM_DRAWITEM:
        if (!DrawItemMessage(message)) CallOldProc(message);
        return;
    case WM_NCHITTEST: HitTest(message); return;
    case WM_NCPAINT:
        SetSysMenuStyle(true);
        if (FSkinData->FFramePainting) {
            if (IsMaximizedMDIChild() || FBorderKind == BorderKindNoCaption) {
                CallOldProc(message);
                return;
            }
            PaintFrame(nullptr);
        }
        message.Result = 0;
        return;
    case WM_NCMOUSEMOVE: NCMouseMove(message); return;
    case WM_NCLBUTTONDOWN: NCLButtonDown(message); return;
    case WM_NCLBUTTONUP: NCLButtonUp(message); return;
    case WM_NCLBUTTONDBLCLK: NCLButtonDblClk(message); return;
    case WM_NCRBUTTONDOWN: NCRButtonDown(message); return;
    case WM_SKINNCPAINT: PaintFrame(nullptr); return;
    default:
        if (passOn) CallOldProc(message);
        return;
    }
}

// --- Handlers ----------------------------------------------------------------------------------

void TPellixForm::ActivationHandler(TMessage& message) {
    FActive = message.WParam != 0;
    if (FTimer) FTimer->SetEnabled(FActive);
    if (!FActive) {
        if (FHotControl != nullptr) {
            FHotControl->MouseLeave();
            FHotControl = nullptr;
        }
        // An inactive window has no hot caption button.
        if (FHotObject != nullptr) {
            FHotObject->FState = NCStateNormal;
            FHotObject = nullptr;
        }
        HideHint();
    }
    if (FFormKind == FormKindMDIFrame && FClientHandle != nullptr)
        SendMessageW(FClientHandle, WM_NCACTIVATE, message.WParam, 0);
    else if (IsMDIChild())
        CallOldProc(message);
    if (!IsMaximizedMDIChild()) PaintFrame(nullptr);
    message.Result = 1;
}

void TPellixForm::SizeHandler(TMessage& message) {
    CallOldProc(message);
    switch (message.WParam) {
    case SIZE_RESTORED: FWindowState = WindowStateNormal; break;
    case SIZE_MINIMIZED: FWindowState = WindowStateMinimized; break;
    case SIZE_MAXIMIZED: FWindowState = WindowStateMaximized; break;
    default: break;
    }
    if (FWindowState == WindowStateMinimized) return;
    if (IsMDIChild() && ((SkinManager != nullptr && SkinManager->FMDIMaximized) || FWindowState != WindowStateNormal))
        return;
    if (FSkinState == SkinStateRunning || FSkinState == SkinStateRefreshing) UpdateRegion();
}

void TPellixForm::HitTest(TMessage& message) {
    CallOldProc(message);
    // The skin draws its own caption buttons where the system would find its own.
    if (message.Result != HTNOWHERE && message.Result != HTCAPTION && !IsSystemCaptionHit(message.Result)) return;
    const POINT frame = ScreenToFrame(MessagePoint(message.LParam));
    if (frame.y > CaptionTopEdge) {
        message.Result = HTCAPTION;
        if (frame.y > FTitleHeight && FMenuHeight > 0) message.Result = HTMENU;
    } else if (IsSystemCaptionHit(message.Result)) {
        message.Result = HTCAPTION;
    }
}

void TPellixForm::NCMouseMove(TMessage& message) {
    if (!FActive) return;  // an inactive window ignores non-client moves
    const POINT frame = ScreenToFrame(MessagePoint(message.LParam));
    if (TNCObject* object = NCObjectAt(frame)) {
        object->MouseMove();
        message.Result = 0;
        return;
    }
    if (FHotObject != nullptr) {
        FHotObject->MouseLeave();
        FHotObject = nullptr;
    }
    CallOldProc(message);
}

void TPellixForm::NCLButtonDown(TMessage& message) {
    HideHint();
    const POINT frame = ScreenToFrame(MessagePoint(message.LParam));
    if (TNCObject* object = NCObjectAt(frame)) {
        if (!FActive) SetForegroundWindow(FHandle);
        object->MouseDown();
        // The bar keeps its own button hot while the drop-down is open; after it the button may be gone
        // (the menu rebuilt, the window destroyed), so it is not touched here.
        if (!object->InheritsFrom(TWinSysButton::StaticClass()) && FMenuBar) FMenuBar->OpenMenuBarItem(object);
        message.Result = 0;
        return;
    }
    UpdateWindowState();
    // A maximized window is not dragged by its caption.
    if (message.WParam == HTCAPTION && FWindowState == WindowStateMaximized && FActive) message.WParam = HTMENU;
    CallOldProc(message);
}

void TPellixForm::NCLButtonUp(TMessage& message) {
    HideHint();
    const POINT frame = ScreenToFrame(MessagePoint(message.LParam));
    if (TNCObject* object = NCObjectAt(frame)) {
        auto* button = ObjectAs<TWinSysButton>(object);
        if (button != nullptr && button == FHotObject) {
            button->MouseUp();
            ButtonAction(*button, MessagePoint(message.LParam));
        }
        message.Result = 0;
        return;
    }
    CallOldProc(message);
}

void TPellixForm::NCLButtonDblClk(TMessage& message) {
    const POINT frame = ScreenToFrame(MessagePoint(message.LParam));
    if (TWinSysButton* button = ObjectAt(frame)) {
        const int32_t action = button->FElement->Action;
        if (action == ButtonActionSystemMenu || action == ButtonActionIcon) {
            if (FTimer) FTimer->SetEnabled(false);
            PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        message.Result = 0;
        return;
    }
    UpdateWindowState();
    if (FWindowState != WindowStateNormal)
        DoRestore();
    else if (HasMaximizeBox())
        ToggleMaximize();
    else
        CallOldProc(message);
}

void TPellixForm::NCRButtonDown(TMessage& message) {
    HideHint();
    QUIRN_TRACE(TTraceChannel::Form, "right button down on hit code ", message.WParam);
    if (message.WParam == HTCAPTION && !IsMDIChild()) {
        ShowSysMenu(MessagePoint(message.LParam));
        message.Result = 0;
        return;
    }
    CallOldProc(message);
}

void TPellixForm::ButtonAction(TWinSysButton& button, POINT screenPoint) {
    const int32_t action = button.FElement->Action;
    auto sendToActiveChild = [&](WPARAM command) {
        if (FFormKind != FormKindMDIFrame || FClientHandle == nullptr) return;
        const auto child = reinterpret_cast<HWND>(SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, 0));
        if (child != nullptr) SendMessageW(child, WM_SYSCOMMAND, command, 0);
    };
    switch (action) {
    case ButtonActionClose: {
        bool canClose = IsWindows9xVersion(SkinPlatform().SystemVersion) || !SkinPlatform().IsNT ||
                        LOBYTE(LOWORD(GetVersion())) < 5;
        if (!canClose && FSystemMenu != nullptr) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_ID;
            canClose = GetMenuItemInfoW(FSystemMenu, SC_CLOSE, FALSE, &info) != FALSE;
        }
        if (canClose) {
            if (FTimer) FTimer->SetEnabled(false);
            PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    }
    case ButtonActionMaximize:
    case ButtonActionMaximize2:
        if (button.FEnabled) ToggleMaximize();
        break;
    case ButtonActionMinimize:
    case ButtonActionMinimize2:
        if (button.FEnabled) ToggleMinimize();
        break;
    case ButtonActionSystemMenu:
    case ButtonActionIcon:
    case ButtonActionSystemMenu2: ShowSysMenu(POINT{screenPoint.x + 1, screenPoint.y + 1}); break;
    case ButtonActionHelp: PostMessageW(FHandle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); break;
    case ButtonActionMDIMinimize:
    case ButtonActionMDIMinimize2: sendToActiveChild(SC_MINIMIZE); break;
    case ButtonActionMDIRestore:
    case ButtonActionMDIRestore2: sendToActiveChild(SC_RESTORE); break;
    case ButtonActionMDIClose:
    case ButtonActionMDIClose2: sendToActiveChild(SC_CLOSE); break;
    default: PostMessageW(FHandle, WM_SKINBUTTONCMD, static_cast<WPARAM>(action), 0); break;
    }
}

void TPellixForm::ToggleMaximize() {
    UpdateWindowState();
    if (FWindowState == WindowStateMaximized) {
        DoRestore();
        return;
    }
    if (IsMDIChild() && SkinManager != nullptr) SkinManager->SetMDIMaximized(true);
    FWindowState = WindowStateMaximized;
    PostMessageW(FHandle, WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    if (FHotObject != nullptr) {
        FHotObject->FState = NCStateNormal;
        FHotObject = nullptr;
    }
}

void TPellixForm::ToggleMinimize() {
    UpdateWindowState();
    if (FWindowState == WindowStateMinimized) {
        DoRestore();
        return;
    }
    FWindowState = WindowStateMinimized;
    SetSysMenuStyle(false);
    PostMessageW(FHandle, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void TPellixForm::DoRestore() {
    FWindowState = WindowStateNormal;
    PostMessageW(FHandle, WM_SYSCOMMAND, SC_RESTORE, 0);
}

void TPellixForm::SysCommandHandler(TMessage& message) {
    const WPARAM command = message.WParam & 0xFFF0;
    const LPARAM key = message.LParam;
    if (!FMenuTracking && command == SC_KEYMENU) {
        if (key != ' ' && key != '-' && GetCapture() == nullptr) {
            TNCObject* target = nullptr;
            if (FMenuBar)
                target = key == MenuBarKey ? FMenuBar->FirstButton()
                                           : FMenuBar->FindMenuButtonByAccel(static_cast<wchar_t>(key));
            if (key == MenuBarKey || target != nullptr) {
                if (target != nullptr) FMenuBar->OpenMenuBarItem(target);
                message.Result = 1;
                return;
            }
        } else if (key == ' ') {
            POINT origin{0, 0};
            ClientToScreen(FHandle, &origin);
            ShowSysMenu(origin);
        }
    }
    switch (message.WParam) {
    case SC_MINIMIZE: FWindowState = WindowStateMinimized; break;
    case SC_MAXIMIZE: FWindowState = WindowStateMaximized; break;
    case SC_RESTORE:
        FWindowState = WindowStateNormal;
        if (IsMDIChild() && SkinManager != nullptr && SkinManager->FMDIMaximized) SkinManager->SetMDIMaximized(false);
        break;
    default: break;
    }
    CallOldProc(message);
}

void TPellixForm::MenuChanged(TMessage& message, bool fromForm) {
    // The window's own handling shows the menu on the window again; the frame is not painted from
    // that in-between state.
    const bool painting = FSkinData->FFramePainting;
    FSkinData->FFramePainting = false;
    try {
        if (!fromForm)
            CallOldProc(message);
        else if (FPrevWindowProc)
            FPrevWindowProc(message);
    } catch (...) {
        FSkinData->FFramePainting = painting;
        throw;
    }
    FSkinData->FFramePainting = painting;
    const bool running = FSkinState == SkinStateRunning && Subclassed();
    HMENU menu = GetMenu(FHandle);
    if (FMenuBar && FForm != nullptr && FForm->Menu() == nullptr && menu == nullptr) {
        // The form no longer has a menu: the strip goes, the client area stays.
        FMenuBar.reset();
        FWindowMenu = nullptr;
        FMenuHeight = 0;
        if (running) AdjustWindowSize(true);
    } else if (menu != nullptr) {
        const bool newBar = !FMenuBar && FSkinFrame && !IsMDIChild();
        if (newBar) {
            // A menu given after the skin came: the strip comes with it, the client area stays.
            FWindowMenu = menu;
            MakeMenuBar();
            if (running) AdjustWindowSize(true);
        } else if (FMenuBar && FSkinData->MenuUpdate()) {
            if (FForm != nullptr) FMenuBar->SetMenu(FForm->Menu());
            FMenuBar->TakeMenu(menu);
        }
        SetMenu(FHandle, nullptr);
    }
    if (running && FSkinFrame && IsWindowVisible(FHandle)) PaintFrame(nullptr);
}

void TPellixForm::DialogChar(TMessage& message) {
    if (FPrevWindowProc) FPrevWindowProc(message);
    if (message.Result != 0) return;
    const bool altAlone = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
    if (altAlone && FMenuBar) {
        if (TNCObject* button = FMenuBar->FindMenuButtonByAccel(static_cast<wchar_t>(message.WParam))) {
            POINT at{button->FBounds.left + 1, button->FBounds.top + 1};
            RECT window{};
            GetWindowRect(FHandle, &window);
            at.x += window.left;
            at.y += window.top;
            PostMessageW(FHandle, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(at.x, at.y));
            message.Result = 1;
            return;
        }
    }
    if (IsMDIChild()) {
        if (SkinManager != nullptr && SkinManager->FMDIForm != nullptr &&
            SkinManager->FMDIForm->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0)
            return;
    } else if (Application != nullptr && Application->MainForm() != nullptr && Application->MainForm() != FForm) {
        Application->MainForm()->Perform(CM_DIALOGCHAR, message.WParam, message.LParam);
    }
    message.Result = 0;
}

void TPellixForm::HoverTimer(TObject*) {
    if (FMenuTracking) return;
    DropStaleButtons();
    POINT cursor{};
    GetCursorPos(&cursor);
    if (FHotObject != nullptr) {
        const POINT frame = ScreenToFrame(cursor);
        if (!PtInRect(&FHotObject->FBounds, frame)) {
            FHotObject->MouseLeave();
            FHotObject = nullptr;
            HideHint();
        } else if (auto* button = ObjectAs<TWinSysButton>(FHotObject); button != nullptr && FSkinData != nullptr) {
            const uint32_t pause =
                2 * (Application != nullptr ? Application->HintPause() : TApplication::kDefaultHintPause);
            const uint32_t hidePause =
                Application != nullptr ? Application->HintHidePause() : TApplication::kDefaultHintHidePause;
            FSkinData->FHintClock += FTimer ? FTimer->Interval() : 0;
            const std::string text = CaptionButtonHint(button->FElement->Action);
            if (FSkinData->FHintClock >= pause && FSkinData->FHintClock <= pause + hidePause) {
                if (!text.empty()) {
                    RECT window{};
                    GetWindowRect(FHandle, &window);
                    const LONG left = button->FBounds.left + window.left;
                    const LONG top = cursor.y + HintCursorOffset;
                    FSkinData->ShowButtonHint(RECT{left, top, left, top}, text);
                }
            } else if (FSkinData->FHintClock > pause + hidePause) {
                HideHint();
            }
        }
    }
    if (FForm == nullptr && FHotControl != nullptr) {
        RECT control{};
        GetWindowRect(FHotControl->SkinnedWindow(), &control);
        if (!PtInRect(&control, cursor)) {
            FHotControl->MouseLeave();
            FHotControl = nullptr;
        }
    }
}
