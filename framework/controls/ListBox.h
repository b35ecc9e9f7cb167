// ListBox.h: TCustomListBox and TListBox, a list of strings to choose from on
// the system's "LISTBOX" control (one or several selected, sorted, in columns,
// owner-drawn), whose items are also a TStrings (Items).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/controls/WinControl.h"
#include "framework/graphics/Canvas.h"
#include "framework/rtl/Strings.h"

// How the items are drawn: by the system, or by DrawItem / OnDrawItem in one height (ItemHeight)
// or in a height each item gets from MeasureItem / OnMeasureItem.
enum TListBoxStyle : uint8_t { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };
QUIRN_ENUM(TListBoxStyle, lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable)

class TCustomListBox;

// TListBoxStrings: the items of a list box, read from and written to the list box (its window
// when there is one). Items hold ANSI bytes of the system code page; the list box holds UTF-16.
// In a Sorted list box Add puts an item in its place and Insert is refused.
class TListBoxStrings : public TStrings {
    QUIRN_CLASS(TListBoxStrings, TStrings)
public:
    explicit TListBoxStrings(TCustomListBox& listBox) : FListBox(listBox) {}

    int32_t Count() const override;
    int32_t Add(std::string_view s) override;
    void Insert(int32_t index, std::string_view s) override;
    void Delete(int32_t index) override;
    void Clear() override;
    void Exchange(int32_t index1, int32_t index2) override;

protected:
    std::string Get(int32_t index) const override;
    void Put(int32_t index, std::string_view s) override;
    TObject* GetItemObject(int32_t index) const override;
    void PutItemObject(int32_t index, TObject* object) override;
    void SetUpdateState(bool updating) override;

private:
    void CheckIndex(int32_t index) const;
    TCustomListBox& FListBox;
};

// The list box's behaviour, for TListBox to publish. Its items, their objects, the selection and
// the scroll position live in the window while there is one and are kept by the control while there
// is none, so they survive RecreateWnd (which changing BorderStyle, Style, MultiSelect,
// ExtendedSelect, Sorted, IntegralHeight, TabWidth or switching Columns on or off does). OnClick fires when
// the user changes the selection, OnDblClick on a double click on an item.
class TCustomListBox : public TWinControl {
    QUIRN_CLASS(TCustomListBox, TWinControl)
public:
    static constexpr int32_t kDefaultItemHeight = 16;
    // The system keeps the height of a variable item in a byte.
    static constexpr int32_t kMaxItemHeight = 255;

    explicit TCustomListBox(TComponent* owner);
    ~TCustomListBox() override;

    // The items, owned by the list box; SetItems copies value's strings and objects.
    TStrings* Items() const { return FItems.get(); }
    void SetItems(TStrings* value);
    int32_t Count() const { return FItems->Count(); }
    void Clear() { FItems->Clear(); }

    // The selected item (-1 for none); in a multiple-selection list the item with the focus
    // rectangle, which setting it also selects. Out-of-range values select nothing.
    int32_t ItemIndex() const;
    void SetItemIndex(int32_t value);
    // Whether item index is selected (EListError outside 0..Count-1). In a single-selection list
    // selecting an item deselects the other.
    bool Selected(int32_t index) const;
    void SetSelected(int32_t index, bool value);
    int32_t SelCount() const;
    void ClearSelection();
    // Selects every item of a multiple-selection list (nothing in a single-selection one).
    void SelectAll();
    void DeleteSelected();
    // The first item shown at the top.
    int32_t TopIndex() const;
    void SetTopIndex(int32_t value);

