#include "framework/controls/Label.h"

#include "framework/controls/Button.h"
#include "framework/controls/WinControl.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"
#include "framework/win/TextMeasure.h"

QUIRN_PUBLISH(TCustomLabel, p) {
    p.Property("AutoSize", &TCustomLabel::AutoSize, &TCustomLabel::SetAutoSize).Default(true);
    p.Property("Alignment", &TCustomLabel::Alignment, &TCustomLabel::SetAlignment).Default(taLeftJustify);
    p.Property("Layout", &TCustomLabel::Layout, &TCustomLabel::SetLayout).Default(tlTop);
    p.Property("Transparent", &TCustomLabel::Transparent, &TCustomLabel::SetTransparent).Default(false);
    p.Property("WordWrap", &TCustomLabel::WordWrap, &TCustomLabel::SetWordWrap).Default(false);
    p.Property("ShowAccelChar", &TCustomLabel::ShowAccelChar, &TCustomLabel::SetShowAccelChar).Default(true);
    p.Property("FocusControl", &TCustomLabel::FocusControl, &TCustomLabel::SetFocusControl);
}

QUIRN_PUBLISH(TLabel, p) {}

namespace {
constexpr int32_t kDefaultWidth = 65;
constexpr int32_t kDefaultHeight = 17;
}  // namespace

TCustomLabel::TCustomLabel(TComponent* owner) : TGraphicControl(owner) {
    FWidth = kDefaultWidth;
    FHeight = kDefaultHeight;
    FControlStyle.Include(csReplicatable);
    FControlStyle.Include(csOpaque);
}

void TCustomLabel::SetAutoSize(bool value) {
    if (FAutoSize == value) return;
    FAutoSize = value;
    AdjustSize();
}

void TCustomLabel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Invalidate();
}

void TCustomLabel::SetLayout(TTextLayout value) {
    if (FLayout == value) return;
    FLayout = value;
    Invalidate();
}

void TCustomLabel::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    if (value)
        FControlStyle.Exclude(csOpaque);
    else
        FControlStyle.Include(csOpaque);
    Invalidate();
}

void TCustomLabel::SetWordWrap(bool value) {
    if (FWordWrap == value) return;
    FWordWrap = value;
    AdjustSize();
    Invalidate();
}

void TCustomLabel::SetShowAccelChar(bool value) {
    if (FShowAccelChar == value) return;
    FShowAccelChar = value;
    AdjustSize();
    Invalidate();
}

void TCustomLabel::SetFocusControl(TWinControl* value) {
    FFocusControl = value;
    if (value) value->FreeNotification(this);
}

void TCustomLabel::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == opRemove && component == FFocusControl) FFocusControl = nullptr;
}

UINT TCustomLabel::TextFlags() const {
    UINT flags = DT_EXPANDTABS;
    if (FWordWrap) flags |= DT_WORDBREAK;
    if (!FShowAccelChar) flags |= DT_NOPREFIX;
    if (FAlignment == taRightJustify) flags |= DT_RIGHT;
    if (FAlignment == taCenter) flags |= DT_CENTER;
    if (FBiDiMode != bdLeftToRight) flags |= DT_RTLREADING;
    return flags;
}

void TCustomLabel::AdjustSize() {
    if (!FAutoSize || ComponentState().Contains(csLoading)) return;
    const std::wstring text = WideText();
    const LONG lineWidth = FWordWrap ? FWidth : 0;
    const RECT rect = text.empty() ? RECT{0, 0, lineWidth, win::MeasureFont(FFont->Handle()).tmHeight}
                                   : win::MeasureText(FFont->Handle(), text, TextFlags(), lineWidth);
    int32_t left = FLeft;
    const int32_t width = rect.right - rect.left;
    if (FAlignment == taRightJustify) left = FLeft + FWidth - width;
    if (FAlignment == taCenter) left = FLeft + (FWidth - width) / 2;
    SetBounds(left, FTop, width, rect.bottom - rect.top);
}

void TCustomLabel::Loaded() {
    TGraphicControl::Loaded();
    AdjustSize();
}

void TCustomLabel::Paint() {
    HDC dc = Canvas()->Handle();
    RECT rect = ClientRect();
    if (!FTransparent) {
        const win::BrushHandle brush(CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(FColor))));
        FillRect(dc, &rect, brush.get());
    }
    const std::wstring text = WideText();
    if (text.empty()) return;
    const win::SelectedObject font(dc, FFont->Handle());
    SetBkMode(dc, TRANSPARENT);
    UINT flags = TextFlags();
    if (FLayout != tlTop) {
        RECT measured = rect;
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, flags | DT_CALCRECT);
        const int32_t offset = (rect.bottom - rect.top) - (measured.bottom - measured.top);
        rect.top += FLayout == tlCenter ? offset / 2 : offset;
    }
    if (FEnabled) {
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(FFont->Color())));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
    } else {
        // Disabled text: the highlight shifted by a pixel below the shadow.
        OffsetRect(&rect, 1, 1);
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnHighlight)));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
        OffsetRect(&rect, -1, -1);
        SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(clBtnShadow)));
        DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, flags);
    }
}

bool TCustomLabel::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_TEXTCHANGED:
    case CM_FONTCHANGED:
        TGraphicControl::Dispatch(message);
        AdjustSize();
        Invalidate();
        return true;
    case CM_DIALOGCHAR:
        if (FFocusControl && FEnabled && FShowAccelChar && IsAccel(static_cast<wchar_t>(message.WParam), WideText()) &&
            FFocusControl->CanFocus()) {
            FFocusControl->SetFocus();
            message.Result = 1;
        }
        return true;
    default: return TGraphicControl::Dispatch(message);
    }
}

TLabel::TLabel(TComponent* owner) : TCustomLabel(owner) {}
