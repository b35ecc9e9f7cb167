#include "framework/controls/Menu.h"

#include <algorithm>
#include <cctype>
#include <set>

#include "framework/controls/ControlAtom.h"
#include "framework/controls/CustomApplication.h"
#include "framework/controls/Messages.h"
#include "framework/graphics/AnsiText.h"
#include "framework/controls/UtilWindow.h"
#include "framework/graphics/ImageList.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"
#include "framework/win/TextMeasure.h"

QUIRN_PUBLISH(TMenu, p) {
    p.Property("Images", &TMenu::Images, &TMenu::SetImages);
    p.Property("OwnerDraw", &TMenu::OwnerDraw, &TMenu::SetOwnerDraw).Default(false);
}

QUIRN_PUBLISH(TMainMenu, p) {}

QUIRN_PUBLISH(TPopupMenu, p) {
    p.Property("Alignment", &TPopupMenu::Alignment, &TPopupMenu::SetAlignment).Default(paLeft);
    p.Property("AutoPopup", &TPopupMenu::AutoPopup, &TPopupMenu::SetAutoPopup).Default(true);
    p.Property("TrackButton", &TPopupMenu::TrackButton, &TPopupMenu::SetTrackButton).Default(tbRightButton);
    p.Property("OnPopup", &TPopupMenu::OnPopup, &TPopupMenu::SetOnPopup);
}

namespace {

constexpr UINT kFirstCommand = 1;
constexpr UINT kLastCommand = 0x7FFF;
constexpr int32_t kSeparatorHeight = 8;
constexpr int32_t kTextGap = 4;      // between the check area, the text and the shortcut
constexpr int32_t kItemPadding = 4;  // added to the text height
constexpr int32_t kImageMargin = 2;  // around an item's picture
constexpr UINT kAlignmentFlags[] = {TPM_LEFTALIGN, TPM_RIGHTALIGN, TPM_CENTERALIGN};  // by TPopupAlignment
constexpr UINT kTrackButtonFlags[] = {TPM_RIGHTBUTTON, TPM_LEFTBUTTON};               // by TTrackButton
constexpr UINT kBreakTypes[] = {0, MFT_MENUBREAK, MFT_MENUBARBREAK};                  // by TMenuBreak

// The entry of a table indexed by an enumeration; the first for a value out
// of range (a cast integer), never a read past the table.
template <size_t N, class E>
UINT FlagsFor(const UINT (&table)[N], E value) {
    const auto index = static_cast<size_t>(value);
    return index < N ? table[index] : table[0];
}

// Takes every entry out of a system menu without destroying its submenus:
// each submenu belongs to the item that holds its entries.
void DetachEntries(HMENU menu) {
    while (GetMenuItemCount(menu) > 0)
        if (!RemoveMenu(menu, 0, MF_BYPOSITION)) break;
}

std::set<const TMenuItem*>& LiveItems() {
    static std::set<const TMenuItem*> items;
    return items;
}

std::set<UINT>& UsedCommands() {
    static std::set<UINT> used;
    return used;
}

std::set<TPopupMenu*>& LivePopups() {
    static std::set<TPopupMenu*> popups;
    return popups;
}

UINT AllocateCommand() {
    static UINT next = kFirstCommand;
    auto& used = UsedCommands();
    for (UINT tries = 0; tries <= kLastCommand; ++tries) {
        const UINT candidate = next;
        next = next >= kLastCommand ? kFirstCommand : next + 1;
        if (used.insert(candidate).second) return candidate;
    }
    throw EOutOfMemory("Too many menu items");
}

TMenuItem* LiveItem(ULONG_PTR data) {
    auto* item = reinterpret_cast<TMenuItem*>(data);
    return LiveItems().count(item) ? item : nullptr;
}

// The hidden window that receives the commands and owner-draw requests of
// popup menus while they are tracked.
class TPopupList {
public:
    HWND Window() {
        if (!FWindow) FWindow = AllocateHWnd(TWndMethod::FromFunction(&TPopupList::Handle, this));
        return FWindow;
    }
    ~TPopupList() { DeallocateHWnd(FWindow); }

private:
    static void Handle(void* data, TMessage& message) {
        auto* self = static_cast<TPopupList*>(data);
        try {
            switch (message.Msg) {
            case WM_COMMAND:
                for (TPopupMenu* popup : std::vector<TPopupMenu*>(LivePopups().begin(), LivePopups().end()))
                    if (popup->DispatchCommand(LOWORD(message.WParam))) return;
                break;
            case WM_INITMENUPOPUP:
                for (TPopupMenu* popup : std::vector<TPopupMenu*>(LivePopups().begin(), LivePopups().end()))
                    if (popup->DispatchPopup(reinterpret_cast<HMENU>(message.WParam))) return;
                break;
            case WM_MENUCHAR:
                for (TPopupMenu* popup : std::vector<TPopupMenu*>(LivePopups().begin(), LivePopups().end()))
                    if (popup->ProcessMenuChar(reinterpret_cast<HMENU>(message.LParam), LOWORD(message.WParam),
                                               message.Result))
                        return;
                break;
            case WM_DRAWITEM:
                if (DrawMenuItemMessage(*reinterpret_cast<DRAWITEMSTRUCT*>(message.LParam))) {
                    message.Result = TRUE;
                    return;
                }
                break;
            case WM_MEASUREITEM:
                if (MeasureMenuItemMessage(*reinterpret_cast<MEASUREITEMSTRUCT*>(message.LParam))) {
                    message.Result = TRUE;
                    return;
                }
                break;
            default: break;
            }
        } catch (...) {
            ApplicationHandleException(nullptr);
            return;
        }
        message.Result = DefWindowProcW(self->FWindow, message.Msg, message.WParam, message.LParam);
    }

