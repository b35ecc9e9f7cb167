// Skinned menus under real input: the window's menu bar drawn in the strip below the caption and its
// drop-downs opened with the mouse and the keyboard, the menu windows' frame and background and the
// items drawn from the skin's "MenuBar", "MenuBackground" and "MenuItem" bitmaps in both bundled
// skins, popup menus, the system menu, the menu given back when the skin goes, and no GDI or USER object
// left behind by many popups and menu-bar rebuilds.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "DesktopState.h"
#include "GdiObjectCounter.h"
#include "InputScript.h"
#include "ScreenPixels.h"
#include "SkinFormKit.h"
#include "UserObjectCounter.h"
#include "framework/controls/Menu.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"
#include "skin/form/PellixMenu.h"

using namespace formtest;
using namespace realinput;

namespace {

constexpr UINT MenuOfWindowQuery = 0x01E1;  // MN_GETHMENU

BOOL CALLBACK CollectMenuWindow(HWND Window, LPARAM Data) {
    wchar_t Name[16]{};
    GetClassNameW(Window, Name, 16);
    if (std::wstring(Name) == L"#32768" && IsWindowVisible(Window))
        reinterpret_cast<std::vector<HWND>*>(Data)->push_back(Window);
    return TRUE;
}

// The visible menu windows, the top of the Z order first.
std::vector<HWND> MenuWindows() {
    std::vector<HWND> Windows;
    EnumWindows(CollectMenuWindow, reinterpret_cast<LPARAM>(&Windows));
    return Windows;
}

HWND TopMenuWindow() {
    const std::vector<HWND> Windows = MenuWindows();
    return Windows.empty() ? nullptr : Windows.front();
}

HMENU MenuShownBy(HWND Window) {
    DWORD_PTR Menu = 0;
    SendMessageTimeoutW(Window, MenuOfWindowQuery, 0, 0, SMTO_NORMAL, PatienceMs, &Menu);
    return reinterpret_cast<HMENU>(Menu);
}

// Waits until a visible menu window shows Menu; the window, or null.
HWND WaitForMenu(HMENU Menu) {
    HWND Found = nullptr;
    WaitFor([&] {
        for (HWND Window : MenuWindows())
            if (MenuShownBy(Window) == Menu) {
                Found = Window;
                return true;
            }
        return false;
    });
    return Found;
}

bool WaitNoMenu() {
    return WaitFor([] { return MenuWindows().empty(); });
}

void CALLBACK CloseShownMenu(HWND, UINT, UINT_PTR, DWORD) {
    if (!MenuWindows().empty()) EndMenu();
}

RECT OnScreen(HWND Window, const RECT& Rect) {
    const RECT Outer = WindowRectOf(Window);
    RECT Moved = Rect;
    OffsetRect(&Moved, Outer.left, Outer.top);
    return Moved;
}

// Where an entry of a shown menu lies on the screen.
RECT EntryRect(HWND MenuWindow, HMENU Menu, int Position) {
    RECT Rect{};
    GetMenuItemRect(nullptr, Menu, static_cast<UINT>(Position), &Rect);
    (void)MenuWindow;
    return Rect;
}

bool Near(COLORREF A, COLORREF B, int Tolerance = 2) {
    return std::abs(GetRValue(A) - GetRValue(B)) <= Tolerance && std::abs(GetGValue(A) - GetGValue(B)) <= Tolerance &&
           std::abs(GetBValue(A) - GetBValue(B)) <= Tolerance;
}

int Distance(COLORREF A, COLORREF B) {
    return std::max({std::abs(GetRValue(A) - GetRValue(B)), std::abs(GetGValue(A) - GetGValue(B)),
                     std::abs(GetBValue(A) - GetBValue(B))});
}

// Waits until a menu window has no part left to paint.
bool WaitPainted(HWND Menu) {
    return WaitFor([&] { return !GetUpdateRect(Menu, nullptr, FALSE); });
}

// Waits until the screen shows the menu window's top-left corner as the skin's menu background has it.
bool ShowsFrameCorner(HWND Menu, TDataSkinObject& Background) {
    return WaitFor(
        [&] { return Near(TScreenPixels(WindowRectOf(Menu)).At(0, 0), BitmapPixel(*Background.Bitmap, 0, 0)); });
}

// What the strip at the right end of an item (where the system draws a sub-menu arrow) holds: pixels
// of Colour, and pure white ones (the system's arrow comes in a white box).
struct TArrowStrip {
    int Coloured = 0;
    int White = 0;
};

TArrowStrip ReadStrip(const RECT& Strip, COLORREF Colour) {
    const TScreenPixels Shot(Strip);
    TArrowStrip Found;
    for (int32_t Y = 0; Y < Shot.Height(); ++Y)
        for (int32_t X = 0; X < Shot.Width(); ++X) {
            if (Near(Shot.At(X, Y), Colour, 8)) ++Found.Coloured;
            if (Shot.At(X, Y) == RGB(255, 255, 255)) ++Found.White;
        }
    return Found;
}

TArrowStrip ReadArrowStrip(const RECT& Item, COLORREF Colour) {
    return ReadStrip(SystemSubMenuArrowRect(Item), Colour);
}

// The colour of an entry's caption and arrow now: the selected one while the entry is highlighted.
COLORREF CaptionColour(const TSkinData& Data, HMENU Menu, int Position) {
    const bool Selected = (GetMenuState(Menu, static_cast<UINT>(Position), MF_BYPOSITION) & MF_HILITE) != 0;
    return static_cast<COLORREF>(ColorToRGB(Data.FColors[Selected ? SkinColour::HilightText : SkinColour::MenuText]));
}

// Counts the clicks of the menu items.
class TClicks : public TObject {
public:
    void Click(TObject* Sender) { ++Counts[Sender]; }
    int Of(TObject* Item) const {
        const auto Found = Counts.find(Item);
        return Found == Counts.end() ? 0 : Found->second;
    }
    std::map<TObject*, int> Counts;
};

// The test form's menus: a bar with three drop-downs and an item without one, and a popup menu.
struct TMenus {
    TMainMenu* Main = nullptr;
    TMenuItem* File = nullptr;
    TMenuItem* New = nullptr;
    TMenuItem* Checked = nullptr;
    TMenuItem* Separator = nullptr;
    TMenuItem* Disabled = nullptr;
    TMenuItem* More = nullptr;  // with a sub-menu
    TMenuItem* Deeper = nullptr;
    TMenuItem* Edit = nullptr;
    TMenuItem* Copy = nullptr;
    TMenuItem* View = nullptr;
    TMenuItem* Go = nullptr;  // no drop-down
    TPopupMenu* Popup = nullptr;
    TMenuItem* PopupFirst = nullptr;
    TMenuItem* PopupChecked = nullptr;
    TMenuItem* PopupMore = nullptr;  // with a sub-menu
};

class MenuTest : public TSkinFormTest {
protected:
    TMenuItem* Add(TMenuItem* Parent, const std::string& Caption) {
        auto* Item = new TMenuItem(FForm);
        Item->SetCaption(Caption);
        Item->SetOnClick(TNotifyEvent(&FClicks, &TClicks::Click));
        Parent->Add(Item);
        return Item;
    }
    // A form with the menus, skinned with the package and in front.
    // RightToLeft gives the window the right-to-left reading layout (its scroll bar on the left) before
    // the skin comes.
    void MakeMenuForm(const std::vector<uint8_t>& Package, bool RightToLeft = false) {
        FForm = Make(320, 160);
        if (RightToLeft)
            SetWindowLongW(FForm->Handle(), GWL_EXSTYLE,
                           GetWindowLongW(FForm->Handle(), GWL_EXSTYLE) | WS_EX_LEFTSCROLLBAR | WS_EX_RTLREADING);
        TMenus& M = FMenus;
        M.Main = new TMainMenu(FForm);
        M.File = Add(M.Main->Items(), "&File");
        M.New = Add(M.File, "&New");
        M.New->SetShortCut(ShortCut('N', TShiftState{ssCtrl}));
        M.Checked = Add(M.File, "&Checked");
        M.Checked->SetChecked(true);
        M.Separator = Add(M.File, "-");
        M.Disabled = Add(M.File, "&Disabled");
        M.Disabled->SetEnabled(false);
        M.More = Add(M.File, "&More");
        M.Deeper = Add(M.More, "D&eeper");
        M.Edit = Add(M.Main->Items(), "&Edit");
        M.Copy = Add(M.Edit, "&Copy");
        M.View = Add(M.Main->Items(), "&View");
        Add(M.View, "&Large");
        M.Go = Add(M.Main->Items(), "&Go");
        FForm->SetMenu(M.Main);
        M.Popup = new TPopupMenu(FForm);
        M.PopupFirst = Add(M.Popup->Items(), "&First");
        M.PopupChecked = Add(M.Popup->Items(), "C&hecked");
        M.PopupChecked->SetChecked(true);
        M.PopupMore = Add(M.Popup->Items(), "&More");
        Add(M.PopupMore, "&Inside");
        FUnskinnedClient = ClientSizeOf(FForm->Handle());
        FData = AddSkinData(FForm, Package);
        ASSERT_TRUE(ShowSkinned(FForm));
        ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == FForm->Handle(); }));
        FWindow = FForm->Handle();
        FSkinner = SkinnerOf(FWindow);
        ASSERT_NE(FSkinner, nullptr);
        ASSERT_TRUE(FSkinner->FMenuBar != nullptr);
        FBar = dynamic_cast<TPellixMenu*>(FSkinner->FMenuBar.get());
        ASSERT_NE(FBar, nullptr);
    }
    // The bar's button on the screen.
    POINT ButtonPoint(int32_t Index) { return Centre(OnScreen(FWindow, FBar->Button(Index)->FBounds)); }

    TClicks FClicks;
    TMenus FMenus;
    TForm* FForm = nullptr;
    HWND FWindow = nullptr;
    TSkinData* FData = nullptr;
    TPellixForm* FSkinner = nullptr;
    TPellixMenu* FBar = nullptr;
    SIZE FUnskinnedClient{};  // with the system's menu bar
};

