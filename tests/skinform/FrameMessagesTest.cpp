// The skinned window's messages without real input: the private protocol (identify, paint-to,
// query), hit testing of caption, borders and client, which caption buttons show and are enabled in
// which window state, a skin's own caption button with the visibility query and its command, and a
// dialog widened for its caption.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InputScript.h"
#include "SkinFixtures.h"
#include "SkinFormKit.h"
#include "framework/controls/Button.h"
#include "framework/win/DeviceContext.h"

using namespace formtest;

namespace {

class FrameMessagesTest : public TSkinFormTest {};

// The caption buttons of a skinner that show, as their actions and visibility keys.
std::vector<std::pair<int32_t, int32_t>> VisibleButtons(TPellixForm& Skinner) {
    std::vector<std::pair<int32_t, int32_t>> Shown;
    for (int32_t Index = 0; Index < static_cast<int32_t>(Skinner.FSysButtons.size()); ++Index)
        if (Skinner.IsButtonVisible(Index))
            Shown.emplace_back(Skinner.FSysButtons[Index]->FElement->Action,
                               Skinner.FSysButtons[Index]->FElement->Visibility);
    return Shown;
}

TWinSysButton* ButtonOf(TPellixForm& Skinner, int32_t Action) {
    for (const auto& Button : Skinner.FSysButtons)
        if (Button->FElement->Action == Action && Button->FVisible) return Button.get();
    return nullptr;
}

POINT ScreenPointOf(HWND Window, int32_t X, int32_t Y) {
    const RECT Outer = WindowRectOf(Window);
    return POINT{Outer.left + X, Outer.top + Y};
}

LRESULT HitAt(HWND Window, POINT Screen) {
    return SendMessageW(Window, WM_NCHITTEST, 0, MAKELPARAM(Screen.x, Screen.y));
}

TEST_F(FrameMessagesTest, IdentifyPaintToAndQueryFollowTheProtocol) {
    TForm* Form = Make();
    TSkinData* Data = AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    const HWND Window = Form->Handle();
    EXPECT_EQ(SendMessageW(Window, WM_SKINIDENTIFY, 0, SkinMagic), SkinMagic);
    EXPECT_EQ(SendMessageW(Window, WM_SKINIDENTIFY, 0, 0), 1);
    EXPECT_EQ(SendMessageW(Window, WM_SKINQUERY, 0, 0), SkinQueryAnswer);
    // A paint into a DC of the caller: the left side's top rows as the skin has them.
    const RECT Outer = WindowRectOf(Window);
    TBitmap Target(Outer.right - Outer.left, Outer.bottom - Outer.top, pf32bit);
    Target.Canvas().Brush().SetColor(clBlack);
    Target.Canvas().FillRect(RECT{0, 0, Target.Width(), Target.Height()});
    EXPECT_EQ(SendMessageW(Window, WM_SKINPAINTTO, reinterpret_cast<WPARAM>(Target.Canvas().Handle()), SkinMagic),
              SkinMagic);
    TBitmap& Left = *Data->FBorderLeft->Bitmap;
    int32_t Compared = 0;
    for (int32_t Y = 0; Y < Data->FBorderLeft->TopHeight; ++Y)
        for (int32_t X = 0; X < SkinnerOf(Window)->FLeftWidth; ++X) {
            const COLORREF Want = BitmapPixel(Left, X, Y);
            if (Want == MagentaKey) continue;
            EXPECT_EQ(BitmapPixel(Target, X, Y), Want) << X << "," << Y;
            ++Compared;
        }
    EXPECT_GT(Compared, 20);
    // Without the magic nothing is painted and nothing answered.
    EXPECT_EQ(SendMessageW(Window, WM_SKINPAINTTO, reinterpret_cast<WPARAM>(Target.Canvas().Handle()), 0), 0);
}

TEST_F(FrameMessagesTest, HitTestFindsCaptionBordersClientAndNeverTheSystemsButtons) {
    TForm* Form = Make(300, 200);
    AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    const HWND Window = Form->Handle();
    TPellixForm& Skinner = *SkinnerOf(Window);
    const RECT Outer = WindowRectOf(Window);
    const int32_t W = Outer.right - Outer.left;
    const int32_t H = Outer.bottom - Outer.top;
    EXPECT_EQ(HitAt(Window, ScreenPointOf(Window, W / 2, Skinner.FTitleHeight / 2)), HTCAPTION);
    EXPECT_EQ(HitAt(Window, ScreenPointOf(Window, W / 2, Skinner.FTitleHeight - 1)), HTCAPTION);
    EXPECT_EQ(HitAt(Window, ScreenPointOf(Window, W / 2, H / 2)), HTCLIENT);
    EXPECT_EQ(HitAt(Window, ScreenPointOf(Window, 1, H / 2)), HTLEFT);
    EXPECT_EQ(HitAt(Window, ScreenPointOf(Window, W - 2, H - 2)), HTBOTTOMRIGHT);
    // Where the skin's caption buttons and icon lie the caption is hit; the buttons themselves answer
    // the non-client mouse messages.
    for (const auto& Button : Skinner.FSysButtons) {
        if (!Button->FVisible || Button->FElement->Bitmap->Empty()) continue;
        const POINT Centre{(Button->FBounds.left + Button->FBounds.right) / 2,
                           (Button->FBounds.top + Button->FBounds.bottom) / 2};
        EXPECT_EQ(HitAt(Window, ScreenPointOf(Window, Centre.x, Centre.y)), HTCAPTION)
            << "button of action " << Button->FElement->Action;
    }
}

TEST_F(FrameMessagesTest, CaptionButtonsShowAndEnableByTheWindowsBoxesAndState) {
    // Sizeable with both boxes: close, maximize (not restore), minimize, icon.
    TForm* Form = Make();
    AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    TPellixForm& Skinner = *SkinnerOf(Form->Handle());
    using Shown = std::vector<std::pair<int32_t, int32_t>>;
    EXPECT_EQ(VisibleButtons(Skinner),
              (Shown{{ButtonActionClose, 0}, {ButtonActionMaximize, 2}, {ButtonActionMinimize, 6}, {3, 0}}));
    EXPECT_TRUE(ButtonOf(Skinner, ButtonActionMaximize)->FEnabled);
    // Maximized, the restore button takes the maximize button's place.
    ShowWindow(Form->Handle(), SW_MAXIMIZE);
    Pump();
    Skinner.UpdateWindowState();
    EXPECT_EQ(VisibleButtons(Skinner),
              (Shown{{ButtonActionClose, 0}, {ButtonActionMaximize, 1}, {ButtonActionMinimize, 6}, {3, 0}}));
    ShowWindow(Form->Handle(), SW_RESTORE);
    Pump();

    // A fixed form with the system menu only: the close button and the icon.
    TForm* Single = Make(200, 120, bsSingle, TBorderIcons{biSystemMenu});
    Single->SetLeft(FormLeft + 320);
    ASSERT_TRUE(ShowSkinned(Single));
    TPellixForm& SingleSkinner = *SkinnerOf(Single->Handle());
    EXPECT_EQ(VisibleButtons(SingleSkinner), (Shown{{ButtonActionClose, 0}, {3, 0}}));

    // A maximize button (shown through a skin key that ignores the boxes) of a window without the
    // box is drawn disabled and does nothing.
    const int32_t Visibility1 = SingleSkinner.FSysButtons[1]->FElement->Visibility1;
    SingleSkinner.FSysButtons[1]->FElement->Visibility1 = VisibleAlways;
    ASSERT_TRUE(SingleSkinner.IsButtonVisible(1));
    EXPECT_FALSE(SingleSkinner.FSysButtons[1]->FEnabled);
    SingleSkinner.ButtonAction(*SingleSkinner.FSysButtons[1], POINT{0, 0});
    Pump();
    EXPECT_FALSE(IsZoomed(Single->Handle()));
    SingleSkinner.FSysButtons[1]->FElement->Visibility1 = Visibility1;

    // Without a system menu there is no close button.
    TForm* Bare = Make(200, 120, bsSingle, TBorderIcons{});
    Bare->SetTop(FormTop + 250);
    ASSERT_TRUE(ShowSkinned(Bare));
    EXPECT_EQ(ButtonOf(*SkinnerOf(Bare->Handle()), ButtonActionClose), nullptr);
}

// Records the two private caption-button messages that reach a form and answers the query.
class TButtonMessages : public TObject {
public:
    explicit TButtonMessages(TControl& Form) : FForm(Form) {
        FSaved = Form.WindowProc();
        Form.SetWindowProc(TWndMethod(this, &TButtonMessages::Handle));
    }
    void Handle(TMessage& Message) {
        if (Message.Msg == WM_SKINBUTTONQUERY) {
            Queries.push_back({Message.WParam, Message.LParam});
            Message.Result = Show ? 1 : 0;
            return;
        }
        if (Message.Msg == WM_SKINBUTTONCMD) Commands.push_back(Message.WParam);
        FSaved(Message);
    }
    bool Show = true;
    std::vector<std::pair<WPARAM, LPARAM>> Queries;
    std::vector<WPARAM> Commands;

private:
    TControl& FForm;
    TWndMethod FSaved;
};

// A skin with a plain frame and one caption button of the application's own (action 40), shown
// when the window answers the visibility query 1000.
skintest::TTestSkin CustomButtonSkin() {
    skintest::TTestSkin Skin;
    Skin.Ini =
        "[Personality]\nLeft=l.bmp\nLeftFrame=1\nRight=r.bmp\nRightFrame=1\nTop=t.bmp\nTopFrame=1\n"
        "Bottom=b.bmp\nBottomFrame=1\n"
        "[Button0]\nAction=40\nAlign=0\nXcoord=30\nYcoord=2\nVisibility=1000\nVisibility1=0\nframe=4\n"
        "ButtonImage=custom.bmp\n";
    auto Solid = [](TColor Colour) { return [Colour](int32_t, int32_t) { return Colour; }; };
    Skin.Bitmap("l.bmp", 5, 30, Solid(0x303030))
        .Bitmap("r.bmp", 5, 30, Solid(0x303030))
        .Bitmap("t.bmp", 40, 24, Solid(0x806040))
        .Bitmap("b.bmp", 40, 5, Solid(0x303030))
        .Bitmap("custom.bmp", 64, 16, [](int32_t X, int32_t) { return X < 16 ? 0x00C000 : 0x0000C0; });
    return Skin;
}

TEST_F(FrameMessagesTest, ASkinsOwnCaptionButtonAsksTheWindowAndSendsItsCommand) {
    TForm* Form = Make();
    TButtonMessages Messages(*Form);
    TSkinData* Data = AddSkinData(Form, CustomButtonSkin().Package());
    ASSERT_FALSE(Data->FSkinLoading);
    ASSERT_TRUE(ShowSkinned(Form));
    const HWND Window = Form->Handle();
    TPellixForm& Skinner = *SkinnerOf(Window);
    EXPECT_EQ(Skinner.FTitleHeight, 24);
    EXPECT_EQ(Skinner.FLeftWidth, 5);
    SendMessageW(Window, WM_SKINNCPAINT, 0, 0);
    ASSERT_FALSE(Messages.Queries.empty());
    EXPECT_EQ(Messages.Queries.back(), (std::pair<WPARAM, LPARAM>{1000, 40}));
    TWinSysButton* Button = ButtonOf(Skinner, 40);
    ASSERT_NE(Button, nullptr);
    EXPECT_EQ(Button->FBounds.left, 30);
    EXPECT_EQ(Button->FBounds.right, 46);

    // Pressed and released on the button: its command goes to the window.
    const POINT Centre = ScreenPointOf(Window, 38, 10);
    SendMessageW(Window, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(Centre.x, Centre.y));
    EXPECT_EQ(Skinner.FHotObject, Button);
    EXPECT_EQ(Button->FState, NCStatePressed);
    SendMessageW(Window, WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(Centre.x, Centre.y));
    Pump();
    EXPECT_EQ(Messages.Commands, std::vector<WPARAM>{40});
    EXPECT_EQ(Button->FState, NCStateHot);

    // Answered 0, the button is gone.
    Messages.Show = false;
    SendMessageW(Window, WM_SKINNCPAINT, 0, 0);
    EXPECT_EQ(ButtonOf(Skinner, 40), nullptr);
    // A press there is a press on the caption (the system would start moving the window).
    EXPECT_EQ(Skinner.ObjectAt(POINT{38, 10}), nullptr);
    SendMessageW(Window, WM_NCLBUTTONUP, HTCAPTION, MAKELPARAM(Centre.x, Centre.y));
    Pump();
    EXPECT_EQ(Messages.Commands.size(), 1u);
    // The form goes before the recorder in its procedure chain does.
    FreeForm(Form);
    FForms.clear();
}

TEST_F(FrameMessagesTest, ADialogNarrowerThanItsCaptionIsWidenedAndItsControlsCentred) {
    TForm* Form = Make();
    TSkinData* Data = AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    // A narrow dialog (40 dialog units) with a long caption and a button at its left.
    HWND Dialog = CreateTestDialog(GetModuleHandleW(nullptr), WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 40,
                                   40, L"A caption far wider than this small dialog", 3);
    ASSERT_NE(Dialog, nullptr);
    FWindows.push_back(Dialog);
    const HWND Button = GetDlgItem(Dialog, IDOK);
    RECT ButtonBefore = WindowRectOf(Button);
    MapWindowPoints(nullptr, Dialog, reinterpret_cast<POINT*>(&ButtonBefore), 2);
    const SIZE ClientBefore = ClientSizeOf(Dialog);
    ShowWindow(Dialog, SW_SHOW);
    SetForegroundWindow(Dialog);
    ASSERT_TRUE(WaitSkinned(Dialog));
    TPellixForm& Skinner = *SkinnerOf(Dialog);
    const TDataSkinTitle& Title = *Data->FTitle;
    const int32_t Needed = Title.LeftWidth + Skinner.FTitleWidth + Title.RightWidth;
    const int32_t Plain = ClientBefore.cx + Skinner.FLeftWidth + Skinner.FRightWidth;
    ASSERT_GT(Needed, Plain) << "the caption is wider than the dialog";
    const RECT Outer = WindowRectOf(Dialog);
    EXPECT_EQ(Outer.right - Outer.left, Needed);
    RECT ButtonAfter = WindowRectOf(Button);
    MapWindowPoints(nullptr, Dialog, reinterpret_cast<POINT*>(&ButtonAfter), 2);
    EXPECT_EQ(ButtonAfter.left - ButtonBefore.left, (Needed - Plain) / 2);
    EXPECT_EQ(ButtonAfter.right - ButtonAfter.left, ButtonBefore.right - ButtonBefore.left);
}

}  // namespace