    HWND FWindow = nullptr;
};

TPopupList& PopupList() {
    static TPopupList list;
    return list;
}

// The system's menu font (empty when the system does not tell it: the DC's own font is used then).
win::FontHandle MenuFont() {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return {};
    return win::FontHandle(CreateFontIndirectW(&metrics.lfMenuFont));
}

wchar_t UpperChar(wchar_t ch) {
    // CharUpperW takes a single character in the low word of its argument.
    const auto upper = CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(ch)));
    return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(upper));
}

// The character a caption marks with "&" ("&&" is a plain ampersand), upper-cased; 0 when none.
wchar_t AcceleratorOf(const std::string& caption) {
    const std::wstring text = AnsiToWideText(caption);
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] == L'&') {
            ++i;
            continue;
        }
        return UpperChar(text[i + 1]);
    }
    return 0;
}

// The images of the item's menu when it has a picture there, else nullptr.
TImageList* ImagesFor(const TMenuItem& item) {
    const TMenu* menu = item.GetParentMenu();
    TImageList* images = menu ? menu->Images() : nullptr;
    if (!images || item.ImageIndex() < 0 || item.ImageIndex() >= images->Count()) return nullptr;
    return images;
}

// The column left of the text, for the check mark or the picture.
int32_t CheckColumnWidth(const TMenuItem& item) {
    const TMenu* menu = item.GetParentMenu();
    const int32_t check = GetSystemMetrics(SM_CXMENUCHECK);
    if (!menu || !menu->Images()) return check;
    return std::max(check, menu->Images()->Width() + kImageMargin * 2);
}

std::wstring DisplayText(const TMenuItem& item) {
    std::wstring text = AnsiToWideText(item.Caption());
    if (item.ShortCut() != scNone) text += L"\t" + AnsiToWideText(ShortCutToText(item.ShortCut()));
    return text;
}

}  // namespace

// ---- shortcuts -------------------------------------------------------------

TShortCut ShortCut(uint16_t key, TShiftState shift) {
    if ((key & 0xFF00) != 0) return scNone;
    TShortCut result = key;
    if (shift.Contains(ssShift)) result |= scShift;
    if (shift.Contains(ssCtrl)) result |= scCtrl;
    if (shift.Contains(ssAlt)) result |= scAlt;
    return result;
}

void ShortCutToKey(TShortCut shortCut, uint16_t& key, TShiftState& shift) {
    key = shortCut & 0xFF;
    shift = {};
    if (shortCut & scShift) shift.Include(ssShift);
    if (shortCut & scCtrl) shift.Include(ssCtrl);
    if (shortCut & scAlt) shift.Include(ssAlt);
}

