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

RECT MarginsOf(const TDataSkinObject& Element) {
    return RECT{Element.LeftWidth, Element.TopHeight, Element.RightWidth, Element.BottomHeight};
}

void FillWith(TBitmap& Bitmap, const RECT& Rect, TColor Colour) {
    TCanvas& Canvas = Bitmap.Canvas();
    Canvas.Brush().SetColor(Colour);
    Canvas.FillRect(Rect);
}

}  // namespace

void TSkinData::ComposeComboEdges() {
    if (!FSunkEdge || !FComboButton) return;
    const int32_t ButtonWidth = GetSystemMetrics(SM_CXHSCROLL) + ComboButtonExtra;
    const int32_t Frames = FSunkEdge->Frame;
    const RECT CellRect{0, 0, ComboCellWidth, ComboCellHeight};
    const RECT ButtonRect{ComboCellWidth - ButtonWidth, 0, ComboCellWidth, ComboCellHeight};
    const RECT EditRect{ComboEditInset, ComboEditInset, ComboCellWidth - ButtonWidth - ComboEditRightGap,
                        ComboEditBottom};

    TBitmap Cell(ComboCellWidth, ComboCellHeight, pf24bit);
    TBitmap Result(ComboCellWidth * Frames, ComboCellHeight, pf24bit);
    FillWith(Result, RECT{0, 0, Result.Width(), Result.Height()}, SkinTransparentColor);
    for (int32_t B = 1; B <= Frames; ++B) {
        // Each frame starts from a clear (transparent) cell.
        FillWith(Cell, CellRect, SkinTransparentColor);
        DrawSkinElement(Cell.Canvas().Handle(), CellRect, *FSunkEdge->Bitmap, false, false, FSunkEdge->Trans == 1,
                        FSunkEdge->Frame, B, MarginsOf(*FSunkEdge));
        DrawSkinElement(Cell.Canvas().Handle(), ButtonRect, *FComboButton->Bitmap, false, false, true,
                        FComboButton->Frame, B, MarginsOf(*FComboButton));
        if (FExtraImages)
            DrawFrameStretched(Cell.Canvas().Handle(), ButtonRect, *FExtraImages->Bitmap, true, FExtraImages->Frame, B);
        FillWith(Cell, EditRect, SkinTransparentColor);
        const RECT Target{(B - 1) * ComboCellWidth, 0, B * ComboCellWidth, ComboCellHeight};
        Result.Canvas().CopyRect(Target, Cell.Canvas(), CellRect);
    }

    FComboButton->Style = ComposedComboStyle;
    FComboButton->LeftWidth = ComboEditInset;
    FComboButton->TopHeight = FSunkEdge->TopHeight;
    FComboButton->RightWidth = ButtonWidth + ComboEditInset;
    FComboButton->BottomHeight = FSunkEdge->BottomHeight;
    FComboButton->Bitmap->Assign(&Result);

    // Right-to-left layouts: the same picture mirrored, button at the left.
    FlipHorizontal(Result);
    FSunkEdge->Bitmap->Assign(&Result);
    FSunkEdge->LeftWidth = ButtonWidth + ComboEditInset;
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
    const int32_t Frames = FSunkEdge->Frame;
    if (Frames <= 0) return;
    TBitmap& Source = *FComboButton->Bitmap;
    const int32_t FrameWidth = Source.Width() / Frames;
    TBitmap Arrows(ComboArrowSize * Frames, ComboArrowSize, pf24bit);
    for (int32_t I = 0; I < Frames; ++I) {
        const int32_t Right = FrameWidth * (I + 1) - ComboArrowRightInset;
        const RECT From{Right - ComboArrowSize, ComboArrowTop, Right, ComboArrowTop + ComboArrowSize};
        const RECT To{ComboArrowSize * I, 0, ComboArrowSize * (I + 1), ComboArrowSize};
        Arrows.Canvas().CopyRect(To, Source.Canvas(), From);
    }
    FComboArrow->Bitmap->Assign(&Arrows);
    FComboArrow->Frame = Frames;
}

void TSkinData::BuildToolbarElement() {
    const TColor Title = SampleTitleColor();
    TColor End = BlendColors(ToolbarGrey, Title, ToolbarBlendWeight);
    const TColor Start = BlendColors(FColors[SkinColour::ButtonFace], clWhite, ToolbarBlendWeight);
    const int Saturation = ColorSaturation(ColorToRGB(Title));
    if (Saturation > VividSaturation)
        End = BlendColors(Title, clWhite,
                          (SaturationCeiling - Saturation) * SaturationScale / SaturationDivisor + VividBlendBase);

    TBitmap Gradient(ToolbarWidth, ToolbarHeight, pf24bit);
    GradientFillRect(Gradient.Canvas().Handle(), RECT{0, 0, ToolbarWidth, ToolbarHeight}, Start, GradientTopToBottom,
                     End);
    if (!FToolbar) FToolbar = std::make_unique<TDataSkinObject>("Toolbar");
    FToolbar->Bitmap->Assign(&Gradient);
    FToolbar->Frame = 1;
}
