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
    static TMenuLoop Loop;
    return Loop;
}

struct TMenuWindows {
    std::vector<HWND> Windows;
};

BOOL CALLBACK CollectMenuWindow(HWND Window, LPARAM Data) {
    if (IsWindowVisible(Window) && ClassNameOf(Window) == PopupMenuClassName)
        reinterpret_cast<TMenuWindows*>(Data)->Windows.push_back(Window);
    return TRUE;
}

// The visible menu windows of this thread, the newest (deepest) last.
std::vector<HWND> OpenMenuWindows() {
    TMenuWindows Found;
    EnumThreadWindows(GetCurrentThreadId(), CollectMenuWindow, reinterpret_cast<LPARAM>(&Found));
    // EnumThreadWindows goes from the top of the Z order: the deepest sub-menu comes first.
    std::reverse(Found.Windows.begin(), Found.Windows.end());
    return Found.Windows;
}

// MN_GETHMENU: the menu a menu window shows.
HMENU MenuOfWindow(HWND Window) { return reinterpret_cast<HMENU>(SendMessageW(Window, 0x01E1, 0, 0)); }

// The highlighted entry of a menu, or -1.
int HighlightedEntry(HMENU Menu) {
    const int Count = GetMenuItemCount(Menu);
    for (int Position = 0; Position < Count; ++Position)
        if ((GetMenuState(Menu, static_cast<UINT>(Position), MF_BYPOSITION) & MF_HILITE) != 0) return Position;
    return -1;
}

// The button before or after the open one, wrapping around the bar.
int32_t NeighbourIndex(const TPellixMenu& Bar, int32_t From, int32_t Step) {
    const int32_t Count = Bar.ButtonCount();
    if (Count == 0) return -1;
    return ((From + Step) % Count + Count) % Count;
}

// The open button's neighbour under the mouse, when the mouse has moved there (-1 otherwise).
int32_t ButtonUnderMovedMouse(TMenuLoop& Loop, POINT Mouse) {
    if (Loop.Bar == nullptr || (Mouse.x == Loop.LastMouse.x && Mouse.y == Loop.LastMouse.y)) return -1;
    Loop.LastMouse = Mouse;
    auto* Over = ObjectAs<TMenuBtn>(Loop.Bar->FindMenuButtonAt(Loop.Bar->FForm->ScreenToFrame(Mouse)));
    const int32_t Index = Over != nullptr ? Over->FIndex : -1;
    // The button the mouse came from is not taken again until the mouse has left it: a system may
    // report the cursor where the previous drop-down was opened once more when the next one opens.
    if (Index != Loop.CameFrom) Loop.CameFrom = -1;
    return Index >= 0 && Index != Loop.OpenIndex && Index != Loop.CameFrom ? Index : -1;
}

// While a drop-down is open the mouse is also watched by a timer: a menu loop need not show every move
// to the message filter.
void CALLBACK MenuMouseTimer(HWND, UINT, UINT_PTR, DWORD) {
    TMenuLoop& Loop = MenuLoop();
    POINT Mouse{};
    if (Loop.Bar == nullptr || Loop.NextIndex >= 0 || !GetCursorPos(&Mouse)) return;
    try {
        const int32_t Target = ButtonUnderMovedMouse(Loop, Mouse);
        if (Target < 0) return;
        Loop.KeyboardMoved = true;
        Loop.Bar->SwitchToMenuButton(Loop.Bar->Button(Target));
    } catch (...) {
        QUIRN_TRACE(TTraceChannel::Menu, "menu mouse watch failed");
    }
}

