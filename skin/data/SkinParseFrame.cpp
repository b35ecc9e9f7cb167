// The window frame of section "Personality": the four borders, the caption
// text element and the menu bar.
#include <algorithm>

#include "skin/data/QuickIni.h"
#include "skin/data/SkinData.h"

namespace {

constexpr std::string_view PersonalitySection = "Personality";
constexpr std::string_view FontsSection = "Fonts";
constexpr int32_t DefaultFontHeight = 14;
constexpr int32_t DefaultBorderFrames = 1;
constexpr int32_t DefaultBorderStretch = 1;
constexpr int32_t DefaultBorderTrans = 1;
constexpr int32_t DefaultMenuTile = 1;

}  // namespace

void TSkinData::ReadBorders() {
    TDataSkinBorder* const borders[] = {FBorderLeft.get(), FBorderRight.get(), FBorderTop.get(), FBorderBottom.get()};
    for (TDataSkinBorder* border : borders) {
        const std::string& n = border->Name;
        // The two keys give the fixed ends along the border's length: top and
        // bottom of a side border, left and right of the top and bottom ones.
        // Margins are pixel counts; a negative one is read as 0.
        const int32_t start = std::max(0, FIni->ReadInteger(PersonalitySection, n + "TopHeight", 0));
        const int32_t end = std::max(0, FIni->ReadInteger(PersonalitySection, n + "BotHeight", 0));
        const bool alongHeight = border == FBorderLeft.get() || border == FBorderRight.get();
        border->LeftWidth = alongHeight ? 0 : start;
        border->RightWidth = alongHeight ? 0 : end;
        border->TopHeight = alongHeight ? start : 0;
        border->BottomHeight = alongHeight ? end : 0;
        // The frame metrics and the title colour divide by the frame count, so a
        // count below 1 is read as 1.
        border->Frame = std::max(1, FIni->ReadInteger(PersonalitySection, n + "Frame", DefaultBorderFrames));
        // Tile holds "Stretch" here: 1 stretches the middle piece.
        border->Tile = std::min(1, FIni->ReadInteger(PersonalitySection, n + "Stretch", DefaultBorderStretch));
        border->Trans = FIni->ReadInteger(PersonalitySection, n + "Trans", DefaultBorderTrans);
        LoadSkinBitmap(*border->Bitmap, FIni->ReadString(PersonalitySection, n, ""));
    }
}

void TSkinData::ReadTitle() {
    TDataSkinTitle& title = *FTitle;
    LoadSkinBitmap(*title.Bitmap, FIni->ReadString(PersonalitySection, "TextBack", ""));
    title.LeftWidth = FIni->ReadInteger(PersonalitySection, "TextShift", 0);
    title.TopHeight = FIni->ReadInteger(PersonalitySection, "TextShiftVert", 0);
    title.RightWidth = FIni->ReadInteger(PersonalitySection, "TextRightClip", 0);
    title.BottomHeight = 0;
    title.TextAlignment = FIni->ReadInteger(PersonalitySection, "TextAlignment", 0);
    title.Textbackground = FIni->ReadInteger(PersonalitySection, "Textbackground", 0);
    title.FontHeight = FIni->ReadInteger(FontsSection, "FontHeight", DefaultFontHeight);
    title.TXTBackleft = FIni->ReadInteger(PersonalitySection, "TXTBackleft", 0);
    title.TXTBackRight = FIni->ReadInteger(PersonalitySection, "TXTBackRight", 0);
    title.ActiveTextColour = clNone;
    title.InactiveTextColour = clNone;
    ReadRGBTriplet(PersonalitySection, "ActiveText", title.ActiveTextColour);
    ReadRGBTriplet(PersonalitySection, "InActiveText", title.InactiveTextColour);
}

void TSkinData::ReadMenuBar() {
    FMenuBar.reset();
    const std::string image = FIni->ReadString(PersonalitySection, "menuBar", "");
    if (image.empty()) return;
    FMenuBar = std::make_unique<TDataSkinObject>(std::string(PersonalitySection));
    LoadSkinBitmap(*FMenuBar->Bitmap, image);
    FMenuBar->TopHeight = 0;
    FMenuBar->BottomHeight = 0;
    FMenuBar->Tile = std::min(1, FIni->ReadInteger(PersonalitySection, "TileMenu", DefaultMenuTile));
    // Here LeftWidth and RightWidth are the tile flags of the bar's two parts.
    FMenuBar->LeftWidth = FIni->ReadInteger(PersonalitySection, "TileLeftMenu", DefaultMenuTile);
    FMenuBar->RightWidth = FIni->ReadInteger(PersonalitySection, "TileRightMenu", DefaultMenuTile);
}
