// The skinned frame on the screen: the sides, the caption strip and the close button show the
// skin's own bitmaps (active and inactive frames) in both bundled skins, the transparent corners
// are cut from the window's shape, the client area keeps its size through skin on, change and off,
// and a skin file that cannot be loaded gives the windows the system's look back.
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "InputScript.h"
#include "ScreenPixels.h"
#include "SkinFixtures.h"
#include "SkinFormKit.h"
#include "framework/controls/Timer.h"

using namespace formtest;

namespace {

// Compares what the screen shows of a skinned window with the pictures of the skin's elements.
class TFrameCheck {
public:
    TFrameCheck(HWND Window, TSkinData& Data, TPellixForm& Skinner, bool Active)
        : FWindow(Window), FData(Data), FSkinner(Skinner), FActive(Active), FShot(WindowRectOf(Window)) {
        FWidth = FShot.Width();
        FHeight = FShot.Height();
    }

    // The fixed ends of the four sides (the middles are stretched and not compared).
    void Sides() {
        Vertical(*FData.FBorderLeft, 0);
        Vertical(*FData.FBorderRight, FWidth - FSkinner.FRightWidth);
        Horizontal(*FData.FBorderBottom, FHeight - FSkinner.FBottomHeight);
        Horizontal(*FData.FBorderTop, 0);
    }

    // The visible close button in its normal frame (1 while active, 4 while inactive).
    void CloseButton() {
        for (const auto& Button : FSkinner.FSysButtons) {
            TDataSkinSysButton& Element = *Button->FElement;
            if (Element.Action != ButtonActionClose || !Button->FVisible || Element.Bitmap->Empty()) continue;
            const int32_t Frames = std::max(Element.Frame, 1);
            const int32_t CellWidth = Element.Bitmap->Width() / Frames;
            const int32_t Frame = FActive || Frames < 4 ? 1 : 4;
            for (int32_t Y = 0; Y < Element.Bitmap->Height(); ++Y)
                for (int32_t X = 0; X < CellWidth; ++X) {
                    const COLORREF Want = BitmapPixel(*Element.Bitmap, (Frame - 1) * CellWidth + X, Y);
                    if (Want != MagentaKey) Compare(Button->FBounds.left + X, Button->FBounds.top + Y, Want);
                }
            ++FButtons;
        }
    }

    // Some pixels of the caption text area have the skin's title text colour.
    int32_t TitleTextPixels() const {
        const COLORREF Want = static_cast<COLORREF>(ColorToRGB(FActive ? FData.FColors[SkinColour::TitleTextActive]
                                                                       : FData.FColors[SkinColour::TitleTextNoActive]));
        int32_t Count = 0;
        const RECT& Text = FSkinner.FTextRect;
        for (LONG Y = Text.top; Y < Text.bottom; ++Y)
            for (LONG X = Text.left; X < Text.right; ++X) {
                const COLORREF Got = FShot.At(X, Y);
                if (std::abs(GetRValue(Got) - GetRValue(Want)) < 40 &&
                    std::abs(GetGValue(Got) - GetGValue(Want)) < 40 && std::abs(GetBValue(Got) - GetBValue(Want)) < 40)
                    ++Count;
            }
        return Count;
    }

    int32_t Compared() const { return FCompared; }
    int32_t Transparent() const { return FTransparent; }
    int32_t Buttons() const { return FButtons; }
    int32_t Mismatches() const { return FMismatches; }
    std::string Report() const { return FReport.str(); }

private:
    int32_t FrameOf(const TDataSkinObject& Element) const { return FActive || Element.Frame <= 1 ? 1 : 2; }

    // A side whose frames lie side by side and whose fixed ends are its top and bottom rows.
    void Vertical(TDataSkinObject& Element, int32_t Left) {
        TBitmap& Bitmap = *Element.Bitmap;
        const int32_t Frames = std::max(Element.Frame, 1);
        const int32_t CellWidth = Bitmap.Width() / Frames;
        const int32_t CellHeight = Bitmap.Height();
        const int32_t Origin = (FrameOf(Element) - 1) * CellWidth;
        if (FHeight < Element.TopHeight + Element.BottomHeight) return;
        for (int32_t X = 0; X < CellWidth; ++X) {
            for (int32_t Y = 0; Y < Element.TopHeight; ++Y) Expect(Left + X, Y, BitmapPixel(Bitmap, Origin + X, Y));
            for (int32_t Y = 0; Y < Element.BottomHeight; ++Y)
                Expect(Left + X, FHeight - Element.BottomHeight + Y,
                       BitmapPixel(Bitmap, Origin + X, CellHeight - Element.BottomHeight + Y));
        }
    }

