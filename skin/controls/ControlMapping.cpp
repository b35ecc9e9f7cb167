// Control discovery and mapping: the walk over a window's controls, the tests that exclude a
// control, and the three mapping tables.
#include "skin/controls/ControlMapping.h"

#include <algorithm>
#include <array>
#include <vector>

#include "framework/controls/Form.h"
#include "framework/controls/WinControl.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"
#include "skin/controls/SkinBox.h"
#include "skin/controls/SkinButton.h"
#include "skin/controls/SkinEdit.h"
#include "skin/controls/SkinGroupBox.h"
#include "skin/controls/SkinProps.h"
#include "skin/controls/SkinRoutines.h"
#include "skin/controls/SkinScrollbar.h"
#include "skin/controls/SkinStatusBar.h"
#include "skin/data/ClassNames.h"
#include "skin/data/SkinData.h"
#include "skin/data/SkinServices.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinFormConstants.h"

namespace {

// --- Class names ---------------------------------------------------------------------------------

// Published properties the mapping reads or sets by name.
constexpr std::string_view TransparentProp = "Transparent";
constexpr std::string_view NumButtonsProp = "NumButtons";

// Styles of bare button windows.
constexpr LONG ButtonOwnerDrawStyle = 0xB;  // BS_OWNERDRAW
constexpr LONG ButtonGroupBoxStyle = 0x7;   // BS_GROUPBOX
constexpr LONG ButtonBitmapStyle = 0x80;    // BS_BITMAP
constexpr LONG ButtonAutoCheckStyle = 0x3;  // BS_AUTOCHECKBOX
constexpr LONG ButtonCheckBit = 0x2;        // BS_CHECKBOX and its relatives
constexpr LONG Button3StateStyle = 0x5;     // BS_3STATE
constexpr LONG ButtonAutoRadioStyle = 0x9;  // BS_AUTORADIOBUTTON
constexpr LONG ButtonRadioBit = 0x4;        // BS_RADIOBUTTON and its relatives
constexpr LONG ComboTypeMask = 0x3;
constexpr LONG ComboSimpleStyle = 0x1;  // CBS_SIMPLE
constexpr LONG TabStopStyle = 0x10000;  // WS_TABSTOP

bool InList(std::string_view name, const auto& list) { return std::find(list.begin(), list.end(), name) != list.end(); }

bool ContainsAny(std::string_view text, const auto& parts) {
    return std::any_of(parts.begin(), parts.end(),
                       [&](std::string_view part) { return text.find(part) != std::string_view::npos; });
}

// --- Actions of the rows -------------------------------------------------------------------------

using TControlAction = void (*)(TControlMapping& mapping, TControl* control, const std::string& upperClass);
using TWindowAction = void (*)(TControlMapping& mapping, HWND window);

// A row whose skinner is not part of the engine yet: the control keeps its own look. Its row names
// the skinner it waits for; building that skinner puts an action here.
constexpr TControlAction NotYet = nullptr;
constexpr TWindowAction WindowNotYet = nullptr;

template <class S>
void Plain(TControlMapping& mapping, TControl* control, const std::string&) {
    mapping.SkinWith<S>(control, false);
}

template <class S>
void WithSkinColor(TControlMapping& mapping, TControl* control, const std::string&) {
    mapping.SkinWith<S>(control, true);
}

template <class S>
void ByHandle(TControlMapping& mapping, TControl* control, const std::string&) {
    mapping.SkinByHandle<S>(control);
}

void ChildrenOnly(TControlMapping& mapping, TControl* control, const std::string&) { mapping.MapChildren(control); }

template <TControlAction Then>
void ChildrenThen(TControlMapping& mapping, TControl* control, const std::string& upperClass) {
    mapping.MapChildren(control);
    Then(mapping, control, upperClass);
}

// The scroll-bar skinner of a scrolling control (Kind 1: one bar only, no border of the skinner's).
void SkinScrolling(TControlMapping& mapping, TControl* control, int32_t kind) {
    if (auto* windowed = ObjectAs<TWinControl>(control)) mapping.SkinScrolling(windowed, kind);
}

void Scrolling(TControlMapping& mapping, TControl* control, const std::string&) {
    SkinScrolling(mapping, control, ScrollBarsKind);
}

// A button inside a radio or check group: a glyph image in the groups of one vendor, else a radio
// button or check box skinner. Neither is part of the engine yet: the buttons keep their own look.
void SkinGroupButton(TControlMapping&, TControl*, bool /*Radio*/, bool /*GlyphImage*/) {}

void SkinGroupButtons(TControlMapping& mapping, TControl* group, const std::string& upperClass, bool radio) {
    auto* container = ObjectAs<TWinControl>(group);
    if (container == nullptr) return;
    const bool glyphImage = upperClass.find(GlyphGroupPart) != std::string::npos;
    for (int32_t index = 0; index < container->ControlCount(); ++index)
        SkinGroupButton(mapping, container->Controls(index), radio, glyphImage);
}

// Row 6: the navigator's face colour, then its buttons on their own.
void NavigatorAndButtons(TControlMapping& mapping, TControl* control, const std::string&) {
    mapping.SkinWith<TSkinBox>(control, true);
    auto* container = ObjectAs<TWinControl>(control);
    if (container == nullptr) return;
    for (int32_t index = 0; index < container->ControlCount(); ++index)
        mapping.MapControl(container->Controls(index), nullptr);
}

// Row 21: a form inside the window wears the face colour and its own controls are mapped.
void EmbeddedForm(TControlMapping& mapping, TControl* control, const std::string&) {
    mapping.SkinWith<TSkinBox>(control, true);
    mapping.WalkComponents(control);
}

// --- The built-in rules --------------------------------------------------------------------------

struct TBuiltInRule {
    std::array<std::string_view, 3> Names;      // upper-case class names, any of which matches; none: any
    std::string_view FrameworkClass;            // the control is of this class or descends from it; empty: any
    bool (*Test)(TControl*, const TSkinData&);  // a further test; nullptr: none
    std::optional<TSkinControlType> Needs;      // the SkinControls member the result needs
    TControlAction Action;                      // NotYet: no skinner (yet)
};

bool TabsDefined(TControl*, const TSkinData& data) { return data.FTabs != nullptr; }
bool WithScrollBars(TControl* control, const TSkinData&) { return TControlMapping::HasScrollBars(control); }
bool NotDCEdit(TControl* control, const TSkinData&) {
    const std::string upper = UpperCase(control->ClassName());
    return upper != "TDCEDIT" && upper != "TDCDBEDIT";
}
bool OneButton(TControl* control, const TSkinData&) { return GetIntProp(control, NumButtonsProp) == 1; }
bool NoButton(TControl* control, const TSkinData&) { return GetIntProp(control, NumButtonsProp) == 0; }

// In order; the first row whose test matches ends the chain, with a skinner only when its
// SkinControls member is set.
const TBuiltInRule BuiltInRules[] = {
    {{"TTABSET"}, {}, TabsDefined, xcTab, NotYet /* TSkinTab31 */},
    {{"TTABBEDNOTEBOOK"}, {}, TabsDefined, xcTab, NotYet /* TSkinTab */},
    {{"TMVCPANEL"}, {}, nullptr, std::nullopt, ChildrenOnly},
    {{"TUPDOWN", "TSPINBUTTON"}, {}, nullptr, xcSpin, NotYet /* TSkinUpDown */},
    {{"TMEDIAPLAYER"}, {}, nullptr, xcButton, NotYet /* TSkinMP */},
    {{"TDBNAVIGATOR"}, {}, nullptr, xcPanel, NavigatorAndButtons},
    {{"TRZDBCHECKBOX", "TRZCHECKBOX"}, {}, nullptr, xcCheckBox, NotYet /* TSkinObjImage, glyph kind 1 */},
    {{"TRZRADIOBUTTON", "TRZDBRADIOBUTTON"}, {}, nullptr, xcRadioButton, NotYet /* TSkinObjImage, glyph kind 2 */},
    {{"TCXDBCHECKBOX", "TCXCHECKBOX"}, {}, nullptr, xcCheckBox, NotYet /* TSkinObjImage, glyph kind 3 */},
    {{}, "TCustomGroupBox", nullptr, xcPanel, ChildrenThen<Plain<TSkinGroupBox>>},
    {{}, "TCustomStatusBar", nullptr, xcStatusBar, Plain<TSkinStatusBar>},
    {{"TTNTCOMBOBOX"}, {}, nullptr, xcCombo, NotYet /* TSkinComBox */},
    {{"TRICHEDIT"}, {}, nullptr, xcScrollbar, Scrolling},
    {{"TWWDBRICHEDIT", "TDXDBMEMO"}, {}, nullptr, xcScrollbar, Scrolling},
    {{}, CustomPanelClass, nullptr, xcPanel, ChildrenThen<WithSkinColor<TSkinBox>>},
    {{"TDXTREELIST", "TDXDBTREELIST", "TDXDBGRID"}, {}, nullptr, xcScrollbar, Scrolling},
    {{}, "TCustomMemo", nullptr, xcScrollbar, Scrolling},
    {{}, {}, WithScrollBars, xcScrollbar, Scrolling},
    {{}, FrameworkButtonClass, nullptr, xcButton, Plain<TSkinButton>},
    {{}, "TCustomEdit", nullptr, xcEdit, Plain<TSkinEdit>},
    {{}, "TCustomForm", NotDCEdit, std::nullopt, EmbeddedForm},
    {{"TDCEDIT", "TDCDBEDIT"}, {}, OneButton, xcCombo, NotYet /* TSkinComBox */},
    {{"TDCEDIT", "TDCDBEDIT"}, {}, NoButton, xcEdit, ByHandle<TSkinEdit>},
};

bool Matches(const TBuiltInRule& rule, TControl* control, const std::string& upperClass, const TSkinData& data) {
    const bool named = !rule.Names[0].empty();
    if (named && !InList(upperClass, rule.Names)) return false;
    if (!rule.FrameworkClass.empty() && !control->InheritsFrom(rule.FrameworkClass)) return false;
    return rule.Test == nullptr || rule.Test(control, data);
}

// --- The Skin3rd kinds ---------------------------------------------------------------------------

void BorderedEdit(TControlMapping& mapping, TControl* control, const std::string&) {
    auto* windowed = ObjectAs<TWinControl>(control);
    if (windowed == nullptr) return;
    const HWND window = windowed->Handle();
    RECT windowRect{};
    RECT client{};
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &client);
    const bool bordered =
        windowRect.right - windowRect.left != client.right || windowRect.bottom - windowRect.top != client.bottom;
    if (bordered) mapping.SkinWith<TSkinEdit>(control, false);
}

