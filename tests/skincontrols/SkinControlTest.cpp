// The control skinner base: the property routines on present, absent and wrong-kind properties;
// attaching once, the skinned control's answers, switching off and on, the colour and
// ParentBackground while skinned, a control whose window goes first, a control freed before its
// skinner, the skinned look painted into a given DC, and the mouse position on a control too wide for a message's
// coordinates.
#include <gtest/gtest.h>

#include <cstdlib>

#include "ControlKit.h"
#include "InputScript.h"
#include "framework/controls/Form.h"
#include "framework/rtl/SysUtils.h"

using namespace formtest;
using namespace controltest;

// A button that keeps the width it was given even where the system made its window narrower.
class TWideButton : public TButton {
    QUIRN_CLASS(TWideButton, TButton)
public:
    explicit TWideButton(TComponent* AOwner) : TButton(AOwner) {}
    void KeepWidth(int32_t Width) { FWidth = Width; }
};
QUIRN_DEFINE_CLASS(TWideButton)

namespace {

// --- Property routines -----------------------------------------------------------------------

TEST(SkinPropertyRoutines, ReadByNameAndAnswerEmptyWhereThePropertyOrItsKindIsMissing) {
    TForm Owner(nullptr);
    auto* Button = new TButton(&Owner);
    Button->SetWideText(L"查询↓");
    Button->SetDefault(true);
    Button->SetTag(42);
    TStatusBar Bar(nullptr);
    TStatusPanel* Panel = Bar.Panels()->Add();
    Panel->SetText("panel");

    EXPECT_EQ(GetIntProp(Button, "Tag"), 42);
    EXPECT_EQ(GetIntProp(Button, "tag"), 42);      // names without regard to case
    EXPECT_EQ(GetIntProp(Button, "Caption"), -1);  // a string property
    EXPECT_EQ(GetIntProp(Button, "Default"), -1);  // an enumeration
    EXPECT_EQ(GetIntProp(Button, "NumButtons"), -1);
    EXPECT_EQ(GetIntProp(nullptr, "Tag"), -1);

    EXPECT_EQ(GetEnumPropText(Button, "Default"), "True");
    EXPECT_EQ(GetEnumPropText(Button, "Align"), "alNone");
    EXPECT_EQ(GetEnumPropText(Button, "Tag"), "");
    EXPECT_EQ(GetEnumPropText(Button, "Missing"), "");
    EXPECT_TRUE(IsPropTrue(Button, "Default"));
    EXPECT_FALSE(IsPropTrue(Button, "Cancel"));

    EXPECT_EQ(GetTextProp(Button, "Caption"), L"查询↓");  // wide, read as it is
    EXPECT_EQ(GetTextProp(Panel, "Text"), L"panel");      // ANSI, widened
    EXPECT_EQ(GetTextProp(Button, "Tag"), L"42");
    EXPECT_EQ(GetTextProp(Button, "Missing"), L"");
    EXPECT_EQ(GetTextProp(nullptr, "Caption"), L"");

    EXPECT_EQ(GetObjectPropOf<TFont>(Button, "Font"), Button->Font());
    EXPECT_EQ(GetObjectPropOf(Button, "Font", TButton::StaticClass()), nullptr);  // of another class
    EXPECT_EQ(GetObjectPropOf<TFont>(Button, "Caption"), nullptr);
    EXPECT_EQ(GetObjectPropOf<TFont>(nullptr, "Font"), nullptr);
}

TEST(SkinPropertyRoutines, WriteByKindAndFailOnlyForANonNumberGivenToAnInteger) {
    TForm Owner(nullptr);
    auto* Button = new TButton(&Owner);
    SetPropText(Button, "Tag", "17");
    EXPECT_EQ(Button->Tag(), 17);
    SetPropText(Button, "Default", "TRUE");
    EXPECT_TRUE(Button->Default());
    SetPropText(Button, "Default", "Maybe");  // no such value: left alone
    EXPECT_TRUE(Button->Default());
    SetPropText(Button, "Caption", "Go");
    EXPECT_EQ(Button->WideText(), L"Go");
    SetPropText(Button, "Font", "Other");  // a class property: left alone
    SetPropText(Button, "Missing", "1");
    SetPropText(nullptr, "Tag", "1");
    EXPECT_THROW(SetPropText(Button, "Tag", "seventeen"), EConvertError);
    EXPECT_EQ(Button->Tag(), 17);
}

// --- The base on a skinned form ------------------------------------------------------------------

class SkinControlBase : public ::testing::Test {
protected:
    void SetUp() override {
        Basic = MakeBasicForm(DefaultPackage());
        ASSERT_TRUE(ShowBasicForm(Basic));
        Skinner = formtest::SkinnerOf(Basic.Form->Handle());
        ASSERT_NE(Skinner, nullptr);
    }
    void TearDown() override { FreeForm(Basic.Form); }

