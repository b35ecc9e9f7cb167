// TSkinButton: the push-button skinner.
#include "skin/controls/SkinButton.h"

#include "framework/controls/WinControl.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Font.h"
#include "framework/rtl/SysUtils.h"
#include "framework/win/DeviceContext.h"
#include "skin/controls/SkinFrames.h"
#include "skin/controls/SkinProps.h"
#include "skin/controls/SkinRoutines.h"
#include "skin/data/ClassNames.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinServices.h"
#include "skin/form/PellixFormSkinner.h"

QUIRN_DEFINE_CLASS(TSkinButton)

namespace {

constexpr int32_t OwnMouseDownKind = 1;
// The caption's line-break marker, and the break it becomes.
constexpr std::wstring_view CaptionBreakMarker = L"||";
constexpr std::wstring_view CaptionBreak = L"\r\n";
constexpr int32_t CaptionInset = 2;
constexpr int32_t CaptionLift = 1;
constexpr int32_t FocusInset = 2;
constexpr UINT_PTR SystemButtonTimer = 1;

int32_t Width(const RECT& rect) { return rect.right - rect.left; }
int32_t Height(const RECT& rect) { return rect.bottom - rect.top; }

// The text colour of a look: the skin's colours where the element sets them, the shadow colour
// for a disabled button, else Base.
TColor CaptionColor(const TDataSkinButton& element, TButtonLook look, TColor base) {
    TColor color = base;
    if (element.HasNormalColour2) color = element.NormalColour2;
    if (look == TButtonLook::Hover && element.HasMouseOverColour2) color = element.MouseOverColour2;
    if (look == TButtonLook::Pressed && element.HasPressedColour2) color = element.PressedColour2;
    if (look == TButtonLook::Disabled) color = clBtnShadow;
    return color;
}

}  // namespace

TSkinButton::TSkinButton(TComponent* aOwner) : TSkinControl(aOwner), FBuffer(std::make_unique<TBitmap>()) {}

TSkinButton::~TSkinButton() = default;

void TSkinButton::Attach(TPellixForm* skinForm, TSkinData* skinData, bool useSkinColor, TCanvas* canvas) {
    TSkinControl::Attach(skinForm, skinData, useSkinColor, canvas);
    FKind = 0;
    if (FControl != nullptr) {
        const std::string className = LowerCase(FControl->ClassName());
        for (std::string_view prefix : OwnMouseDownPrefixes)
            if (className.starts_with(prefix)) FKind = OwnMouseDownKind;
    }
    FTransparent = (FControl != nullptr && FControl->Tag() == ParentImageTag) || HasSkinOption(xoTransparent);
}

bool TSkinButton::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_PAINT: PaintClient(message); return false;
    case WM_ERASEBKGND: message.Result = 1; return false;
    case WM_TIMER: KillTimer(FHandle, SystemButtonTimer); return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // Kept from the system button: the skinner shows the press and clicks at the release.
        if (!FFocused) SetFocus(FHandle);
        FMouseState.Include(msPressed);
        PaintFrame(nullptr);
        if (FKind == 0 && FControl != nullptr) ForwardMouseDown(message);
        return false;
    default: return TSkinControl::BeforeMessage(message);
    }
}

void TSkinButton::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETTEXT: PaintFrame(nullptr); break;
    case WM_KEYDOWN:
        if (message.WParam == VK_SPACE) {
            FMouseState.Include(msPressed);
            Repaint();
        }
        break;
    case WM_KEYUP:
        if (message.WParam == VK_SPACE) {
            FMouseState.Exclude(msPressed);
            Repaint();
        }
        break;
    case WM_MOUSEMOVE:
        if (FEnabled && !FMouseState.Contains(msHover)) {
            MarkHover();
            Repaint();
        }
        TrackMouseLeave(FHandle);
        break;
    case WM_LBUTTONUP:
        if (FMouseState.Contains(msPressed)) {
            FMouseState.Exclude(msPressed);
            Repaint();
            // Last: the click may free the button and this skinner with it.
            ClickFromMouse();
        }
        break;
    case WM_MOUSELEAVE: MouseLeave(); break;
    case CM_DIALOGKEY:
    case CM_FOCUSCHANGED: Repaint(); break;
    default: TSkinControl::AfterMessage(message); break;
    }
}

