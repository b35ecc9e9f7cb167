// TPellixMenu and TMenuBtn: building the skinned menu bar from the window's menu, its layout and
// painting, opening the drop-downs, and the message-filter hook that moves between the top-level
// items while a drop-down is open.
#include "skin/form/PellixMenu.h"

#include <algorithm>

#include "framework/controls/Menu.h"
#include "framework/graphics/AnsiText.h"
#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"
#include "framework/win/HookHandle.h"
#include "framework/win/TextMeasure.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinServices.h"
#include "skin/data/WindowsVersion.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinFormHost.h"

QUIRN_DEFINE_CLASS(TMenuBtn)
QUIRN_DEFINE_CLASS(TPellixMenu)

namespace {

// Layout of the strip: where the buttons start without a menu-bar element, the gaps added to the
// element's margins, the start of a strip narrower than that, and the room around each caption.
constexpr int32_t PlainStartOffset = 6;
constexpr int32_t LeftToRightGap = 4;
constexpr int32_t RightToLeftGap = 8;
constexpr int32_t NarrowStripOffset = 12;
constexpr int32_t CaptionPadding = 10;
// The menu-bar element has two frames stacked: active, inactive.
constexpr int32_t MenuBarFrames = 2;
constexpr int32_t MenuBarActiveFrame = 1;
constexpr int32_t MenuBarInactiveFrame = 2;
// Texts of the window's menu are read with at most this many characters.
constexpr int MenuTextChars = 80;
// TrackPopupMenu: the drop-downs send no notifications and follow either button; the chosen command
// comes back and is posted to the window.
constexpr UINT TrackFlags = TPM_NONOTIFY | TPM_RIGHTBUTTON | TPM_RETURNCMD;
// How often the mouse is looked at while a drop-down is open (milliseconds).
constexpr UINT MouseWatchInterval = 50;
// A drop-down lies under a button this far left of the mirrored bar's right end.
constexpr int32_t MDIButtonsGap = 5;

// The one menu loop of the process: the bar whose drop-down is open, its open button, the hook, the
// last mouse position the hook saw and the loop's flags.
struct TMenuLoop {
    TPellixMenu* Bar = nullptr;
    int32_t OpenIndex = -1;
    int32_t NextIndex = -1;
    int32_t CameFrom = -1;  // the button the mouse moved from to the open one, or -1
    win::HookHandle Hook;
    POINT LastMouse{-1, -1};
    bool FirstMessage = false;
    bool KeyboardMoved = false;
};

TMenuLoop& MenuLoop() {
    static TMenuLoop loop;
    return loop;
}

struct TMenuWindows {
    std::vector<HWND> Windows;
};

BOOL CALLBACK CollectMenuWindow(HWND window, LPARAM data) {
    if (IsWindowVisible(window) && ClassNameOf(window) == PopupMenuClassName)
        reinterpret_cast<TMenuWindows*>(data)->Windows.push_back(window);
    return TRUE;
}

// The visible menu windows of this thread, the newest (deepest) last.
std::vector<HWND> OpenMenuWindows() {
    TMenuWindows found;
    EnumThreadWindows(GetCurrentThreadId(), CollectMenuWindow, reinterpret_cast<LPARAM>(&found));
    // EnumThreadWindows goes from the top of the Z order: the deepest sub-menu comes first.
    std::reverse(found.Windows.begin(), found.Windows.end());
    return found.Windows;
}

// MN_GETHMENU: the menu a menu window shows.
HMENU MenuOfWindow(HWND window) { return reinterpret_cast<HMENU>(SendMessageW(window, 0x01E1, 0, 0)); }

// The highlighted entry of a menu, or -1.
int HighlightedEntry(HMENU menu) {
    const int count = GetMenuItemCount(menu);
    for (int position = 0; position < count; ++position)
        if ((GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE) != 0) return position;
    return -1;
}

// The button before or after the open one, wrapping around the bar.
int32_t NeighbourIndex(const TPellixMenu& bar, int32_t from, int32_t step) {
    const int32_t count = bar.ButtonCount();
    if (count == 0) return -1;
    return ((from + step) % count + count) % count;
}

// The open button's neighbour under the mouse, when the mouse has moved there (-1 otherwise).
int32_t ButtonUnderMovedMouse(TMenuLoop& loop, POINT mouse) {
    if (loop.Bar == nullptr || (mouse.x == loop.LastMouse.x && mouse.y == loop.LastMouse.y)) return -1;
    loop.LastMouse = mouse;
    auto* over = ObjectAs<TMenuBtn>(loop.Bar->FindMenuButtonAt(loop.Bar->FForm->ScreenToFrame(mouse)));
    const int32_t index = over != nullptr ? over->FIndex : -1;
    // The button the mouse came from is not taken again until the mouse has left it: a system may
    // report the cursor where the previous drop-down was opened once more when the next one opens.
    if (index != loop.CameFrom) loop.CameFrom = -1;
    return index >= 0 && index != loop.OpenIndex && index != loop.CameFrom ? index : -1;
}

// While a drop-down is open the mouse is also watched by a timer: a menu loop need not show every move
// to the message filter.
void CALLBACK MenuMouseTimer(HWND, UINT, UINT_PTR, DWORD) {
    TMenuLoop& loop = MenuLoop();
    POINT mouse{};
    if (loop.Bar == nullptr || loop.NextIndex >= 0 || !GetCursorPos(&mouse)) return;
    try {
        const int32_t target = ButtonUnderMovedMouse(loop, mouse);
        if (target < 0) return;
        loop.KeyboardMoved = true;
        loop.Bar->SwitchToMenuButton(loop.Bar->Button(target));
    } catch (...) {
        QUIRN_TRACE(TTraceChannel::Menu, "menu mouse watch failed");
    }
}

LRESULT CALLBACK MenuFilterProc(int code, WPARAM wParam, LPARAM lParam) {
    TMenuLoop& loop = MenuLoop();
    auto* msg = reinterpret_cast<MSG*>(lParam);
    TPellixMenu* bar = loop.Bar;
    if (bar != nullptr && msg != nullptr && msg->message == WM_KEYDOWN && bar->FForm->FRightToLeft) {
        // A mirrored bar: left and right change meaning.
        if (msg->wParam == VK_LEFT)
            msg->wParam = VK_RIGHT;
        else if (msg->wParam == VK_RIGHT)
            msg->wParam = VK_LEFT;
    }
    const LRESULT next = loop.Hook.CallNext(code, wParam, lParam);
    if (next != 0 || code != MSGF_MENU || bar == nullptr || msg == nullptr) return next;
    try {
        if (loop.FirstMessage) {
            loop.FirstMessage = false;
            // The first entry of the drop-down is selected, as the system's own menu bar does.
            const std::vector<HWND> windows = OpenMenuWindows();
            if (!windows.empty()) PostMessageW(windows.back(), WM_KEYDOWN, VK_DOWN, 0);
        }
        int32_t target = -1;
        switch (msg->message) {
        case WM_KEYDOWN:
            if (msg->wParam == VK_RETURN || msg->wParam == VK_ESCAPE) {
                loop.KeyboardMoved = false;
            } else if (msg->wParam == VK_LEFT || msg->wParam == VK_RIGHT) {
                const std::vector<HWND> windows = OpenMenuWindows();
                HMENU deepest = windows.empty() ? nullptr : MenuOfWindow(windows.back());
                const int selected = deepest != nullptr ? HighlightedEntry(deepest) : -1;
                if (msg->wParam == VK_LEFT) {
                    // In the drop-down's own level (or with nothing selected) left goes to the bar.
                    if (windows.size() <= 1) target = NeighbourIndex(*bar, loop.OpenIndex, -1);
                } else if (selected < 0 || GetSubMenu(deepest, selected) == nullptr) {
                    // Right opens a sub-menu where there is one, else goes to the next item of the bar.
                    target = NeighbourIndex(*bar, loop.OpenIndex, 1);
                }
            }
            break;
        case WM_SYSKEYDOWN:
            if (msg->wParam == VK_MENU) bar->FForm->FMenuTracking = false;
            break;
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE: {
            // Where the mouse is now: a move still queued from before a switch must not switch back.
            POINT mouse{};
            if (GetCursorPos(&mouse)) target = ButtonUnderMovedMouse(loop, mouse);
            break;
        }
        default: break;
        }
        if (target >= 0 && target != loop.OpenIndex) {
            loop.KeyboardMoved = true;
            bar->SwitchToMenuButton(bar->Button(target));
            return 1;  // the message is the switch's, not the drop-down's
        }
    } catch (...) {
        QUIRN_TRACE(TTraceChannel::Menu, "menu filter failed");
    }
    return next;
}

}  // namespace

