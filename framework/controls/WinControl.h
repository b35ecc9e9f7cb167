// WinControl.h: TWinControl, a control with a window of its own: the window's
// creation (a class registered under the control's class name, superclassing
// a system control where one does the work), its child controls and their
// alignment, tab order and focus, and the reflection of child notifications.
#pragma once

#include <vector>

#include "framework/controls/Control.h"
#include "framework/controls/WindowClass.h"

// What CreateParams fills in for the window's creation: the arguments of
// CreateWindowExW plus the class to register (sizes in pixels, position in
// the parent's client coordinates).
struct TCreateParams {
    std::wstring Caption;
    DWORD Style = 0;
    DWORD ExStyle = 0;
    int32_t X = 0;
    int32_t Y = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    HWND WndParent = nullptr;
    void* Param = nullptr;
    std::wstring WinClassName;     // the framework class name of the window class
    std::wstring SystemClassName;  // superclassed system class, empty for none
    UINT ClassStyle = CS_DBLCLKS;
    HBRUSH ClassBackground = nullptr;
};

// A control with a window of its own, made when first needed (Handle, or on
// joining a parent whose window exists) and bound to the control (window
// property, object-instance window procedure). The
// control owns the window and destroys it with itself; it keeps its state
// (text, bounds) across DestroyHandle/RecreateWnd. It holds its child
// controls, aligns them and paints the windowless ones.
class TWinControl : public TControl {
    QUIRN_CLASS(TWinControl, TControl)
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;

    // The window handle, created on first request (with the parents' windows);
    // EInvalidOperation when a child has no parent window to be created in.
    // Never destroy it yourself: DestroyHandle does, and the control's destructor.
    HWND Handle();
    bool HandleAllocated() const { return FHandle != nullptr; }
    void HandleNeeded();
    // Destroys the window (children first); the control keeps its state and
    // makes a new window on the next request.
    void DestroyHandle();
    // Replaces the window (CM_RECREATEWND through WindowProc); the control's state carries over.
    void RecreateWnd();
    // For a control without a parent control: the window to create the
    // window in (or the owner of a top-level window).
    HWND ParentWindow() const { return FParentWindow; }
    void SetParentWindow(HWND value);

    // Child controls in insertion order (also the paint order of the
    // windowless ones). InsertControl/RemoveControl are what SetParent uses.
    int32_t ControlCount() const { return static_cast<int32_t>(FControls.size()); }
    TControl* Controls(int32_t index) const { return FControls.at(static_cast<size_t>(index)); }
    void InsertControl(TControl* control);
    void RemoveControl(TControl* control) override;
    bool ContainsControl(const TControl* control) const;
    // Moves a child to the top (painted last, above its siblings) or the bottom.
    void SetZOrderOf(TControl* control, bool toFront) override;
    // The topmost visible child at a client point: windowless and enabled ones unless the flags
    // also admit windowed or disabled children; nullptr when none is there.
    TControl* ControlAtPos(POINT point, bool allowDisabled = false, bool allowWinControls = false);

    // Tab order: TabOrder is the index among the parent's windowed children (-1 without a
    // parent); setting a value out of range moves the control to the end.
    int32_t TabOrder() const;
    void SetTabOrder(int32_t value);
    bool TabStop() const { return FTabStop; }
    void SetTabStop(bool value);
    // Every windowed child, nested, in tab order (a child is followed by its own list).
    void GetTabOrderList(std::vector<TWinControl*>& list) const;
    TWinControl* FindNextControl(TWinControl* current, bool goForward, bool checkTabStop, bool checkParent);
    void SelectNext(TWinControl* current, bool goForward, bool checkTabStop);

    // CanFocus: this control and all its parents visible and enabled.
    bool CanFocus() const;
    bool Focused() const;
    // Focuses the window; inside a form, through the form (ActiveControl).
    virtual void SetFocus();