struct TSkinCase {
    const char* Name;
    const std::vector<uint8_t>& (*Package)();
};

class MenuSkinTest : public MenuTest, public ::testing::WithParamInterface<TSkinCase> {};

}  // namespace

// The bar, a drop-down and its items against the skin's bitmaps.
TEST_P(MenuSkinTest, TheBarAndADropDownWearTheSkin) {
    MakeMenuForm(GetParam().Package());
    if (HasFatalFailure()) return;
    EXPECT_EQ(GetMenu(FWindow), nullptr) << "the menu is taken off the window";
    EXPECT_EQ(FSkinner->FMenuHeight, GetSystemMetrics(SM_CYMENU));
    EXPECT_EQ(ClientSizeOf(FWindow).cy, FUnskinnedClient.cy) << "the client area keeps its size";
    EXPECT_EQ(ClientSizeOf(FWindow).cx, FUnskinnedClient.cx);
    ASSERT_EQ(FBar->ButtonCount(), 4);
    EXPECT_EQ(FBar->Button(0)->FCaption, L"&File");
    EXPECT_LT(FBar->Button(0)->FBounds.right, FBar->Button(1)->FBounds.left + 1);

    // The strip: frame 1 of "MenuBar" (two frames stacked) at its top and bottom rows, where no
    // caption is drawn.
    TDataSkinObject& Bar = *FData->FMenuBar;
    const RECT Strip = OnScreen(FWindow, FBar->FBarRect);
    const TScreenPixels StripShot(Strip);
    const int32_t CellHeight = Bar.Bitmap->Height() / 2;
    const int32_t X = StripShot.Width() - Bar.RightWidth - 3;
    EXPECT_TRUE(Near(StripShot.At(X, 0), BitmapPixel(*Bar.Bitmap, Bar.Bitmap->Width() / 2, 0)));
    const COLORREF Bottom = StripShot.At(X, StripShot.Height() - 1);
    EXPECT_TRUE(Near(Bottom, BitmapPixel(*Bar.Bitmap, Bar.Bitmap->Width() / 2, CellHeight - 1)) ||
                Near(Bottom, BitmapPixel(*Bar.Bitmap, Bar.Bitmap->Width() / 2, CellHeight - 2)));
    SaveScreenShot(WindowRectOf(FWindow), std::string("menubar-") + GetParam().Name);

    TDataSkinObject& Background = *FData->FMenuBackground;
    TDataSkinObject& Item = *FData->FMenuItem;
    const int32_t ItemCell = Item.Bitmap->Width() / 5;
    Drive([&] {
        Click(ButtonPoint(0));
        HWND Menu = WaitForMenu(FMenus.File->Handle());
        ASSERT_NE(Menu, nullptr) << "a click on the bar opens the drop-down";
        EXPECT_EQ(SendMessageW(Menu, WM_SKINQUERY, 0, 0), 1) << "the menu window is skinned";
        // Hover "New" so that it is drawn selected.
        const RECT New = EntryRect(Menu, FMenus.File->Handle(), 0);
        MoveMouse(POINT{New.right - 4, (New.top + New.bottom) / 2});
        WaitFor([&] { return (GetMenuState(FMenus.File->Handle(), 0, MF_BYPOSITION) & MF_HILITE) != 0; });
        EXPECT_TRUE(ShowsFrameCorner(Menu, Background)) << "the drop-down shows the skin's frame";
        const RECT Outer = WindowRectOf(Menu);
        const TScreenPixels Shot(Outer);
        SaveScreenShot(RECT{Outer.left - 40, Outer.top - 60, Outer.right + 10, Outer.bottom + 10},
                       std::string("dropdown-") + GetParam().Name);
        const int32_t W = Shot.Width();
        const int32_t H = Shot.Height();
        const int32_t BW = Background.Bitmap->Width();
        const int32_t BH = Background.Bitmap->Height();
        // The frame: the corners of "MenuBackground".
        EXPECT_TRUE(Near(Shot.At(0, 0), BitmapPixel(*Background.Bitmap, 0, 0)));
        EXPECT_TRUE(Near(Shot.At(1, 1), BitmapPixel(*Background.Bitmap, 1, 1)));
        EXPECT_TRUE(Near(Shot.At(W - 1, H - 1), BitmapPixel(*Background.Bitmap, BW - 1, BH - 1)));
        EXPECT_TRUE(Near(Shot.At(1, H / 2), BitmapPixel(*Background.Bitmap, 1, BH / 2)));
        // The selected item: frame 4 of "MenuItem" along its top row.
        const RECT Selected = EntryRect(Menu, FMenus.File->Handle(), 0);
        const int32_t SX = (Selected.left + Selected.right) / 2 - Outer.left;
        EXPECT_TRUE(
            Near(Shot.At(SX, Selected.top - Outer.top), BitmapPixel(*Item.Bitmap, 3 * ItemCell + ItemCell / 2, 0)))
            << "selected item";
        // A normal item: frame 1 is transparent there, so the background's middle shows.
        const RECT Normal = EntryRect(Menu, FMenus.File->Handle(), 1);
        EXPECT_TRUE(Near(Shot.At(Normal.right - Outer.left - 2, Normal.top - Outer.top),
                         BitmapPixel(*Background.Bitmap, BW / 2, BH / 2)))
            << "normal item";
        // The check mark of "Checked": dark pixels in its glyph box.
        int32_t Mark = 0;
        for (int32_t Y = Normal.top; Y < Normal.bottom; ++Y)
            for (int32_t MX = Normal.left; MX < Normal.left + Item.LeftWidth + 18; ++MX)
                if (Shot.At(MX - Outer.left, Y - Outer.top) == GetSysColor(COLOR_BTNTEXT)) ++Mark;
        EXPECT_GT(Mark, 4) << "a check mark is drawn";
        // The separator: frame 2's line rows.
        const RECT Line = EntryRect(Menu, FMenus.File->Handle(), 2);
        const int32_t LineTop = Item.Bitmap->Height() - (Line.bottom - Line.top);
        bool LineFound = false;
        for (int32_t Row = 0; Row < Line.bottom - Line.top; ++Row)
            if (Near(Shot.At((Line.left + Line.right) / 2 - Outer.left, Line.top + Row - Outer.top),
                     BitmapPixel(*Item.Bitmap, ItemCell + ItemCell / 2, LineTop + Row)) &&
                BitmapPixel(*Item.Bitmap, ItemCell + ItemCell / 2, LineTop + Row) != MagentaKey)
                LineFound = true;
        EXPECT_TRUE(LineFound) << "separator";
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitNoMenu()) << "Esc closes the drop-down";
    });
    EXPECT_EQ(FClicks.Of(FMenus.New), 0);
}

