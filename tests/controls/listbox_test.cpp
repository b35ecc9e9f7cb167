// List boxes on the system's list box under Wine: properties read from a text form reach the window
// and survive a binary round trip; the items, their objects, the selection and the scroll position
// are kept before the window exists and across every recreation of it; the string operations keep
// sorted order, objects and selection; owner-drawn items are measured and drawn by their events.
#include "framework/controls/WinApi.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "TextFormReader.h"
#include "framework/controls/Form.h"
#include "framework/controls/ListBox.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"

// A form whose text publishes its list boxes and their drawing handlers.
class TListForm : public TForm {
    QUIRN_CLASS(TListForm, TForm)
public:
    explicit TListForm(TComponent* owner) : TForm(owner) {}
    TListBox* ListBox1 = nullptr;
    TListBox* Drawn1 = nullptr;

    struct TDraw {
        int32_t Index;
        RECT Rect;
        TOwnerDrawState State;
    };
    std::vector<TDraw> Draws;
    std::vector<int32_t> Measured;
    int32_t MeasuredTextHeight = 0;
    int Clicks = 0;

    void Drawn1DrawItem(TWinControl* control, int32_t index, RECT rect, TOwnerDrawState state) {
        Draws.push_back({index, rect, state});
        TCanvas* canvas = ObjectAs<TCustomListBox>(control)->Canvas();
        canvas->Brush().SetColor(state.Contains(odSelected) ? kSelectedColour : kItemColour);
        canvas->FillRect(rect);
    }
    void Drawn1MeasureItem(TWinControl* control, int32_t index, int32_t& height) {
        Measured.push_back(index);
        MeasuredTextHeight = ObjectAs<TCustomListBox>(control)->Canvas()->TextHeight("Xy");
        height = 10 + 5 * index;
    }
    void ListBox1Click(TObject*) { ++Clicks; }

    static constexpr TColor kItemColour = RGBColor(0x20, 0xB0, 0x40);
    static constexpr TColor kSelectedColour = RGBColor(0xC0, 0x20, 0x90);
};

QUIRN_PUBLISH(TListForm, p) {
    p.Field("ListBox1", &TListForm::ListBox1);
    p.Field("Drawn1", &TListForm::Drawn1);
    p.Method("Drawn1DrawItem", &TListForm::Drawn1DrawItem);
    p.Method("Drawn1MeasureItem", &TListForm::Drawn1MeasureItem);
    p.Method("ListBox1Click", &TListForm::ListBox1Click);
}

namespace {

constexpr const char* kListForm = R"(object ListForm: TListForm
  Left = 70
  Top = 70
  BorderStyle = bsSingle
  Caption = 'Lists'
  ClientWidth = 420
  ClientHeight = 260
  object ListBox1: TListBox
    Left = 10
    Top = 10
    Width = 180
    Height = 120
    Columns = 2
    ExtendedSelect = False
    IntegralHeight = True
    MultiSelect = True
    Sorted = True
    TabOrder = 0
    OnClick = ListBox1Click
    Items.Strings = (
      'Cherry'
      'apple'
      'Banana'
      'date')
  end
  object Drawn1: TListBox
    Left = 200
    Top = 10
    Width = 200
    Height = 200
    Style = lbOwnerDrawVariable
    BorderStyle = bsNone
    ScrollWidth = 300
    Color = clWhite
    TabOrder = 1
    OnDrawItem = Drawn1DrawItem
    OnMeasureItem = Drawn1MeasureItem
    Items.Strings = (
      'zero'
      'one'
      'two'
      'three')
    ItemIndex = 2
  end
end)";

std::vector<std::wstring> WindowItems(HWND list) {
    std::vector<std::wstring> items;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        std::wstring text(static_cast<size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)) + 1, L'\0');
        text.resize(static_cast<size_t>(SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()))));
        items.push_back(text);
    }
    return items;
}

