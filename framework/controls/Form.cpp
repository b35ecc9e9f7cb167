#include "framework/controls/Form.h"

#include <algorithm>

#include "framework/controls/CustomApplication.h"
#include "framework/controls/FormResource.h"
#include "framework/controls/Menu.h"
#include "framework/controls/Screen.h"

QUIRN_PUBLISH(TSizeConstraints, p) {
    p.Property("MinWidth", &TSizeConstraints::MinWidth, &TSizeConstraints::SetMinWidth).Default(0);
    p.Property("MaxWidth", &TSizeConstraints::MaxWidth, &TSizeConstraints::SetMaxWidth).Default(0);
    p.Property("MinHeight", &TSizeConstraints::MinHeight, &TSizeConstraints::SetMinHeight).Default(0);
    p.Property("MaxHeight", &TSizeConstraints::MaxHeight, &TSizeConstraints::SetMaxHeight).Default(0);
}

QUIRN_PUBLISH(TCustomForm, p) {
    p.Property("BorderStyle", &TCustomForm::BorderStyle, &TCustomForm::SetBorderStyle).Default(bsSizeable);
    p.Property("BorderIcons", &TCustomForm::BorderIcons, &TCustomForm::SetBorderIcons)
        .Default(TBorderIcons{biSystemMenu, biMinimize, biMaximize});
    p.Property("Position", &TCustomForm::Position, &TCustomForm::SetPosition).Default(poDesigned);
    p.Property("Constraints", &TCustomForm::Constraints, &TCustomForm::SetConstraints);
    p.Property("Icon", &TCustomForm::Icon, &TCustomForm::SetIcon);
    p.Property("Menu", &TCustomForm::Menu, &TCustomForm::SetMenu);
    p.Property("FormStyle", &TCustomForm::FormStyle, &TCustomForm::SetFormStyle).Default(fsNormal);
    p.Property("WindowState", &TCustomForm::WindowState, &TCustomForm::SetWindowState).Default(wsNormal);
    p.Property("KeyPreview", &TCustomForm::KeyPreview, &TCustomForm::SetKeyPreview).Default(false);
    p.Property("AutoScroll", &TCustomForm::AutoScroll, &TCustomForm::SetAutoScroll).Default(false);
    p.Property("OldCreateOrder", &TCustomForm::OldCreateOrder, &TCustomForm::SetOldCreateOrder).Default(false);
    p.Property("ActiveControl", &TCustomForm::ActiveControl, &TCustomForm::SetActiveControl);
    p.Property("ClientWidth", &TCustomForm::ClientWidth, &TCustomForm::SetClientWidth).Stored(false);
    p.Property("ClientHeight", &TCustomForm::ClientHeight, &TCustomForm::SetClientHeight).Stored(false);
    p.Property("OnCreate", &TCustomForm::OnCreate, &TCustomForm::SetOnCreate);
    p.Property("OnDestroy", &TCustomForm::OnDestroy, &TCustomForm::SetOnDestroy);
    p.Property("OnClose", &TCustomForm::OnClose, &TCustomForm::SetOnClose);
    p.Property("OnCloseQuery", &TCustomForm::OnCloseQuery, &TCustomForm::SetOnCloseQuery);
    p.Property("OnShow", &TCustomForm::OnShow, &TCustomForm::SetOnShow);
    p.Property("OnHide", &TCustomForm::OnHide, &TCustomForm::SetOnHide);
    p.Property("OnActivate", &TCustomForm::OnActivate, &TCustomForm::SetOnActivate);
    p.Property("OnDeactivate", &TCustomForm::OnDeactivate, &TCustomForm::SetOnDeactivate);
    p.Property("OnPaint", &TCustomForm::OnPaint, &TCustomForm::SetOnPaint);
    p.Property("OnResize", &TCustomForm::OnResize, &TCustomForm::SetOnResize);
}

QUIRN_PUBLISH(TForm, p) {}

// ---- TSizeConstraints ------------------------------------------------------

void TSizeConstraints::SetMinWidth(int32_t value) {
    FMinWidth = std::max(value, 0);
    if (FMaxWidth > 0 && FMaxWidth < FMinWidth) FMaxWidth = FMinWidth;
    Changed();
}