// Items with a sub-menu show the skin's own arrow in the caption's colour, not the system's arrow in
// its white box; a disabled caption stands out from the menu's background and differs from an
// enabled one.
TEST_P(MenuSkinTest, SubMenuArrowsAndDisabledCaptionsUseTheSkinsColours) {
    MakeMenuForm(GetParam().Package());
    if (HasFatalFailure()) return;
    const COLORREF Text = static_cast<COLORREF>(ColorToRGB(FData->FColors[SkinColour::MenuText]));
    const TDataSkinObject& Item = *FData->FMenuItem;
    Drive([&] {
        Click(ButtonPoint(0));
        HWND Menu = WaitForMenu(FMenus.File->Handle());
        ASSERT_NE(Menu, nullptr);
        ASSERT_TRUE(WaitPainted(Menu));
        // "More" against "Disabled" above it, which has no sub-menu: the same background. The screen
        // shows the painting a moment after it is done.
        TArrowStrip More;
        TArrowStrip Plain;
        const bool ArrowShown = WaitFor([&] {
            More = ReadArrowStrip(EntryRect(Menu, FMenus.File->Handle(), 4),
                                  CaptionColour(*FData, FMenus.File->Handle(), 4));
            Plain = ReadArrowStrip(EntryRect(Menu, FMenus.File->Handle(), 3), Text);
            return More.Coloured >= 10;
        });
        EXPECT_TRUE(ArrowShown) << "the arrow in the menu text's colour; " << More.Coloured
                                << " pixels of it; windows from front to back:\n"
                                << DescribeTopWindows();
        EXPECT_EQ(More.White, Plain.White) << "no white box of the system's arrow";

        // The disabled caption: its strongest pixel against the background beside it.
        const RECT Disabled = EntryRect(Menu, FMenus.File->Handle(), 3);
        int Strongest = 0;
        int LikeEnabled = 0;
        const bool CaptionShown = WaitFor([&] {
            const TScreenPixels Shot(Disabled);
            const COLORREF Back = Shot.At(Shot.Width() - Item.RightWidth - 3, Shot.Height() / 2);
            Strongest = 0;
            LikeEnabled = 0;
            for (int32_t Y = 2; Y < Shot.Height() - 2; ++Y)
                for (int32_t X = Item.LeftWidth + 2; X < Shot.Width() - Item.RightWidth - 2; ++X) {
                    Strongest = std::max(Strongest, Distance(Shot.At(X, Y), Back));
                    if (Near(Shot.At(X, Y), Text, 16)) ++LikeEnabled;
                }
            return Strongest >= 64;
        });
        EXPECT_TRUE(CaptionShown) << "the disabled caption is readable on the background; strongest difference "
                                  << Strongest;
        EXPECT_EQ(LikeEnabled, 0) << "the disabled caption is not drawn as an enabled one";
        SaveScreenShot(WindowRectOf(Menu), std::string("dropdown-disabled-") + GetParam().Name);
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitNoMenu());
    });
    // A popup menu's item with a sub-menu (drawn through the framework's popup list).
    Drive(
        [&] {
            HWND Menu = WaitForMenu(FMenus.Popup->Handle());
            ASSERT_NE(Menu, nullptr);
            ASSERT_TRUE(WaitPainted(Menu));
            TArrowStrip More;
            TArrowStrip Plain;
            EXPECT_TRUE(WaitFor([&] {
                More = ReadArrowStrip(EntryRect(Menu, FMenus.Popup->Handle(), 2),
                                      CaptionColour(*FData, FMenus.Popup->Handle(), 2));
                Plain = ReadArrowStrip(EntryRect(Menu, FMenus.Popup->Handle(), 0), Text);
                return More.Coloured >= 10;
            })) << "the popup's arrow in the menu text's colour; "
                << More.Coloured << " pixels of it; windows from front to back:\n"
                << DescribeTopWindows();
            EXPECT_EQ(More.White, Plain.White) << "no white box of the system's arrow in the popup";
            PressKey(VK_ESCAPE);
            EXPECT_TRUE(WaitNoMenu());
        },
        [&] {
            const RECT Outer = WindowRectOf(FWindow);
            FMenus.Popup->Popup(Outer.left + 60, Outer.top + 90);
        });
}

