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
#include "skin/data/SkinData.h"
#include "skin/data/SkinServices.h"
#include "skin/form/PellixFormSkinner.h"
#include "skin/form/SkinFormConstants.h"

namespace {

// --- Class names ---------------------------------------------------------------------------------

// Never skinned, whatever the tables say (upper case).
constexpr std::array<std::string_view, 3> NeverSkinnedClasses{"TDBCOMBOBOXEH", "TFRDESIGNERPAGE", "TFRPBOX"};
// Groups whose buttons follow the group's Tag (lower-case parts of a class name).
constexpr std::array<std::string_view, 2> ButtonGroupParts{"radiogroup", "checkgroup"};
// A group of one vendor whose buttons get glyph images (part of the upper-case class name).
constexpr std::string_view GlyphGroupPart = "TRZ";
// Framework classes the built-in rules and the kinds test for.
constexpr std::string_view CustomPanelClass = "TCustomPanel";
constexpr std::string_view MemoClass = "TMemo";
// The vendor button whose "Kind" makes it a menu button.
constexpr std::string_view DropDownButtonClass = "TcxButton";

// Published properties the mapping reads or sets by name.
constexpr std::string_view TransparentProp = "Transparent";
constexpr std::string_view NumButtonsProp = "NumButtons";

// Window classes and styles of bare windows (lower-case class names).
constexpr std::string_view ButtonWindowClass = "button";
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

bool InList(std::string_view Name, const auto& List) { return std::find(List.begin(), List.end(), Name) != List.end(); }

bool ContainsAny(std::string_view Text, const auto& Parts) {
    return std::any_of(Parts.begin(), Parts.end(),
                       [&](std::string_view Part) { return Text.find(Part) != std::string_view::npos; });
}

// --- Actions of the rows -------------------------------------------------------------------------

using TControlAction = void (*)(TControlMapping& Mapping, TControl* Control, const std::string& UpperClass);
using TWindowAction = void (*)(TControlMapping& Mapping, HWND Window);

// A row whose skinner is not part of the engine yet: the control keeps its own look. Its row names
// the skinner it waits for; building that skinner puts an action here.
constexpr TControlAction NotYet = nullptr;
constexpr TWindowAction WindowNotYet = nullptr;

template <class S>
void Plain(TControlMapping& Mapping, TControl* Control, const std::string&) {
    Mapping.SkinWith<S>(Control, false);
}

template <class S>
void WithSkinColor(TControlMapping& Mapping, TControl* Control, const std::string&) {
    Mapping.SkinWith<S>(Control, true);
}

template <class S>
void ByHandle(TControlMapping& Mapping, TControl* Control, const std::string&) {
    Mapping.SkinByHandle<S>(Control);
}

void ChildrenOnly(TControlMapping& Mapping, TControl* Control, const std::string&) { Mapping.MapChildren(Control); }

template <TControlAction Then>
void ChildrenThen(TControlMapping& Mapping, TControl* Control, const std::string& UpperClass) {
    Mapping.MapChildren(Control);
    Then(Mapping, Control, UpperClass);
}

// The scroll-bar skinner of a scrolling control (Kind 1: one bar only, no border of the skinner's).
void SkinScrolling(TControlMapping& Mapping, TControl* Control, int32_t Kind) {
    if (auto* Windowed = ObjectAs<TWinControl>(Control)) Mapping.SkinScrolling(Windowed, Kind);
}

void Scrolling(TControlMapping& Mapping, TControl* Control, const std::string&) {
    SkinScrolling(Mapping, Control, ScrollBarsKind);
}

// A button inside a radio or check group: a glyph image in the groups of one vendor, else a radio
// button or check box skinner. Neither is part of the engine yet: the buttons keep their own look.
void SkinGroupButton(TControlMapping&, TControl*, bool /*Radio*/, bool /*GlyphImage*/) {}

void SkinGroupButtons(TControlMapping& Mapping, TControl* Group, const std::string& UpperClass, bool Radio) {
    auto* Container = ObjectAs<TWinControl>(Group);
    if (Container == nullptr) return;
    const bool GlyphImage = UpperClass.find(GlyphGroupPart) != std::string::npos;
    for (int32_t Index = 0; Index < Container->ControlCount(); ++Index)
        SkinGroupButton(Mapping, Container->Controls(Index), Radio, GlyphImage);
}

// Row 6: the navigator's face colour, then its buttons on their own.
void NavigatorAndButtons(TControlMapping& Mapping, TControl* Control, const std::string&) {
    Mapping.SkinWith<TSkinBox>(Control, true);
    auto* Container = ObjectAs<TWinControl>(Control);
    if (Container == nullptr) return;
    for (int32_t Index = 0; Index < Container->ControlCount(); ++Index)
        Mapping.MapControl(Container->Controls(Index), nullptr);
}

// Row 21: a form inside the window wears the face colour and its own controls are mapped.
void EmbeddedForm(TControlMapping& Mapping, TControl* Control, const std::string&) {
    Mapping.SkinWith<TSkinBox>(Control, true);
    Mapping.WalkComponents(Control);
}

// --- The built-in rules --------------------------------------------------------------------------

struct TBuiltInRule {
    std::array<std::string_view, 3> Names;      // upper-case class names, any of which matches; none: any
    std::string_view FrameworkClass;            // the control is of this class or descends from it; empty: any
    bool (*Test)(TControl*, const TSkinData&);  // a further test; nullptr: none
    std::optional<TSkinControlType> Needs;      // the SkinControls member the result needs
    TControlAction Action;                      // NotYet: no skinner (yet)
};

bool TabsDefined(TControl*, const TSkinData& Data) { return Data.FTabs != nullptr; }
bool WithScrollBars(TControl* Control, const TSkinData&) { return TControlMapping::HasScrollBars(Control); }
bool NotDCEdit(TControl* Control, const TSkinData&) {
    const std::string Upper = UpperCase(Control->ClassName());
    return Upper != "TDCEDIT" && Upper != "TDCDBEDIT";
}
bool OneButton(TControl* Control, const TSkinData&) { return GetIntProp(Control, NumButtonsProp) == 1; }
bool NoButton(TControl* Control, const TSkinData&) { return GetIntProp(Control, NumButtonsProp) == 0; }

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
    {{}, "TButton", nullptr, xcButton, Plain<TSkinButton>},
    {{}, "TCustomEdit", nullptr, xcEdit, Plain<TSkinEdit>},
    {{}, "TCustomForm", NotDCEdit, std::nullopt, EmbeddedForm},
    {{"TDCEDIT", "TDCDBEDIT"}, {}, OneButton, xcCombo, NotYet /* TSkinComBox */},
    {{"TDCEDIT", "TDCDBEDIT"}, {}, NoButton, xcEdit, ByHandle<TSkinEdit>},
};

