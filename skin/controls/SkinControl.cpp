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

TShiftState ShiftStateOf(WPARAM keys) {
    TShiftState shift;
    if ((keys & MK_SHIFT) != 0) shift.Include(ssShift);
    if ((keys & MK_CONTROL) != 0) shift.Include(ssCtrl);
    if ((keys & MK_LBUTTON) != 0) shift.Include(ssLeft);
    if ((keys & MK_RBUTTON) != 0) shift.Include(ssRight);
    if ((keys & MK_MBUTTON) != 0) shift.Include(ssMiddle);
    if (GetKeyState(VK_MENU) < 0) shift.Include(ssAlt);
    return shift;
}

}  // namespace

TSkinControl::TSkinControl(TComponent* aOwner) : TComponent(aOwner) {}

TSkinControl::~TSkinControl() {
    // Reverse order of attaching: the control's WindowProc, the window's procedure, the list.
    FOldWindowProc.Restore();
    FWindowSubclass.Restore();
    if (FSkinForm != nullptr) FSkinForm->RemoveControlSkin(this);
}

// --- Attaching --------------------------------------------------------------------------------

bool TSkinControl::BindControl(TPellixForm* skinForm, TSkinData* skinData, bool useSkinColor, TCanvas* canvas) {
    auto* control = ObjectAs<TWinControl>(Owner());
    if (control == nullptr) return false;  // windowless controls and bare windows attach otherwise
    FUseSkinColor = useSkinColor;
    FSkinData = skinData;
    FSkinForm = skinForm;
    FCanvas = canvas;
    FControl = control;
    FHandle = control->Handle();
    FUnicode = IsWindowUnicode(FHandle) != FALSE;
    if (FSkinForm != nullptr) FSkinForm->AddControlSkin(this);
    if (FUseSkinColor) ApplySkinColor();
    return true;
}

void TSkinControl::Attach(TPellixForm* skinForm, TSkinData* skinData, bool useSkinColor, TCanvas* canvas) {
    if (FAttached) return;
    auto* control = ObjectAs<TWinControl>(Owner());
    if (control == nullptr) return;
    // The window first (it may have to be made), then the WindowProc, then the list and the colour.
    control->HandleNeeded();
    FOldWindowProc = TWindowProcSubclass(control, TWndMethod::Of<&TSkinControl::SkinWndProc>(this));
    BindControl(skinForm, skinData, useSkinColor, canvas);
    if (FParentBackgroundCleared) FKind = 1;
    control->Invalidate();
    FAttached = true;
    FStatus = ControlSkinAttached;
}

void TSkinControl::AttachHandle(HWND handle, TSkinData* skinData, TPellixForm* skinForm, TCanvas* canvas) {
    if (FAttached || handle == nullptr) return;
    try {
        FWindowSubclass = win::WindowSubclass(handle, TWndMethod::Of<&TSkinControl::SkinWndProc>(this));
    } catch (const EOSError& error) {
        // Another process's window, or one already gone: it keeps its own look.
        QUIRN_TRACE(TTraceChannel::Control, "control skinner not attached: ", error.Message());
        return;
    }
    FHandle = handle;
    FSkinData = skinData;
    FSkinForm = skinForm;
    FCanvas = canvas;
    FEnabled = true;
    FKind = 0;
    if (FSkinForm != nullptr) FSkinForm->AddControlSkin(this);
    FUnicode = IsWindowUnicode(handle) != FALSE;
    FText = GetWindowTextWide(handle);
    InvalidateRect(handle, nullptr, TRUE);
    FAttached = true;
    FStatus = ControlSkinAttached;
}

void TSkinControl::Detach() {
    if (!FSkinning) return;
    FSkinning = false;
    if (FStatus != ControlSkinGone && FUseSkinColor && FControl != nullptr) RestoreSkinColor();
}

// --- Messages ---------------------------------------------------------------------------------

void TSkinControl::SkinWndProc(TMessage& message) {
    if (message.Msg == WM_SKINSWITCH) {
        const bool on = static_cast<int32_t>(message.WParam) > SkinSwitchOff;
        const bool changed = on != FSkinning;
        FSkinning = on;
        if (on) {
            Repaint();
        } else if (changed && FHandle != nullptr) {
            // The control paints itself again at once, its frame included.
            RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
        }
        return;
    }
    if (!FSkinning) {
        CallOldProc(message);
        return;
    }
    if (BeforeMessage(message)) {
        CallOldProc(message);
        AfterMessage(message);
    }
}

void TSkinControl::CallOldProc(TMessage& message) {
    if (FOldWindowProc) {
        FOldWindowProc.CallPrevious(message);
    } else if (FWindowSubclass) {
        FWindowSubclass.CallPrevious(message);
    }
}

