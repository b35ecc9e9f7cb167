#include "framework/controls/WinControl.h"

#include <windowsx.h>

#include <algorithm>
#include <utility>

#include "framework/controls/ControlAtom.h"
#include "framework/controls/CustomApplication.h"
#include "framework/controls/Menu.h"
#include "framework/win/ObjectInstance.h"
#include "framework/controls/Screen.h"
#include "framework/controls/WindowText.h"
#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"

namespace {

// The extended styles a right-to-left mode sets: the reading order for every right-to-left mode; the
// scroll bar (and with it a skinned caption, menu bar and frame, which read this style) on the left side
// unless only the reading order is right-to-left.
constexpr DWORD kBiDiExStyles = WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
DWORD BiDiExStyle(TBiDiMode mode) {
    switch (mode) {
    case bdRightToLeft:
    case bdRightToLeftNoAlign: return WS_EX_RTLREADING | WS_EX_LEFTSCROLLBAR;
    case bdRightToLeftReadingOnly: return WS_EX_RTLREADING;
    default: return 0;
    }
}

// The control whose window is being created on this thread: its first
// message binds the window to it (InitWndProc).
thread_local TWinControl* gCreationControl = nullptr;

std::wstring WidenClassName(const std::string& name) {
    return std::wstring(name.begin(), name.end());  // class names are ASCII identifiers
}

// The highest control identifier: WM_COMMAND carries identifiers in 16 bits.
constexpr UINT_PTR kMaxChildId = 0xFFFF;

// An identifier no other child window of parent has. Notifications such as WM_MEASUREITEM name
// their sender by it alone, so each child window of a framework control gets its own.
UINT_PTR FreeChildId(HWND parent) {
    thread_local UINT_PTR last = 0;
    for (UINT_PTR tried = 0; tried < kMaxChildId; ++tried) {
        last = last % kMaxChildId + 1;
        if (!GetDlgItem(parent, static_cast<int>(last))) return last;
    }
    return 0;  // every identifier taken: the window goes without one
}

bool IsMouseMessage(UINT msg) { return msg >= WM_MOUSEFIRST && msg <= WM_MBUTTONDBLCLK && msg != WM_MOUSEWHEEL; }

// The form a control sits in (itself when it is one), as a windowed control, or nullptr. Forms are built on
// this class, so the top of the parent chain is asked (CM_ISFORM) rather than checked by class; the control
// then tells its form what it needs by message (CM_FOCUSCONTROL, CM_KEYPREVIEW, ...).
TWinControl* ParentFormOf(TWinControl* control) {
    TWinControl* top = control;
    while (top->Parent()) top = top->Parent();
    return top->Perform(CM_ISFORM) != 0 ? top : nullptr;
}

}  // namespace

QUIRN_PUBLISH(TWinControl, p) {
    p.Property("TabOrder", &TWinControl::TabOrder, &TWinControl::SetTabOrder).NoDefault();
    p.Property("TabStop", &TWinControl::TabStop, &TWinControl::SetTabStop).NoDefault();
    p.Property("ParentBackground", &TWinControl::ParentBackground, &TWinControl::SetParentBackground).NoDefault();
    p.Property("BevelKind", &TWinControl::BevelKind, &TWinControl::SetBevelKind).Default(bkNone);
    p.Property("BevelInner", &TWinControl::BevelInner, &TWinControl::SetBevelInner).Default(bvRaised);
    p.Property("BevelOuter", &TWinControl::BevelOuter, &TWinControl::SetBevelOuter).Default(bvLowered);
    p.Property("BevelWidth", &TWinControl::BevelWidth, &TWinControl::SetBevelWidth).Default(1);
    p.Property("OnEnter", &TWinControl::OnEnter, &TWinControl::SetOnEnter);
    p.Property("OnExit", &TWinControl::OnExit, &TWinControl::SetOnExit);
    p.Property("OnKeyDown", &TWinControl::OnKeyDown, &TWinControl::SetOnKeyDown);
    p.Property("OnKeyUp", &TWinControl::OnKeyUp, &TWinControl::SetOnKeyUp);
    p.Property("OnKeyPress", &TWinControl::OnKeyPress, &TWinControl::SetOnKeyPress);
}

LRESULT CALLBACK InitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    TWinControl* control = gCreationControl;
    if (!control) return DefWindowProcW(window, msg, wParam, lParam);
    gCreationControl = nullptr;
    control->FHandle = window;
    SetWindowControl(window, control);
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(control->FObjectInstance));
    return CallWindowProcW(control->FObjectInstance, window, msg, wParam, lParam);
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {
    FObjectInstance = MakeObjectInstance(TWndMethod(this, &TWinControl::MainWndProc));
}

