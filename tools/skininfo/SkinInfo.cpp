#include "SkinInfo.h"

#include <cstdio>
#include <string_view>
#include <utility>
#include <vector>

#include "skin/data/PellixData.h"

namespace {

std::string Hex(TColor Colour) {
    char Text[16];
    std::snprintf(Text, sizeof(Text), "$%.8X", static_cast<unsigned>(Colour));
    return Text;
}

std::string Size(TBitmap& Bitmap) {
    if (Bitmap.Empty()) return "none";
    return std::to_string(Bitmap.Width()) + "x" + std::to_string(Bitmap.Height());
}

void AppendElement(std::string& Out, std::string_view Field, const TDataSkinObject& E) {
    Out += std::string(Field) + " [" + E.Name + "] " + E.ClassName();
    Out += " bitmap " + Size(*E.Bitmap);
    Out += " frames " + std::to_string(E.Frame);
    Out += " margins " + std::to_string(E.LeftWidth) + "," + std::to_string(E.TopHeight) + "," +
           std::to_string(E.RightWidth) + "," + std::to_string(E.BottomHeight);
    Out +=
        " trans " + std::to_string(E.Trans) + " tile " + std::to_string(E.Tile) + " style " + std::to_string(E.Style);
    Out += " colours " + std::to_string(E.NormalColour) + "," + std::to_string(E.MouseOverColour) + "," +
           std::to_string(E.PressedColour);
    Out += " colours2 " + Hex(E.NormalColour2) + "," + Hex(E.MouseOverColour2) + "," + Hex(E.PressedColour2);
    if (const auto* Border = ObjectAs<TDataSkinBorder>(&E)) Out += " bitmap2 " + Size(*Border->Bitmap2);
    if (const auto* Title = ObjectAs<TDataSkinTitle>(&E))
        Out += " alignment " + std::to_string(Title->TextAlignment) + " textbackground " +
               std::to_string(Title->Textbackground) + " fontheight " + std::to_string(Title->FontHeight) +
               " txtback " + std::to_string(Title->TXTBackleft) + "," + std::to_string(Title->TXTBackRight) + " text " +
               Hex(Title->ActiveTextColour) + "," + Hex(Title->InactiveTextColour);
    if (const auto* Button = ObjectAs<TDataSkinButton>(&E))
        Out += " check " + Size(*Button->CheckBitmap) + "/" + std::to_string(Button->CheckFrame) + " radio " +
               Size(*Button->RadioBitmap) + "/" + std::to_string(Button->RadioFrame) + " has2 " +
               std::to_string(Button->HasNormalColour2) + std::to_string(Button->HasMouseOverColour2) +
               std::to_string(Button->HasPressedColour2);
    if (const auto* Label = ObjectAs<TDataSkinBoxLabel>(&E))
        Out += " background " + std::to_string(Label->BackgroundAlignment) + "," +
               std::to_string(Label->BackgroundLeftShift) + "," + std::to_string(Label->BackgroundRightShift);
    if (const auto* Sys = ObjectAs<TDataSkinSysButton>(&E))
        Out += " action " + std::to_string(Sys->Action) + " align " + std::to_string(Sys->Align) + " at " +
               std::to_string(Sys->XCoord) + "," + std::to_string(Sys->YCoord) + " combine " +
               std::to_string(Sys->CombineOp) + " visibility " + std::to_string(Sys->Visibility) + "," +
               std::to_string(Sys->Visibility1);
    Out += "\n";
}

constexpr std::pair<int, std::string_view> ColourNames[] = {{SkinColour::WindowText, "WindowText"},
                                                            {SkinColour::TitleTextActive, "TitleTextActive"},
                                                            {SkinColour::TitleTextNoActive, "TitleTextNoActive"},
                                                            {SkinColour::ButtonFace, "ButtonFace"},
                                                            {SkinColour::ButtonText, "ButtonText"},
                                                            {SkinColour::ButtonHilight, "ButtonHilight"},
                                                            {SkinColour::Buttonlight, "Buttonlight"},
                                                            {SkinColour::ButtonShadow, "ButtonShadow"},
                                                            {SkinColour::ButtonDkShadow, "ButtonDkShadow"},
                                                            {9, "(9)"},
                                                            {10, "(10)"},
                                                            {SkinColour::HilightText, "HilightText"},
                                                            {SkinColour::Hilight, "Hilight"},
                                                            {SkinColour::Menubar, "Menubar"},
                                                            {SkinColour::MenuBarText, "MenuBarText"},
                                                            {SkinColour::MenuText, "MenuText"},
                                                            {SkinColour::Menu, "Menu"},
                                                            {SkinColour::TitleColor, "TitleColor"},
                                                            {SkinColour::Scrollbar, "Scrollbar"}};

}  // namespace