bool Matches(const TBuiltInRule& Rule, TControl* Control, const std::string& UpperClass, const TSkinData& Data) {
    const bool Named = !Rule.Names[0].empty();
    if (Named && !InList(UpperClass, Rule.Names)) return false;
    if (!Rule.FrameworkClass.empty() && !Control->InheritsFrom(Rule.FrameworkClass)) return false;
    return Rule.Test == nullptr || Rule.Test(Control, Data);
}

// --- The Skin3rd kinds ---------------------------------------------------------------------------

void BorderedEdit(TControlMapping& Mapping, TControl* Control, const std::string&) {
    auto* Windowed = ObjectAs<TWinControl>(Control);
    if (Windowed == nullptr) return;
    const HWND Window = Windowed->Handle();
    RECT WindowRect{};
    RECT Client{};
    GetWindowRect(Window, &WindowRect);
    GetClientRect(Window, &Client);
    const bool Bordered =
        WindowRect.right - WindowRect.left != Client.right || WindowRect.bottom - WindowRect.top != Client.bottom;
    if (Bordered) Mapping.SkinWith<TSkinEdit>(Control, false);
}

void TransparentPanel(TControlMapping& Mapping, TControl* Control, const std::string&) {
    SetPropText(Control, TransparentProp, "True");
    Mapping.SkinWith<TSkinBox>(Control, true);
}