void TSkinButton::ClickFromMouse() {
    if (FControl != nullptr) {
        FControl->Click();
        return;
    }
    const WPARAM id = SameText(LowerClassName(FHandle), FrameworkButtonClass) ? 0 : GetDlgCtrlID(FHandle);
    PostMessageW(GetParent(FHandle), WM_COMMAND, id, reinterpret_cast<LPARAM>(FHandle));
}

void TSkinButton::DrawSkin(HDC dc, const RECT& rect) {
    const TDataSkinButton* element = FSkinData != nullptr ? FSkinData->FButtons.get() : nullptr;
    if (element == nullptr || !element->Bitmap || element->Bitmap->Empty()) return;
    FFocused = GetFocus() == FHandle;
    FEnabled = (GetWindowLongW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
    const bool isDefault = IsPropTrue(FControl, "Default");
    FText = FControl != nullptr ? GetTextProp(FControl, "Caption") : GetWindowTextWide(FHandle);
    const TButtonLook look =
        ButtonLookOf(FEnabled, FMouseState.Contains(msPressed), FMouseState.Contains(msHover), FFocused || isDefault);

    const RECT bounds{0, 0, Width(rect), Height(rect)};
    FBuffer->SetSize(bounds.right, bounds.bottom);
    if (FBuffer->Empty()) return;
    TCanvas& canvas = FBuffer->Canvas();
    const HDC buffer = canvas.Handle();
    if (FTransparent && FControl != nullptr) {
        TPellixForm::DrawParentImage(FControl, buffer);
    } else {
        FillSkinFace(buffer, bounds);
    }
    DrawElementFrame(*this, buffer, bounds, element->Frame, FrameOf(look), element);

    // The caption's font: the control's own, else the font the bare window was given.
    win::SelectedObject windowFont;
    if (FControl != nullptr) {
        if (TFont* font = GetObjectPropOf<TFont>(FControl, "Font")) canvas.Font().Assign(font);
        canvas.Font().SetColor(CaptionColor(*element, look, canvas.Font().Color()));
        canvas.Handle();
    } else {
        canvas.Handle();
        windowFont.Select(buffer, reinterpret_cast<HGDIOBJ>(SendMessageW(FHandle, WM_GETFONT, 0, 0)));
        const TColor base = FSkinData->FColors[SkinColour::ButtonText];
        SetTextColor(buffer, static_cast<COLORREF>(ColorToRGB(CaptionColor(*element, look, base))));
    }
    DrawCaption(canvas, bounds, DT_CENTER, FText);
    BitBlt(dc, rect.left, rect.top, bounds.right, bounds.bottom, buffer, 0, 0, SRCCOPY);
}

void TSkinButton::DrawCaption(TCanvas& canvas, const RECT& bounds, UINT align, std::wstring& text) {
    if (const size_t marker = text.find(CaptionBreakMarker); marker != std::wstring::npos)
        text.replace(marker, CaptionBreakMarker.size(), CaptionBreak);
    const HDC dc = canvas.Handle();
    RECT t = bounds;
    InflateRect(&t, -CaptionInset, -CaptionInset);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    DrawTextWide(dc, text, t, align | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    OffsetRect(&t, -t.left, -t.top);
    const UINT flags = BiDiTextFlags(*this, align | DT_WORDBREAK | DT_EXPANDTABS);
    const int32_t lift = (Height(bounds) - Height(t)) / 2 - CaptionLift;
    if (align == DT_CENTER) {
        OffsetRect(&t, bounds.left + (Width(bounds) - Width(t)) / 2, bounds.top + lift);
    } else {
        OffsetRect(&t, 0, bounds.top + lift);
        t.left = bounds.left;
        t.right = bounds.right;
    }
    DrawTextWide(dc, text, t, flags);
    SetBkMode(dc, oldMode);
    if (FFocused && !HasSkinOption(xoNoFocusRect)) {
        InflateRect(&t, FocusInset, FocusInset);
        DrawFocusRect(dc, &t);
    }
}
