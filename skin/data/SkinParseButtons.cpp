// The push-button element of section "Buttons" with its check-box and
// radio-button images.
#include <algorithm>

#include "skin/data/QuickIni.h"
#include "skin/data/SkinData.h"

namespace {

constexpr std::string_view ButtonsSection = "Buttons";

}  // namespace

void TSkinData::ReadButtons() {
    TDataSkinButton& buttons = *FButtons;
    buttons.LeftWidth = std::max(0, FIni->ReadInteger(ButtonsSection, "LeftWidth", 0));
    buttons.RightWidth = std::max(0, FIni->ReadInteger(ButtonsSection, "RightWidth", 0));
    buttons.TopHeight = std::max(0, FIni->ReadInteger(ButtonsSection, "TopHeight", 0));
    buttons.BottomHeight = std::max(0, FIni->ReadInteger(ButtonsSection, "BottomHeight", 0));
    buttons.Trans = FIni->ReadInteger(ButtonsSection, "Trans", 0);
    LoadSkinBitmap(*buttons.Bitmap, FIni->ReadString(ButtonsSection, "Bitmap", ""));
    buttons.Tile = FIni->ReadInteger(ButtonsSection, "Tile", 0);
    LoadSkinBitmap(*buttons.CheckBitmap, FIni->ReadString(ButtonsSection, "CheckButton", ""));
    LoadSkinBitmap(*buttons.RadioBitmap, FIni->ReadString(ButtonsSection, "RadioButton", ""));
    buttons.NormalColour = FIni->ReadInteger(ButtonsSection, "NormalColour", SkinColourNotSet);
    buttons.MouseOverColour = FIni->ReadInteger(ButtonsSection, "MouseOverColour", SkinColourNotSet);
    buttons.PressedColour = FIni->ReadInteger(ButtonsSection, "PressedColour", SkinColourNotSet);
    buttons.RadioFrame = FIni->ReadInteger(ButtonsSection, "RadioButtonFrame", 0);
    buttons.CheckFrame = FIni->ReadInteger(ButtonsSection, "CheckButtonFrame", 0);
    if (buttons.Tile > 1) buttons.Tile = 0;

    const TColor buttonText = FColors[SkinColour::ButtonText];
    const std::string normal2 = FIni->ReadString(ButtonsSection, "NormalColour2", "");
    const std::string mouseOver2 = FIni->ReadString(ButtonsSection, "MouseOverColour2", "");
    const std::string pressed2 = FIni->ReadString(ButtonsSection, "PressedColour2", "");
    buttons.HasNormalColour2 = !normal2.empty();
    buttons.HasMouseOverColour2 = !mouseOver2.empty();
    buttons.HasPressedColour2 = !pressed2.empty();
    buttons.NormalColour2 = ParseColor(normal2, buttonText);
    buttons.MouseOverColour2 = ParseColor(mouseOver2, buttonText);
    buttons.PressedColour2 = ParseColor(pressed2, buttonText);
}
