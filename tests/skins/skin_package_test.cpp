// The packed bundled skins, read back through the engine's own package reader: version 60000,
// the definition file first and found by ".ini", every member equal to its committed file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "bmp_reader.h"
#include "framework/rtl/Streams.h"
#include "framework/rtl/Strings.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinReader.h"

namespace {
namespace fs = std::filesystem;

constexpr uint32_t kPackageVersion = 60000;

std::vector<uint8_t> Bytes(TMemoryStream& stream) {
    return std::vector<uint8_t>(stream.Memory(), stream.Memory() + stream.Size());
}

void ExpectPackageMatchesFolder(const std::string& skin, size_t expectedFiles) {
    SCOPED_TRACE(skin);
    const fs::path folder = fs::path(QUIRN_SOURCE_DIR) / "skins" / skin;
    std::vector<std::string> bitmaps;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().extension() == ".bmp") bitmaps.push_back(entry.path().filename().string());

    TMemoryStream package;
    package.LoadFromFile((fs::path(QUIRN_SKIN_PACKAGE_DIR) / (skin + ".skn")).string());
    TSkinReader reader;
    ASSERT_TRUE(reader.ReadPackage(package));
    EXPECT_EQ(reader.Version(), kPackageVersion);
    ASSERT_EQ(static_cast<size_t>(reader.Count()), expectedFiles);
    ASSERT_EQ(bitmaps.size() + 1, expectedFiles);
    EXPECT_EQ(reader.Names().Strings(0), skin + ".ini");

    TMemoryStream ini;
    std::string found;
    reader.ExtractFirstMatch(".ini", ini, found);
    EXPECT_EQ(found, skin + ".ini");
    EXPECT_EQ(Bytes(ini), ReadFileBytes((folder / (skin + ".ini")).string()));

    for (const std::string& name : bitmaps) {
        TMemoryStream member;
        // Names are matched without regard to letter case, as the skin parser asks for them.
        std::string asked = name;
        for (char& c : asked) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        reader.ExtractFile(asked, member);
        EXPECT_EQ(Bytes(member), ReadFileBytes((folder / name).string())) << name;
    }
}

// A package opened the way the skin data component opens it: the reader, then the first ".ini"
// member in the engine's INI reader.
struct OpenedSkin {
    TSkinReader reader;
    TQuickIni ini;
    std::vector<std::string> sections;

    explicit OpenedSkin(const std::string& skin) {
        TMemoryStream package;
        package.LoadFromFile((fs::path(QUIRN_SKIN_PACKAGE_DIR) / (skin + ".skn")).string());
        if (!reader.ReadPackage(package)) return;
        TMemoryStream text;
        std::string found;
        reader.ExtractFirstMatch(".ini", text, found);
        text.SetPosition(0);
        ini.LoadFromStream(&text);
        TStringList names;
        ini.ReadSections(&names);
        for (int32_t i = 0; i < names.Count(); ++i) sections.push_back(names.Strings(i));
    }

    // The picture a key names, extracted as the parse loads it (lower-case ".bmp" only).
    size_t PictureBytes(std::string_view section, std::string_view key) const {
        const std::string value = ini.ReadString(section, key, "");
        if (value.size() < 4 || value.substr(value.size() - 4) != ".bmp") return 0;
        TMemoryStream member;
        reader.ExtractFile(value, member);
        return static_cast<size_t>(member.Size());
    }
};

