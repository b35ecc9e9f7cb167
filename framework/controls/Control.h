// Control.h: TControl, the base of everything placed on a form: bounds and
// alignment inside a parent, visibility, enabled state, colour, font, caption,
// cursor, mouse events and the replaceable WindowProc every message passes.
#pragma once

#include "framework/controls/WinApi.h"

#include <cstdint>
#include <memory>
#include <string>

#include "framework/controls/AlignLayout.h"
#include "framework/controls/ControlTypes.h"
#include "framework/controls/Messages.h"
#include "framework/core/Component.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Font.h"
#include "framework/rtl/Delegate.h"

class TWinControl;
class TPopupMenu;

// Base of every control, with or without a window. The Owner frees the
// control; the Parent (a TWinControl) places, paints and aligns it and, when
// it is also the owner or there is none, frees it with itself. Property
// changes reach the control as CM_* messages through WindowProc.
class TControl : public TComponent {
    QUIRN_CLASS(TControl, TComponent)
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;

    // The windowed control this control sits in; nullptr for a top-level form
    // or a control not placed yet. Setting it moves the control there.
    // SetParent and SetParentComponent are defined with TWinControl
    // (WinControl.cpp): joining a parent is its InsertControl, and only there
    // is a TWinControl known to be a TControl.
    TWinControl* Parent() const { return FParent; }
    void SetParent(TWinControl* parent);

