// TSkinStatusBar: the status-bar skinner.
#include "skin/controls/SkinStatusBar.h"

#include <algorithm>

#include "framework/controls/StatusBar.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "skin/controls/SkinFrames.h"
#include "skin/controls/SkinProps.h"
#include "skin/controls/SkinRoutines.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinDraw.h"
#include "skin/data/SkinServices.h"

QUIRN_DEFINE_CLASS(TSkinStatusBar)

namespace {

// Texts stand this far inside their panel's left and right edges.
constexpr int32_t TextInset = 2;
// Each panel's edge reaches this far past the panel's own right edge.
constexpr int32_t PanelOverlap = 2;
// The application's panel drawing gets the panel shrunk by this on every side.
constexpr int32_t OwnerDrawInset = 2;
constexpr int32_t TextLift = 1;
// The size grip stands this far inside the bar's bottom-right corner.
constexpr int32_t GripInset = 1;
// An empty text is drawn as one space.
constexpr std::wstring_view EmptyPanelText = L" ";

int32_t Width(const RECT& Rect) { return Rect.right - Rect.left; }
int32_t Height(const RECT& Rect) { return Rect.bottom - Rect.top; }
bool Inverted(const RECT& Rect) { return Rect.right < Rect.left || Rect.bottom < Rect.top; }

bool HasBitmap(const TDataSkinObject* Element) {
    return Element != nullptr && Element->Bitmap && !Element->Bitmap->Empty();
}

TPanelEdgeLook EdgeLookOf(TStatusPanelBevel Bevel) {
    switch (Bevel) {
    case pbRaised: return TPanelEdgeLook::Raised;
    case pbLowered: return TPanelEdgeLook::Lowered;
    case pbNone: return TPanelEdgeLook::Flat;
    }
    return TPanelEdgeLook::Flat;
}

UINT AlignFlag(TAlignment Alignment) {
    switch (Alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    case taLeftJustify: return DT_LEFT;
    }
    return DT_LEFT;
}

TAlignment Mirrored(TAlignment Alignment) {
    if (Alignment == taLeftJustify) return taRightJustify;
    if (Alignment == taRightJustify) return taLeftJustify;
    return Alignment;
}

// A one-pixel bevel: TopLeft on the top and left sides, BottomRight on the others.
void DrawBevel(HDC DC, const RECT& Rect, TColor TopLeft, TColor BottomRight) {
    FillColorRect(DC, RECT{Rect.left, Rect.top, Rect.right - 1, Rect.top + 1}, TopLeft);
    FillColorRect(DC, RECT{Rect.left, Rect.top, Rect.left + 1, Rect.bottom - 1}, TopLeft);
    FillColorRect(DC, RECT{Rect.left, Rect.bottom - 1, Rect.right, Rect.bottom}, BottomRight);
    FillColorRect(DC, RECT{Rect.right - 1, Rect.top, Rect.right, Rect.bottom}, BottomRight);
}

std::wstring ShownText(std::wstring Text) { return Text.empty() ? std::wstring(EmptyPanelText) : Text; }

}  // namespace

TSkinStatusBar::TSkinStatusBar(TComponent* AOwner) : TSkinControl(AOwner) {}

TCustomStatusBar* TSkinStatusBar::StatusBar() const { return ObjectAs<TCustomStatusBar>(FControl); }

bool TSkinStatusBar::BeforeMessage(TMessage& Message) {
    // Only a status bar of the framework is painted here; anything else paints itself.
    if (StatusBar() != nullptr) {
        switch (Message.Msg) {
        case WM_PAINT: PaintClient(Message); return false;
        case WM_ERASEBKGND: Message.Result = 1; return false;
        default: break;
        }
    }
    return TSkinControl::BeforeMessage(Message);
}