TWinControl::~TWinControl() {
    // Children go with their parent; each removes itself from this list.
    while (!FControls.empty()) {
        TControl* child = FControls.back();
        if (child->Owner() && child->Owner() != this) {
            child->SetParent(nullptr);  // its owner frees it
        } else {
            delete child;
        }
    }
    DestroyOrDetachWindow();
    FreeObjectInstance(FObjectInstance);
}

void TWinControl::MainWndProc(TMessage& message) {
    try {
        FWindowProc(message);
    } catch (...) {
        ApplicationHandleException(this);
    }
}

HWND TWinControl::Handle() {
    HandleNeeded();
    return FHandle;
}

void TWinControl::HandleNeeded() {
    if (FHandle) return;
    if (FParent) FParent->HandleNeeded();
    if (FHandle) return;  // the parent's creation made this window too
    CreateWnd();
    CreateHandle();
}

void TWinControl::SetParentWindow(HWND value) {
    if (FParent || FParentWindow == value) return;
    FParentWindow = value;
    if (FHandle) {
        if (value)
            ::SetParent(FHandle, value);
        else
            DestroyHandle();
    }
}

void TWinControl::CreateParams(TCreateParams& params) {
    params.Caption = FText;
    params.Style = WS_CHILD | WS_CLIPSIBLINGS;
    if (FControlStyle.Contains(csAcceptsControls)) params.Style |= WS_CLIPCHILDREN;
    if (FVisible) params.Style |= WS_VISIBLE;
    if (!FEnabled) params.Style |= WS_DISABLED;
    if (FTabStop) params.Style |= WS_TABSTOP;
    params.ExStyle |= BiDiExStyle(FBiDiMode);
    params.X = FLeft;
    params.Y = FTop;
    params.Width = FWidth;
    params.Height = FHeight;
    params.WndParent = FParent ? FParent->Handle() : FParentWindow;
    params.WinClassName = WidenClassName(ClassName());
}

void TWinControl::CreateSubClass(TCreateParams& params, const wchar_t* systemClassName) {
    params.SystemClassName = systemClassName;
}

void TWinControl::CreateWnd() {
    TCreateParams params;
    CreateParams(params);
    if ((params.Style & WS_CHILD) && !params.WndParent)
        throw EInvalidOperation("Control '" + Name() + "' has no parent window");
    TWindowClassSpec classSpec;
    classSpec.ClassName = params.WinClassName.c_str();
    classSpec.SystemClass = params.SystemClassName.empty() ? nullptr : params.SystemClassName.c_str();
    classSpec.Style = params.ClassStyle;
    classSpec.Background = params.ClassBackground;
    FDefWndProc = RegisterFrameworkClass(classSpec, InitWndProc);
    if (!FDefWndProc) throw EInvalidOperation("Cannot register the window class of " + ClassName());
    CreateWindowHandle(params);
    if (!FHandle) throw EInvalidOperation("Error creating window of " + ClassName());
}

void TWinControl::CreateWindowHandle(const TCreateParams& params) {
    HMENU childId = nullptr;
    if ((params.Style & WS_CHILD) && params.WndParent) childId = reinterpret_cast<HMENU>(FreeChildId(params.WndParent));
    gCreationControl = this;
    HWND window = CreateWindowExW(params.ExStyle, params.WinClassName.c_str(), params.Caption.c_str(), params.Style,
                                  params.X, params.Y, params.Width, params.Height, params.WndParent, childId,
                                  FrameworkInstance(), params.Param);
    gCreationControl = nullptr;
    if (!window) FHandle = nullptr;
}

void TWinControl::CreateHandle() {
    ApplyWindowFont();
    // Children's windows, then the tab order of this level as the z-order.
    for (TControl* child : std::vector<TControl*>(FControls))
        if (auto* windowed = ObjectAs<TWinControl>(child)) windowed->HandleNeeded();
    HWND after = HWND_TOP;
    for (TWinControl* child : FTabList) {
        if (!child->FHandle) continue;
        SetWindowPos(child->FHandle, after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        after = child->FHandle;
    }
    Realign();
}

void TWinControl::DestroyHandle() {
    if (!FHandle) return;
    FControlState.Include(csDestroyingHandle);
    try {
        DestroyWnd();
    } catch (...) {
        FControlState.Exclude(csDestroyingHandle);
        throw;
    }
    FControlState.Exclude(csDestroyingHandle);
}

void TWinControl::DestroyWnd() {
    FText = WindowTextOf(FHandle);
    DestroyWindowHandle();
}

void TWinControl::DestroyWindowHandle() {
    if (!FHandle) return;
    // A refusal (the call came from another thread) leaves the window alive and bound to this control.
    Win32Check(DestroyWindow(FHandle), "DestroyWindow");
    FHandle = nullptr;  // WM_NCDESTROY has cleared it unless a foreign procedure kept the message
}

void TWinControl::DestroyOrDetachWindow() noexcept {
    if (!FHandle) return;
    try {
        DestroyWindowHandle();
        return;
    } catch (const std::exception& error) {
        QUIRN_TRACE(TTraceChannel::Subclass, ClassName(), " '", Name(), "' goes before its window ",
                    trace::Address(FHandle), ": ", error.what());
    } catch (...) {
    }
    DetachWindow();
}

void TWinControl::DetachWindow() noexcept {
    HWND window = std::exchange(FHandle, nullptr);
    SetWindowControl(window, nullptr);
    // The window's messages go straight to its class's own procedure from now on; when another module has
    // subclassed the window over this control's thunk, the thunk stays as a pass-through to that procedure.
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)) == FObjectInstance) {
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(FDefWndProc));
    } else if (ForwardObjectInstance(FObjectInstance, FDefWndProc, true)) {
        FObjectInstance = nullptr;  // no longer this control's to free
    }
    QUIRN_TRACE(TTraceChannel::Subclass, "window ", trace::Address(window), " detached from ", ClassName(), " '",
                Name(), "'");
}