    bool MultiSelect() const { return FMultiSelect; }
    void SetMultiSelect(bool value);
    // With MultiSelect: Shift and Ctrl extend the selection (else each click toggles an item).
    bool ExtendedSelect() const { return FExtendedSelect; }
    void SetExtendedSelect(bool value);
    // Items kept in alphabetical order (without letter case, as the system compares).
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TListBoxStyle Style() const { return FStyle; }
    void SetStyle(TListBoxStyle value);
    // The height of the items: the system's for lbStandard (from the font), else the one set.
    int32_t ItemHeight() const;
    void SetItemHeight(int32_t value);
    // Items in this many columns side by side, scrolled horizontally (0: one column, scrolled
    // vertically).
    int32_t Columns() const { return FColumns; }
    void SetColumns(int32_t value);
    // True: the height shrinks to show only whole items.
    bool IntegralHeight() const { return FIntegralHeight; }
    void SetIntegralHeight(bool value);
    // The width in pixels the list scrolls over horizontally (a horizontal scroll bar shows while it
    // exceeds the client width).
    int32_t ScrollWidth() const { return FScrollWidth; }
    void SetScrollWidth(int32_t value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);
    // Tab characters in the items jump to multiples of this many dialog units (0: tabs are not
    // expanded); changing it recreates the window.
    int32_t TabWidth() const { return FTabWidth; }
    void SetTabWidth(int32_t value);

    // The item at a client point; -1 where there is none (existing) or the item a click there would
    // reach (the last one below the items; existing false).
    int32_t ItemAtPos(POINT point, bool existing) const;
    // The rectangle of item index in client coordinates (empty without a window).
    RECT ItemRect(int32_t index) const;

    // Attached to the item's device context while an item is drawn, to the measuring context while
    // one is measured.
    TCanvas* Canvas() const { return FCanvas.get(); }
    TDrawItemEvent OnDrawItem() const { return FOnDrawItem; }
    void SetOnDrawItem(TDrawItemEvent value) { FOnDrawItem = value; }
    TMeasureItemEvent OnMeasureItem() const { return FOnMeasureItem; }
    void SetOnMeasureItem(TMeasureItemEvent value) { FOnMeasureItem = value; }

protected:
    void CreateParams(TCreateParams& params) override;
    void CreateHandle() override;
    bool Dispatch(TMessage& message) override;
    // Draws an owner-drawn item: OnDrawItem when assigned, else the item's text on the canvas's
    // brush (the highlight colours when selected).
    virtual void DrawItem(int32_t index, RECT rect, TOwnerDrawState state);
    // Gives an item of a lbOwnerDrawVariable list its height: OnMeasureItem when assigned.
    virtual void MeasureItem(int32_t index, int32_t& height);

private:
    friend class TListBoxStrings;
    // One item while there is no window. Current marks ItemIndex (and, in a single-selection list,
    // the selection).
    struct TSavedItem {
        std::wstring Text;
        TObject* Object = nullptr;
        bool Selected = false;
        bool Current = false;
    };

    // The item storage the strings use: the window once the items are in it, else FSavedItems.
    int32_t ItemCount() const;
    std::wstring ItemText(int32_t index) const;
    void InsertItem(int32_t index, const std::wstring& text, TObject* object);
    void DeleteItem(int32_t index);
    void ClearItems();
    TObject* ItemObject(int32_t index) const;
    void SetItemObject(int32_t index, TObject* object);
    // Where text goes in the sorted order (after items that compare equal).
    int32_t SortedIndexOf(const std::wstring& text) const;
    void SetRedraw(bool redraw);

    void SaveItems();
    void RestoreItems();
    void ApplyColumnWidth();
    void CNDrawItem(TMessage& message);
    void CNMeasureItem(TMessage& message);

    std::unique_ptr<TListBoxStrings> FItems;
    std::unique_ptr<TCanvas> FCanvas;
    std::vector<TSavedItem> FSavedItems;
    int32_t FSavedTopIndex = 0;
    bool FItemsInWindow = false;
    bool FMultiSelect = false;
    bool FExtendedSelect = true;
    bool FSorted = false;
    TListBoxStyle FStyle = lbStandard;
    int32_t FItemHeight = kDefaultItemHeight;
    int32_t FColumns = 0;
    bool FIntegralHeight = false;
    int32_t FScrollWidth = 0;
    TBorderStyle FBorderStyle = bsSingle;
    int32_t FTabWidth = 0;
    TDrawItemEvent FOnDrawItem;
    TMeasureItemEvent FOnMeasureItem;
};

// A list of strings to choose from on the system's "LISTBOX" control.
class TListBox : public TCustomListBox {
    QUIRN_CLASS(TListBox, TCustomListBox)
public:
    explicit TListBox(TComponent* owner);
};