void ScrollingContainer(TControlMapping& Mapping, TControl* Control, const std::string&) {
    SkinScrolling(Mapping, Control, ScrollBarsKind);
    Mapping.MapChildren(Control);
}

void SingleScrollBar(TControlMapping& Mapping, TControl* Control, const std::string&) {
    SkinScrolling(Mapping, Control, SingleScrollBarKind);
}

void EmbeddedScrollBars(TControlMapping& Mapping, TControl* Control, const std::string&) {
    auto* Container = ObjectAs<TWinControl>(Control);
    if (Container == nullptr) return;
    for (int32_t Index = 0; Index < Container->ControlCount(); ++Index) {
        TControl* Child = Container->Controls(Index);
        if (TControlMapping::HasScrollBars(Child)) SkinScrolling(Mapping, Child, ScrollBarsKind);
    }
}

void RadioGroup(TControlMapping& Mapping, TControl* Control, const std::string& UpperClass) {
    if (Mapping.Has(xcRadioButton)) SkinGroupButtons(Mapping, Control, UpperClass, true);
    Mapping.SkinWith<TSkinGroupBox>(Control, true);
}

void CheckGroup(TControlMapping& Mapping, TControl* Control, const std::string& UpperClass) {
    if (Mapping.Has(xcRadioButton)) SkinGroupButtons(Mapping, Control, UpperClass, false);
    if (Mapping.Has(xcGroupBox)) Mapping.SkinWith<TSkinGroupBox>(Control, true);
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

void WindowsInside(TControlMapping& Mapping, HWND Window) { Mapping.SkinForm().DiscoverWindows(Window); }

void PanelWindow(TControlMapping& Mapping, HWND Window) {
    Mapping.SkinForm().DiscoverWindows(Window);
    if (TWinControl* Control = WindowControl(Window)) Control->SetColor(Mapping.SkinData().ButtonFaceColor());
}

void SilentPanelWindow(TControlMapping& Mapping, HWND Window) {
    if (TWinControl* Control = WindowControl(Window)) Control->SetColor(Mapping.SkinData().ButtonFaceColor());
}

template <class S>
void WindowSkinner(TControlMapping& Mapping, HWND Window) {
    Mapping.SkinWindow<S>(Window);
}

bool NotSimpleCombo(HWND, LONG Style) { return (Style & ComboTypeMask) != ComboSimpleStyle; }
bool HasChildWindow(HWND Window, LONG) { return GetWindow(Window, GW_CHILD) != nullptr; }
bool NoTabStop(HWND, LONG Style) { return (Style & TabStopStyle) == 0; }

struct TWindowRule {
    std::string_view Class;  // lower case
    std::optional<TSkinControlType> Needs;
    bool (*Test)(HWND, LONG Style);  // nullptr: none
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

TControlMapping::TControlMapping(TPellixForm& SkinForm) : FSkinForm(SkinForm), FSkinData(*SkinForm.FSkinData) {}

bool TControlMapping::Has(TSkinControlType Member) const { return FSkinData.SkinControls().Contains(Member); }

void TControlMapping::DiscoverForm(TCustomForm& Form) {
    WalkComponents(&Form);
    std::vector<TWinControl*> TabOrder;
    Form.GetTabOrderList(TabOrder);
    for (TWinControl* Control : TabOrder) {
        if (!Control->HandleAllocated() || Control->Tag() == FSkinData.DisableTag()) continue;
        if (SendMessageW(Control->Handle(), WM_SKINQUERY, 0, 0) == SkinQueryAnswer) continue;
        MapControl(Control, &Form);
    }
}

void TControlMapping::WalkComponents(TComponent* Component) {
    for (int32_t Index = 0; Index < Component->ComponentCount(); ++Index)
        if (auto* Control = ObjectAs<TControl>(Component->Components(Index))) MapControl(Control, Component);
    if (Has(xcPopupMenu)) FSkinForm.SkinPopupMenus(Component, true);
}

void TControlMapping::MapChildren(TControl* Control) {
    auto* Container = ObjectAs<TWinControl>(Control);
    if (Container == nullptr) return;
    for (int32_t Index = 0; Index < Container->ControlCount(); ++Index)
        MapControl(Container->Controls(Index), Container);
}

void TControlMapping::MapControl(TControl* Control, TComponent* Parent) {
    if (Control == nullptr) return;
    if (Control->Tag() == FSkinData.DisableTag()) {
        MarkGroupChildren(Control);
        return;
    }
    if (Control->Parent() == nullptr || IsSkinned(Control)) return;
    const std::string UpperClass = UpperCase(Control->ClassName());
    if (auto* Windowed = ObjectAs<TWinControl>(Control); Windowed != nullptr && !Windowed->HandleAllocated()) {
        try {
            Windowed->HandleNeeded();
        } catch (const Exception& Error) {
            QUIRN_TRACE(TTraceChannel::Control, "no window for ", Control->ClassName(), ": ", Error.Message());
            return;
        }
    }
    if (MapByEvent(Control, Parent, UpperClass)) return;
    if (MapByKind(Control, UpperClass)) return;
    if (InList(UpperClass, NeverSkinnedClasses)) return;
    MapBuiltIn(Control, UpperClass);
}

bool TControlMapping::MapByEvent(TControl* Control, TComponent* Parent, const std::string& UpperClass) {
    const TOnSkinControl OnSkinControl = FSkinData.OnSkinControl();
    if (!OnSkinControl) return false;
    TComponent* Given = nullptr;
    OnSkinControl(&FSkinForm, &FSkinData, ObjectAs<TControl>(Parent), Control, UpperClass, Given);
    if (Given == nullptr) return false;
    if (auto* Skinner = ObjectAs<TSkinControl>(Given); Skinner != nullptr && !FSkinForm.AddControlSkin(Skinner)) {
        Skinner->Attach(&FSkinForm, &FSkinData, Skinner->FUseSkinColor, FSkinForm.FControlCanvas.get());
        if (Control->InheritsFrom(CustomPanelClass)) MapChildren(Control);
    }
    return true;
}

bool TControlMapping::MapByKind(TControl* Control, const std::string& UpperClass) {
    const std::optional<std::string> Kind = Skin3rdKindOf(FSkinData, UpperClass);
    if (!Kind) return false;
    if (*Kind == Skin3rdNever) return true;
    for (const TKindRule& Rule : KindRules) {
        if (Rule.Kind != *Kind) continue;
        if (Rule.Needs && !Has(*Rule.Needs)) continue;
        if (Rule.NeedsTabs && FSkinData.FTabs == nullptr) continue;
        if (Rule.Action != NotYet) Rule.Action(*this, Control, UpperClass);
        break;
    }
    return true;
}

void TControlMapping::MapBuiltIn(TControl* Control, const std::string& UpperClass) {
    for (const TBuiltInRule& Rule : BuiltInRules) {
        if (!Matches(Rule, Control, UpperClass, FSkinData)) continue;
        if ((!Rule.Needs || Has(*Rule.Needs)) && Rule.Action != NotYet) Rule.Action(*this, Control, UpperClass);
        return;
    }
}

void TControlMapping::MapWindow(HWND Window) {
    if (Window == nullptr || FindControlSkin(Window) != nullptr) return;
    const std::string Class = LowerClassName(Window);
    const LONG Style = GetWindowLongW(Window, GWL_STYLE);
    if (Class == ButtonWindowClass && (Style & ButtonOwnerDrawStyle) != ButtonOwnerDrawStyle) {
        MapButtonWindow(Window, Style);
        return;
    }
    for (const TWindowRule& Rule : WindowRules) {
        if (Rule.Class != Class) continue;
        if (Rule.Needs && !Has(*Rule.Needs)) continue;
        if (Rule.Test != nullptr && !Rule.Test(Window, Style)) continue;
        if (Rule.Action != WindowNotYet) Rule.Action(*this, Window);
        return;
    }
}

void TControlMapping::MapButtonWindow(HWND Window, LONG Style) {
    if ((Style & ButtonGroupBoxStyle) == ButtonGroupBoxStyle || (Style & ButtonBitmapStyle) != 0) return;
    const bool CheckBox = (Style & ButtonAutoCheckStyle) == ButtonAutoCheckStyle || (Style & ButtonCheckBit) != 0 ||
                          (Style & Button3StateStyle) == Button3StateStyle;
    // Check boxes and radio buttons get their skinners once those are part of the engine
    // (TSkinCheckBox with xcCheckBox, TSkinRadioButton with xcRadioButton).
    if (CheckBox) return;
    const bool RadioButton = (Style & ButtonAutoRadioStyle) == ButtonAutoRadioStyle || (Style & ButtonRadioBit) != 0;
    if (RadioButton) return;
    if (Has(xcButton)) SkinWindow<TSkinButton>(Window);
}

bool TControlMapping::IsSkinned(TControl* Control) const {
    auto* Windowed = ObjectAs<TWinControl>(Control);
    if (Windowed != nullptr && Windowed->HandleAllocated() &&
        SendMessageW(Windowed->Handle(), WM_SKINQUERY, 0, 0) == SkinQueryAnswer)
        return true;
    for (TSkinControlLink* Link : FSkinForm.FControlSkins) {
        const auto* Skinner = dynamic_cast<TSkinControl*>(Link);
        if (Skinner != nullptr && (Skinner->Owner() == Control || Skinner->FGraphicControl == Control)) return true;
    }
    return false;
}

TSkinControl* TControlMapping::FindControlSkin(HWND Window) const {
    return dynamic_cast<TSkinControl*>(FSkinForm.FindControlSkin(Window));
}

void TControlMapping::MarkGroupChildren(TControl* Control) {
    auto* Group = ObjectAs<TWinControl>(Control);
    if (Group == nullptr || Group->ControlCount() == 0) return;
    if (!ContainsAny(LowerCase(Group->ClassName()), ButtonGroupParts)) return;
    for (int32_t Index = 0; Index < Group->ControlCount(); ++Index)
        Group->Controls(Index)->SetTag(FSkinData.DisableTag());
}

bool TControlMapping::HasScrollBars(TControl* Control) {
    auto* Windowed = ObjectAs<TWinControl>(Control);
    if (Windowed == nullptr) return false;
    if (Windowed->InheritsFrom(MemoClass)) return true;
    if (!Windowed->HandleAllocated()) return false;
    return (GetWindowLongW(Windowed->Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) != 0;
}

HWND TControlMapping::ControlWindow(TControl* Control) {
    auto* Windowed = ObjectAs<TWinControl>(Control);
    return Windowed != nullptr ? Windowed->Handle() : nullptr;
}

TSkinControl* TControlMapping::Attached(TSkinControl* Skinner, TControl*, bool UseSkinColor) {
    Skinner->Attach(&FSkinForm, &FSkinData, UseSkinColor, FSkinForm.FControlCanvas.get());
    if (Skinner->FAttached) return Skinner;
    delete Skinner;
    return nullptr;
}

TSkinControl* TControlMapping::SkinScrolling(TWinControl* Control, int32_t Kind) {
    auto* Skinner = new TSkinScrollbar(Control);
    Skinner->FKind = Kind;
    Skinner->AttachScrolling(Control, &FSkinData, &FSkinForm, FSkinForm.FControlCanvas.get());
    if (Skinner->FAttached) return Skinner;
    delete Skinner;
    return nullptr;
}

TSkinControl* TControlMapping::AttachedByHandle(TSkinControl* Skinner, HWND Window) {
    Skinner->AttachHandle(Window, &FSkinData, &FSkinForm, FSkinForm.FControlCanvas.get());
    if (Skinner->FAttached) return Skinner;
    delete Skinner;
    return nullptr;
}

std::optional<std::string> Skin3rdKindOf(const TSkinData& SkinData, std::string_view ClassName) {
    const TStrings* Lines = SkinData.Skin3rd();
    if (Lines == nullptr) return std::nullopt;
    const std::string Prefix = LowerCase(ClassName) + "=";
    for (int32_t Index = 0; Index < Lines->Count(); ++Index) {
        const std::string Line = LowerCase(Lines->Strings(Index));
        if (!Line.starts_with(Prefix)) continue;
        return Line.substr(Prefix.size(), Skin3rdKindChars);
    }
    return std::nullopt;
}
