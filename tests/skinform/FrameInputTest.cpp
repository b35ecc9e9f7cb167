// The skinned frame driven as a user drives it, with real mouse and keyboard input (SendInput) from a
// driver thread while the forms' thread runs the system's modal loops: dragging the caption, double
// clicks, the system menu from a right click and from Alt+Space, the maximize, minimize and restore
// buttons, an inactive window that ignores the mouse over its frame, the caption-button hint, and a
// message box of a skinned program.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <vector>

#include "InputDriver.h"
#include "InputScript.h"
#include "ScreenPixels.h"
#include "SkinFixtures.h"
#include "SkinFormKit.h"
#include "framework/controls/HintWindow.h"
#include "framework/controls/Menu.h"

using namespace formtest;
using namespace realinput;

namespace {

constexpr wchar_t PopupMenuClass[] = L"#32768";
constexpr UINT MenuHandleQuery = 0x01E1;  // MN_GETHMENU: the menu a popup window shows

BOOL CALLBACK CollectVisibleMenu(HWND Window, LPARAM Data) {
    wchar_t Name[16]{};
    GetClassNameW(Window, Name, 16);
    if (std::wstring(Name) == PopupMenuClass && IsWindowVisible(Window))
        reinterpret_cast<std::vector<HWND>*>(Data)->push_back(Window);
    return TRUE;
}

// The visible popup-menu window, or null.
HWND VisibleMenu() {
    std::vector<HWND> Windows;
    EnumWindows(CollectVisibleMenu, reinterpret_cast<LPARAM>(&Windows));
    return Windows.empty() ? nullptr : Windows.front();
}

// The texts of a menu's items.
std::vector<std::wstring> MenuTexts(HMENU Menu) {
    std::vector<std::wstring> Texts;
    for (int Position = 0; Position < GetMenuItemCount(Menu); ++Position) {
        wchar_t Text[80]{};
        GetMenuStringW(Menu, static_cast<UINT>(Position), Text, 80, MF_BYPOSITION);
        Texts.emplace_back(Text);
    }
    return Texts;
}

bool HasText(const std::vector<std::wstring>& Texts, const std::wstring& Part) {
    for (const std::wstring& Text : Texts)
        if (Text.find(Part) != std::wstring::npos) return true;
    return false;
}

// A window rectangle (window coordinates) moved to the screen.
RECT OnScreen(HWND Window, const RECT& Rect) {
    const RECT Outer = WindowRectOf(Window);
    RECT Moved = Rect;
    OffsetRect(&Moved, Outer.left, Outer.top);
    return Moved;
}

// A point on the caption away from the buttons, the icon and the text.
POINT CaptionPoint(HWND Window, const TPellixForm& Skinner) {
    const RECT Outer = WindowRectOf(Window);
    return POINT{Outer.left + (Outer.right - Outer.left) / 2 + 20, Outer.top + Skinner.FTitleHeight / 2};
}

TWinSysButton* ButtonOf(TPellixForm& Skinner, int32_t Action) {
    for (const auto& Button : Skinner.FSysButtons)
        if (Button->FElement->Action == Action && Button->FVisible && !Button->FElement->Bitmap->Empty())
            return Button.get();
    return nullptr;
}

// How many pixels of a caption button on the screen differ from frame Frame of its picture
// (transparent pixels are not compared).
int32_t ButtonMismatches(HWND Window, const TWinSysButton& Button, int32_t Frame) {
    const TDataSkinSysButton& Element = *Button.FElement;
    const int32_t CellWidth = Element.Bitmap->Width() / std::max(Element.Frame, 1);
    const TScreenPixels Shot(OnScreen(Window, Button.FBounds));
    int32_t Mismatches = 0;
    for (int32_t Y = 0; Y < Element.Bitmap->Height(); ++Y)
        for (int32_t X = 0; X < CellWidth; ++X) {
            const COLORREF Want = BitmapPixel(*Element.Bitmap, (Frame - 1) * CellWidth + X, Y);
            if (Want != MagentaKey && Shot.At(X, Y) != Want) ++Mismatches;
        }
    return Mismatches;
}

// A form skinned with the default skin and one of its caption buttons.
struct TSkinnedButton {
    HWND Window = nullptr;
    TPellixForm* Skinner = nullptr;
    TWinSysButton* Button = nullptr;  // null when the form shows none of that action
    POINT At{};                       // the button's centre on the screen
};

class FrameInputTest : public TSkinFormTest {
protected:
    // A sizeable form with both boxes, skinned with the default skin and in front.
    TForm* SkinnedForm(int32_t Width = 300, int32_t Height = 180) {
        TForm* Form = Make(Width, Height);
        FData = AddSkinData(Form, DefaultPackage());
        EXPECT_TRUE(ShowSkinned(Form));
        EXPECT_TRUE(PumpUntil([&] { return GetForegroundWindow() == Form->Handle(); }));
        return Form;
    }
    // Such a form and its visible caption button of the action.
    TSkinnedButton SkinnedFormButton(int32_t Action) {
        TSkinnedButton Found;
        Found.Window = SkinnedForm()->Handle();
        Found.Skinner = SkinnerOf(Found.Window);
        if (Found.Skinner == nullptr) return Found;
        Found.Button = ButtonOf(*Found.Skinner, Action);
        if (Found.Button != nullptr) Found.At = Centre(OnScreen(Found.Window, Found.Button->FBounds));
        return Found;
    }
    TSkinData* FData = nullptr;
};

TEST_F(FrameInputTest, DraggingTheCaptionMovesTheWindow) {
    TForm* Form = SkinnedForm();
    const HWND Window = Form->Handle();
    const RECT Before = WindowRectOf(Window);
    const POINT Grab = CaptionPoint(Window, *SkinnerOf(Window));
    std::atomic<bool> Moved{false};
    Drive([&] {
        Drag(Grab, POINT{Grab.x + 60, Grab.y + 48}, 6, [&](POINT at) {
            const RECT now = WindowRectOf(Window);
            return now.left - Before.left == at.x - Grab.x && now.top - Before.top == at.y - Grab.y;
        });
        Moved = WaitFor([&] { return WindowRectOf(Window).left == Before.left + 60; });
    });
    EXPECT_TRUE(Moved);
    const RECT After = WindowRectOf(Window);
    EXPECT_EQ(After.left - Before.left, 60);
    EXPECT_EQ(After.top - Before.top, 48);
    EXPECT_EQ(After.right - After.left, Before.right - Before.left);
    EXPECT_NE(SkinnerOf(Window), nullptr);
}

TEST_F(FrameInputTest, DoubleClicksMaximizeAndRestoreAndOnTheIconClose) {
    TForm* Form = SkinnedForm();
    const HWND Window = Form->Handle();
    const RECT Normal = WindowRectOf(Window);
    Drive([&] {
        DoubleClick(CaptionPoint(Window, *SkinnerOf(Window)));
        ASSERT_TRUE(WaitFor([&] { return IsZoomed(Window) != FALSE; })) << "a double click on the caption maximizes";
    });
    Pump();
    Drive([&] {
        DoubleClick(CaptionPoint(Window, *SkinnerOf(Window)));
        ASSERT_TRUE(WaitFor([&] { return IsZoomed(Window) == FALSE; })) << "and again restores";
    });
    PumpUntil([&] { return WindowRectOf(Window).right - WindowRectOf(Window).left == Normal.right - Normal.left; });
    EXPECT_EQ(WindowRectOf(Window).right - WindowRectOf(Window).left, Normal.right - Normal.left);

    TWinSysButton* Icon = ButtonOf(*SkinnerOf(Window), ButtonActionSystemMenu);
    ASSERT_NE(Icon, nullptr);
    const POINT IconPoint = Centre(OnScreen(Window, Icon->FBounds));
    Drive([&] {
        DoubleClick(IconPoint);
        const bool Closed = WaitFor([&] { return IsWindowVisible(Window) == FALSE; });
        if (HWND Menu = VisibleMenu()) PostMessageW(Menu, WM_KEYDOWN, VK_ESCAPE, 0);
        EXPECT_TRUE(Closed) << "a double click on the caption icon closes the window";
    });
}

TEST_F(FrameInputTest, ARightClickAndAltSpaceOpenTheSystemMenuAndItsCommandsWork) {
    TForm* Form = SkinnedForm();
    const HWND Window = Form->Handle();
    TPellixForm& Skinner = *SkinnerOf(Window);
    std::vector<std::wstring> Texts;
    Drive([&] {
        Click(CaptionPoint(Window, Skinner), true);
        HWND Menu = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (Menu = VisibleMenu()) != nullptr; })) << "a right click opens the menu";
        DWORD_PTR Shown = 0;
        SendMessageTimeoutW(Menu, MenuHandleQuery, 0, 0, SMTO_NORMAL, PatienceMs, &Shown);
        Texts = MenuTexts(reinterpret_cast<HMENU>(Shown));
        // Ma&ximize: its accelerator chooses it.
        PressKey('X');
        EXPECT_TRUE(WaitFor([&] { return VisibleMenu() == nullptr; }));
        EXPECT_TRUE(WaitFor([&] { return IsZoomed(Window) != FALSE; })) << "the copy's command reaches the window";
    });
    EXPECT_TRUE(HasText(Texts, L"Close"));
    EXPECT_TRUE(HasText(Texts, L"Ma&ximize"));
    ASSERT_NE(Skinner.FSysMenu, nullptr);
    EXPECT_EQ(Skinner.FSysMenu->Tag(), 33333);
    ShowWindow(Window, SW_RESTORE);
    Pump();
    SetForegroundWindow(Window);
    PumpUntil([&] { return GetForegroundWindow() == Window; });
    // A second opening within the double-click time is taken for a double click.
    const DWORD Opened = GetTickCount();
    PumpUntil([&] { return GetTickCount() - Opened > GetDoubleClickTime() + 50; });

    POINT ClientOrigin{0, 0};
    ClientToScreen(Window, &ClientOrigin);
    RECT MenuRect{};
    Drive([&] {
        PressKey(VK_SPACE, VK_MENU);
        HWND Menu = nullptr;
        ASSERT_TRUE(WaitFor([&] { return (Menu = VisibleMenu()) != nullptr; })) << "Alt+Space opens the menu";
        GetWindowRect(Menu, &MenuRect);
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(WaitFor([&] { return VisibleMenu() == nullptr; }));
    });
    EXPECT_LE(std::abs(MenuRect.left - ClientOrigin.x), 2);
    EXPECT_LE(std::abs(MenuRect.top - ClientOrigin.y), 2);
    EXPECT_FALSE(IsZoomed(Window));
    EXPECT_TRUE(IsWindowVisible(Window));
}