void TWinControl::RecreateWnd() {
    // Through the control's WindowProc, so whoever hooks it learns that the window is replaced.
    if (FHandle) Perform(CM_RECREATEWND);
}

void TWinControl::CMRecreateWnd(TMessage&) {
    if (!FHandle) return;
    const bool wasFocused = GetFocus() == FHandle;
    DestroyHandle();
    HandleNeeded();
    if (wasFocused && FHandle) ::SetFocus(FHandle);
}

// ---- TControl's side of joining a parent -------------------------------------
// Defined here, beside InsertControl and RemoveControl, because only here a TWinControl is known to be a
// TControl (Control.cpp comes before this class).

void TControl::SetParent(TWinControl* parent) {
    if (FParent == parent) return;
    if (parent == static_cast<TControl*>(this)) throw EInvalidOperation("A control cannot have itself as its parent");
    if (FParent) FParent->RemoveControl(this);
    if (parent) {
        parent->InsertControl(this);
        if (FParentColor) ParentColorChanged();
        if (FParentFont) ParentFontChanged();
        if (FParentBiDiMode) ParentBiDiModeChanged();
    }
}

void TControl::SetParentComponent(TComponent* value) {
    if (auto* parent = ObjectAs<TWinControl>(value)) SetParent(parent);
}

// ---- the children ---------------------------------------------------------------

void TWinControl::InsertControl(TControl* control) {
    if (!control || ContainsControl(control)) return;
    control->LinkParent(this, this);
    FControls.push_back(control);
    if (auto* windowed = ObjectAs<TWinControl>(control)) {
        FTabList.push_back(windowed);
        if (FHandle && !ComponentState().Contains(csLoading)) windowed->HandleNeeded();
        if (windowed->FHandle && FHandle && GetParent(windowed->FHandle) != FHandle)
            ::SetParent(windowed->FHandle, FHandle);
    }
    if (control->Visible()) control->Invalidate();
    Realign();
}

void TWinControl::RemoveControl(TControl* control) {
    auto found = std::find(FControls.begin(), FControls.end(), control);
    if (found == FControls.end()) return;
    if (control->Visible()) control->Invalidate();
    FControls.erase(found);
    if (auto* windowed = ObjectAs<TWinControl>(control)) {
        std::erase(FTabList, windowed);
        if (windowed->FHandle && !windowed->FParentWindow) windowed->DestroyHandle();
    }
    control->LinkParent(nullptr, nullptr);
    if (GetCaptureControl() == control) SetCaptureControl(nullptr);
    Realign();
}

bool TWinControl::ContainsControl(const TControl* control) const {
    return std::find(FControls.begin(), FControls.end(), control) != FControls.end();
}

