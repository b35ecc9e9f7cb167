#include "framework/controls/StatusBar.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "framework/controls/Form.h"
#include "framework/graphics/AnsiText.h"
#include "framework/win/DeviceContext.h"

QUIRN_PUBLISH(TStatusPanel, p) {
    p.Property("Alignment", &TStatusPanel::Alignment, &TStatusPanel::SetAlignment).Default(taLeftJustify);
    p.Property("Bevel", &TStatusPanel::Bevel, &TStatusPanel::SetBevel).Default(pbLowered);
    p.Property("BiDiMode", &TStatusPanel::BiDiMode, &TStatusPanel::SetBiDiMode)
        .Stored(&TStatusPanel::IsBiDiModeStored)
        .NoDefault();
    p.Property("ParentBiDiMode", &TStatusPanel::ParentBiDiMode, &TStatusPanel::SetParentBiDiMode).Default(true);
    p.Property("Style", &TStatusPanel::Style, &TStatusPanel::SetStyle).Default(psText);
    p.Property("Text", &TStatusPanel::Text, &TStatusPanel::SetText);
    p.Property("Width", &TStatusPanel::Width, &TStatusPanel::SetWidth).Default(TStatusPanel::kDefaultWidth);
}

QUIRN_DEFINE_CLASS(TStatusPanels)

QUIRN_PUBLISH(TCustomStatusBar, p) {
    p.Property("Panels", &TCustomStatusBar::Panels, &TCustomStatusBar::SetPanels);
    p.Property("SimplePanel", &TCustomStatusBar::SimplePanel, &TCustomStatusBar::SetSimplePanel).Default(false);
    p.Property("SimpleText", &TCustomStatusBar::SimpleText, &TCustomStatusBar::SetSimpleText);
    p.Property("SizeGrip", &TCustomStatusBar::SizeGrip, &TCustomStatusBar::SetSizeGrip).Default(true);
    p.Property("OnDrawPanel", &TCustomStatusBar::OnDrawPanel, &TCustomStatusBar::SetOnDrawPanel);
}

QUIRN_PUBLISH(TStatusBar, p) {}

namespace {
constexpr int32_t kDefaultHeight = 19;
constexpr WPARAM kSimplePartId = SB_SIMPLEID;
// A part's text is aligned by the tabs before it: one centres, two right-align.
constexpr const wchar_t* kCentreTabs = L"\t";
constexpr const wchar_t* kRightTabs = L"\t\t";
// The last part reaches the right edge of the bar.
constexpr int kToRightEdge = -1;
}  // namespace

// ---- TStatusPanel ------------------------------------------------------------

void TStatusPanel::SetText(const std::string& value) {
    if (FText == value) return;
    FText = value;
    Changed(false);
}

void TStatusPanel::SetWidth(int32_t value) {
    value = std::max(value, 0);
    if (FWidth == value) return;
    FWidth = value;
    Changed(false);
}

void TStatusPanel::SetAlignment(TAlignment value) {
    if (FAlignment == value) return;
    FAlignment = value;
    Changed(false);
}

void TStatusPanel::SetBevel(TStatusPanelBevel value) {
    if (FBevel == value) return;
    FBevel = value;
    Changed(false);
}

void TStatusPanel::SetStyle(TStatusPanelStyle value) {
    if (FStyle == value) return;
    FStyle = value;
    Changed(false);
}

TCustomStatusBar* TStatusPanel::StatusBar() const {
    const auto* panels = ObjectAs<TStatusPanels>(Collection());
    return panels ? &panels->StatusBar() : nullptr;
}

TBiDiMode TStatusPanel::BiDiMode() const {
    if (FParentBiDiMode)
        if (const TCustomStatusBar* bar = StatusBar()) return bar->BiDiMode();
    return FBiDiMode;
}

void TStatusPanel::SetBiDiMode(TBiDiMode value) {
    const bool changed = value != BiDiMode();
    FBiDiMode = value;
    FParentBiDiMode = false;
    if (changed) Changed(false);
}

void TStatusPanel::SetParentBiDiMode(bool value) {
    if (FParentBiDiMode == value) return;
    const TBiDiMode before = BiDiMode();
    FParentBiDiMode = value;
    // Cutting the link keeps the mode the panel showed.
    if (!value) FBiDiMode = before;
    if (BiDiMode() != before) Changed(false);
}

bool TStatusPanel::UseRightToLeftAlignment() const { return BiDiMode() == bdRightToLeft; }

std::string TStatusPanel::DisplayName() const { return FText.empty() ? inherited::DisplayName() : FText; }

void TStatusPanel::Assign(const TPersistent* source) {
    const auto* other = ObjectAs<TStatusPanel>(source);
    if (!other) {
        inherited::Assign(source);
        return;
    }
    FText = other->FText;
    FWidth = other->FWidth;
    FAlignment = other->FAlignment;
    FBevel = other->FBevel;
    FStyle = other->FStyle;
    FBiDiMode = other->FBiDiMode;
    FParentBiDiMode = other->FParentBiDiMode;
    Changed(false);
}

// ---- TStatusPanels -----------------------------------------------------------

TStatusPanels::TStatusPanels(TCustomStatusBar& statusBar)
    : TCollection(TStatusPanel::StaticClass()), FStatusBar(statusBar) {}

TPersistent* TStatusPanels::GetOwner() const { return &FStatusBar; }

