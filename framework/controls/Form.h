// Form.h: TCustomForm and TForm, the top-level windows of an application:
// border and caption icons, placement, size constraints, icon, main menu,
// closing, keyboard navigation between the controls, and the form's
// creation from its form resource.
#pragma once

#include <memory>

#include "framework/controls/ScrollBox.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Icon.h"
#include "framework/win/GdiObject.h"

class TMainMenu;

// The caption buttons a form asks for (biHelp only where there is no minimise/maximise box).
enum TBorderIcon : uint8_t { biSystemMenu, biMinimize, biMaximize, biHelp };
QUIRN_ENUM(TBorderIcon, biSystemMenu, biMinimize, biMaximize, biHelp)
using TBorderIcons = TSet<TBorderIcon>;
// Where a form goes when first shown: as designed, centred on the screen, the desktop (all
// monitors), the main form or the owner form; poDefault and poDefaultPosOnly let the system pick
// the position (the designed size stays, also for poDefaultSizeOnly).
enum TPosition : uint8_t {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter
};
QUIRN_ENUM(TPosition, poDesigned, poDefault, poDefaultPosOnly, poDefaultSizeOnly, poScreenCenter, poDesktopCenter,
           poMainFormCenter, poOwnerFormCenter)
// fsStayOnTop keeps the form above other windows; the MDI styles raise EInvalidOperation.
enum TFormStyle : uint8_t { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
QUIRN_ENUM(TFormStyle, fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop)
// Whether the form's window is restored, minimised or maximised.
enum TWindowState : uint8_t { wsNormal, wsMinimized, wsMaximized };
QUIRN_ENUM(TWindowState, wsNormal, wsMinimized, wsMaximized)
// What Close does after OnClose (which may change it; the default is caHide): nothing, hide,
// free the form (Release), or minimise. Closing the main form ends the application instead.
enum TCloseAction : uint8_t { caNone, caHide, caFree, caMinimize };
QUIRN_ENUM(TCloseAction, caNone, caHide, caFree, caMinimize)

using TCloseEvent = TDelegate<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = TDelegate<void(TObject* sender, bool& canClose)>;
QUIRN_EVENT_TYPE(TCloseEvent)
QUIRN_EVENT_TYPE(TCloseQueryEvent)

// TSizeConstraints: the smallest and largest outer size of a form (0 = no limit).
class TSizeConstraints : public TPersistent {
    QUIRN_CLASS(TSizeConstraints, TPersistent)
public:
    TSizeConstraints() = default;
    int32_t MinWidth() const { return FMinWidth; }
    int32_t MaxWidth() const { return FMaxWidth; }
    int32_t MinHeight() const { return FMinHeight; }
    int32_t MaxHeight() const { return FMaxHeight; }
    void SetMinWidth(int32_t value);
    void SetMaxWidth(int32_t value);
    void SetMinHeight(int32_t value);
    void SetMaxHeight(int32_t value);
    void Assign(const TPersistent* source) override;
    // Clamps an outer size to the limits.
    void Constrain(int32_t& width, int32_t& height) const;

    TNotifyEvent OnChange() const { return FOnChange; }
    void SetOnChange(TNotifyEvent value) { FOnChange = value; }

private:
    void Changed();
    int32_t FMinWidth = 0;
    int32_t FMaxWidth = 0;
    int32_t FMinHeight = 0;
    int32_t FMaxHeight = 0;
    TNotifyEvent FOnChange;
};

// A top-level window holding controls, read from its form resource. Owned (and freed) by its owner
// (the application for CreateForm); registered with Screen while it exists. Its window is owned by
// the application's window, so it has no task-bar button of its own. With AutoScroll (off by
// default) it scrolls children that lie beyond its client area into view like a scroll box.
class TCustomForm : public TScrollingWinControl {
    QUIRN_CLASS(TCustomForm, TScrollingWinControl)
public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Reads the form resource of this form's class (an RCDATA resource named
    // after the class) into the form, then raises OnCreate. Called by
    // TApplication::CreateForm and by code that creates forms itself, once
    // the form object is fully constructed.
    void InitializeForm();
    // Raises OnDestroy; called by whoever frees the form, before deleting it
    // (a destructor can no longer reach the handlers of the derived form).
    void BeforeDestruction();

    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    TBorderIcons BorderIcons() const { return FBorderIcons; }
    void SetBorderIcons(TBorderIcons value);
    TPosition Position() const { return FPosition; }
    void SetPosition(TPosition value) { FPosition = value; }
    TSizeConstraints* Constraints() const { return FConstraints.get(); }
    void SetConstraints(TSizeConstraints* value) { FConstraints->Assign(value); }
    // The window's icon (caption, task switcher), stored in the form as Icon.Data; while it is
    // empty the window shows the application's icon (MAINICON).
    TIcon* Icon() const { return FIcon.get(); }
    void SetIcon(TIcon* value) { FIcon->Assign(value); }
    TMainMenu* Menu() const { return FMenu; }
    void SetMenu(TMainMenu* value);
    TFormStyle FormStyle() const { return FFormStyle; }
    void SetFormStyle(TFormStyle value);
    TWindowState WindowState() const;
    void SetWindowState(TWindowState value);
    bool KeyPreview() const { return FKeyPreview; }
    void SetKeyPreview(bool value) { FKeyPreview = value; }
    bool OldCreateOrder() const { return FOldCreateOrder; }
    void SetOldCreateOrder(bool value) { FOldCreateOrder = value; }
    TWinControl* ActiveControl() const { return FActiveControl; }
    void SetActiveControl(TWinControl* control);
    TCanvas* Canvas() const { return FCanvas.get(); }

