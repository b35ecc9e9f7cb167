// What the skinned controls show on the screen, in both bundled skins: push buttons in their
// normal, hover (real mouse over), pressed (real button down), focused, default and disabled
// frames with the caption centred; the edit's flat frame; the group box's rounded line with the
// caption cut in and its label on top, or no caption, or one on the right; the status bar's panel edges,
// texts and size grip, and an owner-drawn panel; captions broken by "||" and buttons on the parent's image;
// a panel in the skin's face colour and in its own again when the skin goes.
#include <gtest/gtest.h>

#include <atomic>

#include "ControlKit.h"
#include "InputScript.h"

using namespace formtest;
using namespace controltest;

namespace {

constexpr int32_t CaptionTolerance = 3;
// The frames of the skin's "Buttons" cells, and of its "StatusBarEdges" and "ExtraImages".
constexpr int32_t NormalFrame = 1;
constexpr int32_t PressedFrame = 2;
constexpr int32_t DisabledFrame = 3;
constexpr int32_t HoverFrame = 4;
constexpr int32_t FocusedFrame = 5;
constexpr int32_t LoweredEdgeFrame = 1;
constexpr int32_t RaisedEdgeFrame = 2;
constexpr int32_t FlatEdgeFrame = 3;
constexpr int32_t GripFrame = 5;

int32_t Width(const RECT& Rect) { return Rect.right - Rect.left; }
int32_t Height(const RECT& Rect) { return Rect.bottom - Rect.top; }

class SkinnerPaintTest : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        Basic = MakeBasicForm(BundledPackage(GetParam()));
        ASSERT_TRUE(ShowBasicForm(Basic));
        Skinner = formtest::SkinnerOf(Basic.Form->Handle());
        ASSERT_NE(Skinner, nullptr);
        Face = ToRGB(Basic.Data->ButtonFaceColor());
        Shadow = ToRGB(Basic.Data->FColors[SkinColour::ButtonShadow]);
        // The mouse away from every control, the focus on the edit.
        const RECT Form = WindowRectOf(Basic.Form->Handle());
        realinput::Drive([&] { MoveMouse(POINT{Form.right + 60, Form.top + 10}); });
        Basic.Edit->SetFocus();
        RepaintNow(Basic.Form->Handle());
    }
    void TearDown() override { FreeForm(Basic.Form); }

    const TDataSkinButton& Buttons() const { return *Basic.Data->FButtons; }

    // The button shows the frame of Look at its corners and its caption in Colour centred.
    void ExpectButton(TButton* Button, TButtonLook Look, TColor Colour) {
        SCOPED_TRACE(Button->Caption());
        const int32_t Frames[] = {NormalFrame, PressedFrame, DisabledFrame, HoverFrame, FocusedFrame};
        const int32_t Frame = Frames[static_cast<int>(Look)];
        const TCornerCheck Check = WaitForCorners(Button->Handle(), Buttons(), Buttons().Frame, Frame, Face);
        const TScreenPixels Pixels = Shot(Button->Handle());
        EXPECT_GT(Check.Compared, 0);
        EXPECT_EQ(Check.Mismatches, 0) << "frame " << Frame << ":" << Check.Report;
        const RECT Inside{Buttons().LeftWidth, Buttons().TopHeight, Pixels.Width() - Buttons().RightWidth,
                          Pixels.Height() - Buttons().BottomHeight};
        const RECT Text = PixelsOfColour(Pixels, Inside, ToRGB(Colour), 60);
        ASSERT_GT(Width(Text), 0) << "no caption pixels";
        EXPECT_NEAR((Text.left + Text.right) / 2.0, Pixels.Width() / 2.0, CaptionTolerance);
        EXPECT_NEAR((Text.top + Text.bottom) / 2.0, Pixels.Height() / 2.0, CaptionTolerance);
    }

    // The caption colour of a look, as the skin gives it.
    TColor CaptionColour(TButtonLook Look) const {
        const TDataSkinButton& Element = Buttons();
        if (Look == TButtonLook::Disabled) return clBtnShadow;
        if (Look == TButtonLook::Hover && Element.HasMouseOverColour2) return Element.MouseOverColour2;
        if (Look == TButtonLook::Pressed && Element.HasPressedColour2) return Element.PressedColour2;
        if (Element.HasNormalColour2) return Element.NormalColour2;
        return Basic.Button->Font()->Color();
    }

    POINT CentreOf(TWinControl* Control) const {
        const RECT Rect = WindowRectOf(Control->Handle());
        return POINT{(Rect.left + Rect.right) / 2, (Rect.top + Rect.bottom) / 2};
    }

    TBackdrop Backdrop;
    TBasicForm Basic;
    TPellixForm* Skinner = nullptr;
    COLORREF Face = 0;
    COLORREF Shadow = 0;
};