void TSizeConstraints::SetMaxWidth(int32_t value) {
    FMaxWidth = std::max(value, 0);
    if (FMaxWidth > 0 && FMinWidth > FMaxWidth) FMinWidth = FMaxWidth;
    Changed();
}

void TSizeConstraints::SetMinHeight(int32_t value) {
    FMinHeight = std::max(value, 0);
    if (FMaxHeight > 0 && FMaxHeight < FMinHeight) FMaxHeight = FMinHeight;
    Changed();
}

void TSizeConstraints::SetMaxHeight(int32_t value) {
    FMaxHeight = std::max(value, 0);
    if (FMaxHeight > 0 && FMinHeight > FMaxHeight) FMinHeight = FMaxHeight;
    Changed();
}

void TSizeConstraints::Assign(const TPersistent* source) {
    if (const auto* other = ObjectAs<TSizeConstraints>(source)) {
        FMinWidth = other->FMinWidth;
        FMaxWidth = other->FMaxWidth;
        FMinHeight = other->FMinHeight;
        FMaxHeight = other->FMaxHeight;
        Changed();
        return;
    }
    TPersistent::Assign(source);
}

void TSizeConstraints::Constrain(int32_t& width, int32_t& height) const {
    if (FMaxWidth > 0) width = std::min(width, FMaxWidth);
    if (FMaxHeight > 0) height = std::min(height, FMaxHeight);
    width = std::max(width, FMinWidth);
    height = std::max(height, FMinHeight);
}

void TSizeConstraints::Changed() {
    if (FOnChange) FOnChange(this);
}

// ---- TCustomForm -----------------------------------------------------------

TCustomForm::TCustomForm(TComponent* owner)
    : TScrollingWinControl(owner),
      FConstraints(std::make_unique<TSizeConstraints>()),
      FIcon(std::make_unique<TIcon>()),
      FCanvas(std::make_unique<TCanvas>()) {
    FVisible = false;
    FAutoScroll = false;
    FParentColor = false;
    FParentFont = false;
    FColor = clBtnFace;
    FWidth = 320;
    FHeight = 240;
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csDoubleClicks};
    FConstraints->SetOnChange(TNotifyEvent(this, &TCustomForm::ConstraintsChanged));
    FIcon->SetOnChange(TNotifyEvent(this, &TCustomForm::IconChanged));
    if (Screen) Screen->AddForm(this);
}

TCustomForm* GetParentForm(TControl* control) {
    while (control && control->Parent()) control = control->Parent();
    return ObjectAs<TCustomForm>(control);
}

TCustomForm::~TCustomForm() {
    if (Screen) {
        if (Screen->ActiveControl() && GetParentForm(Screen->ActiveControl()) == this)
            Screen->SetActiveControl(nullptr);
        Screen->RemoveForm(this);
    }
    if (CustomApplication) CustomApplication->FormDestroyed(this);
    DestroyOrDetachWindow();
}

void TCustomForm::InitializeForm() {
    LoadFormResource(*this, ClassName());
    if (FOnCreate) FOnCreate(this);
    if (FVisible) Show();
}

void TCustomForm::BeforeDestruction() {
    if (FDestroyingRaised) return;
    FDestroyingRaised = true;
    if (FOnDestroy) FOnDestroy(this);
}

void TCustomForm::SetBorderStyle(TBorderStyle value) {
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomForm::SetBorderIcons(TBorderIcons value) {
    if (FBorderIcons == value) return;
    FBorderIcons = value;
    RecreateWnd();
}

void TCustomForm::IconChanged(TObject*) { UpdateIcon(); }

void TCustomForm::UpdateIcon() {
    if (!FHandle) return;
    // Each size is made from the image that fits it best; the application's icon stands in for a
    // form icon that is empty or cannot be made.
    win::IconHandle bigIcon = FIcon->NewHandle(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
    win::IconHandle smallIcon = FIcon->NewHandle(GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON));
    HICON fallback = CustomApplication ? CustomApplication->IconHandle() : nullptr;
    SendMessageW(FHandle, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigIcon ? bigIcon.get() : fallback));
    SendMessageW(FHandle, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallIcon ? smallIcon.get() : fallback));
    // The previous icons go once the window no longer shows them.
    FBigIcon = std::move(bigIcon);
    FSmallIcon = std::move(smallIcon);
}

