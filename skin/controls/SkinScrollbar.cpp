// TSkinScrollbar: the scroll-bar skinner of framework controls.
#include "skin/controls/SkinScrollbar.h"

#include <optional>
#include <string>

#include "framework/controls/Messages.h"
#include "framework/controls/WinControl.h"
#include "framework/core/PropInfo.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"
#include "framework/win/DeviceContext.h"
#include "skin/controls/SkinProps.h"
#include "skin/controls/SkinRoutines.h"
#include "skin/controls/WScrollbar.h"
#include "skin/data/SkinData.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinFormConstants.h"

QUIRN_DEFINE_CLASS(TSkinScrollbar)

namespace {

constexpr std::string_view BorderStyleProp = "BorderStyle";
constexpr std::string_view NoBorder = "bsnone";
constexpr std::string_view FixedColorProp = "FixedColor";
// An image viewer that draws its own border.
constexpr std::string_view OwnBorderClass = "TImageScrollBox";

}  // namespace

TSkinScrollbar::TSkinScrollbar(TComponent* AOwner) : TSkinControl(AOwner) {}

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::AttachScrolling(TWinControl* Control, TSkinData* SkinData, TPellixForm* SkinForm,
                                     TCanvas* Canvas) {
    // The skinner belongs to the control it skins (it goes with it).
    if (FAttached || Control == nullptr || Control != Owner()) return;
    Control->HandleNeeded();
    if (!BindControl(SkinForm, SkinData, false, Canvas)) return;
    FOwnBorder = LowerCase(GetEnumPropText(Control, BorderStyleProp)) != NoBorder;
    if (Control->ClassName() == OwnBorderClass || FKind == SingleScrollBarKind) FOwnBorder = false;
    ApplyFixedColor();
    FHorzBar = new TWScrollbar(this);
    FVertBar = new TWScrollbar(this);
    FHorzBar->Bind(this, Control, ScrollBarHorizontal);
    FVertBar->Bind(this, Control, ScrollBarVertical);
    FHorzBar->SetEnabled(Control->Enabled());
    FVertBar->SetEnabled(Control->Enabled());
    if (!Control->Visible()) {
        FHorzBar->Hide();
        FVertBar->Hide();
    }
    FOldWindowProc = TWindowProcSubclass(Control, TWndMethod::Of<&TSkinControl::SkinWndProc>(this));
    FAttached = true;
    FStatus = ControlSkinAttached;
    // The frame and the client painted again under the skinner.
    RedrawWindow(FHandle, nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME);
}

void TSkinScrollbar::ApplyFixedColor() {
    if (FControl == nullptr || PropKind(FControl, FixedColorProp) != tkInteger) return;
    FOldColor = static_cast<TColor>(GetIntProp(FControl, FixedColorProp));
    FUseSkinColor = true;
    SetPropText(FControl, FixedColorProp, std::to_string(static_cast<int32_t>(SkinFaceColor())));
}

void TSkinScrollbar::Detach() {
    // The colour goes back only to a control that still has its window.
    if (FUseSkinColor && FStatus != ControlSkinGone)
        SetPropText(FControl, FixedColorProp, std::to_string(static_cast<int32_t>(FOldColor)));
    FUseSkinColor = false;
    TSkinControl::Detach();
    if (FStatus != ControlSkinGone) FreeBars();
}

void TSkinScrollbar::FreeBars() {
    delete FHorzBar;
    FHorzBar = nullptr;
    delete FVertBar;
    FVertBar = nullptr;
}

void TSkinScrollbar::SkinChanged() {
    if (FControl != nullptr && PropKind(FControl, FixedColorProp) == tkInteger) ApplyFixedColor();
    for (TWScrollbar* Bar : {FHorzBar, FVertBar})
        if (Bar != nullptr) Bar->ForgetPicture();
}

void TSkinScrollbar::UpdateBars() {
    if (FHorzBar != nullptr) FHorzBar->UpdateBar();
    if (FVertBar != nullptr) FVertBar->UpdateBar();
}

bool TSkinScrollbar::BeforeMessage(TMessage& Message) {
    if (Message.Msg != WM_NCPAINT || !FOwnBorder) return TSkinControl::BeforeMessage(Message);
    CallOldProc(Message);
    DrawBorder(nullptr);
    return false;
}