namespace {

// The keys that have a name of their own in shortcut texts.
struct TNamedKey {
    UINT Key;
    const char* Name;
};
constexpr TNamedKey NamedKeys[] = {
    {VK_BACK, "BkSp"},  {VK_TAB, "Tab"},     {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"}, {VK_SPACE, "Space"},
    {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"},   {VK_END, "End"},      {VK_HOME, "Home"},  {VK_LEFT, "Left"},
    {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},    {VK_INSERT, "Ins"}, {VK_DELETE, "Del"},
};

// A key's name in shortcut texts ("S", "F5", "Del", or the keyboard's own name); empty when it has none.
std::string KeyName(UINT key) {
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) return std::string(1, static_cast<char>(key));
    if (key >= VK_F1 && key <= VK_F24) return "F" + std::to_string(key - VK_F1 + 1);
    for (const TNamedKey& named : NamedKeys)
        if (named.Key == key) return named.Name;
    wchar_t name[64]{};
    const UINT scan = MapVirtualKeyW(key, MAPVK_VK_TO_VSC);
    if (scan != 0 && GetKeyNameTextW(static_cast<LONG>(scan << 16), name, 64) > 0) return WideToAnsiText(name);
    return {};
}

bool SameLetters(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

std::string ShortCutToText(TShortCut shortCut) {
    if (shortCut == scNone) return {};
    const std::string key = KeyName(shortCut & 0xFF);
    if (key.empty()) return {};
    std::string text;
    if (shortCut & scShift) text += "Shift+";
    if (shortCut & scCtrl) text += "Ctrl+";
    if (shortCut & scAlt) text += "Alt+";
    return text + key;
}

TShortCut TextToShortCut(const std::string& text) {
    constexpr std::pair<const char*, TShortCut> modifiers[] = {{"Shift+", scShift}, {"Ctrl+", scCtrl}, {"Alt+", scAlt}};
    TShortCut shift = 0;
    std::string rest = text;
    for (bool found = true; found;) {
        found = false;
        for (const auto& [name, flag] : modifiers) {
            const std::string prefix = name;
            if (rest.size() > prefix.size() && SameLetters(rest.substr(0, prefix.size()), prefix)) {
                shift |= flag;
                rest.erase(0, prefix.size());
                found = true;
            }
        }
    }
    if (rest.empty()) return scNone;
    constexpr UINT lastKey = 0xFE;
    for (UINT key = 1; key <= lastKey; ++key)
        if (const std::string name = KeyName(key); !name.empty() && SameLetters(name, rest))
            return static_cast<TShortCut>(key | shift);
    return scNone;
}

void SetItemFromEntryText(TMenuItem& item, const std::wstring& text) {
    const size_t tab = text.find(L'\t');
    const TShortCut keys = tab == std::wstring::npos ? scNone : TextToShortCut(WideToAnsiText(text.substr(tab + 1)));
    item.SetCaption(WideToAnsiText(keys == scNone ? text : text.substr(0, tab)));
    item.SetShortCut(keys);
}

// ---- TMenuItem -------------------------------------------------------------

TMenuItem::TMenuItem(TComponent* owner) : TComponent(owner), FCommand(AllocateCommand()) { LiveItems().insert(this); }

TMenuItem::~TMenuItem() {
    LiveItems().erase(this);
    UsedCommands().erase(FCommand);
    // Out of the parent's system menu first, so that no entry there names
    // this item's submenu once it is destroyed.
    if (FParent) {
        TMenuItem* parent = FParent;
        if (parent->FHandle) {
            const int position = parent->EntryPosition(this);
            if (position >= 0) RemoveMenu(parent->FHandle.get(), static_cast<UINT>(position), MF_BYPOSITION);
        }
        std::erase(parent->FItems, this);
        FParent = nullptr;
        parent->ItemsChanged();
    }
    if (FHandle) DetachEntries(FHandle.get());
    // Sub-items go with their parent item unless another component owns them.
    while (!FItems.empty()) {
        TMenuItem* child = FItems.back();
        FItems.pop_back();
        child->FParent = nullptr;
        if (!child->Owner() || child->Owner() == this) delete child;
    }
    DestroyHandle();
}

QUIRN_PUBLISH(TMenuItem, p) {
    p.Property("Caption", &TMenuItem::Caption, &TMenuItem::SetCaption);
    p.Property("ShortCut", &TMenuItem::ShortCut, &TMenuItem::SetShortCut).Default(scNone);
    p.Property("Checked", &TMenuItem::Checked, &TMenuItem::SetChecked).Default(false);
    p.Property("Enabled", &TMenuItem::Enabled, &TMenuItem::SetEnabled).Default(true);
    p.Property("Visible", &TMenuItem::Visible, &TMenuItem::SetVisible).Default(true);
    p.Property("Default", &TMenuItem::Default, &TMenuItem::SetDefault).Default(false);
    p.Property("RadioItem", &TMenuItem::RadioItem, &TMenuItem::SetRadioItem).Default(false);
    p.Property("GroupIndex", &TMenuItem::GroupIndex, &TMenuItem::SetGroupIndex).Default(0);
    p.Property("AutoCheck", &TMenuItem::AutoCheck, &TMenuItem::SetAutoCheck).Default(false);
    p.Property("Break", &TMenuItem::Break, &TMenuItem::SetBreak).Default(mbNone);
    p.Property("Hint", &TMenuItem::Hint, &TMenuItem::SetHint);
    p.Property("ImageIndex", &TMenuItem::ImageIndex, &TMenuItem::SetImageIndex).Default(-1);
    p.Property("OnClick", &TMenuItem::OnClick, &TMenuItem::SetOnClick);
    p.Property("OnDrawItem", &TMenuItem::OnDrawItem, &TMenuItem::SetOnDrawItem);
    p.Property("OnMeasureItem", &TMenuItem::OnMeasureItem, &TMenuItem::SetOnMeasureItem);
}

void TMenuItem::SetCaption(const std::string& value) {
    if (FCaption == value) return;
    FCaption = value;
    EntryChanged();
}

void TMenuItem::SetShortCut(TShortCut value) {
    if (FShortCut == value) return;
    FShortCut = value;
    EntryChanged();
}

void TMenuItem::SetChecked(bool value) {
    if (FChecked == value) return;
    FChecked = value;
    if (value && FRadioItem && FParent) {
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this && sibling->FRadioItem && sibling->FGroupIndex == FGroupIndex && sibling->FChecked) {
                sibling->FChecked = false;
                sibling->EntryChanged();
            }
    }
    EntryChanged();
}

void TMenuItem::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    EntryChanged();
}

void TMenuItem::SetVisible(bool value) {
    if (FVisible == value) return;
    FVisible = value;
    if (FParent) FParent->ItemsChanged();
}

void TMenuItem::SetDefault(bool value) {
    if (FDefault == value) return;
    if (value && FParent)
        for (TMenuItem* sibling : FParent->FItems)
            if (sibling != this && sibling->FDefault) {
                sibling->FDefault = false;
                sibling->EntryChanged();
            }
    FDefault = value;
    EntryChanged();
}

void TMenuItem::SetRadioItem(bool value) {
    if (FRadioItem == value) return;
    FRadioItem = value;
    EntryChanged();
}

void TMenuItem::SetBreak(TMenuBreak value) {
    if (FBreak == value) return;
    FBreak = value;
    EntryChanged();
}

void TMenuItem::SetImageIndex(int32_t value) {
    if (FImageIndex == value) return;
    FImageIndex = value;
    EntryChanged();
}

void TMenuItem::SetOnDrawItem(TMenuDrawItemEvent value) { FOnDrawItem = value; }

void TMenuItem::SetOnMeasureItem(TMenuMeasureItemEvent value) { FOnMeasureItem = value; }

void TMenuItem::Add(TMenuItem* item) { Insert(Count(), item); }

void TMenuItem::Insert(int32_t index, TMenuItem* item) {
    if (!item) return;
    if (item->FParent) throw EInvalidOperation("Menu item '" + item->Name() + "' is already in a menu");
    if (item == this) throw EInvalidOperation("A menu item cannot hold itself");
    index = std::clamp(index, 0, Count());
    FItems.insert(FItems.begin() + index, item);
    item->FParent = this;
    // The item may come with a submenu built for another menu (or none).
    if (TMenu* menu = BuiltMenu()) item->RebuildEntries(menu->IsOwnerDraw(), true);
    ItemsChanged();
}

void TMenuItem::Delete(int32_t index) {
    if (index < 0 || index >= Count()) throw EListError("Menu index out of bounds");
    TMenuItem* item = FItems[static_cast<size_t>(index)];
    FItems.erase(FItems.begin() + index);
    item->FParent = nullptr;
    ItemsChanged();
}

void TMenuItem::Remove(TMenuItem* item) {
    const int32_t index = IndexOf(item);
    if (index < 0) throw EListError("Menu item not found");
    Delete(index);
}

void TMenuItem::Clear() {
    if (FHandle) DetachEntries(FHandle.get());
    while (!FItems.empty()) {
        TMenuItem* item = FItems.back();
        FItems.pop_back();
        item->FParent = nullptr;
        delete item;
    }
    ItemsChanged();
}

int32_t TMenuItem::IndexOf(const TMenuItem* item) const {
    const auto found = std::find(FItems.begin(), FItems.end(), item);
    return found == FItems.end() ? -1 : static_cast<int32_t>(found - FItems.begin());
}

TMenu* TMenuItem::GetParentMenu() const {
    const TMenuItem* item = this;
    while (item->FParent) item = item->FParent;
    return item->FMenu;
}

TComponent* TMenuItem::GetParentComponent() const {
    if (FParent && FParent->FMenu) return FParent->FMenu;
    return FParent;
}

void TMenuItem::SetParentComponent(TComponent* value) {
    if (FParent) FParent->Remove(this);
    if (auto* menu = ObjectAs<TMenu>(value))
        menu->Items()->Add(this);
    else if (auto* item = ObjectAs<TMenuItem>(value))
        item->Add(this);
}

void TMenuItem::Click() {
    if (!FEnabled) return;
    // A checked radio item stays checked: one item of its group always is.
    if (FAutoCheck && !(FRadioItem && FChecked)) SetChecked(!FChecked);
    if (FOnClick) FOnClick(this);
}

TMenu* TMenuItem::BuiltMenu() const {
    TMenu* menu = GetParentMenu();
    if (!menu || !menu->FItems->FHandle) return nullptr;
    if (menu->ComponentState().Contains(csLoading) || menu->ComponentState().Contains(csDestroying)) return nullptr;
    return menu;
}

void TMenuItem::FillEntry(MENUITEMINFOW& info, std::wstring& text, bool ownerDraw) const {
    info = MENUITEMINFOW{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_DATA | MIIM_SUBMENU;
    info.wID = FCommand;
    info.dwItemData = reinterpret_cast<ULONG_PTR>(this);
    info.fType = FlagsFor(kBreakTypes, FBreak);
    if (IsLine()) info.fType |= MFT_SEPARATOR;
    if (ownerDraw) info.fType |= MFT_OWNERDRAW;
    if (FRadioItem) info.fType |= MFT_RADIOCHECK;
    if (FChecked) info.fState |= MFS_CHECKED;
    if (!FEnabled) info.fState |= MFS_DISABLED | MFS_GRAYED;
    if (FDefault) info.fState |= MFS_DEFAULT;
    info.hSubMenu = FItems.empty() ? nullptr : FHandle.get();
    text = DisplayText(*this);
    if (!IsLine()) {
        info.fMask |= MIIM_STRING;
        info.dwTypeData = text.data();
    }
}

int TMenuItem::EntryPosition(const TMenuItem* child) const {
    if (!FHandle) return -1;
    const int count = GetMenuItemCount(FHandle.get());
    for (int position = 0; position < count; ++position) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA;
        if (GetMenuItemInfoW(FHandle.get(), static_cast<UINT>(position), TRUE, &info) &&
            info.dwItemData == reinterpret_cast<ULONG_PTR>(child))
            return position;
    }
    return -1;
}

void TMenuItem::RebuildEntries(bool ownerDraw, bool deep) {
    if (!FHandle) return;
    DetachEntries(FHandle.get());
    for (TMenuItem* child : FItems) {
        if (child->FItems.empty()) {
            child->DestroyHandle();
        } else if (!child->FHandle) {
            child->FHandle.reset(Win32Check(CreatePopupMenu(), "CreatePopupMenu"));
            child->RebuildEntries(ownerDraw, true);
        } else if (deep) {
            child->RebuildEntries(ownerDraw, true);
        }
        if (!child->FVisible) continue;
        MENUITEMINFOW info;
        std::wstring text;
        child->FillEntry(info, text, ownerDraw);
        InsertMenuItemW(FHandle.get(), static_cast<UINT>(GetMenuItemCount(FHandle.get())), TRUE, &info);
    }
}

void TMenuItem::DestroyHandle() {
    // The submenus stay: each belongs to the item that holds its entries.
    if (FHandle) DetachEntries(FHandle.get());
    FHandle.reset();
}

void TMenuItem::EntryChanged() {
    TMenu* menu = BuiltMenu();
    if (!menu || !FParent) return;
    const int position = FParent->EntryPosition(this);
    if (position < 0) return;  // hidden
    MENUITEMINFOW info;
    std::wstring text;
    FillEntry(info, text, menu->IsOwnerDraw());
    // Keep the highlight the system shows while it tracks this menu.
    MENUITEMINFOW shown{};
    shown.cbSize = sizeof shown;
    shown.fMask = MIIM_STATE;
    if (GetMenuItemInfoW(FParent->FHandle.get(), static_cast<UINT>(position), TRUE, &shown))
        info.fState |= shown.fState & MFS_HILITE;
    SetMenuItemInfoW(FParent->FHandle.get(), static_cast<UINT>(position), TRUE, &info);
    menu->Changed();
}

void TMenuItem::ItemsChanged() {
    TMenu* menu = BuiltMenu();
    if (!menu) return;
    // An item that gains its first sub-item or loses its last one changes
    // its own entry (submenu or not): its parent's entries are rebuilt.
    const bool showsSubmenu = static_cast<bool>(FHandle);
    if (FParent && showsSubmenu == FItems.empty())
        FParent->RebuildEntries(menu->IsOwnerDraw(), false);
    else
        RebuildEntries(menu->IsOwnerDraw(), false);
    menu->Changed();
}

void TMenuItem::DrawItem(TCanvas* canvas, RECT rect, bool selected) {
    if (FOnDrawItem) {
        FOnDrawItem(this, canvas, rect, selected);
        return;
    }
    HDC dc = canvas->Handle();
    const TColor back = selected ? clHighlight : clMenu;
    const win::BrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(back))));
    FillRect(dc, &rect, brush.get());
    if (IsLine()) {
        RECT line = rect;
        line.top += (rect.bottom - rect.top) / 2 - 1;
        DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
        return;
    }
    const int32_t checkWidth = CheckColumnWidth(*this);
    RECT check{rect.left, rect.top, rect.left + checkWidth, rect.bottom};
    if (TImageList* images = ImagesFor(*this)) {
        // The picture stands for the check mark; a checked one is framed.
        const int x = check.left + (checkWidth - images->Width()) / 2;
        const int y = check.top + (check.bottom - check.top - images->Height()) / 2;
        images->Draw(*canvas, x, y, FImageIndex, FEnabled);
        if (FChecked) {
            RECT frame{x - 1, y - 1, x + images->Width() + 1, y + images->Height() + 1};
            DrawEdge(dc, &frame, BDR_SUNKENOUTER, BF_RECT);
        }
    } else if (FChecked) {
        DrawFrameControl(dc, &check, DFC_MENU, FRadioItem ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    }
    const win::FontHandle font = MenuFont();
    const win::SelectedObject menuFont(dc, font.get());
    SetBkMode(dc, TRANSPARENT);
    const TColor textColor = !FEnabled ? clGrayText : selected ? clHighlightText : clMenuText;
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(textColor)));
    RECT textRect{rect.left + checkWidth + kTextGap, rect.top, rect.right - kTextGap, rect.bottom};
    const std::wstring caption = AnsiToWideText(FCaption);
    DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_LEFT);
    if (FShortCut != scNone) {
        const std::wstring keys = AnsiToWideText(ShortCutToText(FShortCut));
        DrawTextW(dc, keys.c_str(), static_cast<int>(keys.size()), &textRect, DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
}

void TMenuItem::MeasureItem(TCanvas* canvas, int32_t& width, int32_t& height) {
    if (IsLine()) {
        width = 0;
        height = kSeparatorHeight;
    } else {
        HDC dc = canvas->Handle();
        const win::FontHandle font = MenuFont();
        const win::SelectedObject menuFont(dc, font.get());
        const std::wstring text = DisplayText(*this);
        RECT rect{0, 0, 0, 0};
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, DT_SINGLELINE | DT_CALCRECT | DT_EXPANDTABS);
        width = rect.right + CheckColumnWidth(*this) * 2 + kTextGap * 2;
        height = std::max<int32_t>(rect.bottom + kItemPadding, GetSystemMetrics(SM_CYMENU));
        if (const TMenu* menu = GetParentMenu(); menu && menu->Images())
            height = std::max(height, menu->Images()->Height() + kImageMargin * 2);
    }
    if (FOnMeasureItem) FOnMeasureItem(this, canvas, width, height);
}