LRESULT CALLBACK MenuFilterProc(int Code, WPARAM WParam, LPARAM LParam) {
    TMenuLoop& Loop = MenuLoop();
    auto* Msg = reinterpret_cast<MSG*>(LParam);
    TPellixMenu* Bar = Loop.Bar;
    if (Bar != nullptr && Msg != nullptr && Msg->message == WM_KEYDOWN && Bar->FForm->FRightToLeft) {
        // A mirrored bar: left and right change meaning.
        if (Msg->wParam == VK_LEFT)
            Msg->wParam = VK_RIGHT;
        else if (Msg->wParam == VK_RIGHT)
            Msg->wParam = VK_LEFT;
    }
    const LRESULT Next = Loop.Hook.CallNext(Code, WParam, LParam);
    if (Next != 0 || Code != MSGF_MENU || Bar == nullptr || Msg == nullptr) return Next;
    try {
        if (Loop.FirstMessage) {
            Loop.FirstMessage = false;
            // The first entry of the drop-down is selected, as the system's own menu bar does.
            const std::vector<HWND> Windows = OpenMenuWindows();
            if (!Windows.empty()) PostMessageW(Windows.back(), WM_KEYDOWN, VK_DOWN, 0);
        }
        int32_t Target = -1;
        switch (Msg->message) {
        case WM_KEYDOWN:
            if (Msg->wParam == VK_RETURN || Msg->wParam == VK_ESCAPE) {
                Loop.KeyboardMoved = false;
            } else if (Msg->wParam == VK_LEFT || Msg->wParam == VK_RIGHT) {
                const std::vector<HWND> Windows = OpenMenuWindows();
                HMENU Deepest = Windows.empty() ? nullptr : MenuOfWindow(Windows.back());
                const int Selected = Deepest != nullptr ? HighlightedEntry(Deepest) : -1;
                if (Msg->wParam == VK_LEFT) {
                    // In the drop-down's own level (or with nothing selected) left goes to the bar.
                    if (Windows.size() <= 1) Target = NeighbourIndex(*Bar, Loop.OpenIndex, -1);
                } else if (Selected < 0 || GetSubMenu(Deepest, Selected) == nullptr) {
                    // Right opens a sub-menu where there is one, else goes to the next item of the bar.
                    Target = NeighbourIndex(*Bar, Loop.OpenIndex, 1);
                }
            }
            break;
        case WM_SYSKEYDOWN:
            if (Msg->wParam == VK_MENU) Bar->FForm->FMenuTracking = false;
            break;
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE: {
            // Where the mouse is now: a move still queued from before a switch must not switch back.
            POINT Mouse{};
            if (GetCursorPos(&Mouse)) Target = ButtonUnderMovedMouse(Loop, Mouse);
            break;
        }
        default: break;
        }
        if (Target >= 0 && Target != Loop.OpenIndex) {
            Loop.KeyboardMoved = true;
            Bar->SwitchToMenuButton(Bar->Button(Target));
            return 1;  // the message is the switch's, not the drop-down's
        }
    } catch (...) {
        QUIRN_TRACE(TTraceChannel::Menu, "menu filter failed");
    }
    return Next;
}

}  // namespace

// --- TMenuBtn --------------------------------------------------------------------------------------

TMenuBtn::TMenuBtn(TPellixForm* Form, TPellixMenu* Bar) : TNCObject(Form), FBar(Bar), FSkinData(Bar->FSkinData) {}

void TMenuBtn::Paint() {
    if (FForm->FSkinState != SkinStateRunning && FForm->FSkinState != SkinStateRefreshing) return;
    win::WindowFrameDC DC(FForm->FHandle);
    if (!DC) return;
    FBar->PaintButton(*this, DC.get());
}

// --- TPellixMenu -----------------------------------------------------------------------------------

TPellixMenu::TPellixMenu(TPellixForm* Form, TSkinData* SkinData)
    : TComponent(nullptr), FSkinData(SkinData), FForm(Form), FBackground(std::make_unique<TBitmap>()) {}

TPellixMenu::~TPellixMenu() {
    *FAlive = false;
    TMenuLoop& Loop = MenuLoop();
    if (Loop.Bar == this) {
        // The window goes while its drop-down is open: the loop ends and forgets this bar.
        Loop.Bar = nullptr;
        EndMenu();
    }
    if (FMenu != nullptr) FMenu->RemoveFreeNotification(this);
}

