// The bundled skins: reproducible from the generator, shaped like the stored package, and every
// bitmap cut the way the engine's painter of its element reads it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>

#include "bmp_reader.h"
#include "framework/graphics/BmpCodec.h"
#include "ini_reader.h"
#include "tools/skingen/SkinBuilder.h"
#include "tools/skingen/Theme.h"

namespace {
namespace fs = std::filesystem;

constexpr int kArrowSize = 17;      // SM_CXHSCROLL at 96 dpi
constexpr int kArrowTolerance = 2;  // the scroll painter uses the strip's height within this
constexpr int kMenuHeight = 19;     // SM_CYMENU at 96 dpi
constexpr int kMainWindowWidth = 355;
constexpr int kScrollbarCells = 23;

struct LoadedSkin {
    std::string name;
    std::vector<std::string> files;         // sorted
    std::map<std::string, Image> pictures;  // by file name
    std::string iniName;
    SkinIni ini{""};
};

LoadedSkin Load(const std::string& folder) {
    LoadedSkin skin;
    skin.name = folder;
    const fs::path dir = fs::path(QUIRN_SOURCE_DIR) / "skins" / folder;
    for (const auto& entry : fs::directory_iterator(dir)) skin.files.push_back(entry.path().filename().string());
    std::sort(skin.files.begin(), skin.files.end());
    for (const std::string& name : skin.files) {
        const auto bytes = ReadFileBytes((dir / name).string());
        if (name.ends_with(".ini")) {
            skin.iniName = name;
            skin.ini = SkinIni(std::string(bytes.begin(), bytes.end()));
        } else if (auto picture = DecodeBmp24(bytes)) {
            skin.pictures.emplace(name, *picture);
        }
    }
    return skin;
}

const LoadedSkin& Default() {
    static const LoadedSkin skin = Load("default");
    return skin;
}
const LoadedSkin& Graphite() {
    static const LoadedSkin skin = Load("graphite");
    return skin;
}

// The picture a key names, or an empty one.
Image Picture(const LoadedSkin& skin, const std::string& section, const std::string& key) {
    const auto value = skin.ini.Value(section, key);
    if (!value) return {};
    const auto found = skin.pictures.find(*value);
    return found == skin.pictures.end() ? Image{} : found->second;
}

bool IsKeyColourFringe(Rgb pixel) { return pixel != kTransparent && pixel.r > 200 && pixel.g < 80 && pixel.b > 200; }

class EachSkin : public ::testing::TestWithParam<const char*> {
protected:
    const LoadedSkin& Skin() const { return std::string(GetParam()) == "default" ? Default() : Graphite(); }

