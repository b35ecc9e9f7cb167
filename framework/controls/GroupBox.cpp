#include "framework/controls/GroupBox.h"

#include "framework/win/DeviceContext.h"
#include "framework/win/TextMeasure.h"

QUIRN_PUBLISH(TCustomGroupBox, p) {}
QUIRN_PUBLISH(TGroupBox, p) {}

namespace {
constexpr int32_t kFrameInset = 2;      // the etched frame and a pixel of air inside it
constexpr int32_t kCaptionIndent = 8;   // caption start from the left edge
constexpr int32_t kCaptionPadding = 2;  // blank around the caption text
}  // namespace

TCustomGroupBox::TCustomGroupBox(TComponent* owner) : TCustomControl(owner) {
    FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents,     csSetCaption,
                     csDoubleClicks,    csReplicatable, csParentBackground};
    FWidth = 185;
    FHeight = 105;
}

void TCustomGroupBox::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
}

int32_t TCustomGroupBox::CaptionHeight() {
    // The character height: the layout follows the font's size, not the line
    // spacing of whichever face the system substitutes for it.
    if (FFont->Height() < 0) return -FFont->Height();
    const TEXTMETRICW metrics = win::MeasureFont(FFont->Handle());
    return metrics.tmHeight - metrics.tmInternalLeading;
}

void TCustomGroupBox::AdjustClientRect(RECT& rect) {
    TCustomControl::AdjustClientRect(rect);
    rect.top += CaptionHeight();
    InflateRect(&rect, -kFrameInset, -kFrameInset);
}

void TCustomGroupBox::Paint() {
    HDC dc = Canvas()->Handle();
    const int32_t textHeight = CaptionHeight();
    RECT frame = ClientRect();
    frame.top += textHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    const std::wstring text = WideText();
    if (text.empty()) return;
    const win::SelectedObject font(dc, FFont->Handle());
    RECT textRect{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_SINGLELINE | DT_CALCRECT);
    const bool rightToLeft = FBiDiMode != bdLeftToRight;
    const int32_t width = textRect.right + 2 * kCaptionPadding;
    const int32_t left = rightToLeft ? FWidth - kCaptionIndent - width : kCaptionIndent;
    RECT captionRect{left, 0, left + width, textHeight};
    FillRect(dc, &captionRect, ColorBrush());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(FEnabled ? FFont->Color() : clGrayText)));
    captionRect.left += kCaptionPadding;
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &captionRect,
              DT_SINGLELINE | (rightToLeft ? DT_RTLREADING : 0));
}

bool TCustomGroupBox::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TCustomControl::Dispatch(message);
        Realign();
        Invalidate();
        return true;
    default: return TCustomControl::Dispatch(message);
    }
}

TGroupBox::TGroupBox(TComponent* owner) : TCustomGroupBox(owner) {}
