// Hostile skins: damaged, missing or absurd INI values and bitmaps, and
// damaged packages, loaded through SkinFile. Each must load or be refused
// without crash, hang or unbounded memory, and a loaded skin must leave every
// element in a state the painters can use.
#include <gtest/gtest.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "AllocationCounter.h"
#include "SkinFixtures.h"
#include "skin/data/LzhEncoder.h"
#include "skin/data/SkinArchive.h"
#include "skin/data/SkinArchiveWriter.h"
#include "skin/data/SkinReader.h"

using namespace skintest;

namespace {

constexpr int CorpusSize = 1200;
constexpr uint32_t CorpusSeed = 20100529;

// A skin that uses every section the parse reads.
TTestSkin RichSkin() {
    TTestSkin Skin;
    Skin.Ini =
        "[TitlebarSkin]\nSkinName=Rich\n"
        "[Personality]\nLeft=side.bmp\nLeftTopHeight=23\nLeftBotHeight=4\nLeftFrame=2\nRight=side.bmp\n"
        "RightFrame=2\nTop=top.bmp\nTopTopHeight=8\nTopBotHeight=8\nTopFrame=2\nBottom=top.bmp\nBottomFrame=2\n"
        "TextBack=plate.bmp\nTextShift=18\nActiveTextR=1\nActiveTextG=2\nActiveTextB=3\nmenuBar=plate.bmp\n"
        "[Fonts]\nFontHeight=13\n"
        "[Colours]\nButtonFace=230 235 245\nButtonText=0 0 0\nMenubar=220 231 246\n"
        "[Button0]\nAction=0\nAlign=1\nXcoord=46\nYcoord=1\nframe=4\nButtonImage=cap.bmp\n"
        "[Button1]\nAction=1\nAlign=1\nXcoord=73\nVisibility=2\nButtonImage=cap.bmp\n"
        "[Button2]\nAction=4\nButtonImage=cap.bmp\n[Button3]\nAction=3\n"
        "[MDICONTROLS]\nImage=mdi.bmp\n"
        "[Buttons]\nBitmap=button.bmp\nLeftWidth=4\nTopHeight=4\nRightWidth=4\nBottomHeight=4\nTrans=1\n"
        "CheckButton=check.bmp\nRadioButton=check.bmp\nNormalColour2=0 0 0\n"
        "[Progress]\nBitmap=cell.bmp\nLeftWidth=3\n[Progress.Chunk]\nImage=cell.bmp\nFrame=1\n"
        "[GroupBoxEdge]\nImage=cell.bmp\n[GroupBox]\nImage=cell.bmp\n[Tabs]\nImage=cell.bmp\nBorder=cell.bmp\n"
        "[StatusBarEdges]\nImage=cell.bmp\n[Tab.Pane]\nImage=cell.bmp\nLeftWidth=9\n[ToolBars]\nImage=cell.bmp\n"
        "[ComboButton]\nImage=cell.bmp\nLeftWidth=3\n[SunkEdge]\nImage=cell.bmp\nLeftWidth=2\nRightWidth=2\n"
        "[ExtraImages]\nImage=cell.bmp\n[Headerbar]\nImage=cell.bmp\n[MenuItem]\nImage=cell.bmp\n"
        "[MenuBackground]\nImage=cell.bmp\n[Scrollbar]\nImage=cell.bmp\n[HorzScroll]\nImage=cell.bmp\n"
        "[VertScroll]\nImage=cell.bmp\n[HorzScrollThumb]\nImage=cell.bmp\nFrameCount=3\n"
        "[VertScrollThumb]\nImage=cell.bmp\n[Trackbar.ThumbHorz]\nImage=cell.bmp\n[Trackbar.ThumbVert]\nImage=cell."
        "bmp\n"
        "[UpDown.Horz]\nImage=cell.bmp\nGlyphImage=cell.bmp\n[UpDown.Vert]\nImage=cell.bmp\n"
        "[Track]\nImage=cell.bmp\n[TRACKVERT]\nImage=cell.bmp\n"
        "[Colour.Accent]\ncolor=58 138 228\n[Customcolors]\nColor0=1 2 3\n";
    Skin.Bitmap("side.bmp", 8, 40).Bitmap("top.bmp", 60, 60).Bitmap("plate.bmp", 40, 20);
    Skin.Bitmap("cap.bmp", 60, 20).Bitmap("mdi.bmp", 96, 14).Bitmap("button.bmp", 100, 21);
    Skin.Bitmap("check.bmp", 52, 13).Bitmap("cell.bmp", 40, 21, [](int32_t X, int32_t Y) {
        return (X + Y) % 5 == 0 ? clFuchsia : RGBColor(static_cast<uint8_t>(X * 6), 100, static_cast<uint8_t>(Y * 12));
    });
    return Skin;
}

// A BMP header declaring a picture without its pixels.
std::vector<uint8_t> DeclaredBmp(int32_t Width, int32_t Height, uint16_t Bits, uint32_t Compression = 0) {
    std::vector<uint8_t> Bytes(54, 0);
    Bytes[0] = 'B';
    Bytes[1] = 'M';
    WriteLE32(&Bytes[2], 54);
    WriteLE32(&Bytes[10], 54);
    WriteLE32(&Bytes[14], 40);
    WriteLE32(&Bytes[18], static_cast<uint32_t>(Width));
    WriteLE32(&Bytes[22], static_cast<uint32_t>(Height));
    Bytes[26] = 1;
    Bytes[28] = static_cast<uint8_t>(Bits);
    WriteLE32(&Bytes[30], Compression);
    return Bytes;
}

// An 8-bit run-length BMP of the given size whose data is one end-of-bitmap
// code: 1,080 bytes that decode to Width x Height bytes.
std::vector<uint8_t> RunLengthBomb(int32_t Width, int32_t Height) {
    constexpr uint32_t PixelsOffset = 54 + 256 * 4;  // after the headers and the colour table
    std::vector<uint8_t> Bytes = DeclaredBmp(Width, Height, 8, 1);
    WriteLE32(&Bytes[10], PixelsOffset);
    Bytes.resize(PixelsOffset, 0);
    Bytes.insert(Bytes.end(), {0, 1});
    return Bytes;
}

// The INI with its numeric values changed.
const char* const AbsurdNumbers[] = {
    "0", "-1", "-100000", "10000", "2147483647", "-2147483648", "99999999999", "0x7FFFFFFF", "$FFFFFFFF", "abc", ""};

std::string MutateIni(const std::string& Ini, std::mt19937& Random) {
    std::string Out;
    size_t Start = 0;
    while (Start < Ini.size()) {
        size_t End = Ini.find('\n', Start);
        if (End == std::string::npos) End = Ini.size();
        std::string Line = Ini.substr(Start, End - Start);
        Start = End + 1;
        const size_t Equals = Line.find('=');
        const unsigned Roll = Random() % 100;
        if (Roll < 8) continue;  // line dropped
        if (Equals != std::string::npos && Roll < 40) {
            const std::string Value = Line.substr(Equals + 1);
            const bool Numeric = !Value.empty() && (isdigit(static_cast<unsigned char>(Value[0])) || Value[0] == '-');
            if (Numeric)
                Line = Line.substr(0, Equals + 1) + AbsurdNumbers[Random() % std::size(AbsurdNumbers)];
            else if (Roll < 20)
                Line = Line.substr(0, Equals + 1) + (Roll % 2 ? "cell.BMP" : "..\\..\\cell.bmp");
        }
        if (Roll == 99) Line += std::string(1, '\0');
        Out += Line + (Roll == 98 ? "\r" : "\n");
    }
    if (Random() % 10 == 0) Out.resize(Random() % (Out.size() + 1));  // cut short
    if (Random() % 20 == 0) Out += "[Button9]\nAction=-1\n[Button8]\nframe=10000\nButtonImage=cap.bmp\n";
    return Out;
}

void MutateBitmaps(TTestSkin& Skin, std::mt19937& Random) {
    for (auto& [Name, Data] : Skin.Files) {
        switch (Random() % 16) {
        case 0: Data = DeclaredBmp(0, 0, 24); break;
        case 1: Data = DeclaredBmp(30000, 30000, 24); break;
        case 2: Data = DeclaredBmp(-30000, 30000, 32); break;
        case 3:
            Data = DeclaredBmp(3000, 3000, 8, 1);
            Data.resize(1078, 0);
            break;  // RLE8 without runs
        case 4: Data.assign({'n', 'o', 't', ' ', 'a', ' ', 'B', 'M', 'P'}); break;
        case 5: Data.resize(Random() % (Data.size() + 1)); break;
        case 6: Data.clear(); break;
        case 7:
            for (int I = 0; I < 8; ++I) Data[Random() % Data.size()] ^= static_cast<uint8_t>(1u << (Random() % 8));
            break;
        default: break;  // left intact
        }
    }
}

std::vector<uint8_t> PackArchive(const std::vector<uint8_t>& Archive) {
    std::vector<uint8_t> Package(SkinPackageFramingBytes);
    WriteLE32(Package.data(), static_cast<uint32_t>(Archive.size()));
    TLzhEncoder Encoder;
    const std::vector<uint8_t> Coded = Encoder.Encode(Archive);
    Package.insert(Package.end(), Coded.begin(), Coded.end());
    return Package;
}

std::vector<uint8_t> MakeCorpusPackage(int Index, std::mt19937& Random) {
    TTestSkin Skin = RichSkin();
    switch (Index % 6) {
    case 0: Skin.Ini = MutateIni(Skin.Ini, Random); break;
    case 1: MutateBitmaps(Skin, Random); break;
    case 2:
        Skin.Ini = MutateIni(Skin.Ini, Random);
        MutateBitmaps(Skin, Random);
        break;
    case 3: {  // damaged archive directory or data
        std::vector<uint8_t> Archive = BuildSkinArchive({{"a.ini", {'[', 'A', ']'}}, {"cell.bmp", MakeBmp(4, 4)}});
        for (int I = 0; I < 4; ++I) Archive[Random() % Archive.size()] = static_cast<uint8_t>(Random());
        return PackArchive(Archive);
    }
    case 4: {  // damaged compressed stream
        std::vector<uint8_t> Package = Skin.Package();
        for (int I = 0; I < 6; ++I) {
            const size_t At = SkinPackageFramingBytes + Random() % (Package.size() - SkinPackageFramingBytes);
            Package[At] ^= static_cast<uint8_t>(1u << (Random() % 8));
        }
        if (Random() % 4 == 0) Package.resize(Random() % Package.size());
        return Package;
    }
    default: {  // absurd stated sizes and random bytes
        std::vector<uint8_t> Package = Skin.Package();
        const uint32_t Sizes[] = {0, 1, 0xFFFFFFFFu, SkinMaxUnpackedSize + 1, 16};
        WriteLE32(Package.data(), Sizes[Random() % std::size(Sizes)]);
        if (Random() % 3 == 0)
            for (size_t I = 0; I < Package.size(); ++I) Package[I] = static_cast<uint8_t>(Random());
        return Package;
    }
    }
    return Skin.Package();
}

std::string TempPackagePath() {
    wchar_t Dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, Dir);
    char Narrow[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, Dir, -1, Narrow, sizeof(Narrow), nullptr, nullptr);
    return std::string(Narrow) + "quirn-hostile-" + std::to_string(GetCurrentProcessId()) + ".skn";
}

