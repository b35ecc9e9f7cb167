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
#include "skin/data/ClassNames.h"
#include "skin/data/SkinData.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinFormConstants.h"

QUIRN_DEFINE_CLASS(TSkinScrollbar)

namespace {

constexpr std::string_view BorderStyleProp = "BorderStyle";
constexpr std::string_view NoBorder = "bsnone";
constexpr std::string_view FixedColorProp = "FixedColor";

}  // namespace

TSkinScrollbar::TSkinScrollbar(TComponent* aOwner) : TSkinControl(aOwner) {}

TSkinScrollbar::~TSkinScrollbar() = default;

void TSkinScrollbar::AttachScrolling(TWinControl* control, TSkinData* skinData, TPellixForm* skinForm,
                                     TCanvas* canvas) {
    // The skinner belongs to the control it skins (it goes with it).
    if (FAttached || control == nullptr || control != Owner()) return;
    control->HandleNeeded();
    if (!BindControl(skinForm, skinData, false, canvas)) return;
    FOwnBorder = LowerCase(GetEnumPropText(control, BorderStyleProp)) != NoBorder;
    if (control->ClassName() == OwnBorderClass || FKind == SingleScrollBarKind) FOwnBorder = false;
    ApplyFixedColor();
    FHorzBar = new TWScrollbar(this);
    FVertBar = new TWScrollbar(this);
    FHorzBar->Bind(this, control, ScrollBarHorizontal);
    FVertBar->Bind(this, control, ScrollBarVertical);
    FHorzBar->SetEnabled(control->Enabled());
    FVertBar->SetEnabled(control->Enabled());
    if (!control->Visible()) {
        FHorzBar->Hide();
        FVertBar->Hide();
    }
    FOldWindowProc = TWindowProcSubclass(control, TWndMethod::Of<&TSkinControl::SkinWndProc>(this));
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
    for (TWScrollbar* bar : {FHorzBar, FVertBar})
        if (bar != nullptr) bar->ForgetPicture();
}

void TSkinScrollbar::UpdateBars() {
    if (FHorzBar != nullptr) FHorzBar->UpdateBar();
    if (FVertBar != nullptr) FVertBar->UpdateBar();
}

bool TSkinScrollbar::BeforeMessage(TMessage& message) {
    if (message.Msg != WM_NCPAINT || !FOwnBorder) return TSkinControl::BeforeMessage(message);
    CallOldProc(message);
    DrawBorder(nullptr);
    return false;
}

void TSkinScrollbar::AfterMessage(TMessage& message) {
    switch (message.Msg) {
    case WM_SIZE:
    case WM_WINDOWPOSCHANGED: UpdateBars(); break;
    case WM_HSCROLL:
    case WM_VSCROLL: ShowScrollRequest(message, FHorzBar, FVertBar); break;
    case WM_MOUSEWHEEL:
        for (TWScrollbar* bar : {FHorzBar, FVertBar})
            if (bar != nullptr && bar->FShowing) bar->Invalidate();
        break;
    case CM_VISIBLECHANGED:
        if (message.WParam != 0) {
            UpdateBars();
        } else {
            for (TWScrollbar* bar : {FHorzBar, FVertBar})
                if (bar != nullptr) bar->Hide();
        }
        break;
    case CM_ENABLEDCHANGED:
        for (TWScrollbar* bar : {FHorzBar, FVertBar})
            if (bar != nullptr && FControl != nullptr) bar->SetEnabled(FControl->Enabled());
        TSkinControl::AfterMessage(message);
        break;
    case CM_RECREATEWND:
        // The control has a new window: the form skinner gives it a fresh skinner in place of this one.
        if (FControl != nullptr && FSkinForm != nullptr)
            PostMessageW(FSkinForm->FHandle, WM_SKINRESCROLL, reinterpret_cast<WPARAM>(FHandle), 0);
        break;
    case WM_SKINPAINTTO:
        if (message.LParam != SkinMagic) {
            TSkinControl::AfterMessage(message);
            break;
        }
        if (message.WParam != 0) DrawBorder(reinterpret_cast<HDC>(message.WParam));
        message.Result = SkinMagic;
        break;
    default: TSkinControl::AfterMessage(message); break;
    }
}

void TSkinScrollbar::DrawBorder(HDC given) {
    if (FSkinData == nullptr) return;
    try {
        RECT rect{};
        if (!GetWindowRect(FHandle, &rect)) return;
        OffsetRect(&rect, -rect.left, -rect.top);
        std::optional<win::WindowFrameDC> windowDc;
        if (given == nullptr) windowDc.emplace(FHandle);
        const HDC dc = given != nullptr ? given : windowDc->get();
        if (dc == nullptr) return;
        FrameColorRect(dc, rect, FSkinData->FColors[SkinColour::ButtonShadow]);
        InflateRect(&rect, -1, -1);
        FrameColorRect(dc, rect, FSkinData->ButtonFaceColor());
    } catch (...) {
        QUIRN_TRACE(TTraceChannel::Paint, "scrolling control border failed");
    }
}

void TSkinScrollbar::DrawSkin(HDC dc, const RECT&) {
    const LONG style = GetWindowLongW(FHandle, GWL_STYLE);
    auto refresh = [](TWScrollbar* bar, bool hasBar) {
        if (bar == nullptr) return;
        if (bar->FShowing) {
            bar->Invalidate();
        } else if (hasBar) {
            bar->UpdateBar();
        }
    };
    refresh(FVertBar, (style & WS_VSCROLL) != 0);
    refresh(FHorzBar, (style & WS_HSCROLL) != 0);
    if (FVertBar != nullptr && FHorzBar != nullptr && FVertBar->FShowing && FHorzBar->FShowing)
        FillScrollCorner(*this, dc, *FVertBar, *FHorzBar);
}

void FillScrollCorner(TSkinControl& skinner, HDC dc, const TWScrollbar& vert, const TWScrollbar& horz) {
    RECT window{};
    if (!GetWindowRect(skinner.FHandle, &window)) return;
    POINT client{0, 0};
    ClientToScreen(skinner.FHandle, &client);
    const int32_t offsetX = client.x - window.left;
    const int32_t offsetY = client.y - window.top;
    const RECT corner{vert.FBarRect.left + offsetX, horz.FBarRect.top + offsetY, vert.FBarRect.right + offsetX,
                      horz.FBarRect.bottom + offsetY};
    skinner.FillSkinFace(dc, corner);
}

void ShowScrollRequest(const TMessage& message, TWScrollbar* horz, TWScrollbar* vert) {
    TWScrollbar* bar = message.Msg == WM_HSCROLL ? horz : vert;
    if (bar == nullptr) return;
    bar->FHotPart = LOWORD(message.WParam);
    bar->Invalidate();
}
