// The published enumerations, sets and event types of the skin data
// component: which controls get skinned, behaviour switches, how widely a
// component skins, and the events applications may handle.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/core/TypeInfo.h"
#include "framework/rtl/Delegate.h"
#include "framework/rtl/Sets.h"

class TComponent;
class TControl;
class TSkinData;

// Kinds of controls and menus that can be skinned. The names and their order
// are part of the stored form format (sets are stored by element name).
enum TSkinControlType : uint8_t {
    xcMainMenu,
    xcPopupMenu,
    xcMenuItem,
    xcToolbar,
    xcControlbar,
    xcCombo,
    xcCheckBox,
    xcRadioButton,
    xcProgress,
    xcScrollbar,
    xcEdit,
    xcButton,
    xcBitBtn,
    xcSpeedButton,
    xcSpin,
    xcPanel,
    xcGroupBox,
    xcStatusBar,
    xcTab,
    xcTrackBar,
    xcSystemMenu,
    xcFastReport
};
QUIRN_ENUM(TSkinControlType, xcMainMenu, xcPopupMenu, xcMenuItem, xcToolbar, xcControlbar, xcCombo, xcCheckBox,
           xcRadioButton, xcProgress, xcScrollbar, xcEdit, xcButton, xcBitBtn, xcSpeedButton, xcSpin, xcPanel,
           xcGroupBox, xcStatusBar, xcTab, xcTrackBar, xcSystemMenu, xcFastReport)
constexpr int SkinControlTypeCount = xcFastReport + 1;
using TSkinControlTypes = TSet<TSkinControlType>;
// Stored in 4 bytes: bit n is value n.
constexpr size_t SkinControlTypesStoredSize = 4;
static_assert(SetByteSize(SkinControlTypeCount) == SkinControlTypesStoredSize);

// Behaviour switches read by the manager and the skinners.
enum TSkinOption : uint8_t {
    xoMDIScrollbar,
    xoMenuMerge,
    xoTransparent,
    xoPreview,
    xoParentBackGround,
    xoNoFocusRect,
    xoToolbarBK,
    xoToolbarButton,
    xoMDIChildBorder,
    xoMenuBG,
    xoCaptionButtonHint,
    xoFormScrollbar
};
QUIRN_ENUM(TSkinOption, xoMDIScrollbar, xoMenuMerge, xoTransparent, xoPreview, xoParentBackGround, xoNoFocusRect,
           xoToolbarBK, xoToolbarButton, xoMDIChildBorder, xoMenuBG, xoCaptionButtonHint, xoFormScrollbar)
constexpr int SkinOptionCount = xoFormScrollbar + 1;
using TSkinOptions = TSet<TSkinOption>;
constexpr size_t SkinOptionsStoredSize = 2;
static_assert(SetByteSize(SkinOptionCount) == SkinOptionsStoredSize);

// How widely one skin data component skins.
enum TSkinFormType : uint8_t { sfMainform, sfOnlyThisForm, sfDialog, sfDLL };
QUIRN_ENUM(TSkinFormType, sfMainform, sfOnlyThisForm, sfDialog, sfDLL)

// Settings of a new component.
constexpr int32_t DefaultDisableTag = 99;
inline constexpr TSkinControlTypes DefaultSkinControls = TSkinControlTypes::FromBits(
    ((uint64_t{1} << SkinControlTypeCount) - 1) & ~((uint64_t{1} << xcMenuItem) | (uint64_t{1} << xcFastReport)));
inline constexpr TSkinOptions DefaultSkinOptions = {xoPreview, xoToolbarBK, xoCaptionButtonHint};

// Asked for every window class before it is skinned; DoSkin decides.
using TOnFormSkin = TDelegate<void(TObject* sender, const std::string& aName, bool& doSkin)>;
// Raised by a form skinner before and after it skins a window.
using TOnSkinForm = TDelegate<void(TObject* sender, HWND ahwnd, const std::string& aName)>;
// Raised by the control mapping for each control; may supply the skinner.
QUIRN_EVENT_TYPE(TOnFormSkin)
QUIRN_EVENT_TYPE(TOnSkinForm)
using TOnSkinControl = TDelegate<void(TComponent* sender, TSkinData* skinData, TControl* form, TControl* control,
                                      const std::string& controlClass, TComponent*& skinnedControl)>;
QUIRN_EVENT_TYPE(TOnSkinControl)
