// The window frame, caption buttons and the push-button element.
#include <gtest/gtest.h>

#include "SkinFixtures.h"

using namespace skintest;

namespace {

TEST(SkinBorders, KeysGiveTheFixedEndsAlongEachBorder) {
    TTestSkin Skin;
    Skin.Ini =
        "[Personality]\nLeft=frameleft.bmp\nLeftTopHeight=23\nLeftBotHeight=4\nLeftFrame=2\n"
        "LeftStretch=0\nLeftTrans=0\nTop=frametop.bmp\nTopTopHeight=8\nTopBotHeight=9\nTopStretch=5\n";
    Skin.Bitmap("frameleft.bmp", 8, 60).Bitmap("frametop.bmp", 60, 60);
    const auto Data = LoadSkin(Skin);
    const TDataSkinBorder& Left = *Data->FBorderLeft;
    EXPECT_EQ(Left.TopHeight, 23);
    EXPECT_EQ(Left.BottomHeight, 4);
    EXPECT_EQ(Left.LeftWidth, 0);
    EXPECT_EQ(Left.RightWidth, 0);
    EXPECT_EQ(Left.Frame, 2);
    EXPECT_EQ(Left.Tile, 0);
    EXPECT_EQ(Left.Trans, 0);
    EXPECT_EQ(Left.Bitmap->Width(), 8);
    const TDataSkinBorder& Top = *Data->FBorderTop;
    EXPECT_EQ(Top.LeftWidth, 8);
    EXPECT_EQ(Top.RightWidth, 9);
    EXPECT_EQ(Top.TopHeight, 0);
    EXPECT_EQ(Top.BottomHeight, 0);
    EXPECT_EQ(Top.Frame, 1);
    EXPECT_EQ(Top.Tile, 1);   // "Stretch" above 1 becomes 1
    EXPECT_EQ(Top.Trans, 1);  // default
    EXPECT_EQ(Top.Bitmap->Height(), 60);
    const TDataSkinBorder& Bottom = *Data->FBorderBottom;
    EXPECT_TRUE(Bottom.Bitmap->Empty());
    EXPECT_EQ(Bottom.Tile, 1);
    EXPECT_EQ(Bottom.Name, "Bottom");
}

TEST(SkinBorders, FrameCountBelowOneAndNegativeMarginsAreMended) {
    TTestSkin Skin;
    Skin.Ini = "[Personality]\nTop=frametop.bmp\nTopFrame=0\nTopTopHeight=-5\nRightFrame=-3\n";
    Skin.Bitmap("frametop.bmp", 30, 20);
    const auto Data = LoadSkin(Skin);
    EXPECT_EQ(Data->FBorderTop->Frame, 1);
    EXPECT_EQ(Data->FBorderTop->LeftWidth, 0);
    EXPECT_EQ(Data->FBorderRight->Frame, 1);
    EXPECT_FALSE(Data->FSkinLoading);
}

TEST(SkinBitmaps, OnlyLowerCaseBmpLoadsAndDirectoriesAreDropped) {
    TTestSkin Skin;
    Skin.Ini =
        "[Personality]\nLeft=c:\\skins\\blue/FrameLeft.bmp\nRight=frameright.BMP\nTop=missing.bmp\n"
        "Bottom=notabitmap.bmp\n";
    Skin.Bitmap("frameleft.bmp", 5, 7).Bitmap("frameright.bmp", 5, 7);
    const std::string Text = "this is not a bitmap";
    Skin.Files["notabitmap.bmp"] = std::vector<uint8_t>(Text.begin(), Text.end());
    const auto Data = LoadSkin(Skin);
    EXPECT_EQ(Data->FBorderLeft->Bitmap->Width(), 5);
    EXPECT_TRUE(Data->FBorderRight->Bitmap->Empty());
    EXPECT_TRUE(Data->FBorderTop->Bitmap->Empty());
    EXPECT_TRUE(Data->FBorderBottom->Bitmap->Empty());
    EXPECT_FALSE(Data->FSkinLoading);
}

TEST(SkinBitmaps, ANewSkinEmptiesThePersistentElementsItDoesNotName) {
    TTestSkin First;
    First.Ini = "[Personality]\nLeft=l.bmp\n[Buttons]\nBitmap=b.bmp\n[Headerbar]\nImage=l.bmp\n";
    First.Bitmap("l.bmp", 4, 4).Bitmap("b.bmp", 10, 10);
    const auto Data = LoadSkin(First);
    ASSERT_FALSE(Data->FBorderLeft->Bitmap->Empty());
    ASSERT_TRUE(Data->FHeaderbar);
    TTestSkin Second;
    Second.Ini = "[Personality]\n";
    ASSERT_TRUE(LoadPackageBytes(*Data, Second.Package()));
    EXPECT_TRUE(Data->FBorderLeft->Bitmap->Empty());
    EXPECT_TRUE(Data->FButtons->Bitmap->Empty());
    EXPECT_FALSE(Data->FHeaderbar);
}

TEST(SkinMenuBar, PresentOnlyWithItsImageKey) {
    TTestSkin Skin;
    Skin.Ini = "[Personality]\nmenuBar=menubar.bmp\nTileMenu=7\nTileLeftMenu=0\n";
    Skin.Bitmap("menubar.bmp", 20, 40);
    const auto Data = LoadSkin(Skin);
    ASSERT_TRUE(Data->FMenuBar);
    EXPECT_EQ(Data->FMenuBar->Name, "Personality");
    EXPECT_EQ(Data->FMenuBar->Tile, 1);
    EXPECT_EQ(Data->FMenuBar->LeftWidth, 0);
    EXPECT_EQ(Data->FMenuBar->RightWidth, 1);
    EXPECT_EQ(Data->FMenuBar->Frame, 2);
    EXPECT_EQ(Data->FMenuBar->Bitmap->Height(), 40);

    TTestSkin Without;
    Without.Ini = "[Personality]\nTileMenu=1\n";
    EXPECT_FALSE(LoadSkin(Without)->FMenuBar);
}

// The five caption buttons and the icon button of a typical skin.
constexpr const char* CaptionIni =
    "[Button0]\nAction=0\nAlign=1\nXcoord=46\nYcoord=1\nframe=4\nButtonImage=close.bmp\n"
    "[Button1]\nAction=1\nAlign=1\nXcoord=73\nYcoord=2\nVisibility=2\nVisibility1=6\nButtonImage=max.bmp\n"
    "[Button2]\nAction=4\nXcoord=5\nYcoord=5\nButtonImage=wide.bmp\n"
    "[Button3]\nAction=2\nCombineOp=1\nButtonImage=max.bmp\n"
    "[Button4]\nAction=3\nAlign=0\nXcoord=8\nYcoord=3\n"
    "[Buttons]\nBitmap=b.bmp\n[Button.Radio]\nAction=1\n[BUTTON.CHECKBOX]\nAction=1\n[Button]\nAction=1\n";

TTestSkin CaptionSkin() {
    TTestSkin Skin;
    Skin.Ini = CaptionIni;
    Skin.Bitmap("close.bmp", 80, 20).Bitmap("max.bmp", 60, 20).Bitmap("wide.bmp", 130, 20).Bitmap("b.bmp", 50, 20);
    return Skin;
}

TEST(SkinCaptionButtons, ButtonSectionsInFileOrderThenThreeMDIButtons) {
    const auto Data = LoadSkin(CaptionSkin());
    const auto& Buttons = Data->FCaptionButtons;
    ASSERT_EQ(Buttons.size(), 8u);
    const char* Names[] = {"BUTTON0", "BUTTON1", "BUTTON2", "BUTTON3", "BUTTON4"};
    for (size_t I = 0; I < 5; ++I) EXPECT_EQ(Buttons[I]->Name, Names[I]);
    EXPECT_EQ(Buttons[0]->Frame, 4);
    EXPECT_EQ(Buttons[0]->Align, 1);
    EXPECT_EQ(Buttons[0]->CombineOp, -1);
    EXPECT_EQ(Buttons[0]->Visibility, 0);
    EXPECT_EQ(Buttons[0]->Visibility1, 0);
    EXPECT_EQ(Buttons[1]->Visibility1, 6);
    EXPECT_EQ(Buttons[3]->CombineOp, 1);
    for (size_t I = 5; I < 8; ++I) {
        EXPECT_EQ(Buttons[I]->Action, static_cast<int32_t>(7 + I - 5));
        EXPECT_EQ(Buttons[I]->Align, 100);
        EXPECT_EQ(Buttons[I]->Visibility, 100);
        EXPECT_EQ(Buttons[I]->Visibility1, 100);
        EXPECT_EQ(Buttons[I]->Frame, 4);
        EXPECT_TRUE(Buttons[I]->Bitmap->Empty());  // no "MDICONTROLS"
    }
}

TEST(SkinCaptionButtons, FrameCountComesFromTheImageProportions) {
    const auto Data = LoadSkin(CaptionSkin());
    const auto& Buttons = Data->FCaptionButtons;
    EXPECT_EQ(Buttons[1]->Frame, 3);  // 60 x 20
    EXPECT_EQ(Buttons[2]->Frame, 6);  // 130 x 20
    // The icon button without image: 6 frames, no bitmap.
    EXPECT_EQ(Buttons[4]->Action, 3);
    EXPECT_EQ(Buttons[4]->Frame, 6);
    EXPECT_TRUE(Buttons[4]->Bitmap->Empty());
}

TEST(SkinCaptionButtons, RatioLimitNegativeActionAndIconButtons) {
    TTestSkin Skin;
    Skin.Ini =
        "[ButtonA]\nButtonImage=r38.bmp\n[ButtonB]\nAction=-2\nButtonImage=r38.bmp\n"
        "[ButtonC]\nAction=11\nButtonImage=r38.bmp\n[ButtonD]\nAction=3\nframe=2\nButtonImage=r38.bmp\n"
        "[ButtonE]\nframe=-4\nButtonImage=r38.bmp\n";
    Skin.Bitmap("r38.bmp", 76, 20);  // exactly 3.8
    const auto Data = LoadSkin(Skin);
    const auto& Buttons = Data->FCaptionButtons;
    ASSERT_EQ(Buttons.size(), 8u);
    EXPECT_EQ(Buttons[0]->Frame, 3);
    EXPECT_EQ(Buttons[1]->Frame, 6);
    EXPECT_EQ(Buttons[1]->Visibility1, 0);
    EXPECT_TRUE(Buttons[2]->Bitmap->Empty());
    EXPECT_EQ(Buttons[2]->Frame, 3);
    EXPECT_EQ(Buttons[3]->Frame, 2);
    EXPECT_FALSE(Buttons[3]->Bitmap->Empty());  // given a frame count, the icon button keeps its image
    EXPECT_EQ(Buttons[4]->Frame, 3);            // a negative count is derived like 0
}

TEST(SkinCaptionButtons, ButtonWithoutActionNeedsVisibilityZero) {
    TTestSkin Skin;
    Skin.Ini = "[Button9]\nAction=-1\n[Button8]\nAction=-1\nVisibility=0\n[Button7]\nAction=-1\nVisibility=3\n";
    const auto Data = LoadSkin(Skin);
    ASSERT_EQ(Data->FCaptionButtons.size(), 4u);
    EXPECT_EQ(Data->FCaptionButtons[0]->Name, "BUTTON8");
    EXPECT_EQ(Data->FCaptionButtons[0]->Visibility1, -1);
    EXPECT_EQ(Data->FCaptionButtons[0]->Frame, 6);
}

TEST(SkinCaptionButtons, RestoreButtonTakesThePlaceOfTheMaximizeButtonBeforeIt) {
    const auto Data = LoadSkin(CaptionSkin());
    EXPECT_EQ(Data->FCaptionButtons[2]->XCoord, 73);
    EXPECT_EQ(Data->FCaptionButtons[2]->YCoord, 2);

    TTestSkin Early;
    Early.Ini = "[Button0]\nAction=4\nXcoord=5\nYcoord=6\n[Button1]\nAction=1\nVisibility=2\nXcoord=70\nYcoord=1\n";
    const auto EarlyData = LoadSkin(Early);
    EXPECT_EQ(EarlyData->FCaptionButtons[0]->XCoord, 5);
    EXPECT_EQ(EarlyData->FCaptionButtons[0]->YCoord, 6);
}

TEST(SkinCaptionButtons, MDIButtonsAreCutFromTheirImage) {
    TTestSkin Skin;
    Skin.Ini = "[MDICONTROLS]\nImage=mdi.bmp\n";
    const TColor Cells[] = {clRed, clLime, clBlue};
    Skin.Bitmap("mdi.bmp", 98, 14, [&](int32_t X, int32_t) { return X < 96 ? Cells[X / 32] : clWhite; });
    const auto Data = LoadSkin(Skin);
    ASSERT_EQ(Data->FCaptionButtons.size(), 3u);
    for (int I = 0; I < 3; ++I) {
        TDataSkinSysButton& Button = *Data->FCaptionButtons[static_cast<size_t>(I)];
        EXPECT_EQ(Button.Bitmap->Width(), 32);
        EXPECT_EQ(Button.Bitmap->Height(), 14);
        EXPECT_EQ(PixelOf(*Button.Bitmap, 0, 0), Cells[I]);
        EXPECT_EQ(PixelOf(*Button.Bitmap, 31, 13), Cells[I]);
        EXPECT_EQ(Button.XCoord, (8 + 4) * (3 - I));
    }
}

TEST(SkinButtonElement, KeysColoursAndFrameCounts) {
    TTestSkin Skin;
    Skin.Ini =
        "[Colours]\nButtonText=1 2 3\n[Buttons]\nBitmap=b.bmp\nLeftWidth=4\nTopHeight=5\nRightWidth=6\n"
        "BottomHeight=-7\nTrans=1\nTile=3\nCheckButton=check.bmp\nRadioButton=radio.bmp\nNormalColour=255\n"
        "MouseOverColour2=0 34 86\nPressedColour2=\n";
    Skin.Bitmap("b.bmp", 100, 20).Bitmap("check.bmp", 96, 16).Bitmap("radio.bmp", 52, 13);
    const auto Data = LoadSkin(Skin);
    const TDataSkinButton& B = *Data->FButtons;
    EXPECT_EQ(B.LeftWidth, 4);
    EXPECT_EQ(B.TopHeight, 5);
    EXPECT_EQ(B.RightWidth, 6);
    EXPECT_EQ(B.BottomHeight, 0);
    EXPECT_EQ(B.Trans, 1);
    EXPECT_EQ(B.Tile, 0);
    EXPECT_EQ(B.Frame, 5);
    EXPECT_EQ(B.NormalColour, 255);
    EXPECT_EQ(B.MouseOverColour, -1);
    EXPECT_EQ(B.PressedColour, -1);
    EXPECT_FALSE(B.HasNormalColour2);
    EXPECT_TRUE(B.HasMouseOverColour2);
    EXPECT_FALSE(B.HasPressedColour2);
    EXPECT_EQ(B.NormalColour2, RGBColor(1, 2, 3));
    EXPECT_EQ(B.MouseOverColour2, RGBColor(0, 34, 86));
    EXPECT_EQ(B.CheckFrame, 6);  // 96 / 16
    EXPECT_EQ(B.RadioFrame, 4);  // 52 / 13
}

TEST(SkinButtonElement, GivenAndMinimumGlyphFrameCounts) {
    TTestSkin Skin;
    Skin.Ini = "[Buttons]\nCheckButton=check.bmp\nCheckButtonFrame=7\nRadioButton=radio.bmp\n";
    Skin.Bitmap("check.bmp", 96, 16).Bitmap("radio.bmp", 32, 16);
    const auto Data = LoadSkin(Skin);
    EXPECT_EQ(Data->FButtons->CheckFrame, 7);
    EXPECT_EQ(Data->FButtons->RadioFrame, 4);
    EXPECT_EQ(Data->FButtons->NormalColour2, clBtnText);
}

}  // namespace