void TransparentPanel(TControlMapping& mapping, TControl* control, const std::string&) {
    SetPropText(control, TransparentProp, "True");
    mapping.SkinWith<TSkinBox>(control, true);
}

void ScrollingContainer(TControlMapping& mapping, TControl* control, const std::string&) {
    SkinScrolling(mapping, control, ScrollBarsKind);
    mapping.MapChildren(control);
}

void SingleScrollBar(TControlMapping& mapping, TControl* control, const std::string&) {
    SkinScrolling(mapping, control, SingleScrollBarKind);
}

void EmbeddedScrollBars(TControlMapping& mapping, TControl* control, const std::string&) {
    auto* container = ObjectAs<TWinControl>(control);
    if (container == nullptr) return;
    for (int32_t index = 0; index < container->ControlCount(); ++index) {
        TControl* child = container->Controls(index);
        if (TControlMapping::HasScrollBars(child)) SkinScrolling(mapping, child, ScrollBarsKind);
    }
}

void RadioGroup(TControlMapping& mapping, TControl* control, const std::string& upperClass) {
    if (mapping.Has(xcRadioButton)) SkinGroupButtons(mapping, control, upperClass, true);
    mapping.SkinWith<TSkinGroupBox>(control, true);
}

void CheckGroup(TControlMapping& mapping, TControl* control, const std::string& upperClass) {
    if (mapping.Has(xcRadioButton)) SkinGroupButtons(mapping, control, upperClass, false);
    if (mapping.Has(xcGroupBox)) mapping.SkinWith<TSkinGroupBox>(control, true);
}