INSTANTIATE_TEST_SUITE_P(BothSkins, MenuSkinTest,
                         ::testing::Values(TSkinCase{"default", DefaultPackage},
                                           TSkinCase{"graphite", GraphitePackage}),
                         [](const auto& Info) { return std::string(Info.param.Name); });

TEST_F(MenuTest, KeyboardOpensMovesAndRuns) {
    MakeMenuForm(DefaultPackage());
    if (HasFatalFailure()) return;
    Drive([&] {
        PressKey('F', VK_MENU);
        ASSERT_NE(WaitForMenu(FMenus.File->Handle()), nullptr) << "Alt+F opens File";
        PressKey(VK_RIGHT);
        EXPECT_NE(WaitForMenu(FMenus.Edit->Handle()), nullptr) << "right moves to Edit";
        PressKey(VK_LEFT);
        EXPECT_NE(WaitForMenu(FMenus.File->Handle()), nullptr) << "left moves back to File";
        WaitFor([&] { return (GetMenuState(FMenus.File->Handle(), 0, MF_BYPOSITION) & MF_HILITE) != 0; });
        PressKey(VK_RETURN);
        EXPECT_TRUE(WaitNoMenu());
    });
    PumpUntil([&] { return FClicks.Of(FMenus.New) > 0; });
    EXPECT_EQ(FClicks.Of(FMenus.New), 1) << "Enter runs the first item once";
}

// A right-to-left window: the bar's items from the right end, the drop-down under an item's right
// edge, left and right exchanged while a drop-down is open, and the items mirrored (the sub-menu arrow
// at the left end, pointing left).
TEST_F(MenuTest, ARightToLeftBarAndItsItemsAreMirrored) {
    MakeMenuForm(DefaultPackage(), true);
    if (HasFatalFailure()) return;
    ASSERT_TRUE(FSkinner->FRightToLeft);
    ASSERT_EQ(FBar->ButtonCount(), 4);
    const TDataSkinObject& Strip = *FData->FMenuBar;
    const RECT Bar = FBar->FBarRect;
    constexpr int32_t RightToLeftGap = 8;
    EXPECT_EQ(FBar->Button(0)->FBounds.right, Bar.right - Strip.RightWidth - RightToLeftGap)
        << "the first item at the right end";
    for (int32_t Index = 1; Index < FBar->ButtonCount(); ++Index)
        EXPECT_EQ(FBar->Button(Index)->FBounds.right, FBar->Button(Index - 1)->FBounds.left)
            << "item " << Index << " left of the one before";
    Drive([&] {
        Click(ButtonPoint(0));
        HWND Menu = WaitForMenu(FMenus.File->Handle());
        ASSERT_NE(Menu, nullptr);
        const RECT Button = OnScreen(FWindow, FBar->Button(0)->FBounds);
        EXPECT_NEAR(WindowRectOf(Menu).right, Button.right, 2) << "the drop-down ends under the item's right edge";
        // The arrow of "More" at its left end; nothing of it at the right end, where the system's goes.
        const RECT More = EntryRect(Menu, FMenus.File->Handle(), 4);
        const RECT RightStrip = SystemSubMenuArrowRect(More);
        const RECT LeftStrip{More.left, More.top, More.left + (RightStrip.right - RightStrip.left), More.bottom};
        int Left = 0;
        int Right = 0;
        const bool Mirrored = WaitFor([&] {
            Left = ReadStrip(LeftStrip, CaptionColour(*FData, FMenus.File->Handle(), 4)).Coloured;
            Right = ReadStrip(RightStrip, CaptionColour(*FData, FMenus.File->Handle(), 4)).Coloured;
            return Left >= 10 && Right == 0;
        });
        EXPECT_TRUE(Mirrored) << "arrow pixels: " << Left << " at the left end, " << Right << " at the right end";
        SaveScreenShot(RECT{WindowRectOf(Menu).left, Button.top, Button.right + 4, WindowRectOf(Menu).bottom},
                       "dropdown-right-to-left");
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitNoMenu());
        // From the keyboard: left goes on to Edit (left of File), right comes back.
        PressKey('F', VK_MENU);
        ASSERT_NE(WaitForMenu(FMenus.File->Handle()), nullptr);
        PressKey(VK_LEFT);
        EXPECT_NE(WaitForMenu(FMenus.Edit->Handle()), nullptr) << "left moves on to Edit";
        PressKey(VK_RIGHT);
        EXPECT_NE(WaitForMenu(FMenus.File->Handle()), nullptr) << "right moves back to File";
        PressKey(VK_ESCAPE);
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitNoMenu());
    });
}

namespace {

// A window of this module that is no form: its menu's commands are counted.
std::map<UINT, int> PlainCommands;

LRESULT CALLBACK PlainWindowProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    if (Msg == WM_COMMAND && HIWORD(WParam) == 0) ++PlainCommands[LOWORD(WParam)];
    return DefWindowProcW(Window, Msg, WParam, LParam);
}

constexpr UINT PlainOpen = 101;
constexpr UINT PlainEmpty = 102;
constexpr UINT PlainInner = 103;
constexpr UINT PlainAbout = 201;

}  // namespace

