// Control discovery and mapping: which control gets which skinner through the built-in rules, the
// skin data's Skin3rd list and its settings, the application's own choice, and bare windows of a
// system message box found by handle.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "ControlKit.h"
#include "InputScript.h"
#include "framework/controls/CustomControl.h"
#include "framework/core/PropAccess.h"

using namespace formtest;
using namespace controltest;

// A group control of another vendor: its class name says it holds radio buttons.
class TTestRadioGroup : public TCustomControl {
    QUIRN_CLASS(TTestRadioGroup, TCustomControl)
public:
    explicit TTestRadioGroup(TComponent* AOwner) : TCustomControl(AOwner) {}
};
QUIRN_DEFINE_CLASS(TTestRadioGroup)

// A button that answers the skin query itself, as one skinned by another form skinner does.
class TQueryAnsweringButton : public TButton {
    QUIRN_CLASS(TQueryAnsweringButton, TButton)
public:
    explicit TQueryAnsweringButton(TComponent* AOwner) : TButton(AOwner) {}
    void WndProc(TMessage& Message) override {
        if (Message.Msg == WM_SKINQUERY) {
            Message.Result = 1;
            return;
        }
        TButton::WndProc(Message);
    }
};
QUIRN_DEFINE_CLASS(TQueryAnsweringButton)

namespace {

class ControlMappingTest : public ::testing::Test {
protected:
    void TearDown() override { FreeForm(Basic.Form); }

    // The basic form, with the skin data's settings changed before it is shown.
    template <class Setup>
    void Show(Setup&& Change) {
        Basic = MakeBasicForm(DefaultPackage());
        Change(*Basic.Data);
        ASSERT_TRUE(ShowBasicForm(Basic));
        Skinner = formtest::SkinnerOf(Basic.Form->Handle());
        ASSERT_NE(Skinner, nullptr);
    }
    void Show() {
        Show([](TSkinData&) {});
    }
    template <class C>
    C* Add(TWinControl* Parent) {
        auto* Control = new C(Basic.Form);
        Control->SetParent(Parent);
        Control->SetBounds(300, 200, 80, 40);
        return Control;
    }
    TSkinControl* Of(TControl* Control) { return controltest::SkinnerOf(*Skinner, Control); }

