// TSkinControl: attaching to a control or a bare window, the message dispatcher, the shared mouse,
// focus and colour handling, and the paint entry points.
#include "skin/controls/SkinControl.h"

#include <windowsx.h>

#include <optional>

#include "framework/controls/WinControl.h"
#include "framework/core/PropAccess.h"
#include "framework/graphics/Canvas.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"
#include "skin/controls/SkinProps.h"
#include "skin/controls/SkinFills.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinServices.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinFormConstants.h"

QUIRN_DEFINE_CLASS(TSkinControl)

namespace {

// Beyond this width or height a mouse message's 16-bit coordinates no longer hold the position.
constexpr int32_t MouseCoordinateLimit = 32768;
// The focus rectangle around a caption: its margin, and the lift of a centred one.
constexpr int32_t FocusMarginX = 2;
constexpr int32_t FocusMarginY = 1;
constexpr int32_t CentredTextLift = 1;

constexpr std::string_view ParentBackgroundProp = "ParentBackground";
constexpr std::string_view ColorProp = "Color";

TShiftState ShiftStateOf(WPARAM Keys) {
    TShiftState Shift;
    if ((Keys & MK_SHIFT) != 0) Shift.Include(ssShift);
    if ((Keys & MK_CONTROL) != 0) Shift.Include(ssCtrl);
    if ((Keys & MK_LBUTTON) != 0) Shift.Include(ssLeft);
    if ((Keys & MK_RBUTTON) != 0) Shift.Include(ssRight);
    if ((Keys & MK_MBUTTON) != 0) Shift.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) Shift.Include(ssAlt);
    return Shift;
}

}  // namespace

TSkinControl::TSkinControl(TComponent* AOwner) : TComponent(AOwner) {}

TSkinControl::~TSkinControl() {
    // Reverse order of attaching: the control's WindowProc, the window's procedure, the list.
    FOldWindowProc.Restore();
    FWindowSubclass.Restore();
    if (FSkinForm != nullptr) FSkinForm->RemoveControlSkin(this);
}

// --- Attaching --------------------------------------------------------------------------------

bool TSkinControl::BindControl(TPellixForm* SkinForm, TSkinData* SkinData, bool UseSkinColor, TCanvas* Canvas) {
    auto* Control = ObjectAs<TWinControl>(Owner());
    if (Control == nullptr) return false;  // windowless controls and bare windows attach otherwise
    FUseSkinColor = UseSkinColor;
    FSkinData = SkinData;
    FSkinForm = SkinForm;
    FCanvas = Canvas;
    FControl = Control;
    FHandle = Control->Handle();
    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    if (FSkinForm != nullptr) FSkinForm->AddControlSkin(this);
    if (FUseSkinColor) ApplySkinColor();
    return true;
}

void TSkinControl::Attach(TPellixForm* SkinForm, TSkinData* SkinData, bool UseSkinColor, TCanvas* Canvas) {
    if (FAttached) return;
    auto* Control = ObjectAs<TWinControl>(Owner());
    if (Control == nullptr) return;
    // The window first (it may have to be made), then the WindowProc, then the list and the colour.
    Control->HandleNeeded();
    FOldWindowProc = TWindowProcSubclass(Control, TWndMethod::Of<&TSkinControl::SkinWndProc>(this));
    BindControl(SkinForm, SkinData, UseSkinColor, Canvas);
    if (FParentBackgroundCleared) FKind = 1;
    Control->Invalidate();
    FAttached = true;
    FStatus = ControlSkinAttached;
}

void TSkinControl::AttachHandle(HWND Handle, TSkinData* SkinData, TPellixForm* SkinForm, TCanvas* Canvas) {
    if (FAttached || Handle == nullptr) return;
    try {
        FWindowSubclass = win::WindowSubclass(Handle, TWndMethod::Of<&TSkinControl::SkinWndProc>(this));
    } catch (const EOSError& Error) {
        // Another process's window, or one already gone: it keeps its own look.
        QUIRN_TRACE(TTraceChannel::Control, "control skinner not attached: ", Error.Message());
        return;
    }
    FHandle = Handle;
    FSkinData = SkinData;
    FSkinForm = SkinForm;
    FCanvas = Canvas;
    FEnabled = true;
    FKind = 0;
    if (FSkinForm != nullptr) FSkinForm->AddControlSkin(this);
    FUnicode = IsWindowUnicode(Handle) != FALSE;
    FText = GetWindowTextWide(Handle);
    InvalidateRect(Handle, nullptr, TRUE);
    FAttached = true;
    FStatus = ControlSkinAttached;
}