void TStatusPanels::Update(TCollectionItem* item) {
    if (item)
        FStatusBar.UpdatePanel(item->Index());
    else
        FStatusBar.UpdatePanels();
}

// ---- TCustomStatusBar --------------------------------------------------------

TCustomStatusBar::TCustomStatusBar(TComponent* owner)
    : TWinControl(owner), FPanels(std::make_unique<TStatusPanels>(*this)), FCanvas(std::make_unique<TCanvas>()) {
    FAlign = alBottom;
    FHeight = kDefaultHeight;
    FParentColor = false;
    FColor = clBtnFace;
    FControlStyle = {csCaptureMouse, csClickEvents, csDoubleClicks, csOpaque};
}

TCustomStatusBar::~TCustomStatusBar() { DestroyOrDetachWindow(); }

bool TCustomStatusBar::ShowsGrip() {
    // A grip only where it can resize something: at the bottom of a sizeable form.
    TCustomForm* form = ObjectAs<TCustomForm>(FParent);
    return FSizeGrip && form && (form->BorderStyle() == bsSizeable || form->BorderStyle() == bsSizeToolWin);
}

bool TCustomStatusBar::ShowsSimpleText() const {
    // Without panels the bar shows its simple text.
    return FSimplePanel || FPanels->Count() == 0;
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

void TCustomStatusBar::SetParts() {
    const int32_t count = std::min(FPanels->Count(), kMaxParts);
    std::vector<int> edges;
    int right = 0;
    for (int32_t i = 0; i < count; ++i) {
        right += FPanels->Items(i)->Width();
        edges.push_back(i + 1 == count ? kToRightEdge : right);
    }
    Perform(SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}

void TCustomStatusBar::SetPartText(int32_t index) {
    const TStatusPanel* panel = FPanels->Items(index);
    WPARAM part = static_cast<WPARAM>(index);
    if (panel->Bevel() == pbNone) part |= SBT_NOBORDERS;
    if (panel->Bevel() == pbRaised) part |= SBT_POPOUT;
    if (panel->BiDiMode() != bdLeftToRight) part |= SBT_RTLREADING;
    if (panel->Style() == psOwnerDraw) {
        // The bar keeps the value as the item data of its WM_DRAWITEM; the part's index says the panel.
        Perform(SB_SETTEXTW, part | SBT_OWNERDRAW, 0);
        return;
    }
    TAlignment alignment = panel->Alignment();
    if (panel->UseRightToLeftAlignment() && alignment != taCenter)
        alignment = alignment == taLeftJustify ? taRightJustify : taLeftJustify;
    std::wstring text = AnsiToWideText(panel->Text());
    if (alignment == taCenter) text.insert(0, kCentreTabs);
    if (alignment == taRightJustify) text.insert(0, kRightTabs);
    Perform(SB_SETTEXTW, part, reinterpret_cast<LPARAM>(text.c_str()));
}

void TCustomStatusBar::UpdatePanels() {
    if (!FHandle) return;
    const bool simple = ShowsSimpleText();
    Perform(SB_SIMPLE, simple ? TRUE : FALSE);
    if (simple) {
        const std::wstring text = AnsiToWideText(FSimpleText);
        Perform(SB_SETTEXTW, kSimplePartId, reinterpret_cast<LPARAM>(text.c_str()));
        return;
    }
    SetParts();
    for (int32_t i = 0; i < std::min(FPanels->Count(), kMaxParts); ++i) SetPartText(i);
}

void TCustomStatusBar::UpdatePanel(int32_t index) {
    if (!FHandle || ShowsSimpleText() || index < 0 || index >= std::min(FPanels->Count(), kMaxParts)) return;
    SetParts();
    SetPartText(index);
}

void TCustomStatusBar::DrawPanel(TStatusPanel* panel, const RECT& rect) {
    if (FOnDrawPanel) FOnDrawPanel(this, panel, rect);
}

void TCustomStatusBar::CNDrawItem(TMessage& message) {
    const auto& draw = *reinterpret_cast<const DRAWITEMSTRUCT*>(message.LParam);
    message.Result = TRUE;
    const auto index = static_cast<int32_t>(draw.itemID);
    if (index < 0 || index >= FPanels->Count()) return;
    // The canvas borrows the bar's DC, which gets its own objects back on every path.
    const win::SavedDC saved(draw.hDC);
    const TCanvasBinding bound(*FCanvas, draw.hDC);
    FCanvas->Font().Assign(FFont.get());
    FCanvas->Brush().SetColor(FColor);
    DrawPanel(FPanels->Items(index), draw.rcItem);
}

bool TCustomStatusBar::Dispatch(TMessage& message) {
    switch (message.Msg) {
    case CM_COLORCHANGED:
        if (FHandle) Perform(SB_SETBKCOLOR, 0, static_cast<LPARAM>(ColorToRGB(FColor)));
        Invalidate();
        return true;
    case CM_BIDIMODECHANGED:
        // Panels that follow the bar's reading order change with it.
        TWinControl::Dispatch(message);
        UpdatePanels();
        return true;
    case CN_DRAWITEM: CNDrawItem(message); return true;
    case WM_SIZE:
        // The bar keeps the size it is given (CCS_NORESIZE); the parts follow it.
        TWinControl::Dispatch(message);
        UpdatePanels();
        return true;
    default: return TWinControl::Dispatch(message);
    }
}

TStatusBar::TStatusBar(TComponent* owner) : TCustomStatusBar(owner) {}