struct TKindRule {
    std::string_view Kind;
    std::optional<TSkinControlType> Needs;
    bool NeedsTabs;  // the skin must define the tab element too
    TControlAction Action;
};

// In order; the first row of the kind whose needs are met decides. Every kind answers "handled".
const TKindRule KindRules[] = {
    {"combobox", xcCombo, false, NotYet /* TSkinComBox */},
    {"comboboxex", xcCombo, false, NotYet /* TSkinComBox, extended */},
    {"edit", xcEdit, false, BorderedEdit},
    {"radiobutton", xcRadioButton, false, NotYet /* TSkinRadioButton */},
    {"panel", xcPanel, false, TransparentPanel},
    {"trackbar", xcButton, false, NotYet /* "Transparent" True, TSkinTrackBar */},
    {"button", xcButton, false, Plain<TSkinButton>},
    {"datetimepicker", xcCombo, false, NotYet /* TSkinDateTime */},
    {"mediaplayer", xcButton, false, NotYet /* TSkinMP */},
    {"bitbtn", xcButton, false, NotYet /* TSkinBitButton; TSkinMenuButton for a drop-down TcxButton */},
    {"pngbitbtn", xcButton, false, NotYet /* TSkinBitButton, glyph "PngImage" */},
    {"pngspeedbutton", xcButton, false, NotYet /* TSkinSpeedButton, glyph "PngImage" */},
    {"menubtn", xcButton, false, NotYet /* TSkinMenuButton */},
    {"speedbutton", xcSpeedButton, false, NotYet /* TSkinSpeedButton */},
    {"tab", xcTab, true, NotYet /* TSkinTab */},
    {"progress", xcProgress, false, NotYet /* TSkinProgress */},
    {"scrollbar", xcScrollbar, false, ScrollingContainer},
    {"singlescrollbar", xcScrollbar, false, SingleScrollBar},
    {"embedscrollbar", xcScrollbar, false, EmbeddedScrollBars},
    {"container", std::nullopt, false, ChildrenOnly},
    {"groupbox", xcGroupBox, false, WithSkinColor<TSkinGroupBox>},
    {"advpagecontrol", xcTab, false, NotYet /* TSkinAdvPage, page kind 4 */},
    {"radiogroup", xcGroupBox, false, RadioGroup},
    {"checkgroup", xcPanel, false, CheckGroup},
    {"checkbox", xcCheckBox, false, NotYet /* TSkinCheckBox */},
};