TEST_F(FrameInputTest, TheMaximizeRestoreAndMinimizeButtonsDoWhatTheySay) {
    const TSkinnedButton Maximize = SkinnedFormButton(ButtonActionMaximize);
    ASSERT_NE(Maximize.Button, nullptr);
    const HWND Window = Maximize.Window;
    TPellixForm& Skinner = *Maximize.Skinner;
    const POINT MaximizeAt = Maximize.At;
    Drive([&] {
        Click(MaximizeAt);
        EXPECT_TRUE(WaitFor([&] { return IsZoomed(Window) != FALSE; }));
    });
    Pump();
    SendMessageW(Window, WM_SKINNCPAINT, 0, 0);
    // The restore button now takes the maximize button's place.
    TWinSysButton* Restore = ButtonOf(Skinner, ButtonActionMaximize);
    ASSERT_NE(Restore, nullptr);
    EXPECT_EQ(Restore->FElement->Visibility, VisibleMaximized);
    const POINT RestoreAt = Centre(OnScreen(Window, Restore->FBounds));
    Drive([&] {
        Click(RestoreAt);
        EXPECT_TRUE(WaitFor([&] { return IsZoomed(Window) == FALSE; }));
    });
    Pump();
    SendMessageW(Window, WM_SKINNCPAINT, 0, 0);
    TWinSysButton* Minimize = ButtonOf(Skinner, ButtonActionMinimize);
    ASSERT_NE(Minimize, nullptr);
    const POINT MinimizeAt = Centre(OnScreen(Window, Minimize->FBounds));
    Drive([&] {
        Click(MinimizeAt);
        EXPECT_TRUE(WaitFor([&] { return IsIconic(Window) != FALSE; }));
    });
    ShowWindow(Window, SW_RESTORE);
    Pump();
    EXPECT_FALSE(IsIconic(Window));
    EXPECT_EQ(ClientSizeOf(Window).cx, 300);
    EXPECT_EQ(ClientSizeOf(Window).cy, 180);
}

