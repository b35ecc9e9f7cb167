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
void ReadSharedKeys(const TQuickIni& ini, std::string_view section, TDataSkinObject& element) {
    element.Style = ini.ReadInteger(section, "Style", 0);
    element.Trans = ini.ReadInteger(section, "Trans", 0);
    element.Tile = ini.ReadInteger(section, "Tile", 0);
    element.LeftWidth = std::max(0, ini.ReadInteger(section, "LeftWidth", 0));
    element.RightWidth = std::max(0, ini.ReadInteger(section, "RightWidth", 0));
    element.TopHeight = std::max(0, ini.ReadInteger(section, "TopHeight", 0));
    element.BottomHeight = std::max(0, ini.ReadInteger(section, "BottomHeight", 0));
}

int32_t GlyphFrames(const TBitmap& image) {
    const int32_t cell = image.Height() < SmallGlyphHeight ? SmallGlyphCell : LargeGlyphCell;
    return std::max(MinGlyphFrames, image.Width() / cell);
}

template <typename Element>
void SetFrames(const std::unique_ptr<Element>& target, int32_t frames) {
    if (target) target->Frame = frames;
}

}  // namespace

void TSkinData::ReadElementColors(std::string_view section, TDataSkinObject& element) {
    element.NormalColour = FIni->ReadInteger(section, "NormalColour", SkinColourNotSet);
    element.MouseOverColour = FIni->ReadInteger(section, "MouseOverColour", SkinColourNotSet);
    element.PressedColour = FIni->ReadInteger(section, "PressedColour", SkinColourNotSet);
    const TColor buttonText = FColors[SkinColour::ButtonText];
    element.NormalColour2 = ParseColor(FIni->ReadString(section, "NormalColour2", ""), buttonText);
    element.MouseOverColour2 = ParseColor(FIni->ReadString(section, "MouseOverColour2", ""), buttonText);
    element.PressedColour2 = ParseColor(FIni->ReadString(section, "PressedColour2", ""), buttonText);
}

std::unique_ptr<TDataSkinObject> TSkinData::ReadElement(std::string_view section) {
    const std::string image = FIni->ReadString(section, ImageKey, "");
    if (image.empty()) return nullptr;
    auto element = std::make_unique<TDataSkinObject>(std::string(section));
    LoadSkinBitmap(*element->Bitmap, image);
    ReadSharedKeys(*FIni, section, *element);
    element->Frame = FIni->ReadInteger(section, "Frame", 0);
    ReadElementColors(section, *element);
    if (element->Tile > 1) element->Tile = 0;
    return element;
}

std::unique_ptr<TDataSkinBorder> TSkinData::ReadBorderElement(std::string_view section, std::string_view secondKey) {
    const std::string image = FIni->ReadString(section, ImageKey, "");
    if (image.empty()) return nullptr;
    auto element = std::make_unique<TDataSkinBorder>(std::string(section));
    LoadSkinBitmap(*element->Bitmap, image);
    const std::string second = FIni->ReadString(section, secondKey, "");
    if (!second.empty()) LoadSkinBitmap(*element->Bitmap2, second);
    ReadSharedKeys(*FIni, section, *element);
    ReadElementColors(section, *element);
    if (element->Tile > 1) element->Tile = 0;
    return element;
}

std::unique_ptr<TDataSkinBorder> TSkinData::ReadProgressElement(std::string_view section) {
    const std::string image = FIni->ReadString(section, ProgressImageKey, "");
    if (image.empty()) return nullptr;
    auto element = std::make_unique<TDataSkinBorder>(std::string(section));
    LoadSkinBitmap(*element->Bitmap, image);
    ReadSharedKeys(*FIni, section, *element);
    element->Tile = std::min(1, element->Tile);
    return element;
}

std::unique_ptr<TDataSkinBoxLabel> TSkinData::ReadBoxLabelElement(std::string_view section) {
    const std::string image = FIni->ReadString(section, ImageKey, "");
    if (image.empty()) return nullptr;
    auto element = std::make_unique<TDataSkinBoxLabel>(std::string(section));
    LoadSkinBitmap(*element->Bitmap, image);
    ReadSharedKeys(*FIni, section, *element);
    ReadElementColors(section, *element);
    if (element->Tile > 1) element->Tile = 0;
    element->BackgroundAlignment = FIni->ReadInteger(section, "BackgroundAlignment", 0);
    element->BackgroundLeftShift = FIni->ReadInteger(section, "BackgroundLeftShift", 0);
    element->BackgroundRightShift = FIni->ReadInteger(section, "BackgroundRightShift", 0);
    return element;
}

std::unique_ptr<TDataSkinObject> TSkinData::LoadResourceElement(std::string_view resourceName) {
    auto element = std::make_unique<TDataSkinObject>(std::string(resourceName));
    try {
        element->Bitmap->LoadFromResourceName(SkinResourceInstance(), resourceName);
    } catch (const Exception&) {
        element->Bitmap->Assign(nullptr);  // a module without the resource draws the system's track
    }
    element->LeftWidth = ResourceElementMargin;
    element->TopHeight = ResourceElementMargin;
    element->RightWidth = ResourceElementMargin;
    element->BottomHeight = ResourceElementMargin;
    element->Tile = 0;
    element->Frame = 1;
    return element;
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