void WriteFileBytes(const std::string& Path, const std::vector<uint8_t>& Bytes) {
    TFileStream File(Path, fmCreate);
    if (!Bytes.empty()) File.WriteBuffer(Bytes.data(), static_cast<int32_t>(Bytes.size()));
}

// What every painter relies on in a loaded skin.
void ExpectUsable(const TSkinData& Data, int Index) {
    SCOPED_TRACE("package " + std::to_string(Index));
    ASSERT_GE(Data.FCaptionButtons.size(), 3u);
    for (const auto* Border : {&Data.FBorderLeft, &Data.FBorderRight, &Data.FBorderTop, &Data.FBorderBottom}) {
        EXPECT_GE((*Border)->Frame, 1);
        EXPECT_GE((*Border)->TopHeight, 0);
        EXPECT_GE((*Border)->LeftWidth, 0);
    }
    for (const auto* Element : {&Data.FTabs, &Data.FComboButton, &Data.FUpDownHorz})
        if (*Element) {
            EXPECT_GE((*Element)->LeftWidth, 0);
        }
    for (const auto* Element : {&Data.FSunkEdge, &Data.FMenuItem, &Data.FScrollbar, &Data.FHorzScrollThumb})
        if (*Element) {
            EXPECT_GE((*Element)->RightWidth, 0);
            EXPECT_GE((*Element)->BottomHeight, 0);
            EXPECT_GE((*Element)->Frame, 1);
        }
    EXPECT_TRUE(Data.FComboArrow);
    EXPECT_TRUE(Data.FToolbar);
    EXPECT_TRUE(Data.FTrack);
    EXPECT_TRUE(Data.FTrackVert);
    EXPECT_TRUE(Data.FFaceBrush);
}