void TPellixMenu::Notification(TComponent* AComponent, TOperation Operation) {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == FMenu) {
        FMenu = nullptr;
        for (auto& Item : FItems) Item->FItem = nullptr;
    }
}

void TPellixMenu::SetMenu(TMainMenu* Menu) {
    if (FMenu == Menu) return;
    if (FMenu != nullptr) FMenu->RemoveFreeNotification(this);
    FMenu = Menu;
    if (Menu != nullptr) Menu->FreeNotification(this);
}

TMenuBtn* TPellixMenu::Button(int32_t Index) const {
    return Index >= 0 && Index < ButtonCount() ? FItems[static_cast<size_t>(Index)].get() : nullptr;
}

// --- Building --------------------------------------------------------------------------------------

void TPellixMenu::BuildButtons(HMENU Menu, bool Lookup, bool KeepFrameworkCaption) {
    if (FForm->FHotObject != nullptr && ObjectAs<TMenuBtn>(FForm->FHotObject) != nullptr) FForm->FHotObject = nullptr;
    FItems.clear();
    const int Count = std::max(GetMenuItemCount(Menu), 0);
    for (int Position = 0; Position < Count; ++Position) {
        wchar_t Text[MenuTextChars + 1]{};
        MENUITEMINFOW Info{};
        Info.cbSize = sizeof(Info);
        Info.fMask = MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE | MIIM_STRING;
        Info.dwTypeData = Text;
        Info.cch = MenuTextChars;
        if (!GetMenuItemInfoW(Menu, static_cast<UINT>(Position), TRUE, &Info)) continue;
        auto Button = std::make_unique<TMenuBtn>(FForm, this);
        Button->FIndex = static_cast<int32_t>(FItems.size());
        Button->FSubMenu = Info.hSubMenu;
        Button->FItemEnabled = (Info.fState & (MFS_GRAYED | MFS_DISABLED)) == 0;
        Button->FVisible = true;
        Button->FCommand = Info.wID;
        Button->FCaption = Text;
        TMenuItem* Item = Lookup && FMenu != nullptr && !(KeepFrameworkCaption && Button->FCaption.empty())
                              ? FMenu->FindItem(Info.wID, fkCommand)
                              : nullptr;
        if (Item != nullptr) {
            Button->FCaption = AnsiToWide(Item->Caption());
            Button->FItemEnabled = Item->Enabled();
            Button->FItem = Item;
            if (Item->Count() > 0) Button->FSubMenu = Item->Handle();
        }
        Button->FEnabled = Button->FItemEnabled;
        FItems.push_back(std::move(Button));
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
    HMENU Menu = GetMenu(FForm->FHandle);
    if (Menu == nullptr) Menu = FMenuHandle;
    if (Menu == nullptr || (FForm->FForm != nullptr && FMenu == nullptr)) return;
    FMenuHandle = Menu;
    BuildButtons(Menu, true, false);
    if (GetMenu(FForm->FHandle) != nullptr) ::SetMenu(FForm->FHandle, nullptr);
}

void TPellixMenu::BuildFromMenu() {
    if (FTracking) {
        FRebuildPending = true;
        return;
    }
    if (FMenu == nullptr) return;
    FItems.clear();
    for (int32_t Index = 0; Index < FMenu->Items()->Count(); ++Index) {
        TMenuItem* Item = FMenu->Items()->Items(Index);
        auto Button = std::make_unique<TMenuBtn>(FForm, this);
        Button->FIndex = static_cast<int32_t>(FItems.size());
        Button->FItem = Item;
        Button->FVisible = Item->Visible();
        Button->FItemEnabled = Button->FEnabled = Item->Enabled();
        Button->FCommand = Item->Command();
        Button->FCaption = AnsiToWide(Item->Caption());
        if (Item->Count() > 0) Button->FSubMenu = Item->Handle();
        FItems.push_back(std::move(Button));
    }
    FCount = static_cast<int32_t>(FItems.size());
}

void TPellixMenu::Rebuild() {
    if (FTracking) {
        FRebuildPending = true;
        return;
    }
    HMENU Menu = GetMenu(FForm->FHandle);
    if (Menu == nullptr) Menu = FMenuHandle;
    if (Menu == nullptr) return;
    FMenuHandle = Menu;
    BuildButtons(Menu, true, true);
    if (GetMenu(FForm->FHandle) != nullptr) ::SetMenu(FForm->FHandle, nullptr);
    LayoutItems();
}

void TPellixMenu::TakeMenu(HMENU Menu) {
    FMenuHandle = Menu;
    Rebuild();
}

// --- Layout and painting ---------------------------------------------------------------------------

RECT TPellixMenu::StripRect() const {
    RECT Window{};
    GetWindowRect(FForm->FHandle, &Window);
    const int32_t W = Window.right - Window.left;
    return RECT{FForm->FLeftWidth, FForm->FTitleHeight, W - FForm->FRightWidth,
                FForm->FTitleHeight + FForm->FMenuHeight};
}

int32_t TPellixMenu::StartOffset(const RECT& Strip) const {
    int32_t Offset = PlainStartOffset;
    if (FSkinData->FMenuBar != nullptr)
        Offset = FForm->FRightToLeft ? FSkinData->FMenuBar->RightWidth + RightToLeftGap
                                     : FSkinData->FMenuBar->LeftWidth + LeftToRightGap;
    if (Strip.right - Strip.left < Offset) Offset = NarrowStripOffset;
    return Offset;
}

void TPellixMenu::Layout(const RECT& Strip, HDC MeasureDC) {
    const win::SelectedObject Font(MeasureDC, FForm->FMenuFont->Handle());
    const int32_t Offset = StartOffset(Strip);
    const bool Mirrored = FForm->FRightToLeft;
    int32_t RightEnd = Strip.right - Strip.left - Offset;
    if (Mirrored && FForm->FFormKind == FormKindMDIFrame && SkinFormHost != nullptr && SkinFormHost->FMDIMaximized) {
        // The maximized child's buttons sit at the bar's right end: the items end before them.
        for (const auto& Button : FForm->FSysButtons)
            if (Button->FVisible && Button->FElement->Visibility == VisibleMDIChildMaximized)
                RightEnd = std::min<int32_t>(RightEnd, Button->FBounds.left - Strip.left - MDIButtonsGap);
    }
    int32_t X = Mirrored ? RightEnd : Offset;
    for (const auto& Button : FItems) {
        if (!Button->FVisible) {
            Button->FBounds = RECT{};
            continue;
        }
        int32_t ItemWidth = 0;
        if (!Button->FCaption.empty()) {
            RECT Extent{0, 0, 0, 0};
            DrawTextWide(MeasureDC, Button->FCaption, Extent, DT_CALCRECT | DT_SINGLELINE);
            ItemWidth = Extent.right - Extent.left + CaptionPadding;
        }
        if (Mirrored) X -= ItemWidth;
        Button->FBounds = RECT{X + Strip.left, Strip.top, X + ItemWidth + Strip.left, Strip.bottom - 1};
        if (!Mirrored) X += ItemWidth;
    }
}

void TPellixMenu::LayoutItems() {
    FBarRect = StripRect();
    Layout(FBarRect, win::MeasuringDC());
}

void TPellixMenu::DrawCaption(TMenuBtn& Button, HDC DC, const RECT& Cell) {
    if (Button.FCaption.empty()) return;
    const win::SelectedObject Font(DC, FForm->FMenuFont->Handle());
    SetBkMode(DC, TRANSPARENT);
    const TColor Colour = Button.FItemEnabled ? FSkinData->FColors[SkinColour::MenuBarText] : clBtnShadow;
    SetTextColor(DC, static_cast<COLORREF>(ColorToRGB(Colour)));
    RECT Text = Cell;
    DrawTextWide(DC, Button.FCaption, Text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_EXPANDTABS);
}

void TPellixMenu::Paint(HDC DC, const RECT& Strip) {
    const int32_t W = Strip.right - Strip.left;
    const int32_t H = Strip.bottom - Strip.top;
    if (W <= 0 || H <= 0) return;
    TBitmap& Buffer = SkinBackBuffer();
    Buffer.SetSize(W, H);
    TCanvas& Canvas = Buffer.Canvas();
    const RECT Local{0, 0, W, H};
    TDataSkinObject* Element = FSkinData->FMenuBar.get();
    if (Element != nullptr && !Element->Bitmap->Empty()) {
        const int32_t Frame = FForm->FActive ? MenuBarActiveFrame : MenuBarInactiveFrame;
        const RECT Margins{Element->LeftWidth, 0, Element->RightWidth, 0};
        if (Element->Tile == 1)
            DrawSkinElement(Canvas.Handle(), Local, *Element->Bitmap, true, false, false, MenuBarFrames, Frame,
                            Margins);
        else
            DrawThreePartTiled(Canvas, Local, *Element->Bitmap, true, false, MenuBarFrames, Frame, Margins);
    } else {
        Canvas.Brush().SetColor(FSkinData->FColors[SkinColour::Menubar]);
        Canvas.FillRect(Local);
    }
    FBarRect = Strip;
    FBackground->SetSize(W, H);
    BitBlt(FBackground->Canvas().Handle(), 0, 0, W, H, Canvas.Handle(), 0, 0, SRCCOPY);

    FPainting = true;
    HDC BufferDC = Canvas.Handle();
    Layout(Strip, BufferDC);
    for (const auto& Button : FItems) {
        if (!Button->FVisible || IsRectEmpty(&Button->FBounds)) continue;
        RECT Cell = Button->FBounds;
        OffsetRect(&Cell, -Strip.left, -Strip.top);
        DrawCaption(*Button, BufferDC, Cell);
    }
    FPainting = false;
    if (FForm->FFormKind == FormKindMDIFrame && SkinFormHost != nullptr && SkinFormHost->FMDIMaximized) {
        // The maximized child's buttons on the bar.
        for (const auto& Button : FForm->FSysButtons) {
            if (Button->FElement->Visibility != VisibleMDIChildMaximized || Button->FElement->Bitmap->Empty()) continue;
            RECT At = Button->FBounds;
            OffsetRect(&At, -FForm->FLeftWidth, -FForm->FTitleHeight);
            DrawFrameStretched(BufferDC, At, *Button->FElement->Bitmap, true, Button->FElement->Frame, 1);
        }
    }
    BitBlt(DC, Strip.left, Strip.top, W, H, BufferDC, 0, 0, SRCCOPY);
    // Buttons in a state of their own keep it.
    for (const auto& Button : FItems)
        if (Button->FVisible && Button->FState != NCStateNormal) PaintButton(*Button, DC);
}

void TPellixMenu::PaintButton(TMenuBtn& Button, HDC DC) {
    if (!Button.FVisible || IsRectEmpty(&Button.FBounds) || FBackground->Empty()) return;
    const RECT& Bounds = Button.FBounds;
    BitBlt(DC, Bounds.left, Bounds.top, Bounds.right - Bounds.left, Bounds.bottom - Bounds.top,
           FBackground->Canvas().Handle(), Bounds.left - FBarRect.left, Bounds.top - FBarRect.top, SRCCOPY);
    if (Button.FState == NCStateHot || Button.FState == NCStatePressed) {
        const win::BrushHandle Frame(
            CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FSkinData->FColors[SkinColour::ButtonHilight]))));
        FrameRect(DC, &Bounds, Frame.get());
    }
    DrawCaption(Button, DC, Bounds);
}