TEST_P(SkinnerPaintTest, PushButtonsShowTheirFramesWithTheCaptionCentred) {
    ExpectButton(Basic.Button, TButtonLook::Normal, CaptionColour(TButtonLook::Normal));
    ExpectButton(Basic.DefaultButton, TButtonLook::FocusedOrDefault, CaptionColour(TButtonLook::Normal));
    ExpectButton(Basic.DisabledButton, TButtonLook::Disabled, CaptionColour(TButtonLook::Disabled));
    // A disabled default button looks disabled.
    Basic.DisabledButton->SetDefault(true);
    RepaintNow(Basic.DisabledButton->Handle());
    ExpectButton(Basic.DisabledButton, TButtonLook::Disabled, CaptionColour(TButtonLook::Disabled));
    Basic.Button->SetFocus();
    Pump();
    ExpectButton(Basic.Button, TButtonLook::FocusedOrDefault, CaptionColour(TButtonLook::Normal));
}

TEST_P(SkinnerPaintTest, TheRealMouseShowsHoverAndPressedAndClicksOnlyWhenReleasedInside) {
    struct TCounter : TObject {
        std::atomic<int> Clicks{0};
        void Click(TObject*) { ++Clicks; }
    } Counter;
    Basic.Button->SetOnClick(TNotifyEvent(&Counter, &TCounter::Click));
    auto* Skin = SkinnerAs<TSkinButton>(*Skinner, Basic.Button);
    ASSERT_NE(Skin, nullptr);
    const POINT Centre = CentreOf(Basic.Button);
    const POINT Outside{Centre.x, Centre.y + 120};

    std::atomic<int> Step{0};
    // Hover.
    realinput::Drive([&] {
        MoveMouse(Centre);
        realinput::WaitFor([&] { return Skin->FMouseState.Contains(msHover); });
    });
    Pump();
    EXPECT_TRUE(Skin->FMouseState.Contains(msHover));
    ExpectButton(Basic.Button, TButtonLook::Hover, CaptionColour(TButtonLook::Hover));
    // Pressed, held.
    realinput::Drive([&] {
        realinput::Button(Centre, true);
        realinput::WaitFor([&] { return Skin->FMouseState.Contains(msPressed); });
    });
    Pump();
    ExpectButton(Basic.Button, TButtonLook::Pressed, CaptionColour(TButtonLook::Pressed));
    EXPECT_EQ(Counter.Clicks, 0);
    // Released inside: exactly one click, from the skinner.
    realinput::Drive([&] {
        realinput::Button(Centre, false);
        realinput::WaitFor([&] { return Counter.Clicks > 0; });
    });
    Pump();
    EXPECT_EQ(Counter.Clicks, 1);
    EXPECT_FALSE(Skin->FMouseState.Contains(msPressed));
    // Pressed, dragged out and released outside: no click, and the button is normal again.
    realinput::Drive([&] {
        realinput::Button(Centre, true);
        realinput::WaitFor([&] { return Skin->FMouseState.Contains(msPressed); });
        MoveMouse(Outside);
        realinput::WaitFor([&] { return !Skin->FMouseState.Contains(msHover); });
        realinput::Button(Outside, false);
        Step = 1;
    });
    Pump();
    EXPECT_EQ(Step, 1);
    EXPECT_EQ(Counter.Clicks, 1);
    EXPECT_FALSE(Skin->FMouseState.Contains(msPressed));
    Basic.Edit->SetFocus();
    RepaintNow(Basic.Button->Handle());
    ExpectButton(Basic.Button, TButtonLook::Normal, CaptionColour(TButtonLook::Normal));
    Basic.Button->SetOnClick(TNotifyEvent());
}