class SkinHostileCorpus : public ::testing::Test {
protected:
    void SetUp() override {
        // The "older skin" message would wait for a click.
        FOldProc = TSkinReader::SetMessageProc([this](const std::string&) { ++FMessages; });
    }
    void TearDown() override { TSkinReader::SetMessageProc(FOldProc); }

    TSkinReader::TMessageProc FOldProc;
    int FMessages = 0;
};

TEST_F(SkinHostileCorpus, MutatedPackagesLoadOrAreRefusedThroughSkinFile) {
    const std::string Path = TempPackagePath();
    std::mt19937 Random(CorpusSeed);
    int Loaded = 0;
    int Refused = 0;
    for (int Index = 0; Index < CorpusSize; ++Index) {
        WriteFileBytes(Path, MakeCorpusPackage(Index, Random));
        TSkinData Data(nullptr);
        Data.SetSkinFile(Path);
        if (Data.FSkinLoading) {
            ++Refused;
            continue;
        }
        ++Loaded;
        ExpectUsable(Data, Index);
        if (HasFatalFailure()) break;
    }
    DeleteFileA(Path.c_str());
    // Both outcomes must actually occur, or the corpus is not testing much.
    EXPECT_GT(Loaded, CorpusSize / 3);
    EXPECT_GT(Refused, CorpusSize / 20);
    std::printf("hostile corpus: %d loaded, %d refused, %d version messages\n", Loaded, Refused, FMessages);
}