void TCustomForm::SetMenu(TMainMenu* value) {
    if (FMenu == value) return;
    if (FMenu) FMenu->SetWindowHandle(nullptr);
    FMenu = value;
    if (value) {
        value->FreeNotification(this);
        if (FHandle) value->SetWindowHandle(FHandle);
    } else if (FHandle) {
        ::SetMenu(FHandle, nullptr);
    }
    Perform(CM_MENUCHANGED);
}

void TCustomForm::SetFormStyle(TFormStyle value) {
    if (value == fsMDIChild || value == fsMDIForm)
        throw EInvalidOperation("Multiple-document forms are not supported by this framework");
    if (FFormStyle == value) return;
    FFormStyle = value;
    if (FHandle)
        SetWindowPos(FHandle, value == fsStayOnTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TWindowState TCustomForm::WindowState() const {
    if (FHandle) {
        if (IsIconic(FHandle)) return wsMinimized;
        if (IsZoomed(FHandle)) return wsMaximized;
        return wsNormal;
    }
    return FWindowState;
}

void TCustomForm::SetWindowState(TWindowState value) {
    FWindowState = value;
    if (!FHandle || !IsWindowVisible(FHandle)) return;
    ShowWindow(FHandle, value == wsMinimized ? SW_MINIMIZE : value == wsMaximized ? SW_MAXIMIZE : SW_RESTORE);
}

void TCustomForm::SetActiveControl(TWinControl* control) {
    if (control && GetParentForm(control) != this) throw EInvalidOperation("Invalid active control");
    FActiveControl = control;
    if (control && FHandle && IsWindowVisible(FHandle) && control->CanFocus()) ::SetFocus(control->Handle());
}

void TCustomForm::FocusControl(TWinControl* control) {
    if (!control || !control->CanFocus()) return;
    FActiveControl = control;
    if (FHandle) ::SetFocus(control->Handle());
}

void TCustomForm::SetActiveControlFromFocus(TWinControl* control) {
    FActiveControl = control;
    if (Screen) Screen->SetActiveControl(control);
    for (TWinControl* parent = control ? control->Parent() : nullptr; parent; parent = parent->Parent())
        if (auto* scrolling = ObjectAs<TScrollingWinControl>(parent); scrolling && scrolling->AutoScroll())
            scrolling->ScrollInView(control);
}

bool TCustomForm::IsShortCut(uint16_t key) {
    if (!FMenu) return false;
    return FMenu->IsShortCut(ShortCut(key, KeyboardShiftState()));
}

bool TCustomForm::DoKeyDown(TMessage& message) { return TScrollingWinControl::DoKeyDown(message); }
bool TCustomForm::DoKeyUp(TMessage& message) { return TScrollingWinControl::DoKeyUp(message); }
bool TCustomForm::DoKeyPress(TMessage& message) { return TScrollingWinControl::DoKeyPress(message); }

SIZE TCustomForm::FrameSize() const {
    TCreateParams params;
    const_cast<TCustomForm*>(this)->CreateParams(params);
    RECT rect{0, 0, 0, 0};
    AdjustWindowRectEx(&rect, params.Style, FMenu != nullptr, params.ExStyle);
    return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

RECT TCustomForm::ClientRect() {
    if (FHandle) return TScrollingWinControl::ClientRect();
    const SIZE frame = FrameSize();
    return RECT{0, 0, std::max<int32_t>(FWidth - frame.cx, 0), std::max<int32_t>(FHeight - frame.cy, 0)};
}

void TCustomForm::SetClientWidth(int32_t value) {
    if (!FHandle) FClientWidthRequest = value;
    TScrollingWinControl::SetClientWidth(value);
}

void TCustomForm::SetClientHeight(int32_t value) {
    if (!FHandle) FClientHeightRequest = value;
    TScrollingWinControl::SetClientHeight(value);
}

void TCustomForm::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (!ComponentState().Contains(csLoading)) FConstraints->Constrain(width, height);
    TScrollingWinControl::SetBounds(left, top, width, height);
}

void TCustomForm::ConstraintsChanged(TObject*) {
    if (ComponentState().Contains(csLoading)) return;
    SetBounds(FLeft, FTop, FWidth, FHeight);
}

void TCustomForm::Loaded() {
    TScrollingWinControl::Loaded();
    // The stored client size decides the outer size (with this form's frame);
    // the constraints have the last word.
    const SIZE frame = FrameSize();
    int32_t width = FClientWidthRequest >= 0 ? FClientWidthRequest + frame.cx : FWidth;
    int32_t height = FClientHeightRequest >= 0 ? FClientHeightRequest + frame.cy : FHeight;
    FConstraints->Constrain(width, height);
    SetBounds(FLeft, FTop, width, height);
    Realign();
}

void TCustomForm::CreateParams(TCreateParams& params) {
    TScrollingWinControl::CreateParams(params);
    params.Style &= ~static_cast<DWORD>(WS_CHILD | WS_VISIBLE | WS_TABSTOP);
    params.Style |= WS_CLIPCHILDREN;
    params.WndParent = CustomApplication && CustomApplication->Handle() ? CustomApplication->Handle() : nullptr;
    switch (FBorderStyle) {
    case bsNone: params.Style |= WS_POPUP; break;
    case bsSingle:
    case bsToolWindow: params.Style |= WS_CAPTION | WS_BORDER; break;
    case bsSizeable:
    case bsSizeToolWin: params.Style |= WS_CAPTION | WS_THICKFRAME; break;
    case bsDialog:
        params.Style |= WS_POPUP | WS_CAPTION;
        params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
        break;
    }
    if (FBorderStyle == bsToolWindow || FBorderStyle == bsSizeToolWin) params.ExStyle |= WS_EX_TOOLWINDOW;
    if (FBorderStyle != bsNone) {
        if (FBorderIcons.Contains(biSystemMenu)) params.Style |= WS_SYSMENU;
        const bool framed = FBorderStyle == bsSingle || FBorderStyle == bsSizeable;
        if (framed && FBorderIcons.Contains(biMinimize)) params.Style |= WS_MINIMIZEBOX;
        if (framed && FBorderIcons.Contains(biMaximize)) params.Style |= WS_MAXIMIZEBOX;
        if (FBorderIcons.Contains(biHelp) &&
            (FBorderStyle == bsDialog || !(FBorderIcons.Contains(biMinimize) || FBorderIcons.Contains(biMaximize))))
            params.ExStyle |= WS_EX_CONTEXTHELP;
    }
    if (FFormStyle == fsStayOnTop) params.ExStyle |= WS_EX_TOPMOST;
    if (FPosition == poDefault || FPosition == poDefaultPosOnly) {
        params.X = CW_USEDEFAULT;
        params.Y = CW_USEDEFAULT;
    }
}

void TCustomForm::CreateHandle() {
    if (FMenu) FMenu->SetWindowHandle(FHandle);
    UpdateIcon();
    UpdateBounds();
    TScrollingWinControl::CreateHandle();
}

void TCustomForm::PaintWindow(HDC dc) {
    if (!FOnPaint) return;
    const TCanvasBinding bound(*FCanvas, dc);
    FCanvas->Font().Assign(FFont.get());
    FCanvas->Brush().SetColor(FColor);
    FOnPaint(this);
}

void TCustomForm::PlaceOnFirstShow() {
    if (FPlaced) return;
    FPlaced = true;
    int32_t left = FLeft;
    int32_t top = FTop;
    switch (FPosition) {
    case poScreenCenter:
        left = (GetSystemMetrics(SM_CXSCREEN) - FWidth) / 2;
        top = (GetSystemMetrics(SM_CYSCREEN) - FHeight) / 2;
        break;
    case poDesktopCenter:
        left = GetSystemMetrics(SM_XVIRTUALSCREEN) + (GetSystemMetrics(SM_CXVIRTUALSCREEN) - FWidth) / 2;
        top = GetSystemMetrics(SM_YVIRTUALSCREEN) + (GetSystemMetrics(SM_CYVIRTUALSCREEN) - FHeight) / 2;
        break;
    case poMainFormCenter:
    case poOwnerFormCenter: {
        TCustomForm* center = CustomApplication ? CustomApplication->MainForm() : nullptr;
        if (FPosition == poOwnerFormCenter)
            center = ObjectAs<TCustomForm>(Owner()) ? ObjectAs<TCustomForm>(Owner()) : center;
        if (center && center != this) {
            left = center->Left() + (center->Width() - FWidth) / 2;
            top = center->Top() + (center->Height() - FHeight) / 2;
        }
        break;
    }
    default: return;
    }
    SetBounds(left, top, FWidth, FHeight);
}

void TCustomForm::Show() {
    SetVisible(true);
    if (FHandle) {
        BringWindowToTop(FHandle);
        SetForegroundWindow(FHandle);
    }
}

void TCustomForm::CMVisibleChanged(TMessage&) {
    if (FVisible) {
        HandleNeeded();
        PlaceOnFirstShow();
        const int command = FWindowState == wsMinimized   ? SW_SHOWMINIMIZED
                            : FWindowState == wsMaximized ? SW_SHOWMAXIMIZED
                                                          : SW_SHOWNORMAL;
        ShowWindow(FHandle, command);
        if (FOnShow) FOnShow(this);
        if (!FActiveControl) SelectNext(nullptr, true, true);
    } else if (FHandle) {
        if (FOnHide) FOnHide(this);
        ShowWindow(FHandle, SW_HIDE);
    }
}

bool TCustomForm::CloseQuery() {
    bool canClose = true;
    if (FOnCloseQuery) FOnCloseQuery(this, canClose);
    return canClose;
}

void TCustomForm::DoClose(TCloseAction& action) {
    if (FOnClose) FOnClose(this, action);
}

void TCustomForm::Close() {
    if (!CloseQuery()) return;
    TCloseAction action = caHide;
    DoClose(action);
    if (action == caNone) return;
    if (CustomApplication && CustomApplication->MainForm() == this) {
        CustomApplication->Terminate();
        return;
    }
    switch (action) {
    case caHide: Hide(); break;
    case caMinimize: SetWindowState(wsMinimized); break;
    case caFree: Release(); break;
    default: break;
    }
}

void TCustomForm::Release() {
    // The request travels through the form's own queue, so a form that never showed gets its
    // window now rather than living on unreleased.
    PostMessageW(Handle(), CM_RELEASE, 0, 0);
}

void TCustomForm::Notification(TComponent* component, TOperation operation) {
    TScrollingWinControl::Notification(component, operation);
    if (operation != opRemove) return;
    if (component == FMenu) {
        FMenu = nullptr;
        if (FHandle) ::SetMenu(FHandle, nullptr);
    }
    if (component == FActiveControl) FActiveControl = nullptr;
}

void TCustomForm::CMDialogKey(TMessage& message) {
    const auto key = static_cast<uint16_t>(message.WParam);
    const bool shift = GetKeyState(VK_SHIFT) < 0;
    switch (key) {
    case VK_TAB:
        if (GetKeyState(VK_CONTROL) >= 0) {
            SelectNext(FActiveControl, !shift, true);
            message.Result = 1;
            return;
        }
        break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN:
        if (FActiveControl && FActiveControl->Parent()) {
            const bool forward = key == VK_RIGHT || key == VK_DOWN;
            if (TWinControl* next = FActiveControl->Parent()->FindNextControl(FActiveControl, forward, false, true)) {
                next->SetFocus();
                message.Result = 1;
                return;
            }
        }
        break;
    default: break;
    }
    Broadcast(message);
}

void TCustomForm::WMClose(TMessage&) { Close(); }

void TCustomForm::WMActivate(TMessage& message) {
    DefaultHandler(message);
    const bool active = LOWORD(message.WParam) != WA_INACTIVE;
    if (active) {
        if (Screen) Screen->SetActiveForm(this);
        if (FActiveControl && FActiveControl->CanFocus() && FActiveControl->HandleAllocated())
            ::SetFocus(FActiveControl->Handle());
        else
            SelectNext(nullptr, true, true);
        if (FOnActivate) FOnActivate(this);
    } else if (FOnDeactivate) {
        FOnDeactivate(this);
    }
    message.Result = 0;
}

void TCustomForm::WMGetMinMaxInfo(TMessage& message) {
    DefaultHandler(message);
    auto* info = reinterpret_cast<MINMAXINFO*>(message.LParam);
    if (FConstraints->MinWidth() > 0) info->ptMinTrackSize.x = FConstraints->MinWidth();
    if (FConstraints->MinHeight() > 0) info->ptMinTrackSize.y = FConstraints->MinHeight();
    if (FConstraints->MaxWidth() > 0) {
        info->ptMaxTrackSize.x = FConstraints->MaxWidth();
        info->ptMaxSize.x = std::min<LONG>(info->ptMaxSize.x, FConstraints->MaxWidth());
    }
    if (FConstraints->MaxHeight() > 0) {
        info->ptMaxTrackSize.y = FConstraints->MaxHeight();
        info->ptMaxSize.y = std::min<LONG>(info->ptMaxSize.y, FConstraints->MaxHeight());
    }
}

void TCustomForm::WMCommand(TMessage& message) {
    // Commands of the main menu (and its accelerators) come without a control window.
    if (FMenu && FMenu->DispatchCommand(LOWORD(message.WParam))) {
        message.Result = 0;
        return;
    }
    DefaultHandler(message);
}

bool TCustomForm::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_CLOSE: WMClose(message); return true;
    case WM_ACTIVATE: WMActivate(message); return true;
    case WM_SETFOCUS:
        if (FActiveControl && FActiveControl->CanFocus() && FActiveControl->HandleAllocated()) {
            ::SetFocus(FActiveControl->Handle());
            return true;
        }
        DefaultHandler(message);
        return true;
    case WM_GETMINMAXINFO: WMGetMinMaxInfo(message); return true;
    case WM_COMMAND:
        if (message.LParam == 0) {
            WMCommand(message);
            return true;
        }
        break;
    case WM_INITMENUPOPUP:
        if (FMenu) FMenu->DispatchPopup(reinterpret_cast<HMENU>(message.WParam));
        DefaultHandler(message);
        return true;
    case WM_MENUCHAR:
        // Owner-drawn items of the menu bar: their accelerators are found here.
        if (!FMenu ||
            !FMenu->ProcessMenuChar(reinterpret_cast<HMENU>(message.LParam), LOWORD(message.WParam), message.Result))
            DefaultHandler(message);
        return true;
    case WM_DESTROY:
        // The system destroys a window's menu bar with the window, but the bar is the TMainMenu's,
        // which shows it again in the form's next window: it is taken off first.
        if (FMenu && FMenu->Items()->Handle() && GetMenu(FHandle) == FMenu->Items()->Handle())
            ::SetMenu(FHandle, nullptr);
        break;
    case CM_MENUCHANGED:
        if (FHandle && FMenu) FMenu->SetWindowHandle(FHandle);
        if (FHandle) DrawMenuBar(FHandle);
        return true;
    case CM_RELEASE:
        BeforeDestruction();
        delete this;
        return true;
    case CM_VISIBLECHANGED: CMVisibleChanged(message); return true;
    case CM_DIALOGKEY: CMDialogKey(message); return true;
    case WM_DRAWITEM:
    case WM_MEASUREITEM:
        if (MenuItemMessage(message)) return true;
        break;
    // What the controls of the form ask of it (see Messages.h).
    case CM_ISFORM: message.Result = 1; return true;
    case CM_FOCUSCONTROL:
        FocusControl(reinterpret_cast<TWinControl*>(message.LParam));
        message.Result = 1;
        return true;
    case CM_CONTROLFOCUSED:
        SetActiveControlFromFocus(reinterpret_cast<TWinControl*>(message.LParam));
        message.Result = 1;
        return true;
    case CM_KEYPREVIEW:
        message.Result = FKeyPreview && PreviewKey(*reinterpret_cast<TMessage*>(message.LParam)) ? 1 : 0;
        return true;
    case CM_ISSHORTCUT: message.Result = IsShortCut(static_cast<uint16_t>(message.WParam)) ? 1 : 0; return true;
    default: break;
    }
    return TScrollingWinControl::Dispatch(message);
}

bool TCustomForm::PreviewKey(TMessage& key) {
    switch (key.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: return DoKeyDown(key);
    case WM_KEYUP:
    case WM_SYSKEYUP: return DoKeyUp(key);
    case WM_CHAR: return DoKeyPress(key);
    default: return false;
    }
}

bool TCustomForm::MenuItemMessage(TMessage& message) {
    // Owner-drawn items of the menu bar (and of any menu the system shows for this window).
    if (message.Msg == WM_DRAWITEM) {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (draw->CtlType != ODT_MENU) return false;
        message.Result = DrawMenuItemMessage(*draw) ? TRUE : FALSE;
    } else {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (measure->CtlType != ODT_MENU) return false;
        message.Result = MeasureMenuItemMessage(*measure) ? TRUE : FALSE;
    }
    if (!message.Result) DefaultHandler(message);
    return true;
}

TForm::TForm(TComponent* owner) : TCustomForm(owner) {}