bool TSkinControl::BeforeMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_NCDESTROY:
        // The window goes before its skinner: from now on no property of the control is touched.
        FStatus = ControlSkinGone;
        CallOldProc(message);
        if (FSkinning) Detach();
        return false;
    case WM_SKINQUERY: message.Result = SkinQueryAnswer; return false;
    default: return true;
    }
}

void TSkinControl::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
    case WM_SETTEXT:
    case CM_ENABLEDCHANGED: Repaint(); break;
    case WM_PAINT: PaintFrame(reinterpret_cast<HDC>(message.WParam)); break;
    case WM_SKINSWITCH: FSkinning = static_cast<int32_t>(message.WParam) > SkinSwitchOff; break;
    case WM_SKINPAINTTO:
        // Another painter (a form printing its controls, a parent composing its image) asks for the
        // skinned look in its own DC.
        if (message.LParam != SkinMagic) break;
        if (message.WParam != 0) PaintFrame(reinterpret_cast<HDC>(message.WParam));
        message.Result = SkinMagic;
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

void TSkinControl::PaintFrame(HDC dc) {
    RECT rect{};
    if (!GetWindowRect(FHandle, &rect)) return;
    FWindowRect = rect;
    OffsetRect(&rect, -rect.left, -rect.top);
    try {
        if (dc != nullptr) {
            DrawSkin(dc, rect);
        } else {
            win::WindowFrameDC windowDc(FHandle);
            if (windowDc) DrawSkin(windowDc.get(), rect);
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

void TSkinControl::PaintClient(TMessage& message) {
    const auto given = reinterpret_cast<HDC>(message.WParam);
    std::optional<win::PaintDC> paint;
    if (given == nullptr) paint.emplace(FHandle);
    const HDC dc = given != nullptr ? given : paint->get();
    RECT rect{};
    if (dc == nullptr || !GetWindowRect(FHandle, &rect)) return;
    FWindowRect = rect;
    OffsetRect(&rect, -rect.left, -rect.top);
    DrawSkin(dc, rect);
}

void TSkinControl::FillSkinFace(HDC dc, const RECT& rect) { FillColorRect(dc, rect, SkinFaceColor()); }

void TSkinControl::FillParentColor(HDC dc, const RECT& rect) {
    FillColorRect(dc, rect, GetParentColor(SkinFaceColor()));
}

TColor TSkinControl::GetParentColor(TColor fallback) {
    if (FControl == nullptr || FControl->Parent() == nullptr) return fallback;
    TWinControl* parent = FControl->Parent();
    if (PropKind(parent, ColorProp) != tkInteger) return fallback;
    return static_cast<TColor>(GetIntProp(parent, ColorProp));
}

TColor TSkinControl::SkinFaceColor() const {
    if (FSkinData == nullptr) return clBtnFace;
    return FSkinData->ButtonFaceColor();
}

bool TSkinControl::HasSkinOption(TSkinOption option) const {
    return FSkinData != nullptr && FSkinData->Options().Contains(option);
}

LONG TSkinControl::GetWindowLongAW(HWND handle, int index) const {
    return FUnicode ? GetWindowLongW(handle, index) : GetWindowLongA(handle, index);
}

void TSkinControl::DrawFocusAroundText(HDC dc, UINT flags, const RECT& bounds) {
    RECT text = bounds;
    DrawTextWide(dc, FText, text, flags | DT_CALCRECT | DT_NOCLIP);
    const int32_t boundsWidth = bounds.right - bounds.left;
    const int32_t boundsHeight = bounds.bottom - bounds.top;
    const int32_t textWidth = text.right - text.left;
    const int32_t textHeight = text.bottom - text.top;
    if ((flags & DT_CENTER) != 0) {
        OffsetRect(&text, (boundsWidth - textWidth) / 2, (boundsHeight - textHeight) / 2 - CentredTextLift);
    } else if ((flags & DT_RIGHT) != 0) {
        OffsetRect(&text, boundsWidth - textWidth, 0);
    }
    InflateRect(&text, FocusMarginX, FocusMarginY);
    RECT focus{};
    if (!IntersectRect(&focus, &text, &bounds)) return;
    DrawFocusRect(dc, &focus);
}

void TSkinControl::ForwardMouseDown(const TMessage& message) {
    if (FControl == nullptr) return;
    int32_t x = GET_X_LPARAM(message.LParam);
    int32_t y = GET_Y_LPARAM(message.LParam);
    if (FControl->Width() > MouseCoordinateLimit || FControl->Height() > MouseCoordinateLimit) {
        // The message's 16-bit coordinates have wrapped: the cursor tells the real place.
        POINT cursor{};
        GetCursorPos(&cursor);
        const POINT client = FControl->ScreenToClient(cursor);
        x = client.x;
        y = client.y;
    }
    FControl->MouseDown(mbLeft, ShiftStateOf(message.WParam), x, y);
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
