// TPellixForm: the form skinner, one per skinned window. It takes over the window's procedure (and an
// MDI frame's client's), draws the window's frame, caption and caption buttons from the skin, gives
// the window the skin's shape, finds the window's controls for the control skinners, and undoes all
// of it when skinning is switched off or the window goes.
//
// Its operations are spread by concern: lifecycle (PellixFormSkinner.cpp), frame painting
// (FramePaint.cpp), caption buttons (CaptionButtons.cpp), the window procedure (SkinWndProc.cpp)
// and the system menu (SystemMenu.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/controls/Menu.h"
#include "framework/controls/Messages.h"
#include "framework/core/Component.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Font.h"
#include "framework/rtl/Delegate.h"
#include "framework/win/GdiObject.h"
#include "skin/form/SkinFormConstants.h"
#include "skin/form/WindowSubclass.h"

class TControl;
class TCustomForm;
class TNCObject;
class TMenuItem;
class TPopupMenu;
class TSkinControlLink;
class TSkinData;
class TSkinMenuBarLink;
class TTimer;
class TWinSysButton;
class TDataSkinObject;

class TPellixForm : public TComponent {
    QUIRN_CLASS(TPellixForm, TComponent)
public:
    // Owner: the window's form object, or none.
    explicit TPellixForm(TComponent* aOwner);
    ~TPellixForm() override;

    // --- Lifecycle ---
    void AttachForm(TSkinData* skinData, TCustomForm* form);
    void AttachWindow(TSkinData* skinData);
    void InitSkin(TSkinData* skinData);
    // WM_SKINATTACH: controls, size and shape, then running.
    void FinishAttach();
    void UpdateFrameMetrics();
    void FreeSysButtons();
    // Frees caption buttons made from the elements of an earlier skin parse (a skin loaded without
    // the manager's skin-changed action); the next skin change builds them again.
    void DropStaleButtons();
    void AdjustWindowSize(bool keepClient);
    void RefreshSkin();
    void Unskin();
    void UnskinDestroyed();
    void UnskinPlain();
    // Raises OnAfterSkinForm after telling the window (WM_SKINNOTIFY).
    void AfterSkin();
    // Passes the message to the window's own procedure; the result goes into the message.
    void CallOldProc(TMessage& message);
    // Rebuilds FIconBitmap from the window's icon.
    void BuildIconBitmap();

    // --- Control skinners (owned through the list) ---
    bool AddControlSkin(TSkinControlLink* skin);
    void RemoveControlSkin(TSkinControlLink* skin);
    void FreeControlSkins();
    void PurgeControlSkins();
    TSkinControlLink* FindControlSkin(HWND window) const;
    void DiscoverForm(TCustomForm* form);
    void DiscoverWindows(HWND parent);
    void MapWindow(HWND window);

    // --- Menus of the form (owner-draw switching) ---
    void SkinPopupMenus(TComponent* component, bool on);
    void SkinMainMenus(TComponent* component, bool on);
    // Assigns (or clears) the skin's item drawing and Measure on the items below Parent at every
    // depth; KeepOwnMeasure leaves a measure handler the application assigned.
    void SkinMenuItems(TMenuItem* parent, bool on, TMenuMeasureItemEvent measure, bool keepOwnMeasure);

    // --- Menu items drawn from the skin (MenuItemDraw.cpp); rectangles in the menu's client ---
    void DrawMenuItem(TObject* sender, TCanvas* aCanvas, RECT aRect, bool selected);
    void DrawMenuItemOfMenu(HMENU menu, TMenuItem* item, bool selected, RECT aRect, TCanvas* aCanvas);
    void DrawPlainMenuItem(TMenuItem* item, TCanvas* aCanvas, bool selected, RECT aRect);
    void MeasureMenuItem(TObject* sender, TCanvas* aCanvas, int32_t& width, int32_t& height);
    void MeasurePopupItem(TObject* sender, TCanvas* aCanvas, int32_t& width, int32_t& height);
    void DrawMenuItemContent(TMenuItem* item, TCanvas* aCanvas, bool selected, RECT aRect);
    // Draws one text (or measures it with DT_CALCRECT), or the separator line for "-".
    void DrawMenuItemText(TMenuItem* item, TCanvas* aCanvas, UINT flags, bool selected, RECT& aRect,
                          const std::string& text);
    // The colour of an item's texts and marks: selected, normal or disabled, from the skin's colours.
    TColor MenuItemTextColour(const TMenuItem& item, bool selected) const;
    // The arrow of an item with a sub-menu, in the item's text colour, where the system would draw
    // its own (at the left end of a right-to-left item).
    void DrawSubMenuArrow(HDC dc, const RECT& item, TColor colour) const;
    // WM_MEASUREITEM and WM_DRAWITEM of the window's menus (owner-drawn items of the menu bar's
    // drop-downs); false when the message is not for them.
    bool MeasureItemMessage(TMessage& message);
    bool DrawItemMessage(TMessage& message);

