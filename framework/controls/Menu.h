// Menu.h: menus. TMenuItem is one entry (caption, shortcut, check mark,
// state, click and owner-draw events) holding its sub-items; TMenu builds the
// system menu from its item tree; TMainMenu is a form's menu bar and
// TPopupMenu a context menu shown at a point.
#pragma once

#include "framework/controls/WinApi.h"

#include <string>
#include <vector>

#include "framework/controls/ControlTypes.h"
#include "framework/core/Component.h"
#include "framework/graphics/Canvas.h"

class TMenu;

// A shortcut: the virtual key in the low byte plus the modifier flags.
using TShortCut = uint16_t;
constexpr TShortCut scNone = 0;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(uint16_t key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift);
// "Ctrl+S", "Shift+F5", ... (empty for scNone).
std::string ShortCutToText(TShortCut shortCut);

using TMenuDrawItemEvent = TDelegate<void(TObject* Sender, TCanvas* ACanvas, RECT ARect, bool Selected)>;
using TMenuMeasureItemEvent = TDelegate<void(TObject* Sender, TCanvas* ACanvas, int32_t& Width, int32_t& Height)>;
QUIRN_EVENT_TYPE(TMenuDrawItemEvent)
QUIRN_EVENT_TYPE(TMenuMeasureItemEvent)

class TMenuItem : public TComponent {
    QUIRN_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* AOwner);
    ~TMenuItem() override;

    // The caption; "-" makes a separator line, "&" marks the accelerator.
    const std::string& Caption() const { return FCaption; }
    void SetCaption(const std::string& value);
    TShortCut ShortCut() const { return FShortCut; }
    void SetShortCut(TShortCut value);
    bool Checked() const { return FChecked; }
    void SetChecked(bool value);
    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    bool Default() const { return FDefault; }
    void SetDefault(bool value);
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    uint8_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(uint8_t value) { FGroupIndex = value; }
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    int32_t ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int32_t value);
    bool IsLine() const { return FCaption == "-"; }

    TNotifyEvent OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent value) { FOnClick = value; }
    TMenuDrawItemEvent OnDrawItem() const { return FOnDrawItem; }
    void SetOnDrawItem(TMenuDrawItemEvent value);
    TMenuMeasureItemEvent OnMeasureItem() const { return FOnMeasureItem; }
    void SetOnMeasureItem(TMenuMeasureItemEvent value);

    // Sub-items.
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    TMenuItem* Items(int32_t index) const { return FItems.at(static_cast<size_t>(index)); }
    void Add(TMenuItem* item);
    void Insert(int32_t index, TMenuItem* item);
    void Delete(int32_t index);
    void Remove(TMenuItem* item);
    void Clear();
    int32_t IndexOf(const TMenuItem* item) const;
    TMenuItem* Parent() const { return FParent; }
    int32_t MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
    TMenu* GetParentMenu() const;

    // The command number of the item (WM_COMMAND) and, for an item with
    // sub-items, the handle of its system submenu (0 before the menu is built).
    UINT Command() const { return FCommand; }
    HMENU Handle() const { return FHandle; }

    virtual void Click();
    // Draws the item (OnDrawItem when assigned, else the default look).
    virtual void DrawItem(TCanvas* canvas, RECT rect, bool selected);
    virtual void MeasureItem(TCanvas* canvas, int32_t& width, int32_t& height);

    bool HasParent() const override { return true; }
    TComponent* GetParentComponent() const override;
    void SetParentComponent(TComponent* value) override;
    // Streaming writes the sub-items the root owns, in order.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;

private:
    friend class TMenu;
    void MenuChanged();
    void AppendTo(HMENU menu, bool ownerDraw);

    std::string FCaption;
    TShortCut FShortCut = scNone;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    uint8_t FGroupIndex = 0;
    std::string FHint;
    int32_t FImageIndex = -1;
    TNotifyEvent FOnClick;
    TMenuDrawItemEvent FOnDrawItem;
    TMenuMeasureItemEvent FOnMeasureItem;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on the root item of a menu
    UINT FCommand = 0;
    HMENU FHandle = nullptr;
};

enum TFindItemKind : uint8_t { fkCommand, fkHandle, fkShortCut };

class TMenu : public TComponent {
    QUIRN_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* AOwner);
    ~TMenu() override;

    // The root item; its sub-items are the menu's entries.
    TMenuItem* Items() const { return FItems; }
    // The system menu, built on first use and rebuilt after every change.
    HMENU Handle();
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    // The window the menu belongs to (a form's window for a menu bar).
    HWND WindowHandle() const { return FWindowHandle; }
    virtual void SetWindowHandle(HWND value);

    TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
    bool DispatchCommand(UINT command);
    bool DispatchPopup(HMENU submenu);
    bool IsShortCut(TShortCut shortCut);

    // The items change: the system menu is rebuilt.
    virtual void MenuChanged();

protected:
    virtual HMENU CreateMenuHandle() = 0;
    // Streaming writes the menu's entries (the root item's sub-items) the root owns.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void Loaded() override;
    void RebuildHandle();

    TMenuItem* FItems;
    HMENU FHandle = nullptr;
    bool FOwnerDraw = false;
    HWND FWindowHandle = nullptr;
};

class TMainMenu : public TMenu {
    QUIRN_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* AOwner);
    void SetWindowHandle(HWND value) override;
    void MenuChanged() override;

protected:
    HMENU CreateMenuHandle() override;
};

class TPopupMenu : public TMenu {
    QUIRN_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* AOwner);
    ~TPopupMenu() override;

    // Shows the menu at a screen point and runs it until it closes.
    virtual void Popup(int32_t x, int32_t y);
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value) { FPopupComponent = value; }
    TNotifyEvent OnPopup() const { return FOnPopup; }
    void SetOnPopup(TNotifyEvent value) { FOnPopup = value; }

protected:
    HMENU CreateMenuHandle() override;

private:
    bool FAutoPopup = true;
    TComponent* FPopupComponent = nullptr;
    TNotifyEvent FOnPopup;
};

// WM_DRAWITEM / WM_MEASUREITEM of an owner-drawn menu item (itemData is the
// item); false when the data is not a live menu item of this framework.
bool DrawMenuItemMessage(const DRAWITEMSTRUCT& draw);
bool MeasureMenuItemMessage(MEASUREITEMSTRUCT& measure);
