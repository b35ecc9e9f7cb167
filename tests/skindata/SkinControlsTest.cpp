// Control elements: the generic readers, fixed frame counts, the fallback
// track bitmaps and the synthesised combo and toolbar elements.
#include <gtest/gtest.h>

#include "SkinFixtures.h"
#include "framework/graphics/Canvas.h"
#include "skin/data/ImgUtil.h"

using namespace skintest;

namespace {

TEST(SkinControlElements, SectionWithoutImageKeyLeavesTheElementAbsent) {
    TTestSkin Skin;
    Skin.Ini =
        "[Progress]\nImage=x.bmp\n[Progress.Chunk]\nBitmap=x.bmp\n[GroupBox]\nStyle=1\n[Tabs]\nBorder=x.bmp\n"
        "[Headerbar]\nImage=\n[ComboButton]\nTile=1\n";
    Skin.Bitmap("x.bmp", 4, 4);
    const auto Data = LoadSkin(Skin);
    EXPECT_FALSE(Data->FProgress);
    EXPECT_FALSE(Data->FProgressChunk);
    EXPECT_FALSE(Data->FGroupBox);
    EXPECT_FALSE(Data->FGroupBoxEdge);
    EXPECT_FALSE(Data->FTabs);
    EXPECT_FALSE(Data->FHeaderbar);
    EXPECT_FALSE(Data->FComboButton);
    EXPECT_FALSE(Data->FSunkEdge);
    EXPECT_FALSE(Data->FScrollbar);
    EXPECT_FALSE(Data->FUpDownHorz);
    // An image key naming no bitmap still makes the element, with an empty bitmap.
    TTestSkin Named;
    Named.Ini = "[MenuItem]\nImage=missing.bmp\n";
    const auto NamedData = LoadSkin(Named);
    ASSERT_TRUE(NamedData->FMenuItem);
    EXPECT_TRUE(NamedData->FMenuItem->Bitmap->Empty());
}

TEST(SkinControlElements, ReadElementTakesEveryKey) {
    TTestSkin Skin;
    Skin.Ini =
        "[Colours]\nButtonText=9 9 9\n[Progress.Chunk]\nImage=chunk.bmp\nStyle=3\nLeftWidth=1\nRightWidth=2\n"
        "TopHeight=3\nBottomHeight=4\nFrame=7\nTrans=1\nTile=1\nNormalColour=5\nMouseOverColour=6\n"
        "PressedColour=7\nNormalColour2=1,2,3\n";
    Skin.Bitmap("chunk.bmp", 14, 6);
    const auto Data = LoadSkin(Skin);
    ASSERT_TRUE(Data->FProgressChunk);
    const TDataSkinObject& E = *Data->FProgressChunk;
    EXPECT_EQ(E.Name, "Progress.Chunk");
    EXPECT_EQ(E.Bitmap->Width(), 14);
    EXPECT_EQ(E.Style, 3);
    EXPECT_EQ(E.LeftWidth, 1);
    EXPECT_EQ(E.RightWidth, 2);
    EXPECT_EQ(E.TopHeight, 3);
    EXPECT_EQ(E.BottomHeight, 4);
    EXPECT_EQ(E.Frame, 7);  // kept as read
    EXPECT_EQ(E.Trans, 1);
    EXPECT_EQ(E.Tile, 1);
    EXPECT_EQ(E.NormalColour, 5);
    EXPECT_EQ(E.MouseOverColour, 6);
    EXPECT_EQ(E.PressedColour, 7);
    EXPECT_EQ(E.NormalColour2, RGBColor(1, 2, 3));
    EXPECT_EQ(E.MouseOverColour2, RGBColor(9, 9, 9));
    EXPECT_EQ(E.PressedColour2, RGBColor(9, 9, 9));
}

TEST(SkinControlElements, FixedFrameCounts) {
    TTestSkin Skin;
    const char* Sections[] = {"GroupBoxEdge",
                              "GroupBox",
                              "Tabs",
                              "StatusBarEdges",
                              "Tab.Pane",
                              "ToolBars",
                              "ComboButton",
                              "ExtraImages",
                              "MenuItem",
                              "MenuBackground",
                              "Scrollbar",
                              "HorzScroll",
                              "VertScroll",
                              "Trackbar.ThumbHorz",
                              "Trackbar.ThumbVert",
                              "Trackbar.ThumbLeft",
                              "Trackbar.ThumbRight",
                              "Trackbar.ThumbUp",
                              "Trackbar.ThumbDown",
                              "UpDown.Horz",
                              "UpDown.Vert",
                              "HorzScrollThumb"};
    for (const char* Section : Sections) Skin.Ini += std::string("[") + Section + "]\nImage=x.bmp\nFrame=2\n";
    Skin.Ini += "[VertScrollThumb]\nImage=x.bmp\nFrameCount=6\n[Progress]\nBitmap=x.bmp\nStyle=1\n";
    Skin.Bitmap("x.bmp", 40, 40);
    const auto Data = LoadSkin(Skin);
    EXPECT_EQ(Data->FGroupBoxEdge->Frame, 2);
    EXPECT_EQ(Data->FGroupBox->Frame, 1);
    EXPECT_EQ(Data->FTabs->Frame, 5);
    EXPECT_EQ(Data->FStatusBarEdges->Frame, 3);
    EXPECT_EQ(Data->FTabPane->Frame, 1);
    EXPECT_EQ(Data->FToolBars->Frame, 5);
    EXPECT_EQ(Data->FComboButton->Frame, 4);
    EXPECT_EQ(Data->FExtraImages->Frame, 5);
    EXPECT_EQ(Data->FMenuItem->Frame, 5);
    EXPECT_EQ(Data->FMenuBackground->Frame, 1);
    EXPECT_EQ(Data->FScrollbar->Frame, 23);
    EXPECT_EQ(Data->FHorzScroll->Frame, 4);
    EXPECT_EQ(Data->FVertScroll->Frame, 4);
    EXPECT_EQ(Data->FHorzScrollThumb->Frame, 3);
    EXPECT_EQ(Data->FVertScrollThumb->Frame, 6);
    for (const auto* Thumb : {&Data->FTrackThumbHorz, &Data->FTrackThumbVert, &Data->FTrackThumbLeft,
                              &Data->FTrackThumbRight, &Data->FTrackThumbUp, &Data->FTrackThumbDown})
        EXPECT_EQ((*Thumb)->Frame, 5);
    EXPECT_EQ(Data->FUpDownHorz->Frame, 8);
    EXPECT_EQ(Data->FUpDownVert->Frame, 8);
    EXPECT_EQ(Data->FProgress->Frame, 1);
}

TEST(SkinControlElements, HeaderbarKeepsItsOwnCountAndProgressStyleDecides) {
    TTestSkin Skin;
    Skin.Ini = "[Headerbar]\nImage=x.bmp\nframe=4\n[Progress]\nBitmap=x.bmp\nTile=3\n";
    Skin.Bitmap("x.bmp", 40, 40);
    const auto Data = LoadSkin(Skin);
    EXPECT_EQ(Data->FHeaderbar->Frame, 4);
    EXPECT_EQ(Data->FProgress->Frame, 2);
    EXPECT_EQ(Data->FProgress->Tile, 1);  // above 1 becomes 1 here

    TTestSkin NoFrame;
    NoFrame.Ini = "[Headerbar]\nImage=x.bmp\n";
    NoFrame.Bitmap("x.bmp", 40, 40);
    EXPECT_EQ(LoadSkin(NoFrame)->FHeaderbar->Frame, 5);
}

TEST(SkinControlElements, ReaderVariants) {
    TTestSkin Skin;
    Skin.Ini =
        "[Tabs]\nImage=x.bmp\nBorder=y.bmp\nTile=3\nFrame=9\n[Tab.Pane]\nImage=x.bmp\nLeftWidth=9\nTopHeight=4\n"
        "RightWidth=5\nBottomHeight=-1\n[GroupBox]\nImage=x.bmp\nBackgroundAlignment=2\nBackgroundLeftShift=3\n"
        "BackgroundRightShift=-4\nTile=2\n[UpDown.Vert]\nImage=x.bmp\nGlyphImage=y.bmp\n";
    Skin.Bitmap("x.bmp", 40, 40).Bitmap("y.bmp", 7, 9);
    const auto Data = LoadSkin(Skin);
    EXPECT_EQ(Data->FTabs->Tile, 0);
    EXPECT_EQ(Data->FTabs->Bitmap2->Width(), 7);
    EXPECT_EQ(Data->FTabPane->LeftWidth, 4);
    EXPECT_EQ(Data->FTabPane->TopHeight, 4);
    EXPECT_EQ(Data->FTabPane->RightWidth, 4);
    EXPECT_EQ(Data->FTabPane->BottomHeight, 0);
    EXPECT_EQ(Data->FGroupBox->BackgroundAlignment, 2);
    EXPECT_EQ(Data->FGroupBox->BackgroundLeftShift, 3);
    EXPECT_EQ(Data->FGroupBox->BackgroundRightShift, -4);
    EXPECT_EQ(Data->FGroupBox->Tile, 0);
    EXPECT_EQ(Data->FUpDownVert->Bitmap2->Height(), 9);
}

TEST(SkinControlElements, TrackBitmapsFallBackToTheProgramsOwn) {
    TTestSkin Skin;
    Skin.Ini = "[Other]\n";
    const auto Data = LoadSkin(Skin);
    ASSERT_TRUE(Data->FTrack);
    ASSERT_TRUE(Data->FTrackVert);
    EXPECT_EQ(Data->FTrack->Name, "TRACK");
    EXPECT_EQ(Data->FTrack->Bitmap->Width(), 16);
    EXPECT_EQ(Data->FTrack->Bitmap->Height(), 4);
    EXPECT_EQ(Data->FTrackVert->Bitmap->Width(), 4);
    EXPECT_EQ(Data->FTrackVert->Bitmap->Height(), 16);
    for (const auto* Track : {Data->FTrack.get(), Data->FTrackVert.get()}) {
        EXPECT_EQ(Track->LeftWidth, 3);
        EXPECT_EQ(Track->TopHeight, 3);
        EXPECT_EQ(Track->RightWidth, 3);
        EXPECT_EQ(Track->BottomHeight, 3);
        EXPECT_EQ(Track->Frame, 1);
        EXPECT_EQ(Track->Tile, 0);
    }

    TTestSkin Own;
    Own.Ini = "[Track]\nImage=t.bmp\nFrame=2\n";
    Own.Bitmap("t.bmp", 30, 6);
    const auto OwnData = LoadSkin(Own);
    EXPECT_EQ(OwnData->FTrack->Bitmap->Width(), 30);
    EXPECT_EQ(OwnData->FTrack->Frame, 2);
    EXPECT_EQ(OwnData->FTrackVert->Name, "TRACKVERT");
}

TEST(SkinControlElements, ComboButtonGetsAMirroredSecondImage) {
    TTestSkin Skin;
    Skin.Ini = "[ComboButton]\nImage=combo.bmp\n";
    Skin.Bitmap("combo.bmp", 8, 3, [](int32_t X, int32_t) { return X < 2 ? clRed : clBlue; });
    const auto Data = LoadSkin(Skin);
    TBitmap& Mirrored = *Data->FComboButton->Bitmap2;
    ASSERT_EQ(Mirrored.Width(), 8);
    EXPECT_EQ(PixelOf(Mirrored, 7, 1), clRed);
    EXPECT_EQ(PixelOf(Mirrored, 0, 1), clBlue);
    EXPECT_EQ(PixelOf(*Data->FComboButton->Bitmap, 0, 1), clRed);
}

TEST(SkinSynthesised, ComboArrowIsTheButtonImageOnTheButtonFace) {
    TTestSkin Skin;
    Skin.Ini = "[Colours]\nButtonFace=230 235 245\n[ComboButton]\nImage=combo.bmp\n";
    Skin.Bitmap("combo.bmp", 64, 16, [](int32_t X, int32_t) { return X % 2 ? clFuchsia : clNavy; });
    const auto Data = LoadSkin(Skin);
    ASSERT_TRUE(Data->FComboArrow);
    TBitmap& Arrow = *Data->FComboArrow->Bitmap;
    EXPECT_EQ(Data->FComboArrow->Name, "ComboxArrow");
    EXPECT_EQ(Data->FComboArrow->Frame, 4);
    ASSERT_EQ(Arrow.Width(), 64);
    EXPECT_EQ(PixelOf(Arrow, 1, 5), RGBColor(230, 235, 245));
    EXPECT_EQ(PixelOf(Arrow, 2, 5), clNavy);
}

TEST(SkinSynthesised, ComboArrowEmptyWithoutComboPictures) {
    TTestSkin First;
    First.Ini = "[ComboButton]\nImage=combo.bmp\n";
    First.Bitmap("combo.bmp", 64, 16);
    const auto Data = LoadSkin(First);
    ASSERT_FALSE(Data->FComboArrow->Bitmap->Empty());
    TTestSkin Second;
    Second.Ini = "[Other]\n";
    ASSERT_TRUE(LoadPackageBytes(*Data, Second.Package()));
    ASSERT_TRUE(Data->FComboArrow);
    EXPECT_TRUE(Data->FComboArrow->Bitmap->Empty());
}

TEST(SkinSynthesised, SunkEdgeAndComboButtonComposeOneComboPicture) {
    TTestSkin Skin;
    Skin.Ini =
        "[SunkEdge]\nImage=sunk.bmp\nLeftWidth=2\nTopHeight=3\nRightWidth=2\nBottomHeight=4\n"
        "[ComboButton]\nImage=combo.bmp\nLeftWidth=1\nRightWidth=1\n";
    Skin.Bitmap("sunk.bmp", 40, 21, [](int32_t, int32_t) { return clGray; });
    Skin.Bitmap("combo.bmp", 80, 21, [](int32_t X, int32_t) { return X / 20 == 2 ? clLime : clNavy; });
    const auto Data = LoadSkin(Skin);
    const int32_t ButtonWidth = GetSystemMetrics(SM_CXHSCROLL) + 2;
    TDataSkinBorder& Combo = *Data->FComboButton;
    EXPECT_EQ(Combo.Style, 2);
    EXPECT_EQ(Combo.LeftWidth, 2);
    EXPECT_EQ(Combo.RightWidth, ButtonWidth + 2);
    EXPECT_EQ(Combo.TopHeight, 3);
    EXPECT_EQ(Combo.BottomHeight, 4);
    ASSERT_EQ(Combo.Bitmap->Width(), 200);
    ASSERT_EQ(Combo.Bitmap->Height(), 21);
    // Frame 1: the sunken frame at the left, the edit area transparent, the
    // button (its frame 1) at the right; frame 3 shows the button's frame 3.
    EXPECT_EQ(PixelOf(*Combo.Bitmap, 0, 0), clGray);
    EXPECT_EQ(PixelOf(*Combo.Bitmap, 10, 10), clFuchsia);
    EXPECT_EQ(PixelOf(*Combo.Bitmap, 49, 10), clNavy);
    EXPECT_EQ(PixelOf(*Combo.Bitmap, 100 + 49, 10), clLime);
    TDataSkinObject& Sunk = *Data->FSunkEdge;
    EXPECT_EQ(Sunk.LeftWidth, ButtonWidth + 2);
    EXPECT_EQ(Sunk.RightWidth, 2);
    EXPECT_EQ(PixelOf(*Sunk.Bitmap, 199 - 10, 10), clFuchsia);
    EXPECT_EQ(PixelOf(*Sunk.Bitmap, 199 - (100 + 49), 10), clLime);
    // The arrow: 17 x 17 out of each frame, 2 pixels in from its right and top.
    TDataSkinObject& Arrow = *Data->FComboArrow;
    EXPECT_EQ(Arrow.Frame, 4);
    EXPECT_EQ(Arrow.Bitmap->Width(), 68);
    EXPECT_EQ(Arrow.Bitmap->Height(), 17);
    EXPECT_EQ(PixelOf(*Arrow.Bitmap, 17 * 2 + 8, 8), clLime);
    EXPECT_EQ(PixelOf(*Arrow.Bitmap, 8, 8), clNavy);
}

TEST(SkinSynthesised, TitleColourIsSampledFromTheTopBorder) {
    TTestSkin Skin;
    Skin.Ini = "[Personality]\nTop=top.bmp\nTopFrame=2\n";
    // 60 x 30 with two stacked frames: the sample is at (20, 5).
    Skin.Bitmap("top.bmp", 60, 30,
                [](int32_t X, int32_t Y) { return X == 20 && Y == 5 ? RGBColor(1, 2, 3) : clWhite; });
    const auto Data = LoadSkin(Skin);
    EXPECT_EQ(Data->FColors[SkinColour::TitleColor], RGBColor(1, 2, 3));

    TTestSkin NoTop;
    NoTop.Ini = "[Colours]\nButtonFace=4 5 6\n";
    EXPECT_EQ(LoadSkin(NoTop)->FColors[SkinColour::TitleColor], RGBColor(4, 5, 6));
}

// The bitmap is the top-to-bottom gradient from Start to End.
void ExpectGradient(TBitmap& Bar, TColor Start, TColor End) {
    TBitmap Expected(10, 40, pf24bit);
    GradientFillRect(Expected.Canvas().Handle(), RECT{0, 0, 10, 40}, Start, 1, End);
    for (int32_t Y : {0, 13, 39})
        for (int32_t X : {0, 9}) EXPECT_EQ(PixelOf(Bar, X, Y), PixelOf(Expected, X, Y)) << X << "," << Y;
}

TEST(SkinSynthesised, ToolbarGradientRunsFromTheLightenedFaceToTheTitleBlend) {
    TTestSkin Skin;
    Skin.Ini = "[Colours]\nButtonFace=230 235 245\n[Personality]\nTop=top.bmp\n";
    const TColor Title = RGBColor(40, 90, 200);  // vivid: saturation 204
    Skin.Bitmap("top.bmp", 30, 30, [&](int32_t, int32_t) { return Title; });
    const auto Data = LoadSkin(Skin);
    ASSERT_TRUE(Data->FToolbar);
    TBitmap& Bar = *Data->FToolbar->Bitmap;
    EXPECT_EQ(Data->FToolbar->Name, "Toolbar");
    EXPECT_EQ(Data->FToolbar->Frame, 1);
    ASSERT_EQ(Bar.Width(), 10);
    ASSERT_EQ(Bar.Height(), 40);
    const int Saturation = ColorSaturation(Title);
    ASSERT_GT(Saturation, 110);
    const TColor Start = BlendColors(RGBColor(230, 235, 245), clWhite, 150);
    const TColor End = BlendColors(Title, clWhite, (225 - Saturation) * 25 / 140 + 50);
    ExpectGradient(Bar, Start, End);
}

TEST(SkinSynthesised, DarkTitleColourBlendsWithWhiteByItsFixedSaturation) {
    TTestSkin Skin;
    Skin.Ini = "[Personality]\nTop=top.bmp\n";
    const TColor Title = RGBColor(60, 70, 80);  // no channel reaches 160: saturation reads 200
    Skin.Bitmap("top.bmp", 30, 30, [&](int32_t, int32_t) { return Title; });
    const auto Data = LoadSkin(Skin);
    ASSERT_EQ(ColorSaturation(Title), 200);
    const TColor Start = BlendColors(clBtnFace, clWhite, 150);
    ExpectGradient(*Data->FToolbar->Bitmap, Start, BlendColors(Title, clWhite, (225 - 200) * 25 / 140 + 50));
}

TEST(SkinSynthesised, FaceBrushIsTheButtonFace) {
    TTestSkin Skin;
    Skin.Ini = "[Colours]\nButtonFace=230 235 245\n";
    const auto Data = LoadSkin(Skin);
    ASSERT_TRUE(Data->FFaceBrush);
    LOGBRUSH Brush{};
    ASSERT_EQ(GetObjectW(Data->FFaceBrush.get(), sizeof(Brush), &Brush), static_cast<int>(sizeof(Brush)));
    EXPECT_EQ(Brush.lbColor, static_cast<COLORREF>(RGBColor(230, 235, 245)));
}

}  // namespace