std::vector<std::string> ItemsOf(const TCustomListBox& list) {
    std::vector<std::string> items;
    for (int32_t i = 0; i < list.Count(); ++i) items.push_back(list.Items()->Strings(i));
    return items;
}

LONG_PTR StyleOf(HWND window) { return GetWindowLongPtrW(window, GWL_STYLE); }

struct ListBoxes : ShownTextForm<TListForm> {
    std::string FormText() const override { return kListForm; }
    TListBox& List() const { return *form->ListBox1; }
};

TEST_F(ListBoxes, TextFormPropertiesReachTheWindowAndSurviveABinaryRoundTrip) {
    HWND list = List().Handle();
    EXPECT_EQ(WindowItems(list), (std::vector<std::wstring>{L"apple", L"Banana", L"Cherry", L"date"}));
    const LONG_PTR style = StyleOf(list);
    EXPECT_NE(style & LBS_SORT, 0);
    EXPECT_NE(style & LBS_MULTIPLESEL, 0);
    EXPECT_EQ(style & LBS_EXTENDEDSEL, 0);
    EXPECT_NE(style & LBS_MULTICOLUMN, 0);
    EXPECT_EQ(style & LBS_NOINTEGRALHEIGHT, 0);
    EXPECT_NE(style & LBS_NOTIFY, 0);
    EXPECT_NE(GetWindowLongPtrW(list, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    // (A list in columns scrolls by columns: only a list without them has a scroll width.)
    EXPECT_EQ(SendMessageW(form->Drawn1->Handle(), LB_GETHORIZONTALEXTENT, 0, 0), 300);
    // The selection read from the form needs the items read before it.
    EXPECT_EQ(form->Drawn1->ItemIndex(), 2);
    EXPECT_EQ(SendMessageW(form->Drawn1->Handle(), LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(GetWindowLongPtrW(form->Drawn1->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);

    const std::string text = TextFormOf(form);
    for (const char* line : {"Columns = 2", "ExtendedSelect = False", "IntegralHeight = True", "MultiSelect = True",
                             "ScrollWidth = 300", "Sorted = True", "Style = lbOwnerDrawVariable",
                             "BorderStyle = bsNone", "ItemIndex = 2", "OnDrawItem = Drawn1DrawItem", "'Banana'"})
        EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
    std::unique_ptr<TListForm> copy(ReadTextForm<TListForm>(text));
    EXPECT_EQ(ItemsOf(*copy->ListBox1), ItemsOf(List()));
    EXPECT_TRUE(copy->ListBox1->MultiSelect());
    EXPECT_FALSE(copy->ListBox1->ExtendedSelect());
    EXPECT_EQ(copy->ListBox1->Columns(), 2);
    EXPECT_EQ(copy->Drawn1->ScrollWidth(), 300);
    EXPECT_EQ(copy->Drawn1->Style(), lbOwnerDrawVariable);
    EXPECT_EQ(copy->Drawn1->ItemIndex(), 2);
    copy->BeforeDestruction();
}

TEST_F(ListBoxes, ItemsObjectsAndSelectionOutliveEveryWindow) {
    TObject first;
    TObject second;
    List().Items()->SetObject(0, &first);
    List().Items()->SetObject(3, &second);
    List().SetSelected(1, true);
    List().SetSelected(3, true);
    List().SetItemIndex(1);
    HWND before = List().Handle();

    // A change of style makes a new window; everything comes back into it.
    List().SetBorderStyle(bsNone);
    HWND after = List().Handle();
    EXPECT_NE(after, before);
    EXPECT_FALSE(IsWindow(before));
    EXPECT_EQ(WindowItems(after), (std::vector<std::wstring>{L"apple", L"Banana", L"Cherry", L"date"}));
    EXPECT_EQ(List().Items()->Objects(0), &first);
    EXPECT_EQ(List().Items()->Objects(3), &second);
    EXPECT_EQ(SendMessageW(after, LB_GETITEMDATA, 3, 0), reinterpret_cast<LRESULT>(&second));
    EXPECT_EQ(List().SelCount(), 2);
    EXPECT_TRUE(List().Selected(1));
    EXPECT_TRUE(List().Selected(3));
    EXPECT_EQ(List().ItemIndex(), 1);

    // So does the parent's window made again (the list's window goes with it).
    form->SetBorderStyle(bsSizeable);
    EXPECT_EQ(ItemsOf(List()), (std::vector<std::string>{"apple", "Banana", "Cherry", "date"}));
    EXPECT_EQ(List().SelCount(), 2);
    EXPECT_EQ(List().Items()->Objects(3), &second);

    // Single selection keeps the current item, which was selected.
    List().SetMultiSelect(false);
    EXPECT_EQ(StyleOf(List().Handle()) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL), 0);
    EXPECT_EQ(List().ItemIndex(), 1);
    EXPECT_EQ(List().SelCount(), 1);

    // Unsorted, then sorted again: the objects and the selection travel with their items.
    List().SetSorted(false);
    List().Items()->Add("Apricot");
    EXPECT_EQ(List().Items()->Strings(4), "Apricot");
    List().SetSorted(true);
    EXPECT_EQ(ItemsOf(List()), (std::vector<std::string>{"apple", "Apricot", "Banana", "Cherry", "date"}));
    EXPECT_EQ(List().ItemIndex(), 2);
    EXPECT_EQ(List().Items()->Objects(4), &second);
    EXPECT_NE(StyleOf(List().Handle()) & LBS_SORT, 0);

    // Taken off the form the list keeps everything without a window.
    List().SetParent(nullptr);
    EXPECT_FALSE(List().HandleAllocated());
    EXPECT_EQ(List().Count(), 5);
    EXPECT_EQ(List().ItemIndex(), 2);
    List().Items()->Add("Blueberry");  // sorted without a window too
    EXPECT_EQ(List().Items()->Strings(3), "Blueberry");
    EXPECT_EQ(List().ItemIndex(), 2);
    List().SetParent(form);
    EXPECT_EQ(WindowItems(List().Handle()).at(3), L"Blueberry");
    EXPECT_EQ(List().ItemIndex(), 2);
}

TEST(ListBoxWithoutWindow, KeepsItemsSelectionAndTopIndexUntilItsWindowIsMade) {
    auto* form = new TForm(nullptr);
    form->SetBounds(80, 80, 300, 200);
    auto* list = new TListBox(form);
    for (int i = 0; i < 40; ++i) list->Items()->Add("Item " + std::to_string(i));
    TObject object;
    list->Items()->SetObject(7, &object);
    list->SetItemIndex(30);
    list->SetTopIndex(25);
    list->SetMultiSelect(true);
    list->SetSelected(31, true);
    EXPECT_EQ(list->SelCount(), 2);
    EXPECT_EQ(list->ItemIndex(), 30);
    EXPECT_FALSE(list->HandleAllocated());

    list->SetParent(form);
    form->Show();
    PumpPendingMessages();
    HWND window = list->Handle();
    EXPECT_EQ(SendMessageW(window, LB_GETCOUNT, 0, 0), 40);
    EXPECT_EQ(SendMessageW(window, LB_GETITEMDATA, 7, 0), reinterpret_cast<LRESULT>(&object));
    EXPECT_EQ(SendMessageW(window, LB_GETSELCOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(window, LB_GETCARETINDEX, 0, 0), 30);
    EXPECT_EQ(SendMessageW(window, LB_GETTOPINDEX, 0, 0), 25);
    EXPECT_EQ(list->TopIndex(), 25);
    form->BeforeDestruction();
    delete form;
}

TEST_F(ListBoxes, StringOperationsKeepOrderObjectsAndSelection) {
    TStrings& items = *List().Items();
    List().SetMultiSelect(false);
    EXPECT_EQ(items.Add("banana split"), 2);  // sorted in, after its equal prefix
    EXPECT_THROW(items.Insert(0, "first"), EListError);
    EXPECT_EQ(items.IndexOf("CHERRY"), 3);

    TObject object;
    items.SetObject(3, &object);
    List().SetItemIndex(3);
    items.SetString(3, "Avocado");  // moves to its sorted place with its object and selection
    EXPECT_EQ(items.Strings(1), "Avocado");
    EXPECT_EQ(items.Objects(1), &object);
    EXPECT_EQ(List().ItemIndex(), 1);

    items.Delete(0);
    EXPECT_EQ(List().ItemIndex(), 0);  // the selection moves up with its item
    items.Delete(0);
    EXPECT_EQ(List().ItemIndex(), -1);
    EXPECT_THROW(items.Delete(10), EListError);
    EXPECT_THROW(items.Strings(-1), EListError);
    EXPECT_THROW(List().Selected(99), EListError);
    List().SetItemIndex(99);  // out of range selects nothing
    EXPECT_EQ(List().ItemIndex(), -1);

    List().SetSorted(false);
    items.Insert(0, "first");
    items.Exchange(0, 2);
    EXPECT_EQ(items.Strings(0), "banana split");
    EXPECT_EQ(items.Strings(2), "first");
    List().Clear();
    EXPECT_EQ(List().Count(), 0);
    EXPECT_EQ(SendMessageW(List().Handle(), LB_GETCOUNT, 0, 0), 0);

    // Setting the selection in code is no click.
    EXPECT_EQ(form->Clicks, 0);
}

TEST_F(ListBoxes, MultipleSelectionSelectsClearsAndDeletes) {
    List().SetExtendedSelect(true);
    EXPECT_NE(StyleOf(List().Handle()) & LBS_EXTENDEDSEL, 0);
    List().SelectAll();
    EXPECT_EQ(List().SelCount(), 4);
    List().SetSelected(2, false);
    List().DeleteSelected();
    EXPECT_EQ(ItemsOf(List()), (std::vector<std::string>{"Cherry"}));
    List().Items()->Add("Fig");
    List().SetItemIndex(1);  // the focused item, selected too
    EXPECT_EQ(List().ItemIndex(), 1);
    EXPECT_TRUE(List().Selected(1));
    List().ClearSelection();
    EXPECT_EQ(List().SelCount(), 0);
}

TEST_F(ListBoxes, PropertyChangesReachTheWindow) {
    HWND list = List().Handle();
    List().SetColumns(3);  // still columns: the same window
    EXPECT_EQ(List().Handle(), list);
    List().SetColumns(0);
    EXPECT_EQ(StyleOf(List().Handle()) & LBS_MULTICOLUMN, 0);
    List().SetScrollWidth(450);
    EXPECT_EQ(SendMessageW(List().Handle(), LB_GETHORIZONTALEXTENT, 0, 0), 450);
    List().SetIntegralHeight(false);
    EXPECT_NE(StyleOf(List().Handle()) & LBS_NOINTEGRALHEIGHT, 0);
    List().SetTabWidth(40);
    EXPECT_NE(StyleOf(List().Handle()) & LBS_USETABSTOPS, 0);

    // The system's item height follows the font.
    const int32_t small = List().ItemHeight();
    List().Font()->SetName("Tahoma");  // scalable
    List().Font()->SetHeight(-30);
    EXPECT_GT(List().ItemHeight(), small + 10);
    EXPECT_EQ(SendMessageW(List().Handle(), LB_GETITEMHEIGHT, 0, 0), List().ItemHeight());

    // Colour: the background behind the items.
    List().SetColor(RGBColor(0x40, 0x90, 0xE0));
    List().SetBounds(10, 10, 180, 200);
    RedrawWindow(List().Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPendingMessages();
    HDC dc = GetDC(List().Handle());
    RECT client;
    GetClientRect(List().Handle(), &client);
    EXPECT_EQ(GetPixel(dc, client.right - 3, client.bottom - 3), RGB(0x40, 0x90, 0xE0));
    ReleaseDC(List().Handle(), dc);

    // Item geometry.
    const RECT second = List().ItemRect(1);
    EXPECT_EQ(second.top, List().ItemHeight());
    EXPECT_EQ(List().ItemAtPos(POINT{5, second.top + 1}, true), 1);
    EXPECT_EQ(List().ItemAtPos(POINT{5, client.bottom - 2}, true), -1);
    EXPECT_EQ(List().ItemAtPos(POINT{5, client.bottom - 2}, false), 3);
}

TEST_F(ListBoxes, VariableItemsAreMeasuredAndDrawnByTheirEvents) {
    TListBox& drawn = *form->Drawn1;
    HWND window = drawn.Handle();
    // Every item was measured when it went into the window, in the list's font.
    EXPECT_EQ(form->Measured, (std::vector<int32_t>{0, 1, 2, 3}));
    EXPECT_GT(form->MeasuredTextHeight, 5);
    for (int i = 0; i < 4; ++i) EXPECT_EQ(SendMessageW(window, LB_GETITEMHEIGHT, i, 0), 10 + 5 * i) << i;
    drawn.Items()->Add("four");
    EXPECT_EQ(form->Measured.back(), 4);
    EXPECT_EQ(SendMessageW(window, LB_GETITEMHEIGHT, 4, 0), 30);

    form->Draws.clear();
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPendingMessages();
    ASSERT_GE(form->Draws.size(), 5u);
    int selected = 0;
    for (const auto& draw : form->Draws) {
        EXPECT_EQ(draw.Rect.bottom - draw.Rect.top, 10 + 5 * draw.Index) << draw.Index;
        if (draw.State.Contains(odSelected)) {
            ++selected;
            EXPECT_EQ(draw.Index, 2);
        }
    }
    EXPECT_GT(selected, 0);
    HDC dc = GetDC(window);
    const RECT third = drawn.ItemRect(2);
    const RECT first = drawn.ItemRect(0);
    EXPECT_EQ(GetPixel(dc, 50, (third.top + third.bottom) / 2), static_cast<COLORREF>(TListForm::kSelectedColour));
    EXPECT_EQ(GetPixel(dc, 50, (first.top + first.bottom) / 2), static_cast<COLORREF>(TListForm::kItemColour));
    ReleaseDC(window, dc);
    // The canvas lent to the handlers is handed back.
    EXPECT_FALSE(drawn.Canvas()->HandleAllocated());
}

TEST_F(ListBoxes, FixedItemsTakeTheItemHeightAndDrawTheTextByDefault) {
    TListBox& drawn = *form->Drawn1;
    drawn.SetOnDrawItem(TDrawItemEvent());
    drawn.SetStyle(lbOwnerDrawFixed);
    drawn.SetItemHeight(24);
    HWND window = drawn.Handle();
    EXPECT_NE(StyleOf(window) & LBS_OWNERDRAWFIXED, 0);
    EXPECT_EQ(SendMessageW(window, LB_GETITEMHEIGHT, 0, 0), 24);
    EXPECT_EQ(drawn.ItemHeight(), 24);
    EXPECT_EQ(drawn.ItemIndex(), 2);  // the new window has the selection too
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    PumpPendingMessages();
    // The default drawing: the selected item on the highlight colour, the others on the list's.
    HDC dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, 190, 2 * 24 + 12), static_cast<COLORREF>(ColorToRGB(clHighlight)));
    EXPECT_EQ(GetPixel(dc, 190, 12), RGB(0xFF, 0xFF, 0xFF));
    int dark = 0;
    for (int x = 0; x < 60; ++x)
        for (int y = 24; y < 48; ++y)
            if (GetPixel(dc, x, y) == static_cast<COLORREF>(ColorToRGB(clWindowText))) ++dark;
    EXPECT_GT(dark, 10);  // the text "one"
    ReleaseDC(window, dc);
}

}  // namespace
