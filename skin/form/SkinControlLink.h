// SkinControlLink: how a form skinner meets the control skinners, which live a layer above
// (skin/controls). A form skinner keeps the control skinners of its window in a list
// (FControlSkins) and calls them through TSkinControlLink, the part of the control skinner base
// (TSkinControl) it needs; the control discovery that creates them is installed by that layer when
// it starts (SetControlDiscovery). Without it a skinned window's controls keep their own look.
#pragma once

#include <windows.h>

#include <cstdint>

class TCustomForm;
class TPellixForm;

// Status of a control skinner whose control's window has received WM_NCDESTROY.
constexpr int32_t ControlSkinGone = 6;

// TSkinControlLink: the operations of a control skinner its form skinner calls. A control
// skinner is freed through this interface (it is a component: freeing it takes it from its owner).
class TSkinControlLink {
public:
    virtual ~TSkinControlLink() = default;
    // Gives the control back its own window procedures and colours.
    virtual void Detach() = 0;
    // A new skin was loaded: repaint from the new elements.
    virtual void SkinChanged() = 0;
    // The mouse has left the control (the hover check of a window without form object).
    virtual void MouseLeave() = 0;
    // 0 new, 1 attached, ControlSkinGone once the control's window is destroyed.
    virtual int32_t SkinStatus() const = 0;
    // The control's window.
    virtual HWND SkinnedWindow() const = 0;
};

// The control discovery and mapping of the control-skinner layer.
struct TControlDiscovery {
    // Maps the controls of a window with a form object.
    void (*DiscoverForm)(TPellixForm& skinner, TCustomForm& form) = nullptr;
    // Maps one bare window (a child of a window without form object, or a size grip created later).
    void (*MapWindow)(TPellixForm& skinner, HWND window) = nullptr;
    // Replaces the skinner of a scrolling control that recreated its window (WM_SKINRESCROLL).
    void (*Rescroll)(TPellixForm& skinner, TSkinControlLink& old) = nullptr;
};

// Installs the discovery and gives back the one installed before.
TControlDiscovery SetControlDiscovery(TControlDiscovery discovery);
const TControlDiscovery& ControlDiscovery();
