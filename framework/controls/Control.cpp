#include "framework/controls/Control.h"

#include <windowsx.h>

#include <algorithm>

#include "framework/controls/ControlAtom.h"
#include "framework/controls/CustomApplication.h"
#include "framework/controls/Menu.h"
#include "framework/graphics/AnsiText.h"
#include "framework/rtl/Trace.h"

namespace {
TControl* gCaptureControl = nullptr;
}  // namespace

// The properties every control offers by name (streaming reads them; the
// skin engine reads and writes them without knowing the control's class).
QUIRN_PUBLISH(TControl, p) {
    p.Property("Left", &TControl::Left, &TControl::SetLeft).Default(0);
    p.Property("Top", &TControl::Top, &TControl::SetTop).Default(0);
    p.Property("Width", &TControl::Width, &TControl::SetWidth).NoDefault();
    p.Property("Height", &TControl::Height, &TControl::SetHeight).NoDefault();
    p.Property("Align", &TControl::Align, &TControl::SetAlign).Default(alNone);
    p.Property("Visible", &TControl::Visible, &TControl::SetVisible).Default(true);
    p.Property("Enabled", &TControl::Enabled, &TControl::SetEnabled).Default(true);
    p.Property("Color", &TControl::Color, &TControl::SetColor)
        .Identifiers(ColorIdents)
        .Stored(&TControl::IsColorStored)
        .NoDefault();
    p.Property("ParentColor", &TControl::ParentColor, &TControl::SetParentColor).NoDefault();
    p.Property("Font", &TControl::Font, &TControl::SetFont).Stored(&TControl::IsFontStored);
    p.Property("ParentFont", &TControl::ParentFont, &TControl::SetParentFont).NoDefault();
    p.Property("Caption", &TControl::WideText, &TControl::SetWideText);
    p.Property("Cursor", &TControl::Cursor, &TControl::SetCursor).Identifiers(CursorIdents).Default(crDefault);
    p.Property("Hint", &TControl::Hint, &TControl::SetHint);
    p.Property("ShowHint", &TControl::ShowHint, &TControl::SetShowHint).Stored(&TControl::IsShowHintStored).NoDefault();
    p.Property("ParentShowHint", &TControl::ParentShowHint, &TControl::SetParentShowHint).Default(true);
    p.Property("BiDiMode", &TControl::BiDiMode, &TControl::SetBiDiMode).Stored(&TControl::IsBiDiModeStored).NoDefault();
    p.Property("ParentBiDiMode", &TControl::ParentBiDiMode, &TControl::SetParentBiDiMode).Default(true);
    p.Property("PopupMenu", &TControl::PopupMenu, &TControl::SetPopupMenu);
    p.Property("OnClick", &TControl::OnClick, &TControl::SetOnClick);
    p.Property("OnDblClick", &TControl::OnDblClick, &TControl::SetOnDblClick);
    p.Property("OnMouseDown", &TControl::OnMouseDown, &TControl::SetOnMouseDown);
    p.Property("OnMouseUp", &TControl::OnMouseUp, &TControl::SetOnMouseUp);
    p.Property("OnMouseMove", &TControl::OnMouseMove, &TControl::SetOnMouseMove);
    p.Property("OnMouseEnter", &TControl::OnMouseEnter, &TControl::SetOnMouseEnter);
    p.Property("OnMouseLeave", &TControl::OnMouseLeave, &TControl::SetOnMouseLeave);
}

bool TControl::IsColorStored() const { return !FParentColor; }
bool TControl::IsFontStored() const { return !FParentFont; }
bool TControl::IsShowHintStored() const { return !FParentShowHint; }
bool TControl::IsBiDiModeStored() const { return !FParentBiDiMode; }

TControl* GetCaptureControl() { return gCaptureControl; }

void SetCaptureControl(TControl* control) {
    gCaptureControl = control;
    if (!control) {
        ReleaseCapture();
        return;
    }
    if (control->IsWindowed())
        SetCapture(control->WindowHandle());
    else if (control->FParentControl)
        SetCapture(control->FParentControl->WindowHandle());
}

TWinControl* FindVCLWindow(POINT screenPoint) {
    HWND window = WindowFromPoint(screenPoint);
    while (window) {
        if (TWinControl* control = FindControl(window)) return control;
        window = GetParent(window);
    }
    return nullptr;
}