    // Frames laid side by side: the width divides evenly and each cell is larger than its margins.
    void ExpectSideBySide(const std::string& section, const std::string& key, int frames) const {
        const Image picture = Picture(Skin(), section, key);
        ASSERT_FALSE(picture.Empty()) << section << " " << key;
        EXPECT_EQ(picture.Width() % frames, 0)
            << section << ": width " << picture.Width() << " for " << frames << " frames";
        const int cell = picture.Width() / frames;
        const SkinIni& ini = Skin().ini;
        EXPECT_GT(cell, ini.Integer(section, "LeftWidth", 0) + ini.Integer(section, "RightWidth", 0)) << section;
        EXPECT_GT(picture.Height(), ini.Integer(section, "TopHeight", 0) + ini.Integer(section, "BottomHeight", 0))
            << section;
    }
};

INSTANTIATE_TEST_SUITE_P(Skins, EachSkin, ::testing::Values("default", "graphite"));

TEST(SkinGenerator, RegeneratesTheCommittedFoldersByteForByte) {
    for (const Theme* theme : {&DefaultTheme(), &GraphiteTheme()}) {
        const SkinFolder built = BuildSkin(*theme);
        const LoadedSkin committed = Load(built.name);
        std::vector<std::string> names;
        for (const SkinFile& file : built.files) {
            names.push_back(file.name);
            const auto bytes = ReadFileBytes((fs::path(QUIRN_SOURCE_DIR) / "skins" / built.name / file.name).string());
            EXPECT_EQ(bytes, file.bytes) << built.name << "/" << file.name << " differs from the generator's output";
        }
        std::sort(names.begin(), names.end());
        EXPECT_EQ(names, committed.files) << built.name;
    }
}

TEST(DefaultSkin, HasTheStoredPackageLayout) {
    const SkinFolder built = BuildSkin(DefaultTheme());
    ASSERT_EQ(built.files.size(), 35u);
    EXPECT_TRUE(built.files.front().name.ends_with(".ini")) << "the definition file comes first";
    for (size_t i = 1; i < built.files.size(); ++i) {
        EXPECT_TRUE(built.files[i].name.ends_with(".bmp")) << built.files[i].name;
        EXPECT_FALSE(std::any_of(built.files[i].name.begin(), built.files[i].name.end(),
                                 [](char c) { return c >= 'A' && c <= 'Z'; }));
    }
    for (const char* required :
         {"frameleft.bmp", "frameright.bmp", "frametop.bmp", "framebottom.bmp", "closebutton.bmp", "maxbutton.bmp",
          "minbutton.bmp", "restrorebutton.bmp", "m4pushbutton.bmp", "checkbox_old.bmp", "radiobtn_old.bmp",
          "scrollbararrow.bmp", "progress.bmp", "tab.bmp"})
        EXPECT_EQ(Default().pictures.count(required), 1u) << required;
}

TEST(DefaultSkin, DefinesTheCaptionButtonsColoursAndAbsentSections) {
    const SkinIni& ini = Default().ini;
    EXPECT_EQ(ini.Value("Colours", "ButtonFace"), "230 235 245");
    const int actions[] = {0, 1, 1, 2, 3};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(ini.Integer("Button" + std::to_string(i), "Action", -99), actions[i]) << i;
    EXPECT_FALSE(ini.HasSection("Button5"));
    EXPECT_EQ(ini.Integer("Button4", "Align", -1), 0);
    EXPECT_FALSE(ini.Value("Button4", "ButtonImage").has_value());
    EXPECT_FALSE(ini.Value("Button4", "frame").has_value()) << "the engine then gives the icon button 6 frames";
    EXPECT_FALSE(Picture(Default(), "MDICONTROLS", "Image").Empty());
    for (const char* absent : {"SunkEdge", "GroupBox", "GroupBoxEdge", "ToolBars", "Track", "TRACKVERT"})
        EXPECT_FALSE(ini.HasSection(absent)) << absent;
    EXPECT_FALSE(Picture(Default(), "ComboButton", "Image").Empty());
    // Only the five caption buttons and the push-button section begin with "Button".
    int buttonSections = 0;
    for (const std::string& section : ini.Sections())
        if (Upper(section).starts_with("BUTTON") && Upper(section) != "BUTTONS") ++buttonSections;
    EXPECT_EQ(buttonSections, 5);
}

TEST_P(EachSkin, NamesOnlyBitmapsItCarriesAndCarriesOnlyBitmapsItNames) {
    std::set<std::string> named;
    for (const auto& entry : Skin().ini.Entries()) {
        const std::string& value = entry[2];
        if (value.size() > 4 && Upper(value).ends_with(".BMP")) {
            EXPECT_TRUE(value.ends_with(".bmp"))
                << entry[0] << "." << entry[1] << ": the engine loads only lower-case .bmp";
            EXPECT_EQ(Skin().pictures.count(value), 1u) << entry[0] << "." << entry[1] << " names a missing " << value;
            named.insert(value);
        }
    }
    for (const auto& [name, picture] : Skin().pictures) EXPECT_EQ(named.count(name), 1u) << name << " is never used";
    EXPECT_EQ(Skin().pictures.size() + 1, Skin().files.size())
        << "one definition file, everything else decodable bitmaps";
}

TEST_P(EachSkin, EveryBitmapLoadsThroughTheFrameworkCodecUnchanged) {
    const fs::path dir = fs::path(QUIRN_SOURCE_DIR) / "skins" / Skin().name;
    for (const auto& [name, picture] : Skin().pictures) {
        const auto bytes = ReadFileBytes((dir / name).string());
        TBmpImage image;
        ASSERT_EQ(DecodeBmpFile(bytes, image), TBmpResult::Ok) << name;
        EXPECT_EQ(image.BitCount, 24) << name;
        ASSERT_EQ(image.Width, picture.Width()) << name;
        ASSERT_EQ(image.Height, picture.Height()) << name;
        // Rows bottom-up, blue-green-red: the pixel the framework sees is the pixel we drew.
        const size_t topRow = image.Stride() * static_cast<size_t>(image.Height - 1);
        const Rgb topLeft = picture.At(0, 0);
        EXPECT_EQ((std::vector<uint8_t>{image.Bits[topRow], image.Bits[topRow + 1], image.Bits[topRow + 2]}),
                  (std::vector<uint8_t>{topLeft.b, topLeft.g, topLeft.r}))
            << name;
    }
}

TEST_P(EachSkin, FrameSidesFitTheFramePainter) {
    const SkinIni& ini = Skin().ini;
    const Image left = Picture(Skin(), "Personality", "Left");
    const Image right = Picture(Skin(), "Personality", "Right");
    const Image top = Picture(Skin(), "Personality", "Top");
    const Image bottom = Picture(Skin(), "Personality", "Bottom");
    const Image text = Picture(Skin(), "Personality", "TextBack");
    const Image bar = Picture(Skin(), "Personality", "menuBar");
    for (const char* side : {"Left", "Right", "Top", "Bottom"})
        EXPECT_EQ(ini.Integer("Personality", std::string(side) + "Frame", 0), 2);
    // Left and Right: two frames side by side; Top and Bottom: two frames stacked.
    ASSERT_EQ(left.Width() % 2, 0);
    ASSERT_EQ(top.Height() % 2, 0);
    ASSERT_EQ(bottom.Height() % 2, 0);
    const int captionHeight = top.Height() / 2;
    EXPECT_GT(left.Height(),
              ini.Integer("Personality", "LeftTopHeight", 0) + ini.Integer("Personality", "LeftBotHeight", 0));
    EXPECT_EQ(ini.Integer("Personality", "LeftTopHeight", 0), captionHeight)
        << "the side keeps the caption rows unstretched";
    EXPECT_GT(top.Width(),
              ini.Integer("Personality", "TopTopHeight", 0) + ini.Integer("Personality", "TopBotHeight", 0));
    EXPECT_GT(bottom.Width(),
              ini.Integer("Personality", "BottomTopHeight", 0) + ini.Integer("Personality", "BottomBotHeight", 0));
    EXPECT_EQ(left.Height(), right.Height());
    // The caption text plate: two frames stacked, each as high as the caption, with a middle to repeat.
    EXPECT_EQ(text.Height(), 2 * captionHeight);
    EXPECT_GT(text.Width(),
              ini.Integer("Personality", "TXTBackleft", 0) + ini.Integer("Personality", "TXTBackRight", 0));
    EXPECT_EQ(bar.Height() % 2, 0);
    // Rounded corners: transparent in the corners, opaque along the sides' stretched middles.
    EXPECT_EQ(left.At(0, 0), kTransparent);
    EXPECT_EQ(left.At(0, left.Height() - 1), kTransparent);
    EXPECT_EQ(right.At(right.Width() - 1, 0), kTransparent);
    const int middle = (ini.Integer("Personality", "LeftTopHeight", 0) + left.Height() -
                        ini.Integer("Personality", "LeftBotHeight", 0)) /
                       2;
    for (int x = 0; x < left.Width(); ++x) EXPECT_NE(left.At(x, middle), kTransparent) << x;
    for (int y = 0; y < top.Height(); ++y) EXPECT_NE(top.At(top.Width() / 2, y), kTransparent) << y;
}

TEST_P(EachSkin, CaptionButtonsFitTheCaptionWithoutOverlapping) {
    const SkinIni& ini = Skin().ini;
    const int captionHeight = Picture(Skin(), "Personality", "Top").Height() / 2;
    const int rightSide = Picture(Skin(), "Personality", "Right").Width() / 2;
    std::vector<std::pair<int, int>> spans;  // close, maximize, minimize: visible together
    for (const char* section : {"Button0", "Button1", "Button3"}) {
        const Image picture = Picture(Skin(), section, "ButtonImage");
        const int frames = ini.Integer(section, "frame", 0);
        ASSERT_EQ(frames, 4) << section;
        ASSERT_EQ(picture.Width() % frames, 0) << section;
        EXPECT_EQ(ini.Integer(section, "Align", -1), 1) << section;
        const int y = ini.Integer(section, "Ycoord", -1);
        EXPECT_GE(y, 0);
        EXPECT_LE(y + picture.Height(), captionHeight) << section;
        const int x = kMainWindowWidth - ini.Integer(section, "Xcoord", 0);
        spans.emplace_back(x, x + picture.Width() / frames);
        EXPECT_LE(x + picture.Width() / frames, kMainWindowWidth - rightSide) << section;
    }
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i) EXPECT_LE(spans[i - 1].second, spans[i].first);
    EXPECT_EQ(ini.Value("Button2", "Xcoord"), ini.Value("Button1", "Xcoord")) << "restore takes maximize's place";
    // The title stops before the leftmost button.
    EXPECT_GE(kMainWindowWidth - rightSide - ini.Integer("Personality", "TextRightClip", 0), spans.front().first - 8);
    EXPECT_LE(kMainWindowWidth - rightSide - ini.Integer("Personality", "TextRightClip", 0), spans.front().first);
    // Maximized MDI children: three buttons of four frames in the menu bar.
    const Image mdi = Picture(Skin(), "MDICONTROLS", "Image");
    EXPECT_EQ(mdi.Width() % 12, 0);
    EXPECT_LE(mdi.Height(), kMenuHeight);
}