    TBackdrop Backdrop;
    TBasicForm Basic;
    TPellixForm* Skinner = nullptr;
};

TEST_F(ControlMappingTest, TheBuiltInRulesGiveEachBasicControlItsSkinner) {
    Show();
    EXPECT_NE(dynamic_cast<TSkinButton*>(Of(Basic.Button)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinButton*>(Of(Basic.DisabledButton)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinEdit*>(Of(Basic.Edit)), nullptr);
    EXPECT_NE(dynamic_cast<TSkinEdit*>(Of(Basic.FlatEdit)), nullptr);  // the built-in rule takes any edit
    auto* Group = dynamic_cast<TSkinGroupBox*>(Of(Basic.Group));
    ASSERT_NE(Group, nullptr);
    EXPECT_EQ(Group->FKind, GroupBoxPaintsAll);
    EXPECT_FALSE(Group->FUseSkinColor);
    EXPECT_NE(dynamic_cast<TSkinStatusBar*>(Of(Basic.Status)), nullptr);
    EXPECT_EQ(Of(Basic.GroupLabel), nullptr);
    // A panel wears the face colour, and its own controls are mapped through it.
    auto* Panel = dynamic_cast<TSkinBox*>(Of(Basic.Panel));
    ASSERT_NE(Panel, nullptr);
    EXPECT_TRUE(Panel->FUseSkinColor);
    EXPECT_EQ(Panel->FOldColor, BasicPanelColour);
    EXPECT_EQ(Basic.Panel->Color(), Basic.Data->ButtonFaceColor());
    EXPECT_NE(dynamic_cast<TSkinButton*>(Of(Basic.PanelButton)), nullptr);
    EXPECT_FALSE(TControlMapping::HasScrollBars(Basic.Button));
    EXPECT_FALSE(TControlMapping::HasScrollBars(Basic.Panel));
    EXPECT_TRUE(TControlMapping::HasScrollBars(Basic.Memo));
    EXPECT_TRUE(TControlMapping::HasScrollBars(Basic.List));
}

TEST_F(ControlMappingTest, ADisabledRadioGroupPassesItsTagToItsButtons) {
    Basic = MakeBasicForm(DefaultPackage());
    auto* Group = new TTestRadioGroup(Basic.Form);
    Group->SetParent(Basic.Form);
    Group->SetBounds(300, 200, 100, 60);
    Group->SetTag(Basic.Data->DisableTag());
    auto* Inside = new TButton(Basic.Form);
    Inside->SetParent(Group);
    Inside->SetBounds(5, 5, 60, 24);
    ASSERT_TRUE(ShowBasicForm(Basic));
    Skinner = formtest::SkinnerOf(Basic.Form->Handle());
    EXPECT_EQ(Inside->Tag(), Basic.Data->DisableTag());
    EXPECT_EQ(Of(Inside), nullptr);
    EXPECT_EQ(SendMessageW(Inside->Handle(), WM_SKINQUERY, 0, 0), 0);
    // A plain group box with the tag keeps its children's tags.
    TControlMapping Mapping(*Skinner);
    auto* Box = Add<TGroupBox>(Basic.Form);
    auto* InBox = new TButton(Basic.Form);
    InBox->SetParent(Box);
    Box->SetTag(Basic.Data->DisableTag());
    Mapping.MapControl(Box, Basic.Form);
    EXPECT_EQ(InBox->Tag(), 0);
    EXPECT_EQ(Of(Box), nullptr);
}

TEST_F(ControlMappingTest, Skin3rdLinesChooseByKindAndTheFirstLineForAClassWins) {
    Show([](TSkinData& Data) {
        Data.Skin3rd()->Clear();
        Data.Skin3rd()->Add("tbutton=nil");
        Data.Skin3rd()->Add("TGroupBox=Groupbox");
        Data.Skin3rd()->Add("TGROUPBOX=Panel");
        Data.Skin3rd()->Add("TEdit=EDIT");
    });
    EXPECT_EQ(Skin3rdKindOf(*Basic.Data, "TGROUPBOX"), "groupbox");
    EXPECT_EQ(Skin3rdKindOf(*Basic.Data, "TMemo"), std::nullopt);
    // "nil" keeps the class and its built-in rule away.
    EXPECT_EQ(Of(Basic.Button), nullptr);
    EXPECT_EQ(SendMessageW(Basic.Button->Handle(), WM_SKINQUERY, 0, 0), 0);
    // The group-box kind (with the skin colour), not the panel kind of the later line.
    auto* Group = dynamic_cast<TSkinGroupBox*>(Of(Basic.Group));
    ASSERT_NE(Group, nullptr);
    EXPECT_TRUE(Group->FUseSkinColor);
    EXPECT_EQ(Basic.Group->Color(), Basic.Data->ButtonFaceColor());
    // The edit kind skins only an edit with a border.
    EXPECT_NE(dynamic_cast<TSkinEdit*>(Of(Basic.Edit)), nullptr);
    EXPECT_EQ(Of(Basic.FlatEdit), nullptr);
}

TEST_F(ControlMappingTest, GroupBoxesFollowThePanelSwitchNotTheGroupBoxOne) {
    Show([](TSkinData& Data) { Data.SetSkinControls(Data.SkinControls() - TSkinControlTypes{xcGroupBox}); });
    EXPECT_NE(dynamic_cast<TSkinGroupBox*>(Of(Basic.Group)), nullptr);
    FreeForm(Basic.Form);
    Show([](TSkinData& Data) { Data.SetSkinControls(Data.SkinControls() - TSkinControlTypes{xcPanel}); });
    EXPECT_EQ(Of(Basic.Group), nullptr);
    EXPECT_NE(Of(Basic.Button), nullptr);  // the rule that matched ended the chain for the group only
    // And the group's children were not mapped through it, but the tab-order pass still found none.
    EXPECT_EQ(Of(Basic.GroupLabel), nullptr);
}

TEST_F(ControlMappingTest, ControlsSkinnedElsewhereAndTheApplicationsOwnChoiceAreRespected) {
    Basic = MakeBasicForm(DefaultPackage());
    auto* Answering = new TQueryAnsweringButton(Basic.Form);
    Answering->SetParent(Basic.Form);
    Answering->SetBounds(300, 200, 80, 30);
    auto* Chosen = new TButton(Basic.Form);
    Chosen->SetParent(Basic.Form);
    Chosen->SetBounds(300, 240, 80, 30);
    struct THandler : TObject {
        TButton* Chosen;
        TButton* Refused;
        int32_t Calls = 0;
        void OnSkinControl(TComponent*, TSkinData*, TControl*, TControl* Control, const std::string& ControlClass,
                           TComponent*& Skinned) {
            ++Calls;
            EXPECT_EQ(ControlClass, UpperCase(Control->ClassName()));
            if (Control == Chosen) Skinned = new TSkinGroupBox(Control);  // any skinner the application likes
            if (Control == Refused) Skinned = Control;                    // an object that is no skinner
        }
    } Handler;
    Handler.Chosen = Chosen;
    Handler.Refused = Basic.DefaultButton;
    Basic.Data->SetOnSkinControl(TOnSkinControl(&Handler, &THandler::OnSkinControl));
    ASSERT_TRUE(ShowBasicForm(Basic));
    Skinner = formtest::SkinnerOf(Basic.Form->Handle());
    EXPECT_GT(Handler.Calls, 0);
    EXPECT_EQ(Of(Answering), nullptr);
    EXPECT_NE(dynamic_cast<TSkinGroupBox*>(Of(Chosen)), nullptr);
    EXPECT_EQ(SendMessageW(Chosen->Handle(), WM_SKINQUERY, 0, 0), 1);
    EXPECT_EQ(Of(Basic.DefaultButton), nullptr);
    EXPECT_NE(Of(Basic.Button), nullptr);
    Basic.Data->SetOnSkinControl(TOnSkinControl());
}

TEST_F(ControlMappingTest, AMessageBoxsButtonsAreFoundByHandleAndClickThroughTheSkinner) {
    Show();
    std::atomic<bool> Skinned{false};
    std::atomic<int> Mismatches{-1};
    std::string Report;
    // The box runs its own modal loop on this thread; a driver thread looks at it and clicks it.
    std::thread Driver([&] {
        HWND Box = nullptr;
        HWND Ok = nullptr;
        const bool Found = realinput::WaitFor([&] {
            Box = FindWindowW(L"#32770", L"Skinned box");
            Ok = Box != nullptr ? GetDlgItem(Box, IDOK) : nullptr;
            return Ok != nullptr && SendMessageW(Ok, WM_SKINQUERY, 0, 0) == 1;
        });
        if (!Found) {
            if (Box != nullptr) PostMessageW(Box, WM_COMMAND, IDCANCEL, 0);
            return;
        }
        Skinned = true;
        // Away from the button, so that it shows its focused look, not its hover look.
        const RECT Button = WindowRectOf(Ok);
        MoveMouse(POINT{Button.right + 40, Button.bottom + 40});
        RedrawWindow(Ok, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        realinput::WaitFor([&] {
            const TDataSkinButton& Element = *Basic.Data->FButtons;
            const TCornerCheck Check = CompareCorners(TScreenPixels(WindowRectOf(Ok)), Element, Element.Frame,
                                                      /* focused or default */ 5, ToRGB(Basic.Data->ButtonFaceColor()));
            Mismatches = Check.Mismatches;
            Report = Check.Report;
            return Check.Mismatches == 0;
        });
        // The skinner clicks at the release: the box closes with the button's command.
        Click(POINT{(Button.left + Button.right) / 2, (Button.top + Button.bottom) / 2});
        if (!realinput::WaitFor([&] { return !IsWindow(Box); })) PostMessageW(Box, WM_COMMAND, IDCANCEL, 0);
    });
    const int Answer = MessageBoxW(Basic.Form->Handle(), L"A message", L"Skinned box", MB_OK);
    Driver.join();
    EXPECT_TRUE(Skinned);
    EXPECT_EQ(Mismatches, 0) << Report;
    EXPECT_EQ(Answer, IDOK);
}

}  // namespace