TControl::TControl(TComponent* owner) : TComponent(owner), FFont(std::make_unique<TFont>()) {
    FWindowProc = TWndMethod(this, &TControl::WndProc);
    FFont->SetOnChange(TNotifyEvent(this, &TControl::FontChanged));
    FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks};
}

TControl::~TControl() {
    if (gCaptureControl == this) SetCaptureControl(nullptr);
    if (CustomApplication) CustomApplication->ControlDestroyed(this);
    if (FParentControl) FParentControl->RemoveControl(this);
}

void TControl::LinkParent(TWinControl* parent, TControl* parentControl) {
    FParent = parent;
    FParentControl = parentControl;
}

TComponent* TControl::GetParentComponent() const { return FParentControl; }

void TControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    InvalidateControl(Visible(), false);
    FLeft = left;
    FTop = top;
    FWidth = width;
    FHeight = height;
    InvalidateControl(Visible(), false);
    BoundsChanged();
    RequestAlign();
}

RECT TControl::ClientRect() { return RECT{0, 0, FWidth, FHeight}; }

void TControl::SetClientWidth(int32_t value) {
    const RECT client = ClientRect();
    SetWidth(FWidth - (client.right - client.left) + value);
}

void TControl::SetClientHeight(int32_t value) {
    const RECT client = ClientRect();
    SetHeight(FHeight - (client.bottom - client.top) + value);
}

POINT TControl::ClientOrigin() {
    // A window's client area starts inside its frame, caption and menu bar:
    // only the window itself knows where.
    if (IsWindowed() && WindowAllocated()) {
        POINT origin{0, 0};
        ::ClientToScreen(WindowHandle(), &origin);
        return origin;
    }
    if (!FParentControl) return POINT{FLeft, FTop};
    POINT origin = FParentControl->ClientOrigin();
    origin.x += FLeft;
    origin.y += FTop;
    return origin;
}

POINT TControl::ClientToScreen(POINT point) {
    const POINT origin = ClientOrigin();
    return POINT{point.x + origin.x, point.y + origin.y};
}

POINT TControl::ScreenToClient(POINT point) {
    const POINT origin = ClientOrigin();
    return POINT{point.x - origin.x, point.y - origin.y};
}

void TControl::SetAlign(TAlign value) {
    if (FAlign == value) return;
    FAlign = value;
    RequestAlign();
}

void TControl::RequestAlign() {
    if (FParentControl && !ComponentState().Contains(csLoading)) FParentControl->Realign(this);
}

void TControl::SetVisible(bool value) {
    if (FVisible == value) return;
    VisibleChanging();
    FVisible = value;
    Perform(CM_VISIBLECHANGED, value ? 1 : 0);
    RequestAlign();
}

bool TControl::Showing() const {
    if (!FVisible) return false;
    if (IsWindowed() && !WindowAllocated()) return false;
    return !FParentControl || FParentControl->Showing();
}

void TControl::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    Perform(CM_ENABLEDCHANGED);
}

void TControl::SetColor(TColor value) {
    if (FColor == value && !FParentColor) return;
    FColor = value;
    FParentColor = false;
    Perform(CM_COLORCHANGED);
}

void TControl::SetParentColor(bool value) {
    if (FParentColor == value) return;
    FParentColor = value;
    if (value) ParentColorChanged();
}

void TControl::ParentColorChanged() {
    if (!FParentColor || !FParentControl) return;
    FColor = FParentControl->Color();
    Perform(CM_COLORCHANGED);
    FParentColor = true;
}

void TControl::SetFont(TFont* value) {
    if (value && value != FFont.get()) FFont->Assign(value);
}

void TControl::SetParentFont(bool value) {
    if (FParentFont == value) return;
    FParentFont = value;
    if (value) ParentFontChanged();
}

void TControl::ParentFontChanged() {
    if (!FParentFont || !FParentControl) return;
    FFont->Assign(FParentControl->Font());  // raises FontChanged, which clears FParentFont ...
    FParentFont = true;                     // ... but the font still follows the parent
}

void TControl::FontChanged(TObject*) {
    FParentFont = false;
    Perform(CM_FONTCHANGED);
}

void TControl::SetWideText(const std::wstring& value) {
    if (value == WideText()) return;
    Perform(WM_SETTEXT, 0, reinterpret_cast<LPARAM>(value.c_str()));
    Perform(CM_TEXTCHANGED);
}