bool DrawMenuItemMessage(const DRAWITEMSTRUCT& draw) {
    if (draw.CtlType != ODT_MENU) return false;
    TMenuItem* item = LiveItem(draw.itemData);
    if (!item) return false;
    // The DC is the system's: its state comes back, also when the drawing throws. The canvas goes
    // first and gives the DC its own objects back.
    {
        const win::SavedDC saved(draw.hDC);
        TCanvas canvas;
        const TCanvasBinding bound(canvas, draw.hDC);
        item->DrawItem(&canvas, draw.rcItem, (draw.itemState & ODS_SELECTED) != 0);
    }
    if (item->Count() > 0 && item->OnDrawItem() && item->DrawsSubMenuArrow())
        KeepSystemSubMenuArrowOff(draw.hDC, draw.rcItem);
    return true;
}

RECT SystemSubMenuArrowRect(const RECT& item) {
    // The system blits its arrow bitmap (OBM_MNARROW) one pixel before the item's right edge; some
    // versions draw a frame-control arrow as wide as a check mark instead.
    constexpr WORD systemArrowBitmap = 32739;
    const win::BitmapHandle arrow(LoadBitmapW(nullptr, MAKEINTRESOURCEW(systemArrowBitmap)));
    BITMAP info{};
    if (arrow) GetObjectW(arrow.get(), sizeof(info), &info);
    const int32_t width = std::max<int32_t>(info.bmWidth + 1, GetSystemMetrics(SM_CXMENUCHECK));
    return RECT{std::max<LONG>(item.left, item.right - width), item.top, item.right, item.bottom};
}

