// Which windows the skin manager skins and with which skin data: forms with Tag 99, system dialogs
// with and without DS_SETFOREGROUND, windows of other modules, a second main skin data, requests made
// before the first activation, windows without a form object, MDI frames and children, and a form
// that is destroyed while skinned.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InputScript.h"
#include "SkinFixtures.h"
#include "SkinFormKit.h"
#include "framework/controls/Timer.h"

using namespace formtest;

namespace {

// A modeless dialog of a module (this program's or another's), shown and activated.
HWND ShowDialog(HINSTANCE Module, DWORD Style, const std::wstring& Caption) {
    HWND Dialog = CreateTestDialog(Module, Style | WS_POPUP | WS_CAPTION | WS_SYSMENU, 120, 60, Caption);
    ShowWindow(Dialog, SW_SHOW);
    SetForegroundWindow(Dialog);
    Pump();
    return Dialog;
}

class SkinManagerEdgeTest : public TSkinFormTest {};

TEST_F(SkinManagerEdgeTest, AFormWithTag99IsNeverSkinnedWhateverDisableTagSays) {
    TForm* Plain = Make();
    TSkinData* Data = AddSkinData(Plain, DefaultPackage());
    Data->SetDisableTag(5);
    TForm* Tagged = Make();
    Tagged->SetTag(NeverSkinTag);
    Tagged->SetLeft(FormLeft + 300);
    ASSERT_TRUE(ShowSkinned(Plain));
    Tagged->Show();
    SetForegroundWindow(Tagged->Handle());
    Pump();
    EXPECT_EQ(SkinnerOf(Tagged->Handle()), nullptr);
    EXPECT_EQ(SendMessageW(Tagged->Handle(), WM_SKINQUERY, 0, 0), 0);
    // Not on a scan either.
    Data->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(Plain->Handle()));
    Data->SetActive(true);
    ASSERT_TRUE(WaitSkinned(Plain->Handle()));
    EXPECT_EQ(SkinnerOf(Tagged->Handle()), nullptr);
}

TEST_F(SkinManagerEdgeTest, SystemDialogsAreSkinnedUnlessTheyAskForTheForeground) {
    TForm* Form = Make();
    AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    // A "#32770" dialog of another module is skinned through its window alone.
    const HWND Dialog = Keep(ShowDialog(GetModuleHandleW(L"user32.dll"), DS_MODALFRAME, L"Plain dialog"));
    ASSERT_NE(Dialog, nullptr);
    ASSERT_TRUE(WaitSkinned(Dialog));
    TPellixForm& Skinner = *SkinnerOf(Dialog);
    EXPECT_EQ(Skinner.FForm, nullptr);
    EXPECT_TRUE(Skinner.FIsDialog);
    EXPECT_EQ(Skinner.FBorderKind, BorderKindDialog);
    const RECT Outer = WindowRectOf(Dialog);
    const SIZE Client = ClientSizeOf(Dialog);
    EXPECT_EQ(Outer.right - Outer.left - Client.cx, Skinner.FLeftWidth + Skinner.FRightWidth);
    EXPECT_EQ(Outer.bottom - Outer.top - Client.cy, Skinner.FTitleHeight + Skinner.FBottomHeight);
    // Its background and static texts take the skin's button face.
    HDC DC = GetDC(Dialog);
    SetBkMode(DC, OPAQUE);
    const auto Brush = reinterpret_cast<HBRUSH>(SendMessageW(Dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(DC),
                                                             reinterpret_cast<LPARAM>(GetDlgItem(Dialog, IDOK))));
    EXPECT_EQ(GetBkMode(DC), TRANSPARENT);
    ReleaseDC(Dialog, DC);
    EXPECT_EQ(Brush, Skinner.FSkinData->FFaceBrush.get());

    const HWND Foreground =
        Keep(ShowDialog(GetModuleHandleW(L"user32.dll"), DS_MODALFRAME | DS_SETFOREGROUND, L"Foreground dialog"));
    ASSERT_NE(Foreground, nullptr);
    EXPECT_EQ(SkinnerOf(Foreground), nullptr);
    EXPECT_EQ(SendMessageW(Foreground, WM_SKINQUERY, 0, 0), 0);
}