// --- Bare windows --------------------------------------------------------------------------------

void WindowsInside(TControlMapping& mapping, HWND window) { mapping.SkinForm().DiscoverWindows(window); }

void PanelWindow(TControlMapping& mapping, HWND window) {
    mapping.SkinForm().DiscoverWindows(window);
    if (TWinControl* control = WindowControl(window)) control->SetColor(mapping.SkinData().ButtonFaceColor());
}

void SilentPanelWindow(TControlMapping& mapping, HWND window) {
    if (TWinControl* control = WindowControl(window)) control->SetColor(mapping.SkinData().ButtonFaceColor());
}

template <class S>
void WindowSkinner(TControlMapping& mapping, HWND window) {
    mapping.SkinWindow<S>(window);
}

bool NotSimpleCombo(HWND, LONG style) { return (style & ComboTypeMask) != ComboSimpleStyle; }
bool HasChildWindow(HWND window, LONG) { return GetWindow(window, GW_CHILD) != nullptr; }
bool NoTabStop(HWND, LONG style) { return (style & TabStopStyle) == 0; }

struct TWindowRule {
    std::string_view Class;  // lower case
    std::optional<TSkinControlType> Needs;
    bool (*Test)(HWND, LONG style);  // nullptr: none
    TWindowAction Action;            // WindowNotYet: no skinner (yet)
};

const TWindowRule WindowRules[] = {
    {"combobox", xcCombo, NotSimpleCombo, WindowNotYet /* TSkinComBox */},
    {"comboboxex32", xcCombo, HasChildWindow, WindowNotYet /* TSkinComBox on the inner combo box */},
    {"scrollbar", std::nullopt, NoTabStop, WindowNotYet /* TSkinSizer */},
    {"systreeview32", std::nullopt, nullptr, WindowNotYet},
    {"#32770", std::nullopt, NoTabStop, WindowsInside /* then TSkinBoxH */},
    {"tpanel", std::nullopt, nullptr, PanelWindow},
    {"ttntpanel.unicodeclass", std::nullopt, nullptr, PanelWindow},
    {"ttntsilentpaintpanel.unicodeclass", std::nullopt, nullptr, PanelWindow},
    {"tcheckbox", xcCheckBox, nullptr, WindowNotYet /* TSkinCheckBox */},
    {"tcombobox", xcCombo, nullptr, WindowNotYet /* TSkinComBox */},
    {"tbutton", xcButton, nullptr, WindowSkinner<TSkinButton>},
    {"tprogressbar", std::nullopt, nullptr, WindowNotYet /* TSkinProgress */},
    {"tsilentpaintpanel", std::nullopt, nullptr, SilentPanelWindow},
    {"systabcontrol32", xcTab, nullptr, WindowNotYet /* TSkinTab */},
    {"toolbarwindow32", std::nullopt, nullptr, WindowNotYet /* TSkinBoxH */},
    {"edit", xcEdit, nullptr, WindowSkinner<TSkinEdit>},
};

}  // namespace

// --- TControlMapping -------------------------------------------------------------------------------

