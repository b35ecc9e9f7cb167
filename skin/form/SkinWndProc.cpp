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

POINT MessagePoint(LPARAM LParam) {
    return POINT{static_cast<short>(LOWORD(LParam)), static_cast<short>(HIWORD(LParam))};
}

bool IsSystemCaptionHit(LRESULT Hit) {
    switch (Hit) {
    case HTSYSMENU:
    case HTMINBUTTON:
    case HTMAXBUTTON:
    case HTCLOSE:
    case HTHELP: return true;
    default: return false;
    }
}

// Counts the calls of the window procedure that are running, so that a purge never frees the
// skinner under its own feet (a modal loop inside a handler runs the hook).
struct TDepthGuard {
    int32_t& Depth;
    explicit TDepthGuard(int32_t& Value) : Depth(Value) { ++Depth; }
    ~TDepthGuard() { --Depth; }
};

}  // namespace

void TPellixForm::SkinWndProc(TMessage& Message) {
    TDepthGuard Guard(FWindowProcDepth);
    Message.Result = 0;
    bool PassOn = false;
    if (SkinStage1(Message, PassOn)) return;
    if (SkinStage2(Message, PassOn)) return;
    SkinStage3(Message, PassOn);
}

// Stage 1, for every message; true when the message is done.
bool TPellixForm::SkinStage1(TMessage& Message, bool& PassOn) {
    switch (Message.Msg) {
    case WM_NCPAINT:
        if (FSkinState != SkinStateCreated) break;
        return true;  // no system frame before the attach has finished
    case WM_ERASEBKGND:
        CallOldProc(Message);
        if (FForm == nullptr && FSkinData != nullptr && Message.WParam != 0) {
            RECT Client{};
            GetClientRect(FHandle, &Client);
            FillRect(reinterpret_cast<HDC>(Message.WParam), &Client, FSkinData->FFaceBrush.get());
            Message.Result = 1;
        }
        return true;
    case WM_NCDESTROY:
        FSkinState = SkinStateDestroying;
        UnskinDestroyed();
        CallOldProc(Message);
        FSkinState = SkinStateDead;
        return true;
    case WM_NCACTIVATE:
        if (FSkinState == SkinStateCreated && !IsMDIChild()) return true;
        break;
    case WM_NCUAHDRAWCAPTION: return true;
    case WM_INITMENUPOPUP:
        if (SkinManager != nullptr)
            SkinManager->FMenuSource =
                reinterpret_cast<HMENU>(Message.WParam) == FSystemMenu ? MenuSourceSystemMenu : MenuSourceMenuBar;
        CallOldProc(Message);
        return true;
    case WM_CTLCOLORBTN:
        CallOldProc(Message);
        if (FForm == nullptr) SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
        return true;
    case WM_CTLCOLORSTATIC:
        CallOldProc(Message);
        if (FForm == nullptr && FSkinData != nullptr) {
            SetBkMode(reinterpret_cast<HDC>(Message.WParam), TRANSPARENT);
            Message.Result = reinterpret_cast<LRESULT>(FSkinData->FFaceBrush.get());
        }
        return true;
    case WM_SKINATTACH:
        if (!FAttached) FinishAttach();
        return true;
    case WM_SKINRESCROLL:
        for (size_t Index = FControlSkins.size(); Index-- > 0;) {
            TSkinControlLink* Old = FControlSkins[Index];
            if (Old->SkinnedWindow() != reinterpret_cast<HWND>(Message.WParam)) continue;
            if (ControlDiscovery().Rescroll != nullptr) ControlDiscovery().Rescroll(*this, *Old);
            break;
        }
        return true;
    case WM_SKINQUERY:
        Message.Result = SkinQueryAnswer;
        PostMessageW(FHandle, WM_SKINNOTIFY, 0, SkinMagic);
        return true;
    default: break;
    }
    if (!FSkinFrame) {
        CallOldProc(Message);
        return true;
    }
    PassOn = true;
    return false;
}

