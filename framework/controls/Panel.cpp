#include "framework/controls/Panel.h"

#include <algorithm>

#include "framework/win/DeviceContext.h"
#include "framework/win/TextMeasure.h"

QUIRN_PUBLISH(TCustomPanel, p) {
    p.Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment).Default(taCenter);
    p.Property("VerticalAlignment", &TCustomPanel::VerticalAlignment, &TCustomPanel::SetVerticalAlignment)
        .Default(taVerticalCenter);
    p.Property("ShowCaption", &TCustomPanel::ShowCaption, &TCustomPanel::SetShowCaption).Default(true);
    p.Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner).Default(bvNone);
    p.Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter).Default(bvRaised);
    p.Property("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1);
    p.Property("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0);
    p.Property("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle).Default(bsNone);
    p.Property("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint).Default(true);
    p.Property("OnResize", &TCustomPanel::OnResize, &TCustomPanel::SetOnResize);
}

QUIRN_PUBLISH(TPanel, p) {}

namespace {

constexpr int32_t kDefaultWidth = 185;
constexpr int32_t kDefaultHeight = 41;

// The edge colours of one bevel ring: raised rings are lit from the top left.
void BevelColors(TBevelCut cut, TColor face, TColor& top, TColor& bottom) {
    switch (cut) {
    case bvRaised:
        top = clBtnHighlight;
        bottom = clBtnShadow;
        break;
    case bvLowered:
        top = clBtnShadow;
        bottom = clBtnHighlight;
        break;
    default:  // a blank ring of the face colour
        top = face;
        bottom = face;
        break;
    }
}

}  // namespace

void Frame3D(TCanvas& canvas, RECT& rect, TColor topColor, TColor bottomColor, int32_t width) {
    for (int32_t ring = 0; ring < width; ++ring) {
        if (rect.right > rect.left && rect.bottom > rect.top) {
            canvas.Brush().SetColor(topColor);
            canvas.FillRect(RECT{rect.left, rect.top, rect.right - 1, rect.top + 1});
            canvas.FillRect(RECT{rect.left, rect.top, rect.left + 1, rect.bottom - 1});
            canvas.Brush().SetColor(bottomColor);
            canvas.FillRect(RECT{rect.left, rect.bottom - 1, rect.right, rect.bottom});
            canvas.FillRect(RECT{rect.right - 1, rect.top, rect.right, rect.bottom - 1});
        }
        InflateRect(&rect, -1, -1);
    }
}

TCustomPanel::TCustomPanel(TComponent* owner) : TCustomControl(owner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption,
                     csOpaque,          csDoubleClicks, csReplicatable};
    FWidth = kDefaultWidth;
    FHeight = kDefaultHeight;
    FColor = clBtnFace;
    FParentColor = false;
}

void TCustomPanel::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    if (FBorderStyle == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

void TCustomPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomPanel::SetVerticalAlignment(TVerticalAlignment value) {
    if (FVerticalAlignment == value) return;
    FVerticalAlignment = value;
    Invalidate();
}

void TCustomPanel::SetShowCaption(bool value) {
    if (FShowCaption == value) return;
    FShowCaption = value;
    Invalidate();
}

void TCustomPanel::SetBevelInner(TBevelCut value) {
    if (FPanelBevelInner == value) return;
    FPanelBevelInner = value;
    FrameChanged();
}

void TCustomPanel::SetBevelOuter(TBevelCut value) {
    if (FPanelBevelOuter == value) return;
    FPanelBevelOuter = value;
    FrameChanged();
}

void TCustomPanel::SetBevelWidth(int32_t value) {
    value = std::max(value, 1);
    if (FPanelBevelWidth == value) return;
    FPanelBevelWidth = value;
    FrameChanged();
}

void TCustomPanel::SetBorderWidth(int32_t value) {
    value = std::max(value, 0);
    if (FBorderWidth == value) return;
    FBorderWidth = value;
    FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle value) {
    if (value != bsNone) value = bsSingle;
    if (FBorderStyle == value) return;
    FBorderStyle = value;
    RecreateWnd();
}

void TCustomPanel::FrameChanged() { Perform(CM_BORDERCHANGED); }

int32_t TCustomPanel::FrameWidth() const {
    int32_t width = FBorderWidth;
    if (FPanelBevelOuter != bvNone) width += FPanelBevelWidth;
    if (FPanelBevelInner != bvNone) width += FPanelBevelWidth;
    return width;
}

RECT TCustomPanel::InteriorOf(RECT rect) const {
    const int32_t frame = FrameWidth();
    InflateRect(&rect, -frame, -frame);
    return rect;
}

void TCustomPanel::AdjustClientRect(RECT& rect) {
    TCustomControl::AdjustClientRect(rect);
    rect = InteriorOf(rect);
}

UINT TCustomPanel::CaptionFlags() const {
    UINT flags = DT_SINGLELINE | DT_EXPANDTABS;
    const bool rightToLeft = FBiDiMode != bdLeftToRight;
    TAlignment alignment = FAlignment;
    if (rightToLeft && FBiDiMode != bdRightToLeftReadingOnly && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    if (alignment == taCenter) flags |= DT_CENTER;
    if (alignment == taRightJustify) flags |= DT_RIGHT;
    if (FVerticalAlignment == taVerticalCenter) flags |= DT_VCENTER;
    if (FVerticalAlignment == taAlignBottom) flags |= DT_BOTTOM;
    if (rightToLeft) flags |= DT_RTLREADING;
    return flags;
}

RECT TCustomPanel::CaptionRect() { return CaptionRectIn(ClientRect()); }

RECT TCustomPanel::CaptionRectIn(const RECT& client) {
    const RECT interior = InteriorOf(client);
    const std::wstring text = WideText();
    if (!FShowCaption || text.empty() || interior.right <= interior.left || interior.bottom <= interior.top)
        return RECT{0, 0, 0, 0};
    const RECT measured = win::MeasureText(FFont->Handle(), text, DT_SINGLELINE | DT_EXPANDTABS);
    const int32_t width = std::min<int32_t>(measured.right, interior.right - interior.left);
    const int32_t height = std::min<int32_t>(measured.bottom, interior.bottom - interior.top);
    const UINT flags = CaptionFlags();
    RECT rect = interior;
    if (flags & DT_CENTER)
        rect.left += (interior.right - interior.left - width) / 2;
    else if (flags & DT_RIGHT)
        rect.left = interior.right - width;
    if (flags & DT_VCENTER)
        rect.top += (interior.bottom - interior.top - height) / 2;
    else if (flags & DT_BOTTOM)
        rect.top = interior.bottom - height;
    rect.right = rect.left + width;
    rect.bottom = rect.top + height;
    return rect;
}

void TCustomPanel::PaintBackground(const RECT& rect) {
    TCanvas& canvas = *Canvas();
    if (ParentBackground() && FParent && FParent->HandleAllocated() && FHandle) {
        // The parent erases and paints into this DC, moved so that its client origin falls where it
        // lies from here and clipped to rect; the DC gets its state back afterwards.
        HDC dc = canvas.Handle();
        const win::SavedDC saved(dc);
        IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
        POINT offset{0, 0};
        MapWindowPoints(FHandle, FParent->Handle(), &offset, 1);
        POINT viewport;
        GetViewportOrgEx(dc, &viewport);
        SetViewportOrgEx(dc, viewport.x - offset.x, viewport.y - offset.y, nullptr);
        FParent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc));
        FParent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc));
        return;
    }
    canvas.Brush().SetColor(FColor);
    canvas.FillRect(rect);
}