// --- Finding buttons ---------------------------------------------------------------------------------

TNCObject* TPellixMenu::FindMenuButtonAt(POINT FramePoint) {
    for (const auto& Button : FItems)
        if (Button->FVisible && !Button->FCaption.empty() && PtInRect(&Button->FBounds, FramePoint))
            return Button.get();
    return nullptr;
}

TNCObject* TPellixMenu::FindMenuButtonByAccel(wchar_t Key) {
    const auto Upper = [](wchar_t Char) {
        return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
            CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(static_cast<uint16_t>(Char))))));
    };
    const wchar_t Wanted = Upper(Key);
    for (const auto& Button : FItems) {
        if (!Button->FVisible || !Button->FItemEnabled) continue;
        const std::wstring& Caption = Button->FCaption;
        for (size_t Index = 0; Index + 1 < Caption.size(); ++Index) {
            if (Caption[Index] != L'&') continue;
            if (Caption[Index + 1] == L'&') {
                ++Index;
                continue;
            }
            if (Upper(Caption[Index + 1]) == Wanted) return Button.get();
            break;
        }
    }
    return nullptr;
}

TNCObject* TPellixMenu::FirstButton() { return FItems.empty() ? nullptr : FItems.front().get(); }

// --- Opening -----------------------------------------------------------------------------------------