TEST_P(EachSkin, ControlPicturesFitTheirPainters) {
    const SkinIni& ini = Skin().ini;
    ExpectSideBySide("Buttons", "Bitmap", 5);
    for (const auto& [key, countKey] :
         {std::pair{"CheckButton", "CheckButtonFrame"}, std::pair{"RadioButton", "RadioButtonFrame"}}) {
        const Image strip = Picture(Skin(), "Buttons", key);
        const int cells = ini.Integer("Buttons", countKey, 0);
        EXPECT_TRUE(cells == 4 || (std::string(key) == "CheckButton" ? cells == 12 : cells == 8))
            << key << " " << cells;
        EXPECT_EQ(strip.Width(), cells * strip.Height()) << key << ": square cells";
        EXPECT_EQ(strip.Width() / (strip.Height() < 16 ? 13 : 16), cells)
            << key << ": the engine's count without the key agrees";
    }
    const Image arrows = Picture(Skin(), "Scrollbar", "Image");
    EXPECT_EQ(arrows.Width(), kScrollbarCells * arrows.Height());
    EXPECT_LE(std::abs(arrows.Height() - kArrowSize), kArrowTolerance);
    const int thickness = arrows.Height();
    ExpectSideBySide("HorzScroll", "Image", 4);
    ExpectSideBySide("VertScroll", "Image", 4);
    EXPECT_EQ(Picture(Skin(), "HorzScroll", "Image").Height(), thickness);
    EXPECT_EQ(Picture(Skin(), "VertScroll", "Image").Width() / 4, thickness);
    // The vertical thumb is cut with the horizontal thumb's frame count and transparency.
    const int thumbFrames = ini.Integer("HorzScrollThumb", "FrameCount", 3);
    EXPECT_EQ(ini.Integer("VertScrollThumb", "FrameCount", 3), thumbFrames);
    EXPECT_EQ(ini.Integer("VertScrollThumb", "Trans", 0), ini.Integer("HorzScrollThumb", "Trans", 0));
    ExpectSideBySide("HorzScrollThumb", "Image", thumbFrames);
    ExpectSideBySide("VertScrollThumb", "Image", thumbFrames);
    EXPECT_EQ(Picture(Skin(), "HorzScrollThumb", "Image").Height(), thickness);
    EXPECT_EQ(Picture(Skin(), "VertScrollThumb", "Image").Width() / thumbFrames, thickness);

    const int progressStyle = ini.Integer("Progress", "Style", 0);
    ExpectSideBySide("Progress", "Bitmap", progressStyle == 0 ? 2 : 1);
    if (progressStyle == 1) EXPECT_FALSE(Picture(Skin(), "Progress.Chunk", "Image").Empty());
    ExpectSideBySide("Tabs", "Image", 5);
    if (ini.Integer("Tabs", "Style", 0) == 0)
        EXPECT_FALSE(Picture(Skin(), "Tabs", "Border").Empty());
    else
        EXPECT_FALSE(Picture(Skin(), "Tab.Pane", "Image").Empty());
    for (const char* margin : {"LeftWidth", "TopHeight", "RightWidth", "BottomHeight"})
        EXPECT_LE(ini.Integer("Tab.Pane", margin, 0), 4);
    ExpectSideBySide("StatusBarEdges", "Image", 3);
    ExpectSideBySide("ComboButton", "Image", 4);
    ExpectSideBySide("ExtraImages", "Image", 5);
    ExpectSideBySide("MenuItem", "Image", 5);
    ExpectSideBySide("MenuBackground", "Image", 1);
    ExpectSideBySide("Headerbar", "Image",
                     ini.Integer("Headerbar", "frame", 0) == 0 ? 5 : ini.Integer("Headerbar", "frame", 0));
    for (const char* thumb : {"Trackbar.ThumbHorz", "Trackbar.ThumbVert", "Trackbar.ThumbLeft", "Trackbar.ThumbRight",
                              "Trackbar.ThumbUp", "Trackbar.ThumbDown"})
        ExpectSideBySide(thumb, "Image", 5);
    for (const char* updown : {"UpDown.Horz", "UpDown.Vert"}) {
        ExpectSideBySide(updown, "Image", 8);
        const Image buttons = Picture(Skin(), updown, "Image");
        const Image glyphs = Picture(Skin(), updown, "GlyphImage");
        ASSERT_EQ(glyphs.Width() % 8, 0) << updown;
        EXPECT_LE(glyphs.Width() / 8, buttons.Width() / 8) << updown;
        EXPECT_LE(glyphs.Height(), buttons.Height()) << updown;
    }
}