    // A bevel drawn in the non-client area around the window's own frame.
    TBevelKind BevelKind() const { return FBevelKind; }
    void SetBevelKind(TBevelKind value);
    TBevelCut BevelInner() const { return FBevelInner; }
    void SetBevelInner(TBevelCut value);
    TBevelCut BevelOuter() const { return FBevelOuter; }
    void SetBevelOuter(TBevelCut value);
    int32_t BevelWidth() const { return FBevelWidth; }
    void SetBevelWidth(int32_t value);

    // The parent's background shows behind the control (csParentBackground).
    bool ParentBackground() const { return FControlStyle.Contains(csParentBackground); }
    void SetParentBackground(bool value);

    // Realigns the aligned children inside the client area (AdjustClientRect).
    // moving: the child whose change asks for it (it wins ties of position).
    void Realign(TControl* moving = nullptr) override;
    virtual void AlignControls(TControl* control, RECT& rect);
    // Shrinks rect to the part children are aligned in (a group box's frame).
    virtual void AdjustClientRect(RECT& rect);
    RECT ClientRect() override;
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;
    void SetEnabled(bool value) override;
    void Invalidate() override;
    void Update() override;
    void DefaultHandler(TMessage& message) override;

    // OnEnter/OnExit fire as the window gains and loses the focus. Key events
    // go to the form first when its KeyPreview is on; a handler that sets Key
    // to 0 consumes the key.
    TNotifyEvent OnEnter() const { return FOnEnter; }
    void SetOnEnter(TNotifyEvent value) { FOnEnter = value; }
    TNotifyEvent OnExit() const { return FOnExit; }
    void SetOnExit(TNotifyEvent value) { FOnExit = value; }
    TKeyEvent OnKeyDown() const { return FOnKeyDown; }
    void SetOnKeyDown(TKeyEvent value) { FOnKeyDown = value; }
    TKeyEvent OnKeyUp() const { return FOnKeyUp; }
    void SetOnKeyUp(TKeyEvent value) { FOnKeyUp = value; }
    TKeyPressEvent OnKeyPress() const { return FOnKeyPress; }
    void SetOnKeyPress(TKeyPressEvent value) { FOnKeyPress = value; }
    // Fires after the control's size changed (not while its form is being read).
    TNotifyEvent OnResize() const { return FOnResize; }
    void SetOnResize(TNotifyEvent value) { FOnResize = value; }

    // Paints the windowless children into dc (the client area of this window).
    void PaintControls(HDC dc, TControl* first = nullptr);
    // Broadcasts a message to every child until one sets a non-zero Result.
    void Broadcast(TMessage& message);

protected:
    // Streaming writes the child controls the root owns, in child order, then (for the root itself)
    // its owned components that have no parent, such as menus and timers.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    // Window creation in steps a descendant may override: CreateParams fills
    // in styles and class, CreateWnd registers the class and makes the window
    // (CreateWindowHandle), CreateHandle finishes it.
    virtual void CreateParams(TCreateParams& params);
    // Makes params a superclass of a system control (e.g. L"BUTTON").
    static void CreateSubClass(TCreateParams& params, const wchar_t* systemClassName);
    virtual void CreateWnd();
    virtual void CreateWindowHandle(const TCreateParams& params);
    // Called once the window exists (font, texts, children's windows).
    virtual void CreateHandle();
    virtual void DestroyWnd();
    // Destroys the window; EOSError when the system refuses (a call from
    // another thread), and then the window stays this control's.
    virtual void DestroyWindowHandle();
    // For destructors: destroys the window, or, when the system refuses,
    // detaches it (DetachWindow) and traces why.
    void DestroyOrDetachWindow() noexcept;
    // Unbinds the window from this control for good, leaving it alive: the
    // control property goes and the window's messages go to the class's own
    // procedure (through this control's thunk, turned into a pass-through,
    // when another module has subclassed the window over it).
    void DetachWindow() noexcept;