TControlMapping::TControlMapping(TPellixForm& skinForm) : FSkinForm(skinForm), FSkinData(*skinForm.FSkinData) {}

bool TControlMapping::Has(TSkinControlType member) const { return FSkinData.SkinControls().Contains(member); }

void TControlMapping::DiscoverForm(TCustomForm& form) {
    WalkComponents(&form);
    std::vector<TWinControl*> tabOrder;
    form.GetTabOrderList(tabOrder);
    for (TWinControl* control : tabOrder) {
        if (!control->HandleAllocated() || control->Tag() == FSkinData.DisableTag()) continue;
        if (SendMessageW(control->Handle(), WM_SKINQUERY, 0, 0) == SkinQueryAnswer) continue;
        MapControl(control, &form);
    }
}

void TControlMapping::WalkComponents(TComponent* component) {
    for (int32_t index = 0; index < component->ComponentCount(); ++index)
        if (auto* control = ObjectAs<TControl>(component->Components(index))) MapControl(control, component);
    if (Has(xcPopupMenu)) FSkinForm.SkinPopupMenus(component, true);
}

void TControlMapping::MapChildren(TControl* control) {
    auto* container = ObjectAs<TWinControl>(control);
    if (container == nullptr) return;
    for (int32_t index = 0; index < container->ControlCount(); ++index)
        MapControl(container->Controls(index), container);
}

void TControlMapping::MapControl(TControl* control, TComponent* parent) {
    if (control == nullptr) return;
    if (control->Tag() == FSkinData.DisableTag()) {
        MarkGroupChildren(control);
        return;
    }
    if (control->Parent() == nullptr || IsSkinned(control)) return;
    const std::string upperClass = UpperCase(control->ClassName());
    if (auto* windowed = ObjectAs<TWinControl>(control); windowed != nullptr && !windowed->HandleAllocated()) {
        try {
            windowed->HandleNeeded();
        } catch (const Exception& error) {
            QUIRN_TRACE(TTraceChannel::Control, "no window for ", control->ClassName(), ": ", error.Message());
            return;
        }
    }
    if (MapByEvent(control, parent, upperClass)) return;
    if (MapByKind(control, upperClass)) return;
    if (InList(upperClass, NeverSkinnedClasses)) return;
    MapBuiltIn(control, upperClass);
}

bool TControlMapping::MapByEvent(TControl* control, TComponent* parent, const std::string& upperClass) {
    const TOnSkinControl onSkinControl = FSkinData.OnSkinControl();
    if (!onSkinControl) return false;
    TComponent* given = nullptr;
    onSkinControl(&FSkinForm, &FSkinData, ObjectAs<TControl>(parent), control, upperClass, given);
    if (given == nullptr) return false;
    if (auto* skinner = ObjectAs<TSkinControl>(given); skinner != nullptr && !FSkinForm.AddControlSkin(skinner)) {
        skinner->Attach(&FSkinForm, &FSkinData, skinner->FUseSkinColor, FSkinForm.FControlCanvas.get());
        if (control->InheritsFrom(CustomPanelClass)) MapChildren(control);
    }
    return true;
}

bool TControlMapping::MapByKind(TControl* control, const std::string& upperClass) {
    const std::optional<std::string> kind = Skin3rdKindOf(FSkinData, upperClass);
    if (!kind) return false;
    if (*kind == Skin3rdNever) return true;
    for (const TKindRule& rule : KindRules) {
        if (rule.Kind != *kind) continue;
        if (rule.Needs && !Has(*rule.Needs)) continue;
        if (rule.NeedsTabs && FSkinData.FTabs == nullptr) continue;
        if (rule.Action != NotYet) rule.Action(*this, control, upperClass);
        break;
    }
    return true;
}

void TControlMapping::MapBuiltIn(TControl* control, const std::string& upperClass) {
    for (const TBuiltInRule& rule : BuiltInRules) {
        if (!Matches(rule, control, upperClass, FSkinData)) continue;
        if ((!rule.Needs || Has(*rule.Needs)) && rule.Action != NotYet) rule.Action(*this, control, upperClass);
        return;
    }
}

void TControlMapping::MapWindow(HWND window) {
    if (window == nullptr || FindControlSkin(window) != nullptr) return;
    const std::string className = LowerClassName(window);
    const LONG style = GetWindowLongW(window, GWL_STYLE);
    if (className == ButtonWindowClass && (style & ButtonOwnerDrawStyle) != ButtonOwnerDrawStyle) {
        MapButtonWindow(window, style);
        return;
    }
    for (const TWindowRule& rule : WindowRules) {
        if (rule.Class != className) continue;
        if (rule.Needs && !Has(*rule.Needs)) continue;
        if (rule.Test != nullptr && !rule.Test(window, style)) continue;
        if (rule.Action != WindowNotYet) rule.Action(*this, window);
        return;
    }
}

