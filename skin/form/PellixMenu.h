// TPellixMenu: the skinned menu bar of a window. The window's own menu bar is taken off the window
// and drawn by the skin in the strip below the caption; one TMenuBtn per top-level item opens that
// item's drop-down with TrackPopupMenu, and while a drop-down is open a message-filter hook lets the
// mouse and the arrow keys move between the top-level items.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/graphics/Bitmap.h"
#include "skin/form/NCObject.h"
#include "skin/form/SkinMenuBarLink.h"

class TMenuItem;
class TPellixMenu;
class TSkinData;

// One top-level item of the skinned menu bar.
class TMenuBtn : public TNCObject {
    QUIRN_CLASS(TMenuBtn, TNCObject)
public:
    TMenuBtn(TPellixForm* form, TPellixMenu* bar);
    // Repaints the item's cell on the window (state changes between full paints).
    void Paint() override;

    TPellixMenu* FBar;               // the bar it belongs to
    TMenuItem* FItem = nullptr;      // the framework's item, when the menu is the form's
    TSkinData* FSkinData = nullptr;  // not owned
    int32_t FIndex = 0;              // position in the bar, from 0
    std::wstring FCaption;           // "&" marks the accelerator
    bool FItemEnabled = true;
    HMENU FSubMenu = nullptr;  // the drop-down, or none
    UINT FCommand = 0;
};

class TPellixMenu : public TComponent, public TSkinMenuBarLink {
    QUIRN_CLASS(TPellixMenu, TComponent)
public:
    TPellixMenu(TPellixForm* form, TSkinData* skinData);
    ~TPellixMenu() override;

    // --- What the form skinner calls ---
    void Paint(HDC dc, const RECT& strip) override;
    TNCObject* FindMenuButtonAt(POINT framePoint) override;
    TNCObject* FindMenuButtonByAccel(wchar_t key) override;
    TNCObject* FirstButton() override;
    bool OpenMenuBarItem(TNCObject* button) override;
    void TakeMenu(HMENU menu) override;
    void Rebuild() override;
    HMENU MenuHandle() const override { return FMenuHandle; }
    TMainMenu* Menu() const override { return FMenu; }

    void SetMenu(TMainMenu* menu) override;
    // Rebuilds the buttons from the window's menu (or the one taken off it) and takes it off.
    void BuildFromHandle();
    // Rebuilds the buttons from the framework menu's items.
    void BuildFromMenu();
    // Computes every button's bounds for the strip as it is now.
    void LayoutItems();
    // Closes the open drop-down; the loop that tracked it opens Button's next.
    void SwitchToMenuButton(TMenuBtn* button);
    // Paints a button's cell from the strip's background, its state frame and its caption.
    void PaintButton(TMenuBtn& button, HDC dc);
    TMenuBtn* Button(int32_t index) const;
    int32_t ButtonCount() const { return static_cast<int32_t>(FItems.size()); }
    // A drop-down of this bar is open.
    bool Tracking() const { return FTracking; }

    std::vector<std::unique_ptr<TMenuBtn>> FItems;
    TMainMenu* FMenu = nullptr;
    RECT FBarRect{};  // window coordinates, as last painted or laid out
    TSkinData* FSkinData = nullptr;
    TPellixForm* FForm = nullptr;
    std::unique_ptr<TBitmap> FBackground;  // the strip without items
    int32_t FCount = 0;
    bool FPainting = false;
    HMENU FMenuHandle = nullptr;  // the window's menu, taken off the window

protected:
    void Notification(TComponent* aComponent, TOperation operation) override;

private:
    // The strip's rectangle in window coordinates for the window as it is now.
    RECT StripRect() const;
    // Where the buttons start, and whether the bar runs right to left.
    int32_t StartOffset(const RECT& strip) const;
    void Layout(const RECT& strip, HDC measureDc);
    void DrawCaption(TMenuBtn& button, HDC dc, const RECT& cell);
    // Fills the buttons from the menu; Lookup takes captions and states from the framework's items.
    void BuildButtons(HMENU menu, bool lookup, bool keepFrameworkCaption);
    // Runs the drop-down of one button (TrackPopupMenu with the filter hook), opened after the one of
    // CameFrom (-1: none); the index of the button to open next, or -1.
    int32_t TrackButton(int32_t index, int32_t cameFrom);

    bool FTracking = false;
    bool FRebuildPending = false;
    // Cleared when the bar goes, so a loop still tracking on the stack knows not to touch it.
    std::shared_ptr<bool> FAlive = std::make_shared<bool>(true);
};