TEST_F(SkinHostileCorpus, SkinFileOfAMissingFileLeavesNoSkin) {
    TSkinData Data(nullptr);
    Data.SetSkinFile("Z:\\no\\such\\skin.skn");
    EXPECT_TRUE(Data.FSkinLoading);
    EXPECT_EQ(Data.SkinFile(), "Z:\\no\\such\\skin.skn");
}

TEST_F(SkinHostileCorpus, UnknownVersionShowsTheMessageOnceAndGivesNoSkin) {
    std::vector<uint8_t> Archive = BuildSkinArchive({{"a.ini", {'[', 'A', ']'}}});
    WriteLE32(Archive.data(), 10000);
    TSkinData Data(nullptr);
    EXPECT_FALSE(LoadPackageBytes(Data, PackArchive(Archive)));
    EXPECT_TRUE(Data.FSkinLoading);
    EXPECT_EQ(FMessages, 1);
}

TEST_F(SkinHostileCorpus, PackageWithoutIniLoadsTheDefaults) {
    TSkinData Data(nullptr);
    EXPECT_TRUE(LoadPackageBytes(Data, BuildSkinPackage({{"cell.bmp", MakeBmp(4, 4)}})));
    EXPECT_FALSE(Data.FSkinLoading);
    EXPECT_EQ(Data.FCaptionButtons.size(), 3u);
    EXPECT_EQ(Data.FColors[SkinColour::ButtonFace], clBtnFace);
}

TEST_F(SkinHostileCorpus, OversizedIniIsReadAsMissing) {
    TTestSkin Skin;
    Skin.Ini = "[Colours]\nButtonFace=1 2 3\n[Filler]\n";
    Skin.Ini.append(2 * 1024 * 1024, 'x');
    TSkinData Data(nullptr);
    ASSERT_TRUE(LoadPackageBytes(Data, Skin.Package()));
    EXPECT_FALSE(Data.FSkinLoading);
    EXPECT_EQ(Data.FColors[SkinColour::ButtonFace], clBtnFace);

    Skin.Ini.resize(Skin.Ini.size() - 1100 * 1024);  // under the limit: read
    ASSERT_TRUE(LoadPackageBytes(Data, Skin.Package()));
    EXPECT_EQ(Data.FColors[SkinColour::ButtonFace], RGBColor(1, 2, 3));
}

TEST_F(SkinHostileCorpus, AbsurdFrameCountsAndMarginsStayAsSafeValues) {
    TTestSkin Skin = RichSkin();
    Skin.Ini += "[Button7]\nAction=2\nframe=10000\nButtonImage=cap.bmp\n[HorzScrollThumb]\nImage=cell.bmp\n";
    Skin.Ini =
        "[Personality]\nTopFrame=0\nLeftFrame=-5\nTop=top.bmp\n[Scrollbar]\nImage=cell.bmp\nLeftWidth=-9\n"
        "RightWidth=100000\n[VertScrollThumb]\nImage=cell.bmp\nFrameCount=0\n" +
        Skin.Ini;
    const auto Data = LoadSkin(Skin);
    ASSERT_FALSE(Data->FSkinLoading);
    EXPECT_EQ(Data->FBorderTop->Frame, 1);
    EXPECT_EQ(Data->FBorderLeft->Frame, 1);
    EXPECT_EQ(Data->FScrollbar->LeftWidth, 0);
    EXPECT_EQ(Data->FScrollbar->RightWidth, 100000);
    EXPECT_EQ(Data->FVertScrollThumb->Frame, 1);
    bool Found = false;
    for (const auto& Button : Data->FCaptionButtons)
        if (Button->Name == "BUTTON7") {
            Found = true;
            EXPECT_EQ(Button->Frame, 10000);
        }
    EXPECT_TRUE(Found);
}

}  // namespace

