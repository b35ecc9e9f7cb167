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
    explicit TControlMapping(TPellixForm& skinForm);

    // Entry point for a window with a form object: the components the form owns, then every
    // windowed control in tab order (reaching controls owned by other components).
    void DiscoverForm(TCustomForm& form);
    // Every owned component that is a control, then the component's popup menus.
    void WalkComponents(TComponent* component);
    // Every child control of a windowed control.
    void MapChildren(TControl* control);
    // The mapping of one control object; the first matching step ends it.
    void MapControl(TControl* control, TComponent* parent);
    // The Skin3rd mapping; true when the list names the class (even when no skinner is made).
    bool MapByKind(TControl* control, const std::string& upperClass);
    // The mapping of a bare window by its class and style.
    void MapWindow(HWND window);
    // The control answers WM_SKINQUERY with 1, or a skinner of the list belongs to it.
    bool IsSkinned(TControl* control) const;
    // The skinner of the list whose window is Window.
    TSkinControl* FindControlSkin(HWND window) const;
    // A radio or check group whose Tag is DisableTag: its children get that Tag too.
    void MarkGroupChildren(TControl* control);
    // A windowed control with a scroll-bar style, or a memo.
    static bool HasScrollBars(TControl* control);

    // --- For the mapping rows ---
    // Makes a skinner of class S for Control (owned by it) and attaches it through its WindowProc.
    template <class S>
    TSkinControl* SkinWith(TControl* control, bool useSkinColor) {
        return Attached(new S(control), control, useSkinColor);
    }
    // The same, attached through the control's window procedure.
    template <class S>
    TSkinControl* SkinByHandle(TControl* control) {
        return AttachedByHandle(new S(control), ControlWindow(control));
    }
    // Makes a skinner of class S for a bare window (owned by the form skinner's list).
    template <class S>
    TSkinControl* SkinWindow(HWND window) {
        return AttachedByHandle(new S(nullptr), window);
    }
    // Gives a scrolling control a scroll-bar skinner of variant Kind (attached by AttachScrolling).
    TSkinControl* SkinScrolling(TWinControl* control, int32_t kind);
    bool Has(TSkinControlType member) const;
    TPellixForm& SkinForm() const { return FSkinForm; }
    TSkinData& SkinData() const { return FSkinData; }

private:
    TSkinControl* Attached(TSkinControl* skinner, TControl* control, bool useSkinColor);
    TSkinControl* AttachedByHandle(TSkinControl* skinner, HWND window);
    static HWND ControlWindow(TControl* control);
    // The skinner the application's OnSkinControl gave: true when it gave an object.
    bool MapByEvent(TControl* control, TComponent* parent, const std::string& upperClass);
    void MapBuiltIn(TControl* control, const std::string& upperClass);
    void MapButtonWindow(HWND window, LONG style);

    TPellixForm& FSkinForm;
    TSkinData& FSkinData;
};

// The kind Skin3rd gives a class (lower case): the first line that starts with the class name and
// "=", the class name compared without regard to case; nullopt when no line names the class.
std::optional<std::string> Skin3rdKindOf(const TSkinData& skinData, std::string_view className);