// A plain window's menu (no framework items behind it): the bar drawn by the skin, the drop-down's
// entries made owner-drawn while it is open, measured from their own text and drawn from the skin
// (an empty entry too, and a sub-menu's arrow), its command reaching the window, and the entries
// given back as they were.
TEST_F(MenuTest, APlainWindowsMenuIsMeasuredAndDrawnFromItsOwnEntries) {
    TForm* Owner = Make();
    TSkinData* Data = AddSkinData(Owner, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Owner));
    WNDCLASSW Class{};
    Class.lpfnWndProc = PlainWindowProc;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    Class.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
    Class.lpszClassName = L"QuirnPlainMenuWindow";
    RegisterClassW(&Class);
    // The window owns its menu and the sub-menus in it.
    HMENU Inner = CreatePopupMenu();
    AppendMenuW(Inner, MF_STRING, PlainInner, L"Inner");
    HMENU File = CreatePopupMenu();
    AppendMenuW(File, MF_STRING, PlainOpen, L"&Open\tCtrl+O");
    AppendMenuW(File, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(File, MF_STRING, PlainEmpty, L"");
    AppendMenuW(File, MF_POPUP, reinterpret_cast<UINT_PTR>(Inner), L"&Sub");
    HMENU Help = CreatePopupMenu();
    AppendMenuW(Help, MF_STRING, PlainAbout, L"&About");
    HMENU Bar = CreateMenu();
    AppendMenuW(Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(File), L"&File");
    AppendMenuW(Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(Help), L"&Help");
    const HWND Window =
        Keep(CreateWindowExW(0, Class.lpszClassName, L"plain window with a menu", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                             FormLeft + 300, FormTop + 40, 300, 180, nullptr, Bar, GetModuleHandleW(nullptr), nullptr));
    ASSERT_NE(Window, nullptr);
    SetForegroundWindow(Window);
    ASSERT_TRUE(WaitSkinned(Window));
    TPellixForm* Skinner = SkinnerOf(Window);
    ASSERT_NE(Skinner, nullptr);
    EXPECT_EQ(Skinner->FForm, nullptr);
    ASSERT_TRUE(Skinner->FMenuBar != nullptr);
    auto* PlainBar = dynamic_cast<TPellixMenu*>(Skinner->FMenuBar.get());
    ASSERT_NE(PlainBar, nullptr);
    ASSERT_EQ(PlainBar->ButtonCount(), 2);
    EXPECT_EQ(GetMenu(Window), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Window; }));

    const TDataSkinObject& Item = *Data->FMenuItem;
    const COLORREF Text = static_cast<COLORREF>(ColorToRGB(Data->FColors[SkinColour::MenuText]));
    PlainCommands.clear();
    Drive([&] {
        Click(Centre(OnScreen(Window, PlainBar->Button(0)->FBounds)));
        HWND Menu = WaitForMenu(File);
        ASSERT_NE(Menu, nullptr);
        EXPECT_EQ(SendMessageW(Menu, WM_SKINQUERY, 0, 0), 1);
        MENUITEMINFOW Info{};
        Info.cbSize = sizeof(Info);
        Info.fMask = MIIM_FTYPE;
        ASSERT_TRUE(GetMenuItemInfoW(File, 0, TRUE, &Info));
        EXPECT_NE(Info.fType & MFT_OWNERDRAW, 0u) << "owner-drawn while open";
        // Measured from the entry's own text: the caption and its shortcut fit with room to spare.
        const RECT Open = EntryRect(Menu, File, 0);
        {
            win::WindowFrameDC Dc(Window);
            const win::SelectedObject Font(Dc.get(), Skinner->FMenuFont->Handle());
            RECT Extent{0, 0, 0, 0};
            DrawTextW(Dc.get(), L"Open\tCtrl+O", -1, &Extent, DT_CALCRECT | DT_SINGLELINE | DT_EXPANDTABS);
            EXPECT_GE(Open.right - Open.left, Extent.right + Item.LeftWidth + 20) << "the entry's width";
            EXPECT_GE(Open.bottom - Open.top, Extent.bottom) << "the entry's height";
        }
        // The shortcut after the tab is drawn at the entry's right end.
        int ShortcutPixels = 0;
        EXPECT_TRUE(WaitFor([&] {
            ShortcutPixels = ReadStrip(RECT{(Open.left + Open.right) / 2, Open.top, Open.right, Open.bottom},
                                       CaptionColour(*Data, File, 0))
                                 .Coloured;
            return ShortcutPixels >= 10;
        })) << "the shortcut's text; "
            << ShortcutPixels << " pixels of it";
        const RECT Empty = EntryRect(Menu, File, 2);
        EXPECT_GT(Empty.bottom - Empty.top, 0) << "an empty entry keeps a height";
        // The sub-menu's entry has the skin's arrow, not the system's white box.
        TArrowStrip Sub;
        const RECT SubEntry = EntryRect(Menu, File, 3);
        EXPECT_TRUE(WaitFor([&] {
            return (Sub = ReadArrowStrip(SubEntry, CaptionColour(*Data, File, 3))).Coloured >= 10;
        })) << "the arrow of the sub-menu's entry; "
            << Sub.Coloured << " pixels of it";
        EXPECT_EQ(Sub.White, ReadArrowStrip(Open, Text).White) << "no white box of the system's arrow";
        // The entry under the mouse: frame 4 of "MenuItem" along its top row.
        MoveMouse(POINT{Open.right - 4, (Open.top + Open.bottom) / 2});
        const int32_t Cell = Item.Bitmap->Width() / 5;
        const COLORREF Selected = BitmapPixel(*Item.Bitmap, 3 * Cell + Cell / 2, 0);
        EXPECT_TRUE(WaitFor([&] {
            const TScreenPixels Row(RECT{Open.left, Open.top, Open.right, Open.top + 1});
            return Near(Row.At((Open.right - Open.left) / 2, 0), Selected);
        })) << "the selected entry drawn from the skin";
        const RECT Outer = WindowRectOf(Menu);
        SaveScreenShot(RECT{Outer.left - 40, Outer.top - 50, Outer.right + 10, Outer.bottom + 10},
                       "dropdown-plain-window");
        Click(POINT{Open.right - 4, (Open.top + Open.bottom) / 2});
        EXPECT_TRUE(WaitNoMenu());
    });
    EXPECT_TRUE(PumpUntil([] { return PlainCommands[PlainOpen] > 0; })) << "the command reaches the window";
    EXPECT_EQ(PlainCommands[PlainOpen], 1);
    MENUITEMINFOW Info{};
    Info.cbSize = sizeof(Info);
    Info.fMask = MIIM_FTYPE;
    for (int Position : {0, 2, 3}) {
        ASSERT_TRUE(GetMenuItemInfoW(File, static_cast<UINT>(Position), TRUE, &Info));
        EXPECT_EQ(Info.fType & MFT_OWNERDRAW, 0u) << "entry " << Position << " given back as it was";
    }
}