namespace {

TEST(SkinHostileBitmaps, ABitmapNamedByManySectionsIsDecodedOnce) {
    constexpr int Users = 12;
    constexpr int32_t Side = 2048;
    TTestSkin Skin;
    for (int I = 0; I < Users; ++I)
        Skin.Ini += "[Button" + std::to_string(I) + "]\nAction=2\nframe=4\nButtonImage=bomb.bmp\n";
    Skin.Files["bomb.bmp"] = RunLengthBomb(Side, Side);
    ASSERT_EQ(Skin.Files["bomb.bmp"].size(), 1080u);

    // Each decode allocates the picture's pixels once.
    alloctest::TAllocationProbe Probe(static_cast<size_t>(Side) * Side);
    const auto Data = LoadSkin(Skin);
    ASSERT_FALSE(Data->FSkinLoading);
    EXPECT_EQ(Probe.Stats().LargeCount, 1u);
    ASSERT_EQ(Data->FCaptionButtons.size(), static_cast<size_t>(Users) + 3);
    for (int I = 0; I < Users; ++I) {
        TBitmap& Bitmap = *Data->FCaptionButtons[static_cast<size_t>(I)]->Bitmap;
        EXPECT_EQ(Bitmap.Width(), Side);
        EXPECT_EQ(Bitmap.Height(), Side);
    }
    // Each element owns its copy.
    EXPECT_NE(Data->FCaptionButtons[0]->Bitmap->ScanLine(0), Data->FCaptionButtons[1]->Bitmap->ScanLine(0));
}

TEST(SkinHostileBitmaps, BitmapsPastThePixelBudgetAreRefusedByTheirHeadersBeforeDecoding) {
    // Six different 1,080-byte files of 64 MB each: more than the budget
    // holds. Every decode must give a bitmap the skin keeps; the rest are
    // refused from their headers without their pixels ever being allocated.
    constexpr int Files = 6;
    constexpr int32_t Side = 8192;
    TTestSkin Skin;
    for (int I = 0; I < Files; ++I) {
        const std::string Name = "bomb" + std::to_string(I) + ".bmp";
        Skin.Ini += "[Button" + std::to_string(I) + "]\nAction=2\nframe=4\nButtonImage=" + Name + "\n";
        Skin.Files[Name] = RunLengthBomb(Side, Side);
    }

    alloctest::TAllocationProbe Probe(static_cast<size_t>(Side) * Side);
    const auto Data = LoadSkin(Skin);
    ASSERT_FALSE(Data->FSkinLoading);
    uint64_t Loaded = 0;
    for (int I = 0; I < Files; ++I)
        if (!Data->FCaptionButtons[static_cast<size_t>(I)]->Bitmap->Empty()) ++Loaded;
    EXPECT_GE(Loaded, 1u);
    EXPECT_LT(Loaded, static_cast<uint64_t>(Files));
    EXPECT_EQ(Probe.Stats().LargeCount, Loaded);
}

TEST(SkinHostileBitmaps, CaptionButtonsAreCappedInFileOrder) {
    // Sections of other elements and buttons that make no button do not
    // count; the first MaxCaptionButtons buttons are kept.
    constexpr int Sections = 100;
    TTestSkin Skin;
    Skin.Ini = "[Button.Radio]\n[Buttons]\nTile=0\n[Button5]\nAction=-1\n";
    for (int I = 0; I < Sections; ++I) Skin.Ini += "[Button" + std::to_string(I) + "]\nAction=2\n";
    const auto Data = LoadSkin(Skin);
    ASSERT_FALSE(Data->FSkinLoading);
    ASSERT_EQ(Data->FCaptionButtons.size(), MaxCaptionButtons + 3);
    // "Button5" names the first such section, whose Action -1 drops both.
    for (size_t I = 0; I < MaxCaptionButtons; ++I) {
        const size_t Number = I < 5 ? I : I + 1;
        EXPECT_EQ(Data->FCaptionButtons[I]->Name, "BUTTON" + std::to_string(Number));
    }
    EXPECT_EQ(Data->FCaptionButtons[MaxCaptionButtons]->Action, 7);  // the MDI buttons follow
}

}  // namespace
