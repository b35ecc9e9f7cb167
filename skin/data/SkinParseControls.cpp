// The control elements: the four generic section readers, the program's own
// fallback bitmaps, and the frame counts each painter expects.
#include <algorithm>

#include "skin/data/QuickIni.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinServices.h"

namespace {

constexpr std::string_view ImageKey = "Image";
constexpr std::string_view ProgressImageKey = "Bitmap";
constexpr int32_t ResourceElementMargin = 3;

// Frame counts fixed by the painters of the elements.
constexpr int32_t ProgressFramesPlain = 2;  // empty and filled
constexpr int32_t ProgressFramesStyled = 1;
constexpr int32_t GroupBoxEdgeFrames = 2;
constexpr int32_t GroupBoxFrames = 1;
constexpr int32_t TabsFrames = 5;
constexpr int32_t StatusBarEdgesFrames = 3;
constexpr int32_t TabPaneFrames = 1;
constexpr int32_t ToolBarsFrames = 5;
constexpr int32_t ComboButtonFrames = 4;
constexpr int32_t SunkEdgeFrames = 4;
constexpr int32_t ExtraImagesFrames = 5;
constexpr int32_t HeaderbarDefaultFrames = 5;
constexpr int32_t MenuItemFrames = 5;
constexpr int32_t MenuBackgroundFrames = 1;
constexpr int32_t ScrollbarFrames = 23;
constexpr int32_t ScrollArrowFrames = 4;
constexpr int32_t ScrollThumbDefaultFrames = 3;
constexpr int32_t TrackThumbFrames = 5;
constexpr int32_t UpDownFrames = 8;
constexpr int32_t ButtonFrames = 5;
constexpr int32_t TitleFrames = 2;  // active, inactive
constexpr int32_t MenuBarFrames = 2;
// Check and radio images: cells of 13 pixels in images under 16 pixels high,
// else of 16; at least 4 frames.
constexpr int32_t SmallGlyphHeight = 16;
constexpr int32_t SmallGlyphCell = 13;
constexpr int32_t LargeGlyphCell = 16;
constexpr int32_t MinGlyphFrames = 4;

// Reads the integer keys every reader shares: style, margins, transparency and
// tiling (each reader then settles the tiling values it accepts). Margins are
// pixel counts, so a negative one is read as 0.
void ReadSharedKeys(const TQuickIni& Ini, std::string_view Section, TDataSkinObject& Element) {
    Element.Style = Ini.ReadInteger(Section, "Style", 0);
    Element.Trans = Ini.ReadInteger(Section, "Trans", 0);
    Element.Tile = Ini.ReadInteger(Section, "Tile", 0);
    Element.LeftWidth = std::max(0, Ini.ReadInteger(Section, "LeftWidth", 0));
    Element.RightWidth = std::max(0, Ini.ReadInteger(Section, "RightWidth", 0));
    Element.TopHeight = std::max(0, Ini.ReadInteger(Section, "TopHeight", 0));
    Element.BottomHeight = std::max(0, Ini.ReadInteger(Section, "BottomHeight", 0));
}

int32_t GlyphFrames(const TBitmap& Image) {
    const int32_t Cell = Image.Height() < SmallGlyphHeight ? SmallGlyphCell : LargeGlyphCell;
    return std::max(MinGlyphFrames, Image.Width() / Cell);
}

template <typename Element>
void SetFrames(const std::unique_ptr<Element>& Target, int32_t Frames) {
    if (Target) Target->Frame = Frames;
}

}  // namespace

void TSkinData::ReadElementColors(std::string_view Section, TDataSkinObject& Element) {
    Element.NormalColour = FIni->ReadInteger(Section, "NormalColour", SkinColourNotSet);
    Element.MouseOverColour = FIni->ReadInteger(Section, "MouseOverColour", SkinColourNotSet);
    Element.PressedColour = FIni->ReadInteger(Section, "PressedColour", SkinColourNotSet);
    const TColor ButtonText = FColors[SkinColour::ButtonText];
    Element.NormalColour2 = ParseColor(FIni->ReadString(Section, "NormalColour2", ""), ButtonText);
    Element.MouseOverColour2 = ParseColor(FIni->ReadString(Section, "MouseOverColour2", ""), ButtonText);
    Element.PressedColour2 = ParseColor(FIni->ReadString(Section, "PressedColour2", ""), ButtonText);
}

std::unique_ptr<TDataSkinObject> TSkinData::ReadElement(std::string_view Section) {
    const std::string Image = FIni->ReadString(Section, ImageKey, "");
    if (Image.empty()) return nullptr;
    auto Element = std::make_unique<TDataSkinObject>(std::string(Section));
    LoadSkinBitmap(*Element->Bitmap, Image);
    ReadSharedKeys(*FIni, Section, *Element);
    Element->Frame = FIni->ReadInteger(Section, "Frame", 0);
    ReadElementColors(Section, *Element);
    if (Element->Tile > 1) Element->Tile = 0;
    return Element;
}