// --- TMenuBtn --------------------------------------------------------------------------------------

TMenuBtn::TMenuBtn(TPellixForm* form, TPellixMenu* bar) : TNCObject(form), FBar(bar), FSkinData(bar->FSkinData) {}

void TMenuBtn::Paint() {
    if (FForm->FSkinState != SkinStateRunning && FForm->FSkinState != SkinStateRefreshing) return;
    win::WindowFrameDC dc(FForm->FHandle);
    if (!dc) return;
    FBar->PaintButton(*this, dc.get());
}

// --- TPellixMenu -----------------------------------------------------------------------------------

TPellixMenu::TPellixMenu(TPellixForm* form, TSkinData* skinData)
    : TComponent(nullptr), FSkinData(skinData), FForm(form), FBackground(std::make_unique<TBitmap>()) {}

TPellixMenu::~TPellixMenu() {
    *FAlive = false;
    TMenuLoop& loop = MenuLoop();
    if (loop.Bar == this) {
        // The window goes while its drop-down is open: the loop ends and forgets this bar.
        loop.Bar = nullptr;
        EndMenu();
    }
    if (FMenu != nullptr) FMenu->RemoveFreeNotification(this);
}

void TPellixMenu::Notification(TComponent* aComponent, TOperation operation) {
    TComponent::Notification(aComponent, operation);
    if (operation == opRemove && aComponent == FMenu) {
        FMenu = nullptr;
        for (auto& item : FItems) item->FItem = nullptr;
    }
}

