// Elements built from others or synthesised: the combo box in one piece
// (sunken edit frame with its button), the combo arrow, and the toolbar
// gradient for skins without toolbar pictures.
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDraw.h"

namespace {

// One composed combo frame: the sunken edit frame with the button at its
// right end; the edit area inside stays transparent.
constexpr int32_t ComboCellWidth = 50;
constexpr int32_t ComboCellHeight = 21;
constexpr int32_t ComboButtonExtra = 2;  // button width = scroll-arrow width + 2
constexpr int32_t ComboEditInset = 2;
constexpr int32_t ComboEditRightGap = 1;
constexpr int32_t ComboEditBottom = 18;
constexpr int32_t ComposedComboStyle = 2;
// The arrow cut from each composed frame: 17 x 17, ending 2 pixels before
// the frame's right edge, 2 pixels below its top.
constexpr int32_t ComboArrowSize = 17;
constexpr int32_t ComboArrowRightInset = 2;
constexpr int32_t ComboArrowTop = 2;

// The toolbar gradient: 10 x 40, top to bottom.
constexpr int32_t ToolbarWidth = 10;
constexpr int32_t ToolbarHeight = 40;
constexpr int GradientTopToBottom = 1;
constexpr TColor ToolbarGrey = 0x808080;
constexpr int ToolbarBlendWeight = 150;  // per mille: 15 % of the first colour
constexpr int VividSaturation = 110;
constexpr int SaturationCeiling = 225;
constexpr int SaturationScale = 25;
constexpr int SaturationDivisor = 140;
constexpr int VividBlendBase = 50;

RECT MarginsOf(const TDataSkinObject& element) {
    return RECT{element.LeftWidth, element.TopHeight, element.RightWidth, element.BottomHeight};
}

void FillWith(TBitmap& bitmap, const RECT& rect, TColor colour) {
    TCanvas& canvas = bitmap.Canvas();
    canvas.Brush().SetColor(colour);
    canvas.FillRect(rect);
}

}  // namespace

void TSkinData::ComposeComboEdges() {
    if (!FSunkEdge || !FComboButton) return;
    const int32_t buttonWidth = GetSystemMetrics(SM_CXHSCROLL) + ComboButtonExtra;
    const int32_t frames = FSunkEdge->Frame;
    const RECT cellRect{0, 0, ComboCellWidth, ComboCellHeight};
    const RECT buttonRect{ComboCellWidth - buttonWidth, 0, ComboCellWidth, ComboCellHeight};
    const RECT editRect{ComboEditInset, ComboEditInset, ComboCellWidth - buttonWidth - ComboEditRightGap,
                        ComboEditBottom};

    TBitmap cell(ComboCellWidth, ComboCellHeight, pf24bit);
    TBitmap result(ComboCellWidth * frames, ComboCellHeight, pf24bit);
    FillWith(result, RECT{0, 0, result.Width(), result.Height()}, SkinTransparentColor);
    for (int32_t b = 1; b <= frames; ++b) {
        // Each frame starts from a clear (transparent) cell.
        FillWith(cell, cellRect, SkinTransparentColor);
        DrawSkinElement(cell.Canvas().Handle(), cellRect, *FSunkEdge->Bitmap, false, false, FSunkEdge->Trans == 1,
                        FSunkEdge->Frame, b, MarginsOf(*FSunkEdge));
        DrawSkinElement(cell.Canvas().Handle(), buttonRect, *FComboButton->Bitmap, false, false, true,
                        FComboButton->Frame, b, MarginsOf(*FComboButton));
        if (FExtraImages)
            DrawFrameStretched(cell.Canvas().Handle(), buttonRect, *FExtraImages->Bitmap, true, FExtraImages->Frame, b);
        FillWith(cell, editRect, SkinTransparentColor);
        const RECT target{(b - 1) * ComboCellWidth, 0, b * ComboCellWidth, ComboCellHeight};
        result.Canvas().CopyRect(target, cell.Canvas(), cellRect);
    }

    FComboButton->Style = ComposedComboStyle;
    FComboButton->LeftWidth = ComboEditInset;
    FComboButton->TopHeight = FSunkEdge->TopHeight;
    FComboButton->RightWidth = buttonWidth + ComboEditInset;
    FComboButton->BottomHeight = FSunkEdge->BottomHeight;
    FComboButton->Bitmap->Assign(&result);

    // Right-to-left layouts: the same picture mirrored, button at the left.
    FlipHorizontal(result);
    FSunkEdge->Bitmap->Assign(&result);
    FSunkEdge->LeftWidth = buttonWidth + ComboEditInset;
    FSunkEdge->RightWidth = ComboEditInset;
}

void TSkinData::BuildComboArrow() {
    if (!FComboArrow) FComboArrow = std::make_unique<TDataSkinObject>("ComboxArrow");
    // Refilled on every load: a skin with no combo pictures leaves it empty.
    FComboArrow->Bitmap->Assign(nullptr);
    if (!FSunkEdge) {
        if (!FComboButton) return;
        FComboArrow->Bitmap->Assign(FComboButton->Bitmap.get());
        if (!FComboArrow->Bitmap->Empty())
            ReplaceMagentaPixels(*FComboArrow->Bitmap, ColorToRGB(FColors[SkinColour::ButtonFace]));
        FComboArrow->Frame = FComboButton->Frame;
        return;
    }
    if (!FComboButton || FComboButton->Style != ComposedComboStyle) return;
    const int32_t frames = FSunkEdge->Frame;
    if (frames <= 0) return;
    TBitmap& source = *FComboButton->Bitmap;
    const int32_t frameWidth = source.Width() / frames;
    TBitmap arrows(ComboArrowSize * frames, ComboArrowSize, pf24bit);
    for (int32_t i = 0; i < frames; ++i) {
        const int32_t right = frameWidth * (i + 1) - ComboArrowRightInset;
        const RECT from{right - ComboArrowSize, ComboArrowTop, right, ComboArrowTop + ComboArrowSize};
        const RECT to{ComboArrowSize * i, 0, ComboArrowSize * (i + 1), ComboArrowSize};
        arrows.Canvas().CopyRect(to, source.Canvas(), from);
    }
    FComboArrow->Bitmap->Assign(&arrows);
    FComboArrow->Frame = frames;
}

void TSkinData::BuildToolbarElement() {
    const TColor title = SampleTitleColor();
    TColor end = BlendColors(ToolbarGrey, title, ToolbarBlendWeight);
    const TColor start = BlendColors(FColors[SkinColour::ButtonFace], clWhite, ToolbarBlendWeight);
    const int saturation = ColorSaturation(ColorToRGB(title));
    if (saturation > VividSaturation)
        end = BlendColors(title, clWhite,
                          (SaturationCeiling - saturation) * SaturationScale / SaturationDivisor + VividBlendBase);

    TBitmap gradient(ToolbarWidth, ToolbarHeight, pf24bit);
    GradientFillRect(gradient.Canvas().Handle(), RECT{0, 0, ToolbarWidth, ToolbarHeight}, start, GradientTopToBottom,
                     end);
    if (!FToolbar) FToolbar = std::make_unique<TDataSkinObject>("Toolbar");
    FToolbar->Bitmap->Assign(&gradient);
    FToolbar->Frame = 1;
}