std::unique_ptr<TDataSkinBorder> TSkinData::ReadBorderElement(std::string_view Section, std::string_view SecondKey) {
    const std::string Image = FIni->ReadString(Section, ImageKey, "");
    if (Image.empty()) return nullptr;
    auto Element = std::make_unique<TDataSkinBorder>(std::string(Section));
    LoadSkinBitmap(*Element->Bitmap, Image);
    const std::string Second = FIni->ReadString(Section, SecondKey, "");
    if (!Second.empty()) LoadSkinBitmap(*Element->Bitmap2, Second);
    ReadSharedKeys(*FIni, Section, *Element);
    ReadElementColors(Section, *Element);
    if (Element->Tile > 1) Element->Tile = 0;
    return Element;
}

std::unique_ptr<TDataSkinBorder> TSkinData::ReadProgressElement(std::string_view Section) {
    const std::string Image = FIni->ReadString(Section, ProgressImageKey, "");
    if (Image.empty()) return nullptr;
    auto Element = std::make_unique<TDataSkinBorder>(std::string(Section));
    LoadSkinBitmap(*Element->Bitmap, Image);
    ReadSharedKeys(*FIni, Section, *Element);
    Element->Tile = std::min(1, Element->Tile);
    return Element;
}

std::unique_ptr<TDataSkinBoxLabel> TSkinData::ReadBoxLabelElement(std::string_view Section) {
    const std::string Image = FIni->ReadString(Section, ImageKey, "");
    if (Image.empty()) return nullptr;
    auto Element = std::make_unique<TDataSkinBoxLabel>(std::string(Section));
    LoadSkinBitmap(*Element->Bitmap, Image);
    ReadSharedKeys(*FIni, Section, *Element);
    ReadElementColors(Section, *Element);
    if (Element->Tile > 1) Element->Tile = 0;
    Element->BackgroundAlignment = FIni->ReadInteger(Section, "BackgroundAlignment", 0);
    Element->BackgroundLeftShift = FIni->ReadInteger(Section, "BackgroundLeftShift", 0);
    Element->BackgroundRightShift = FIni->ReadInteger(Section, "BackgroundRightShift", 0);
    return Element;
}

std::unique_ptr<TDataSkinObject> TSkinData::LoadResourceElement(std::string_view ResourceName) {
    auto Element = std::make_unique<TDataSkinObject>(std::string(ResourceName));
    try {
        Element->Bitmap->LoadFromResourceName(SkinResourceInstance(), ResourceName);
    } catch (const Exception&) {
        Element->Bitmap->Assign(nullptr);  // a module without the resource draws the system's track
    }
    Element->LeftWidth = ResourceElementMargin;
    Element->TopHeight = ResourceElementMargin;
    Element->RightWidth = ResourceElementMargin;
    Element->BottomHeight = ResourceElementMargin;
    Element->Tile = 0;
    Element->Frame = 1;
    return Element;
}

void TSkinData::FixFrameCounts() {
    if (FProgress) FProgress->Frame = FProgress->Style != 0 ? ProgressFramesStyled : ProgressFramesPlain;
    SetFrames(FGroupBoxEdge, GroupBoxEdgeFrames);
    SetFrames(FGroupBox, GroupBoxFrames);
    SetFrames(FTabs, TabsFrames);
    SetFrames(FStatusBarEdges, StatusBarEdgesFrames);
    SetFrames(FTabPane, TabPaneFrames);
    SetFrames(FToolBars, ToolBarsFrames);
    SetFrames(FComboButton, ComboButtonFrames);
    SetFrames(FSunkEdge, SunkEdgeFrames);
    SetFrames(FExtraImages, ExtraImagesFrames);
    if (FHeaderbar && FHeaderbar->Frame <= 0) FHeaderbar->Frame = HeaderbarDefaultFrames;
    SetFrames(FMenuItem, MenuItemFrames);
    SetFrames(FMenuBackground, MenuBackgroundFrames);
    SetFrames(FScrollbar, ScrollbarFrames);
    SetFrames(FHorzScroll, ScrollArrowFrames);
    SetFrames(FVertScroll, ScrollArrowFrames);
    // The thumbs carry their own count; one below 1 would leave no frame to draw.
    if (FHorzScrollThumb)
        FHorzScrollThumb->Frame =
            std::max(1, FIni->ReadInteger("HorzScrollThumb", "FrameCount", ScrollThumbDefaultFrames));
    if (FVertScrollThumb)
        FVertScrollThumb->Frame =
            std::max(1, FIni->ReadInteger("VertScrollThumb", "FrameCount", ScrollThumbDefaultFrames));
    SetFrames(FTrackThumbHorz, TrackThumbFrames);
    SetFrames(FTrackThumbVert, TrackThumbFrames);
    SetFrames(FTrackThumbLeft, TrackThumbFrames);
    SetFrames(FTrackThumbRight, TrackThumbFrames);
    SetFrames(FTrackThumbUp, TrackThumbFrames);
    SetFrames(FTrackThumbDown, TrackThumbFrames);
    SetFrames(FUpDownHorz, UpDownFrames);
    SetFrames(FUpDownVert, UpDownFrames);

    FButtons->Frame = ButtonFrames;
    // A count below 1 is no count: it is derived from the image as for 0.
    if (FButtons->RadioFrame <= 0) FButtons->RadioFrame = GlyphFrames(*FButtons->RadioBitmap);
    if (FButtons->CheckFrame <= 0) FButtons->CheckFrame = GlyphFrames(*FButtons->CheckBitmap);
    FTitle->Frame = TitleFrames;
    SetFrames(FMenuBar, MenuBarFrames);
}