void TControlMapping::MapButtonWindow(HWND window, LONG style) {
    if ((style & ButtonGroupBoxStyle) == ButtonGroupBoxStyle || (style & ButtonBitmapStyle) != 0) return;
    const bool checkBox = (style & ButtonAutoCheckStyle) == ButtonAutoCheckStyle || (style & ButtonCheckBit) != 0 ||
                          (style & Button3StateStyle) == Button3StateStyle;
    // Check boxes and radio buttons get their skinners once those are part of the engine
    // (TSkinCheckBox with xcCheckBox, TSkinRadioButton with xcRadioButton).
    if (checkBox) return;
    const bool radioButton = (style & ButtonAutoRadioStyle) == ButtonAutoRadioStyle || (style & ButtonRadioBit) != 0;
    if (radioButton) return;
    if (Has(xcButton)) SkinWindow<TSkinButton>(window);
}

bool TControlMapping::IsSkinned(TControl* control) const {
    auto* windowed = ObjectAs<TWinControl>(control);
    if (windowed != nullptr && windowed->HandleAllocated() &&
        SendMessageW(windowed->Handle(), WM_SKINQUERY, 0, 0) == SkinQueryAnswer)
        return true;
    for (TSkinControlLink* link : FSkinForm.FControlSkins) {
        const auto* skinner = dynamic_cast<TSkinControl*>(link);
        if (skinner != nullptr && (skinner->Owner() == control || skinner->FGraphicControl == control)) return true;
    }
    return false;
}

TSkinControl* TControlMapping::FindControlSkin(HWND window) const {
    return dynamic_cast<TSkinControl*>(FSkinForm.FindControlSkin(window));
}

void TControlMapping::MarkGroupChildren(TControl* control) {
    auto* group = ObjectAs<TWinControl>(control);
    if (group == nullptr || group->ControlCount() == 0) return;
    if (!ContainsAny(LowerCase(group->ClassName()), ButtonGroupParts)) return;
    for (int32_t index = 0; index < group->ControlCount(); ++index)
        group->Controls(index)->SetTag(FSkinData.DisableTag());
}

bool TControlMapping::HasScrollBars(TControl* control) {
    auto* windowed = ObjectAs<TWinControl>(control);
    if (windowed == nullptr) return false;
    if (windowed->InheritsFrom(MemoClass)) return true;
    if (!windowed->HandleAllocated()) return false;
    return (GetWindowLongW(windowed->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

HWND TControlMapping::ControlWindow(TControl* control) {
    auto* windowed = ObjectAs<TWinControl>(control);
    return windowed != nullptr ? windowed->Handle() : nullptr;
}

TSkinControl* TControlMapping::Attached(TSkinControl* skinner, TControl*, bool useSkinColor) {
    skinner->Attach(&FSkinForm, &FSkinData, useSkinColor, FSkinForm.FControlCanvas.get());
    if (skinner->FAttached) return skinner;
    delete skinner;
    return nullptr;
}

TSkinControl* TControlMapping::SkinScrolling(TWinControl* control, int32_t kind) {
    auto* skinner = new TSkinScrollbar(control);
    skinner->FKind = kind;
    skinner->AttachScrolling(control, &FSkinData, &FSkinForm, FSkinForm.FControlCanvas.get());
    if (skinner->FAttached) return skinner;
    delete skinner;
    return nullptr;
}

TSkinControl* TControlMapping::AttachedByHandle(TSkinControl* skinner, HWND window) {
    skinner->AttachHandle(window, &FSkinData, &FSkinForm, FSkinForm.FControlCanvas.get());
    if (skinner->FAttached) return skinner;
    delete skinner;
    return nullptr;
}

std::optional<std::string> Skin3rdKindOf(const TSkinData& skinData, std::string_view className) {
    const TStrings* lines = skinData.Skin3rd();
    if (lines == nullptr) return std::nullopt;
    const std::string prefix = LowerCase(className) + "=";
    for (int32_t index = 0; index < lines->Count(); ++index) {
        const std::string line = LowerCase(lines->Strings(index));
        if (!line.starts_with(prefix)) continue;
        return line.substr(prefix.size(), Skin3rdKindChars);
    }
    return std::nullopt;
}
