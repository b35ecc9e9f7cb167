// Menu.h: menus. TMenuItem is one entry (caption, shortcut, check mark,
// state, click and owner-draw events) holding its sub-items; TMenu keeps the
// system menu in step with its item tree (in place: the menu handles stay the
// same while the system tracks them); TMainMenu is a form's menu bar and
// TPopupMenu a context menu shown at a point.
#pragma once

#include "framework/controls/WinApi.h"

#include <string>
#include <vector>

#include "framework/controls/ControlTypes.h"
#include "framework/core/Component.h"
#include "framework/graphics/Canvas.h"
#include "framework/win/UserObject.h"

class TImageList;
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
// The shortcut a text such as ShortCutToText writes names (letters in any case, the modifiers in any
// order); scNone when it names none.
TShortCut TextToShortCut(const std::string& text);

using TMenuDrawItemEvent = TDelegate<void(TObject* sender, TCanvas* canvas, RECT rect, bool selected)>;
using TMenuMeasureItemEvent = TDelegate<void(TObject* sender, TCanvas* canvas, int32_t& width, int32_t& height)>;
QUIRN_EVENT_TYPE(TMenuDrawItemEvent)
QUIRN_EVENT_TYPE(TMenuMeasureItemEvent)

// Where an item starts: in the same column, or a new column (with a bar line
// between the columns for mbBarBreak).
enum TMenuBreak : uint8_t { mbNone, mbBreak, mbBarBreak };
QUIRN_ENUM(TMenuBreak, mbNone, mbBreak, mbBarBreak)
// Which side of a popup menu lies at the point it is shown at.
enum TPopupAlignment : uint8_t { paLeft, paRight, paCenter };
QUIRN_ENUM(TPopupAlignment, paLeft, paRight, paCenter)
// The mouse button that chooses the items of a popup menu.
enum TTrackButton : uint8_t { tbRightButton, tbLeftButton };
QUIRN_ENUM(TTrackButton, tbRightButton, tbLeftButton)

// One entry of a menu, holding the entries of its submenu.
class TMenuItem : public TComponent {
    QUIRN_CLASS(TMenuItem, TComponent)
public:
    explicit TMenuItem(TComponent* owner);
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
    // A radio item shows a bullet when checked; checking it unchecks the
    // radio items of the same GroupIndex beside it.
    bool RadioItem() const { return FRadioItem; }
    void SetRadioItem(bool value);
    uint8_t GroupIndex() const { return FGroupIndex; }
    void SetGroupIndex(uint8_t value) { FGroupIndex = value; }
    // A click toggles Checked before OnClick runs (a radio item is checked).
    bool AutoCheck() const { return FAutoCheck; }
    void SetAutoCheck(bool value) { FAutoCheck = value; }
    TMenuBreak Break() const { return FBreak; }
    void SetBreak(TMenuBreak value);
    const std::string& Hint() const { return FHint; }
    void SetHint(const std::string& value) { FHint = value; }
    // The item's picture in an image list, for those who draw the items.
    int32_t ImageIndex() const { return FImageIndex; }
    void SetImageIndex(int32_t value);
    bool IsLine() const { return FCaption == "-"; }

    TNotifyEvent OnClick() const { return FOnClick; }
    void SetOnClick(TNotifyEvent value) { FOnClick = value; }
    TMenuDrawItemEvent OnDrawItem() const { return FOnDrawItem; }
    void SetOnDrawItem(TMenuDrawItemEvent value);
    TMenuMeasureItemEvent OnMeasureItem() const { return FOnMeasureItem; }
    void SetOnMeasureItem(TMenuMeasureItemEvent value);
    // The item's OnDrawItem draws its sub-menu arrow itself: the system's arrow, which it would
    // draw over the item afterwards, is kept off.
    bool DrawsSubMenuArrow() const { return FDrawsSubMenuArrow; }
    void SetDrawsSubMenuArrow(bool value) { FDrawsSubMenuArrow = value; }

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
    HMENU Handle() const { return FHandle.get(); }

    // Runs the item as a user's choice: AutoCheck, then OnClick (nothing
    // when disabled).
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
    // The menu whose built system menu shows this item (nullptr while it is
    // not built, or read from a stream).
    TMenu* BuiltMenu() const;
    // The item's own look or state changed: its entry is updated in place.
    void EntryChanged();
    // The sub-items (or whether one shows) changed: the entries are rebuilt.
    void ItemsChanged();
    void FillEntry(MENUITEMINFOW& info, std::wstring& text, bool ownerDraw) const;
    // Refills this item's system menu from its sub-items; deep refills theirs too.
    void RebuildEntries(bool ownerDraw, bool deep);
    int EntryPosition(const TMenuItem* child) const;
    void DestroyHandle();

    std::string FCaption;
    TShortCut FShortCut = scNone;
    bool FChecked = false;
    bool FEnabled = true;
    bool FVisible = true;
    bool FDefault = false;
    bool FRadioItem = false;
    uint8_t FGroupIndex = 0;
    bool FAutoCheck = false;
    TMenuBreak FBreak = mbNone;
    std::string FHint;
    int32_t FImageIndex = -1;
    TNotifyEvent FOnClick;
    TMenuDrawItemEvent FOnDrawItem;
    TMenuMeasureItemEvent FOnMeasureItem;
    bool FDrawsSubMenuArrow = false;
    std::vector<TMenuItem*> FItems;
    TMenuItem* FParent = nullptr;
    TMenu* FMenu = nullptr;  // set on the root item of a menu
    UINT FCommand = 0;
    // The system menu of the sub-items (the root item's is its menu's), destroyed with the item.
    win::MenuHandle FHandle;
};