TEST_F(FrameInputTest, AnInactiveWindowIgnoresTheMouseOverItsFrameAndAnActiveOneShowsHotAndPressed) {
    const TSkinnedButton Found = SkinnedFormButton(ButtonActionClose);
    ASSERT_NE(Found.Button, nullptr);
    const HWND Window = Found.Window;
    TPellixForm& Skinner = *Found.Skinner;
    TWinSysButton* Close = Found.Button;
    const POINT CloseAt = Found.At;
    const POINT Away{CloseAt.x - 60, CloseAt.y + 120};

    const HWND Other = MakeForeignWindow(L"takes the activation");
    FWindows.push_back(Other);
    SetForegroundWindow(Other);
    ASSERT_TRUE(PumpUntil([&] { return !Skinner.FActive; }));
    Drive([&] { MoveMouse(CloseAt); });
    // Nothing is to happen: the moves are given time to arrive.
    const DWORD Start = GetTickCount();
    PumpUntil([&] { return GetTickCount() - Start > 500; });
    EXPECT_EQ(Skinner.FHotObject, nullptr);
    EXPECT_EQ(ButtonMismatches(Window, *Close, NCStateDisabled), 0) << "the inactive frame stays";

    SetForegroundWindow(Window);
    ASSERT_TRUE(PumpUntil([&] { return Skinner.FActive; }));
    Drive([&] {
        MoveMouse(Away);
        MoveMouse(CloseAt);
    });
    ASSERT_TRUE(PumpUntil([&] { return Skinner.FHotObject == Close; }));
    EXPECT_TRUE(PumpUntil([&] { return ButtonMismatches(Window, *Close, NCStateHot) == 0; })) << "hot frame";
    Drive([&] { Button(CloseAt, true); });
    EXPECT_TRUE(PumpUntil([&] { return Close->FState == NCStatePressed; }));
    EXPECT_TRUE(PumpUntil([&] { return ButtonMismatches(Window, *Close, NCStatePressed) == 0; })) << "pressed frame";
    // Leaving while pressed takes the press back; releasing elsewhere closes nothing.
    Drive([&] {
        MoveMouse(Away);
        Button(Away, false);
    });
    EXPECT_TRUE(PumpUntil([&] { return Skinner.FHotObject == nullptr; }));
    EXPECT_TRUE(PumpUntil([&] { return ButtonMismatches(Window, *Close, NCStateNormal) == 0; })) << "normal frame";
    EXPECT_TRUE(IsWindowVisible(Window));
}