TEST_F(SkinManagerEdgeTest, WindowsWithoutFormObjectAreSkinnedOnlyWhenTheyAreThisModulesOwn) {
    TForm* Form = Make();
    AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    const HWND Foreign = Keep(MakeForeignWindow(L"another module's window"));
    SetForegroundWindow(Foreign);
    Pump();
    EXPECT_EQ(SkinnerOf(Foreign), nullptr);
    const HWND Own =
        Keep(CreateWindowExW(0, L"STATIC", L"this module's window", WS_OVERLAPPEDWINDOW | WS_VISIBLE, FormLeft + 300,
                             FormTop + 200, 220, 140, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    SetForegroundWindow(Own);
    ASSERT_TRUE(WaitSkinned(Own));
    EXPECT_EQ(SkinnerOf(Own)->FForm, nullptr);
    EXPECT_TRUE(SkinnerOf(Own)->FSkinFrame);
}

TEST_F(SkinManagerEdgeTest, ASecondMainSkinDataNeverReplacesTheFirstAndTheLastRegisteredSkins) {
    TForm* First = Make();
    TSkinData* FirstData = AddSkinData(First, DefaultPackage());
    TSkinData* SecondData = AddSkinData(First, GraphitePackage());
    EXPECT_EQ(SkinManager->FMainSkinData, FirstData);
    EXPECT_EQ(SkinManager->SelectSkinData(First->Handle()), SecondData);
    ASSERT_TRUE(ShowSkinned(First));
    EXPECT_EQ(SkinnerOf(First->Handle())->FSkinData, SecondData);
    // The first decides which windows are accepted: its OnFormSkin is the one asked.
    struct TRefuser : TObject {
        int Asked = 0;
        void Ask(TObject*, const std::string&, bool& DoSkin) {
            ++Asked;
            DoSkin = false;
        }
    } Refuser;
    FirstData->SetOnFormSkin(TOnFormSkin(&Refuser, &TRefuser::Ask));
    TForm* Refused = Make();
    Refused->SetLeft(FormLeft + 300);
    Refused->Show();
    SetForegroundWindow(Refused->Handle());
    Pump();
    EXPECT_GT(Refuser.Asked, 0);
    EXPECT_EQ(SkinnerOf(Refused->Handle()), nullptr);
}

TEST_F(SkinManagerEdgeTest, ARequestBeforeTheFirstActivationSkinsTheWindowWhenItIsActivated) {
    TForm* Form = Make();
    AddSkinData(Form, DefaultPackage());
    EXPECT_EQ(SkinManager->FState, SkinManagerIdle);
    EXPECT_TRUE(SkinManager->FActive);
    EXPECT_FALSE(SkinManager->FTimer->Enabled()) << "no timer before the first activation";
    Form->Show();
    EXPECT_EQ(SkinManager->FState, SkinManagerRunning);
    const HWND Window = Form->Handle();
    // The attach is posted: before it runs, the frame is neither painted nor activated by the system.
    TPellixForm* Skinner = SkinnerOf(Window);
    ASSERT_NE(Skinner, nullptr);
    EXPECT_FALSE(Skinner->FAttached);
    EXPECT_EQ(SendMessageW(Window, WM_NCACTIVATE, TRUE, 0), 0);
    EXPECT_EQ(SendMessageW(Window, WM_NCPAINT, 1, 0), 0);
    EXPECT_EQ(SendMessageW(Window, WM_SKINQUERY, 0, 0), SkinQueryAnswer);
    ASSERT_TRUE(WaitSkinned(Window));
    EXPECT_EQ(SendMessageW(Window, WM_NCACTIVATE, TRUE, 0), 1);
}

TEST_F(SkinManagerEdgeTest, ADestroyedWindowsSkinnerDiesWithItAndIsFreedByTheNextPurge) {
    TForm* Form = Make();
    AddSkinData(Form, DefaultPackage());
    const HWND Window = CreateWindowExW(0, L"STATIC", L"short-lived", WS_OVERLAPPEDWINDOW | WS_VISIBLE, FormLeft,
                                        FormTop, 200, 120, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    SetForegroundWindow(Window);
    ASSERT_TRUE(WaitSkinned(Window));
    TPellixForm* Skinner = SkinnerOf(Window);
    ASSERT_EQ(SkinManager->FForms.size(), 1u);
    DestroyWindow(Window);
    EXPECT_EQ(Skinner->FSkinState, SkinStateDead);
    EXPECT_FALSE(Skinner->Subclassed());
    EXPECT_EQ(SkinnerOf(Window), nullptr);
    ASSERT_TRUE(ShowSkinned(Form));  // the next decision purges
    EXPECT_EQ(SkinManager->FForms.size(), 1u);
    EXPECT_EQ(SkinManager->FForms.front()->FHandle, Form->Handle());
    // A skinned form freed with its window: its skinner goes with it.
    FreeForm(Form);
    FForms.clear();
    EXPECT_TRUE(SkinManager->FForms.empty());
}

TEST_F(SkinManagerEdgeTest, AnOnlyThisFormSkinDataSkinsItsFormAtOnceAndNoOther) {
    TForm* Own = Make();
    Own->HandleNeeded();
    Own->Show();
    Pump();
    TSkinData* Data = AddSkinData(Own, DefaultPackage(), sfOnlyThisForm);
    ASSERT_TRUE(WaitSkinned(Own->Handle()));
    EXPECT_EQ(SkinnerOf(Own->Handle())->FSkinData, Data);
    // Off and on again through the action timer.
    Data->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(Own->Handle()));
    Data->SetActive(true);
    EXPECT_TRUE(WaitSkinned(Own->Handle()));
}

// --- Raw MDI windows ---------------------------------------------------------------------------

LRESULT CALLBACK MDIFrameProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    HWND Client = FindWindowExW(Window, nullptr, L"MDICLIENT", nullptr);
    return DefFrameProcW(Window, Client, Msg, WParam, LParam);
}

LRESULT CALLBACK MDIChildProc(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
    return DefMDIChildProcW(Window, Msg, WParam, LParam);
}

TEST_F(SkinManagerEdgeTest, AnMDIFrameAndItsChildrenAreSkinnedAsSuch) {
    TForm* Form = Make();
    AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    static const bool Registered = [] {
        WNDCLASSW Frame{};
        Frame.lpfnWndProc = MDIFrameProc;
        Frame.hInstance = GetModuleHandleW(nullptr);
        Frame.hbrBackground = GetSysColorBrush(COLOR_APPWORKSPACE);
        Frame.lpszClassName = L"QuirnTestMDIFrame";
        WNDCLASSW Child{};
        Child.lpfnWndProc = MDIChildProc;
        Child.hInstance = GetModuleHandleW(nullptr);
        Child.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
        Child.lpszClassName = L"QuirnTestMDIChild";
        return RegisterClassW(&Frame) != 0 && RegisterClassW(&Child) != 0;
    }();
    ASSERT_TRUE(Registered);
    const HWND Frame =
        Keep(CreateWindowExW(0, L"QuirnTestMDIFrame", L"MDI frame", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, FormLeft,
                             FormTop, 500, 380, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    CLIENTCREATESTRUCT ClientCreate{nullptr, 50000};
    const HWND Client =
        CreateWindowExW(WS_EX_CLIENTEDGE, L"MDICLIENT", nullptr, WS_CHILD | WS_CLIPCHILDREN | WS_VISIBLE, 0, 0, 400,
                        300, Frame, nullptr, GetModuleHandleW(nullptr), &ClientCreate);
    ASSERT_NE(Client, nullptr);
    ShowWindow(Frame, SW_SHOW);
    SetForegroundWindow(Frame);
    ASSERT_TRUE(WaitSkinned(Frame));
    TPellixForm& FrameSkinner = *SkinnerOf(Frame);
    EXPECT_EQ(FrameSkinner.FFormKind, FormKindMDIFrame);
    EXPECT_EQ(FrameSkinner.FClientHandle, Client);
    EXPECT_TRUE(FrameSkinner.FClientSubclass.Installed());
    EXPECT_EQ(SkinManager->FMDIClient, Client);

    MDICREATESTRUCTW Create{};
    Create.szClass = L"QuirnTestMDIChild";
    Create.szTitle = L"MDI child";
    Create.hOwner = GetModuleHandleW(nullptr);
    Create.x = Create.y = 10;
    Create.cx = 200;
    Create.cy = 150;
    const auto Child = reinterpret_cast<HWND>(SendMessageW(Client, WM_MDICREATE, 0, reinterpret_cast<LPARAM>(&Create)));
    ASSERT_NE(Child, nullptr);
    ASSERT_TRUE(WaitSkinned(Child)) << "an MDI child is taken when it is created";
    TPellixForm& ChildSkinner = *SkinnerOf(Child);
    EXPECT_EQ(ChildSkinner.FFormKind, FormKindMDIChild);
    EXPECT_TRUE(ChildSkinner.FSkinFrame);
    const RECT Outer = WindowRectOf(Child);
    EXPECT_EQ(Outer.right - Outer.left - ClientSizeOf(Child).cx, ChildSkinner.FLeftWidth + ChildSkinner.FRightWidth);

    // Maximizing through its caption button tells the manager; the frame repaints with its children.
    ChildSkinner.ToggleMaximize();
    EXPECT_TRUE(SkinManager->FMDIMaximized);
    ASSERT_TRUE(realinput::PumpUntil([&] { return IsZoomed(Child) != FALSE; }));
    SendMessageW(Client, WM_MDIDESTROY, reinterpret_cast<WPARAM>(Child), 0);
    Pump();
    EXPECT_FALSE(SkinManager->FMDIMaximized) << "no maximized child is left";
}

}  // namespace
