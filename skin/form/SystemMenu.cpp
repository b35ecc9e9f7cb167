// TPellixForm's system menu: an owner-drawn copy of the window's system menu shown where the user
// asked for it (caption icon, right click on the caption, Alt+Space), and its commands.
#include <string>

#include "framework/controls/Menu.h"
#include "framework/graphics/AnsiText.h"
#include "framework/rtl/Trace.h"
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


}  // namespace

void TPellixForm::ShowSysMenu(POINT screenPoint) {
    const DWORD now = GetTickCount();
    QUIRN_TRACE(TTraceChannel::Menu, "system menu asked at ", screenPoint.x, ",", screenPoint.y, ", ",
                now - FLastMenuClick, " ms after the last");
    if (now - FLastMenuClick > FDoubleClickTime) {
        if (SkinManager != nullptr) SkinManager->FMenuSource = MenuSourceSystemMenu;
        FLastMenuClick = now;
        BuildSysMenu();
        if (FSysMenu != nullptr) FSysMenu->Popup(screenPoint.x, screenPoint.y);
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
    auto* menu = new TPopupMenu(this);
    FSysMenu = menu;
    menu->SetTag(SystemMenuTag);
    menu->SetOwnerDraw(true);
    menu->SetImages(FSkinData != nullptr ? FSkinData->FMenuImages : nullptr);
    const bool maximized = FWindowState == WindowStateMaximized;
    const bool minimized = FWindowState == WindowStateMinimized;

    const DWORD version = GetVersion();
    if (SkinPlatform().IsNT && LOBYTE(LOWORD(version)) < FirstFullMenuVersion) {
        auto add = [&](const char* caption, int32_t tag) {
            auto* item = new TMenuItem(menu);
            item->SetCaption(caption);
            item->SetTag(tag);
            item->SetImageIndex(tag == FixedSeparator ? ImageNone : tag);
            item->SetOnClick(TNotifyEvent(this, &TPellixForm::SysMenuClick));
            item->SetOnDrawItem(TMenuDrawItemEvent(this, &TPellixForm::DrawMenuItem));
            item->SetOnMeasureItem(TMenuMeasureItemEvent(this, &TPellixForm::MeasurePopupItem));
            menu->Items()->Add(item);
            return item;
        };
        add(" Restore ", FixedRestore);
        if (HasMaximizeBox()) add(" Maximize ", FixedMaximize);
        if (HasMinimizeBox()) add(" Minimize ", FixedMinimize);
        add("-", FixedSeparator);
        add(" Close ", FixedClose)->SetShortCut(ShortCut(VK_F4, TShiftState{ssAlt}));
        return;
    }

    if (FSystemMenu == nullptr) return;
    const int count = GetMenuItemCount(FSystemMenu);
    for (int position = 0; position < count; ++position) {
        wchar_t text[MenuTextChars + 1]{};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_STRING | MIIM_FTYPE;
        info.dwTypeData = text;
        info.cch = MenuTextChars;
        if (!GetMenuItemInfoW(FSystemMenu, static_cast<UINT>(position), TRUE, &info)) continue;
        auto* item = new TMenuItem(menu);
        if (text[0] == L'\0' || (info.fType & MFT_SEPARATOR) != 0)
            item->SetCaption("-");
        else
            SetItemFromEntryText(*item, text);
        item->SetTag(static_cast<int32_t>(info.wID));
        item->SetOnClick(TNotifyEvent(this, &TPellixForm::SysMenuCommandClick));
        item->SetOnDrawItem(TMenuDrawItemEvent(this, &TPellixForm::DrawMenuItem));
        item->SetOnMeasureItem(TMenuMeasureItemEvent(this, &TPellixForm::MeasurePopupItem));
        int32_t image = ImageNone;
        switch (info.wID) {
        case SC_SIZE:
        case SC_MOVE: item->SetEnabled(!maximized); break;
        case SC_MINIMIZE:
            image = ImageMinimize;
            item->SetEnabled(!minimized && HasMinimizeBox());
            break;
        case SC_MAXIMIZE:
            image = ImageMaximize;
            item->SetEnabled(!maximized && HasMaximizeBox());
            break;
        case SC_CLOSE: image = ImageClose; break;
        case SC_RESTORE:
            image = ImageRestore;
            item->SetEnabled(maximized || minimized);
            break;
        default: break;
        }
        item->SetImageIndex(image);
        if ((info.fState & MFS_DISABLED) == MFS_DISABLED) item->SetEnabled(false);
        if ((info.fState & MFS_CHECKED) != 0) item->SetChecked(true);
        menu->Items()->Add(item);
    }
}

void TPellixForm::SysMenuClick(TObject* sender) {
    auto* item = ObjectAs<TMenuItem>(sender);
    if (item == nullptr) return;
    switch (item->Tag()) {
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

void TPellixForm::SysMenuCommandClick(TObject* sender) {
    if (auto* item = ObjectAs<TMenuItem>(sender))
        PostMessageW(FHandle, WM_SYSCOMMAND, static_cast<WPARAM>(item->Tag()), 0);
}
