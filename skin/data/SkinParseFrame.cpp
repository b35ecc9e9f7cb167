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
    TDataSkinBorder* const Borders[] = {FBorderLeft.get(), FBorderRight.get(), FBorderTop.get(), FBorderBottom.get()};
    for (TDataSkinBorder* Border : Borders) {
        const std::string& N = Border->Name;
        // The two keys give the fixed ends along the border's length: top and
        // bottom of a side border, left and right of the top and bottom ones.
        // Margins are pixel counts; a negative one is read as 0.
        const int32_t Start = std::max(0, FIni->ReadInteger(PersonalitySection, N + "TopHeight", 0));
        const int32_t End = std::max(0, FIni->ReadInteger(PersonalitySection, N + "BotHeight", 0));
        const bool AlongHeight = Border == FBorderLeft.get() || Border == FBorderRight.get();
        Border->LeftWidth = AlongHeight ? 0 : Start;
        Border->RightWidth = AlongHeight ? 0 : End;
        Border->TopHeight = AlongHeight ? Start : 0;
        Border->BottomHeight = AlongHeight ? End : 0;
        // The frame metrics and the title colour divide by the frame count, so a
        // count below 1 is read as 1.
        Border->Frame = std::max(1, FIni->ReadInteger(PersonalitySection, N + "Frame", DefaultBorderFrames));
        // Tile holds "Stretch" here: 1 stretches the middle piece.
        Border->Tile = std::min(1, FIni->ReadInteger(PersonalitySection, N + "Stretch", DefaultBorderStretch));
        Border->Trans = FIni->ReadInteger(PersonalitySection, N + "Trans", DefaultBorderTrans);
        LoadSkinBitmap(*Border->Bitmap, FIni->ReadString(PersonalitySection, N, ""));
    }
}

void TSkinData::ReadTitle() {
    TDataSkinTitle& Title = *FTitle;
    LoadSkinBitmap(*Title.Bitmap, FIni->ReadString(PersonalitySection, "TextBack", ""));
    Title.LeftWidth = FIni->ReadInteger(PersonalitySection, "TextShift", 0);
    Title.TopHeight = FIni->ReadInteger(PersonalitySection, "TextShiftVert", 0);
    Title.RightWidth = FIni->ReadInteger(PersonalitySection, "TextRightClip", 0);
    Title.BottomHeight = 0;
    Title.TextAlignment = FIni->ReadInteger(PersonalitySection, "TextAlignment", 0);
    Title.Textbackground = FIni->ReadInteger(PersonalitySection, "Textbackground", 0);
    Title.FontHeight = FIni->ReadInteger(FontsSection, "FontHeight", DefaultFontHeight);
    Title.TXTBackleft = FIni->ReadInteger(PersonalitySection, "TXTBackleft", 0);
    Title.TXTBackRight = FIni->ReadInteger(PersonalitySection, "TXTBackRight", 0);
    Title.ActiveTextColour = clNone;
    Title.InactiveTextColour = clNone;
    ReadRGBTriplet(PersonalitySection, "ActiveText", Title.ActiveTextColour);
    ReadRGBTriplet(PersonalitySection, "InActiveText", Title.InactiveTextColour);
}

void TSkinData::ReadMenuBar() {
    FMenuBar.reset();
    const std::string Image = FIni->ReadString(PersonalitySection, "menuBar", "");
    if (Image.empty()) return;
    FMenuBar = std::make_unique<TDataSkinObject>(std::string(PersonalitySection));
    LoadSkinBitmap(*FMenuBar->Bitmap, Image);
    FMenuBar->TopHeight = 0;
    FMenuBar->BottomHeight = 0;
    FMenuBar->Tile = std::min(1, FIni->ReadInteger(PersonalitySection, "TileMenu", DefaultMenuTile));
    // Here LeftWidth and RightWidth are the tile flags of the bar's two parts.
    FMenuBar->LeftWidth = FIni->ReadInteger(PersonalitySection, "TileLeftMenu", DefaultMenuTile);
    FMenuBar->RightWidth = FIni->ReadInteger(PersonalitySection, "TileRightMenu", DefaultMenuTile);
}