    bool Dispatch(TMessage& message) override;
    void Loaded() override;
    void BoundsChanged() override;
    // A control's window, for TControl's side of the parent link.
    bool IsWindowed() const override { return true; }
    bool WindowAllocated() const override { return HandleAllocated(); }
    HWND WindowHandle() override { return Handle(); }

    // Painting: with windowless children the control paints its window
    // (PaintWindow) and then the children into the same DC.
    virtual void PaintWindow(HDC dc);
    void PaintHandler(TMessage& message);

    // Key handling; true when the key was consumed.
    virtual bool DoKeyDown(TMessage& message);
    virtual bool DoKeyPress(TMessage& message);
    virtual bool DoKeyUp(TMessage& message);
    virtual void KeyDown(uint16_t& key, TShiftState shift);
    virtual void KeyPress(char& key);
    virtual void KeyUp(uint16_t& key, TShiftState shift);
    // Whether the control wants the key itself (WM_GETDLGCODE of its window).
    virtual bool WantsKey(uint16_t key);

    virtual void DoEnter();
    virtual void DoExit();
    // Raises OnResize; called once per change of the size.
    virtual void Resize();
    // Reads the bounds back from the window after the system moved it.
    void UpdateBounds();
    void ApplyWindowFont();
    // Sends a child window's notification to its control as CN_BASE + Msg;
    // notifications of windows without a control go to DefaultHandler.
    void ReflectMessage(TMessage& message, HWND child);

    HWND FHandle = nullptr;
    WNDPROC FDefWndProc = nullptr;
    WNDPROC FObjectInstance = nullptr;
    HWND FParentWindow = nullptr;
    std::vector<TControl*> FControls;
    std::vector<TWinControl*> FTabList;
    bool FTabStop = false;
    TBevelKind FBevelKind = bkNone;
    TBevelCut FBevelInner = bvRaised;
    TBevelCut FBevelOuter = bvLowered;
    int32_t FBevelWidth = 1;
    int32_t FAlignLevel = 0;
    win::BrushHandle FBrush;  // background brush of Color
    TColor FBrushColor = clNone;

    // A solid brush of Color, owned by the control and remade when Color changes.
    HBRUSH ColorBrush();

private:
    friend LRESULT CALLBACK InitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void MainWndProc(TMessage& message);
    // Offers a key message to the form first when its KeyPreview is on; true when the form consumed it.
    bool PreviewedByForm(TMessage& message);
    void CMEnabledChanged(TMessage& message);
    void CMColorChanged(TMessage& message);
    void CMFontChanged(TMessage& message);
    // The window's right-to-left styles follow BiDiMode; the children that follow their parent's mode too.
    void CMBiDiModeChanged(TMessage& message);
    void CMTextChanged(TMessage& message);
    void CMVisibleChanged(TMessage& message);
    void CMRecreateWnd(TMessage& message);
    void CMDialogChar(TMessage& message);
    void CMDialogKey(TMessage& message);
    void WMSize(TMessage& message);
    void WMEraseBkgnd(TMessage& message);
    void WMSetCursor(TMessage& message);
    void WMContextMenu(TMessage& message);
    void WMNCDestroy(TMessage& message);
    void WMNCCalcSize(TMessage& message);
    void WMNCPaint(TMessage& message);
    int32_t BevelEdgeSize() const;
    void BevelChanged();
    bool RouteMouseToChild(TMessage& message);
    void CtlColor(TMessage& message);

    TNotifyEvent FOnEnter;
    TNotifyEvent FOnExit;
    TKeyEvent FOnKeyDown;
    TKeyEvent FOnKeyUp;
    TKeyPressEvent FOnKeyPress;
    TNotifyEvent FOnResize;
    SIZE FResizedSize{-1, -1};  // the size the last Resize saw
};

// The window procedure of every framework window class: the window's first
// message binds it to the control being created and switches the window to
// the control's own procedure.
LRESULT CALLBACK InitWndProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