void TWinControl::SetZOrderOf(TControl* control, bool toFront) {
    auto found = std::find(FControls.begin(), FControls.end(), control);
    if (found == FControls.end()) return;
    FControls.erase(found);
    if (toFront)
        FControls.push_back(control);
    else
        FControls.insert(FControls.begin(), control);
    if (auto* windowed = ObjectAs<TWinControl>(control); windowed && windowed->FHandle)
        SetWindowPos(windowed->FHandle, toFront ? HWND_TOP : HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    control->Invalidate();
}

TControl* TWinControl::ControlAtPos(POINT point, bool allowDisabled, bool allowWinControls) {
    // Topmost first: later children paint above earlier ones.
    for (auto it = FControls.rbegin(); it != FControls.rend(); ++it) {
        TControl* child = *it;
        const bool windowed = ObjectAs<TWinControl>(child) != nullptr;
        if (windowed && !allowWinControls) continue;
        if (!child->Visible() || (!child->Enabled() && !allowDisabled)) continue;
        const RECT bounds = child->BoundsRect();
        if (PtInRect(&bounds, point)) return child;
    }
    return nullptr;
}

int32_t TWinControl::TabOrder() const {
    if (!FParent) return -1;
    const auto& list = FParent->FTabList;
    const auto found = std::find(list.begin(), list.end(), this);
    return found == list.end() ? -1 : static_cast<int32_t>(found - list.begin());
}

void TWinControl::SetTabOrder(int32_t value) {
    if (!FParent) return;
    auto& list = FParent->FTabList;
    const auto found = std::find(list.begin(), list.end(), this);
    if (found == list.end()) return;
    list.erase(found);
    const int32_t count = static_cast<int32_t>(list.size());
    if (value < 0 || value > count) value = count;
    list.insert(list.begin() + value, this);
}

void TWinControl::SetTabStop(bool value) {
    if (FTabStop == value) return;
    FTabStop = value;
    if (FHandle) {
        LONG_PTR style = GetWindowLongPtrW(FHandle, GWL_STYLE);
        style = value ? (style | WS_TABSTOP) : (style & ~static_cast<LONG_PTR>(WS_TABSTOP));
        SetWindowLongPtrW(FHandle, GWL_STYLE, style);
    }
}

void TWinControl::GetTabOrderList(std::vector<TWinControl*>& list) const {
    for (TWinControl* child : FTabList) {
        list.push_back(child);
        child->GetTabOrderList(list);
    }
}

bool TWinControl::CanFocus() const {
    for (const TControl* control = this; control; control = control->Parent())
        if (!control->Visible() || !control->Enabled()) return false;
    return true;
}

bool TWinControl::Focused() const { return FHandle && GetFocus() == FHandle; }

void TWinControl::SetFocus() {
    if (TWinControl* form = ParentFormOf(this);
        form && form != this && form->Perform(CM_FOCUSCONTROL, 0, reinterpret_cast<LPARAM>(this)) != 0)
        return;
    if (FHandle) ::SetFocus(FHandle);
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent) {
    std::vector<TWinControl*> list;
    GetTabOrderList(list);
    if (list.empty()) return nullptr;
    const int32_t count = static_cast<int32_t>(list.size());
    int32_t start = -1;
    for (int32_t i = 0; i < count; ++i)
        if (list[static_cast<size_t>(i)] == current) start = i;
    if (start < 0) start = goForward ? count - 1 : 0;
    int32_t index = start;
    for (int32_t step = 0; step < count; ++step) {
        index = goForward ? (index + 1) % count : (index + count - 1) % count;
        TWinControl* candidate = list[static_cast<size_t>(index)];
        if (candidate == current) break;
        if ((!checkTabStop || candidate->TabStop()) && (!checkParent || candidate->Parent() == this) &&
            candidate->CanFocus())
            return candidate;
    }
    return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool goForward, bool checkTabStop) {
    if (TWinControl* next = FindNextControl(current, goForward, checkTabStop, false)) next->SetFocus();
}

void TWinControl::SetParentBackground(bool value) {
    if (ParentBackground() == value) return;
    if (value)
        FControlStyle.Include(csParentBackground);
    else
        FControlStyle.Exclude(csParentBackground);
    Perform(CM_PARENTBACKGROUNDCHANGED, value ? 1 : 0);
    Invalidate();
}

void TWinControl::SetBevelKind(TBevelKind value) {
    if (FBevelKind == value) return;
    FBevelKind = value;
    BevelChanged();
}

void TWinControl::SetBevelInner(TBevelCut value) {
    if (FBevelInner == value) return;
    FBevelInner = value;
    BevelChanged();
}

void TWinControl::SetBevelOuter(TBevelCut value) {
    if (FBevelOuter == value) return;
    FBevelOuter = value;
    BevelChanged();
}

void TWinControl::SetBevelWidth(int32_t value) {
    if (value < 1) value = 1;
    if (FBevelWidth == value) return;
    FBevelWidth = value;
    BevelChanged();
}

void TWinControl::BevelChanged() {
    if (FHandle)
        SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int32_t TWinControl::BevelEdgeSize() const {
    if (FBevelKind == bkNone) return 0;
    int32_t size = 0;
    if (FBevelInner != bvNone) size += FBevelWidth;
    if (FBevelOuter != bvNone) size += FBevelWidth;
    return size;
}

void TWinControl::WMNCCalcSize(TMessage& message) {
    // The bevel takes its edges off the window first; the system's own
    // frame and scroll bars come inside it.
    const int32_t edge = BevelEdgeSize();
    if (edge > 0) {
        RECT* rect = reinterpret_cast<RECT*>(message.LParam);  // the first rectangle of both forms
        InflateRect(rect, -edge, -edge);
    }
    DefaultHandler(message);
}

void TWinControl::WMNCPaint(TMessage& message) {
    DefaultHandler(message);
    if (BevelEdgeSize() == 0) return;
    const win::WindowFrameDC dc(FHandle);
    if (!dc) return;
    RECT rect;
    GetWindowRect(FHandle, &rect);
    OffsetRect(&rect, -rect.left, -rect.top);
    UINT edge = 0;
    if (FBevelInner == bvRaised) edge |= BDR_RAISEDINNER;
    if (FBevelInner == bvLowered) edge |= BDR_SUNKENINNER;
    if (FBevelOuter == bvRaised) edge |= BDR_RAISEDOUTER;
    if (FBevelOuter == bvLowered) edge |= BDR_SUNKENOUTER;
    UINT flags = BF_RECT;
    if (FBevelKind == bkSoft) flags |= BF_SOFT;
    if (FBevelKind == bkFlat) flags |= BF_FLAT;
    for (int32_t i = 0; i < FBevelWidth; ++i) {
        DrawEdge(dc.get(), &rect, edge, flags | BF_ADJUST);
    }
}

void TWinControl::Realign(TControl* moving) {
    if (FAlignLevel > 0 || ComponentState().Contains(csLoading) || ComponentState().Contains(csDestroying)) return;
    RECT rect = ClientRect();
    AlignControls(moving, rect);
}

void TWinControl::AdjustClientRect(RECT&) {}

void TWinControl::AlignControls(TControl* moving, RECT& rect) {
    AdjustClientRect(rect);
    std::vector<TControl*> aligned;
    std::vector<TAlignItem> items;
    for (TControl* child : FControls) {
        if (!child->Visible() || child->Align() == alNone) continue;
        aligned.push_back(child);
        items.push_back(
            {child->Align(), {child->Left(), child->Top(), child->Width(), child->Height()}, child == moving});
    }
    if (aligned.empty()) return;
    const TLayoutBounds area{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
    const std::vector<TLayoutBounds> placed = AlignLayout(area, items);
    ++FAlignLevel;
    try {
        for (size_t i = 0; i < aligned.size(); ++i)
            aligned[i]->SetBounds(placed[i].Left, placed[i].Top, placed[i].Width, placed[i].Height);
    } catch (...) {
        --FAlignLevel;
        throw;
    }
    --FAlignLevel;
}

RECT TWinControl::ClientRect() {
    RECT rect{0, 0, FWidth, FHeight};
    if (FHandle) GetClientRect(FHandle, &rect);
    return rect;
}

void TWinControl::SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) {
    if (!FHandle) {
        TControl::SetBounds(left, top, width, height);
        return;
    }
    if (width < 0) width = 0;
    if (height < 0) height = 0;
    if (left == FLeft && top == FTop && width == FWidth && height == FHeight) return;
    SetWindowPos(FHandle, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    UpdateBounds();
    RequestAlign();
}

void TWinControl::UpdateBounds() {
    if (!FHandle || IsIconic(FHandle)) return;
    RECT rect;
    GetWindowRect(FHandle, &rect);
    if (GetWindowLongPtrW(FHandle, GWL_STYLE) & WS_CHILD) {
        if (HWND parent = GetParent(FHandle)) MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    }
    const bool resized = rect.right - rect.left != FWidth || rect.bottom - rect.top != FHeight;
    FLeft = rect.left;
    FTop = rect.top;
    FWidth = rect.right - rect.left;
    FHeight = rect.bottom - rect.top;
    if (resized) BoundsChanged();
}

void TWinControl::BoundsChanged() {
    Realign();
    if (FWidth == FResizedSize.cx && FHeight == FResizedSize.cy) return;
    FResizedSize = SIZE{FWidth, FHeight};
    Resize();
}

void TWinControl::Resize() {
    if (FOnResize && !ComponentState().Contains(csLoading)) FOnResize(this);
}

void TWinControl::SetEnabled(bool value) { TControl::SetEnabled(value); }

void TWinControl::Invalidate() {
    if (FHandle) InvalidateRect(FHandle, nullptr, !FControlStyle.Contains(csOpaque));
}

void TWinControl::Update() {
    if (FHandle) UpdateWindow(FHandle);
}

void TWinControl::DefaultHandler(TMessage& message) {
    if (FHandle) {
        message.Result = CallWindowProcW(FDefWndProc, FHandle, message.Msg, message.WParam, message.LParam);
        return;
    }
    TControl::DefaultHandler(message);
}

HBRUSH TWinControl::ColorBrush() {
    if (!FBrush || FBrushColor != FColor) {
        FBrush.reset(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FColor))));
        FBrushColor = FColor;
    }
    return FBrush.get();
}