    // Bounds in pixels relative to the parent's client area (a top-level
    // form: the screen). Negative sizes become 0; the parent realigns after.
    int32_t Left() const { return FLeft; }
    int32_t Top() const { return FTop; }
    int32_t Width() const { return FWidth; }
    int32_t Height() const { return FHeight; }
    void SetLeft(int32_t value) { SetBounds(value, FTop, FWidth, FHeight); }
    void SetTop(int32_t value) { SetBounds(FLeft, value, FWidth, FHeight); }
    void SetWidth(int32_t value) { SetBounds(FLeft, FTop, value, FHeight); }
    void SetHeight(int32_t value) { SetBounds(FLeft, FTop, FWidth, value); }
    virtual void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height);
    RECT BoundsRect() const { return RECT{FLeft, FTop, FLeft + FWidth, FTop + FHeight}; }

    // The client area: the whole control for windowless controls, the
    // window's client rectangle for windowed ones.
    virtual RECT ClientRect();
    int32_t ClientWidth() { return ClientRect().right; }
    int32_t ClientHeight() { return ClientRect().bottom; }
    virtual void SetClientWidth(int32_t value);
    virtual void SetClientHeight(int32_t value);
    // The screen position of the client area's top-left corner (past a
    // window's frame and caption once the window exists).
    POINT ClientOrigin();
    POINT ClientToScreen(POINT point);
    POINT ScreenToClient(POINT point);

    TAlign Align() const { return FAlign; }
    void SetAlign(TAlign value);

    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    // Visible and every parent up to a top-level window visible.
    bool Showing() const;
    bool Enabled() const { return FEnabled; }
    virtual void SetEnabled(bool value);

    // Setting Color or Font turns ParentColor / ParentFont off; setting those
    // back on takes the parent's colour or font again.
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    bool ParentColor() const { return FParentColor; }
    void SetParentColor(bool value);
    // The control's font, owned by the control; changes of it reach the control
    // (CM_FONTCHANGED). SetFont copies value's attributes, never takes value.
    TFont* Font() const { return FFont.get(); }
    void SetFont(TFont* value);
    bool ParentFont() const { return FParentFont; }
    void SetParentFont(bool value);

    // Caption and Text are one string, the window text (UTF-16 inside; the
    // ANSI forms convert with the system code page).
    std::wstring WideText() const;
    void SetWideText(const std::wstring& value);
    std::string Caption() const;
    void SetCaption(const std::string& value);
    std::string Text() const { return Caption(); }
    void SetText(const std::string& value) { SetCaption(value); }

    // The cursor over the control (crDefault: the parent's), shown while
    // Screen->Cursor is crDefault.
    TCursor Cursor() const { return FCursor; }
    void SetCursor(TCursor value);
    // The hint text the application shows after a pause over the control
    // when ShowHint (and Application->ShowHint) are on.
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    bool ShowHint() const { return FShowHint; }
    void SetShowHint(bool value);
    bool ParentShowHint() const { return FParentShowHint; }
    void SetParentShowHint(bool value);
    TBiDiMode BiDiMode() const { return FBiDiMode; }
    void SetBiDiMode(TBiDiMode value);
    bool ParentBiDiMode() const { return FParentBiDiMode; }
    void SetParentBiDiMode(bool value);
    // Shown on a right click (WM_CONTEXTMENU) when its AutoPopup is on; not
    // owned, and cleared when the menu is freed.
    TPopupMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(TPopupMenu* value);

    // What the control is (csAcceptsControls, csOpaque, ...) and what it is
    // doing (csLButtonDown, ...); classes set these, users rarely do.
    TControlStyle ControlStyle() const { return FControlStyle; }
    void SetControlStyle(TControlStyle value) { FControlStyle = value; }
    TControlState ControlState() const { return FControlState; }
    void SetControlState(TControlState value) { FControlState = value; }

    // Every message of the control passes WindowProc; others replace it
    // (saving the previous one) to see the messages first, and put the saved
    // one back when done, but only while their own is still current: use
    // TWindowProcSubclass, which also handles being taken out of the middle.
    const TWndMethod& WindowProc() const { return FWindowProc; }
    void SetWindowProc(const TWndMethod& value) { FWindowProc = value; }
    // Sends a message straight through WindowProc (not through the window, so
    // no handle is needed or made); returns its Result.
    LRESULT Perform(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0);
    // The control's own message handling (the default WindowProc).
    virtual void WndProc(TMessage& message);
    // Unhandled messages end here (the window's default procedure for
    // windowed controls).
    virtual void DefaultHandler(TMessage& message);

    // Invalidate marks the control for painting at the next WM_PAINT (a
    // windowless control: its rectangle in the parent's window); Update paints
    // what is pending now; Repaint does both. No window, no painting.
    virtual void Invalidate();
    virtual void Update();
    void Repaint();
    void Refresh() { Repaint(); }
    // Moves the control above (painted last) or below its siblings.
    void BringToFront();
    void SendToBack();

    // Mouse actions, also raised by skinners that take the mouse from the
    // control. Click fires when the left button goes down and comes up inside
    // the control (csClickEvents); each raises the matching On* event.
    virtual void Click();
    virtual void DblClick();
    virtual void MouseDown(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    virtual void MouseUp(TMouseButton button, TShiftState shift, int32_t x, int32_t y);
    virtual void MouseMove(TShiftState shift, int32_t x, int32_t y);

    TNotifyEvent OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent value) { FOnClick = value; }
    TNotifyEvent OnDblClick() const { return FOnDblClick; }
    void SetOnDblClick(TNotifyEvent value) { FOnDblClick = value; }
    TMouseEvent OnMouseDown() const { return FOnMouseDown; }
    void SetOnMouseDown(TMouseEvent value) { FOnMouseDown = value; }
    TMouseEvent OnMouseUp() const { return FOnMouseUp; }
    void SetOnMouseUp(TMouseEvent value) { FOnMouseUp = value; }
    TMouseMoveEvent OnMouseMove() const { return FOnMouseMove; }
    void SetOnMouseMove(TMouseMoveEvent value) { FOnMouseMove = value; }
    // Fired when the application's idle tracking sees the mouse come onto or
    // leave the control (CM_MOUSEENTER / CM_MOUSELEAVE).
    TNotifyEvent OnMouseEnter() const { return FOnMouseEnter; }
    void SetOnMouseEnter(TNotifyEvent value) { FOnMouseEnter = value; }
    TNotifyEvent OnMouseLeave() const { return FOnMouseLeave; }
    void SetOnMouseLeave(TNotifyEvent value) { FOnMouseLeave = value; }

    // Component streaming: a control's parent component is its Parent.
    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;

