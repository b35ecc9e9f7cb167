// The default skin as the engine reads it: the cases the program's stored
// skin must meet, and skininfo's description against what the INI says.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <span>
#include <sstream>

#include "SkinFixtures.h"
#include "SkinInfo.h"
#include "framework/graphics/BmpCodec.h"
#include "framework/win/ResourceData.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"

using namespace skintest;

namespace {


class DefaultSkin : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Package = new std::vector<uint8_t>(win::RcDataBytes(L"DEFAULTSKIN"));
        const std::vector<uint8_t> IniText = win::RcDataBytes(L"DEFAULTINI");
        TMemoryStream Stream;
        Stream.WriteBuffer(IniText.data(), static_cast<int32_t>(IniText.size()));
        Stream.SetPosition(0);
        Ini = new TQuickIni();
        Ini->LoadFromStream(&Stream);
    }
    static void TearDownTestSuite() {
        delete Package;
        delete Ini;
    }
    void SetUp() override {
        ASSERT_FALSE(Package->empty());
        Data = std::make_unique<TSkinData>(nullptr);
        ASSERT_TRUE(LoadPackageBytes(*Data, *Package));
    }

    // The size of a bitmap of the package, as the BMP file states it.
    static std::pair<int32_t, int32_t> PackageBitmapSize(const std::string& Name) {
        TMemoryStream Stream;
        Stream.WriteBuffer(Package->data(), static_cast<int32_t>(Package->size()));
        TSkinReader Reader;
        EXPECT_TRUE(Reader.ReadPackage(Stream));
        TMemoryStream File;
        Reader.ExtractFile(Name, File);
        TBmpImage Image;
        DecodeBmpFile(std::span<const uint8_t>(File.Memory(), static_cast<size_t>(File.Size())), Image);
        return {Image.Width, std::abs(Image.Height)};
    }

    static std::vector<uint8_t>* Package;
    static TQuickIni* Ini;
    std::unique_ptr<TSkinData> Data;
};
std::vector<uint8_t>* DefaultSkin::Package = nullptr;
TQuickIni* DefaultSkin::Ini = nullptr;

TEST_F(DefaultSkin, FiveCaptionButtonsThenTheThreeMDIButtons) {
    const auto& Buttons = Data->FCaptionButtons;
    ASSERT_EQ(Buttons.size(), 8u);
    for (int I = 0; I < 5; ++I) EXPECT_EQ(Buttons[static_cast<size_t>(I)]->Name, "BUTTON" + std::to_string(I));
    EXPECT_EQ(Buttons[4]->Action, 3);
    EXPECT_EQ(Buttons[4]->Align, 0);
    // No "ButtonImage": six frames and an empty bitmap.
    EXPECT_EQ(Buttons[4]->Frame, 6);
    EXPECT_TRUE(Buttons[4]->Bitmap->Empty());
    for (int I = 5; I < 8; ++I) EXPECT_EQ(Buttons[static_cast<size_t>(I)]->Action, I + 2);
}

TEST_F(DefaultSkin, ButtonFaceIsLightBlueGrey) {
    EXPECT_EQ(Data->FColors[SkinColour::ButtonFace], RGBColor(230, 235, 245));
    EXPECT_EQ(Data->FSkinName, Ini->ReadString("TitlebarSkin", "SkinName", ""));
}

TEST_F(DefaultSkin, AbsentElementsAndTheirFallbacks) {
    EXPECT_FALSE(Data->FSunkEdge);
    EXPECT_FALSE(Data->FGroupBox);
    EXPECT_FALSE(Data->FGroupBoxEdge);
    EXPECT_FALSE(Data->FToolBars);
    EXPECT_EQ(Data->FTrack->Name, "TRACK");
    EXPECT_EQ(Data->FTrack->Bitmap->Width(), 16);
    EXPECT_EQ(Data->FTrackVert->Name, "TRACKVERT");
    EXPECT_EQ(Data->FTrackVert->Bitmap->Height(), 16);
    // The combo arrow is the combo button's picture on the button face.
    ASSERT_TRUE(Data->FComboButton);
    TBitmap& Button = *Data->FComboButton->Bitmap;
    TBitmap& Arrow = *Data->FComboArrow->Bitmap;
    ASSERT_EQ(Arrow.Width(), Button.Width());
    ASSERT_EQ(Arrow.Height(), Button.Height());
    int Replaced = 0;
    for (int32_t Y = 0; Y < Button.Height(); ++Y)
        for (int32_t X = 0; X < Button.Width(); ++X) {
            const TColor Original = PixelOf(Button, X, Y);
            if (Original == clFuchsia) {
                ++Replaced;
                EXPECT_EQ(PixelOf(Arrow, X, Y), RGBColor(230, 235, 245));
            } else {
                EXPECT_EQ(PixelOf(Arrow, X, Y), Original);
            }
        }
    EXPECT_GT(Replaced, 0);
}