void TWinControl::ApplyWindowFont() {
    if (FHandle) Perform(WM_SETFONT, reinterpret_cast<WPARAM>(FFont->Handle()), TRUE);
}

void TWinControl::Loaded() {
    TControl::Loaded();
    Realign();
}

void TWinControl::Broadcast(TMessage& message) {
    for (TControl* child : std::vector<TControl*>(FControls)) {
        child->WindowProc()(message);
        if (message.Result != 0) return;
    }
}

void TWinControl::PaintWindow(HDC dc) {
    TMessage paint{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(paint);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    auto start = FControls.begin();
    if (first) start = std::find(FControls.begin(), FControls.end(), first);
    for (auto it = start; it != FControls.end(); ++it) {
        TControl* child = *it;
        if (ObjectAs<TWinControl>(child) || !child->Visible()) continue;
        const RECT bounds = child->BoundsRect();
        if (!RectVisible(dc, &bounds)) continue;
        // Origin and clipping of the child, given back also when its painting throws.
        const win::SavedDC saved(dc);
        POINT origin;
        GetViewportOrgEx(dc, &origin);
        SetViewportOrgEx(dc, origin.x + bounds.left, origin.y + bounds.top, nullptr);
        IntersectClipRect(dc, 0, 0, bounds.right - bounds.left, bounds.bottom - bounds.top);
        child->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
    }
}

void TWinControl::PaintHandler(TMessage& message) {
    const bool hasWindowless = std::any_of(FControls.begin(), FControls.end(), [](TControl* child) {
        return child->Visible() && !ObjectAs<TWinControl>(child);
    });
    if (message.WParam) {
        PaintWindow(reinterpret_cast<HDC>(message.WParam));
        if (hasWindowless) PaintControls(reinterpret_cast<HDC>(message.WParam));
        return;
    }
    const win::PaintDC paint(FHandle);
    PaintWindow(paint.get());
    if (hasWindowless) PaintControls(paint.get());
}

void TWinControl::ReflectMessage(TMessage& message, HWND child) {
    TWinControl* control = child && child != FHandle ? FindControl(child) : nullptr;
    if (control) {
        message.Result = control->Perform(CN_BASE + message.Msg, message.WParam, message.LParam);
        return;
    }
    DefaultHandler(message);
}

void TWinControl::CtlColor(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(FFont->Color())));
    SetBkColor(dc, static_cast<COLORREF>(ColorToRGB(FColor)));
    message.Result = reinterpret_cast<LRESULT>(ColorBrush());
}

