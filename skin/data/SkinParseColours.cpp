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

TColor TSkinData::ParseColor(std::string_view text, TColor fallback) { return ParseSkinColour(text, fallback); }

void TSkinData::ReadRGBTriplet(std::string_view section, std::string_view prefix, TColor& color) const {
    const std::string key(prefix);
    const int32_t red = FIni->ReadInteger(section, key + "R", TripletMissing);
    const int32_t green = FIni->ReadInteger(section, key + "G", TripletMissing);
    const int32_t blue = FIni->ReadInteger(section, key + "B", TripletMissing);
    if (red < 0 || green < 0 || blue < 0) return;
    color = RGBColor(static_cast<uint8_t>(red & ChannelMask), static_cast<uint8_t>(green & ChannelMask),
                     static_cast<uint8_t>(blue & ChannelMask));
}

void TSkinData::ReadColours() {
    for (const TSkinColourKey& entry : SkinColourKeys) {
        const std::string text = FIni->ReadString(ColoursSection, entry.Key, "");
        const bool defined = !text.empty();
        TColor fallback = entry.Default;
        // Without its own key the menu bar takes the skin's button face.
        if (entry.Index == SkinColour::Menubar) fallback = FColors[SkinColour::ButtonFace];
        FColors[static_cast<size_t>(entry.Index)] = defined ? ParseColor(text, fallback) : fallback;
        FColorDefined[static_cast<size_t>(entry.Index)] = defined;
    }

    FColourSections.clear();
    for (const std::string& section : FIni->SectionsStartingWith(ColourSectionPrefix)) {
        const std::string name = UpperCase(section);
        if (name == ColourSectionsExcluded) continue;
        FColourSections.push_back(ParseColor(FIni->ReadString(name, ColourSectionKey, ""), clWindowText));
    }

    for (int n = 0; n < SkinCustomColourCount; ++n) {
        const std::string key = std::string(CustomColourKeyPrefix) + std::to_string(n);
        FCustomColors[static_cast<size_t>(n)] =
            ParseColor(FIni->ReadString(CustomColoursSection, key, ""), CustomColourDefault);
    }
}

TColor TSkinData::SampleTitleColor() const {
    TBitmap& top = *FBorderTop->Bitmap;
    if (top.Empty()) return FColors[SkinColour::ButtonFace];
    // The border's frame count is at least 1 after the parse (see ReadBorders).
    const int32_t frames = FBorderTop->Frame > 0 ? FBorderTop->Frame : 1;
    const int32_t x = top.Width() / TitleSampleDivisor;
    const int32_t y = (top.Height() / frames) / TitleSampleDivisor;
    return top.Canvas().Pixels(x, y);
}