std::string TControl::Caption() const { return WideToAnsiText(WideText()); }

void TControl::SetCaption(const std::string& value) { SetWideText(AnsiToWideText(value)); }

void TControl::SetCursor(TCursor value) {
    if (FCursor == value) return;
    FCursor = value;
    Perform(CM_CURSORCHANGED);
}

void TControl::SetShowHint(bool value) {
    FShowHint = value;
    FParentShowHint = false;
}

void TControl::SetParentShowHint(bool value) {
    FParentShowHint = value;
    if (value && FParentControl) FShowHint = FParentControl->ShowHint();
}

void TControl::SetBiDiMode(TBiDiMode value) {
    if (FBiDiMode == value) return;
    FBiDiMode = value;
    FParentBiDiMode = false;
    Perform(CM_BIDIMODECHANGED);
}

void TControl::SetParentBiDiMode(bool value) {
    FParentBiDiMode = value;
    if (value) ParentBiDiModeChanged();
}

void TControl::ParentBiDiModeChanged() {
    if (!FParentBiDiMode || !FParentControl || FParentControl->BiDiMode() == FBiDiMode) return;
    FBiDiMode = FParentControl->BiDiMode();
    Perform(CM_BIDIMODECHANGED);
}

void TControl::SetPopupMenu(TPopupMenu* value) {
    FPopupMenu = value;
    if (value) value->FreeNotification(this);
}

void TControl::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FPopupMenu) FPopupMenu = nullptr;
}

void TControl::Loaded() {
    TComponent::Loaded();
    if (FParentControl && FParentColor) ParentColorChanged();
    if (FParentControl && FParentFont) ParentFontChanged();
    if (FParentControl && FParentBiDiMode) ParentBiDiModeChanged();
    RequestAlign();
}

LRESULT TControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
    TMessage message{msg, wParam, lParam, 0};
    FWindowProc(message);
    return message.Result;
}

void TControl::WndProc(TMessage& message) {
    if (!Dispatch(message)) DefaultHandler(message);
}

void TControl::DefaultHandler(TMessage& message) {
    // A control without a window keeps its text itself.
    switch (message.Msg) {
    case WM_SETTEXT:
        FText = message.LParam ? reinterpret_cast<const wchar_t*>(message.LParam) : L"";
        message.Result = TRUE;
        break;
    case WM_GETTEXTLENGTH: message.Result = static_cast<LRESULT>(FText.size()); break;
    case WM_GETTEXT: {
        const size_t capacity = message.WParam;
        auto* buffer = reinterpret_cast<wchar_t*>(message.LParam);
        if (!buffer || capacity == 0) break;
        const size_t count = std::min(capacity - 1, FText.size());
        FText.copy(buffer, count);
        buffer[count] = L'\0';
        message.Result = static_cast<LRESULT>(count);
        break;
    }
    default: break;
    }
}

std::wstring TControl::WideText() const {
    auto* self = const_cast<TControl*>(this);
    const LRESULT length = self->Perform(WM_GETTEXTLENGTH);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied = self->Perform(WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::max<LRESULT>(0, std::min<LRESULT>(copied, length))));
    return text;
}

TShiftState KeyboardShiftState() {
    TShiftState shift;
    if (GetKeyState(VK_SHIFT) < 0) shift.Include(ssShift);
    if (GetKeyState(VK_CONTROL) < 0) shift.Include(ssCtrl);
    if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    return shift;
}

TShiftState TControl::KeysToShiftState(WPARAM keys) const {
    TShiftState shift;
    if (keys & MK_SHIFT) shift.Include(ssShift);
    if (keys & MK_CONTROL) shift.Include(ssCtrl);
    if (keys & MK_LBUTTON) shift.Include(ssLeft);
    if (keys & MK_RBUTTON) shift.Include(ssRight);
    if (keys & MK_MBUTTON) shift.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    return shift;
}

