// TPellixForm's system menu: an owner-drawn copy of the window's system menu shown where the user
// asked for it (caption icon, right click on the caption, Alt+Space), and its commands.
#include <string>

#include "framework/controls/Menu.h"
#include "framework/graphics/AnsiText.h"
#include "skin/data/SkinData.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinManage.h"
#include "framework/controls/Timer.h"

namespace {

// The copy is told apart from the application's menus by this Tag.
constexpr int32_t SystemMenuTag = 33333;
// Item texts are read with at most this many characters.
constexpr int MenuTextChars = 80;
// Pictures of the skin data's menu glyphs.
constexpr int32_t ImageRestore = 0;
constexpr int32_t ImageMaximize = 1;
constexpr int32_t ImageMinimize = 2;
constexpr int32_t ImageClose = 3;
constexpr int32_t ImageNone = -1;
// Tags of the fixed menu of the NT versions before 5, and of its separator.
constexpr int32_t FixedRestore = 0;
constexpr int32_t FixedMaximize = 1;
constexpr int32_t FixedMinimize = 2;
constexpr int32_t FixedClose = 3;
constexpr int32_t FixedSeparator = 100;
constexpr DWORD FirstFullMenuVersion = 5;

// A system menu text "&Close\tAlt+F4": the caption before the tab, and the Alt+F4 shortcut when
// that is what follows it.
void SetItemText(TMenuItem& Item, const std::wstring& Text) {
    const size_t Tab = Text.find(L'\t');
    Item.SetCaption(WideToAnsiText(Text.substr(0, Tab)));
    if (Tab == std::wstring::npos) return;
    std::wstring Keys = Text.substr(Tab + 1);
    for (wchar_t& Char : Keys) Char = static_cast<wchar_t>(towupper(Char));
    if (Keys == L"ALT+F4") Item.SetShortCut(ShortCut(VK_F4, TShiftState{ssAlt}));
}

}  // namespace

void TPellixForm::ShowSysMenu(POINT ScreenPoint) {
    const DWORD Now = GetTickCount();
    if (Now - FLastMenuClick > FDoubleClickTime) {
        if (SkinManager != nullptr) SkinManager->FMenuSource = MenuSourceSystemMenu;
        FLastMenuClick = Now;
        BuildSysMenu();
        if (FSysMenu != nullptr) FSysMenu->Popup(ScreenPoint.x, ScreenPoint.y);
        return;
    }
    // A second click within the double-click time on a hot caption button closes the window.
    if (FHotObject != nullptr) {
        if (FTimer) FTimer->SetEnabled(false);
        PostMessageW(FHandle, WM_CLOSE, 0, 0);
    }
}

void TPellixForm::BuildSysMenu() {
    delete FSysMenu;
    FSysMenu = nullptr;
    UpdateWindowState();
    auto* Menu = new TPopupMenu(this);
    FSysMenu = Menu;
    Menu->SetTag(SystemMenuTag);
    Menu->SetOwnerDraw(true);
    Menu->SetImages(FSkinData != nullptr ? FSkinData->FMenuImages : nullptr);
    const bool Maximized = FWindowState == WindowStateMaximized;
    const bool Minimized = FWindowState == WindowStateMinimized;

    const DWORD Version = GetVersion();
    if (SkinPlatform().IsNT && LOBYTE(LOWORD(Version)) < FirstFullMenuVersion) {
        auto Add = [&](const char* Caption, int32_t Tag) {
            auto* Item = new TMenuItem(Menu);
            Item->SetCaption(Caption);
            Item->SetTag(Tag);
            Item->SetImageIndex(Tag == FixedSeparator ? ImageNone : Tag);
            Item->SetOnClick(TNotifyEvent(this, &TPellixForm::SysMenuClick));
            Item->SetOnDrawItem(TMenuDrawItemEvent(this, &TPellixForm::DrawMenuItem));
            Item->SetOnMeasureItem(TMenuMeasureItemEvent(this, &TPellixForm::MeasurePopupItem));
            Menu->Items()->Add(Item);
            return Item;
        };
        Add(" Restore ", FixedRestore);
        if (HasMaximizeBox()) Add(" Maximize ", FixedMaximize);
        if (HasMinimizeBox()) Add(" Minimize ", FixedMinimize);
        Add("-", FixedSeparator);
        Add(" Close ", FixedClose)->SetShortCut(ShortCut(VK_F4, TShiftState{ssAlt}));
        return;
    }

    if (FSystemMenu == nullptr) return;
    const int Count = GetMenuItemCount(FSystemMenu);
    for (int Position = 0; Position < Count; ++Position) {
        wchar_t Text[MenuTextChars + 1]{};
        MENUITEMINFOW Info{};
        Info.cbSize = sizeof(Info);
        Info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        Info.dwTypeData = Text;
        Info.cch = MenuTextChars;
        if (!GetMenuItemInfoW(FSystemMenu, static_cast<UINT>(Position), TRUE, &Info)) continue;
        auto* Item = new TMenuItem(Menu);
        if (Text[0] == L'\0' || (Info.fType & MFT_SEPARATOR) != 0)
            Item->SetCaption("-");
        else
            SetItemText(*Item, Text);
        Item->SetTag(static_cast<int32_t>(Info.wID));
        Item->SetOnClick(TNotifyEvent(this, &TPellixForm::SysMenuCommandClick));
        Item->SetOnDrawItem(TMenuDrawItemEvent(this, &TPellixForm::DrawMenuItem));
        Item->SetOnMeasureItem(TMenuMeasureItemEvent(this, &TPellixForm::MeasurePopupItem));
        int32_t Image = ImageNone;
        switch (Info.wID) {
        case SC_SIZE:
        case SC_MOVE: Item->SetEnabled(!Maximized); break;
        case SC_MINIMIZE:
            Image = ImageMinimize;
            Item->SetEnabled(!Minimized && HasMinimizeBox());
            break;
        case SC_MAXIMIZE:
            Image = ImageMaximize;
            Item->SetEnabled(!Maximized && HasMaximizeBox());
            break;
        case SC_CLOSE: Image = ImageClose; break;
        case SC_RESTORE:
            Image = ImageRestore;
            Item->SetEnabled(Maximized || Minimized);
            break;
        default: break;
        }
        Item->SetImageIndex(Image);
        if ((Info.fState & MFS_DISABLED) == MFS_DISABLED) Item->SetEnabled(false);
        if ((Info.fState & MFS_CHECKED) != 0) Item->SetChecked(true);
        Menu->Items()->Add(Item);
    }
}

void TPellixForm::SysMenuClick(TObject* Sender) {
    auto* Item = ObjectAs<TMenuItem>(Sender);
    if (Item == nullptr) return;
    switch (Item->Tag()) {
    case FixedRestore: DoRestore(); break;
    case FixedMaximize: ToggleMaximize(); break;
    case FixedMinimize: ToggleMinimize(); break;
    case FixedClose:
        if (FTimer) FTimer->SetEnabled(false);
        PostMessageW(FHandle, WM_CLOSE, 0, 0);
        break;
    default: break;
    }
}

void TPellixForm::SysMenuCommandClick(TObject* Sender) {
    if (auto* Item = ObjectAs<TMenuItem>(Sender))
        PostMessageW(FHandle, WM_SYSCOMMAND, static_cast<WPARAM>(Item->Tag()), 0);
}