namespace {

// A multiple-document frame of plain windows: the frame passes its messages to the default frame
// procedure with its MDI client, the children theirs to the default child procedure.
HWND TestMDIClient = nullptr;

LRESULT CALLBACK MDIFrameProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return DefFrameProcW(Window, TestMDIClient, Msg, WParam, LParam);
}

LRESULT CALLBACK MDIChildProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return DefMDIChildProcW(Window, Msg, WParam, LParam);
}

void RegisterTestClass(const wchar_t* Name, WNDPROC Proc) {
    WNDCLASSW Class{};
    Class.lpfnWndProc = Proc;
    Class.hInstance = GetModuleHandleW(nullptr);
    Class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    Class.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
    Class.lpszClassName = Name;
    RegisterClassW(&Class);
}

// How many of a cell's opaque pixels the screen shows at Place (the cell drawn there unscaled).
int MatchingPixels(TBitmap& Image, const RECT& Cell, const RECT& Place, int& Opaque) {
    const TScreenPixels Shot(Place);
    int Matching = 0;
    Opaque = 0;
    for (int32_t Y = 0; Y < Cell.bottom - Cell.top && Y < Shot.Height(); ++Y)
        for (int32_t X = 0; X < Cell.right - Cell.left && X < Shot.Width(); ++X) {
            const COLORREF Source = BitmapPixel(Image, Cell.left + X, Cell.top + Y);
            if (Source == MagentaKey) continue;
            ++Opaque;
            if (Near(Shot.At(X, Y), Source, 8)) ++Matching;
        }
    return Matching;
}

}  // namespace

// An MDI frame whose active child is maximized: the child's minimize, restore and close buttons from
// the skin's "MDICONTROLS" image sit at the right end of the frame's skinned bar, after its items; the
// close button closes the child and the buttons go.
class MDIMenuTest : public MenuTest, public ::testing::WithParamInterface<bool> {};

TEST_P(MDIMenuTest, AMaximizedMDIChildsButtonsSitOnTheFramesBar) {
    const bool RightToLeft = GetParam();
    TForm* Owner = Make();
    AddSkinData(Owner, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Owner));
    RegisterTestClass(L"QuirnMenuTestMDIFrame", MDIFrameProc);
    RegisterTestClass(L"QuirnMenuTestMDIChild", MDIChildProc);
    HMENU File = CreatePopupMenu();
    AppendMenuW(File, MF_STRING, 1, L"&New");
    HMENU Bar = CreateMenu();
    AppendMenuW(Bar, MF_POPUP, reinterpret_cast<UINT_PTR>(File), L"&File");
    const HINSTANCE Module = GetModuleHandleW(nullptr);
    const HWND Frame = Keep(CreateWindowExW(RightToLeft ? WS_EX_LEFTSCROLLBAR : 0, L"QuirnMenuTestMDIFrame",
                                            L"MDI frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FormLeft + 280,
                                            FormTop + 20, 420, 300, nullptr, Bar, Module, nullptr));
    ASSERT_NE(Frame, nullptr);
    CLIENTCREATESTRUCT ClientCreate{nullptr, 5000};
    TestMDIClient = CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, 0,
                                    0, 400, 220, Frame, nullptr, Module, &ClientCreate);
    ASSERT_NE(TestMDIClient, nullptr);
    ShowWindow(Frame, SW_SHOW);
    SetForegroundWindow(Frame);
    ASSERT_TRUE(WaitSkinned(Frame));
    TPellixForm* Skinner = SkinnerOf(Frame);
    ASSERT_NE(Skinner, nullptr);
    ASSERT_TRUE(Skinner->FMenuBar != nullptr);
    auto* FrameBar = dynamic_cast<TPellixMenu*>(Skinner->FMenuBar.get());
    ASSERT_NE(FrameBar, nullptr);

    MDICREATESTRUCTW ChildCreate{};
    ChildCreate.szClass = L"QuirnMenuTestMDIChild";
    ChildCreate.szTitle = L"Child";
    ChildCreate.hOwner = Module;
    ChildCreate.x = ChildCreate.y = ChildCreate.cx = ChildCreate.cy = CW_USEDEFAULT;
    ChildCreate.style = WS_MAXIMIZE | WS_VISIBLE;
    const auto Child =
        reinterpret_cast<HWND>(SendMessageW(TestMDIClient, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&ChildCreate)));
    ASSERT_NE(Child, nullptr);
    std::vector<TWinSysButton*> ChildButtons;
    for (const auto& Button : Skinner->FSysButtons)
        if (Button->FElement->Visibility == 100 && !Button->FElement->Bitmap->Empty())
            ChildButtons.push_back(Button.get());
    ASSERT_EQ(ChildButtons.size(), 3u) << "the skin's minimize, restore and close of a maximized child";
    EXPECT_TRUE(PumpUntil([&] {
        return std::all_of(ChildButtons.begin(), ChildButtons.end(), [](TWinSysButton* B) { return B->FVisible; });
    })) << "the child's buttons shown";
    const RECT Strip = FrameBar->FBarRect;
    TWinSysButton* Close = nullptr;
    for (TWinSysButton* Button : ChildButtons) {
        const RECT& At = Button->FBounds;
        EXPECT_GE(At.top, Strip.top);
        EXPECT_LE(At.bottom, Strip.bottom + 1);
        EXPECT_LE(At.right, Strip.right) << "inside the bar";
        for (int32_t Index = 0; Index < FrameBar->ButtonCount(); ++Index)
            EXPECT_LE(FrameBar->Button(Index)->FBounds.right, At.left) << "the bar's items before the buttons";
        if (Button->FElement->Action == 9) Close = Button;
    }
    ASSERT_NE(Close, nullptr);
    if (RightToLeft) {
        // The items end a little before the leftmost of the child's buttons.
        constexpr int32_t GapBeforeButtons = 5;
        LONG Leftmost = Strip.right;
        for (TWinSysButton* Button : ChildButtons) Leftmost = std::min(Leftmost, Button->FBounds.left);
        EXPECT_EQ(FrameBar->Button(0)->FBounds.right, Leftmost - GapBeforeButtons);
    }
    // The close button on the screen: frame 1 of its image.
    TBitmap& Image = *Close->FElement->Bitmap;
    const int32_t CellWidth = Image.Width() / Close->FElement->Frame;
    const RECT Cell{0, 0, CellWidth, Image.Height()};
    int Opaque = 0;
    int Matching = 0;
    const RECT OnTheScreen = OnScreen(Frame, Close->FBounds);
    EXPECT_TRUE(WaitFor([&] {
        Matching = MatchingPixels(Image, Cell, OnTheScreen, Opaque);
        return Opaque > 0 && Matching * 10 >= Opaque * 9;
    })) << Matching
        << " of " << Opaque << " pixels of the close button's image";
    SaveScreenShot(WindowRectOf(Frame), "mdi-maximized-child");

    Drive([&] { Click(Centre(OnTheScreen)); });
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(Child); })) << "the close button closes the child";
    EXPECT_TRUE(PumpUntil([&] {
        return std::none_of(ChildButtons.begin(), ChildButtons.end(), [](TWinSysButton* B) { return B->FVisible; });
    })) << "the child's buttons gone";
    EXPECT_TRUE(WaitFor([&] {
        Matching = MatchingPixels(Image, Cell, OnTheScreen, Opaque);
        return Matching * 2 < Opaque;
    })) << Matching
        << " of " << Opaque << " pixels of the close button's image still on the bar";
    TestMDIClient = nullptr;
}