void TPellixMenu::SetMenu(TMainMenu* menu) {
    if (FMenu == menu) return;
    if (FMenu != nullptr) FMenu->RemoveFreeNotification(this);
    FMenu = menu;
    if (menu != nullptr) menu->FreeNotification(this);
}

TMenuBtn* TPellixMenu::Button(int32_t index) const {
    return index >= 0 && index < ButtonCount() ? FItems[static_cast<size_t>(index)].get() : nullptr;
}

// --- Building --------------------------------------------------------------------------------------

void TPellixMenu::BuildButtons(HMENU menu, bool lookup, bool keepFrameworkCaption) {
    if (FForm->FHotObject != nullptr && ObjectAs<TMenuBtn>(FForm->FHotObject) != nullptr) FForm->FHotObject = nullptr;
    FItems.clear();
    const int count = std::max(GetMenuItemCount(menu), 0);
    for (int position = 0; position < count; ++position) {
        wchar_t text[MenuTextChars + 1]{};
        MENUITEMINFOW info{};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = MenuTextChars;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) continue;
        auto button = std::make_unique<TMenuBtn>(FForm, this);
        button->FIndex = static_cast<int32_t>(FItems.size());
        button->FSubMenu = info.hSubMenu;
        button->FItemEnabled = (info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
        button->FVisible = true;
        button->FCommand = info.wID;
        button->FCaption = text;
        TMenuItem* item = lookup && FMenu != nullptr && !(keepFrameworkCaption && button->FCaption.empty())
                              ? FMenu->FindItem(info.wID, fkCommand)
                              : nullptr;
        if (item != nullptr) {
            button->FCaption = AnsiToWide(item->Caption());
            button->FItemEnabled = item->Enabled();
            button->FItem = item;
            if (item->Count() > 0) button->FSubMenu = item->Handle();
        }
        button->FEnabled = button->FItemEnabled;
        FItems.push_back(std::move(button));
    }
    FCount = static_cast<int32_t>(FItems.size());
}

