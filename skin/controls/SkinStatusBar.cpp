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

int32_t Width(const RECT& rect) { return rect.right - rect.left; }
int32_t Height(const RECT& rect) { return rect.bottom - rect.top; }
bool Inverted(const RECT& rect) { return rect.right < rect.left || rect.bottom < rect.top; }

bool HasBitmap(const TDataSkinObject* element) {
    return element != nullptr && element->Bitmap && !element->Bitmap->Empty();
}

TPanelEdgeLook EdgeLookOf(TStatusPanelBevel bevel) {
    switch (bevel) {
    case pbRaised: return TPanelEdgeLook::Raised;
    case pbLowered: return TPanelEdgeLook::Lowered;
    case pbNone: return TPanelEdgeLook::Flat;
    }
    return TPanelEdgeLook::Flat;
}

UINT AlignFlag(TAlignment alignment) {
    switch (alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    case taLeftJustify: return DT_LEFT;
    }
    return DT_LEFT;
}

TAlignment Mirrored(TAlignment alignment) {
    if (alignment == taLeftJustify) return taRightJustify;
    if (alignment == taRightJustify) return taLeftJustify;
    return alignment;
}

// A one-pixel bevel: TopLeft on the top and left sides, BottomRight on the others.
void DrawBevel(HDC dc, const RECT& rect, TColor topLeft, TColor bottomRight) {
    FillColorRect(dc, RECT{rect.left, rect.top, rect.right - 1, rect.top + 1}, topLeft);
    FillColorRect(dc, RECT{rect.left, rect.top, rect.left + 1, rect.bottom - 1}, topLeft);
    FillColorRect(dc, RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom}, bottomRight);
    FillColorRect(dc, RECT{rect.right - 1, rect.top, rect.right, rect.bottom}, bottomRight);
}

std::wstring ShownText(std::wstring text) { return text.empty() ? std::wstring(EmptyPanelText) : text; }

}  // namespace

TSkinStatusBar::TSkinStatusBar(TComponent* aOwner) : TSkinControl(aOwner) {}

TCustomStatusBar* TSkinStatusBar::StatusBar() const { return ObjectAs<TCustomStatusBar>(FControl); }

bool TSkinStatusBar::BeforeMessage(TMessage& message) {
    // Only a status bar of the framework is painted here; anything else paints itself.
    if (StatusBar() != nullptr) {
        switch (message.Msg) {
        case WM_PAINT: PaintClient(message); return false;
        case WM_ERASEBKGND: message.Result = 1; return false;
        default: break;
        }
    }
    return TSkinControl::BeforeMessage(message);
}

void TSkinStatusBar::DrawSkin(HDC dc, const RECT& rect) {
    TCustomStatusBar* bar = StatusBar();
    if (bar == nullptr || FSkinData == nullptr) return;
    const RECT bounds{0, 0, Width(rect), Height(rect)};
    TBitmap& buffer = SkinBackBuffer();
    buffer.SetSize(bounds.right, bounds.bottom);
    if (buffer.Empty()) return;
    TCanvas& canvas = buffer.Canvas();
    FillColorRect(canvas.Handle(), bounds, SkinFaceColor());
    canvas.Font().Assign(bar->Font());
    canvas.Font().SetStyle({});
    const TDataSkinObject* edges = FSkinData->FStatusBarEdges.get();
    if (edges != nullptr) canvas.Font().SetColor(edges->NormalColour2);

    TStatusPanels& panels = *bar->Panels();
    if (bar->SimplePanel() || panels.Count() == 0) {
        DrawPanelEdge(canvas, bounds, FrameOf(TPanelEdgeLook::Lowered));
        RECT text = bounds;
        InflateRect(&text, -TextInset, 0);
        const UINT align = bar->BiDiMode() == bdRightToLeft ? DT_RIGHT : DT_LEFT;
        DrawPanelText(canvas, text, ShownText(GetTextProp(bar, "simpletext")), align);
    } else {
        for (int32_t index = 0; index < panels.Count(); ++index) {
            TStatusPanel* panel = panels.Items(index);
            RECT part{};
            if (SendMessageW(FHandle, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&part)) == 0)
                continue;
            part.right += PanelOverlap;
            if (index == panels.Count() - 1) part.right = bounds.right;
            DrawPanelEdge(canvas, part, FrameOf(EdgeLookOf(panel->Bevel())));
            if (panel->Style() != psText) continue;
            const TAlignment alignment =
                panel->BiDiMode() == bdRightToLeft ? Mirrored(panel->Alignment()) : panel->Alignment();
            RECT text = part;
            InflateRect(&text, -TextInset, 0);
            DrawPanelText(canvas, text, ShownText(GetTextProp(panel, "Text")), AlignFlag(alignment));
        }
    }
    DrawSizeGrip(canvas, bounds);

    BitBlt(dc, rect.left, rect.top, bounds.right, bounds.bottom, canvas.Handle(), 0, 0, SRCCOPY);
    // The buffer is shared with the menu bar: its brush is left solid as it was found.
    canvas.Brush().SetStyle(bsSolid);
    bar->PaintControls(dc, nullptr);

    // The application's own panel drawing lies on top of the skinned one.
    const TDrawPanelEvent onDrawPanel = bar->OnDrawPanel();
    if (!onDrawPanel || bar->Canvas() == nullptr) return;
    const TCanvasBinding bound(*bar->Canvas(), dc);
    bar->Canvas()->Font().Assign(bar->Font());
    bar->Canvas()->Brush().SetColor(SkinFaceColor());
    for (int32_t index = 0; index < panels.Count(); ++index) {
        RECT part{};
        if (SendMessageW(FHandle, SB_GETRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&part)) == 0)
            continue;
        InflateRect(&part, -OwnerDrawInset, -OwnerDrawInset);
        onDrawPanel(bar, panels.Items(index), part);
    }
}