    RECT ClientRect() override;
    void SetClientWidth(int32_t value) override;
    void SetClientHeight(int32_t value) override;
    void SetBounds(int32_t left, int32_t top, int32_t width, int32_t height) override;

    // Shows the form (and brings it to the front); Hide hides it.
    void Show();
    // Asks OnCloseQuery, then OnClose; closing the main form ends the application.
    void Close();
    virtual bool CloseQuery();
    // Frees the form (BeforeDestruction, then delete) once the messages now pending have been
    // handled, so a handler of the form may call it; a form without a window gets one for this.
    void Release();
    // Makes control ActiveControl and focuses it once the form has a window; ignored when the
    // control cannot take the focus.
    void FocusControl(TWinControl* control);
    // Keeps ActiveControl and Screen in step when a control gains the focus by itself, and scrolls
    // it into view in every scrolling control around it that has AutoScroll.
    void SetActiveControlFromFocus(TWinControl* control);
    // True when key, with the shift keys held now, is a shortcut of the form's menu (and was run).
    bool IsShortCut(uint16_t key);

    bool DoKeyDown(TMessage& message) override;
    bool DoKeyUp(TMessage& message) override;
    bool DoKeyPress(TMessage& message) override;

    TNotifyEvent OnCreate() const { return FOnCreate; }
    void SetOnCreate(TNotifyEvent value) { FOnCreate = value; }
    TNotifyEvent OnDestroy() const { return FOnDestroy; }
    void SetOnDestroy(TNotifyEvent value) { FOnDestroy = value; }
    TCloseEvent OnClose() const { return FOnClose; }
    void SetOnClose(TCloseEvent value) { FOnClose = value; }
    TCloseQueryEvent OnCloseQuery() const { return FOnCloseQuery; }
    void SetOnCloseQuery(TCloseQueryEvent value) { FOnCloseQuery = value; }
    TNotifyEvent OnShow() const { return FOnShow; }
    void SetOnShow(TNotifyEvent value) { FOnShow = value; }
    TNotifyEvent OnHide() const { return FOnHide; }
    void SetOnHide(TNotifyEvent value) { FOnHide = value; }
    TNotifyEvent OnActivate() const { return FOnActivate; }
    void SetOnActivate(TNotifyEvent value) { FOnActivate = value; }
    TNotifyEvent OnDeactivate() const { return FOnDeactivate; }
    void SetOnDeactivate(TNotifyEvent value) { FOnDeactivate = value; }
    // OnPaint draws on Canvas, which is bound to the paint DC only while it runs.
    TNotifyEvent OnPaint() const { return FOnPaint; }
    void SetOnPaint(TNotifyEvent value) { FOnPaint = value; }

    bool HasParent() const override { return false; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    void PaintWindow(HDC dc) override;
    bool Dispatch(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    void Loaded() override;
    void DoClose(TCloseAction& action);
    // Outer size from a client size with this form's frame.
    SIZE FrameSize() const;

private:
    // A key message a control of the form offered first (KeyPreview): the form's own key handling.
    bool PreviewKey(TMessage& key);
    // WM_DRAWITEM / WM_MEASUREITEM of an owner-drawn menu item; false for other items.
    bool MenuItemMessage(TMessage& message);
    void CMVisibleChanged(TMessage& message);
    void CMDialogKey(TMessage& message);
    void WMClose(TMessage& message);
    void WMActivate(TMessage& message);
    void WMGetMinMaxInfo(TMessage& message);
    void WMCommand(TMessage& message);
    void PlaceOnFirstShow();
    void UpdateIcon();
    void IconChanged(TObject* sender);
    void ConstraintsChanged(TObject* sender);

    TBorderStyle FBorderStyle = bsSizeable;
    TBorderIcons FBorderIcons{biSystemMenu, biMinimize, biMaximize};
    TPosition FPosition = poDesigned;
    std::unique_ptr<TSizeConstraints> FConstraints;
    std::unique_ptr<TIcon> FIcon;
    // The window's big and small icons made from FIcon; the window refers to them until it goes.
    win::IconHandle FBigIcon;
    win::IconHandle FSmallIcon;
    std::unique_ptr<TCanvas> FCanvas;
    TMainMenu* FMenu = nullptr;
    TFormStyle FFormStyle = fsNormal;
    TWindowState FWindowState = wsNormal;
    bool FKeyPreview = false;
    bool FOldCreateOrder = false;
    bool FPlaced = false;
    bool FDestroyingRaised = false;
    TWinControl* FActiveControl = nullptr;
    int32_t FClientWidthRequest = -1;
    int32_t FClientHeightRequest = -1;

    TNotifyEvent FOnCreate;
    TNotifyEvent FOnDestroy;
    TCloseEvent FOnClose;
    TCloseQueryEvent FOnCloseQuery;
    TNotifyEvent FOnShow;
    TNotifyEvent FOnHide;
    TNotifyEvent FOnActivate;
    TNotifyEvent FOnDeactivate;
    TNotifyEvent FOnPaint;
};

// TForm: the form class applications derive their forms from (publishing their fields and handlers).
class TForm : public TCustomForm {
    QUIRN_CLASS(TForm, TCustomForm)
public:
    explicit TForm(TComponent* owner);
};

// The form at the top of a control's parent chain (the control itself when it
// is a form), or nullptr when the chain ends in something else.
TCustomForm* GetParentForm(TControl* control);