enum TFindItemKind : uint8_t { fkCommand, fkHandle, fkShortCut };

// A tree of items shown as a system menu.
class TMenu : public TComponent {
    QUIRN_CLASS(TMenu, TComponent)
public:
    explicit TMenu(TComponent* owner);
    ~TMenu() override;

    // The root item; its sub-items are the menu's entries.
    TMenuItem* Items() const { return FItems; }
    // The system menu, built on first use and kept up to date in place after
    // every change (the handles of the menu and its submenus stay the same).
    HMENU Handle();
    bool OwnerDraw() const { return FOwnerDraw; }
    void SetOwnerDraw(bool value);
    // Pictures for the items' ImageIndex. A menu with images is drawn by the
    // framework: its items become owner-drawn.
    TImageList* Images() const { return FImages; }
    void SetImages(TImageList* value);
    // Whether the items are owner-drawn: OwnerDraw, or images to show.
    bool IsOwnerDraw() const { return FOwnerDraw || FImages; }
    // The window the menu belongs to (a form's window for a menu bar).
    HWND WindowHandle() const { return FWindowHandle; }
    virtual void SetWindowHandle(HWND value);

    TMenuItem* FindItem(UINT_PTR value, TFindItemKind kind) const;
    bool DispatchCommand(UINT command);
    bool DispatchPopup(HMENU submenu);
    bool IsShortCut(TShortCut shortCut);
    // WM_MENUCHAR for one of this menu's system menus: the system finds no
    // accelerator in owner-drawn items (their text is not theirs to draw), so
    // the item whose caption marks ch with "&" is chosen here (selected when
    // several share it). False when menu is not one of this menu's.
    bool ProcessMenuChar(HMENU menu, wchar_t ch, LRESULT& result);

    // Refills the whole system menu from the items (its handles kept).
    virtual void MenuChanged();

protected:
    friend class TMenuItem;
    virtual win::MenuHandle CreateMenuHandle() = 0;
    // The system menu when it is built, else nullptr.
    HMENU BuiltHandle() const;
    // Called after every change that reached the system menu.
    virtual void Changed() {}
    // Streaming writes the menu's entries (the root item's sub-items) the root owns.
    void GetChildren(const TGetChildProc& proc, TComponent* root) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    TMenuItem* FItems;
    bool FOwnerDraw = false;
    TImageList* FImages = nullptr;
    HWND FWindowHandle = nullptr;
};

// The menu bar of a form.
class TMainMenu : public TMenu {
    QUIRN_CLASS(TMainMenu, TMenu)
public:
    explicit TMainMenu(TComponent* owner);
    ~TMainMenu() override;
    void SetWindowHandle(HWND value) override;

protected:
    win::MenuHandle CreateMenuHandle() override;
    // The window's menu bar is shown again (its size may have changed).
    void Changed() override;
};

// A context menu, shown at a point or by a right click on its control.
class TPopupMenu : public TMenu {
    QUIRN_CLASS(TPopupMenu, TMenu)
public:
    explicit TPopupMenu(TComponent* owner);
    ~TPopupMenu() override;

    // Runs OnPopup, then shows the menu at a screen point (placed there as
    // Alignment says) and tracks it until it closes; the chosen item's
    // OnClick runs from the message queue after that.
    virtual void Popup(int32_t x, int32_t y);
    // A right click on a control whose PopupMenu this is shows it.
    bool AutoPopup() const { return FAutoPopup; }
    void SetAutoPopup(bool value) { FAutoPopup = value; }
    TPopupAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TPopupAlignment value) { FAlignment = value; }
    TTrackButton TrackButton() const { return FTrackButton; }
    void SetTrackButton(TTrackButton value) { FTrackButton = value; }
    // The control the menu was last shown for.
    TComponent* PopupComponent() const { return FPopupComponent; }
    void SetPopupComponent(TComponent* value);
    TNotifyEvent OnPopup() const { return FOnPopup; }
    void SetOnPopup(TNotifyEvent value) { FOnPopup = value; }

protected:
    win::MenuHandle CreateMenuHandle() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoPopup();

private:
    bool FAutoPopup = true;
    TPopupAlignment FAlignment = paLeft;
    TTrackButton FTrackButton = tbRightButton;
    TComponent* FPopupComponent = nullptr;
    TNotifyEvent FOnPopup;
};

// An item from a menu entry's text "Caption\tShortcut" (as menus of the system write them): the caption
// before the tab and the shortcut after it when the rest names one; otherwise the whole text is the
// caption (the tab expanded when it is drawn).
void SetItemFromEntryText(TMenuItem& item, const std::wstring& text);

// WM_DRAWITEM / WM_MEASUREITEM of an owner-drawn menu item (itemData is the
// item); false when the data is not a live menu item of this framework.
bool DrawMenuItemMessage(const DRAWITEMSTRUCT& draw);
bool MeasureMenuItemMessage(MEASUREITEMSTRUCT& measure);

// The strip at the right end of an owner-drawn menu item where the system draws the sub-menu arrow
// once the owner has drawn the item.
RECT SystemSubMenuArrowRect(const RECT& item);
// Keeps the system's sub-menu arrow off an item its owner has drawn whole: the strip is taken out of
// the DC's clipping region (after the owner's drawing has given the DC its state back).
void KeepSystemSubMenuArrowOff(HDC dc, const RECT& item);