// Stage 2, for messages marked in stage 1; true when the message is done.
bool TPellixForm::SkinStage2(TMessage& Message, bool& PassOn) {
    if (!PassOn) return false;
    if ((FStyle & WS_CHILD) != 0 && !IsMDIChild()) {
        CallOldProc(Message);
        return true;
    }
    PassOn = false;
    switch (Message.Msg) {
    case WM_COMMAND: {
        const WPARAM Command = LOWORD(Message.WParam);
        switch (Command) {
        case SC_SIZE:
        case SC_MOVE:
        case SC_MINIMIZE:
        case SC_MAXIMIZE:
        case SC_NEXTWINDOW:
        case SC_PREVWINDOW:
        case SC_CLOSE:
        case SC_RESTORE:
            // A command of the owner-drawn system menu.
            PostMessageW(FHandle, WM_SYSCOMMAND, Command, 0);
            return true;
        default: CallOldProc(Message); return true;
        }
    }
    case WM_SYSCOMMAND: SysCommandHandler(Message); return true;
    case WM_WINDOWPOSCHANGED:
        UpdateWindowState();
        CallOldProc(Message);
        return true;
    case WM_SIZE: SizeHandler(Message); return true;
    case WM_ACTIVATE:
        FActive = LOBYTE(LOWORD(Message.WParam)) != 0;
        PassOn = true;
        return false;
    case WM_GETMINMAXINFO:
        CallOldProc(Message);
        UpdateWindowState();
        return true;
    case WM_SETICON:
        CallOldProc(Message);
        BuildIconBitmap();
        if (FAttached && IsWindowVisible(FHandle)) PaintFrame(nullptr);
        return true;
    case WM_SETTEXT:
        CallOldProc(Message);
        // A window without form object has no form-level procedure to repaint its caption: the
        // system has just drawn its own over the skinned one.
        if (FForm == nullptr && FAttached && IsWindowVisible(FHandle)) PaintFrame(nullptr);
        return true;
    case WM_NCACTIVATE:
        FActive = LOBYTE(LOWORD(Message.WParam)) != 0;
        PassOn = true;
        return false;
    case WM_SKINMENUKEY: {
        const POINT Frame = ScreenToFrame(MessagePoint(Message.LParam));
        TNCObject* Object = NCObjectAt(Frame);
        if (Object != nullptr && !Object->InheritsFrom(TWinSysButton::StaticClass()) && FMenuBar)
            FMenuBar->OpenMenuBarItem(Object);
        Message.Result = 0;
        return true;
    }
    case CM_MENUCHANGED: MenuChanged(Message, false); return true;
    default: PassOn = true; return false;
    }
}

// Stage 3: the frame's own messages, once the attach has run.
void TPellixForm::SkinStage3(TMessage& Message, bool PassOn) {
    if (FSkinState == SkinStateCreated || IsMaximizedMDIChild()) {
        if (PassOn) CallOldProc(Message);
        return;
    }
    switch (Message.Msg) {
    case WM_NCACTIVATE: ActivationHandler(Message); return;
    case WM_WINDOWPOSCHANGING: CallOldProc(Message); return;
    case WM_NCCALCSIZE: CalcClientRect(Message); return;
    case WM_MEASUREITEM:
        if (!MeasureItemMessage(Message)) CallOldProc(Message);
        return;
    case WM_DRAWITEM:
        if (!DrawItemMessage(Message)) CallOldProc(Message);
        return;
    case WM_NCHITTEST: HitTest(Message); return;
    case WM_NCPAINT:
        SetSysMenuStyle(true);
        if (FSkinData->FFramePainting) {
            if (IsMaximizedMDIChild() || FBorderKind == BorderKindNoCaption) {
                CallOldProc(Message);
                return;
            }
            PaintFrame(nullptr);
        }
        Message.Result = 0;
        return;
    case WM_NCMOUSEMOVE: NCMouseMove(Message); return;
    case WM_NCLBUTTONDOWN: NCLButtonDown(Message); return;
    case WM_NCLBUTTONUP: NCLButtonUp(Message); return;
    case WM_NCLBUTTONDBLCLK: NCLButtonDblClk(Message); return;
    case WM_NCRBUTTONDOWN: NCRButtonDown(Message); return;
    case WM_SKINNCPAINT: PaintFrame(nullptr); return;
    default:
        if (PassOn) CallOldProc(Message);
        return;
    }
}

// --- Handlers ----------------------------------------------------------------------------------