void TSkinControl::Detach() {
    if (!FSkinning) return;
    FSkinning = false;
    if (FStatus != ControlSkinGone && FUseSkinColor && FControl != nullptr) RestoreSkinColor();
}

// --- Messages ---------------------------------------------------------------------------------

void TSkinControl::SkinWndProc(TMessage& Message) {
    if (Message.Msg == WM_SKINSWITCH) {
        const bool On = static_cast<int32_t>(Message.WParam) > SkinSwitchOff;
        const bool Changed = On != FSkinning;
        FSkinning = On;
        if (On) {
            Repaint();
        } else if (Changed && FHandle != nullptr) {
            // The control paints itself again at once, its frame included.
            RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        }
        return;
    }
    if (!FSkinning) {
        CallOldProc(Message);
        return;
    }
    if (BeforeMessage(Message)) {
        CallOldProc(Message);
        AfterMessage(Message);
    }
}

void TSkinControl::CallOldProc(TMessage& Message) {
    if (FOldWindowProc) {
        FOldWindowProc.CallPrevious(Message);
    } else if (FWindowSubclass) {
        FWindowSubclass.CallPrevious(Message);
    }
}

bool TSkinControl::BeforeMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_NCDESTROY:
        // The window goes before its skinner: from now on no property of the control is touched.
        FStatus = ControlSkinGone;
        CallOldProc(Message);
        if (FSkinning) Detach();
        return false;
    case WM_SKINQUERY: Message.Result = SkinQueryAnswer; return false;
    default: return true;
    }
}

void TSkinControl::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED: Repaint(); break;
    case WM_PAINT: PaintFrame(reinterpret_cast<HDC>(Message.WParam)); break;
    case WM_SKINSWITCH: FSkinning = static_cast<int32_t>(Message.WParam) > SkinSwitchOff; break;
    case WM_SKINPAINTTO:
        // Another painter (a form printing its controls, a parent composing its image) asks for the
        // skinned look in its own DC.
        if (Message.LParam != SkinMagic) break;
        if (Message.WParam != 0) PaintFrame(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = SkinMagic;
        break;
    default: break;
    }
}

void TSkinControl::MouseLeave() {
    FMouseState.Exclude(msHover);
    FMouseState.Exclude(msPressed);
    Repaint();
}

void TSkinControl::MarkHover() {
    FMouseState.Include(msHover);
    // A window without form object has no mouse tracking of its own: its form skinner's hover timer
    // tells this skinner when the cursor has gone.
    if (FSkinForm != nullptr && FSkinForm->FForm == nullptr) FSkinForm->FHotControl = this;
}

// --- Painting ---------------------------------------------------------------------------------

void TSkinControl::PaintFrame(HDC DC) {
    RECT Rect{};
    if (!GetWindowRect(FHandle, &Rect)) return;
    FWindowRect = Rect;
    OffsetRect(&Rect, -Rect.left, -Rect.top);
    try {
        if (DC != nullptr) {
            DrawSkin(DC, Rect);
        } else {
            win::WindowFrameDC WindowDC(FHandle);
            if (WindowDC) DrawSkin(WindowDC.get(), Rect);
        }
    } catch (...) {
        // A fault while painting leaves the control unpainted for this pass; the loop goes on.
        QUIRN_TRACE(TTraceChannel::Paint, "control skinner paint failed for ", ClassName());
    }
}

void TSkinControl::DrawSkin(HDC, const RECT&) {}

void TSkinControl::SkinChanged() {
    if (FUseSkinColor && FControl != nullptr) FControl->SetColor(SkinFaceColor());
    Repaint();
}

bool TSkinControl::GetSkinned() { return true; }

void TSkinControl::Repaint() {
    if (FGraphicControl != nullptr) {
        FGraphicControl->Invalidate();
    } else if (FHandle != nullptr) {
        InvalidateRect(FHandle, nullptr, TRUE);
        UpdateWindow(FHandle);
    }
}

void TSkinControl::PaintClient(TMessage& Message) {
    const auto Given = reinterpret_cast<HDC>(Message.WParam);
    std::optional<win::PaintDC> Paint;
    if (Given == nullptr) Paint.emplace(FHandle);
    const HDC DC = Given != nullptr ? Given : Paint->get();
    RECT Rect{};
    if (DC == nullptr || !GetWindowRect(FHandle, &Rect)) return;
    FWindowRect = Rect;
    OffsetRect(&Rect, -Rect.left, -Rect.top);
    DrawSkin(DC, Rect);
}

