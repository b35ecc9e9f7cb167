// SkinMenuBarLink: what a form skinner calls on the skinner of its window's menu bar (TPellixMenu).
// The window's menu is taken off the window and drawn by the skin in a strip below the caption.
#pragma once

#include <windows.h>

#include <memory>

class TMainMenu;
class TNCObject;
class TPellixForm;
class TSkinData;

class TSkinMenuBarLink {
public:
    virtual ~TSkinMenuBarLink() = default;
    // Paints the strip (window coordinates) into the window DC.
    virtual void Paint(HDC dc, const RECT& strip) = 0;
    // The button under a point in window coordinates, or null.
    virtual TNCObject* FindMenuButtonAt(POINT framePoint) = 0;
    // The first enabled, visible button whose caption has Key as accelerator, or null.
    virtual TNCObject* FindMenuButtonByAccel(wchar_t key) = 0;
    // The first button, or null.
    virtual TNCObject* FirstButton() = 0;
    // Opens a button's drop-down (or raises its click); false for none or one without drop-down.
    virtual bool OpenMenuBarItem(TNCObject* button) = 0;
    // Takes over a new menu handle of the window and rebuilds the buttons; Rebuild rebuilds from
    // the menu it holds.
    virtual void TakeMenu(HMENU menu) = 0;
    virtual void Rebuild() = 0;
    // The menu taken off the window (given back when the skin goes), and the form's menu object.
    virtual HMENU MenuHandle() const = 0;
    virtual TMainMenu* Menu() const = 0;
    // The form's menu object the bar takes captions and states from (none for a plain window).
    virtual void SetMenu(TMainMenu* menu) = 0;
};

// Makes the skinner of a form skinner's menu bar (defined with TPellixMenu, so that the form skinner needs
// only this seam): it takes the form's menu object (null for a plain window), then the window's menu, and
// builds its buttons.
std::unique_ptr<TSkinMenuBarLink> MakeSkinMenuBar(TPellixForm* form, TSkinData* skinData, TMainMenu* menu);