    // --- Frame painting ---
    void CalcClientRect(TMessage& message);
    void SetSysMenuStyle(bool hide);
    void PaintFrame(HDC dc);
    void PaintCaption(HDC dc);
    void PaintBorder(int32_t kind, RECT rect, HDC dc);
    // The side of that kind composed at W x H as PaintBorder paints it; null when there is nothing to paint.
    std::unique_ptr<TBitmap> ComposeBorder(int32_t kind, int32_t w, int32_t h);
    void PaintTitleText(TCanvas& canvas, const RECT& rect);
    void UpdateRegion();
    void ClearRegion();
    void UpdateWindowState();
    void FindMDIClient();
    // Paints the part of the control's parent under the control into DC (for controls showing
    // their parent's background).
    static void DrawParentImage(TControl* control, HDC dc);

    // --- Caption buttons ---
    bool IsButtonVisible(int32_t index);
    void LayoutButtons();
    void PaintButtons(TCanvas& canvas);
    void DrawSysButton(TWinSysButton& button, int32_t state);
    void DrawCaptionIcon(HDC dc, const RECT& rect);
    TWinSysButton* ObjectAt(POINT framePoint);
    // The caption button at the point, else the menu-bar button there.
    TNCObject* NCObjectAt(POINT framePoint);
    POINT ScreenToFrame(POINT screenPoint) const;

    // --- Message handling ---
    void SkinWndProc(TMessage& message);
    void FormWndProc(TMessage& message);
    void ClientWndProc(TMessage& message);
    void HoverTimer(TObject* sender);
    void ButtonAction(TWinSysButton& button, POINT screenPoint);
    void ToggleMaximize();
    void ToggleMinimize();
    void DoRestore();

    // --- System menu ---
    void ShowSysMenu(POINT screenPoint);
    void BuildSysMenu();
    void SysMenuClick(TObject* sender);
    // An item of the copied system menu: its command goes to the window.
    void SysMenuCommandClick(TObject* sender);

    // Whether a skin data's skin can draw a window frame (it has a caption strip).
    static bool SkinDrawsFrames(const TSkinData& data);

    // Window state helpers.
    bool IsMDIChild() const { return FFormKind == FormKindMDIChild; }
    bool IsMaximizedMDIChild() const { return IsMDIChild() && FWindowState == WindowStateMaximized; }
    bool HasSystemMenu() const;
    bool HasMaximizeBox() const { return (FBorderIcons & BorderIconMaximize) != 0; }
    bool HasMinimizeBox() const { return (FBorderIcons & BorderIconMinimize) != 0; }
    bool HasHelpButton() const { return (FBorderIcons & BorderIconHelp) != 0; }
    // The window's procedure was replaced (and not yet given back).
    bool Subclassed() const { return FWindowSubclass.Installed(); }
    // The skinner is inside its window procedure (the manager's purge never frees it then).
    bool InWindowProc() const { return FWindowProcDepth > 0; }

