// The program's main form as its resource gives it: SkinData1 with the
// stored settings and the default skin loaded.
#include <gtest/gtest.h>

#include "app/Unit1.h"
#include "framework/controls/Application.h"
#include "skin/data/SkinThirdParty.h"

namespace {

class MainFormSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Application->Initialize();
        Application->CreateForm(Form1);
    }
    static void TearDownTestSuite() { Application->DestroyForms(); }
};

TEST_F(MainFormSkin, SkinDataIsReadWithItsSettingsAndALoadedSkin) {
    ASSERT_NE(Form1, nullptr);
    TSkinData* Data = Form1->SkinData1;
    ASSERT_NE(Data, nullptr);
    EXPECT_EQ(Data->Owner(), Form1);
    EXPECT_FALSE(Data->FSkinLoading);
    EXPECT_EQ(Data->FSkinName, "Quirn Default");
    EXPECT_TRUE(Data->Active());
    EXPECT_EQ(Data->DisableTag(), 99);
    const TSkinControlTypes Expected{xcMainMenu, xcPopupMenu,   xcToolbar,     xcControlbar, xcCombo,
                                     xcCheckBox, xcRadioButton, xcProgress,    xcScrollbar,  xcEdit,
                                     xcButton,   xcBitBtn,      xcSpeedButton, xcSpin,       xcPanel,
                                     xcGroupBox, xcStatusBar,   xcTab,         xcTrackBar};
    EXPECT_TRUE(Data->SkinControls() == Expected);
    EXPECT_TRUE(Data->Options() == (TSkinOptions{xoPreview, xoToolbarBK, xoCaptionButtonHint}));
    ASSERT_EQ(Data->Skin3rd()->Count(), static_cast<int32_t>(DefaultSkin3rdCount));
    for (int32_t I = 0; I < Data->Skin3rd()->Count(); ++I)
        EXPECT_EQ(Data->Skin3rd()->Strings(I), DefaultSkin3rd[static_cast<size_t>(I)]);
    EXPECT_EQ(Data->SkinStore(), "(none)");
    EXPECT_EQ(Data->SkinFormtype(), sfMainform);
    EXPECT_EQ(Data->Version(), "5.40.07.15");
    EXPECT_TRUE(Data->MenuUpdate());
    EXPECT_FALSE(Data->MenuMerge());
    EXPECT_GT(Data->SkinStream().Size(), 0);
    EXPECT_EQ(Data->FCaptionButtons.size(), 8u);
    EXPECT_EQ(Data->FColors[SkinColour::ButtonFace], RGBColor(230, 235, 245));
}

}  // namespace