std::unique_ptr<TSkinMenuBarLink> MakeSkinMenuBar(TPellixForm* form, TSkinData* skinData, TMainMenu* menu) {
    auto bar = std::make_unique<TPellixMenu>(form, skinData);
    if (menu != nullptr) bar->SetMenu(menu);
    bar->BuildFromHandle();
    return bar;
}

void TPellixMenu::BuildFromHandle() {
    if (FTracking) {
        FRebuildPending = true;
        return;
    }
    HMENU menu = GetMenu(FForm->FHandle);
    if (menu == nullptr) menu = FMenuHandle;
    if (menu == nullptr || (FForm->FForm != nullptr && FMenu == nullptr)) return;
    FMenuHandle = menu;
    BuildButtons(menu, true, false);
    if (GetMenu(FForm->FHandle) != nullptr) ::SetMenu(FForm->FHandle, nullptr);
}

void TPellixMenu::BuildFromMenu() {
    if (FTracking) {
        FRebuildPending = true;
        return;
    }
    if (FMenu == nullptr) return;
    FItems.clear();
    for (int32_t index = 0; index < FMenu->Items()->Count(); ++index) {
        TMenuItem* item = FMenu->Items()->Items(index);
        auto button = std::make_unique<TMenuBtn>(FForm, this);
        button->FIndex = static_cast<int32_t>(FItems.size());
        button->FItem = item;
        button->FVisible = item->Visible();
        button->FItemEnabled = button->FEnabled = item->Enabled();
        button->FCommand = item->Command();
        button->FCaption = AnsiToWide(item->Caption());
        if (item->Count() > 0) button->FSubMenu = item->Handle();
        FItems.push_back(std::move(button));
    }
    FCount = static_cast<int32_t>(FItems.size());
}

void TPellixMenu::Rebuild() {
    if (FTracking) {
        FRebuildPending = true;
        return;
    }
    HMENU menu = GetMenu(FForm->FHandle);
    if (menu == nullptr) menu = FMenuHandle;
    if (menu == nullptr) return;
    FMenuHandle = menu;
    BuildButtons(menu, true, true);
    if (GetMenu(FForm->FHandle) != nullptr) ::SetMenu(FForm->FHandle, nullptr);
    LayoutItems();
}

void TPellixMenu::TakeMenu(HMENU menu) {
    FMenuHandle = menu;
    Rebuild();
}

// --- Layout and painting ---------------------------------------------------------------------------

RECT TPellixMenu::StripRect() const {
    RECT window{};
    GetWindowRect(FForm->FHandle, &window);
    const int32_t w = window.right - window.left;
    return RECT{FForm->FLeftWidth, FForm->FTitleHeight, w - FForm->FRightWidth,
                FForm->FTitleHeight + FForm->FMenuHeight};
}

int32_t TPellixMenu::StartOffset(const RECT& strip) const {
    int32_t offset = PlainStartOffset;
    if (FSkinData->FMenuBar != nullptr)
        offset = FForm->FRightToLeft ? FSkinData->FMenuBar->RightWidth + RightToLeftGap
                                     : FSkinData->FMenuBar->LeftWidth + LeftToRightGap;
    if (strip.right - strip.left < offset) offset = NarrowStripOffset;
    return offset;
}