    TBackdrop Backdrop;
    TBasicForm Basic;
    TPellixForm* Skinner = nullptr;
};

TEST_F(SkinControlBase, EverySkinnedControlAnswersTheQueryAndASecondAttachChangesNothing) {
    for (TWinControl* Control :
         std::initializer_list<TWinControl*>{Basic.Button, Basic.DefaultButton, Basic.DisabledButton, Basic.Edit,
                                             Basic.FlatEdit, Basic.Group, Basic.Status, Basic.SimpleStatus}) {
        SCOPED_TRACE(Control->Caption());
        TSkinControl* Skin = controltest::SkinnerOf(*Skinner, Control);
        ASSERT_NE(Skin, nullptr);
        EXPECT_EQ(Skin->SkinStatus(), ControlSkinAttached);
        EXPECT_EQ(SendMessageW(Control->Handle(), WM_SKINQUERY, 0, 0), 1);
    }
    auto* Skin = SkinnerAs<TSkinButton>(*Skinner, Basic.Button);
    ASSERT_NE(Skin, nullptr);
    const size_t Count = Skinner->FControlSkins.size();
    const TWndMethod Proc = Basic.Button->WindowProc();
    Skin->Attach(Skinner, Basic.Data, true, nullptr);
    EXPECT_EQ(Skinner->FControlSkins.size(), Count);
    EXPECT_TRUE(Basic.Button->WindowProc() == Proc);
    EXPECT_FALSE(Skin->FUseSkinColor);

    // A control the skin leaves alone answers as the control does.
    auto* Alone = new TButton(Basic.Form);
    Alone->SetParent(Basic.Form);
    EXPECT_EQ(SendMessageW(Alone->Handle(), WM_SKINQUERY, 0, 0), 0);
}

TEST_F(SkinControlBase, PaintToDrawsTheSkinnedLookIntoAGivenDCOnlyWhenAskedWithTheMagicNumber) {
    // A bitmap of the edit's window size in a colour no skinner draws: what the message paints
    // shows against it.
    const RECT Window = WindowRectOf(Basic.Edit->Handle());
    TBitmap Target;
    Target.SetSize(Window.right - Window.left, Window.bottom - Window.top);
    TCanvas& Canvas = Target.Canvas();
    auto Fill = [&] {
        Canvas.Brush().SetColor(clLime);
        Canvas.FillRect(RECT{0, 0, Target.Width(), Target.Height()});
    };
    const auto DC = reinterpret_cast<WPARAM>(Canvas.Handle());
    const TColor Shadow = Basic.Data->FColors[SkinColour::ButtonShadow];

    Fill();
    EXPECT_EQ(SendMessageW(Basic.Edit->Handle(), WM_SKINPAINTTO, DC, SkinMagic), SkinMagic);
    EXPECT_EQ(Canvas.Pixels(0, 0), ColorToRGB(Shadow));
    EXPECT_EQ(Canvas.Pixels(Target.Width() - 1, Target.Height() - 1), ColorToRGB(Shadow));
    EXPECT_EQ(Canvas.Pixels(1, 1), ColorToRGB(clWhite));
    EXPECT_EQ(Canvas.Pixels(2, Target.Height() / 2), ColorToRGB(clWhite));
    EXPECT_EQ(Canvas.Pixels(Target.Width() / 2, Target.Height() / 2), ColorToRGB(clLime));  // text area: the edit's

    // Without the magic number, or without a DC, nothing is drawn.
    Fill();
    EXPECT_EQ(SendMessageW(Basic.Edit->Handle(), WM_SKINPAINTTO, DC, 0), 0);
    EXPECT_EQ(Canvas.Pixels(0, 0), ColorToRGB(clLime));
    EXPECT_EQ(SendMessageW(Basic.Edit->Handle(), WM_SKINPAINTTO, 0, SkinMagic), SkinMagic);

    // A button composes its whole face; switched off, the skinner answers nothing.
    Fill();
    EXPECT_EQ(SendMessageW(Basic.Button->Handle(), WM_SKINPAINTTO, DC, SkinMagic), SkinMagic);
    EXPECT_NE(Canvas.Pixels(Target.Width() / 2, 2), ColorToRGB(clLime));
    SendMessageW(Basic.Button->Handle(), WM_SKINSWITCH, 0, 0);
    EXPECT_EQ(SendMessageW(Basic.Button->Handle(), WM_SKINPAINTTO, DC, SkinMagic), 0);
    SendMessageW(Basic.Button->Handle(), WM_SKINSWITCH, 1, 0);
}

TEST_F(SkinControlBase, SwitchingOffGivesTheSystemLookAndSwitchingOnTheSkinsAtOnce) {
    TButton* Button = Basic.Button;
    Basic.Edit->SetFocus();
    const TDataSkinButton& Element = *Basic.Data->FButtons;
    const COLORREF Face = ToRGB(Basic.Data->ButtonFaceColor());
    RepaintNow(Basic.Form->Handle());
    TCornerCheck Skinned = WaitForCorners(Button->Handle(), Element, Element.Frame, 1, Face);
    EXPECT_EQ(Skinned.Mismatches, 0) << Skinned.Report;

    SendMessageW(Button->Handle(), WM_SKINSWITCH, 0, 0);
    TCornerCheck Off;
    realinput::PumpUntil(
        [&] {
            Off = CompareCorners(Shot(Button->Handle()), Element, Element.Frame, 1, Face);
            return Off.Mismatches > Off.Compared / 4;
        },
        ScreenPatienceMs);
    EXPECT_GT(Off.Mismatches, Off.Compared / 4) << "the system button should show, not the skin's cell";
    EXPECT_EQ(SendMessageW(Button->Handle(), WM_SKINQUERY, 0, 0), 0);

    SendMessageW(Button->Handle(), WM_SKINSWITCH, 1, 0);
    TCornerCheck On = WaitForCorners(Button->Handle(), Element, Element.Frame, 1, Face);
    EXPECT_EQ(On.Mismatches, 0) << On.Report;
}

TEST_F(SkinControlBase, TheSkinColourAndParentBackgroundLastWhileSkinnedAndComeBackAtDetach) {
    auto* Clear = new TButton(Basic.Form);
    Clear->SetParent(Basic.Form);
    Clear->SetColor(clRed);
    Clear->SetParentBackground(true);
    auto* Kept = new TButton(Basic.Form);
    Kept->SetParent(Basic.Form);
    Kept->SetParentBackground(false);
    auto* ClearSkin = new TSkinButton(Clear);
    ClearSkin->Attach(Skinner, Basic.Data, true, nullptr);
    auto* KeptSkin = new TSkinButton(Kept);
    KeptSkin->Attach(Skinner, Basic.Data, true, nullptr);

    EXPECT_EQ(Clear->Color(), Basic.Data->ButtonFaceColor());
    EXPECT_FALSE(Clear->ParentBackground());
    EXPECT_TRUE(ClearSkin->FParentBackgroundCleared);
    EXPECT_EQ(ClearSkin->FKind, 0);  // a push button's own variant number
    EXPECT_FALSE(Kept->ParentBackground());
    EXPECT_FALSE(KeptSkin->FParentBackgroundCleared);

    ClearSkin->Detach();
    KeptSkin->Detach();
    EXPECT_EQ(Clear->Color(), clRed);
    EXPECT_TRUE(Clear->ParentBackground());
    EXPECT_FALSE(Kept->ParentBackground());
    // Detach is one-way for colours; switching on again does not set the skin colour.
    SendMessageW(Clear->Handle(), WM_SKINSWITCH, 1, 0);
    EXPECT_EQ(Clear->Color(), clRed);

    // With the skin's ParentBackground option the property is left alone.
    Basic.Data->SetOptions(Basic.Data->Options() + TSkinOptions{xoParentBackGround});
    auto* Option = new TButton(Basic.Form);
    Option->SetParent(Basic.Form);
    Option->SetParentBackground(true);
    (new TSkinButton(Option))->Attach(Skinner, Basic.Data, true, nullptr);
    EXPECT_TRUE(Option->ParentBackground());
}

TEST_F(SkinControlBase, AWindowThatGoesFirstLeavesADeadSkinnerThatTouchesNoPropertyAndIsPurged) {
    auto* Button = new TButton(Basic.Form);
    Button->SetParent(Basic.Form);
    Button->SetColor(clRed);
    auto* Skin = new TSkinButton(Button);
    Skin->Attach(Skinner, Basic.Data, true, nullptr);
    ASSERT_EQ(Button->Color(), Basic.Data->ButtonFaceColor());

    Button->DestroyHandle();
    EXPECT_EQ(Skin->SkinStatus(), ControlSkinGone);
    EXPECT_FALSE(Skin->FSkinning);
    EXPECT_EQ(Button->Color(), Basic.Data->ButtonFaceColor());  // the dying control was not touched
    // The control lives on with a new window, left to itself; the dead skinner is purged.
    EXPECT_EQ(SendMessageW(Button->Handle(), WM_SKINQUERY, 0, 0), 0);
    Skinner->PurgeControlSkins();
    EXPECT_EQ(controltest::SkinnerOf(*Skinner, Button), nullptr);
    EXPECT_EQ(Button->ComponentCount(), 0);
    RepaintNow(Button->Handle());

    // A control freed with its skinner still attached takes the skinner out of the list.
    auto* Other = new TButton(Basic.Form);
    Other->SetParent(Basic.Form);
    (new TSkinButton(Other))->Attach(Skinner, Basic.Data, false, nullptr);
    const size_t Count = Skinner->FControlSkins.size();
    delete Other;
    EXPECT_EQ(Skinner->FControlSkins.size(), Count - 1);
    Pump();
}

TEST_F(SkinControlBase, AMouseDownOnAControlWiderThanMessageCoordinatesReportsTheCursorPosition) {
    constexpr DWORD CursorRestMs = 300;
    struct TRecorder : TObject {
        int32_t X = 0;
        int32_t Y = 0;
        int32_t Count = 0;
        POINT Cursor{};  // where the cursor was when the control heard of the press
        void Down(TObject*, TMouseButton, TShiftState, int32_t ClickX, int32_t ClickY) {
            X = ClickX;
            Y = ClickY;
            GetCursorPos(&Cursor);
            ++Count;
        }
    } Recorder;
    auto Make = [&](int32_t Left, int32_t Width) {
        auto* Button = new TWideButton(Basic.Form);
        Button->SetParent(Basic.Form);
        Button->SetBounds(Left, 200, Width, 30);
        Button->KeepWidth(Width);
        (new TSkinButton(Button))->Attach(Skinner, Basic.Data, false, nullptr);
        Button->SetOnMouseDown(TMouseEvent(&Recorder, &TRecorder::Down));
        return Button;
    };
    // Wine keeps windows within 16-bit coordinates, so a button-down whose own coordinates are no
    // longer the place cannot be made with the real mouse: it is sent, with the cursor put inside,
    // to a button whose control keeps the width it was given (as it would on Windows).
    auto Press = [&](TButton* Button, POINT Cursor, POINT InMessage) {
        // The display's pointer moves too: on a fresh desktop Wine would otherwise take the
        // cursor back to where the display's pointer rests.
        MoveMouse(Cursor);
        // Wine settles the position from the display's events a little later: the cursor has to
        // rest at the point (within the pixel the display may round to) for a while.
        POINT Now{};
        DWORD RestingSince = GetTickCount();
        ASSERT_TRUE(realinput::PumpUntil([&] {
            const bool There = GetCursorPos(&Now) && std::abs(Now.x - Cursor.x) <= 1 && std::abs(Now.y - Cursor.y) <= 1;
            if (!There) RestingSince = GetTickCount();
            return There && GetTickCount() - RestingSince >= CursorRestMs;
        })) << "the cursor stays at "
            << Now.x << "," << Now.y << ", not " << Cursor.x << "," << Cursor.y;
        SendMessageW(Button->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(InMessage.x, InMessage.y));
        SendMessageW(Button->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(InMessage.x, InMessage.y));
    };
    TButton* Wide = Make(-39800, 40000);
    ASSERT_EQ(Wide->Width(), 40000);
    const POINT Inside = Basic.Form->ClientToScreen(POINT{60, 215});
    Press(Wide, Inside, POINT{5, 6});
    ASSERT_EQ(Recorder.Count, 1);
    // The real mouse may rest a pixel beside the point it was sent to.
    EXPECT_LE(std::abs(Recorder.Cursor.x - Inside.x), 1);
    const POINT FromCursor = Wide->ScreenToClient(Recorder.Cursor);
    EXPECT_EQ(Recorder.X, FromCursor.x);
    EXPECT_EQ(Recorder.Y, FromCursor.y);
    EXPECT_NE(Recorder.X, 5);
    // An ordinary button takes the message's own coordinates.
    TButton* Narrow = Make(250, 80);
    Press(Narrow, Inside, POINT{7, 9});
    ASSERT_EQ(Recorder.Count, 2);
    EXPECT_EQ(Recorder.X, 7);
    EXPECT_EQ(Recorder.Y, 9);
    Wide->SetOnMouseDown(TMouseEvent());
    Narrow->SetOnMouseDown(TMouseEvent());
}

}  // namespace