bool TWinControl::RouteMouseToChild(TMessage& message) {
    TControl* target = nullptr;
    TControl* captured = GetCaptureControl();
    if (captured && captured->Parent() == this)
        target = captured;
    else if (!captured)
        target = ControlAtPos(POINT{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)});
    if (!target || ObjectAs<TWinControl>(target)) return false;
    const int32_t x = GET_X_LPARAM(message.LParam) - target->Left();
    const int32_t y = GET_Y_LPARAM(message.LParam) - target->Top();
    message.Result = target->Perform(message.Msg, message.WParam, MAKELPARAM(x, y));
    return true;
}

bool TWinControl::WantsKey(uint16_t key) {
    LRESULT mask = 0;
    switch (key) {
    case VK_TAB: mask = DLGC_WANTTAB; break;
    case VK_LEFT:
    case VK_RIGHT:
    case VK_UP:
    case VK_DOWN: mask = DLGC_WANTARROWS; break;
    case VK_RETURN:
    case VK_EXECUTE:
    case VK_ESCAPE:
    case VK_CANCEL: mask = DLGC_WANTALLKEYS; break;
    default: return true;
    }
    return (Perform(WM_GETDLGCODE) & mask) != 0;
}

bool TWinControl::PreviewedByForm(TMessage& message) {
    TWinControl* form = ParentFormOf(this);
    return form && form != this && form->Perform(CM_KEYPREVIEW, 0, reinterpret_cast<LPARAM>(&message)) != 0;
}

bool TWinControl::DoKeyDown(TMessage& message) {
    uint16_t key = static_cast<uint16_t>(message.WParam);
    const TShiftState shift = KeyboardShiftState();
    if (PreviewedByForm(message)) return true;
    KeyDown(key, shift);
    if (key == 0) return true;
    message.WParam = key;
    return false;
}

bool TWinControl::DoKeyUp(TMessage& message) {
    uint16_t key = static_cast<uint16_t>(message.WParam);
    const TShiftState shift = KeyboardShiftState();
    if (PreviewedByForm(message)) return true;
    KeyUp(key, shift);
    if (key == 0) return true;
    message.WParam = key;
    return false;
}

bool TWinControl::DoKeyPress(TMessage& message) {
    if (PreviewedByForm(message)) return true;
    if (message.WParam > 0xFF) return false;  // keys beyond one ANSI byte pass unchanged
    char key = static_cast<char>(message.WParam);
    KeyPress(key);
    if (key == 0) return true;
    message.WParam = static_cast<unsigned char>(key);
    return false;
}

