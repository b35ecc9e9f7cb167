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
#include "skin/data/SkinData.h"
#include "skin/data/SkinServices.h"
#include "skin/form/PellixFormSkinner.h"

QUIRN_DEFINE_CLASS(TSkinButton)

namespace {

// Classes of these vendors (lower-case class-name prefixes) raise MouseDown themselves.
constexpr std::string_view OwnMouseDownPrefixes[] = {"trz", "tel"};
constexpr int32_t OwnMouseDownKind = 1;
// The class of the framework's own button window, whose BN_CLICKED carries no control id.
constexpr std::string_view FrameworkButtonClass = "tbutton";
// The caption's line-break marker, and the break it becomes.
constexpr std::wstring_view CaptionBreakMarker = L"||";
constexpr std::wstring_view CaptionBreak = L"\r\n";
constexpr int32_t CaptionInset = 2;
constexpr int32_t CaptionLift = 1;
constexpr int32_t FocusInset = 2;
constexpr UINT_PTR SystemButtonTimer = 1;

int32_t Width(const RECT& Rect) { return Rect.right - Rect.left; }
int32_t Height(const RECT& Rect) { return Rect.bottom - Rect.top; }

// The text colour of a look: the skin's colours where the element sets them, the shadow colour
// for a disabled button, else Base.
TColor CaptionColor(const TDataSkinButton& Element, TButtonLook Look, TColor Base) {
    TColor Color = Base;
    if (Element.HasNormalColour2) Color = Element.NormalColour2;
    if (Look == TButtonLook::Hover && Element.HasMouseOverColour2) Color = Element.MouseOverColour2;
    if (Look == TButtonLook::Pressed && Element.HasPressedColour2) Color = Element.PressedColour2;
    if (Look == TButtonLook::Disabled) Color = clBtnShadow;
    return Color;
}

}  // namespace

TSkinButton::TSkinButton(TComponent* AOwner) : TSkinControl(AOwner), FBuffer(std::make_unique<TBitmap>()) {}

TSkinButton::~TSkinButton() = default;

void TSkinButton::Attach(TPellixForm* SkinForm, TSkinData* SkinData, bool UseSkinColor, TCanvas* Canvas) {
    TSkinControl::Attach(SkinForm, SkinData, UseSkinColor, Canvas);
    FKind = 0;
    if (FControl != nullptr) {
        const std::string Class = LowerCase(FControl->ClassName());
        for (std::string_view Prefix : OwnMouseDownPrefixes)
            if (Class.starts_with(Prefix)) FKind = OwnMouseDownKind;
    }
    FTransparent = (FControl != nullptr && FControl->Tag() == ParentImageTag) || HasSkinOption(xoTransparent);
}

bool TSkinButton::BeforeMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_PAINT: PaintClient(Message); return false;
    case WM_ERASEBKGND: Message.Result = 1; return false;
    case WM_TIMER: KillTimer(FHandle, SystemButtonTimer); return false;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
        // Kept from the system button: the skinner shows the press and clicks at the release.
        if (!FFocused) SetFocus(FHandle);
        FMouseState.Include(msPressed);
        PaintFrame(nullptr);
        if (FKind == 0 && FControl != nullptr) ForwardMouseDown(Message);
        return false;
    default: return TSkinControl::BeforeMessage(Message);
    }
}

void TSkinButton::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETTEXT: PaintFrame(nullptr); break;
    case WM_KEYDOWN:
        if (Message.WParam == VK_SPACE) {
            FMouseState.Include(msPressed);
            Repaint();
        }
        break;
    case WM_KEYUP:
        if (Message.WParam == VK_SPACE) {
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
    default: TSkinControl::AfterMessage(Message); break;
    }
}

void TSkinButton::ClickFromMouse() {
    if (FControl != nullptr) {
        FControl->Click();
        return;
    }
    const WPARAM Id = LowerClassName(FHandle) == FrameworkButtonClass ? 0 : GetDlgCtrlID(FHandle);
    PostMessageW(GetParent(FHandle), WM_COMMAND, Id, reinterpret_cast<LPARAM>(FHandle));
}