bool TPellixMenu::OpenMenuBarItem(TNCObject* Object) {
    auto* Button = ObjectAs<TMenuBtn>(Object);
    if (Button == nullptr || Button->FBar != this) return false;
    // The framework raises the item's click from its command (a plain menu's pop-up entries have
    // none to raise).
    if (Button->FItem != nullptr || Button->FSubMenu == nullptr)
        PostMessageW(FForm->FHandle, WM_COMMAND, Button->FCommand, 0);
    if (Button->FSubMenu == nullptr) return false;
    const std::shared_ptr<bool> Alive = FAlive;
    int32_t Index = Button->FIndex;
    int32_t CameFrom = -1;
    while (Index >= 0) {
        const int32_t Next = TrackButton(Index, CameFrom);
        CameFrom = Index;
        Index = Next;
        if (!*Alive) return true;  // the window went while the drop-down was open
    }
    if (FRebuildPending) {
        FRebuildPending = false;
        Rebuild();
        FForm->PaintFrame(nullptr);
    }
    return true;
}

void TPellixMenu::SwitchToMenuButton(TMenuBtn* Target) {
    if (Target == nullptr) return;
    MenuLoop().NextIndex = Target->FIndex;
    EndMenu();
}

namespace {

// The drop-down's entries made owner-drawn (so the skin draws them) for one tracking, and given
// their own drawing back afterwards.
class TOwnerDrawnEntries {
public:
    explicit TOwnerDrawnEntries(HMENU Menu) { Prepare(Menu, 0); }
    ~TOwnerDrawnEntries() {
        for (const auto& [Menu, Position] : FChanged) {
            if (!IsMenu(Menu) || Position >= GetMenuItemCount(Menu)) continue;
            MENUITEMINFOW Info{};
            Info.cbSize = sizeof(Info);
            Info.fMask = MIIM_FTYPE;
            if (!GetMenuItemInfoW(Menu, static_cast<UINT>(Position), TRUE, &Info)) continue;
            Info.fType &= ~static_cast<UINT>(MFT_OWNERDRAW);
            SetMenuItemInfoW(Menu, static_cast<UINT>(Position), TRUE, &Info);
        }
    }
    TOwnerDrawnEntries(const TOwnerDrawnEntries&) = delete;
    TOwnerDrawnEntries& operator=(const TOwnerDrawnEntries&) = delete;

private:
    static constexpr int MaxDepth = 16;  // a menu that holds itself ends here
    void Prepare(HMENU Menu, int Depth) {
        if (Menu == nullptr || Depth > MaxDepth) return;
        const int Count = GetMenuItemCount(Menu);
        for (int Position = 0; Position < Count; ++Position) {
            MENUITEMINFOW Info{};
            Info.cbSize = sizeof(Info);
            Info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
            if (!GetMenuItemInfoW(Menu, static_cast<UINT>(Position), TRUE, &Info)) continue;
            if ((Info.fType & MFT_OWNERDRAW) == 0) {
                Info.fMask = MIIM_FTYPE;
                Info.fType |= MFT_OWNERDRAW;
                if (SetMenuItemInfoW(Menu, static_cast<UINT>(Position), TRUE, &Info))
                    FChanged.emplace_back(Menu, Position);
            }
            Prepare(Info.hSubMenu, Depth + 1);
        }
    }
    std::vector<std::pair<HMENU, int>> FChanged;
};

}  // namespace