void KeepSystemSubMenuArrowOff(HDC dc, const RECT& item) {
    const RECT strip = SystemSubMenuArrowRect(item);
    ExcludeClipRect(dc, strip.left, strip.top, strip.right, strip.bottom);
}

bool MeasureMenuItemMessage(MEASUREITEMSTRUCT& measure) {
    if (measure.CtlType != ODT_MENU) return false;
    TMenuItem* item = LiveItem(measure.itemData);
    if (!item) return false;
    // Measured on the shared measuring DC; the canvas gives it its own objects back when it goes.
    TCanvas canvas;
    const TCanvasBinding bound(canvas, win::MeasuringDC());
    int32_t width = 0;
    int32_t height = 0;
    item->MeasureItem(&canvas, width, height);
    measure.itemWidth = static_cast<UINT>(std::max(width, 0));
    measure.itemHeight = static_cast<UINT>(std::max(height, 0));
    return true;
}

// ---- TMenu -----------------------------------------------------------------

TMenu::TMenu(TComponent* owner) : TComponent(owner), FItems(new TMenuItem(nullptr)) { FItems->FMenu = this; }

TMenu::~TMenu() {
    // The root item owns the system menu and destroys it with itself; the submenus belong to their
    // items, which go (or stay) on their own.
    FItems->FMenu = nullptr;
    delete FItems;
}

