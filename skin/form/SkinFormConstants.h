// The fixed numbers of the form-skinning unit: the private window messages the engine's parts
// talk through, the magic answer that identifies a skinned window, and the small state numbers
// of the form skinner (lifecycle, kind of window, kind of frame, caption-button actions).
#pragma once

#include <windows.h>

#include <cstdint>

// --- Private window messages (their numbers are part of the engine's protocol) ---
constexpr UINT WM_SKINREFRESH = 0x3401;       // re-apply the skin to a skinned form
constexpr UINT WM_SKINNCPAINT = 0x3502;       // repaint the skinned non-client area
constexpr UINT WM_SKINATTACH = 0x3503;        // posted once to a freshly attached window; finishes the attach
constexpr UINT WM_SKINSWITCH = 0x3506;        // wParam > 0 switches a control's skinner on, else off
constexpr UINT WM_SKINCLOSEPAGE = 0x3507;     // a tab page is about to be closed by its close box
constexpr UINT WM_SKINBUTTONCMD = 0x3514;     // a caption button without built-in action; wParam = its action
constexpr UINT WM_SKINBUTTONQUERY = 0x3515;   // caption-button visibility query; an answer above 0 shows it
constexpr UINT WM_SKINMDIREDRAW = 0x3516;     // posted to the MDI client: redraw the frame and its children
constexpr UINT WM_SKINRESCROLL = 0x3517;      // wParam = control window: give it a fresh scroll-bar skinner
constexpr UINT WM_SKINMENUKEY = 0x3518;       // open the menu-bar button under the point in lParam
constexpr UINT WM_SKINQUERY = 0x3523;         // a skinned window, control or popup menu answers 1
constexpr UINT WM_SKINPAINTCONTROL = 0xBC4A;  // with SkinMagic: paint the control's client into the DC in wParam
constexpr UINT WM_SKINPAINTTO = 0xBC4B;       // with SkinMagic: paint the skinned frame into the DC in wParam
constexpr UINT WM_SKINIDENTIFY = 0xBC4D;      // answers SkinMagic when lParam is SkinMagic, else 1
constexpr UINT WM_SKINNOTIFY = 0xBC4E;        // sent by a form skinner to its own window after attaching

// The magic number of the private messages' handshakes.
constexpr LPARAM SkinMagic = 16802;
// lParam of the posted WM_SKINATTACH.
constexpr LPARAM SkinAttachParam = 1000;
// The answer of a skinned window to WM_SKINQUERY.
constexpr LRESULT SkinQueryAnswer = 1;

// The themed caption drawing request some systems send (undocumented); a skinned window swallows it.
constexpr UINT WM_NCUAHDRAWCAPTION = 0x00AE;

// --- Form skinner lifecycle (FSkinState) ---
constexpr int32_t SkinStateCreated = 0;
constexpr int32_t SkinStateRunning = 1;
constexpr int32_t SkinStateRefreshing = 3;
constexpr int32_t SkinStateDestroying = 4;  // the window is being destroyed
constexpr int32_t SkinStateResizing = 5;    // resizing during the attach
constexpr int32_t SkinStateDead = 6;        // the window is gone; freed at the manager's next purge

// --- Kind of window (FFormKind) ---
constexpr uint8_t FormKindPlain = 0;
constexpr uint8_t FormKindMDIFrame = 1;
constexpr uint8_t FormKindMDIChild = 2;

// --- Kind of frame (FBorderKind) ---
constexpr uint8_t BorderKindSizeable = 0;
constexpr uint8_t BorderKindSingle = 1;
constexpr uint8_t BorderKindNoCaption = 2;
constexpr uint8_t BorderKindDialog = 3;

// --- Caption boxes of the window (FBorderIcons, bits) ---
constexpr uint8_t BorderIconMaximize = 1;
constexpr uint8_t BorderIconMinimize = 2;
constexpr uint8_t BorderIconHelp = 4;
constexpr uint8_t BorderIconSystemMenu = 8;
constexpr uint8_t BorderIconKeepStyle = 16;  // the window's style must not be changed

