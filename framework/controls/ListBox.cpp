#include "framework/controls/ListBox.h"

#include <algorithm>

#include "framework/graphics/AnsiText.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/TextMeasure.h"

QUIRN_DEFINE_CLASS(TListBoxStrings)

QUIRN_PUBLISH(TCustomListBox, p) {
    p.Property("BorderStyle", &TCustomListBox::BorderStyle, &TCustomListBox::SetBorderStyle).Default(bsSingle);
    p.Property("Columns", &TCustomListBox::Columns, &TCustomListBox::SetColumns).Default(0);
    p.Property("ExtendedSelect", &TCustomListBox::ExtendedSelect, &TCustomListBox::SetExtendedSelect).Default(true);
    p.Property("IntegralHeight", &TCustomListBox::IntegralHeight, &TCustomListBox::SetIntegralHeight).Default(false);
    p.Property("ItemHeight", &TCustomListBox::ItemHeight, &TCustomListBox::SetItemHeight)
        .Default(TCustomListBox::kDefaultItemHeight);
    p.Property("MultiSelect", &TCustomListBox::MultiSelect, &TCustomListBox::SetMultiSelect).Default(false);
    p.Property("ScrollWidth", &TCustomListBox::ScrollWidth, &TCustomListBox::SetScrollWidth).Default(0);
    p.Property("Sorted", &TCustomListBox::Sorted, &TCustomListBox::SetSorted).Default(false);
    p.Property("Style", &TCustomListBox::Style, &TCustomListBox::SetStyle).Default(lbStandard);
    p.Property("TabWidth", &TCustomListBox::TabWidth, &TCustomListBox::SetTabWidth).Default(0);
    // The items before the selection, so that reading a form selects an item that is already there.
    p.Property("Items", &TCustomListBox::Items, &TCustomListBox::SetItems);
    p.Property("ItemIndex", &TCustomListBox::ItemIndex, &TCustomListBox::SetItemIndex).Default(-1);
    p.Property("OnDrawItem", &TCustomListBox::OnDrawItem, &TCustomListBox::SetOnDrawItem);
    p.Property("OnMeasureItem", &TCustomListBox::OnMeasureItem, &TCustomListBox::SetOnMeasureItem);
}

QUIRN_PUBLISH(TListBox, p) {}

namespace {

constexpr int32_t kDefaultWidth = 121;
constexpr int32_t kDefaultHeight = 97;
constexpr int32_t kTextIndent = 2;  // the default drawing's blank left of the text

// The system's ODS_* flags as a draw state.
TOwnerDrawState DrawStateOf(UINT itemState) {
    static constexpr struct {
        UINT Flag;
        TOwnerDrawStateItem Item;
    } kFlags[] = {
        {ODS_SELECTED, odSelected},
        {ODS_GRAYED, odGrayed},
        {ODS_DISABLED, odDisabled},
        {ODS_CHECKED, odChecked},
        {ODS_FOCUS, odFocused},
        {ODS_DEFAULT, odDefault},
        {ODS_HOTLIGHT, odHotLight},
        {ODS_INACTIVE, odInactive},
        {ODS_NOACCEL, odNoAccel},
        {ODS_NOFOCUSRECT, odNoFocusRect},
        {ODS_COMBOBOXEDIT, odComboBoxEdit},
    };
    TOwnerDrawState state;
    for (const auto& flag : kFlags)
        if (itemState & flag.Flag) state.Include(flag.Item);
    return state;
}

// The order the system's sorted lists use: by the user's locale, without letter case.
int CompareItems(const std::wstring& a, const std::wstring& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                          static_cast<int>(b.size())) -
           CSTR_EQUAL;
}

}  // namespace

// ---- TListBoxStrings -------------------------------------------------------

void TListBoxStrings::CheckIndex(int32_t index) const {
    if (index < 0 || index >= FListBox.ItemCount()) Error("List index out of bounds (%d)", index);
}

int32_t TListBoxStrings::Count() const { return FListBox.ItemCount(); }

std::string TListBoxStrings::Get(int32_t index) const {
    CheckIndex(index);
    return WideToAnsiText(FListBox.ItemText(index));
}