TEST_F(FrameInputTest, RestingOnTheCloseButtonShowsItsHint) {
    const TSkinnedButton Close = SkinnedFormButton(ButtonActionClose);
    ASSERT_NE(Close.Button, nullptr);
    const POINT CloseAt = Close.At;
    Drive([&] {
        MoveMouse(POINT{CloseAt.x - 80, CloseAt.y + 100});
        MoveMouse(CloseAt);
    });
    const HWND Hint = FData->FHintWindow->Handle();
    // The hint needs a mouse that rests. Wine takes the cursor back from a display whose pointer it cannot
    // move (the x86_64 desktop on the second screen of the test display): there no mouse rests anywhere.
    const DWORD Rested = GetTickCount();
    bool Stays = true;
    PumpUntil([&] {
        POINT Now{};
        GetCursorPos(&Now);
        Stays = Stays && Now.x == CloseAt.x && Now.y == CloseAt.y;
        return !Stays || GetTickCount() - Rested > 300;
    });
    if (!Stays) GTEST_SKIP() << "the system does not keep the cursor where it was put on this display";
    ASSERT_TRUE(PumpUntil([&] { return FData->FHintShown && IsWindowVisible(Hint); }))
        << "the hint shows; hint clock " << FData->FHintClock;
    wchar_t Text[32]{};
    GetWindowTextW(Hint, Text, 32);
    EXPECT_EQ(std::wstring(Text), L"Close");
    const RECT HintRect = WindowRectOf(Hint);
    EXPECT_GT(HintRect.top, CloseAt.y) << "below the cursor";
    Drive([&] { MoveMouse(POINT{CloseAt.x - 80, CloseAt.y + 100}); });
    EXPECT_TRUE(PumpUntil([&] { return !FData->FHintShown && !IsWindowVisible(Hint); })) << "and goes with the mouse";
}