    // A side whose frames are stacked and whose fixed ends are its left and right columns.
    void Horizontal(TDataSkinObject& Element, int32_t Top) {
        TBitmap& Bitmap = *Element.Bitmap;
        const int32_t Frames = std::max(Element.Frame, 1);
        const int32_t CellWidth = Bitmap.Width();
        const int32_t CellHeight = Bitmap.Height() / Frames;
        const int32_t Origin = (FrameOf(Element) - 1) * CellHeight;
        const int32_t Left = FSkinner.FLeftWidth;
        const int32_t Width = FWidth - FSkinner.FLeftWidth - FSkinner.FRightWidth;
        if (Width < Element.LeftWidth + Element.RightWidth) return;
        for (int32_t Y = 0; Y < CellHeight; ++Y) {
            for (int32_t X = 0; X < Element.LeftWidth; ++X)
                Expect(Left + X, Top + Y, BitmapPixel(Bitmap, X, Origin + Y));
            for (int32_t X = 0; X < Element.RightWidth; ++X)
                Expect(Left + Width - Element.RightWidth + X, Top + Y,
                       BitmapPixel(Bitmap, CellWidth - Element.RightWidth + X, Origin + Y));
        }
    }

    // Caption buttons, the icon and the text are drawn over the caption strip.
    bool Covered(int32_t X, int32_t Y) const {
        const POINT Point{X, Y};
        for (const auto& Button : FSkinner.FSysButtons)
            if (Button->FVisible && PtInRect(&Button->FBounds, Point)) return true;
        return PtInRect(&FSkinner.FTitleRect, Point) != FALSE;
    }

    void Expect(int32_t X, int32_t Y, COLORREF Want) {
        if (Covered(X, Y)) return;
        if (Want == MagentaKey) {
            // Cut from the window's shape: what lies behind shows.
            ++FTransparent;
            if (InWindowRegion(FWindow, X, Y) || FShot.At(X, Y) != BackdropColour)
                Mismatch(X, Y, BackdropColour, "transparent");
            return;
        }
        Compare(X, Y, Want);
    }

    void Compare(int32_t X, int32_t Y, COLORREF Want) {
        ++FCompared;
        if (FShot.At(X, Y) != Want) Mismatch(X, Y, Want, "");
    }

    void Mismatch(int32_t X, int32_t Y, COLORREF Want, const char* What) {
        if (FMismatches++ < 5)
            FReport << " (" << X << "," << Y << ")" << What << " want " << std::hex << Want << " got " << FShot.At(X, Y)
                    << std::dec;
    }