namespace {

TEST_F(FrameMessagesTest, ASkinLoadedStraightIntoTheDataNeverLeavesButtonsOfTheOldSkin) {
    TForm* Form = Make();
    TSkinData* Data = AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    const HWND Window = Form->Handle();
    TPellixForm& Skinner = *SkinnerOf(Window);
    ASSERT_FALSE(Skinner.FSysButtons.empty());
    // The application loads a package without telling anyone: the old skin's elements are gone.
    ASSERT_TRUE(skintest::LoadPackageBytes(*Data, GraphitePackage()));
    SendMessageW(Window, WM_SKINNCPAINT, 0, 0);
    EXPECT_TRUE(Skinner.FSysButtons.empty());
    const RECT Outer = WindowRectOf(Window);
    const POINT Caption{Outer.right - 30, Outer.top + 8};
    EXPECT_EQ(Skinner.ObjectAt(POINT{Caption.x - Outer.left, 8}), nullptr);
    // The skin-changed action builds them from the new skin.
    Data->ApplySkinFile();
    ASSERT_TRUE(realinput::PumpUntil([&] { return SkinManager->FActionData == nullptr; }));
    EXPECT_FALSE(Skinner.FSysButtons.empty());
    EXPECT_EQ(Skinner.FSysButtons.front()->FElement, Data->FCaptionButtons.front().get());
}

}  // namespace