int32_t TListBoxStrings::Add(std::string_view s) {
    const std::wstring text = AnsiToWideText(s);
    const int32_t index = FListBox.FSorted ? FListBox.SortedIndexOf(text) : FListBox.ItemCount();
    FListBox.InsertItem(index, text, nullptr);
    return index;
}

void TListBoxStrings::Insert(int32_t index, std::string_view s) {
    if (FListBox.FSorted) throw EListError("Operation not allowed on sorted list");
    if (index < 0 || index > FListBox.ItemCount()) Error("List index out of bounds (%d)", index);
    FListBox.InsertItem(index, AnsiToWideText(s), nullptr);
}

void TListBoxStrings::Put(int32_t index, std::string_view s) {
    CheckIndex(index);
    // The item is replaced in place (in a sorted list: where its new text belongs), keeping its
    // object, its selection and its being the current item.
    TObject* object = FListBox.ItemObject(index);
    const bool selected = FListBox.Selected(index);
    const bool current = FListBox.ItemIndex() == index;
    BeginUpdate();
    try {
        FListBox.DeleteItem(index);
        const std::wstring text = AnsiToWideText(s);
        const int32_t newIndex = FListBox.FSorted ? FListBox.SortedIndexOf(text) : index;
        FListBox.InsertItem(newIndex, text, object);
        if (current) FListBox.SetItemIndex(newIndex);
        if (selected) FListBox.SetSelected(newIndex, true);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TListBoxStrings::Delete(int32_t index) {
    CheckIndex(index);
    FListBox.DeleteItem(index);
}

void TListBoxStrings::Clear() { FListBox.ClearItems(); }

void TListBoxStrings::Exchange(int32_t index1, int32_t index2) {
    CheckIndex(index1);
    CheckIndex(index2);
    if (index1 == index2) return;
    const int32_t low = std::min(index1, index2);
    const int32_t high = std::max(index1, index2);
    const std::wstring lowText = FListBox.ItemText(low);
    const std::wstring highText = FListBox.ItemText(high);
    TObject* lowObject = FListBox.ItemObject(low);
    TObject* highObject = FListBox.ItemObject(high);
    BeginUpdate();
    try {
        // Each item goes where the other was, whatever the sort order says.
        FListBox.DeleteItem(high);
        FListBox.InsertItem(high, lowText, lowObject);
        FListBox.DeleteItem(low);
        FListBox.InsertItem(low, highText, highObject);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TObject* TListBoxStrings::GetItemObject(int32_t index) const {
    CheckIndex(index);
    return FListBox.ItemObject(index);
}

void TListBoxStrings::PutItemObject(int32_t index, TObject* object) {
    CheckIndex(index);
    FListBox.SetItemObject(index, object);
}

void TListBoxStrings::SetUpdateState(bool updating) { FListBox.SetRedraw(!updating); }

// ---- TCustomListBox --------------------------------------------------------

TCustomListBox::TCustomListBox(TComponent* owner)
    : TWinControl(owner), FItems(std::make_unique<TListBoxStrings>(*this)), FCanvas(std::make_unique<TCanvas>()) {
    FWidth = kDefaultWidth;
    FHeight = kDefaultHeight;
    FTabStop = true;
    FParentColor = false;
    FColor = clWindow;
    // Clicks and double clicks are the list's own notifications (a selection change, a double
    // click on an item), not every press of the button.
    FControlStyle = {csSetCaption, csOpaque};
}

TCustomListBox::~TCustomListBox() {
    // The window goes while the items' storage and the canvas still exist (it draws and notifies).
    DestroyWindowHandle();
}

void TCustomListBox::SetItems(TStrings* value) {
    if (value && value != FItems.get()) FItems->Assign(value);
}

void TCustomListBox::CreateParams(TCreateParams& params) {
    TWinControl::CreateParams(params);
    CreateSubClass(params, L"LISTBOX");
    params.Style |= WS_HSCROLL | WS_VSCROLL | LBS_HASSTRINGS | LBS_NOTIFY;
    if (FSorted) params.Style |= LBS_SORT;
    if (FMultiSelect) params.Style |= FExtendedSelect ? LBS_EXTENDEDSEL : LBS_MULTIPLESEL;
    if (!FIntegralHeight) params.Style |= LBS_NOINTEGRALHEIGHT;
    if (FColumns > 0) params.Style |= LBS_MULTICOLUMN;
    if (FStyle == lbOwnerDrawFixed) params.Style |= LBS_OWNERDRAWFIXED;
    if (FStyle == lbOwnerDrawVariable) params.Style |= LBS_OWNERDRAWVARIABLE;
    if (FTabWidth > 0) params.Style |= LBS_USETABSTOPS;
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomListBox::CreateHandle() {
    TWinControl::CreateHandle();
    if (FStyle == lbOwnerDrawFixed) Perform(LB_SETITEMHEIGHT, 0, FItemHeight);
    Perform(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(FScrollWidth));
    if (FTabWidth > 0) Perform(LB_SETTABSTOPS, 1, reinterpret_cast<LPARAM>(&FTabWidth));
    ApplyColumnWidth();
    RestoreItems();
}

// ---- item storage ------------------------------------------------------------

int32_t TCustomListBox::ItemCount() const {
    if (!FItemsInWindow) return static_cast<int32_t>(FSavedItems.size());
    return static_cast<int32_t>(SendMessageW(FHandle, LB_GETCOUNT, 0, 0));
}

std::wstring TCustomListBox::ItemText(int32_t index) const {
    if (!FItemsInWindow) return FSavedItems[static_cast<size_t>(index)].Text;
    const LRESULT length = SendMessageW(FHandle, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const LRESULT copied =
        SendMessageW(FHandle, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(std::clamp<LRESULT>(copied, 0, length)));
    return text;
}

void TCustomListBox::InsertItem(int32_t index, const std::wstring& text, TObject* object) {
    if (!FItemsInWindow) {
        FSavedItems.insert(FSavedItems.begin() + index, TSavedItem{text, object});
        return;
    }
    // The position is given: a sorted list box would otherwise put the item where it compares,
    // which need not be where the caller counts on it.
    const LRESULT result =
        SendMessageW(FHandle, LB_INSERTSTRING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.c_str()));
    if (result == LB_ERRSPACE) throw EOutOfMemory("Out of memory for the items of list box '" + Name() + "'");
    if (result == LB_ERR) throw EListError("Cannot insert an item into list box '" + Name() + "'");
    SendMessageW(FHandle, LB_SETITEMDATA, static_cast<WPARAM>(result), reinterpret_cast<LPARAM>(object));
}

void TCustomListBox::DeleteItem(int32_t index) {
    if (!FItemsInWindow) {
        FSavedItems.erase(FSavedItems.begin() + index);
        return;
    }
    SendMessageW(FHandle, LB_DELETESTRING, static_cast<WPARAM>(index), 0);
}

void TCustomListBox::ClearItems() {
    if (!FItemsInWindow) {
        FSavedItems.clear();
        return;
    }
    SendMessageW(FHandle, LB_RESETCONTENT, 0, 0);
}

TObject* TCustomListBox::ItemObject(int32_t index) const {
    if (!FItemsInWindow) return FSavedItems[static_cast<size_t>(index)].Object;
    const LRESULT data = SendMessageW(FHandle, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
    return data == LB_ERR ? nullptr : reinterpret_cast<TObject*>(data);
}

void TCustomListBox::SetItemObject(int32_t index, TObject* object) {
    if (!FItemsInWindow) {
        FSavedItems[static_cast<size_t>(index)].Object = object;
        return;
    }
    SendMessageW(FHandle, LB_SETITEMDATA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(object));
}

int32_t TCustomListBox::SortedIndexOf(const std::wstring& text) const {
    int32_t low = 0;
    int32_t high = ItemCount();
    while (low < high) {
        const int32_t middle = low + (high - low) / 2;
        if (CompareItems(ItemText(middle), text) <= 0)
            low = middle + 1;
        else
            high = middle;
    }
    return low;
}

void TCustomListBox::SetRedraw(bool redraw) {
    if (!FItemsInWindow) return;
    SendMessageW(FHandle, WM_SETREDRAW, redraw ? TRUE : FALSE, 0);
    if (redraw) Invalidate();
}

void TCustomListBox::SaveItems() {
    if (!FItemsInWindow) return;
    std::vector<TSavedItem> saved(static_cast<size_t>(ItemCount()));
    const int32_t current = ItemIndex();
    for (size_t i = 0; i < saved.size(); ++i) {
        const auto index = static_cast<int32_t>(i);
        saved[i] = TSavedItem{ItemText(index), ItemObject(index), Selected(index), index == current};
    }
    FSavedTopIndex = TopIndex();
    FSavedItems = std::move(saved);
    FItemsInWindow = false;
}

void TCustomListBox::RestoreItems() {
    if (FItemsInWindow || !FHandle) return;
    std::vector<TSavedItem> saved = std::move(FSavedItems);
    FSavedItems.clear();
    // A list made sorted keeps each item's selection and objects with it.
    if (FSorted)
        std::stable_sort(saved.begin(), saved.end(),
                         [](const TSavedItem& a, const TSavedItem& b) { return CompareItems(a.Text, b.Text) < 0; });
    FItemsInWindow = true;
    SetRedraw(false);
    try {
        int32_t current = -1;
        int32_t firstSelected = -1;
        for (size_t i = 0; i < saved.size(); ++i) {
            const auto index = static_cast<int32_t>(i);
            InsertItem(index, saved[i].Text, saved[i].Object);
            if (FMultiSelect && saved[i].Selected) Perform(LB_SETSEL, TRUE, index);
            if (saved[i].Current) current = index;
            if (saved[i].Selected && firstSelected < 0) firstSelected = index;
        }
        if (FMultiSelect) {
            if (current >= 0) Perform(LB_SETCARETINDEX, static_cast<WPARAM>(current), FALSE);
        } else {
            // A list that was multiple-selection keeps its current item if that was selected.
            const bool currentSelected = current >= 0 && saved[static_cast<size_t>(current)].Selected;
            Perform(LB_SETCURSEL, static_cast<WPARAM>(currentSelected ? current : firstSelected));
        }
        Perform(LB_SETTOPINDEX, static_cast<WPARAM>(std::max(FSavedTopIndex, 0)));
    } catch (...) {
        SetRedraw(true);
        throw;
    }
    SetRedraw(true);
}

// ---- selection ---------------------------------------------------------------

int32_t TCustomListBox::ItemIndex() const {
    if (!FItemsInWindow) {
        const auto found =
            std::find_if(FSavedItems.begin(), FSavedItems.end(), [](const TSavedItem& item) { return item.Current; });
        return found == FSavedItems.end() ? -1 : static_cast<int32_t>(found - FSavedItems.begin());
    }
    if (!FMultiSelect) return static_cast<int32_t>(SendMessageW(FHandle, LB_GETCURSEL, 0, 0));
    if (ItemCount() == 0) return -1;
    return static_cast<int32_t>(SendMessageW(FHandle, LB_GETCARETINDEX, 0, 0));
}

void TCustomListBox::SetItemIndex(int32_t value) {
    if (value < 0 || value >= ItemCount()) value = -1;
    if (!FItemsInWindow) {
        for (size_t i = 0; i < FSavedItems.size(); ++i) {
            TSavedItem& item = FSavedItems[i];
            item.Current = static_cast<int32_t>(i) == value;
            if (!FMultiSelect) item.Selected = item.Current;
        }
        if (FMultiSelect && value >= 0) FSavedItems[static_cast<size_t>(value)].Selected = true;
        return;
    }
    if (!FMultiSelect) {
        Perform(LB_SETCURSEL, static_cast<WPARAM>(value));
        return;
    }
    if (value < 0) return;
    Perform(LB_SETCARETINDEX, static_cast<WPARAM>(value), FALSE);
    Perform(LB_SETSEL, TRUE, value);
}

bool TCustomListBox::Selected(int32_t index) const {
    if (index < 0 || index >= ItemCount()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    if (!FItemsInWindow) return FSavedItems[static_cast<size_t>(index)].Selected;
    return SendMessageW(FHandle, LB_GETSEL, static_cast<WPARAM>(index), 0) > 0;
}

void TCustomListBox::SetSelected(int32_t index, bool value) {
    if (index < 0 || index >= ItemCount()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    if (!FMultiSelect) {
        if (value)
            SetItemIndex(index);
        else if (ItemIndex() == index)
            SetItemIndex(-1);
        return;
    }
    if (!FItemsInWindow) {
        FSavedItems[static_cast<size_t>(index)].Selected = value;
        return;
    }
    Perform(LB_SETSEL, value ? TRUE : FALSE, index);
}

int32_t TCustomListBox::SelCount() const {
    if (!FMultiSelect) return ItemIndex() >= 0 ? 1 : 0;
    if (FItemsInWindow) return static_cast<int32_t>(SendMessageW(FHandle, LB_GETSELCOUNT, 0, 0));
    return static_cast<int32_t>(
        std::count_if(FSavedItems.begin(), FSavedItems.end(), [](const TSavedItem& item) { return item.Selected; }));
}

void TCustomListBox::ClearSelection() {
    if (!FMultiSelect) {
        SetItemIndex(-1);
        return;
    }
    for (int32_t i = 0; i < ItemCount(); ++i) SetSelected(i, false);
}

void TCustomListBox::SelectAll() {
    if (!FMultiSelect) return;
    for (int32_t i = 0; i < ItemCount(); ++i) SetSelected(i, true);
}

void TCustomListBox::DeleteSelected() {
    FItems->BeginUpdate();
    try {
        for (int32_t i = ItemCount() - 1; i >= 0; --i)
            if (Selected(i)) DeleteItem(i);
    } catch (...) {
        FItems->EndUpdate();
        throw;
    }
    FItems->EndUpdate();
}

int32_t TCustomListBox::TopIndex() const {
    if (!FItemsInWindow) return FSavedTopIndex;
    return static_cast<int32_t>(SendMessageW(FHandle, LB_GETTOPINDEX, 0, 0));
}

void TCustomListBox::SetTopIndex(int32_t value) {
    value = std::max(value, 0);
    if (!FItemsInWindow) {
        FSavedTopIndex = value;
        return;
    }
    Perform(LB_SETTOPINDEX, static_cast<WPARAM>(value));
}

// ---- properties ----------------------------------------------------------------

void TCustomListBox::SetMultiSelect(bool value) {
    if (FMultiSelect == value) return;
    FMultiSelect = value;
    RecreateWnd();
}

void TCustomListBox::SetExtendedSelect(bool value) {
    if (FExtendedSelect == value) return;
    FExtendedSelect = value;
    if (FMultiSelect) RecreateWnd();
}

void TCustomListBox::SetSorted(bool value) {
    if (FSorted == value) return;
    FSorted = value;
    if (!value) {
        RecreateWnd();
        return;
    }
    if (FItemsInWindow) {
        RecreateWnd();  // the items come back in order
        return;
    }
    std::stable_sort(FSavedItems.begin(), FSavedItems.end(),
                     [](const TSavedItem& a, const TSavedItem& b) { return CompareItems(a.Text, b.Text) < 0; });
}

void TCustomListBox::SetStyle(TListBoxStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    RecreateWnd();
}

int32_t TCustomListBox::ItemHeight() const {
    if (FStyle == lbStandard && FHandle) return static_cast<int32_t>(SendMessageW(FHandle, LB_GETITEMHEIGHT, 0, 0));
    return FItemHeight;
}

void TCustomListBox::SetItemHeight(int32_t value) {
    value = std::clamp(value, 1, kMaxItemHeight);
    if (FItemHeight == value) return;
    FItemHeight = value;
    if (FStyle == lbOwnerDrawFixed && FHandle) {
        Perform(LB_SETITEMHEIGHT, 0, value);
        Invalidate();
    }
}

void TCustomListBox::SetColumns(int32_t value) {
    value = std::max(value, 0);
    if (FColumns == value) return;
    const bool styleChanges = (FColumns == 0) != (value == 0);
    FColumns = value;
    if (styleChanges)
        RecreateWnd();
    else
        ApplyColumnWidth();
}

void TCustomListBox::ApplyColumnWidth() {
    if (!FHandle || FColumns == 0) return;
    const int32_t width = std::max<int32_t>(ClientWidth() / FColumns, 1);
    Perform(LB_SETCOLUMNWIDTH, static_cast<WPARAM>(width));
}

void TCustomListBox::SetIntegralHeight(bool value) {
    if (FIntegralHeight == value) return;
    FIntegralHeight = value;
    RecreateWnd();
}

void TCustomListBox::SetScrollWidth(int32_t value) {
    value = std::max(value, 0);
    if (FScrollWidth == value) return;
    FScrollWidth = value;
    if (FHandle) Perform(LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(value));
}

void TCustomListBox::SetBorderStyle(TBorderStyle value) {
    if (value != bsNone) value = bsSingle;
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomListBox::SetTabWidth(int32_t value) {
    value = std::max(value, 0);
    if (FTabWidth == value) return;
    FTabWidth = value;
    RecreateWnd();
}

int32_t TCustomListBox::ItemAtPos(POINT point, bool existing) const {
    if (!FHandle) return -1;
    RECT client;
    GetClientRect(FHandle, &client);
    if (!PtInRect(&client, point)) return -1;
    const LRESULT result = SendMessageW(FHandle, LB_ITEMFROMPOINT, 0, MAKELPARAM(point.x, point.y));
    const bool outside = HIWORD(result) != 0;
    const int32_t index = static_cast<int32_t>(LOWORD(result));
    if (outside && existing) return -1;
    return index;
}

RECT TCustomListBox::ItemRect(int32_t index) const {
    RECT rect{0, 0, 0, 0};
    if (FHandle &&
        SendMessageW(FHandle, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&rect)) == LB_ERR)
        rect = RECT{0, 0, 0, 0};
    return rect;
}

// ---- drawing and messages ----------------------------------------------------

void TCustomListBox::DrawItem(int32_t index, RECT rect, TOwnerDrawState state) {
    if (FOnDrawItem) {
        FOnDrawItem(this, index, rect, state);
        return;
    }
    FCanvas->FillRect(rect);
    if (index < ItemCount()) FCanvas->TextOutput(rect.left + kTextIndent, rect.top, ItemText(index));
}

void TCustomListBox::MeasureItem(int32_t index, int32_t& height) {
    if (FOnMeasureItem) FOnMeasureItem(this, index, height);
}

void TCustomListBox::CNDrawItem(TMessage& message) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    message.Result = TRUE;
    TOwnerDrawState state = DrawStateOf(draw.itemState);
    // The canvas borrows the list's DC, which gets its own objects back on every path.
    const win::SavedDC saved(draw.hDC);
    const TCanvasBinding bound(*FCanvas, draw.hDC);
    FCanvas->Font().Assign(FFont.get());
    FCanvas->Brush().SetColor(FColor);
    if (state.Contains(odSelected)) {
        FCanvas->Brush().SetColor(clHighlight);
        FCanvas->Font().SetColor(clHighlightText);
    }
    // Each action redraws the whole item, so the focus rectangle is drawn on a fresh item.
    if (static_cast<int32_t>(draw.itemID) >= 0)
        DrawItem(static_cast<int32_t>(draw.itemID), draw.rcItem, state);
    else
        FCanvas->FillRect(draw.rcItem);
    if (state.Contains(odFocused) && !state.Contains(odNoFocusRect)) DrawFocusRect(draw.hDC, &draw.rcItem);
}

void TCustomListBox::CNMeasureItem(TMessage& message) {
    auto& measure = *reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam);
    message.Result = TRUE;
    int32_t height = FItemHeight;
    if (FStyle == lbOwnerDrawVariable) {
        // The canvas measures in the list's font on the shared measuring context meanwhile.
        const TCanvasBinding bound(*FCanvas, win::MeasuringDC());
        FCanvas->Font().Assign(FFont.get());
        MeasureItem(static_cast<int32_t>(measure.itemID), height);
    }
    measure.itemHeight = static_cast<UINT>(std::clamp(height, 1, kMaxItemHeight));
}

bool TCustomListBox::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CN_COMMAND:
        switch (HIWORD(message.WParam)) {
        case LBN_SELCHANGE: Click(); break;
        case LBN_DBLCLK: DblClick(); break;
        default: break;
        }
        return true;
    case CN_DRAWITEM: CNDrawItem(message); return true;
    case CN_MEASUREITEM: CNMeasureItem(message); return true;
    case WM_DESTROY:
        // The items leave the window with it; the next window gets them back.
        if (!ComponentState().Contains(csDestroying)) SaveItems();
        FItemsInWindow = false;
        DefaultHandler(message);
        return true;
    case WM_SIZE:
        TWinControl::Dispatch(message);
        ApplyColumnWidth();
        return true;
    default: return TWinControl::Dispatch(message);
    }
}

TListBox::TListBox(TComponent* owner) : TCustomListBox(owner) {}
