// Colours of a skin: colour texts, the colour table with its defaults and
// flags, colour sections, custom colours and triplet keys.
#include <gtest/gtest.h>

#include "SkinFixtures.h"

using namespace skintest;

namespace {

constexpr TColor Sentinel = 0x123456;

TEST(SkinParseColor, ThreeNumbersWithAnySeparatorGiveRedGreenBlue) {
    const TColor Expected = RGBColor(230, 235, 245);
    EXPECT_EQ(TSkinData::ParseColor("230 235 245", Sentinel), Expected);
    EXPECT_EQ(TSkinData::ParseColor("230,235,245", Sentinel), Expected);
    EXPECT_EQ(TSkinData::ParseColor("230;235;245", Sentinel), Expected);
    EXPECT_EQ(TSkinData::ParseColor("  230 235 245 \t", Sentinel), Expected);
    EXPECT_EQ(TSkinData::ParseColor("r230 g235 b245", Sentinel), Expected);
}

TEST(SkinParseColor, MissingComponentsAreZeroAndOnlyTheLowByteCounts) {
    EXPECT_EQ(TSkinData::ParseColor("", Sentinel), Sentinel);
    EXPECT_EQ(TSkinData::ParseColor("12", Sentinel), 0);
    EXPECT_EQ(TSkinData::ParseColor("1 2", Sentinel), RGBColor(1, 0, 0));
    EXPECT_EQ(TSkinData::ParseColor("1 2 3 4 5", Sentinel), RGBColor(1, 2, 3));
    EXPECT_EQ(TSkinData::ParseColor("300 0 0", Sentinel), RGBColor(44, 0, 0));
    EXPECT_EQ(TSkinData::ParseColor("256,257,511", Sentinel), RGBColor(0, 1, 255));
    EXPECT_EQ(TSkinData::ParseColor("   ", Sentinel), 0);
}

TEST(SkinParseColor, RunTooLargeStaysPendingAndSwallowsWhatFollows) {
    EXPECT_EQ(TSkinData::ParseColor("1 99999999999 2 3", Sentinel), RGBColor(1, 0, 0));
    EXPECT_EQ(TSkinData::ParseColor("2147483647 2 3", Sentinel), RGBColor(255, 2, 3));
    EXPECT_EQ(TSkinData::ParseColor("2147483648 2 3", Sentinel), 0);
    EXPECT_EQ(TSkinData::ParseColor("0000000000000000000007 8 9", Sentinel), RGBColor(7, 8, 9));
    EXPECT_EQ(TSkinData::ParseColor(std::string(100000, '9') + " 1 2", Sentinel), 0);
}

TEST(SkinColourTable, KeysOfColoursFillTheTableAndMarkItDefined) {
    TTestSkin Skin;
    Skin.Ini = "[Colours]\nButtonFace=230 235 245\nbuttontext=1 2 3\nHilight=300 0 0\nMenu=\n";
    const auto Data = LoadSkin(Skin);
    ASSERT_FALSE(Data->FSkinLoading);
    EXPECT_EQ(Data->FColors[SkinColour::ButtonFace], RGBColor(230, 235, 245));
    EXPECT_TRUE(Data->FColorDefined[SkinColour::ButtonFace]);
    EXPECT_EQ(Data->FColors[SkinColour::ButtonText], RGBColor(1, 2, 3));
    EXPECT_EQ(Data->FColors[SkinColour::Hilight], RGBColor(44, 0, 0));
    // An empty value is no value.
    EXPECT_EQ(Data->FColors[SkinColour::Menu], clMenu);
    EXPECT_FALSE(Data->FColorDefined[SkinColour::Menu]);
    // Without its own key the menu bar takes the button face just read.
    EXPECT_EQ(Data->FColors[SkinColour::Menubar], RGBColor(230, 235, 245));
    EXPECT_FALSE(Data->FColorDefined[SkinColour::Menubar]);
}

TEST(SkinColourTable, MissingKeysGiveTheSystemColours) {
    TTestSkin Skin;
    Skin.Ini = "[Other]\nA=1\n";
    const auto Data = LoadSkin(Skin);
    const std::pair<int, TColor> Defaults[] = {{SkinColour::WindowText, clWindowText},
                                               {SkinColour::TitleTextActive, clCaptionText},
                                               {SkinColour::TitleTextNoActive, clInactiveCaptionText},
                                               {SkinColour::ButtonFace, clBtnFace},
                                               {SkinColour::ButtonText, clBtnText},
                                               {SkinColour::ButtonHilight, clBtnHighlight},
                                               {SkinColour::Buttonlight, clBtnHighlight},
                                               {SkinColour::ButtonShadow, clBtnShadow},
                                               {SkinColour::ButtonDkShadow, cl3DDkShadow},
                                               {SkinColour::HilightText, clHighlightText},
                                               {SkinColour::Hilight, clHighlight},
                                               {SkinColour::Menubar, clBtnFace},
                                               {SkinColour::MenuBarText, clMenuText},
                                               {SkinColour::MenuText, clMenuText},
                                               {SkinColour::Menu, clMenu},
                                               {SkinColour::Scrollbar, clScrollBar}};
    for (const auto& [Index, Colour] : Defaults) {
        EXPECT_EQ(Data->FColors[static_cast<size_t>(Index)], Colour) << "entry " << Index;
        EXPECT_FALSE(Data->FColorDefined[static_cast<size_t>(Index)]) << "entry " << Index;
    }
    // Entries 9 and 10 are not the parse's.
    EXPECT_EQ(Data->FColors[9], 0);
    EXPECT_EQ(Data->FColors[10], 0);
}

TEST(SkinColourTable, ColourSectionsInFileOrderExceptColours) {
    TTestSkin Skin;
    Skin.Ini =
        "[Colour.Accent]\ncolor=1 2 3\n[Colours]\nButtonFace=9 9 9\n[colourless]\nX=1\n"
        "[COLOURS2]\nColor=4 5 6\n[NotColour]\ncolor=7 7 7\n";
    const auto Data = LoadSkin(Skin);
    ASSERT_EQ(Data->FColourSections.size(), 3u);
    EXPECT_EQ(Data->FColourSections[0], RGBColor(1, 2, 3));
    EXPECT_EQ(Data->FColourSections[1], clWindowText);  // "colourless" has no colour key
    EXPECT_EQ(Data->FColourSections[2], RGBColor(4, 5, 6));
}

TEST(SkinColourTable, CustomColoursDefaultToWhite) {
    TTestSkin Skin;
    Skin.Ini = "[Customcolors]\nColor3=10 20 30\nColor10=1 1 1\n";
    const auto Data = LoadSkin(Skin);
    for (int N = 0; N < SkinCustomColourCount; ++N)
        EXPECT_EQ(Data->FCustomColors[static_cast<size_t>(N)], N == 3 ? RGBColor(10, 20, 30) : clWhite);
}

TEST(SkinTitle, TripletKeysGiveTheTextColoursOnlyWhenAllThreeAreThere) {
    TTestSkin Skin;
    Skin.Ini =
        "[Personality]\nActiveTextR=16\nActiveTextG=36\nActiveTextB=300\n"
        "InActiveTextR=1\nInActiveTextG=2\n"
        "TextShift=18\nTextShiftVert=-2\nTextRightClip=100\nTextAlignment=2\nTextbackground=1\n"
        "TXTBackleft=8\nTXTBackRight=9\n[Fonts]\nFontHeight=13\n";
    const auto Data = LoadSkin(Skin);
    const TDataSkinTitle& Title = *Data->FTitle;
    EXPECT_EQ(Title.ActiveTextColour, RGBColor(16, 36, 44));
    EXPECT_EQ(Title.InactiveTextColour, clNone);
    EXPECT_EQ(Title.LeftWidth, 18);
    EXPECT_EQ(Title.TopHeight, -2);
    EXPECT_EQ(Title.RightWidth, 100);
    EXPECT_EQ(Title.BottomHeight, 0);
    EXPECT_EQ(Title.TextAlignment, 2);
    EXPECT_EQ(Title.Textbackground, 1);
    EXPECT_EQ(Title.TXTBackleft, 8);
    EXPECT_EQ(Title.TXTBackRight, 9);
    EXPECT_EQ(Title.FontHeight, 13);
    EXPECT_EQ(Title.Frame, 2);
}

TEST(SkinTitle, DefaultsWithoutKeys) {
    TTestSkin Skin;
    Skin.Ini = "[Personality]\nActiveTextR=-1\nActiveTextG=0\nActiveTextB=0\n";
    const auto Data = LoadSkin(Skin);
    EXPECT_EQ(Data->FTitle->ActiveTextColour, clNone);
    EXPECT_EQ(Data->FTitle->FontHeight, 14);
    EXPECT_TRUE(Data->FTitle->Bitmap->Empty());
}

}  // namespace