void TPellixMenu::Layout(const RECT& strip, HDC measureDc) {
    const win::SelectedObject font(measureDc, FForm->FMenuFont->Handle());
    const int32_t offset = StartOffset(strip);
    const bool mirrored = FForm->FRightToLeft;
    int32_t rightEnd = strip.right - strip.left - offset;
    if (mirrored && FForm->FFormKind == FormKindMDIFrame && SkinFormHost != nullptr && SkinFormHost->FMDIMaximized) {
        // The maximized child's buttons sit at the bar's right end: the items end before them.
        for (const auto& button : FForm->FSysButtons)
            if (button->FVisible && button->FElement->Visibility == VisibleMDIChildMaximized)
                rightEnd = std::min<int32_t>(rightEnd, button->FBounds.left - strip.left - MDIButtonsGap);
    }
    int32_t x = mirrored ? rightEnd : offset;
    for (const auto& button : FItems) {
        if (!button->FVisible) {
            button->FBounds = RECT{};
            continue;
        }
        int32_t itemWidth = 0;
        if (!button->FCaption.empty()) {
            RECT extent{0, 0, 0, 0};
            DrawTextWide(measureDc, button->FCaption, extent, DT_CALCRECT | DT_SINGLELINE);
            itemWidth = extent.right - extent.left + CaptionPadding;
        }
        if (mirrored) x -= itemWidth;
        button->FBounds = RECT{x + strip.left, strip.top, x + itemWidth + strip.left, strip.bottom - 1};
        if (!mirrored) x += itemWidth;
    }
}

void TPellixMenu::LayoutItems() {
    FBarRect = StripRect();
    Layout(FBarRect, win::MeasuringDC());
}

void TPellixMenu::DrawCaption(TMenuBtn& button, HDC dc, const RECT& cell) {
    if (button.FCaption.empty()) return;
    const win::SelectedObject font(dc, FForm->FMenuFont->Handle());
    SetBkMode(dc, TRANSPARENT);
    const TColor colour = button.FItemEnabled ? FSkinData->FColors[SkinColour::MenuBarText] : clBtnShadow;
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(colour)));
    RECT text = cell;
    DrawTextWide(dc, button.FCaption, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

void TPellixMenu::Paint(HDC dc, const RECT& strip) {
    const int32_t w = strip.right - strip.left;
    const int32_t h = strip.bottom - strip.top;
    if (w <= 0 || h <= 0) return;
    TBitmap& buffer = SkinBackBuffer();
    buffer.SetSize(w, h);
    TCanvas& canvas = buffer.Canvas();
    const RECT local{0, 0, w, h};
    TDataSkinObject* element = FSkinData->FMenuBar.get();
    if (element != nullptr && !element->Bitmap->Empty()) {
        const int32_t frame = FForm->FActive ? MenuBarActiveFrame : MenuBarInactiveFrame;
        const RECT margins{element->LeftWidth, 0, element->RightWidth, 0};
        if (element->Tile == 1)
            DrawSkinElement(canvas.Handle(), local, *element->Bitmap, true, false, false, MenuBarFrames, frame,
                            margins);
        else
            DrawThreePartTiled(canvas, local, *element->Bitmap, true, false, MenuBarFrames, frame, margins);
    } else {
        canvas.Brush().SetColor(FSkinData->FColors[SkinColour::Menubar]);
        canvas.FillRect(local);
    }
    FBarRect = strip;
    FBackground->SetSize(w, h);
    BitBlt(FBackground->Canvas().Handle(), 0, 0, w, h, canvas.Handle(), 0, 0, SRCCOPY);

    FPainting = true;
    HDC bufferDc = canvas.Handle();
    Layout(strip, bufferDc);
    for (const auto& button : FItems) {
        if (!button->FVisible || IsRectEmpty(&button->FBounds)) continue;
        RECT cell = button->FBounds;
        OffsetRect(&cell, -strip.left, -strip.top);
        DrawCaption(*button, bufferDc, cell);
    }
    FPainting = false;
    if (FForm->FFormKind == FormKindMDIFrame && SkinFormHost != nullptr && SkinFormHost->FMDIMaximized) {
        // The maximized child's buttons on the bar.
        for (const auto& button : FForm->FSysButtons) {
            if (button->FElement->Visibility != VisibleMDIChildMaximized || button->FElement->Bitmap->Empty()) continue;
            RECT at = button->FBounds;
            OffsetRect(&at, -FForm->FLeftWidth, -FForm->FTitleHeight);
            DrawFrameStretched(bufferDc, at, *button->FElement->Bitmap, true, button->FElement->Frame, 1);
        }
    }
    BitBlt(dc, strip.left, strip.top, w, h, bufferDc, 0, 0, SRCCOPY);
    // Buttons in a state of their own keep it.
    for (const auto& button : FItems)
        if (button->FVisible && button->FState != NCStateNormal) PaintButton(*button, dc);
}

void TPellixMenu::PaintButton(TMenuBtn& button, HDC dc) {
    if (!button.FVisible || IsRectEmpty(&button.FBounds) || FBackground->Empty()) return;
    const RECT& bounds = button.FBounds;
    BitBlt(dc, bounds.left, bounds.top, bounds.right - bounds.left, bounds.bottom - bounds.top,
           FBackground->Canvas().Handle(), bounds.left - FBarRect.left, bounds.top - FBarRect.top, SRCCOPY);
    if (button.FState == NCStateHot || button.FState == NCStatePressed) {
        const win::BrushHandle frame(
            CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FSkinData->FColors[SkinColour::ButtonHilight]))));
        FrameRect(dc, &bounds, frame.get());
    }
    DrawCaption(button, dc, bounds);
}