INSTANTIATE_TEST_SUITE_P(BothDirections, MDIMenuTest, ::testing::Values(false, true),
                         [](const auto& Info) { return std::string(Info.param ? "RightToLeft" : "LeftToRight"); });

TEST_F(MenuTest, TheMouseMovesBetweenDropDownsAndADisabledItemDoesNothing) {
    MakeMenuForm(GraphitePackage());
    if (HasFatalFailure()) return;
    Drive([&] {
        Click(ButtonPoint(0));
        HWND Menu = WaitForMenu(FMenus.File->Handle());
        ASSERT_NE(Menu, nullptr);
        const RECT Disabled = EntryRect(Menu, FMenus.File->Handle(), 3);
        Click(Centre(Disabled));
        Sleep(150);
        EXPECT_FALSE(MenuWindows().empty()) << "a click on a disabled item leaves the menu open";
        MoveMouse(ButtonPoint(1));
        HWND Edit = WaitForMenu(FMenus.Edit->Handle());
        const std::vector<HWND> Open = MenuWindows();
        EXPECT_NE(Edit, nullptr) << "the mouse over Edit opens its drop-down; open: " << Open.size() << " showing "
                                 << (Open.empty() ? nullptr : MenuShownBy(Open.front())) << ", File is "
                                 << FMenus.File->Handle();
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitNoMenu());
    });
    EXPECT_EQ(FClicks.Of(FMenus.Disabled), 0);
    // An item without a drop-down only raises its click.
    Drive([&] { Click(ButtonPoint(3)); });
    PumpUntil([&] { return FClicks.Of(FMenus.Go) > 0; });
    EXPECT_EQ(FClicks.Of(FMenus.Go), 1);
    EXPECT_TRUE(MenuWindows().empty());
}

TEST_F(MenuTest, PopupMenusAndTheSystemMenuAreSkinned) {
    MakeMenuForm(DefaultPackage());
    if (HasFatalFailure()) return;
    TDataSkinObject& Background = *FData->FMenuBackground;
    const RECT Outer = WindowRectOf(FWindow);
    Drive(
        [&] {
            HWND Menu = WaitForMenu(FMenus.Popup->Handle());
            ASSERT_NE(Menu, nullptr) << "Popup(x, y) shows the menu";
            EXPECT_EQ(SendMessageW(Menu, WM_SKINQUERY, 0, 0), 1);
            EXPECT_TRUE(ShowsFrameCorner(Menu, Background)) << "the popup shows the skin's frame";
            SaveScreenShot(WindowRectOf(Menu), "popup-default");
            Click(Centre(EntryRect(Menu, FMenus.Popup->Handle(), 0)));
            EXPECT_TRUE(WaitNoMenu());
        },
        [&] { FMenus.Popup->Popup(Outer.left + 60, Outer.top + 90); });
    PumpUntil([&] { return FClicks.Of(FMenus.PopupFirst) > 0; });
    EXPECT_EQ(FClicks.Of(FMenus.PopupFirst), 1);

    // The system menu from a right click on the caption.
    const POINT Caption{Outer.left + (Outer.right - Outer.left) / 2, Outer.top + FSkinner->FTitleHeight / 2};
    Drive([&] {
        Click(Caption, true);
        HWND Menu = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (Menu = TopMenuWindow()) != nullptr; }));
        EXPECT_EQ(SendMessageW(Menu, WM_SKINQUERY, 0, 0), 1) << "the system menu is skinned";
        EXPECT_TRUE(ShowsFrameCorner(Menu, Background)) << "the system menu shows the skin's frame";
        SaveScreenShot(WindowRectOf(Menu), "systemmenu-default");
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitNoMenu());
    });
}

TEST_F(MenuTest, SkinOffGivesTheMenuBackAndChangesRebuildTheBar) {
    MakeMenuForm(DefaultPackage());
    if (HasFatalFailure()) return;
    // A caption changed while skinned shows on the bar.
    FMenus.Edit->SetCaption("&Change");
    Pump();
    EXPECT_EQ(FBar->Button(1)->FCaption, L"&Change");
    EXPECT_EQ(GetMenu(FWindow), nullptr);
    const SIZE Client = ClientSizeOf(FWindow);
    FData->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(FWindow));
    EXPECT_EQ(GetMenu(FWindow), FMenus.Main->Handle()) << "the window has its menu back";
    EXPECT_EQ(ClientSizeOf(FWindow).cy, Client.cy);
    EXPECT_EQ(ClientSizeOf(FWindow).cx, Client.cx);
}

