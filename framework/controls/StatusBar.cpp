#include "framework/controls/StatusBar.h"

#include <commctrl.h>

#include "framework/controls/Form.h"
#include "framework/controls/TextConvert.h"

QUIRN_DEFINE_CLASS(TStatusPanel)
QUIRN_DEFINE_CLASS(TStatusPanels)
QUIRN_PUBLISH(TCustomStatusBar, p) {
    p.Property("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel).Default(false);
    p.Property("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText);
    p.Property("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip).Default(true);
}

QUIRN_PUBLISH(TStatusBar, p) {}

namespace {
constexpr int32_t kDefaultHeight = 19;
constexpr WPARAM kSimplePartId = SB_SIMPLEID;
}  // namespace

TStatusPanel* TStatusPanels::Add() {
    FItems.push_back(std::make_unique<TStatusPanel>());
    Update();
    return FItems.back().get();
}

void TStatusPanels::Delete(int32_t index) {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    FItems.erase(FItems.begin() + index);
    Update();
}

void TStatusPanels::Clear() {
    FItems.clear();
    Update();
}

void TStatusPanels::Update() { FOwner.UpdatePanels(); }

void TStatusPanels::Assign(const TPersistent* source) {
    const auto* other = ObjectAs<TStatusPanels>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    FItems.clear();
    for (const auto& panel : other->FItems) {
        auto copy = std::make_unique<TStatusPanel>();
        copy->Text = panel->Text;
        copy->Width = panel->Width;
        copy->Alignment = panel->Alignment;
        copy->Bevel = panel->Bevel;
        FItems.push_back(std::move(copy));
    }
    Update();
}

TCustomStatusBar::TCustomStatusBar(TComponent* AOwner)
    : TWinControl(AOwner), FPanels(std::make_unique<TStatusPanels>(*this)) {
    FAlign = alBottom;
    FHeight = kDefaultHeight;
    FParentColor = false;
    FColor = clBtnFace;
    FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
}

TCustomStatusBar::~TCustomStatusBar() { DestroyWindowHandle(); }

bool TCustomStatusBar::ShowsGrip() {
    // A grip only where it can resize something: at the bottom of a sizeable form.
    TCustomForm* form = ObjectAs<TCustomForm>(FParent);
    return FSizeGrip && form && (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin);
}

void TCustomStatusBar::CreateParams(TCreateParams& params) {
    INITCOMMONCONTROLSEX classes{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&classes);
    TWinControl::CreateParams(params);
    CreateSubClass(params, STATUSCLASSNAMEW);
    params.Style |= CCS_NOPARENTALIGN | CCS_NORESIZE | CCS_NODIVIDER;
    if (ShowsGrip()) params.Style |= SBARS_SIZEGRIP;
}

void TCustomStatusBar::CreateHandle() {
    TWinControl::CreateHandle();
    if (FColor != clBtnFace) Perform(SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FColor)));
    UpdatePanels();
}

void TCustomStatusBar::SetSimplePanel(bool value) {
    if (FSimplePanel == value) return;
    FSimplePanel = value;
    UpdatePanels();
}

void TCustomStatusBar::SetSimpleText(const std::string& value) {
    if (FSimpleText == value) return;
    FSimpleText = value;
    if (FHandle) {
        const std::wstring text = AnsiToWideText(value);
        Perform(SB_SETTEXTW, kSimplePartId, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

void TCustomStatusBar::SetSizeGrip(bool value) {
    if (FSizeGrip == value) return;
    FSizeGrip = value;
    RecreateWnd();
}

void TCustomStatusBar::UpdatePanels() {
    if (!FHandle) return;
    // Without panels the bar shows its simple text.
    const bool simple = FSimplePanel || FPanels->Count() == 0;
    Perform(SB_SIMPLE, simple ? TRUE : FALSE);
    if (simple) {
        const std::wstring text = AnsiToWideText(FSimpleText);
        Perform(SB_SETTEXTW, kSimplePartId, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    std::vector<int> edges;
    int right = 0;
    for (int32_t i = 0; i < FPanels->Count(); ++i) {
        right += FPanels->Items(i)->Width;
        edges.push_back(i + 1 == FPanels->Count() ? -1 : right);
    }
    Perform(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
    for (int32_t i = 0; i < FPanels->Count(); ++i) {
        const TStatusPanel* panel = FPanels->Items(i);
        std::wstring text = AnsiToWideText(panel->Text);
        if (panel->Alignment == taCenter) text = L"\t" + text;
        if (panel->Alignment == taRightJustify) text = L"\t\t" + text;
        WPARAM part = static_cast<WPARAM>(i);
        if (panel->Bevel == pbNone) part |= SBT_NOBORDERS;
        if (panel->Bevel == pbRaised) part |= SBT_POPOUT;
        Perform(SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
    }
}

bool TCustomStatusBar::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_COLORCHANGED:
        if (FHandle) Perform(SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FColor)));
        Invalidate();
        return true;
    case WM_SIZE:
        // The bar keeps the size it is given (CCS_NORESIZE); the parts follow it.
        TWinControl::Dispatch(message);
        UpdatePanels();
        return true;
    default: return TWinControl::Dispatch(message);
    }
}

TStatusBar::TStatusBar(TComponent* AOwner) : TCustomStatusBar(AOwner) {}