// --- Finding buttons ---------------------------------------------------------------------------------

TNCObject* TPellixMenu::FindMenuButtonAt(POINT framePoint) {
    for (const auto& button : FItems)
        if (button->FVisible && !button->FCaption.empty() && PtInRect(&button->FBounds, framePoint))
            return button.get();
    return nullptr;
}

TNCObject* TPellixMenu::FindMenuButtonByAccel(wchar_t key) {
    const auto upper = [](wchar_t ch) {
        return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
            CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<uint16_t>(ch))))));
    };
    const wchar_t wanted = upper(key);
    for (const auto& button : FItems) {
        if (!button->FVisible || !button->FItemEnabled) continue;
        const std::wstring& caption = button->FCaption;
        for (size_t index = 0; index + 1 < caption.size(); ++index) {
            if (caption[index] != L'&') continue;
            if (caption[index + 1] == L'&') {
                ++index;
                continue;
            }
            if (upper(caption[index + 1]) == wanted) return button.get();
            break;
        }
    }
    return nullptr;
}

TNCObject* TPellixMenu::FirstButton() { return FItems.empty() ? nullptr : FItems.front().get(); }

// --- Opening -----------------------------------------------------------------------------------------

bool TPellixMenu::OpenMenuBarItem(TNCObject* object) {
    auto* button = ObjectAs<TMenuBtn>(object);
    if (button == nullptr || button->FBar != this) return false;
    // The framework raises the item's click from its command (a plain menu's pop-up entries have
    // none to raise).
    if (button->FItem != nullptr || button->FSubMenu == nullptr)
        PostMessageW(FForm->FHandle, WM_COMMAND, button->FCommand, 0);
    if (button->FSubMenu == nullptr) return false;
    const std::shared_ptr<bool> alive = FAlive;
    int32_t index = button->FIndex;
    int32_t cameFrom = -1;
    while (index >= 0) {
        const int32_t next = TrackButton(index, cameFrom);
        cameFrom = index;
        index = next;
        if (!*alive) return true;  // the window went while the drop-down was open
    }
    if (FRebuildPending) {
        FRebuildPending = false;
        Rebuild();
        FForm->PaintFrame(nullptr);
    }
    return true;
}

void TPellixMenu::SwitchToMenuButton(TMenuBtn* target) {
    if (target == nullptr) return;
    MenuLoop().NextIndex = target->FIndex;
    EndMenu();
}