int32_t TPellixMenu::TrackButton(int32_t Index, int32_t CameFrom) {
    TMenuBtn* Button = this->Button(Index);
    if (Button == nullptr || Button->FSubMenu == nullptr) return -1;
    TMenuLoop& Loop = MenuLoop();
    if (Loop.Bar != nullptr) return -1;  // one menu loop at a time
    Loop.Bar = this;
    Loop.OpenIndex = Index;
    Loop.NextIndex = -1;
    Loop.CameFrom = CameFrom;
    Loop.FirstMessage = true;
    Loop.KeyboardMoved = false;
    Loop.LastMouse = POINT{-1, -1};
    GetCursorPos(&Loop.LastMouse);
    FForm->FMenuTracking = true;
    if (SkinFormHost != nullptr) {
        SkinFormHost->FMenuSource = MenuSourceMenuBar;
        SkinFormHost->FMenuBarOpen = true;
    }
    FForm->FTrackedMenu = Button->FSubMenu;
    FTracking = true;
    if (FForm->FHotObject != nullptr && FForm->FHotObject != Button) FForm->FHotObject->MouseLeave();
    Button->FState = NCStatePressed;
    FForm->FHotObject = Button;
    Button->Paint();
    const std::shared_ptr<bool> Alive = FAlive;
    const HWND Window = FForm->FHandle;
    const bool Mirrored = FForm->FRightToLeft;
    UINT Chosen = 0;
    {
        const bool OldNT4 = IsNTPlatform() && LOBYTE(LOWORD(GetVersion())) < 5;
        std::unique_ptr<TOwnerDrawnEntries> Prepared;
        if (!OldNT4) Prepared = std::make_unique<TOwnerDrawnEntries>(Button->FSubMenu);
        try {
            Loop.Hook = win::HookHandle(WH_MSGFILTER, MenuFilterProc, nullptr, GetCurrentThreadId());
        } catch (const std::exception& Error) {
            QUIRN_TRACE(TTraceChannel::Menu, "no menu filter: ", Error.what());
        }
        const UINT_PTR MouseWatch = SetTimer(nullptr, 0, MouseWatchInterval, MenuMouseTimer);
        if (Button->FItemEnabled) {
            RECT Window{};
            GetWindowRect(FForm->FHandle, &Window);
            const POINT At{(Mirrored ? Button->FBounds.right : Button->FBounds.left) + Window.left,
                           Button->FBounds.bottom + Window.top};
            Chosen = static_cast<UINT>(TrackPopupMenu(Button->FSubMenu, TrackFlags | (Mirrored ? TPM_RIGHTALIGN : 0),
                                                      At.x, At.y, 0, FForm->FHandle, nullptr));
        }
        if (MouseWatch != 0) KillTimer(nullptr, MouseWatch);
        Loop.Hook.reset();
    }
    const int32_t Next = Loop.NextIndex;
    Loop = TMenuLoop{};
    if (!*Alive) return -1;
    FTracking = false;
    FForm->FMenuTracking = false;
    if (Chosen != 0) PostMessageW(Window, WM_COMMAND, Chosen, 0);
    if (TMenuBtn* Closed = this->Button(Index)) {
        Closed->FState = NCStateNormal;
        Closed->Paint();
    }
    return Next;
}