protected:
    friend class TWinControl;
    friend class TScrollingWinControl;  // moves children when it scrolls
    // Message handling by concern; each returns true when it handled the message.
    virtual bool Dispatch(TMessage& message);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    // Hooks for descendants (both do nothing here): Changed for a descendant
    // to announce a change of its own, VisibleChanging just before Visible changes.
    virtual void Changed() {}
    virtual void VisibleChanging() {}
    // Called when the bounds were set, before the parent realigns.
    virtual void BoundsChanged() {}
    // Asks the parent to realign its children (not while loading).
    void RequestAlign();
    // Sizes the control to its content (AutoSize); called when the font or text changes.
    virtual void AdjustSize() {}
    // Take the parent's colour and font when ParentColor / ParentFont are on.
    void ParentColorChanged();
    void ParentFontChanged();
    // Takes the parent's BiDiMode when ParentBiDiMode is set (CM_BIDIMODECHANGED when it differs).
    void ParentBiDiModeChanged();
    void InvalidateControl(bool isVisible, bool isOpaque);

    // The parent's side of the link between a control and the windowed control
    // it sits in. TWinControl is built on this class, so a control reaches its
    // parent (FParentControl) only through TControl's own members; these are the
    // ones only a windowed control gives a body, as a control without a window
    // has none to give and holds no children.
    virtual bool IsWindowed() const { return false; }
    // Whether the control's window exists; WindowHandle makes it first if not.
    virtual bool WindowAllocated() const { return false; }
    virtual HWND WindowHandle() { return nullptr; }
    virtual void RemoveControl(TControl* /*control*/) {}
    virtual void Realign(TControl* /*moving*/ = nullptr) {}
    virtual void SetZOrderOf(TControl* /*control*/, bool /*toFront*/) {}

    TShiftState KeysToShiftState(WPARAM keys) const;

    TWinControl* FParent = nullptr;
    int32_t FLeft = 0;
    int32_t FTop = 0;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    TAlign FAlign = alNone;
    bool FVisible = true;
    bool FEnabled = true;
    TColor FColor = clWindow;
    bool FParentColor = true;
    std::unique_ptr<TFont> FFont;
    bool FParentFont = true;
    std::wstring FText;
    TCursor FCursor = crDefault;
    std::string FHint;
    bool FShowHint = false;
    bool FParentShowHint = true;
    TBiDiMode FBiDiMode = bdLeftToRight;
    bool FParentBiDiMode = true;
    TPopupMenu* FPopupMenu = nullptr;
    TControlStyle FControlStyle;
    TControlState FControlState;
    TWndMethod FWindowProc;

private:
    friend void SetCaptureControl(TControl* control);
    // Called by TWinControl as it takes the control in or lets it go.
    void LinkParent(TWinControl* parent, TControl* parentControl);
    void FontChanged(TObject* sender);
    bool IsColorStored() const;
    bool IsFontStored() const;
    bool IsShowHintStored() const;
    bool IsBiDiModeStored() const;
    void HandleMouseButton(TMessage& message, TMouseButton button, bool down, bool doubleClick);

    TNotifyEvent FOnClick;
    TNotifyEvent FOnDblClick;
    TMouseEvent FOnMouseDown;
    TMouseEvent FOnMouseUp;
    TMouseMoveEvent FOnMouseMove;
    TNotifyEvent FOnMouseEnter;
    TNotifyEvent FOnMouseLeave;
    // The parent seen as a control (the same object as FParent).
    TControl* FParentControl = nullptr;
};

// The control that has the mouse captured (a windowless control pressed by
// the left button), or nullptr. Setting one captures the mouse for its
// window (or its parent's); nullptr releases the capture.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* control);

// The shift keys (Shift, Ctrl, Alt) held as the key message being handled was
// sent: what every key event and shortcut of the framework reports.
TShiftState KeyboardShiftState();

// The framework control whose window lies under a screen point (the window
// there, or its nearest ancestor that belongs to a control), or nullptr.
TWinControl* FindVCLWindow(POINT screenPoint);