// Element sections of the INI read by the generic readers: the description
// must give each exactly the numbers and bitmap the INI names.
struct TSectionCheck {
    const char* Field;
    const char* Section;
    const char* ImageKey;
    int32_t MaxMargin;  // Tab.Pane's margins are cut to 4
};
constexpr TSectionCheck SectionChecks[] = {{"FScrollbar", "Scrollbar", "Image", INT32_MAX},
                                           {"FHorzScroll", "HorzScroll", "Image", INT32_MAX},
                                           {"FVertScroll", "VertScroll", "Image", INT32_MAX},
                                           {"FHorzScrollThumb", "HorzScrollThumb", "Image", INT32_MAX},
                                           {"FVertScrollThumb", "VertScrollThumb", "Image", INT32_MAX},
                                           {"FProgress", "Progress", "Bitmap", INT32_MAX},
                                           {"FTabs", "Tabs", "Image", INT32_MAX},
                                           {"FTabPane", "Tab.Pane", "Image", 4},
                                           {"FStatusBarEdges", "StatusBarEdges", "Image", INT32_MAX},
                                           {"FComboButton", "ComboButton", "Image", INT32_MAX},
                                           {"FExtraImages", "ExtraImages", "Image", INT32_MAX},
                                           {"FMenuItem", "MenuItem", "Image", INT32_MAX},
                                           {"FMenuBackground", "MenuBackground", "Image", INT32_MAX},
                                           {"FHeaderbar", "Headerbar", "Image", INT32_MAX},
                                           {"FUpDownHorz", "UpDown.Horz", "Image", INT32_MAX},
                                           {"FUpDownVert", "UpDown.Vert", "Image", INT32_MAX},
                                           {"FTrackThumbHorz", "Trackbar.ThumbHorz", "Image", INT32_MAX}};

std::string DescribedLine(const std::string& Description, const std::string& Field) {
    std::istringstream Lines(Description);
    std::string Line;
    while (std::getline(Lines, Line))
        if (Line.rfind(Field + " ", 0) == 0) return Line;
    return {};
}

TEST_F(DefaultSkin, SkinInfoDescribesEveryElementAsTheIniSays) {
    const std::string Description = DescribeSkin(*Data);
    for (const TSectionCheck& Check : SectionChecks) {
        SCOPED_TRACE(Check.Section);
        const std::string Line = DescribedLine(Description, Check.Field);
        ASSERT_FALSE(Line.empty());
        const auto Margin = [&](const char* Key) {
            return std::min(std::max(0, Ini->ReadInteger(Check.Section, Key, 0)), Check.MaxMargin);
        };
        const std::string Margins = " margins " + std::to_string(Margin("LeftWidth")) + "," +
                                    std::to_string(Margin("TopHeight")) + "," + std::to_string(Margin("RightWidth")) +
                                    "," + std::to_string(Margin("BottomHeight")) + " ";
        EXPECT_NE(Line.find(Margins), std::string::npos) << Line;
        EXPECT_NE(Line.find(" trans " + std::to_string(Ini->ReadInteger(Check.Section, "Trans", 0)) + " "),
                  std::string::npos)
            << Line;
        const auto [Width, Height] = PackageBitmapSize(Ini->ReadString(Check.Section, Check.ImageKey, ""));
        EXPECT_NE(Line.find(" bitmap " + std::to_string(Width) + "x" + std::to_string(Height) + " "), std::string::npos)
            << Line;
        EXPECT_NE(Line.find("[" + std::string(Check.Section) + "]"), std::string::npos) << Line;
    }
    // The frame sides: "Left" keys and bitmap.
    const std::string Left = DescribedLine(Description, "FBorderLeft");
    EXPECT_NE(Left.find(" frames " + std::to_string(Ini->ReadInteger("Personality", "LeftFrame", 1)) + " "),
              std::string::npos)
        << Left;
    EXPECT_NE(Left.find(" margins 0," + std::to_string(Ini->ReadInteger("Personality", "LeftTopHeight", 0)) + ",0," +
                        std::to_string(Ini->ReadInteger("Personality", "LeftBotHeight", 0)) + " "),
              std::string::npos)
        << Left;
    EXPECT_NE(Description.find("caption buttons 8\n"), std::string::npos);
    EXPECT_NE(Description.find(" 3 ButtonFace $00F5EBE6 skin\n"), std::string::npos);
    EXPECT_NE(DescribedLine(Description, "FSunkEdge").find("absent"), std::string::npos);
}

}  // namespace