std::string UpperCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// Every element the painters use has its section and its picture, so none falls back for lack
// of data; the sections the stored skin leaves out stay out.
void ExpectNoElementFallsBack(const std::string& skin) {
    SCOPED_TRACE(skin);
    const OpenedSkin opened(skin);
    ASSERT_FALSE(opened.sections.empty());
    const TQuickIni& ini = opened.ini;

    for (const char* side : {"Left", "Right", "Top", "Bottom", "TextBack", "menuBar"})
        EXPECT_GT(opened.PictureBytes("Personality", side), 0u) << side;
    for (const char* key : {"Bitmap", "CheckButton", "RadioButton"})
        EXPECT_GT(opened.PictureBytes("Buttons", key), 0u) << key;
    EXPECT_GT(opened.PictureBytes("MDICONTROLS", "Image"), 0u);
    EXPECT_GT(opened.PictureBytes("Progress", "Bitmap"), 0u);
    for (const char* section : {"Scrollbar",
                                "HorzScroll",
                                "VertScroll",
                                "HorzScrollThumb",
                                "VertScrollThumb",
                                "Tabs",
                                "StatusBarEdges",
                                "ComboButton",
                                "ExtraImages",
                                "MenuItem",
                                "MenuBackground",
                                "Headerbar",
                                "Trackbar.ThumbHorz",
                                "Trackbar.ThumbVert",
                                "Trackbar.ThumbLeft",
                                "Trackbar.ThumbRight",
                                "Trackbar.ThumbUp",
                                "Trackbar.ThumbDown",
                                "UpDown.Horz",
                                "UpDown.Vert",
                                "Tab.Pane"})
        EXPECT_GT(opened.PictureBytes(section, "Image"), 0u) << section;
    for (const char* section : {"UpDown.Horz", "UpDown.Vert"})
        EXPECT_GT(opened.PictureBytes(section, "GlyphImage"), 0u) << section;
    if (ini.ReadInteger("Tabs", "Style", 0) == 0) EXPECT_GT(opened.PictureBytes("Tabs", "Border"), 0u);
    if (ini.ReadInteger("Progress", "Style", 0) == 1) EXPECT_GT(opened.PictureBytes("Progress.Chunk", "Image"), 0u);
    for (const char* absent : {"SunkEdge", "GroupBox", "GroupBoxEdge", "ToolBars", "Track", "TRACKVERT"})
        EXPECT_EQ(ini.SectionIndex(absent), -1) << absent;

    // Every colour of the table comes from the skin.
    for (const char* key : {"WindowText", "TitleTextActive", "TitleTextNoActive", "ButtonFace", "ButtonText",
                            "ButtonHilight", "Buttonlight", "ButtonShadow", "ButtonDkShadow", "HilightText", "Hilight",
                            "Menubar", "MenuBarText", "MenuText", "Menu", "Scrollbar"})
        EXPECT_FALSE(ini.ReadString("Colours", key, "").empty()) << key;
    for (int n = 0; n < 10; ++n)
        EXPECT_FALSE(ini.ReadString("Customcolors", "Color" + std::to_string(n), "").empty()) << n;

    // Caption buttons by the parse's rule: sections beginning with "BUTTON" other than the
    // push-button ones, dropped when Action is -1 and Visibility is not 0.
    std::vector<std::string> buttons;
    for (const std::string& section : opened.sections) {
        const std::string upper = UpperCase(section);
        if (!upper.starts_with("BUTTON") || upper == "BUTTONS" || upper == "BUTTON.RADIO" ||
            upper == "BUTTON.CHECKBOX" || upper == "BUTTON")
            continue;
        if (ini.ReadInteger(section, "Action", 0) == -1 && ini.ReadInteger(section, "Visibility", -1) != 0) continue;
        buttons.push_back(upper);
    }
    ASSERT_EQ(buttons, (std::vector<std::string>{"BUTTON0", "BUTTON1", "BUTTON2", "BUTTON3", "BUTTON4"}));
    for (const char* section : {"Button0", "Button1", "Button2", "Button3"})
        EXPECT_GT(opened.PictureBytes(section, "ButtonImage"), 0u) << section;
    // The icon button: no picture and no frame key, so the parse gives it 6 frames and no bitmap.
    EXPECT_EQ(ini.ReadInteger("Button4", "Action", -1), 3);
    EXPECT_EQ(ini.ReadInteger("Button4", "Align", -1), 0);
    EXPECT_EQ(ini.ReadInteger("Button4", "frame", 0), 0);
    EXPECT_EQ(opened.PictureBytes("Button4", "ButtonImage"), 0u);
}

TEST(BundledPackages, DefaultDefinesEveryElementThePaintersUse) {
    ExpectNoElementFallsBack("default");
    const OpenedSkin opened("default");
    EXPECT_EQ(opened.ini.ReadString("Colours", "ButtonFace", ""), "230 235 245");
}

TEST(BundledPackages, GraphiteDefinesEveryElementThePaintersUse) { ExpectNoElementFallsBack("graphite"); }

TEST(BundledPackages, DefaultReadsBackWith35FilesDefinitionFirst) { ExpectPackageMatchesFolder("default", 35); }

TEST(BundledPackages, GraphiteReadsBackWithEveryFileDefinitionFirst) { ExpectPackageMatchesFolder("graphite", 40); }
}  // namespace