void TSkinScrollbar::AfterMessage(TMessage& Message) {
    switch (Message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED: UpdateBars(); break;
    case WM_HSCROLL:
    case WM_VSCROLL: ShowScrollRequest(Message, FHorzBar, FVertBar); break;
    case WM_MOUSEWHEEL:
        for (TWScrollbar* Bar : {FHorzBar, FVertBar})
            if (Bar != nullptr && Bar->FShowing) Bar->Invalidate();
        break;
    case CM_VISIBLECHANGED:
        if (Message.WParam != 0) {
            UpdateBars();
        } else {
            for (TWScrollbar* Bar : {FHorzBar, FVertBar})
                if (Bar != nullptr) Bar->Hide();
        }
        break;
    case CM_ENABLEDCHANGED:
        for (TWScrollbar* Bar : {FHorzBar, FVertBar})
            if (Bar != nullptr && FControl != nullptr) Bar->SetEnabled(FControl->Enabled());
        TSkinControl::AfterMessage(Message);
        break;
    case CM_RECREATEWND:
        // The control has a new window: the form skinner gives it a fresh skinner in place of this one.
        if (FControl != nullptr && FSkinForm != nullptr)
            PostMessageW(FSkinForm->FHandle, WM_SKINRESCROLL, reinterpret_cast<WPARAM>(FHandle), 0);
        break;
    case WM_SKINPAINTTO:
        if (Message.LParam != SkinMagic) {
            TSkinControl::AfterMessage(Message);
            break;
        }
        if (Message.WParam != 0) DrawBorder(reinterpret_cast<HDC>(Message.WParam));
        Message.Result = SkinMagic;
        break;
    default: TSkinControl::AfterMessage(Message); break;
    }
}

void TSkinScrollbar::DrawBorder(HDC Given) {
    if (FSkinData == nullptr) return;
    try {
        RECT Rect{};
        if (!GetWindowRect(FHandle, &Rect)) return;
        OffsetRect(&Rect, -Rect.left, -Rect.top);
        std::optional<win::WindowFrameDC> WindowDC;
        if (Given == nullptr) WindowDC.emplace(FHandle);
        const HDC DC = Given != nullptr ? Given : WindowDC->get();
        if (DC == nullptr) return;
        FrameColorRect(DC, Rect, FSkinData->FColors[SkinColour::ButtonShadow]);
        InflateRect(&Rect, -1, -1);
        FrameColorRect(DC, Rect, FSkinData->ButtonFaceColor());
    } catch (...) {
        QUIRN_TRACE(TTraceChannel::Paint, "scrolling control border failed");
    }
}

void TSkinScrollbar::DrawSkin(HDC DC, const RECT&) {
    const LONG Style = GetWindowLongW(FHandle, GWL_STYLE);
    auto Refresh = [](TWScrollbar* Bar, bool HasBar) {
        if (Bar == nullptr) return;
        if (Bar->FShowing) {
            Bar->Invalidate();
        } else if (HasBar) {
            Bar->UpdateBar();
        }
    };
    Refresh(FVertBar, (Style & WS_VSCROLL) != 0);
    Refresh(FHorzBar, (Style & WS_HSCROLL) != 0);
    if (FVertBar != nullptr && FHorzBar != nullptr && FVertBar->FShowing && FHorzBar->FShowing)
        FillScrollCorner(*this, DC, *FVertBar, *FHorzBar);
}

void FillScrollCorner(TSkinControl& Skinner, HDC DC, const TWScrollbar& Vert, const TWScrollbar& Horz) {
    RECT Window{};
    if (!GetWindowRect(Skinner.FHandle, &Window)) return;
    POINT Client{0, 0};
    ClientToScreen(Skinner.FHandle, &Client);
    const int32_t OffsetX = Client.x - Window.left;
    const int32_t OffsetY = Client.y - Window.top;
    const RECT Corner{Vert.FBarRect.left + OffsetX, Horz.FBarRect.top + OffsetY, Vert.FBarRect.right + OffsetX,
                      Horz.FBarRect.bottom + OffsetY};
    Skinner.FillSkinFace(DC, Corner);
}

void ShowScrollRequest(const TMessage& Message, TWScrollbar* Horz, TWScrollbar* Vert) {
    TWScrollbar* Bar = Message.Msg == WM_HSCROLL ? Horz : Vert;
    if (Bar == nullptr) return;
    Bar->FHotPart = LOWORD(Message.WParam);
    Bar->Invalidate();
}