void TPellixForm::ActivationHandler(TMessage& Message) {
    FActive = Message.WParam != 0;
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
        SendMessageW(FClientHandle, WM_NCACTIVATE, Message.WParam, 0);
    else if (IsMDIChild())
        CallOldProc(Message);
    if (!IsMaximizedMDIChild()) PaintFrame(nullptr);
    Message.Result = 1;
}

void TPellixForm::SizeHandler(TMessage& Message) {
    CallOldProc(Message);
    switch (Message.WParam) {
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

void TPellixForm::HitTest(TMessage& Message) {
    CallOldProc(Message);
    // The skin draws its own caption buttons where the system would find its own.
    if (Message.Result != HTNOWHERE && Message.Result != HTCAPTION && !IsSystemCaptionHit(Message.Result)) return;
    const POINT Frame = ScreenToFrame(MessagePoint(Message.LParam));
    if (Frame.y > CaptionTopEdge) {
        Message.Result = HTCAPTION;
        if (Frame.y > FTitleHeight && FMenuHeight > 0) Message.Result = HTMENU;
    } else if (IsSystemCaptionHit(Message.Result)) {
        Message.Result = HTCAPTION;
    }
}

void TPellixForm::NCMouseMove(TMessage& Message) {
    if (!FActive) return;  // an inactive window ignores non-client moves
    const POINT Frame = ScreenToFrame(MessagePoint(Message.LParam));
    if (TNCObject* Object = NCObjectAt(Frame)) {
        Object->MouseMove();
        Message.Result = 0;
        return;
    }
    if (FHotObject != nullptr) {
        FHotObject->MouseLeave();
        FHotObject = nullptr;
    }
    CallOldProc(Message);
}

void TPellixForm::NCLButtonDown(TMessage& Message) {
    HideHint();
    const POINT Frame = ScreenToFrame(MessagePoint(Message.LParam));
    if (TNCObject* Object = NCObjectAt(Frame)) {
        if (!FActive) SetForegroundWindow(FHandle);
        Object->MouseDown();
        // The bar keeps its own button hot while the drop-down is open; after it the button may be gone
        // (the menu rebuilt, the window destroyed), so it is not touched here.
        if (!Object->InheritsFrom(TWinSysButton::StaticClass()) && FMenuBar) FMenuBar->OpenMenuBarItem(Object);
        Message.Result = 0;
        return;
    }
    UpdateWindowState();
    // A maximized window is not dragged by its caption.
    if (Message.WParam == HTCAPTION && FWindowState == WindowStateMaximized && FActive) Message.WParam = HTMENU;
    CallOldProc(Message);
}

void TPellixForm::NCLButtonUp(TMessage& Message) {
    HideHint();
    const POINT Frame = ScreenToFrame(MessagePoint(Message.LParam));
    if (TNCObject* Object = NCObjectAt(Frame)) {
        auto* Button = ObjectAs<TWinSysButton>(Object);
        if (Button != nullptr && Button == FHotObject) {
            Button->MouseUp();
            ButtonAction(*Button, MessagePoint(Message.LParam));
        }
        Message.Result = 0;
        return;
    }
    CallOldProc(Message);
}

void TPellixForm::NCLButtonDblClk(TMessage& Message) {
    const POINT Frame = ScreenToFrame(MessagePoint(Message.LParam));
    if (TWinSysButton* Button = ObjectAt(Frame)) {
        const int32_t Action = Button->FElement->Action;
        if (Action == ButtonActionSystemMenu || Action == ButtonActionIcon) {
            if (FTimer) FTimer->SetEnabled(false);
            PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        Message.Result = 0;
        return;
    }
    UpdateWindowState();
    if (FWindowState != WindowStateNormal)
        DoRestore();
    else if (HasMaximizeBox())
        ToggleMaximize();
    else
        CallOldProc(Message);
}

void TPellixForm::NCRButtonDown(TMessage& Message) {
    HideHint();
    if (Message.WParam == HTCAPTION && !IsMDIChild()) {
        ShowSysMenu(MessagePoint(Message.LParam));
        Message.Result = 0;
        return;
    }
    CallOldProc(Message);
}

void TPellixForm::ButtonAction(TWinSysButton& Button, POINT ScreenPoint) {
    const int32_t Action = Button.FElement->Action;
    auto SendToActiveChild = [&](WPARAM Command) {
        if (FFormKind != FormKindMDIFrame || FClientHandle == nullptr) return;
        const auto Child = reinterpret_cast<HWND>(SendMessageW(FClientHandle, WM_MDIGETACTIVE, 0, 0));
        if (Child != nullptr) SendMessageW(Child, WM_SYSCOMMAND, Command, 0);
    };
    switch (Action) {
    case ButtonActionClose: {
        bool CanClose = IsWindows9xVersion(SkinPlatform().SystemVersion) || !SkinPlatform().IsNT ||
                        LOBYTE(LOWORD(GetVersion())) < 5;
        if (!CanClose && FSystemMenu != nullptr) {
            MENUITEMINFOW Info{};
            Info.cbSize = sizeof(Info);
            Info.fMask = MIIM_ID;
            CanClose = GetMenuItemInfoW(FSystemMenu, SC_CLOSE, FALSE, &Info) != FALSE;
        }
        if (CanClose) {
            if (FTimer) FTimer->SetEnabled(false);
            PostMessageW(FHandle, WM_SYSCOMMAND, SC_CLOSE, 0);
        }
        break;
    }
    case ButtonActionMaximize:
    case ButtonActionMaximize2:
        if (Button.FEnabled) ToggleMaximize();
        break;
    case ButtonActionMinimize:
    case ButtonActionMinimize2:
        if (Button.FEnabled) ToggleMinimize();
        break;
    case ButtonActionSystemMenu:
    case ButtonActionIcon:
    case ButtonActionSystemMenu2: ShowSysMenu(POINT{ScreenPoint.x + 1, ScreenPoint.y + 1}); break;
    case ButtonActionHelp: PostMessageW(FHandle, WM_SYSCOMMAND, SC_CONTEXTHELP, 0); break;
    case ButtonActionMDIMinimize:
    case ButtonActionMDIMinimize2: SendToActiveChild(SC_MINIMIZE); break;
    case ButtonActionMDIRestore:
    case ButtonActionMDIRestore2: SendToActiveChild(SC_RESTORE); break;
    case ButtonActionMDIClose:
    case ButtonActionMDIClose2: SendToActiveChild(SC_CLOSE); break;
    default: PostMessageW(FHandle, WM_SKINBUTTONCMD, static_cast<WPARAM>(Action), 0); break;
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

void TPellixForm::SysCommandHandler(TMessage& Message) {
    const WPARAM Command = Message.WParam & 0xFFF0;
    const LPARAM Key = Message.LParam;
    if (!FMenuTracking && Command == SC_KEYMENU) {
        if (Key != ' ' && Key != '-' && GetCapture() == nullptr) {
            TNCObject* Target = nullptr;
            if (FMenuBar)
                Target = Key == MenuBarKey ? FMenuBar->FirstButton()
                                           : FMenuBar->FindMenuButtonByAccel(static_cast<wchar_t>(Key));
            if (Key == MenuBarKey || Target != nullptr) {
                if (Target != nullptr) FMenuBar->OpenMenuBarItem(Target);
                Message.Result = 1;
                return;
            }
        } else if (Key == ' ') {
            POINT Origin{0, 0};
            ClientToScreen(FHandle, &Origin);
            ShowSysMenu(Origin);
        }
    }
    switch (Message.WParam) {
    case SC_MINIMIZE: FWindowState = WindowStateMinimized; break;
    case SC_MAXIMIZE: FWindowState = WindowStateMaximized; break;
    case SC_RESTORE:
        FWindowState = WindowStateNormal;
        if (IsMDIChild() && SkinManager != nullptr && SkinManager->FMDIMaximized) SkinManager->SetMDIMaximized(false);
        break;
    default: break;
    }
    CallOldProc(Message);
}

void TPellixForm::MenuChanged(TMessage& Message, bool FromForm) {
    // The window's own handling shows the menu on the window again; the frame is not painted from
    // that in-between state.
    const bool Painting = FSkinData->FFramePainting;
    FSkinData->FFramePainting = false;
    try {
        if (!FromForm)
            CallOldProc(Message);
        else if (FPrevWindowProc)
            FPrevWindowProc(Message);
    } catch (...) {
        FSkinData->FFramePainting = Painting;
        throw;
    }
    FSkinData->FFramePainting = Painting;
    const bool Running = FSkinState == SkinStateRunning && Subclassed();
    HMENU Menu = GetMenu(FHandle);
    if (FMenuBar && FForm != nullptr && FForm->Menu() == nullptr && Menu == nullptr) {
        // The form no longer has a menu: the strip goes, the client area stays.
        FMenuBar.reset();
        FWindowMenu = nullptr;
        FMenuHeight = 0;
        if (Running) AdjustWindowSize(true);
    } else if (Menu != nullptr) {
        const bool NewBar = !FMenuBar && FSkinFrame && !IsMDIChild();
        if (NewBar) {
            // A menu given after the skin came: the strip comes with it, the client area stays.
            FWindowMenu = Menu;
            MakeMenuBar();
            if (Running) AdjustWindowSize(true);
        } else if (FMenuBar && FSkinData->MenuUpdate()) {
            if (FForm != nullptr) FMenuBar->SetMenu(FForm->Menu());
            FMenuBar->TakeMenu(Menu);
        }
        SetMenu(FHandle, nullptr);
    }
    if (Running && FSkinFrame && IsWindowVisible(FHandle)) PaintFrame(nullptr);
}

void TPellixForm::DialogChar(TMessage& Message) {
    if (FPrevWindowProc) FPrevWindowProc(Message);
    if (Message.Result != 0) return;
    const bool AltAlone = GetKeyState(VK_MENU) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_SHIFT) >= 0;
    if (AltAlone && FMenuBar) {
        if (TNCObject* Button = FMenuBar->FindMenuButtonByAccel(static_cast<wchar_t>(Message.WParam))) {
            POINT At{Button->FBounds.left + 1, Button->FBounds.top + 1};
            RECT Window{};
            GetWindowRect(FHandle, &Window);
            At.x += Window.left;
            At.y += Window.top;
            PostMessageW(FHandle, WM_NCLBUTTONDOWN, HTCLIENT, MAKELPARAM(At.x, At.y));
            Message.Result = 1;
            return;
        }
    }
    if (IsMDIChild()) {
        if (SkinManager != nullptr && SkinManager->FMDIForm != nullptr &&
            SkinManager->FMDIForm->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam) != 0)
            return;
    } else if (Application != nullptr && Application->MainForm() != nullptr && Application->MainForm() != FForm) {
        Application->MainForm()->Perform(CM_DIALOGCHAR, Message.WParam, Message.LParam);
    }
    Message.Result = 0;
}

void TPellixForm::HoverTimer(TObject*) {
    if (FMenuTracking) return;
    DropStaleButtons();
    POINT Cursor{};
    GetCursorPos(&Cursor);
    if (FHotObject != nullptr) {
        const POINT Frame = ScreenToFrame(Cursor);
        if (!PtInRect(&FHotObject->FBounds, Frame)) {
            FHotObject->MouseLeave();
            FHotObject = nullptr;
            HideHint();
        } else if (auto* Button = ObjectAs<TWinSysButton>(FHotObject); Button != nullptr && FSkinData != nullptr) {
            const uint32_t Pause =
                2 * (Application != nullptr ? Application->HintPause() : TApplication::kDefaultHintPause);
            const uint32_t HidePause =
                Application != nullptr ? Application->HintHidePause() : TApplication::kDefaultHintHidePause;
            FSkinData->FHintClock += FTimer ? FTimer->Interval() : 0;
            const std::string Text = CaptionButtonHint(Button->FElement->Action);
            if (FSkinData->FHintClock >= Pause && FSkinData->FHintClock <= Pause + HidePause) {
                if (!Text.empty()) {
                    RECT Window{};
                    GetWindowRect(FHandle, &Window);
                    const LONG Left = Button->FBounds.left + Window.left;
                    const LONG Top = Cursor.y + HintCursorOffset;
                    FSkinData->ShowButtonHint(RECT{Left, Top, Left, Top}, Text);
                }
            } else if (FSkinData->FHintClock > Pause + HidePause) {
                HideHint();
            }
        }
    }
    if (FForm == nullptr && FHotControl != nullptr) {
        RECT Control{};
        GetWindowRect(FHotControl->SkinnedWindow(), &Control);
        if (!PtInRect(&Control, Cursor)) {
            FHotControl->MouseLeave();
            FHotControl = nullptr;
        }
    }
}