void TWinControl::KeyDown(uint16_t& key, TShiftState shift) {
    if (FOnKeyDown) FOnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(uint16_t& key, TShiftState shift) {
    if (FOnKeyUp) FOnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(char& key) {
    if (FOnKeyPress) FOnKeyPress(this, key);
}

void TWinControl::DoEnter() {
    if (FOnEnter) FOnEnter(this);
}

void TWinControl::DoExit() {
    if (FOnExit) FOnExit(this);
}

void TWinControl::CMEnabledChanged(TMessage&) {
    if (FHandle) EnableWindow(FHandle, FEnabled);
    Invalidate();
}

void TWinControl::CMColorChanged(TMessage&) {
    Invalidate();
    for (TControl* child : std::vector<TControl*>(FControls)) child->Perform(CM_PARENTCOLORCHANGED);
}

void TWinControl::CMFontChanged(TMessage&) {
    ApplyWindowFont();
    for (TControl* child : std::vector<TControl*>(FControls)) child->Perform(CM_PARENTFONTCHANGED);
    AdjustSize();
    Invalidate();
}

void TWinControl::CMTextChanged(TMessage&) { Invalidate(); }

void TWinControl::CMBiDiModeChanged(TMessage&) {
    if (FHandle) {
        const LONG_PTR exStyle = GetWindowLongPtrW(FHandle, GWL_EXSTYLE);
        const LONG_PTR wanted = (exStyle & ~static_cast<LONG_PTR>(kBiDiExStyles)) | BiDiExStyle(FBiDiMode);
        if (wanted != exStyle) {
            SetWindowLongPtrW(FHandle, GWL_EXSTYLE, wanted);
            // The frame (a scroll bar, a skinned caption) follows the new side.
            SetWindowPos(FHandle, nullptr, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
    }
    for (TControl* child : std::vector<TControl*>(FControls)) child->Perform(CM_PARENTBIDIMODECHANGED);
    Invalidate();
}

void TWinControl::CMVisibleChanged(TMessage&) {
    if (!FHandle) {
        if (FVisible && FParent && FParent->HandleAllocated()) HandleNeeded();
        return;
    }
    SetWindowPos(
        FHandle, nullptr, 0, 0, 0, 0,
        SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | (FVisible ? SWP_SHOWWINDOW : SWP_HIDEWINDOW));
}

void TWinControl::CMDialogChar(TMessage& message) { Broadcast(message); }

void TWinControl::CMDialogKey(TMessage& message) { Broadcast(message); }

void TWinControl::WMSize(TMessage& message) {
    DefaultHandler(message);
    UpdateBounds();
    Realign();
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
    if (FDefWndProc != DefWindowProcW) {
        DefaultHandler(message);  // the system control erases itself
        return;
    }
    RECT client;
    GetClientRect(FHandle, &client);
    FillRect(reinterpret_cast<HDC>(message.WParam), &client, ColorBrush());
    message.Result = 1;
}

void TWinControl::WMSetCursor(TMessage& message) {
    if (reinterpret_cast<HWND>(message.WParam) == FHandle && LOWORD(message.LParam) == HTCLIENT) {
        TCursor cursor = Screen ? Screen->Cursor() : crDefault;
        if (cursor == crDefault) {
            POINT point;
            GetCursorPos(&point);
            ::ScreenToClient(FHandle, &point);
            TControl* over = ControlAtPos(point, true);
            cursor = over ? over->Cursor() : FCursor;
            if (cursor == crDefault && over) cursor = FCursor;
        }
        if (cursor != crDefault && Screen) {
            ::SetCursor(Screen->Cursors(cursor));
            message.Result = TRUE;
            return;
        }
    }
    DefaultHandler(message);
}

void TWinControl::WMContextMenu(TMessage& message) {
    QUIRN_TRACE(TTraceChannel::Menu, "context menu asked of ", FHandle, " from ",
                reinterpret_cast<HWND>(message.WParam), " at ", GET_X_LPARAM(message.LParam), ",",
                GET_Y_LPARAM(message.LParam));
    if (FPopupMenu && FPopupMenu->AutoPopup()) {
        POINT point{GET_X_LPARAM(message.LParam), GET_Y_LPARAM(message.LParam)};
        if (message.LParam == -1) point = ClientToScreen(POINT{FWidth / 2, FHeight / 2});
        FPopupMenu->SetPopupComponent(this);
        FPopupMenu->Popup(point.x, point.y);
        message.Result = 1;
        return;
    }
    DefaultHandler(message);
}

void TWinControl::WMNCDestroy(TMessage& message) {
    if (!FControlState.Contains(csDestroyingHandle)) FText = WindowTextOf(FHandle);
    DefaultHandler(message);
    SetWindowControl(FHandle, nullptr);
    FHandle = nullptr;
}

bool TWinControl::Dispatch(TMessage& message) {
    const UINT msg = message.Msg;
    if (IsMouseMessage(msg) && RouteMouseToChild(message)) return true;
    switch (msg) {
    case WM_PAINT: PaintHandler(message); return true;
    case WM_ERASEBKGND: WMEraseBkgnd(message); return true;
    case WM_SIZE: WMSize(message); return true;
    case WM_WINDOWPOSCHANGED:
        DefaultHandler(message);
        UpdateBounds();
        return true;
    case WM_SETCURSOR: WMSetCursor(message); return true;
    case WM_CONTEXTMENU: WMContextMenu(message); return true;
    case WM_NCDESTROY: WMNCDestroy(message); return true;
    case WM_NCCALCSIZE: WMNCCalcSize(message); return true;
    case WM_NCPAINT: WMNCPaint(message); return true;
    case WM_SETFOCUS:
        DefaultHandler(message);
        if (TWinControl* form = ParentFormOf(this); form && form != this)
            form->Perform(CM_CONTROLFOCUSED, 0, reinterpret_cast<LPARAM>(this));
        DoEnter();
        return true;
    case WM_KILLFOCUS:
        DefaultHandler(message);
        DoExit();
        return true;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (!DoKeyDown(message)) DefaultHandler(message);
        return true;
    case WM_KEYUP:
    case WM_SYSKEYUP:
        if (!DoKeyUp(message)) DefaultHandler(message);
        return true;
    case WM_CHAR:
        if (!DoKeyPress(message)) DefaultHandler(message);
        return true;
    case CN_KEYDOWN:
    case CN_SYSKEYDOWN: {
        message.Result = 1;
        const auto key = static_cast<uint16_t>(message.WParam);
        TWinControl* form = ParentFormOf(this);
        if (form && form->Perform(CM_ISSHORTCUT, key) != 0) return true;
        if (!WantsKey(key) && form && form->Perform(CM_DIALOGKEY, key, message.LParam) != 0) return true;
        message.Result = 0;
        return true;
    }
    case CN_CHAR:
    case CN_SYSCHAR: {
        message.Result = 0;
        TWinControl* form = ParentFormOf(this);
        const bool alt = msg == CN_SYSCHAR;
        const bool wantsChars = (Perform(WM_GETDLGCODE) & DLGC_WANTCHARS) != 0;
        if (form && (alt || !wantsChars) && form->Perform(CM_DIALOGCHAR, message.WParam, message.LParam) != 0)
            message.Result = 1;
        return true;
    }
    case WM_COMMAND:
        if (message.LParam) {
            ReflectMessage(message, reinterpret_cast<HWND>(message.LParam));
            return true;
        }
        return false;
    case WM_NOTIFY: ReflectMessage(message, reinterpret_cast<NMHDR*>(message.LParam)->hwndFrom); return true;
    case WM_HSCROLL:
    case WM_VSCROLL:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_CHARTOITEM:
    case WM_VKEYTOITEM: ReflectMessage(message, reinterpret_cast<HWND>(message.LParam)); return true;
    // Menu items are drawn where their menu belongs: a form's menu bar by the form (TCustomForm), popup
    // menus by their own window (Menu.cpp).
    case WM_DRAWITEM: {
        auto* draw = reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam);
        if (draw->CtlType == ODT_MENU) return false;
        ReflectMessage(message, draw->hwndItem);
        return true;
    }
    case WM_MEASUREITEM: {
        auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
        if (measure->CtlType == ODT_MENU) return false;
        ReflectMessage(message, FHandle ? GetDlgItem(FHandle, static_cast<int>(measure->CtlID)) : nullptr);
        return true;
    }
    case CN_CTLCOLORMSGBOX:
    case CN_CTLCOLOREDIT:
    case CN_CTLCOLORLISTBOX:
    case CN_CTLCOLORBTN:
    case CN_CTLCOLORDLG:
    case CN_CTLCOLORSCROLLBAR:
    case CN_CTLCOLORSTATIC: CtlColor(message); return true;
    case CM_ENABLEDCHANGED: CMEnabledChanged(message); return true;
    case CM_RECREATEWND: CMRecreateWnd(message); return true;
    case CM_COLORCHANGED: CMColorChanged(message); return true;
    case CM_FONTCHANGED: CMFontChanged(message); return true;
    case CM_BIDIMODECHANGED: CMBiDiModeChanged(message); return true;
    case CM_TEXTCHANGED: CMTextChanged(message); return true;
    case CM_VISIBLECHANGED: CMVisibleChanged(message); return true;
    case CM_DIALOGCHAR: CMDialogChar(message); return true;
    case CM_DIALOGKEY: CMDialogKey(message); return true;
    case CM_PARENTCOLORCHANGED: ParentColorChanged(); return true;
    default: break;
    }
    if (TControl::Dispatch(message)) return true;
    return false;
}

void TWinControl::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (TControl* control : FControls)
        if (control->Owner() == root) proc(control);
    TComponent::GetChildren(proc, root);
}