HMENU TMenu::Handle() {
    if (!FItems->FHandle) {
        FItems->FHandle = CreateMenuHandle();
        FItems->RebuildEntries(IsOwnerDraw(), true);
    }
    return FItems->FHandle.get();
}

HMENU TMenu::BuiltHandle() const { return FItems->FHandle.get(); }

void TMenu::SetOwnerDraw(bool value) {
    if (FOwnerDraw == value) return;
    FOwnerDraw = value;
    MenuChanged();
}

void TMenu::SetImages(TImageList* value) {
    if (FImages == value) return;
    if (FImages) FImages->RemoveFreeNotification(this);
    FImages = value;
    if (value) value->FreeNotification(this);
    MenuChanged();
}

void TMenu::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation == opRemove && component == FImages) {
        FImages = nullptr;
        MenuChanged();
    }
}

void TMenu::SetWindowHandle(HWND value) { FWindowHandle = value; }

void TMenu::MenuChanged() {
    if (ComponentState().Contains(csLoading) || !BuiltHandle()) return;
    FItems->RebuildEntries(IsOwnerDraw(), true);
    Changed();
}

void TMenu::Loaded() {
    TComponent::Loaded();
    MenuChanged();
}

TMenuItem* TMenu::FindItem(UINT_PTR value, TFindItemKind kind) const {
    std::vector<TMenuItem*> pending{FItems};
    while (!pending.empty()) {
        TMenuItem* item = pending.back();
        pending.pop_back();
        if (item != FItems) {
            if (kind == fkCommand && item->Command() == value) return item;
            if (kind == fkHandle && item->Handle() && reinterpret_cast<UINT_PTR>(item->Handle()) == value) return item;
            if (kind == fkShortCut && item->ShortCut() != scNone && item->ShortCut() == value) return item;
        }
        for (int32_t i = item->Count() - 1; i >= 0; --i) pending.push_back(item->Items(i));
    }
    return nullptr;
}

