// Control discovery and mapping: once a form skinner has attached to a window, its controls are
// walked and each one the engine recognises gets a control skinner, attached at once and kept in
// the form skinner's list. Three tables decide: the skin data's Skin3rd list (class name = kind),
// the built-in rules on the control's class, and, for windows without a control object, the
// window class and style. A row whose skinner is not part of the engine yet names it and maps to
// no skinner, so adding the skinner is one line in its row.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "skin/data/SkinTypes.h"

class TComponent;
class TControl;
class TCustomForm;
class TPellixForm;
class TSkinControl;
class TSkinData;
class TWinControl;

// The longest Skin3rd kind that is read.
constexpr size_t Skin3rdKindChars = 50;
// The Skin3rd kind that keeps a class from ever being skinned.
constexpr std::string_view Skin3rdNever = "nil";

// One discovery on behalf of a form skinner: its skin data, control canvas and skinner list.
class TControlMapping {
public:
    explicit TControlMapping(TPellixForm& SkinForm);

    // Entry point for a window with a form object: the components the form owns, then every
    // windowed control in tab order (reaching controls owned by other components).
    void DiscoverForm(TCustomForm& Form);
    // Every owned component that is a control, then the component's popup menus.
    void WalkComponents(TComponent* Component);
    // Every child control of a windowed control.
    void MapChildren(TControl* Control);
    // The mapping of one control object; the first matching step ends it.
    void MapControl(TControl* Control, TComponent* Parent);
    // The Skin3rd mapping; true when the list names the class (even when no skinner is made).
    bool MapByKind(TControl* Control, const std::string& UpperClass);
    // The mapping of a bare window by its class and style.
    void MapWindow(HWND Window);
    // The control answers WM_SKINQUERY with 1, or a skinner of the list belongs to it.
    bool IsSkinned(TControl* Control) const;
    // The skinner of the list whose window is Window.
    TSkinControl* FindControlSkin(HWND Window) const;
    // A radio or check group whose Tag is DisableTag: its children get that Tag too.
    void MarkGroupChildren(TControl* Control);
    // A windowed control with a scroll-bar style, or a memo.
    static bool HasScrollBars(TControl* Control);

    // --- For the mapping rows ---
    // Makes a skinner of class S for Control (owned by it) and attaches it through its WindowProc.
    template <class S>
    TSkinControl* SkinWith(TControl* Control, bool UseSkinColor) {
        return Attached(new S(Control), Control, UseSkinColor);
    }
    // The same, attached through the control's window procedure.
    template <class S>
    TSkinControl* SkinByHandle(TControl* Control) {
        return AttachedByHandle(new S(Control), ControlWindow(Control));
    }
    // Makes a skinner of class S for a bare window (owned by the form skinner's list).
    template <class S>
    TSkinControl* SkinWindow(HWND Window) {
        return AttachedByHandle(new S(nullptr), Window);
    }
    // Gives a scrolling control a scroll-bar skinner of variant Kind (attached by AttachScrolling).
    TSkinControl* SkinScrolling(TWinControl* Control, int32_t Kind);
    bool Has(TSkinControlType Member) const;
    TPellixForm& SkinForm() const { return FSkinForm; }
    TSkinData& SkinData() const { return FSkinData; }

private:
    TSkinControl* Attached(TSkinControl* Skinner, TControl* Control, bool UseSkinColor);
    TSkinControl* AttachedByHandle(TSkinControl* Skinner, HWND Window);
    static HWND ControlWindow(TControl* Control);
    // The skinner the application's OnSkinControl gave: true when it gave an object.
    bool MapByEvent(TControl* Control, TComponent* Parent, const std::string& UpperClass);
    void MapBuiltIn(TControl* Control, const std::string& UpperClass);
    void MapButtonWindow(HWND Window, LONG Style);

    TPellixForm& FSkinForm;
    TSkinData& FSkinData;
};

// The kind Skin3rd gives a class (lower case): the first line that starts with the class name and
// "=", the class name compared without regard to case; nullopt when no line names the class.
std::optional<std::string> Skin3rdKindOf(const TSkinData& SkinData, std::string_view ClassName);
