// The push-button element of section "Buttons" with its check-box and
// radio-button images.
#include <algorithm>

#include "skin/data/QuickIni.h"
#include "skin/data/SkinData.h"

namespace {

constexpr std::string_view ButtonsSection = "Buttons";

}  // namespace

void TSkinData::ReadButtons() {
    TDataSkinButton& Buttons = *FButtons;
    Buttons.LeftWidth = std::max(0, FIni->ReadInteger(ButtonsSection, "LeftWidth", 0));
    Buttons.RightWidth = std::max(0, FIni->ReadInteger(ButtonsSection, "RightWidth", 0));
    Buttons.TopHeight = std::max(0, FIni->ReadInteger(ButtonsSection, "TopHeight", 0));
    Buttons.BottomHeight = std::max(0, FIni->ReadInteger(ButtonsSection, "BottomHeight", 0));
    Buttons.Trans = FIni->ReadInteger(ButtonsSection, "Trans", 0);
    LoadSkinBitmap(*Buttons.Bitmap, FIni->ReadString(ButtonsSection, "Bitmap", ""));
    Buttons.Tile = FIni->ReadInteger(ButtonsSection, "Tile", 0);
    LoadSkinBitmap(*Buttons.CheckBitmap, FIni->ReadString(ButtonsSection, "CheckButton", ""));
    LoadSkinBitmap(*Buttons.RadioBitmap, FIni->ReadString(ButtonsSection, "RadioButton", ""));
    Buttons.NormalColour = FIni->ReadInteger(ButtonsSection, "NormalColour", SkinColourNotSet);
    Buttons.MouseOverColour = FIni->ReadInteger(ButtonsSection, "MouseOverColour", SkinColourNotSet);
    Buttons.PressedColour = FIni->ReadInteger(ButtonsSection, "PressedColour", SkinColourNotSet);
    Buttons.RadioFrame = FIni->ReadInteger(ButtonsSection, "RadioButtonFrame", 0);
    Buttons.CheckFrame = FIni->ReadInteger(ButtonsSection, "CheckButtonFrame", 0);
    if (Buttons.Tile > 1) Buttons.Tile = 0;

    const TColor ButtonText = FColors[SkinColour::ButtonText];
    const std::string Normal2 = FIni->ReadString(ButtonsSection, "NormalColour2", "");
    const std::string MouseOver2 = FIni->ReadString(ButtonsSection, "MouseOverColour2", "");
    const std::string Pressed2 = FIni->ReadString(ButtonsSection, "PressedColour2", "");
    Buttons.HasNormalColour2 = !Normal2.empty();
    Buttons.HasMouseOverColour2 = !MouseOver2.empty();
    Buttons.HasPressedColour2 = !Pressed2.empty();
    Buttons.NormalColour2 = ParseColor(Normal2, ButtonText);
    Buttons.MouseOverColour2 = ParseColor(MouseOver2, ButtonText);
    Buttons.PressedColour2 = ParseColor(Pressed2, ButtonText);
}