bool TMenu::DispatchCommand(UINT command) {
    TMenuItem* item = FindItem(command, fkCommand);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::DispatchPopup(HMENU submenu) {
    TMenuItem* item = FindItem(reinterpret_cast<UINT_PTR>(submenu), fkHandle);
    if (!item) return false;
    item->Click();
    return true;
}

bool TMenu::ProcessMenuChar(HMENU menu, wchar_t ch, LRESULT& result) {
    TMenuItem* parent =
        BuiltHandle() && menu == BuiltHandle() ? FItems : FindItem(reinterpret_cast<UINT_PTR>(menu), fkHandle);
    if (!parent || !menu) return false;
    const wchar_t key = UpperChar(ch);
    std::vector<int> matches;
    for (TMenuItem* item : parent->FItems)
        if (item->Visible() && !item->IsLine() && AcceleratorOf(item->Caption()) == key)
            if (const int position = parent->EntryPosition(item); position >= 0) matches.push_back(position);
    result = MAKELRESULT(0, MNC_IGNORE);
    if (matches.empty()) return true;
    if (matches.size() == 1) {
        result = MAKELRESULT(matches.front(), MNC_EXECUTE);
        return true;
    }
    // Several share the key: each press selects the next of them.
    int hilited = -1;
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count && hilited < 0; ++position)
        if (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE) hilited = position;
    const auto next = std::find_if(matches.begin(), matches.end(), [&](int position) { return position > hilited; });
    result = MAKELRESULT(next == matches.end() ? matches.front() : *next, MNC_SELECT);
    return true;
}

