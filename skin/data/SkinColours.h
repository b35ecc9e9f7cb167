// The skin colour table: which entry holds which colour of the skin, the INI
// key each is read from and its value when the skin leaves it out.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "framework/graphics/Color.h"

// Indexes into TSkinData::FColors, named after their keys in section "Colours".
struct SkinColour {
    static constexpr int WindowText = 0;
    static constexpr int TitleTextActive = 1;
    static constexpr int TitleTextNoActive = 2;
    static constexpr int ButtonFace = 3;
    static constexpr int ButtonText = 4;
    static constexpr int ButtonHilight = 5;
    static constexpr int Buttonlight = 6;
    static constexpr int ButtonShadow = 7;
    static constexpr int ButtonDkShadow = 8;
    static constexpr int HilightText = 11;
    static constexpr int Hilight = 12;
    static constexpr int Menubar = 13;
    static constexpr int MenuBarText = 14;
    static constexpr int MenuText = 15;
    static constexpr int Menu = 16;
    static constexpr int TitleColor = 17;  // sampled from the top border at the end of the parse
    static constexpr int Scrollbar = 18;
    static constexpr int Count = 19;
};

// Custom colours "Color0" .. "Color9" of section "Customcolors".
constexpr int SkinCustomColourCount = 10;

// One entry of the table read from section "Colours".
struct TSkinColourKey {
    int Index;
    std::string_view Key;
    TColor Default;  // Menubar's default is the ButtonFace just read (see ReadColours)
};

// In the order the entries are read: Menubar (13) comes after ButtonFace (3).
inline constexpr std::array<TSkinColourKey, 16> SkinColourKeys = {{
    {SkinColour::WindowText, "WindowText", clWindowText},
    {SkinColour::ButtonFace, "ButtonFace", clBtnFace},
    {SkinColour::Scrollbar, "Scrollbar", clScrollBar},
    {SkinColour::HilightText, "HilightText", clHighlightText},
    {SkinColour::Hilight, "Hilight", clHighlight},
    {SkinColour::Menubar, "Menubar", clBtnFace},
    {SkinColour::Menu, "Menu", clMenu},
    {SkinColour::MenuText, "MenuText", clMenuText},
    {SkinColour::ButtonText, "ButtonText", clBtnText},
    {SkinColour::ButtonHilight, "ButtonHilight", clBtnHighlight},
    {SkinColour::Buttonlight, "Buttonlight", clBtnHighlight},
    {SkinColour::ButtonShadow, "ButtonShadow", clBtnShadow},
    {SkinColour::ButtonDkShadow, "ButtonDkShadow", cl3DDkShadow},
    {SkinColour::MenuBarText, "MenuBarText", clMenuText},
    {SkinColour::TitleTextActive, "TitleTextActive", clCaptionText},
    {SkinColour::TitleTextNoActive, "TitleTextNoActive", clInactiveCaptionText},
}};

// Colour from a text of up to three decimal numbers (red, green, blue) in
// runs of digits with any separators: "230 235 245", "230,235,245" and
// "230;235;245" are the same colour. Empty text gives fallback. Only the low
// 8 bits of each component count; components not given are 0.
TColor ParseSkinColour(std::string_view text, TColor fallback);
