#include "framework/controls/HintWindow.h"

#include <algorithm>

#include "framework/graphics/AnsiText.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/TextMeasure.h"

QUIRN_PUBLISH(THintWindow, p) {}

namespace {
constexpr int32_t kTextMargin = 2;   // between the border and the text
constexpr int32_t kExtraWidth = 6;   // border and margins across
constexpr int32_t kExtraHeight = 2;  // border and margins down
constexpr UINT kHintTextFormat = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;
}  // namespace

THintWindow::THintWindow(TComponent* owner) : TCustomControl(owner) {
    FVisible = false;
    FParentColor = false;
    FParentFont = false;
    FColor = clInfoBk;
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        FFont->SetName(WideToAnsiText(metrics.lfStatusFont.lfFaceName));
        FFont->SetHeight(metrics.lfStatusFont.lfHeight);
    }
    FFont->SetColor(clInfoText);
}

void THintWindow::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style = WS_POPUP | WS_BORDER;
    params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
    params.WndParent = nullptr;
    params.ClassStyle |= CS_SAVEBITS;
}

RECT THintWindow::CalcHintRect(int32_t maxWidth, const std::string& hint) {
    RECT rect = win::MeasureText(FFont->Handle(), AnsiToWideText(hint), kHintTextFormat, maxWidth);
    rect.right += kExtraWidth;
    rect.bottom += kExtraHeight;
    return rect;
}

void THintWindow::ActivateHint(RECT rect, const std::string& hint) {
    SetCaption(hint);
    const int32_t width = rect.right - rect.left;
    const int32_t height = rect.bottom - rect.top;
    const int32_t screenRight = GetSystemMetrics(SM_XVIRTUALSCREEN) + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    const int32_t screenBottom = GetSystemMetrics(SM_YVIRTUALSCREEN) + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    const int32_t left =
        std::max<int32_t>(GetSystemMetrics(SM_XVIRTUALSCREEN), std::min<int32_t>(rect.left, screenRight - width));
    const int32_t top =
        std::max<int32_t>(GetSystemMetrics(SM_YVIRTUALSCREEN), std::min<int32_t>(rect.top, screenBottom - height));
    HandleNeeded();
    SetBounds(left, top, width, height);
    SetWindowPos(FHandle, HWND_TOPMOST, left, top, width, height, SWP_SHOWWINDOW | SWP_NOACTIVATE);
    FVisible = true;
    Invalidate();
}

void THintWindow::ReleaseHandle() {
    FVisible = false;
    if (FHandle) ShowWindow(FHandle, SW_HIDE);
}

void THintWindow::Paint() {
    RECT rect = ClientRect();
    FillRect(Canvas()->Handle(), &rect, ColorBrush());
    InflateRect(&rect, -kTextMargin, -kTextMargin);
    rect.left += kTextMargin / 2;
    const std::wstring text = WideText();
    HDC dc = Canvas()->Handle();
    const win::SelectedObject font(dc, FFont->Handle());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, static_cast<COLORREF>(ColorToRGB(FFont->Color())));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, kHintTextFormat);
}

bool THintWindow::Dispatch(TMessage& message) {
    if (message.Msg == WM_NCHITTEST) {
        message.Result = HTTRANSPARENT;  // the mouse goes to what lies below
        return true;
    }
    return TCustomControl::Dispatch(message);
}