TEST_F(FrameInputTest, AMessageBoxOfASkinnedProgramHasTheSkinnedFrame) {
    TForm* Form = SkinnedForm();
    const HWND Window = Form->Handle();
    TSkinData& Data = *FData;
    const int32_t LeftWidth = Data.FBorderLeft->Bitmap->Width() / Data.FBorderLeft->Frame;
    const int32_t RightWidth = Data.FBorderRight->Bitmap->Width() / Data.FBorderRight->Frame;
    const int32_t TitleHeight = Data.FBorderTop->Bitmap->Height() / Data.FBorderTop->Frame;
    const int32_t BottomHeight = Data.FBorderBottom->Bitmap->Height() / Data.FBorderBottom->Frame;
    LRESULT Answer = 0;
    SIZE Frame{};
    int32_t Mismatches = -1;
    int Result = 0;
    Drive(
        [&] {
            HWND Box = nullptr;
            ASSERT_TRUE(WaitFor([&] {
                Box = FindWindowW(L"#32770", L"Skinned message");
                DWORD_PTR Skinned = 0;
                return Box != nullptr && IsWindowVisible(Box) &&
                       SendMessageTimeoutW(Box, WM_SKINQUERY, 0, 0, SMTO_NORMAL, PatienceMs, &Skinned) &&
                       (Answer = static_cast<LRESULT>(Skinned)) == SkinQueryAnswer &&
                       WindowRectOf(Box).right - WindowRectOf(Box).left - ClientSizeOf(Box).cx ==
                           LeftWidth + RightWidth;
            })) << "the message box is skinned";
            const RECT Outer = WindowRectOf(Box);
            Frame =
                SIZE{Outer.right - Outer.left - ClientSizeOf(Box).cx, Outer.bottom - Outer.top - ClientSizeOf(Box).cy};
            // The left side's top rows, as the skin has them (the box is active: frame 1).
            WaitFor([&] {
                const TScreenPixels Shot(Outer);
                Mismatches = 0;
                for (int32_t Y = 0; Y < Data.FBorderLeft->TopHeight; ++Y)
                    for (int32_t X = 0; X < LeftWidth; ++X) {
                        const COLORREF Want = BitmapPixel(*Data.FBorderLeft->Bitmap, X, Y);
                        if (Want != MagentaKey && Shot.At(X, Y) != Want) ++Mismatches;
                    }
                return Mismatches == 0;
            });
            PressKey(VK_RETURN);
        },
        [&] { Result = MessageBoxW(Window, L"A message of a skinned program.", L"Skinned message", MB_OK); });
    EXPECT_EQ(Answer, SkinQueryAnswer);
    EXPECT_EQ(Frame.cx, LeftWidth + RightWidth);
    EXPECT_EQ(Frame.cy, TitleHeight + BottomHeight);
    EXPECT_EQ(Mismatches, 0);
    EXPECT_EQ(Result, IDOK);
}

}  // namespace