    HWND FWindow;
    TSkinData& FData;
    TPellixForm& FSkinner;
    bool FActive;
    TScreenPixels FShot;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    int32_t FCompared = 0;
    int32_t FTransparent = 0;
    int32_t FButtons = 0;
    int32_t FMismatches = 0;
    std::ostringstream FReport;
};

void Repaint(HWND Window) {
    RedrawWindow(Window, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    Pump();
}

// The frame a system gives a window of this style: outer size minus client size.
SIZE SystemFrameOf(HWND Window) {
    const RECT Outer = WindowRectOf(Window);
    const SIZE Client = ClientSizeOf(Window);
    return SIZE{Outer.right - Outer.left - Client.cx, Outer.bottom - Outer.top - Client.cy};
}

class SkinnedFrameTest : public TSkinFormTest {};

class BundledSkinFrameTest : public SkinnedFrameTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(BundledSkinFrameTest, SidesCaptionAndCloseButtonShowTheSkinsBitmapsActiveAndInactive) {
    TBackdrop Backdrop;
    ASSERT_TRUE(IsWindowVisible(Backdrop.Handle()));
    ASSERT_TRUE(realinput::PumpUntil([] {
        return TScreenPixels(RECT{FormLeft - 10, FormTop - 10, FormLeft - 9, FormTop - 9}).At(0, 0) == BackdropColour;
    })) << "the backdrop shows";
    TForm* Form = Make(300, 200);
    TSkinData* Data = AddSkinData(Form, BundledPackage(GetParam()));
    ASSERT_FALSE(Data->FSkinLoading);
    ASSERT_TRUE(ShowSkinned(Form));
    const HWND Window = Form->Handle();
    TPellixForm& Skinner = *SkinnerOf(Window);
    ASSERT_TRUE(Skinner.FSkinFrame);
    EXPECT_EQ(Skinner.FTitleHeight, Data->FBorderTop->Bitmap->Height() / Data->FBorderTop->Frame);
    EXPECT_EQ(Skinner.FLeftWidth, Data->FBorderLeft->Bitmap->Width() / Data->FBorderLeft->Frame);

    // Active.
    ASSERT_TRUE(realinput::PumpUntil([&] { return GetForegroundWindow() == Window && Skinner.FActive; }));
    Repaint(Window);
    {
        TFrameCheck Check(Window, *Data, Skinner, true);
        Check.Sides();
        Check.CloseButton();
        EXPECT_EQ(Check.Mismatches(), 0) << Check.Report();
        EXPECT_GT(Check.Compared(), 200);
        EXPECT_GT(Check.Transparent(), 0) << "the bundled skins have rounded corners";
        EXPECT_EQ(Check.Buttons(), 1);
        EXPECT_GT(Check.TitleTextPixels(), 5) << "the caption text is drawn in the active title colour";
    }

    // Inactive: another window takes the activation.
    const HWND Other = MakeForeignWindow(L"takes the activation");
    SetForegroundWindow(Other);
    ASSERT_TRUE(realinput::PumpUntil([&] { return !Skinner.FActive; }));
    Repaint(Window);
    {
        TFrameCheck Check(Window, *Data, Skinner, false);
        Check.Sides();
        Check.CloseButton();
        EXPECT_EQ(Check.Mismatches(), 0) << Check.Report();
        EXPECT_GT(Check.Compared(), 200);
        EXPECT_GT(Check.TitleTextPixels(), 5) << "the caption text is drawn in the inactive title colour";
    }
    DestroyWindow(Other);
}

INSTANTIATE_TEST_SUITE_P(BundledSkins, BundledSkinFrameTest, ::testing::Values("DEFAULT_SKN", "GRAPHITE_SKN"));

TEST_F(SkinnedFrameTest, RegionLeavesTheTransparentCornersOutAndKeepsTheRest) {
    TForm* Form = Make(260, 160);
    TSkinData* Data = AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    const HWND Window = Form->Handle();
    TPellixForm& Skinner = *SkinnerOf(Window);
    EXPECT_TRUE(Skinner.FHasRegion);
    const RECT Outer = WindowRectOf(Window);
    const int32_t W = Outer.right - Outer.left;
    const int32_t H = Outer.bottom - Outer.top;
    TBitmap& Left = *Data->FBorderLeft->Bitmap;
    TBitmap& Right = *Data->FBorderRight->Bitmap;
    ASSERT_EQ(BitmapPixel(Left, 0, 0), MagentaKey) << "the default skin's frame has a rounded top-left corner";
    // Every pixel of the left and right sides' fixed ends is in the shape exactly when it is not magenta.
    const int32_t RightCell = Right.Width() / Data->FBorderRight->Frame;
    for (int32_t Y = 0; Y < Data->FBorderLeft->TopHeight; ++Y) {
        for (int32_t X = 0; X < Skinner.FLeftWidth; ++X)
            EXPECT_EQ(InWindowRegion(Window, X, Y), BitmapPixel(Left, X, Y) != MagentaKey) << X << "," << Y;
        for (int32_t X = 0; X < Skinner.FRightWidth; ++X)
            EXPECT_EQ(InWindowRegion(Window, W - Skinner.FRightWidth + X, Y), BitmapPixel(Right, X, Y) != MagentaKey)
                << X << "," << Y;
    }
    EXPECT_LT(RightCell, W);
    EXPECT_TRUE(InWindowRegion(Window, W / 2, H / 2));
    EXPECT_TRUE(InWindowRegion(Window, W / 2, Skinner.FTitleHeight / 2));
    // A size change rebuilds the shape for the new size.
    SetWindowPos(Window, nullptr, 0, 0, W + 40, H + 30, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    EXPECT_EQ(Skinner.FRegionWidth, W + 40);
    EXPECT_EQ(Skinner.FRegionHeight, H + 30);
    EXPECT_FALSE(InWindowRegion(Window, W + 39, 0));
    EXPECT_TRUE(InWindowRegion(Window, W + 20, H + 15));
}

TEST_F(SkinnedFrameTest, AttachKeepsTheClientAndSkinOffRestoresTheOuterSize) {
    TForm* Form = Make(320, 210);
    TSkinData* Data = AddSkinData(Form, DefaultPackage(), sfMainform, false);
    Form->Show();
    Pump();
    const HWND Window = Form->Handle();
    ASSERT_EQ(SkinnerOf(Window), nullptr) << "not skinned while the skin data is off";
    const SIZE Client = ClientSizeOf(Window);
    const RECT SystemOuter = WindowRectOf(Window);
    const SIZE SystemFrame = SystemFrameOf(Window);
    EXPECT_EQ(Client.cx, 320);
    EXPECT_EQ(Client.cy, 210);

    Data->SetActive(true);
    ASSERT_TRUE(WaitSkinned(Window));
    TPellixForm& Skinner = *SkinnerOf(Window);
    const SIZE SkinnedClient = ClientSizeOf(Window);
    EXPECT_EQ(SkinnedClient.cx, Client.cx);
    EXPECT_EQ(SkinnedClient.cy, Client.cy);
    const SIZE SkinnedFrame = SystemFrameOf(Window);
    EXPECT_EQ(SkinnedFrame.cx, Skinner.FLeftWidth + Skinner.FRightWidth);
    EXPECT_EQ(SkinnedFrame.cy, Skinner.FTitleHeight + Skinner.FBottomHeight);
    EXPECT_EQ(Skinner.FSystemRect.right, SystemFrame.cx);
    EXPECT_EQ(Skinner.FSystemRect.bottom, SystemFrame.cy);
    EXPECT_EQ(SendMessageW(Window, WM_SKINQUERY, 0, 0), SkinQueryAnswer);
    EXPECT_EQ(Form->Color(), Data->ButtonFaceColor());

    Data->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(Window));
    const RECT Outer = WindowRectOf(Window);
    EXPECT_EQ(Outer.right - Outer.left, SystemOuter.right - SystemOuter.left);
    EXPECT_EQ(Outer.bottom - Outer.top, SystemOuter.bottom - SystemOuter.top);
    const SIZE After = ClientSizeOf(Window);
    EXPECT_EQ(After.cx, Client.cx);
    EXPECT_EQ(After.cy, Client.cy);
    EXPECT_EQ(SendMessageW(Window, WM_SKINQUERY, 0, 0), 0);
    HRGN Region = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(Window, Region), ERROR) << "the shape is taken off";
    DeleteObject(Region);
    EXPECT_NE(Form->Color(), Data->ButtonFaceColor()) << "the form's colour is given back";
}

TEST_F(SkinnedFrameTest, OffThenOnReskinsEveryForm) {
    TForm* First = Make(200, 120);
    TForm* Second = Make(220, 140);
    Second->SetLeft(FormLeft + 300);
    TSkinData* Data = AddSkinData(First, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(First));
    ASSERT_TRUE(ShowSkinned(Second));
    ASSERT_EQ(SkinManager->FForms.size(), 2u);

    Data->SetActive(false);
    ASSERT_TRUE(WaitUnskinned(First->Handle()));
    ASSERT_TRUE(WaitUnskinned(Second->Handle()));
    EXPECT_TRUE(SkinManager->FForms.empty());
    EXPECT_FALSE(SkinManager->FActive);

    Data->SetActive(true);
    EXPECT_TRUE(WaitSkinned(First->Handle()));
    EXPECT_TRUE(WaitSkinned(Second->Handle()));
    EXPECT_EQ(ClientSizeOf(First->Handle()).cx, 200);
    EXPECT_EQ(ClientSizeOf(Second->Handle()).cy, 140);
}

TEST_F(SkinnedFrameTest, ASkinChangeRepaintsWithTheNewSkinAndKeepsTheClient) {
    TBackdrop Backdrop;
    TForm* Form = Make(300, 180);
    TSkinData* Data = AddSkinData(Form, DefaultPackage());
    ASSERT_TRUE(ShowSkinned(Form));
    const HWND Window = Form->Handle();
    const int32_t DefaultTitle = SkinnerOf(Window)->FTitleHeight;
    int Changes = 0;
    struct TCounter : TObject {
        int* Count;
        void Changed(TObject*) { ++*Count; }
    } Counter;
    Counter.Count = &Changes;
    Data->SetOnSkinChanged(TNotifyEvent(&Counter, &TCounter::Changed));

    const std::string Path = skintest::WriteTempPackage(GraphitePackage(), "quirn-frame-graphite.skn");
    Data->SetSkinFile(Path);
    ASSERT_FALSE(Data->FSkinLoading);
    ASSERT_TRUE(realinput::PumpUntil([&] { return Changes == 1; }));
    TPellixForm& Skinner = *SkinnerOf(Window);
    const int32_t GraphiteTitle = Data->FBorderTop->Bitmap->Height() / Data->FBorderTop->Frame;
    EXPECT_NE(GraphiteTitle, DefaultTitle) << "the two skins differ in caption height";
    EXPECT_EQ(Skinner.FTitleHeight, GraphiteTitle);
    EXPECT_EQ(ClientSizeOf(Window).cx, 300);
    EXPECT_EQ(ClientSizeOf(Window).cy, 180);
    Pump();
    TFrameCheck Check(Window, *Data, Skinner, Skinner.FActive);
    Check.Sides();
    Check.CloseButton();
    EXPECT_EQ(Check.Mismatches(), 0) << Check.Report();
    EXPECT_GT(Check.Compared(), 200);
    DeleteFileA(Path.c_str());
}

TEST_F(SkinnedFrameTest, AMissingOrCorruptSkinFileGivesTheWindowsTheSystemLookBack) {
    TForm* Form = Make(280, 170);
    TSkinData* Data = AddSkinData(Form, DefaultPackage());
    Form->Show();
    Pump();
    const HWND Window = Form->Handle();
    ASSERT_TRUE(WaitSkinned(Window));
    const SIZE Client = ClientSizeOf(Window);
    TPellixForm* Skinner = SkinnerOf(Window);
    const SIZE SystemFrame{Skinner->FSystemRect.right, Skinner->FSystemRect.bottom};

    // A file that is not there: no usable skin, the window goes back at once, whole.
    Data->SetSkinFile("C:\\no such folder\\missing.skn");
    EXPECT_TRUE(Data->FSkinLoading);
    ASSERT_TRUE(WaitUnskinned(Window));
    EXPECT_EQ(SendMessageW(Window, WM_SKINQUERY, 0, 0), 0);
    EXPECT_EQ(ClientSizeOf(Window).cx, Client.cx);
    EXPECT_EQ(ClientSizeOf(Window).cy, Client.cy);
    EXPECT_EQ(SystemFrameOf(Window).cx, SystemFrame.cx);
    EXPECT_EQ(SystemFrameOf(Window).cy, SystemFrame.cy);

    // A file that is no package at all: still no skin, and another activation does not skin the
    // window.
    const std::string Junk = skintest::WriteTempPackage(std::vector<uint8_t>(8, 0xFF), "quirn-frame-junk.skn");
    Data->SetSkinFile(Junk);
    EXPECT_TRUE(Data->FSkinLoading);
    SetForegroundWindow(Window);
    SendMessageW(Window, WM_NCACTIVATE, TRUE, 0);
    Pump();
    EXPECT_EQ(SkinnerOf(Window), nullptr);

    // A package cut short keeps its definition but loses its pictures: a skin without a frame. The
    // window keeps the system's frame around the same client area, never a frame of nothing.
    std::vector<uint8_t> Damaged = GraphitePackage();
    Damaged.resize(Damaged.size() / 8);
    const std::string Corrupt = skintest::WriteTempPackage(Damaged, "quirn-frame-corrupt.skn");
    Data->SetSkinFile(Corrupt);
    ASSERT_TRUE(Data->FBorderTop->Bitmap->Empty()) << "the cut package has no caption picture";
    ASSERT_TRUE(realinput::PumpUntil([&] { return SkinManager->FActionData == nullptr; }));
    if (TPellixForm* Plain = SkinnerOf(Window)) {
        EXPECT_FALSE(Plain->FSkinFrame);
    }
    EXPECT_EQ(SystemFrameOf(Window).cx, SystemFrame.cx);
    EXPECT_EQ(SystemFrameOf(Window).cy, SystemFrame.cy);
    EXPECT_EQ(ClientSizeOf(Window).cx, Client.cx);
    EXPECT_EQ(ClientSizeOf(Window).cy, Client.cy);

    // A good file brings the skin back to the form.
    const std::string Good = skintest::WriteTempPackage(GraphitePackage(), "quirn-frame-good.skn");
    Data->SetSkinFile(Good);
    EXPECT_FALSE(Data->FSkinLoading);
    ASSERT_TRUE(realinput::PumpUntil([&] {
        TPellixForm* Skinner = SkinnerOf(Window);
        return Skinner != nullptr && Skinner->FSkinFrame && Skinner->FAttached;
    }));
    EXPECT_EQ(ClientSizeOf(Window).cx, Client.cx);
    EXPECT_EQ(ClientSizeOf(Window).cy, Client.cy);
    DeleteFileA(Junk.c_str());
    DeleteFileA(Corrupt.c_str());
    DeleteFileA(Good.c_str());
}

}  // namespace