TEST_F(MenuTest, ManyPopupsAndRebuildsLeaveNoObjectBehind) {
    MakeMenuForm(DefaultPackage());
    if (HasFatalFailure()) return;
    // Each popup is closed by a timer as soon as it shows.
    const UINT_PTR Timer = SetTimer(nullptr, 0, 1, CloseShownMenu);
    auto Cycle = [&] { FMenus.Popup->Popup(200, 200); };
    for (int Warm = 0; Warm < 5; ++Warm) Cycle();
    Pump();
    const GdiObjectCounter Counter;
    const UserObjectCounter UserCounter;
    for (int Round = 0; Round < 1000; ++Round) Cycle();
    Pump();
    KillTimer(nullptr, Timer);
    EXPECT_EQ(Counter.Leaked(), GdiObjectCounts{}) << "1000 popups";
    EXPECT_EQ(UserCounter.Leaked(), UserObjectCounts{}) << "1000 popups";
    std::cout << "after 1000 popups: GDI " << GdiObjectCounter::Count().ToString() << " (before "
              << Counter.Start().ToString() << "); USER " << UserObjectCounter::Count().ToString() << " (before "
              << UserCounter.Start().ToString() << ")\n";
    EXPECT_TRUE(SkinManager->FPopups.empty());

    const GdiObjectCounter Rebuilds;
    const UserObjectCounter UserRebuilds;
    for (int Round = 0; Round < 200; ++Round) FMenus.View->SetCaption(Round % 2 == 0 ? "&Look" : "&View");
    Pump();
    EXPECT_EQ(Rebuilds.Leaked(), GdiObjectCounts{}) << "200 menu-bar rebuilds";
    EXPECT_EQ(UserRebuilds.Leaked(), UserObjectCounts{}) << "200 menu-bar rebuilds";
    std::cout << "after 200 menu-bar rebuilds: GDI " << GdiObjectCounter::Count().ToString() << " (before "
              << Rebuilds.Start().ToString() << "); USER " << UserObjectCounter::Count().ToString() << " (before "
              << UserRebuilds.Start().ToString() << ")\n";
    // The counters see the menus: the bar's menu is one of them.
    EXPECT_GT(UserObjectCounter::Count().Menus, 0);
    EXPECT_EQ(FBar->ButtonCount(), 4);
    EXPECT_EQ(GetMenu(FWindow), nullptr);
}

namespace {

// What the timers of the hostile-menu test do while a drop-down is tracked.
TMenuItem* ChangedWhileTracked = nullptr;
TForm* DestroyedWhileTracked = nullptr;

void CALLBACK ChangeTrackedMenu(HWND, UINT, UINT_PTR Timer, DWORD) {
    if (MenuWindows().empty()) return;
    KillTimer(nullptr, Timer);
    ChangedWhileTracked->SetCaption("&Renamed");
    auto* Added = new TMenuItem(ChangedWhileTracked->Owner());
    Added->SetCaption("&Added");
    ChangedWhileTracked->Parent()->Add(Added);
    EndMenu();
}

void CALLBACK DestroyTrackingForm(HWND, UINT, UINT_PTR Timer, DWORD) {
    if (MenuWindows().empty()) return;
    KillTimer(nullptr, Timer);
    FreeForm(DestroyedWhileTracked);
}

// While a popup menu of the form shows: frees the form (and with it the popup menu and its items) on
// one tick, and ends the menu, which the popup list's window still tracks, on a later one.
void CALLBACK DestroyFormUnderItsPopup(HWND, UINT, UINT_PTR Timer, DWORD) {
    if (MenuWindows().empty()) return;
    if (DestroyedWhileTracked != nullptr) {
        FreeForm(DestroyedWhileTracked);
        DestroyedWhileTracked = nullptr;
        return;
    }
    KillTimer(nullptr, Timer);
    EndMenu();
}

}  // namespace

TEST_F(MenuTest, HostileMenusNeitherCrashNorLeak) {
    MakeMenuForm(DefaultPackage());
    if (HasFatalFailure()) return;
    // A popup of hundreds of items, empty and very long captions among them.
    for (int Index = 0; Index < 300; ++Index)
        Add(FMenus.Popup->Items(), Index % 50 == 0 ? std::string() : Index % 7 == 0 ? std::string(400, 'W') : "Item");
    const UINT_PTR Closer = SetTimer(nullptr, 0, 1, CloseShownMenu);
    FMenus.Popup->Popup(100, 100);
    KillTimer(nullptr, Closer);
    EXPECT_TRUE(SkinManager->FPopups.empty());

    // The bar's menu changed while its drop-down is open: the bar follows once it closes.
    ChangedWhileTracked = FMenus.Edit;
    SetTimer(nullptr, 0, 1, ChangeTrackedMenu);
    Drive([&] { Click(ButtonPoint(0)); });
    ASSERT_TRUE(PumpUntil([&] { return FBar->Button(1) != nullptr && FBar->Button(1)->FCaption == L"&Renamed"; }));
    EXPECT_EQ(FBar->ButtonCount(), 5);
    EXPECT_EQ(GetMenu(FWindow), nullptr);

    // The form destroyed while its drop-down is open.
    DestroyedWhileTracked = FForm;
    FForms.clear();  // freed by the timer
    SetTimer(nullptr, 0, 1, DestroyTrackingForm);
    const POINT File = ButtonPoint(0);
    Drive([&] {
        Sleep(GetDoubleClickTime() + 50);  // not a double click with the click before
        Click(File);
    });
    EXPECT_TRUE(PumpUntil([&] { return MenuWindows().empty() && !IsWindow(FWindow); }));
    EXPECT_FALSE(IsWindow(FWindow));
    SkinManager->PurgeForms();
    EXPECT_EQ(SkinManager->FindForm(FWindow), nullptr);
    EXPECT_TRUE(SkinManager->FPopups.empty());
}

// The form freed while its own popup menu (shown by Popup(x, y)) is open: the menu's items and handle
// go with it, the menu window ends, and no skinner or popup skinner is left.
TEST_F(MenuTest, AFormFreedUnderItsOpenPopupMenuLeavesNothingBehind) {
    MakeMenuForm(GraphitePackage());
    if (HasFatalFailure()) return;
    const RECT Outer = WindowRectOf(FWindow);
    TPopupMenu* Popup = FMenus.Popup;
    DestroyedWhileTracked = FForm;
    FForms.clear();  // freed by the timer
    const UINT_PTR Timer = SetTimer(nullptr, 0, 1, DestroyFormUnderItsPopup);
    Popup->Popup(Outer.left + 60, Outer.top + 90);  // returns when the menu has ended
    KillTimer(nullptr, Timer);
    EXPECT_EQ(DestroyedWhileTracked, nullptr) << "the form was freed while its popup showed";
    EXPECT_TRUE(PumpUntil([&] { return MenuWindows().empty(); }));
    EXPECT_FALSE(IsWindow(FWindow));
    SkinManager->PurgeForms();
    EXPECT_EQ(SkinManager->FindForm(FWindow), nullptr);
    EXPECT_TRUE(SkinManager->FPopups.empty());
}