namespace {

// Paints the left half of a form's client red and the right half blue.
class THalves : public TObject {
public:
    void Paint(TObject* Sender) {
        auto* Form = static_cast<TForm*>(Sender);
        TCanvas& Canvas = *Form->Canvas();
        const RECT Client = Form->ClientRect();
        Canvas.Brush().SetColor(static_cast<TColor>(RGB(220, 0, 0)));
        Canvas.FillRect(RECT{0, 0, Client.right / 2, Client.bottom});
        Canvas.Brush().SetColor(static_cast<TColor>(RGB(0, 0, 220)));
        Canvas.FillRect(RECT{Client.right / 2, 0, Client.right, Client.bottom});
    }
};

TEST_F(FrameMessagesTest, AControlGetsThePartOfItsParentThatLiesUnderIt) {
    TForm* Form = Make(200, 100);
    THalves Halves;
    Form->SetOnPaint(TNotifyEvent(&Halves, &THalves::Paint));
    auto* Child = new TButton(Form);
    Child->SetParent(Form);
    Child->SetBounds(70, 20, 60, 40);  // straddles the middle at 100
    Form->Show();
    Pump();
    TBitmap Target(60, 40, pf32bit);
    Target.Canvas().Brush().SetColor(clWhite);
    Target.Canvas().FillRect(RECT{0, 0, 60, 40});
    TPellixForm::DrawParentImage(Child, Target.Canvas().Handle());
    EXPECT_EQ(BitmapPixel(Target, 5, 5), RGB(220, 0, 0));
    EXPECT_EQ(BitmapPixel(Target, 29, 39), RGB(220, 0, 0));
    EXPECT_EQ(BitmapPixel(Target, 30, 0), RGB(0, 0, 220));
    EXPECT_EQ(BitmapPixel(Target, 59, 20), RGB(0, 0, 220));
    // The DC's state is as it was: its origin is not moved.
    POINT Origin{1, 1};
    GetViewportOrgEx(Target.Canvas().Handle(), &Origin);
    EXPECT_EQ(Origin.x, 0);
    EXPECT_EQ(Origin.y, 0);
}

}  // namespace