void TSkinControl::FillSkinFace(HDC DC, const RECT& Rect) { FillColorRect(DC, Rect, SkinFaceColor()); }

void TSkinControl::FillParentColor(HDC DC, const RECT& Rect) {
    FillColorRect(DC, Rect, GetParentColor(SkinFaceColor()));
}

TColor TSkinControl::GetParentColor(TColor Default) {
    if (FControl == nullptr || FControl->Parent() == nullptr) return Default;
    TWinControl* Parent = FControl->Parent();
    if (PropKind(Parent, ColorProp) != tkInteger) return Default;
    return static_cast<TColor>(GetIntProp(Parent, ColorProp));
}

TColor TSkinControl::SkinFaceColor() const {
    if (FSkinData == nullptr) return clBtnFace;
    return FSkinData->ButtonFaceColor();
}

bool TSkinControl::HasSkinOption(TSkinOption Option) const {
    return FSkinData != nullptr && FSkinData->Options().Contains(Option);
}

LONG TSkinControl::GetWindowLongAW(HWND Handle, int Index) const {
    return FUnicode ? GetWindowLongW(Handle, Index) : GetWindowLongA(Handle, Index);
}

void TSkinControl::DrawFocusAroundText(HDC DC, UINT Flags, const RECT& Bounds) {
    RECT Text = Bounds;
    DrawTextWide(DC, FText, Text, Flags | DT_CALCRECT | DT_NOCLIP);
    const int32_t BoundsWidth = Bounds.right - Bounds.left;
    const int32_t BoundsHeight = Bounds.bottom - Bounds.top;
    const int32_t TextWidth = Text.right - Text.left;
    const int32_t TextHeight = Text.bottom - Text.top;
    if ((Flags & DT_CENTER) != 0) {
        OffsetRect(&Text, (BoundsWidth - TextWidth) / 2, (BoundsHeight - TextHeight) / 2 - CentredTextLift);
    } else if ((Flags & DT_RIGHT) != 0) {
        OffsetRect(&Text, BoundsWidth - TextWidth, 0);
    }
    InflateRect(&Text, FocusMarginX, FocusMarginY);
    RECT Focus{};
    if (!IntersectRect(&Focus, &Text, &Bounds)) return;
    DrawFocusRect(DC, &Focus);
}

void TSkinControl::ForwardMouseDown(const TMessage& Message) {
    if (FControl == nullptr) return;
    int32_t X = GET_X_LPARAM(Message.LParam);
    int32_t Y = GET_Y_LPARAM(Message.LParam);
    if (FControl->Width() > MouseCoordinateLimit || FControl->Height() > MouseCoordinateLimit) {
        // The message's 16-bit coordinates have wrapped: the cursor tells the real place.
        POINT Cursor{};
        GetCursorPos(&Cursor);
        const POINT Client = FControl->ScreenToClient(Cursor);
        X = Client.x;
        Y = Client.y;
    }
    FControl->MouseDown(mbLeft, ShiftStateOf(Message.WParam), X, Y);
}

// --- Colours ----------------------------------------------------------------------------------

void TSkinControl::SwitchOffParentBackground() {
    if (HasSkinOption(xoParentBackGround) || FControl == nullptr || !IsPublishedProp(FControl, ParentBackgroundProp))
        return;
    FParentBackgroundCleared = IsPropTrue(FControl, ParentBackgroundProp);
    if (FParentBackgroundCleared) SetPropText(FControl, ParentBackgroundProp, "False");
}

void TSkinControl::RestoreParentBackground() {
    if (HasSkinOption(xoParentBackGround) || FControl == nullptr || !IsPublishedProp(FControl, ParentBackgroundProp))
        return;
    if (FParentBackgroundCleared) SetPropText(FControl, ParentBackgroundProp, "True");
}

void TSkinControl::ApplySkinColor() {
    SwitchOffParentBackground();
    FOldColor = FControl->Color();
    FOldParentColor = FControl->ParentColor();
    FControl->SetColor(SkinFaceColor());
}

void TSkinControl::RestoreSkinColor() {
    RestoreParentBackground();
    FControl->SetColor(FOldColor);
    // Following the parent again takes the parent's colour as it is now (and as it changes later).
    if (FOldParentColor) FControl->SetParentColor(true);
}