TEST_P(EachSkin, TransparentPixelsArePureMagentaWithoutFringes) {
    for (const auto& [name, picture] : Skin().pictures)
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x)
                ASSERT_FALSE(IsKeyColourFringe(picture.At(x, y))) << name << " (" << x << ", " << y << ")";
    // Pictures the painters copy opaque hold no key colour at all.
    for (const auto& [section, key] :
         {std::pair{"StatusBarEdges", "Image"}, std::pair{"Tab.Pane", "Image"}, std::pair{"MenuBackground", "Image"},
          std::pair{"HorzScroll", "Image"}, std::pair{"VertScroll", "Image"}, std::pair{"Headerbar", "Image"}}) {
        const Image picture = Picture(Skin(), section, key);
        for (int y = 0; y < picture.Height(); ++y)
            for (int x = 0; x < picture.Width(); ++x) ASSERT_NE(picture.At(x, y), kTransparent) << section;
    }
}

TEST_P(EachSkin, ColourKeysHoldThreeNumbers) {
    const auto isColour = [](const std::string& text) {
        std::istringstream in(text);
        int r = -1, g = -1, b = -1;
        std::string rest;
        return static_cast<bool>(in >> r >> g >> b) && !(in >> rest) && r >= 0 && r <= 255 && g >= 0 && g <= 255 &&
               b >= 0 && b <= 255;
    };
    const SkinIni& ini = Skin().ini;
    for (const char* key : {"WindowText", "TitleTextActive", "TitleTextNoActive", "ButtonFace", "ButtonText",
                            "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow", "HilightText", "Hilight",
                            "Menubar", "MenuBarText", "MenuText", "Menu", "Scrollbar"})
        EXPECT_TRUE(isColour(ini.Value("Colours", key).value_or(""))) << key;
    for (int n = 0; n < 10; ++n)
        EXPECT_TRUE(isColour(ini.Value("Customcolors", "Color" + std::to_string(n)).value_or(""))) << n;
    int colourSections = 0;
    for (const std::string& section : ini.Sections())
        if (Upper(section).starts_with("COLOUR") && Upper(section) != "COLOURS") {
            ++colourSections;
            EXPECT_TRUE(isColour(ini.Value(section, "color").value_or(""))) << section;
        }
    EXPECT_GT(colourSections, 0);
}

TEST(GraphiteSkin, DiffersFromTheDefaultInLayout) {
    const SkinIni& dark = Graphite().ini;
    const SkinIni& light = Default().ini;
    EXPECT_EQ(dark.Integer("Personality", "TextAlignment", -1), 1) << "centred title";
    EXPECT_EQ(dark.Integer("Button4", "Align", -1), 0) << "icon at the left";
    EXPECT_NE(Picture(Graphite(), "Personality", "Left").Width(), Picture(Default(), "Personality", "Left").Width());
    EXPECT_NE(Picture(Graphite(), "Personality", "Top").Height(), Picture(Default(), "Personality", "Top").Height());
    EXPECT_NE(dark.Value("Colours", "ButtonFace"), light.Value("Colours", "ButtonFace"));
    EXPECT_NE(dark.Integer("Progress", "Style", 0), light.Integer("Progress", "Style", 0));
    EXPECT_NE(dark.Integer("Tabs", "Style", 0), light.Integer("Tabs", "Style", 0));
    EXPECT_NE(dark.Integer("Buttons", "CheckButtonFrame", 0), light.Integer("Buttons", "CheckButtonFrame", 0));
}
}  // namespace