namespace {

// The drop-down's entries made owner-drawn (so the skin draws them) for one tracking, and given
// their own drawing back afterwards.
class TOwnerDrawnEntries {
public:
    explicit TOwnerDrawnEntries(HMENU menu) { Prepare(menu, 0); }
    ~TOwnerDrawnEntries() {
        for (const auto& [Menu, Position] : FChanged) {
            if (!IsMenu(Menu) || Position >= GetMenuItemCount(Menu)) continue;
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE;
            if (!GetMenuItemInfoW(Menu, static_cast<UINT>(Position), TRUE, &info)) continue;
            info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
            SetMenuItemInfoW(Menu, static_cast<UINT>(Position), TRUE, &info);
        }
    }
    TOwnerDrawnEntries(const TOwnerDrawnEntries&) = delete;
    TOwnerDrawnEntries& operator=(const TOwnerDrawnEntries&) = delete;

private:
    static constexpr int MaxDepth = 16;  // a menu that holds itself ends here
    void Prepare(HMENU menu, int depth) {
        if (menu == nullptr || depth > MaxDepth) return;
        const int count = GetMenuItemCount(menu);
        for (int position = 0; position < count; ++position) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
            if (!GetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info)) continue;
            if ((info.fType & MFT_OWNERDRAW) == 0) {
                info.fMask = MIIM_FTYPE;
                info.fType |= MFT_OWNERDRAW;
                if (SetMenuItemInfoW(menu, static_cast<UINT>(position), TRUE, &info))
                    FChanged.emplace_back(menu, position);
            }
            Prepare(info.hSubMenu, depth + 1);
        }
    }
    std::vector<std::pair<HMENU, int>> FChanged;
};

}  // namespace

int32_t TPellixMenu::TrackButton(int32_t index, int32_t cameFrom) {
    TMenuBtn* button = this->Button(index);
    if (button == nullptr || button->FSubMenu == nullptr) return -1;
    TMenuLoop& loop = MenuLoop();
    if (loop.Bar != nullptr) return -1;  // one menu loop at a time
    loop.Bar = this;
    loop.OpenIndex = index;
    loop.NextIndex = -1;
    loop.CameFrom = cameFrom;
    loop.FirstMessage = true;
    loop.KeyboardMoved = false;
    loop.LastMouse = POINT{-1, -1};
    GetCursorPos(&loop.LastMouse);
    FForm->FMenuTracking = true;
    if (SkinFormHost != nullptr) {
        SkinFormHost->FMenuSource = MenuSourceMenuBar;
        SkinFormHost->FMenuBarOpen = true;
    }
    FForm->FTrackedMenu = button->FSubMenu;
    FTracking = true;
    if (FForm->FHotObject != nullptr && FForm->FHotObject != button) FForm->FHotObject->MouseLeave();
    button->FState = NCStatePressed;
    FForm->FHotObject = button;
    button->Paint();
    const std::shared_ptr<bool> alive = FAlive;
    const HWND window = FForm->FHandle;
    const bool mirrored = FForm->FRightToLeft;
    UINT chosen = 0;
    {
        const bool oldNT4 = IsNTPlatform() && LOBYTE(LOWORD(GetVersion())) < 5;
        std::unique_ptr<TOwnerDrawnEntries> prepared;
        if (!oldNT4) prepared = std::make_unique<TOwnerDrawnEntries>(button->FSubMenu);
        try {
            loop.Hook = win::HookHandle(WH_MSGFILTER, MenuFilterProc, nullptr, GetCurrentThreadId());
        } catch (const std::exception& error) {
            QUIRN_TRACE(TTraceChannel::Menu, "no menu filter: ", error.what());
        }
        const UINT_PTR mouseWatch = SetTimer(nullptr, 0, MouseWatchInterval, MenuMouseTimer);
        if (button->FItemEnabled) {
            RECT window{};
            GetWindowRect(FForm->FHandle, &window);
            const POINT at{(mirrored ? button->FBounds.right : button->FBounds.left) + window.left,
                           button->FBounds.bottom + window.top};
            chosen = static_cast<UINT>(TrackPopupMenu(button->FSubMenu, TrackFlags | (mirrored ? TPM_RIGHTALIGN : 0),
                                                      at.x, at.y, 0, FForm->FHandle, nullptr));
        }
        if (mouseWatch != 0) KillTimer(nullptr, mouseWatch);
        loop.Hook.reset();
    }
    const int32_t next = loop.NextIndex;
    loop = TMenuLoop{};
    if (!*alive) return -1;
    FTracking = false;
    FForm->FMenuTracking = false;
    if (chosen != 0) PostMessageW(window, WM_COMMAND, chosen, 0);
    if (TMenuBtn* closed = this->Button(index)) {
        closed->FState = NCStateNormal;
        closed->Paint();
    }
    return next;
}