std::string DescribeSkin(const TSkinData& Data) {
    std::string Out;
    Out += "skin " + Data.FSkinName + (Data.FSkinLoading ? " (not loaded)" : "") + "\n";

    Out += "colours\n";
    for (const auto& [Index, Name] : ColourNames)
        Out += "  " + std::to_string(Index) + " " + std::string(Name) + " " +
               Hex(Data.FColors[static_cast<size_t>(Index)]) +
               (Data.FColorDefined[static_cast<size_t>(Index)] ? " skin" : " default") + "\n";
    Out += "colour sections";
    for (TColor Colour : Data.FColourSections) Out += " " + Hex(Colour);
    Out += "\ncustom colours";
    for (TColor Colour : Data.FCustomColors) Out += " " + Hex(Colour);
    Out += "\n";

    Out += "elements\n";
    const std::pair<std::string_view, const TDataSkinObject*> Fixed[] = {
        {"FBorderLeft", Data.FBorderLeft.get()},
        {"FBorderRight", Data.FBorderRight.get()},
        {"FBorderTop", Data.FBorderTop.get()},
        {"FBorderBottom", Data.FBorderBottom.get()},
        {"FTitle", Data.FTitle.get()},
        {"FButtons", Data.FButtons.get()},
        {"FMenuBar", Data.FMenuBar.get()},
        {"FProgress", Data.FProgress.get()},
        {"FProgressChunk", Data.FProgressChunk.get()},
        {"FGroupBoxEdge", Data.FGroupBoxEdge.get()},
        {"FGroupBox", Data.FGroupBox.get()},
        {"FTabs", Data.FTabs.get()},
        {"FStatusBarEdges", Data.FStatusBarEdges.get()},
        {"FTabPane", Data.FTabPane.get()},
        {"FToolBars", Data.FToolBars.get()},
        {"FComboButton", Data.FComboButton.get()},
        {"FSunkEdge", Data.FSunkEdge.get()},
        {"FExtraImages", Data.FExtraImages.get()},
        {"FHeaderbar", Data.FHeaderbar.get()},
        {"FMenuItem", Data.FMenuItem.get()},
        {"FMenuBackground", Data.FMenuBackground.get()},
        {"FScrollbar", Data.FScrollbar.get()},
        {"FHorzScroll", Data.FHorzScroll.get()},
        {"FVertScroll", Data.FVertScroll.get()},
        {"FHorzScrollThumb", Data.FHorzScrollThumb.get()},
        {"FVertScrollThumb", Data.FVertScrollThumb.get()},
        {"FTrackThumbHorz", Data.FTrackThumbHorz.get()},
        {"FTrackThumbVert", Data.FTrackThumbVert.get()},
        {"FTrackThumbLeft", Data.FTrackThumbLeft.get()},
        {"FTrackThumbRight", Data.FTrackThumbRight.get()},
        {"FTrackThumbUp", Data.FTrackThumbUp.get()},
        {"FTrackThumbDown", Data.FTrackThumbDown.get()},
        {"FUpDownHorz", Data.FUpDownHorz.get()},
        {"FUpDownVert", Data.FUpDownVert.get()},
        {"FTrack", Data.FTrack.get()},
        {"FTrackVert", Data.FTrackVert.get()},
        {"FComboArrow", Data.FComboArrow.get()},
        {"FToolbar", Data.FToolbar.get()}};
    for (const auto& [Field, Element] : Fixed) {
        if (Element == nullptr)
            Out += std::string(Field) + " absent\n";
        else
            AppendElement(Out, Field, *Element);
    }

    Out += "caption buttons " + std::to_string(Data.FCaptionButtons.size()) + "\n";
    for (size_t I = 0; I < Data.FCaptionButtons.size(); ++I)
        AppendElement(Out, "  " + std::to_string(I), *Data.FCaptionButtons[I]);
    return Out;
}