    // --- Fields ---
    TWndMethod FPrevWindowProc;       // the form object's WindowProc before skinning
    TWindowSubclass FWindowSubclass;  // the window's procedure: FPrevWndProc and FObjectInstance
    TWindowSubclass FClientSubclass;  // the MDI client's (FPrevClientProc, FClientInstance)
    std::unique_ptr<TFont> FCaptionFont;
    std::unique_ptr<TFont> FMenuFont;  // the screen's menu font, for the menu painters
    bool FAttached = false;
    std::unique_ptr<TTimer> FTimer;  // hover and hint timer
    std::wstring FTitleIndent = L"  ";
    std::wstring FTitleSpace = L" ";
    std::string FWndClass;
    bool FSavedMenuUpdate = true;
    bool FSkinFrame = false;
    RECT FClientRect{};
    DWORD FLastMenuClick = 0;
    UINT FDoubleClickTime = 0;
    int32_t FTitleWidth = 0;
    HWND FOwnerWindow = nullptr;
    HICON FIcon = nullptr;  // the window's icon (not owned)
    RECT FTextRect{};
    int32_t FIconSize = 0;
    std::wstring FCaption;
    int32_t FLeftWidth = 0;
    int32_t FTitleHeight = 0;
    int32_t FRightWidth = 0;
    int32_t FBottomHeight = 0;
    RECT FWindowRect{};
    RECT FTitleRect{};
    RECT FSystemRect{};
    int32_t FMenuHeight = 0;
    bool FMenuTracking = false;
    bool FRightToLeft = false;
    bool FSizeable = false;
    bool FUnicode = true;
    bool FIsDialog = false;
    bool FIsChild = false;
    TPopupMenu* FSysMenu = nullptr;  // owned (a component of this one) while it exists
    HWND FClientHandle = nullptr;
    HMENU FWindowMenu = nullptr;
    HMENU FSystemMenu = nullptr;
    HMENU FTrackedMenu = nullptr;
    TColor FSavedColor = 0;
    DWORD FStyle = 0;
    DWORD FExStyle = 0;
    int32_t FButtonsWidth = 0;
    TNCObject* FHotObject = nullptr;
    bool FHasRegion = false;
    HRGN FRegion = nullptr;  // belongs to the system once set on the window
    TCustomForm* FForm = nullptr;
    HWND FHandle = nullptr;
    std::unique_ptr<TCanvas> FCanvas;
    std::unique_ptr<TCanvas> FControlCanvas;
    TSkinData* FSkinData = nullptr;
    std::unique_ptr<TSkinMenuBarLink> FMenuBar;
    std::vector<std::unique_ptr<TWinSysButton>> FSysButtons;
    std::unique_ptr<TBitmap> FIconBitmap;
    // The window's icon at the small-icon size as the caption draws it, and the icon it was copied from:
    // copied again only when the window's icon changes (a copy from the resource per paint cost more than
    // the rest of the caption under Wine).
    win::IconHandle FCaptionIconCopy;
    HICON FCaptionIconSource = nullptr;
    std::unique_ptr<TBitmap> FCaptionBuffer;
    std::vector<TSkinControlLink*> FControlSkins;  // owned
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    int32_t FRegionWidth = 0;
    int32_t FRegionHeight = 0;
    bool FActive = true;
    uint8_t FFormKind = FormKindPlain;
    uint8_t FBorderKind = BorderKindSizeable;
    uint8_t FBorderIcons = 0;
    uint8_t FWindowState = WindowStateNormal;
    int32_t FSkinState = SkinStateCreated;
    TSkinControlLink* FHotControl = nullptr;
    std::string FClassName;
    int32_t FSysButtonCount = 0;
    uint32_t FButtonsGeneration = 0;  // the skin parse FSysButtons were made from

private:
    // Stages of SkinWndProc.
    bool SkinStage1(TMessage& message, bool& passOn);
    bool SkinStage2(TMessage& message, bool& passOn);
    void SkinStage3(TMessage& message, bool passOn);
    void ActivationHandler(TMessage& message);
    void SizeHandler(TMessage& message);
    void HitTest(TMessage& message);
    void SysCommandHandler(TMessage& message);
    // CM_MENUCHANGED (from the form object's own procedure when FromForm): the menu bar follows the
    // window's new menu, which is taken off the window again.
    void MenuChanged(TMessage& message, bool fromForm);
    // Makes the menu bar of the window's menu (FMenuHeight with it) and takes the menu off.
    void MakeMenuBar();
    void NCMouseMove(TMessage& message);
    void NCLButtonDown(TMessage& message);
    void NCLButtonUp(TMessage& message);
    void NCLButtonDblClk(TMessage& message);
    void NCRButtonDown(TMessage& message);
    void DialogChar(TMessage& message);
    // Recomposes the caption strip straight onto the window DC.
    void PaintFrameCaption(HDC dc);
    // The caption text: the window's text between the indent and the trailing space.
    std::wstring ReadWindowText() const;
    // The frame-changed SetWindowPos: the system recomputes the client area and repaints the frame.
    void FrameChanged() const;
    // The element of a frame side (BorderSideLeft..BorderSideBottom).
    TDataSkinObject* BorderElement(int32_t kind) const;
    void RestoreFormProcedures();
    // The first steps of every detach of a skinned frame: the system menu copy and the hover timer
    // go, and the window and form get their procedures back; false when they had them already.
    bool DetachFrame();
    void HideHint();

    int32_t FWindowProcDepth = 0;
};
