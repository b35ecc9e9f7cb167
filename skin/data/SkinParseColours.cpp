// The skin's colours: the colour table of section "Colours", the colour
// sections, the custom colours, triplet keys and the sampled title colour.
#include "framework/rtl/SysUtils.h"
#include "skin/data/QuickIni.h"
#include "skin/data/SkinData.h"
#include "framework/graphics/Canvas.h"

namespace {

constexpr std::string_view ColoursSection = "Colours";
constexpr std::string_view ColourSectionPrefix = "COLOUR";
constexpr std::string_view ColourSectionsExcluded = "COLOURS";
constexpr std::string_view ColourSectionKey = "color";
constexpr std::string_view CustomColoursSection = "Customcolors";
constexpr std::string_view CustomColourKeyPrefix = "Color";
constexpr TColor CustomColourDefault = clWhite;
constexpr int32_t TripletMissing = -1;
constexpr int32_t ChannelMask = 0xFF;
// The title colour is sampled a third of the way into the top border's
// first frame, clear of its rounded corners and its edge lines.
constexpr int32_t TitleSampleDivisor = 3;

}  // namespace

TColor TSkinData::ParseColor(std::string_view Text, TColor Default) { return ParseSkinColour(Text, Default); }

void TSkinData::ReadRGBTriplet(std::string_view Section, std::string_view Prefix, TColor& Color) const {
    const std::string Key(Prefix);
    const int32_t Red = FIni->ReadInteger(Section, Key + "R", TripletMissing);
    const int32_t Green = FIni->ReadInteger(Section, Key + "G", TripletMissing);
    const int32_t Blue = FIni->ReadInteger(Section, Key + "B", TripletMissing);
    if (Red < 0 || Green < 0 || Blue < 0) return;
    Color = RGBColor(static_cast<uint8_t>(Red & ChannelMask), static_cast<uint8_t>(Green & ChannelMask),
                     static_cast<uint8_t>(Blue & ChannelMask));
}

void TSkinData::ReadColours() {
    for (const TSkinColourKey& Entry : SkinColourKeys) {
        const std::string Text = FIni->ReadString(ColoursSection, Entry.Key, "");
        const bool Defined = !Text.empty();
        TColor Default = Entry.Default;
        // Without its own key the menu bar takes the skin's button face.
        if (Entry.Index == SkinColour::Menubar) Default = FColors[SkinColour::ButtonFace];
        FColors[static_cast<size_t>(Entry.Index)] = Defined ? ParseColor(Text, Default) : Default;
        FColorDefined[static_cast<size_t>(Entry.Index)] = Defined;
    }

    FColourSections.clear();
    for (const std::string& Section : FIni->SectionsStartingWith(ColourSectionPrefix)) {
        const std::string Name = UpperCase(Section);
        if (Name == ColourSectionsExcluded) continue;
        FColourSections.push_back(ParseColor(FIni->ReadString(Name, ColourSectionKey, ""), clWindowText));
    }

    for (int N = 0; N < SkinCustomColourCount; ++N) {
        const std::string Key = std::string(CustomColourKeyPrefix) + std::to_string(N);
        FCustomColors[static_cast<size_t>(N)] =
            ParseColor(FIni->ReadString(CustomColoursSection, Key, ""), CustomColourDefault);
    }
}

TColor TSkinData::SampleTitleColor() const {
    TBitmap& Top = *FBorderTop->Bitmap;
    if (Top.Empty()) return FColors[SkinColour::ButtonFace];
    // The border's frame count is at least 1 after the parse (see ReadBorders).
    const int32_t Frames = FBorderTop->Frame > 0 ? FBorderTop->Frame : 1;
    const int32_t X = Top.Width() / TitleSampleDivisor;
    const int32_t Y = (Top.Height() / Frames) / TitleSampleDivisor;
    return Top.Canvas().Pixels(X, Y);
}