void TSkinStatusBar::DrawPanelEdge(TCanvas& canvas, const RECT& rect, int32_t frame) {
    if (Inverted(rect)) return;
    const TDataSkinObject* edges = FSkinData->FStatusBarEdges.get();
    if (HasBitmap(edges)) {
        const RECT margins{edges->LeftWidth, edges->TopHeight, edges->RightWidth, edges->BottomHeight};
        std::unique_ptr<TBitmap> composed =
            CreateSkinElementBitmap(rect, *edges->Bitmap, margins, false, edges->Tile != 0, PanelEdgeFrameCount, frame);
        if (!composed->Empty())
            BitBlt(canvas.Handle(), rect.left, rect.top, Width(rect), Height(rect), composed->Canvas().Handle(), 0, 0,
                   SRCCOPY);
        return;
    }
    if (frame == FrameOf(TPanelEdgeLook::Lowered)) DrawBevel(canvas.Handle(), rect, clBtnShadow, clBtnHighlight);
    if (frame == FrameOf(TPanelEdgeLook::Raised)) DrawBevel(canvas.Handle(), rect, clBtnHighlight, clBtnShadow);
}

void TSkinStatusBar::DrawPanelText(TCanvas& canvas, const RECT& rect, const std::wstring& text, UINT align) {
    canvas.Brush().SetStyle(bsClear);
    canvas.Font().SetStyle({});
    const HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    RECT t = rect;
    DrawTextWide(dc, text, t, align | DT_EXPANDTABS | DT_CALCRECT | DT_NOCLIP);
    OffsetRect(&t, 0, (Height(rect) - Height(t)) / 2 - TextLift);
    if (align == DT_CENTER) {
        OffsetRect(&t, (Width(rect) - Width(t)) / 2, 0);
    } else {
        t.left = rect.left;
        t.right = rect.right;
    }
    DrawTextWide(dc, text, t, BiDiTextFlags(*this, align | DT_EXPANDTABS));
}

void TSkinStatusBar::DrawSizeGrip(TCanvas& canvas, const RECT& rect) {
    const TDataSkinObject* extra = FSkinData->FExtraImages.get();
    if ((GetWindowLongW(FHandle, GWL_STYLE) & SBARS_SIZEGRIP) == 0 || !HasBitmap(extra)) return;
    const int32_t frames = std::max(extra->Frame, 1);
    const int32_t cellWidth = extra->Bitmap->Width() / frames;
    const int32_t cellHeight = extra->Bitmap->Height();
    const RECT grip{rect.right - GripInset - cellWidth, rect.bottom - GripInset - cellHeight, rect.right - GripInset,
                    rect.bottom - GripInset};
    DrawFrameStretched(canvas.Handle(), grip, *extra->Bitmap, true, frames, SizeGripFrame);
}
