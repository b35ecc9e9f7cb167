// Both bundled skins as the engine reads them: every element a painter draws
// from is defined and carries its picture, so nothing falls back to the
// system's drawing for lack of data.
#include <gtest/gtest.h>

#include <vector>

#include "SkinFixtures.h"
#include "framework/win/ResourceData.h"

using namespace skintest;

namespace {


void ExpectPicture(const TDataSkinObject* Element, const char* Field) {
    SCOPED_TRACE(Field);
    ASSERT_NE(Element, nullptr) << "element absent";
    ASSERT_NE(Element->Bitmap, nullptr);
    EXPECT_FALSE(Element->Bitmap->Empty()) << "element without picture";
    EXPECT_GE(Element->Frame, 1);
}

class BundledSkin : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(BundledSkin, EveryPaintedElementIsDefinedWithItsPicture) {
    const std::vector<uint8_t> Package = win::RcDataBytes(GetParam());
    ASSERT_FALSE(Package.empty());
    TSkinData Data(nullptr);
    ASSERT_TRUE(LoadPackageBytes(Data, Package));

    ASSERT_NE(Data.FTitle, nullptr);
    ExpectPicture(Data.FBorderLeft.get(), "FBorderLeft");
    ExpectPicture(Data.FBorderRight.get(), "FBorderRight");
    ExpectPicture(Data.FBorderTop.get(), "FBorderTop");
    ExpectPicture(Data.FBorderBottom.get(), "FBorderBottom");
    ExpectPicture(Data.FMenuBar.get(), "FMenuBar");

    ExpectPicture(Data.FButtons.get(), "FButtons");
    EXPECT_FALSE(Data.FButtons->CheckBitmap->Empty());
    EXPECT_FALSE(Data.FButtons->RadioBitmap->Empty());

    // Close, maximize, restore and minimize draw from their own pictures.
    ASSERT_GE(Data.FCaptionButtons.size(), 4u);
    for (size_t I = 0; I < 4; ++I) ExpectPicture(Data.FCaptionButtons[I].get(), "caption button");

    ExpectPicture(Data.FProgress.get(), "FProgress");
    ExpectPicture(Data.FTabs.get(), "FTabs");
    ExpectPicture(Data.FTabPane.get(), "FTabPane");
    ExpectPicture(Data.FStatusBarEdges.get(), "FStatusBarEdges");
    ExpectPicture(Data.FComboButton.get(), "FComboButton");
    ExpectPicture(Data.FComboArrow.get(), "FComboArrow");
    ExpectPicture(Data.FExtraImages.get(), "FExtraImages");
    ExpectPicture(Data.FHeaderbar.get(), "FHeaderbar");
    ExpectPicture(Data.FMenuItem.get(), "FMenuItem");
    ExpectPicture(Data.FMenuBackground.get(), "FMenuBackground");
    ExpectPicture(Data.FScrollbar.get(), "FScrollbar");
    ExpectPicture(Data.FHorzScroll.get(), "FHorzScroll");
    ExpectPicture(Data.FVertScroll.get(), "FVertScroll");
    ExpectPicture(Data.FHorzScrollThumb.get(), "FHorzScrollThumb");
    ExpectPicture(Data.FVertScrollThumb.get(), "FVertScrollThumb");
    ExpectPicture(Data.FTrackThumbHorz.get(), "FTrackThumbHorz");
    ExpectPicture(Data.FTrackThumbVert.get(), "FTrackThumbVert");
    ExpectPicture(Data.FUpDownHorz.get(), "FUpDownHorz");
    ExpectPicture(Data.FUpDownVert.get(), "FUpDownVert");
    // The track channels come from the program's own resources when a skin has none.
    ExpectPicture(Data.FTrack.get(), "FTrack");
    ExpectPicture(Data.FTrackVert.get(), "FTrackVert");
}

INSTANTIATE_TEST_SUITE_P(DefaultAndGraphite, BundledSkin, ::testing::Values(L"DEFAULTSKIN", L"GRAPHITESKIN"));

}  // namespace