void TCustomPanel::Paint() {
    TCanvas& canvas = *Canvas();
    RECT rect = ClientRect();
    TColor top = clNone;
    TColor bottom = clNone;
    // Each pixel is painted once: the rings from the outside in, then the inside. With the parent's
    // background the whole area shows it first and the bevels go on top.
    const bool parentBackground = ParentBackground();
    if (parentBackground) PaintBackground(rect);
    if (FPanelBevelOuter != bvNone) {
        BevelColors(FPanelBevelOuter, FColor, top, bottom);
        if (parentBackground && FPanelBevelOuter == bvSpace)
            InflateRect(&rect, -FPanelBevelWidth, -FPanelBevelWidth);
        else
            Frame3D(canvas, rect, top, bottom, FPanelBevelWidth);
    }
    if (parentBackground)
        InflateRect(&rect, -FBorderWidth, -FBorderWidth);
    else
        Frame3D(canvas, rect, FColor, FColor, FBorderWidth);
    if (FPanelBevelInner != bvNone) {
        BevelColors(FPanelBevelInner, FColor, top, bottom);
        if (parentBackground && FPanelBevelInner == bvSpace)
            InflateRect(&rect, -FPanelBevelWidth, -FPanelBevelWidth);
        else
            Frame3D(canvas, rect, top, bottom, FPanelBevelWidth);
    }
    if (!parentBackground && rect.right > rect.left && rect.bottom > rect.top) {
        canvas.Brush().SetColor(FColor);
        canvas.FillRect(rect);
    }
    const std::wstring text = WideText();
    if (!FShowCaption || text.empty()) return;
    HDC dc = canvas.Handle();
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(FEnabled ? FFont->Color() : clGrayText)));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, CaptionFlags());
}

void TCustomPanel::InvalidateFrameAndCaption(const RECT& client) {
    const int32_t frame = FrameWidth();
    const RECT bands[] = {
        {client.left, client.top, client.right, client.top + frame},
        {client.left, client.bottom - frame, client.right, client.bottom},
        {client.left, client.top, client.left + frame, client.bottom},
        {client.right - frame, client.top, client.right, client.bottom},
    };
    if (frame > 0)
        for (const RECT& band : bands) InvalidateRect(FHandle, &band, FALSE);
    RECT caption = CaptionRectIn(client);
    if (IsRectEmpty(&caption)) return;
    InflateRect(&caption, 1, 1);  // the system may place the text a pixel off the measured place
    InvalidateRect(FHandle, &caption, FALSE);
}

void TCustomPanel::WMSize(TMessage& message) {
    TCustomControl::Dispatch(message);
    if (!FHandle) return;
    const RECT client = ClientRect();
    if (FFullRepaint) {
        InvalidateRect(FHandle, nullptr, FALSE);
    } else {
        InvalidateFrameAndCaption(FPaintedClient);
        InvalidateFrameAndCaption(client);
    }
    FPaintedClient = client;
}

bool TCustomPanel::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case WM_ERASEBKGND:
        message.Result = 1;  // Paint covers every pixel
        return true;
    case WM_SIZE: WMSize(message); return true;
    case CM_BORDERCHANGED:
        // Bevels or border changed: the children move inside the new frame.
        Realign();
        Invalidate();
        return true;
    case CM_PARENTCOLORCHANGED:
        TCustomControl::Dispatch(message);
        if (ParentBackground()) Invalidate();
        return true;
    default: return TCustomControl::Dispatch(message);
    }
}

TPanel::TPanel(TComponent* owner) : TCustomPanel(owner) {}