void TSkinStatusBar::DrawSkin(HDC DC, const RECT& Rect) {
    TCustomStatusBar* Bar = StatusBar();
    if (Bar == nullptr || FSkinData == nullptr) return;
    const RECT Bounds{0, 0, Width(Rect), Height(Rect)};
    TBitmap& Buffer = SkinBackBuffer();
    Buffer.SetSize(Bounds.right, Bounds.bottom);
    if (Buffer.Empty()) return;
    TCanvas& Canvas = Buffer.Canvas();
    FillColorRect(Canvas.Handle(), Bounds, SkinFaceColor());
    Canvas.Font().Assign(Bar->Font());
    Canvas.Font().SetStyle({});
    const TDataSkinObject* Edges = FSkinData->FStatusBarEdges.get();
    if (Edges != nullptr) Canvas.Font().SetColor(Edges->NormalColour2);

    TStatusPanels& Panels = *Bar->Panels();
    if (Bar->SimplePanel() || Panels.Count() == 0) {
        DrawPanelEdge(Canvas, Bounds, FrameOf(TPanelEdgeLook::Lowered));
        RECT Text = Bounds;
        InflateRect(&Text, -TextInset, 0);
        const UINT Align = Bar->BiDiMode() == bdRightToLeft ? DT_RIGHT : DT_LEFT;
        DrawPanelText(Canvas, Text, ShownText(GetTextProp(Bar, "simpletext")), Align);
    } else {
        for (int32_t Index = 0; Index < Panels.Count(); ++Index) {
            TStatusPanel* Panel = Panels.Items(Index);
            RECT Part{};
            if (SendMessageW(FHandle, SB_GETRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&Part)) == 0)
                continue;
            Part.right += PanelOverlap;
            if (Index == Panels.Count() - 1) Part.right = Bounds.right;
            DrawPanelEdge(Canvas, Part, FrameOf(EdgeLookOf(Panel->Bevel())));
            if (Panel->Style() != psText) continue;
            const TAlignment Alignment =
                Panel->BiDiMode() == bdRightToLeft ? Mirrored(Panel->Alignment()) : Panel->Alignment();
            RECT Text = Part;
            InflateRect(&Text, -TextInset, 0);
            DrawPanelText(Canvas, Text, ShownText(GetTextProp(Panel, "Text")), AlignFlag(Alignment));
        }
    }
    DrawSizeGrip(Canvas, Bounds);

    BitBlt(DC, Rect.left, Rect.top, Bounds.right, Bounds.bottom, Canvas.Handle(), 0, 0, SRCCOPY);
    // The buffer is shared with the menu bar: its brush is left solid as it was found.
    Canvas.Brush().SetStyle(bsSolid);
    Bar->PaintControls(DC, nullptr);

    // The application's own panel drawing lies on top of the skinned one.
    const TDrawPanelEvent OnDrawPanel = Bar->OnDrawPanel();
    if (!OnDrawPanel || Bar->Canvas() == nullptr) return;
    const TCanvasBinding Bound(*Bar->Canvas(), DC);
    Bar->Canvas()->Font().Assign(Bar->Font());
    Bar->Canvas()->Brush().SetColor(SkinFaceColor());
    for (int32_t Index = 0; Index < Panels.Count(); ++Index) {
        RECT Part{};
        if (SendMessageW(FHandle, SB_GETRECT, static_cast<WPARAM>(Index), reinterpret_cast<LPARAM>(&Part)) == 0)
            continue;
        InflateRect(&Part, -OwnerDrawInset, -OwnerDrawInset);
        OnDrawPanel(Bar, Panels.Items(Index), Part);
    }
}

void TSkinStatusBar::DrawPanelEdge(TCanvas& Canvas, const RECT& Rect, int32_t Frame) {
    if (Inverted(Rect)) return;
    const TDataSkinObject* Edges = FSkinData->FStatusBarEdges.get();
    if (HasBitmap(Edges)) {
        const RECT Margins{Edges->LeftWidth, Edges->TopHeight, Edges->RightWidth, Edges->BottomHeight};
        std::unique_ptr<TBitmap> Composed =
            CreateSkinElementBitmap(Rect, *Edges->Bitmap, Margins, false, Edges->Tile != 0, PanelEdgeFrameCount, Frame);
        if (!Composed->Empty())
            BitBlt(Canvas.Handle(), Rect.left, Rect.top, Width(Rect), Height(Rect), Composed->Canvas().Handle(), 0, 0,
                   SRCCOPY);
        return;
    }
    if (Frame == FrameOf(TPanelEdgeLook::Lowered)) DrawBevel(Canvas.Handle(), Rect, clBtnShadow, clBtnHighlight);
    if (Frame == FrameOf(TPanelEdgeLook::Raised)) DrawBevel(Canvas.Handle(), Rect, clBtnHighlight, clBtnShadow);
}

void TSkinStatusBar::DrawPanelText(TCanvas& Canvas, const RECT& Rect, const std::wstring& Text, UINT Align) {
    Canvas.Brush().SetStyle(bsClear);
    Canvas.Font().SetStyle({});
    const HDC DC = Canvas.Handle();
    SetBkMode(DC, TRANSPARENT);
    RECT T = Rect;
    DrawTextWide(DC, Text, T, Align | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
    OffsetRect(&T, 0, (Height(Rect) - Height(T)) / 2 - TextLift);
    if (Align == DT_CENTER) {
        OffsetRect(&T, (Width(Rect) - Width(T)) / 2, 0);
    } else {
        T.left = Rect.left;
        T.right = Rect.right;
    }
    DrawTextWide(DC, Text, T, BiDiTextFlags(*this, Align | DT_EXPANDTABS));
}

void TSkinStatusBar::DrawSizeGrip(TCanvas& Canvas, const RECT& Rect) {
    const TDataSkinObject* Extra = FSkinData->FExtraImages.get();
    if ((GetWindowLongW(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) == 0 || !HasBitmap(Extra)) return;
    const int32_t Frames = std::max(Extra->Frame, 1);
    const int32_t CellWidth = Extra->Bitmap->Width() / Frames;
    const int32_t CellHeight = Extra->Bitmap->Height();
    const RECT Grip{Rect.right - GripInset - CellWidth, Rect.bottom - GripInset - CellHeight, Rect.right - GripInset,
                    Rect.bottom - GripInset};
    DrawFrameStretched(Canvas.Handle(), Grip, *Extra->Bitmap, true, Frames, SizeGripFrame);
}