bool TMenu::IsShortCut(TShortCut shortCut) {
    if (shortCut == scNone) return false;
    TMenuItem* item = FindItem(shortCut, fkShortCut);
    if (!item || !item->Enabled()) return false;
    for (TMenuItem* parent = item->Parent(); parent && parent != FItems; parent = parent->Parent())
        if (!parent->Enabled()) return false;
    item->Click();
    return true;
}

// ---- TMainMenu -------------------------------------------------------------

TMainMenu::TMainMenu(TComponent* owner) : TMenu(owner) {}

TMainMenu::~TMainMenu() {
    // A window must not keep showing a destroyed menu.
    if (BuiltHandle() && FWindowHandle && IsWindow(FWindowHandle) && GetMenu(FWindowHandle) == BuiltHandle())
        ::SetMenu(FWindowHandle, nullptr);
}

win::MenuHandle TMainMenu::CreateMenuHandle() { return win::MenuHandle(Win32Check(CreateMenu(), "CreateMenu")); }

void TMainMenu::SetWindowHandle(HWND value) {
    TMenu::SetWindowHandle(value);
    if (value && GetMenu(value) != Handle()) ::SetMenu(value, Handle());
}

void TMainMenu::Changed() {
    if (!FWindowHandle || !BuiltHandle()) return;
    // A framework form is told by message (it shows the bar again itself); another window just redraws it.
    if (FindControl(FWindowHandle))
        SendMessageW(FWindowHandle, CM_MENUCHANGED, 0, 0);
    else
        DrawMenuBar(FWindowHandle);
}

// ---- TPopupMenu ------------------------------------------------------------

TPopupMenu::TPopupMenu(TComponent* owner) : TMenu(owner) { LivePopups().insert(this); }

TPopupMenu::~TPopupMenu() { LivePopups().erase(this); }

win::MenuHandle TPopupMenu::CreateMenuHandle() {
    return win::MenuHandle(Win32Check(CreatePopupMenu(), "CreatePopupMenu"));
}

void TPopupMenu::SetPopupComponent(TComponent* value) {
    if (FPopupComponent == value) return;
    if (FPopupComponent) FPopupComponent->RemoveFreeNotification(this);
    FPopupComponent = value;
    if (value) value->FreeNotification(this);
}

void TPopupMenu::Notification(TComponent* component, TOperation operation) {
    TMenu::Notification(component, operation);
    if (operation == opRemove && component == FPopupComponent) FPopupComponent = nullptr;
}

void TPopupMenu::DoPopup() {
    if (FOnPopup) FOnPopup(this);
}

void TPopupMenu::Popup(int32_t x, int32_t y) {
    DoPopup();
    HMENU menu = Handle();
    HWND owner = PopupList().Window();
    SetWindowHandle(owner);
    const UINT flags = FlagsFor(kAlignmentFlags, FAlignment) | FlagsFor(kTrackButtonFlags, FTrackButton);
    // A refusal (another menu of this thread still tracking, a bad menu) is no error of the caller's:
    // the popup simply does not show, and the trace says why.
    if (!TrackPopupMenu(menu, flags, x, y, 0, owner, nullptr))
        QUIRN_TRACE(TTraceChannel::Menu, "TrackPopupMenu refused the popup: ", SysErrorMessage(GetLastError()));
}

void TMenuItem::GetChildren(const TGetChildProc& proc, TComponent* root) {
    for (TMenuItem* item : FItems)
        if (item->Owner() == root) proc(item);
}

void TMenu::GetChildren(const TGetChildProc& proc, TComponent* root) { FItems->GetChildren(proc, root); }