// --- Window state (FWindowState) ---
constexpr uint8_t WindowStateNormal = 0;
constexpr uint8_t WindowStateMaximized = 1;
constexpr uint8_t WindowStateMinimized = 2;

// --- Frame sides (PaintBorder kinds) ---
constexpr int32_t BorderSideLeft = 1;
constexpr int32_t BorderSideRight = 2;
constexpr int32_t BorderSideTop = 3;
constexpr int32_t BorderSideBottom = 4;

// --- Non-client object states (TNCObject::FState); a caption button's fourth frame is disabled ---
constexpr int32_t NCStateNormal = 1;
constexpr int32_t NCStatePressed = 2;
constexpr int32_t NCStateHot = 3;
constexpr int32_t NCStateDisabled = 4;

// --- Caption-button actions (the skin's Action key) ---
constexpr int32_t ButtonActionClose = 0;
constexpr int32_t ButtonActionMaximize = 1;
constexpr int32_t ButtonActionMinimize = 2;
constexpr int32_t ButtonActionSystemMenu = 3;
constexpr int32_t ButtonActionHelp = 4;
constexpr int32_t ButtonActionMDIMinimize = 7;
constexpr int32_t ButtonActionMDIRestore = 8;
constexpr int32_t ButtonActionMDIClose = 9;
constexpr int32_t ButtonActionIcon = 11;
constexpr int32_t ButtonActionSystemMenu2 = 12;
constexpr int32_t ButtonActionMaximize2 = 22;
constexpr int32_t ButtonActionMinimize2 = 23;
constexpr int32_t ButtonActionMDIMinimize2 = 60;
constexpr int32_t ButtonActionMDIRestore2 = 61;
constexpr int32_t ButtonActionMDIClose2 = 62;

// --- Caption-button alignment (the skin's Align key) ---
constexpr int32_t ButtonAlignLeft = 0;
constexpr int32_t ButtonAlignRight = 1;
constexpr int32_t ButtonAlignBeforeText = 2;
constexpr int32_t ButtonAlignAfterText = 3;
constexpr int32_t ButtonAlignBeforeText2 = 8;
constexpr int32_t ButtonAlignAfterText2 = 9;
constexpr int32_t ButtonAlignMenuBar = 100;

// --- Caption-button visibility conditions (the skin's Visibility and Visibility1 keys) ---
constexpr int32_t VisibleAlways = 0;
constexpr int32_t VisibleMaximized = 1;
constexpr int32_t VisibleNotMaximized = 2;
constexpr int32_t VisibleActive = 3;
constexpr int32_t VisibleInactive = 4;
constexpr int32_t VisibleNever = 5;
constexpr int32_t VisibleWithBoxes = 6;
constexpr int32_t VisibleNoMaximizeBox = 7;
constexpr int32_t VisibleWithBoxes2 = 8;
constexpr int32_t VisibleNoMinimizeBox = 9;
constexpr int32_t VisibleHelpOnly = 10;
constexpr int32_t VisibleMDIChildMaximized = 100;
constexpr int32_t VisibleOwnDialog = 200;
constexpr int32_t VisibleAlwaysFirst = 201;  // 201..999: always
constexpr int32_t VisibleAlwaysLast = 999;
constexpr int32_t VisibleQueryFirst = 1000;  // 1000..2000: the window is asked (WM_SKINBUTTONQUERY)
constexpr int32_t VisibleQueryLast = 2000;

// Where the menu is shown from (the manager's FMenuSource).
constexpr int32_t MenuSourcePopup = 0;
constexpr int32_t MenuSourceMenuBar = 1;
constexpr int32_t MenuSourceSystemMenu = 2;

// Forms with this Tag are never skinned.
constexpr int32_t NeverSkinTag = 99;
