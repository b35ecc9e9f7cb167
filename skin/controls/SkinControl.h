// TSkinControl: the base of every control skinner. A skinner is a small component, owned by the
// control it skins, that a form skinner creates for one recognised control of a skinned window. It
// takes over the control's message stream (its WindowProc, or the window procedure of a bare
// window), lets the subclass decide per message whether the control still sees it, and paints the
// control from the skin's elements. The base keeps the mouse and focus state every skinner shares,
// gives the control the skin's face colour while skinned, and offers the fill and text routines the
// skinners paint with.
//
// The skinner contract, for a new skinner (one class per file, named TSkin...):
//   - BeforeMessage: handle what the control must not see and answer false; answer the base's
//     BeforeMessage for the rest (it answers true: the control's own procedure runs).
//   - AfterMessage: react after the control's procedure ran; end with the base's AfterMessage.
//   - DrawSkin (DC, Rect): the whole look, Rect being the window at the origin; read every element
//     and colour from FSkinData at each paint and leave out what the skin lacks.
//   - State numbers become a small enumeration of the family and a table from state to the
//     element's frame number (SkinFrames.h), never bare numbers in the paint code.
//   - Register the class (QUIRN_DEFINE_CLASS) and add it to the mapping tables (ControlMapping.cpp).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/controls/WindowProcSubclass.h"
#include "framework/core/Component.h"
#include "framework/graphics/Color.h"
#include "framework/rtl/Sets.h"
#include "framework/win/WindowSubclass.h"
#include "skin/data/SkinTypes.h"
#include "skin/form/SkinControlLink.h"

class TCanvas;
class TControl;
class TPellixForm;
class TSkinData;
class TWinControl;

// The mouse state all skinners share: the cursor is over the control, the left button (or the
// space bar) is held on it.
enum TSkinMouseFlag : uint8_t { msHover, msPressed };
using TSkinMouseState = TSet<TSkinMouseFlag>;

// FStatus of a skinner (ControlSkinGone, 6, comes with the form skinner's link).
constexpr int32_t ControlSkinNew = 0;
constexpr int32_t ControlSkinAttached = 1;
constexpr int32_t ControlSkinDetached = 2;

// WM_SKINSWITCH's wParam: above this the skinner is switched on.
constexpr int32_t SkinSwitchOff = 0;

class TSkinControl : public TComponent, public TSkinControlLink {
    QUIRN_CLASS(TSkinControl, TComponent)
public:
    // Owner: the skinned control (or none for a bare window found by handle).
    explicit TSkinControl(TComponent* aOwner);
    // Gives the control back its WindowProc (or the window its procedure), then leaves the form
    // skinner's list.
    ~TSkinControl() override;

    // --- The skinner's operations, in slot order ---
    // For a windowed control: takes over its WindowProc. A second call does nothing.
    virtual void Attach(TPellixForm* skinForm, TSkinData* skinData, bool useSkinColor, TCanvas* canvas);
    // For a bare window: takes over its window procedure through a thunk. A second call does nothing.
    virtual void AttachHandle(HWND handle, TSkinData* skinData, TPellixForm* skinForm, TCanvas* canvas);
    // Switches skinning off and gives the control back its colours (not when its window is gone).
    void Detach() override;
    // Base handling of a message before the control sees it; true lets the control's own procedure
    // run (then AfterMessage), false consumes the message.
    virtual bool BeforeMessage(TMessage& message);
    // Base handling after the control's procedure: repaints on focus, enable and text changes, the
    // frame after WM_PAINT, WM_SKINSWITCH, and WM_SKINPAINTTO (the skinned look into a given DC).
    virtual void AfterMessage(TMessage& message);
    // Paints the whole window (DC 0: the window DC); faults while painting are swallowed.
    virtual void PaintFrame(HDC dc);
    virtual void DrawSkin(HDC dc, const RECT& rect);
    // A new skin was applied: the skin colour again, then a repaint.
    void SkinChanged() override;
    virtual bool GetSkinned();

    // --- What the form skinner sees (TSkinControlLink) ---
    void MouseLeave() override;
    int32_t SkinStatus() const override { return FStatus; }
    HWND SkinnedWindow() const override { return FHandle; }

    // --- Routines the skinners share ---
    // The dispatcher every message of the skinned control passes.
    void SkinWndProc(TMessage& message);
    // Passes a message to the procedure the skinner replaced; its result goes into the message.
    void CallOldProc(TMessage& message);
    // Paints the control now.
    void Repaint();
    // WM_PAINT for skinners that paint everything themselves (the message's DC, or BeginPaint).
    void PaintClient(TMessage& message);
    void FillSkinFace(HDC dc, const RECT& rect);
    void FillParentColor(HDC dc, const RECT& rect);
    // The parent's Color property; Default when there is none.
    TColor GetParentColor(TColor fallback);
    LONG GetWindowLongAW(HWND handle, int index) const;
    // A focus rectangle around FText as drawn with Flags in Bounds (check boxes, radio buttons).
    void DrawFocusAroundText(HDC dc, UINT flags, const RECT& bounds);
    // Raises the control's own MouseDown for a button-down the skinner kept from it.
    void ForwardMouseDown(const TMessage& message);
    // The skin's face colour (ButtonFace), or the system's while no skin is loaded.
    TColor SkinFaceColor() const;
    // The skin data's option is set.
    bool HasSkinOption(TSkinOption option) const;
    // Marks the cursor over the control (and tells a form skinner without form object).
    void MarkHover();

    // --- Fields (the design's names) ---
    TSkinMouseState FMouseState;
    TCanvas* FCanvas = nullptr;  // the form skinner's control canvas; not owned
    bool FEnabled = false;
    bool FFocused = false;
    std::wstring FText;
    // The bare window's procedure (FObjectInstance, FOldWndProc) while attached by handle.
    win::WindowSubclass FWindowSubclass;
    bool FSkinning = true;
    bool FUnicode = false;
    TSkinData* FSkinData = nullptr;
    HWND FHandle = nullptr;
    // The control's WindowProc while attached (FOldWindowProc); empty when attached by handle.
    TWindowProcSubclass FOldWindowProc;
    TWinControl* FControl = nullptr;
    RECT FWindowRect{};
    TControl* FGraphicControl = nullptr;
    bool FUseSkinColor = false;
    TColor FOldColor = 0;
    bool FOldParentColor = false;  // ParentColor before the skin colour was set
    bool FAttached = false;
    int32_t FStatus = ControlSkinNew;
    TPellixForm* FSkinForm = nullptr;
    int32_t FKind = 0;
    bool FParentBackgroundCleared = false;

protected:
    // Attach's first steps for a windowed control: the arguments kept, the control and its window
    // taken, the skinner in the form skinner's list, and the skin colour given when asked for.
    // False when the owner is no windowed control.
    bool BindControl(TPellixForm* skinForm, TSkinData* skinData, bool useSkinColor, TCanvas* canvas);
    // The ParentBackground step: switched off at attach, switched on again at detach.
    void SwitchOffParentBackground();
    void RestoreParentBackground();
    // Gives the control the skin's face colour, keeping its own for RestoreSkinColor.
    void ApplySkinColor();
    void RestoreSkinColor();
};
