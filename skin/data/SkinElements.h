// Skin elements: one object per visual element of a loaded skin, owning its
// bitmap(s) and carrying the nine-slice margins, flags, frame count and text
// colours the painters read. Only the skin parse of TSkinData writes them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/graphics/Color.h"
#include "framework/graphics/Bitmap.h"
#include "framework/rtl/Object.h"

// A text colour field that the skin left unset.
constexpr int32_t SkinColourNotSet = -1;

// TDataSkinObject: a generic element: bitmap, margins of the nine-slice cut,
// transparency and tiling flags, state-frame count, style and text colours.
class TDataSkinObject : public TObject {
    QUIRN_CLASS(TDataSkinObject, TObject)
public:
    explicit TDataSkinObject(std::string aName);
    ~TDataSkinObject() override;
    TDataSkinObject(const TDataSkinObject&) = delete;
    TDataSkinObject& operator=(const TDataSkinObject&) = delete;

    int32_t LeftWidth = 0;
    int32_t TopHeight = 0;
    int32_t RightWidth = 0;
    int32_t BottomHeight = 0;
    std::unique_ptr<TBitmap> Bitmap;  // empty when the skin gives none
    int32_t Trans = 0;                // 1: magenta pixels are transparent
    int32_t Tile = 0;                 // 0 stretch / 1 tile the middle (reversed for frame borders)
    std::string Name;
    int32_t Frame = 0;  // number of state frames in Bitmap
    int32_t Style = 0;
    int32_t NormalColour = 0;
    int32_t MouseOverColour = 0;
    int32_t PressedColour = 0;
    TColor NormalColour2 = 0;
    TColor MouseOverColour2 = 0;
    TColor PressedColour2 = 0;
};

// TDataSkinBorder: an element with a second image (window frame sides,
// tabs, combo button, up-down glyphs).
class TDataSkinBorder : public TDataSkinObject {
    QUIRN_CLASS(TDataSkinBorder, TDataSkinObject)
public:
    explicit TDataSkinBorder(std::string aName);
    ~TDataSkinBorder() override;

    std::unique_ptr<TBitmap> Bitmap2;
};

// TDataSkinTitle: the caption text element. Its LeftWidth, TopHeight and
// RightWidth carry "TextShift", "TextShiftVert" and "TextRightClip"; its
// Bitmap is the caption text background (frames: active, inactive).
class TDataSkinTitle : public TDataSkinObject {
    QUIRN_CLASS(TDataSkinTitle, TDataSkinObject)
public:
    explicit TDataSkinTitle(std::string aName);
    ~TDataSkinTitle() override;

    int32_t TextAlignment = 0;
    int32_t Textbackground = 0;
    int32_t FontHeight = 0;
    int32_t TXTBackleft = 0;
    int32_t TXTBackRight = 0;
    TColor ActiveTextColour = 0;    // clNone when not set
    TColor InactiveTextColour = 0;  // clNone when not set
};

// TDataSkinButton: the push-button element with the check-box and
// radio-button images.
class TDataSkinButton : public TDataSkinObject {
    QUIRN_CLASS(TDataSkinButton, TDataSkinObject)
public:
    explicit TDataSkinButton(std::string aName);
    ~TDataSkinButton() override;

    std::unique_ptr<TBitmap> CheckBitmap;
    std::unique_ptr<TBitmap> RadioBitmap;
    int32_t RadioFrame = 0;
    int32_t CheckFrame = 0;
    bool HasNormalColour2 = false;
    bool HasMouseOverColour2 = false;
    bool HasPressedColour2 = false;
};

// TDataSkinSysButton: one caption button: its action, alignment, position,
// how it combines with others and when it is visible.
class TDataSkinSysButton : public TDataSkinObject {
    QUIRN_CLASS(TDataSkinSysButton, TDataSkinObject)
public:
    explicit TDataSkinSysButton(std::string aName);
    ~TDataSkinSysButton() override;

    int32_t Action = 0;
    int32_t Align = 0;
    int32_t XCoord = 0;
    int32_t YCoord = 0;
    int32_t CombineOp = 0;
    int32_t Visibility = 0;
    int32_t Visibility1 = 0;
};

// TDataSkinBoxLabel: the group-box label element with its background shifts.
class TDataSkinBoxLabel : public TDataSkinObject {
    QUIRN_CLASS(TDataSkinBoxLabel, TDataSkinObject)
public:
    explicit TDataSkinBoxLabel(std::string aName);
    ~TDataSkinBoxLabel() override;

    int32_t BackgroundLeftShift = 0;
    int32_t BackgroundRightShift = 0;
    int32_t BackgroundAlignment = 0;
};