TEST_P(SkinnerPaintTest, TheEditHasAFlatFrameAndABorderlessEditNone) {
    const TScreenPixels Edit = Shot(Basic.Edit->Handle());
    int32_t Checked = 0;
    for (int32_t X = 0; X < Edit.Width(); X += 7) {
        EXPECT_TRUE(Near(Edit.At(X, 0), Shadow)) << X;
        EXPECT_TRUE(Near(Edit.At(X, Edit.Height() - 1), Shadow)) << X;
        if (X >= 2 && X < Edit.Width() - 2) {
            EXPECT_TRUE(Near(Edit.At(X, 1), RGB(255, 255, 255))) << X;
            EXPECT_TRUE(Near(Edit.At(X, 2), RGB(255, 255, 255))) << X;
        }
        ++Checked;
    }
    for (int32_t Y = 0; Y < Edit.Height(); Y += 3) {
        EXPECT_TRUE(Near(Edit.At(0, Y), Shadow)) << Y;
        EXPECT_TRUE(Near(Edit.At(Edit.Width() - 1, Y), Shadow)) << Y;
    }
    EXPECT_GT(Checked, 5);
    const TScreenPixels Flat = Shot(Basic.FlatEdit->Handle());
    EXPECT_FALSE(Near(Flat.At(0, Flat.Height() / 2), Shadow));
    EXPECT_FALSE(Near(Flat.At(Flat.Width() / 2, 0), Shadow));

    // Printed into a memory DC: the shadow line outside, the DC's own brush inside.
    const int32_t W = Edit.Width(), H = Edit.Height();
    HDC Screen = GetDC(nullptr);
    HDC Memory = CreateCompatibleDC(Screen);
    HBITMAP Bitmap = CreateCompatibleBitmap(Screen, W, H);
    HGDIOBJ OldBitmap = SelectObject(Memory, Bitmap);
    HBRUSH Red = CreateSolidBrush(RGB(255, 0, 0));
    HGDIOBJ OldBrush = SelectObject(Memory, Red);
    RECT All{0, 0, W, H};
    FillRect(Memory, &All, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SendMessageW(Basic.Edit->Handle(), WM_PRINT, reinterpret_cast<WPARAM>(Memory), PRF_NONCLIENT);
    EXPECT_TRUE(Near(GetPixel(Memory, W / 2, 0), Shadow));
    EXPECT_TRUE(Near(GetPixel(Memory, W / 2, 1), RGB(255, 0, 0)));
    EXPECT_TRUE(Near(GetPixel(Memory, 1, H / 2), RGB(255, 0, 0)));
    SelectObject(Memory, OldBrush);
    SelectObject(Memory, OldBitmap);
    DeleteObject(Red);
    DeleteObject(Bitmap);
    DeleteDC(Memory);
    ReleaseDC(nullptr, Screen);
}

TEST_P(SkinnerPaintTest, TheGroupBoxDrawsARoundedLineWithItsCaptionCutInAndItsLabelOnTop) {
    HWND Group = Basic.Group->Handle();
    const TScreenPixels Pixels = Shot(Group);
    // The line runs through the middle of the caption font's "0".
    HDC DC = GetDC(Group);
    HGDIOBJ Old = SelectObject(DC, Basic.Group->Font()->Handle());
    SIZE Zero{};
    GetTextExtentPoint32A(DC, "0", 1, &Zero);
    SIZE Caption{};
    GetTextExtentPoint32W(DC, L"Group", 5, &Caption);
    SelectObject(DC, Old);
    ReleaseDC(Group, DC);
    const int32_t LineY = Zero.cy / 2 - 1;
    const int32_t W = Pixels.Width(), H = Pixels.Height();

    EXPECT_TRUE(Near(Pixels.At(W - 20, LineY), Shadow));  // the top line right of the caption
    EXPECT_TRUE(Near(Pixels.At(1, H / 2), Shadow));       // the left side
    EXPECT_TRUE(Near(Pixels.At(W - 2, H / 2), Shadow));   // the right side
    EXPECT_TRUE(Near(Pixels.At(W / 2, H - 2), Shadow));   // the bottom
    EXPECT_FALSE(Near(Pixels.At(1, LineY), Shadow));      // a rounded corner
    EXPECT_TRUE(Near(Pixels.At(W - 1, H / 2), Face));     // outside the line: the face colour
    EXPECT_TRUE(Near(Pixels.At(W / 2, H / 2 + 15), Face));
    // Along the line under the caption no shadow pixel: the caption's background cuts it.
    int32_t ShadowUnderCaption = 0;
    for (int32_t X = 8; X < 8 + Caption.cx; ++X)
        if (Near(Pixels.At(X, LineY), Shadow, 4)) ++ShadowUnderCaption;
    EXPECT_EQ(ShadowUnderCaption, 0);
    const RECT Text =
        PixelsOfColour(Pixels, RECT{8, 0, 8 + Caption.cx, Caption.cy}, ToRGB(Basic.Group->Font()->Color()), 60);
    EXPECT_GT(Width(Text), Caption.cx / 2) << "the caption shows";
    // The label inside stays visible.
    const RECT LabelArea{12, 40, 92, 56};
    EXPECT_GT(Width(PixelsOfColour(Pixels, LabelArea, ToRGB(Basic.GroupLabel->Font()->Color()), 60)), 10);
}

TEST_P(SkinnerPaintTest, TheStatusBarShowsPanelEdgesTextsAndTheSizeGrip) {
    const TDataSkinObject& Edges = *Basic.Data->FStatusBarEdges;
    HWND Bar = Basic.Status->Handle();
    const TScreenPixels Pixels = Shot(Bar);
    const int32_t EdgeFrames[] = {LoweredEdgeFrame, RaisedEdgeFrame, FlatEdgeFrame};
    for (int32_t Index = 0; Index < 3; ++Index) {
        SCOPED_TRACE(Index);
        RECT Part{};
        ASSERT_NE(SendMessageW(Bar, SB_GETRECT, Index, reinterpret_cast<LPARAM>(&Part)), 0);
        Part.right += 2;
        if (Index == 2) Part.right = Pixels.Width();  // the last panel reaches the bar's right edge
        // Only the panel's top-left and bottom-left corners: the grip lies over the last one's right.
        for (int32_t Y : {0, static_cast<int32_t>(Height(Part)) - 1})
            for (int32_t X = 0; X < Edges.LeftWidth; ++X) {
                const int32_t CellX = (EdgeFrames[Index] - 1) * (Edges.Bitmap->Width() / 3) + X;
                const int32_t CellY = Y == 0 ? 0 : Edges.Bitmap->Height() - 1;
                EXPECT_TRUE(Near(Pixels.At(Part.left + X, Part.top + Y), BitmapPixel(*Edges.Bitmap, CellX, CellY)))
                    << X << "," << Y;
            }
        if (Index < 2) {
            EXPECT_TRUE(Near(Pixels.At(Part.right - 1, Part.top),
                             BitmapPixel(*Edges.Bitmap, EdgeFrames[Index] * (Edges.Bitmap->Width() / 3) - 1, 0)));
        }
    }
    // The first panel's text in the element's text colour; the empty one draws nothing.
    RECT First{};
    SendMessageW(Bar, SB_GETRECT, 0, reinterpret_cast<LPARAM>(&First));
    const RECT Text = PixelsOfColour(Pixels, First, ToRGB(Edges.NormalColour2), 40);
    EXPECT_GT(Width(Text), 5);
    EXPECT_LT(Text.left - First.left, 6) << "left aligned";
    // The size grip: the fifth frame of ExtraImages in the bottom-right corner, magenta left out.
    const TDataSkinObject& Extra = *Basic.Data->FExtraImages;
    const int32_t CellWidth = Extra.Bitmap->Width() / Extra.Frame;
    const int32_t CellHeight = Extra.Bitmap->Height();
    int32_t GripPixels = 0;
    for (int32_t Y = 0; Y < CellHeight; ++Y)
        for (int32_t X = 0; X < CellWidth; ++X) {
            const COLORREF Want = BitmapPixel(*Extra.Bitmap, (GripFrame - 1) * CellWidth + X, Y);
            if (Want == MagentaKey) continue;
            EXPECT_TRUE(Near(Pixels.At(Pixels.Width() - 1 - CellWidth + X, Pixels.Height() - 1 - CellHeight + Y), Want))
                << X << "," << Y;
            ++GripPixels;
        }
    EXPECT_GT(GripPixels, 0);

    // The simple bar: one lowered edge over all of it and its text.
    const TScreenPixels Simple = Shot(Basic.SimpleStatus->Handle());
    EXPECT_TRUE(Near(Simple.At(0, 0), BitmapPixel(*Edges.Bitmap, 0, 0)));
    EXPECT_TRUE(Near(Simple.At(Simple.Width() - 1, Simple.Height() - 1),
                     BitmapPixel(*Edges.Bitmap, Edges.Bitmap->Width() / 3 - 1, Edges.Bitmap->Height() - 1)));
    const RECT SimpleText =
        PixelsOfColour(Simple, RECT{0, 0, Simple.Width(), Simple.Height()}, ToRGB(Edges.NormalColour2), 40);
    EXPECT_GT(Width(SimpleText), 20);
}

TEST_P(SkinnerPaintTest, CaptionBreaksAndTheParentImageTagShapeTheButtonsLook) {
    // One "||" breaks the caption into two lines; of two, the second stays in the text.
    auto* Button = SkinnerAs<TSkinButton>(*Skinner, Basic.Button);
    ASSERT_NE(Button, nullptr);
    const TColor Colour = CaptionColour(TButtonLook::Normal);
    auto CaptionHeight = [&] {
        const TScreenPixels Pixels = Shot(Basic.Button->Handle());
        return Height(PixelsOfColour(Pixels, RECT{4, 2, Pixels.Width() - 4, Pixels.Height() - 2}, ToRGB(Colour), 60));
    };
    Basic.Button->SetHeight(44);
    RepaintNow(Basic.Button->Handle());
    const int32_t OneLine = CaptionHeight();
    ASSERT_GT(OneLine, 0);
    Basic.Button->SetCaption("Top||Low");
    RepaintNow(Basic.Button->Handle());
    EXPECT_EQ(Button->FText, L"Top\r\nLow");
    EXPECT_GT(CaptionHeight(), OneLine * 3 / 2) << "two lines";
    Basic.Button->SetCaption("A||B||C");
    RepaintNow(Basic.Button->Handle());
    EXPECT_EQ(Button->FText, L"A\r\nB||C");

    // Tag 5555: the element's transparent parts show the parent's image, not the face colour.
    const COLORREF Backdrop = RGB(200, 40, 40);
    Basic.Form->SetColor(static_cast<TColor>(Backdrop));
    auto* OnParent = new TButton(Basic.Form);
    OnParent->SetParent(Basic.Form);
    OnParent->SetBounds(310, 10, 90, 28);
    OnParent->SetCaption("Parent");
    OnParent->SetTag(ParentImageTag);
    (new TSkinButton(OnParent))->Attach(Skinner, Basic.Data, false, nullptr);
    RepaintNow(Basic.Form->Handle());
    const TCornerCheck OnImage = WaitForCorners(OnParent->Handle(), Buttons(), Buttons().Frame, NormalFrame, Backdrop);
    EXPECT_EQ(OnImage.Mismatches, 0) << OnImage.Report;
    // The plain button next to it keeps the face colour in the same places.
    const TCornerCheck OnFace =
        WaitForCorners(Basic.DisabledButton->Handle(), Buttons(), Buttons().Frame, DisabledFrame, Face);
    EXPECT_EQ(OnFace.Mismatches, 0) << OnFace.Report;
}

TEST_P(SkinnerPaintTest, GroupBoxCaptionsMayBeEmptyOrRightAligned) {
    auto MakeGroup = [&](const char* Caption, int32_t Left) {
        auto* Group = new TGroupBox(Basic.Form);
        Group->SetParent(Basic.Form);
        Group->SetBounds(Left, 185, 100, 60);
        Group->SetCaption(Caption);
        (new TSkinGroupBox(Group))->Attach(Skinner, Basic.Data, false, nullptr);
        return Group;
    };
    // In the panel's place.
    Basic.Panel->SetVisible(false);
    // Without a caption the top line runs unbroken between the rounded corners.
    TGroupBox* Empty = MakeGroup("", 10);
    // WS_EX_RIGHT: the caption ends 8 pixels from the right edge.
    TGroupBox* Right = MakeGroup("Right", 115);
    SetWindowLongW(Right->Handle(), GWL_EXSTYLE, GetWindowLongW(Right->Handle(), GWL_EXSTYLE) | WS_EX_RIGHT);
    RepaintNow(Basic.Form->Handle());

    const TScreenPixels EmptyPixels = Shot(Empty->Handle());
    int32_t LineY = -1;
    for (int32_t Y = 0; Y < EmptyPixels.Height() / 2 && LineY < 0; ++Y)
        if (Near(EmptyPixels.At(EmptyPixels.Width() / 2, Y), Shadow)) LineY = Y;
    ASSERT_GE(LineY, 0) << "no top line";
    for (int32_t X = 4; X < EmptyPixels.Width() - 4; ++X)
        EXPECT_TRUE(Near(EmptyPixels.At(X, LineY), Shadow)) << "gap in the top line at " << X;

    const TScreenPixels RightPixels = Shot(Right->Handle());
    // A tight tolerance: a dark skin's shadow line lies near the caption's colour.
    const RECT Text =
        PixelsOfColour(RightPixels, RECT{0, 0, RightPixels.Width(), LineY * 2 + 4}, ToRGB(Right->Font()->Color()), 20);
    ASSERT_GT(Width(Text), 0) << "no caption";
    EXPECT_NEAR(Text.right, RightPixels.Width() - 8, 2);
    EXPECT_GT(Text.left, RightPixels.Width() / 2 - 10) << "the caption sits on the right";
}

TEST_P(SkinnerPaintTest, AnOwnerDrawnPanelGetsItsFrameAndTheApplicationsDrawingOnTop) {
    TStatusPanel* Owned = Basic.Status->Panels()->Items(1);
    Owned->SetStyle(psOwnerDraw);
    Owned->SetText("Hidden");
    struct TDrawer : TObject {
        TStatusPanel* Owned = nullptr;
        int32_t Calls = 0;
        RECT Given{};
        void Draw(TCustomStatusBar* Bar, TStatusPanel* Panel, RECT Rect) {
            ++Calls;
            if (Panel != Owned) return;
            Given = Rect;
            Bar->Canvas()->Brush().SetColor(clLime);
            Bar->Canvas()->FillRect(RECT{Rect.left, Rect.top, Rect.left + 10, Rect.bottom});
        }
    } Drawer;
    Drawer.Owned = Owned;
    Basic.Status->SetOnDrawPanel(TDrawPanelEvent(&Drawer, &TDrawer::Draw));
    RepaintNow(Basic.Status->Handle());
    EXPECT_GE(Drawer.Calls, 3) << "every panel";
    RECT Part{};
    ASSERT_NE(SendMessageW(Basic.Status->Handle(), SB_GETRECT, 1, reinterpret_cast<LPARAM>(&Part)), 0);
    // The handler gets the panel inflated by -2, and its drawing shows over the skinned frame.
    EXPECT_EQ(Drawer.Given.left, Part.left + 2);
    EXPECT_EQ(Drawer.Given.top, Part.top + 2);
    const TDataSkinObject& Edges = *Basic.Data->FStatusBarEdges;
    EXPECT_TRUE(realinput::PumpUntil(
        [&] {
            const TScreenPixels Pixels = Shot(Basic.Status->Handle());
            return Near(Pixels.At(Part.left + 4, (Part.top + Part.bottom) / 2), RGB(0, 255, 0)) &&
                   Near(Pixels.At(Part.left, Part.top),
                        BitmapPixel(*Edges.Bitmap, (RaisedEdgeFrame - 1) * (Edges.Bitmap->Width() / 3), 0));
        },
        ScreenPatienceMs))
        << "the handler's lime strip over the raised frame";
    // The panel's own text is not drawn: no text-coloured pixel right of the handler's strip.
    const TScreenPixels Pixels = Shot(Basic.Status->Handle());
    const RECT Beside{Part.left + 14, Part.top + 3, Part.right - 3, Part.bottom - 3};
    EXPECT_EQ(Width(PixelsOfColour(Pixels, Beside, ToRGB(Edges.NormalColour2), 40)), 0);
    Basic.Status->SetOnDrawPanel(TDrawPanelEvent());
}

TEST_P(SkinnerPaintTest, APanelPaintsItselfInTheFaceColourAndGetsItsOwnBackWhenTheSkinGoes) {
    const HWND Panel = Basic.Panel->Handle();
    // Inside the bevel, clear of the caption and the button: the panel's own fill.
    const POINT Inside{6, 6};
    auto ShowsColour = [&](COLORREF Colour) {
        return realinput::PumpUntil([&] { return Near(Shot(Panel).At(Inside.x, Inside.y), Colour); }, ScreenPatienceMs);
    };
    EXPECT_TRUE(ShowsColour(Face)) << std::hex << Shot(Panel).At(Inside.x, Inside.y) << " for the face " << Face;
    // The button inside the panel is skinned too.
    const TCornerCheck Check =
        WaitForCorners(Basic.PanelButton->Handle(), Buttons(), Buttons().Frame, NormalFrame, Face);
    EXPECT_EQ(Check.Mismatches, 0) << Check.Report;

    Basic.Data->SetActive(false);
    ASSERT_TRUE(realinput::PumpUntil([&] { return formtest::SkinnerOf(Basic.Form->Handle()) == nullptr; }));
    EXPECT_EQ(Basic.Panel->Color(), BasicPanelColour);
    RepaintNow(Basic.Form->Handle());
    EXPECT_TRUE(ShowsColour(ToRGB(BasicPanelColour)))
        << std::hex << Shot(Panel).At(Inside.x, Inside.y) << " for the panel's own " << ToRGB(BasicPanelColour);
}

INSTANTIATE_TEST_SUITE_P(BundledSkins, SkinnerPaintTest, ::testing::Values("DEFAULT_SKN", "GRAPHITE_SKN"));

}  // namespace