void TControl::HandleMouseButton(TMessage& message, TMouseButton button, bool down, bool doubleClick) {
    const int32_t x = GET_X_LPARAM(message.LParam);
    const int32_t y = GET_Y_LPARAM(message.LParam);
    TShiftState shift = KeysToShiftState(message.WParam);
    if (button == mbRight)
        QUIRN_TRACE(TTraceChannel::Menu, "right button ", down ? "down" : "up", " on ", ClassName(), " at ", x, ",", y);
    if (down) {
        if (button == mbLeft) {
            if (FControlStyle.Contains(csCaptureMouse) && !IsWindowed()) SetCaptureControl(this);
            if (doubleClick) {
                shift.Include(ssDouble);
                if (FControlStyle.Contains(csDoubleClicks)) DblClick();
            } else if (FControlStyle.Contains(csClickEvents)) {
                FControlState.Include(csClicked);
            }
            FControlState.Include(csLButtonDown);
        }
        MouseDown(button, shift, x, y);
        return;
    }
    if (button == mbLeft) {
        if (gCaptureControl == this) SetCaptureControl(nullptr);
        const bool clicked = FControlState.Contains(csClicked);
        FControlState.Exclude(csClicked);
        FControlState.Exclude(csLButtonDown);
        const RECT client = ClientRect();
        if (clicked && x >= client.left && x < client.right && y >= client.top && y < client.bottom) Click();
    }
    MouseUp(button, shift, x, y);
}

bool TControl::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_LBUTTONDOWN: HandleMouseButton(message, mbLeft, true, false); return false;
    case WM_LBUTTONDBLCLK: HandleMouseButton(message, mbLeft, true, true); return false;
    case WM_LBUTTONUP: HandleMouseButton(message, mbLeft, false, false); return false;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: HandleMouseButton(message, mbRight, true, message.Msg == WM_RBUTTONDBLCLK); return false;
    case WM_RBUTTONUP: HandleMouseButton(message, mbRight, false, false); return false;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK: HandleMouseButton(message, mbMiddle, true, message.Msg == WM_MBUTTONDBLCLK); return false;
    case WM_MBUTTONUP: HandleMouseButton(message, mbMiddle, false, false); return false;
    case WM_MOUSEMOVE:
        MouseMove(KeysToShiftState(message.WParam), GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam));
        return false;
    case CM_MOUSEENTER:
        if (message.LParam == 0 && FOnMouseEnter) FOnMouseEnter(this);
        return true;
    case CM_MOUSELEAVE:
        if (message.LParam == 0 && FOnMouseLeave) FOnMouseLeave(this);
        return true;
    case CM_PARENTCOLORCHANGED: ParentColorChanged(); return true;
    case CM_PARENTFONTCHANGED: ParentFontChanged(); return true;
    case CM_PARENTBIDIMODECHANGED: ParentBiDiModeChanged(); return true;
    case CM_HITTEST: message.Result = HTCLIENT; return true;
    case CM_ENABLEDCHANGED:
    case CM_COLORCHANGED:
    case CM_TEXTCHANGED: Invalidate(); return true;
    case CM_FONTCHANGED:
        AdjustSize();
        Invalidate();
        return true;
    case CM_VISIBLECHANGED: InvalidateControl(true, false); return true;
    case WM_CANCELMODE:
        if (gCaptureControl == this) SetCaptureControl(nullptr);
        FControlState.Exclude(csClicked);
        return true;
    default: return false;
    }
}

void TControl::InvalidateControl(bool isVisible, bool isOpaque) {
    if (!isVisible || !FParentControl || !FParentControl->WindowAllocated() || IsWindowed()) return;
    const RECT bounds = BoundsRect();
    InvalidateRect(FParentControl->WindowHandle(), &bounds, !isOpaque);
}

void TControl::Invalidate() { InvalidateControl(FVisible, FControlStyle.Contains(csOpaque)); }

void TControl::Update() {
    if (FParentControl) FParentControl->Update();
}

void TControl::Repaint() {
    if (!FVisible || !FParentControl || !FParentControl->WindowAllocated()) return;
    Invalidate();
    Update();
}

void TControl::BringToFront() {
    if (FParentControl) FParentControl->SetZOrderOf(this, true);
}

void TControl::SendToBack() {
    if (FParentControl) FParentControl->SetZOrderOf(this, false);
}

void TControl::Click() {
    if (FOnClick) FOnClick(this);
}

void TControl::DblClick() {
    if (FOnDblClick) FOnDblClick(this);
}

void TControl::MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    if (FOnMouseDown) FOnMouseDown(this, button, shift, x, y);
}

void TControl::MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y) {
    if (FOnMouseUp) FOnMouseUp(this, button, shift, x, y);
}

void TControl::MouseMove(TShiftState shift, int32_t x, int32_t y) {
    if (FOnMouseMove) FOnMouseMove(this, shift, x, y);
}