void TSkinButton::DrawSkin(HDC DC, const RECT& Rect) {
    const TDataSkinButton* Element = FSkinData != nullptr ? FSkinData->FButtons.get() : nullptr;
    if (Element == nullptr || !Element->Bitmap || Element->Bitmap->Empty()) return;
    FFocused = GetFocus() == FHandle;
    FEnabled = (GetWindowLongW(FHandle, GWL_STYLE) & WS_DISABLED) == 0;
    const bool IsDefault = IsPropTrue(FControl, "Default");
    FText = FControl != nullptr ? GetTextProp(FControl, "Caption") : GetWindowTextWide(FHandle);
    const TButtonLook Look =
        ButtonLookOf(FEnabled, FMouseState.Contains(msPressed), FMouseState.Contains(msHover), FFocused || IsDefault);

    const RECT Bounds{0, 0, Width(Rect), Height(Rect)};
    FBuffer->SetSize(Bounds.right, Bounds.bottom);
    if (FBuffer->Empty()) return;
    TCanvas& Canvas = FBuffer->Canvas();
    const HDC Buffer = Canvas.Handle();
    if (FTransparent && FControl != nullptr) {
        TPellixForm::DrawParentImage(FControl, Buffer);
    } else {
        FillSkinFace(Buffer, Bounds);
    }
    DrawElementFrame(*this, Buffer, Bounds, Element->Frame, FrameOf(Look), Element);

    // The caption's font: the control's own, else the font the bare window was given.
    win::SelectedObject WindowFont;
    if (FControl != nullptr) {
        if (TFont* Font = GetObjectPropOf<TFont>(FControl, "Font")) Canvas.Font().Assign(Font);
        Canvas.Font().SetColor(CaptionColor(*Element, Look, Canvas.Font().Color()));
        Canvas.Handle();
    } else {
        Canvas.Handle();
        WindowFont.Select(Buffer, reinterpret_cast<HGDIOBJ>(SendMessageW(FHandle, WM_GETFONT, 0, 0)));
        const TColor Base = FSkinData->FColors[SkinColour::ButtonText];
        SetTextColor(Buffer, static_cast<COLORREF>(ColorToRGB(CaptionColor(*Element, Look, Base))));
    }
    DrawCaption(Canvas, Bounds, DT_CENTER, FText);
    BitBlt(DC, Rect.left, Rect.top, Bounds.right, Bounds.bottom, Buffer, 0, 0, SRCCOPY);
}

void TSkinButton::DrawCaption(TCanvas& Canvas, const RECT& Bounds, UINT Align, std::wstring& Text) {
    if (const size_t Marker = Text.find(CaptionBreakMarker); Marker != std::wstring::npos)
        Text.replace(Marker, CaptionBreakMarker.size(), CaptionBreak);
    const HDC DC = Canvas.Handle();
    RECT T = Bounds;
    InflateRect(&T, -CaptionInset, -CaptionInset);
    const int OldMode = SetBkMode(DC, TRANSPARENT);
    DrawTextWide(DC, Text, T, Align | DT_CALCRECT | DT_NOCLIP | DT_EXPANDTABS | DT_WORDBREAK);
    OffsetRect(&T, -T.left, -T.top);
    const UINT Flags = BiDiTextFlags(*this, Align | DT_WORDBREAK | DT_EXPANDTABS);
    const int32_t Lift = (Height(Bounds) - Height(T)) / 2 - CaptionLift;
    if (Align == DT_CENTER) {
        OffsetRect(&T, Bounds.left + (Width(Bounds) - Width(T)) / 2, Bounds.top + Lift);
    } else {
        OffsetRect(&T, 0, Bounds.top + Lift);
        T.left = Bounds.left;
        T.right = Bounds.right;
    }
    DrawTextWide(DC, Text, T, Flags);
    SetBkMode(DC, OldMode);
    if (FFocused && !HasSkinOption(xoNoFocusRect)) {
        InflateRect(&T, FocusInset, FocusInset);
        DrawFocusRect(DC, &T);
    }
}
