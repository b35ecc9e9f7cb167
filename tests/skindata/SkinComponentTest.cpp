// The skin data component: settings after Create, display-only properties,
// the stored package in form streams, Loaded, Active, its requests to the skin
// engine (or none without one), the form-skin decision, caption-button hints
// and the unit services.
#include <gtest/gtest.h>

#include <algorithm>

#include "SkinFixtures.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "framework/controls/HintWindow.h"
#include "framework/controls/Form.h"
#include "framework/win/DeviceContext.h"
#include "skin/data/SkinThirdParty.h"
#include "skin/data/SkinEngineLink.h"

using namespace skintest;

namespace {

// A skin engine that records what a skin data component asks of it, installed in place of the
// manager (this program does not link skin/form): the component's side of the conversation.
using TEngineCall = std::pair<std::string, const void*>;  // operation and its argument

class TRecordingEngine final : public TSkinEngineLink {
public:
    std::vector<TEngineCall> Calls;
    bool Created = false;
    bool FRunning = false;

    void RegisterSkinData(TSkinData* SkinData) override { Calls.emplace_back("Register", SkinData); }
    void UnregisterSkinData(TSkinData* SkinData) override { Calls.emplace_back("Unregister", SkinData); }
    void InstallHook() override { Calls.emplace_back("InstallHook", nullptr); }
    void RequestAction(TSkinData* SkinData, int32_t Action, uint32_t Interval) override {
        Calls.emplace_back("Action " + std::to_string(Action) + " " + std::to_string(Interval), SkinData);
    }
    void ResetSysButtons(TSkinData* SkinData) override { Calls.emplace_back("ResetSysButtons", SkinData); }
    bool Running() const override { return FRunning; }
    void MarkRunning() override { Calls.emplace_back("MarkRunning", nullptr); }
    void AddOwnFormSkinData() override { Calls.emplace_back("AddOwnFormSkinData", nullptr); }
    bool SkinWindow(HWND Window) override {
        Calls.emplace_back("SkinWindow", Window);
        return false;
    }
};

TRecordingEngine* Recorder = nullptr;
TSkinEngineLink* FindRecorder() { return Recorder != nullptr && Recorder->Created ? Recorder : nullptr; }
TSkinEngineLink* CreateRecorder() {
    Recorder->Created = true;
    return Recorder;
}

// Each test talks to a fresh recording engine, created (as the manager is) by the first Loaded.
class SkinComponent : public ::testing::Test {
protected:
    void SetUp() override {
        Recorder = &Engine;
        Previous = SetSkinEngineFactory({FindRecorder, CreateRecorder});
    }
    void TearDown() override {
        SetSkinEngineFactory(Previous);
        Recorder = nullptr;
    }
    TRecordingEngine Engine;
    TSkinEngineFactory Previous;
};

TEST_F(SkinComponent, SettingsAfterCreate) {
    TSkinData Data(nullptr);
    EXPECT_FALSE(Data.Active());
    EXPECT_EQ(Data.DisableTag(), 99);
    TSkinControlTypes Expected;
    for (int I = 0; I < SkinControlTypeCount; ++I) Expected.Include(static_cast<TSkinControlType>(I));
    Expected.Exclude(xcMenuItem).Exclude(xcFastReport);
    EXPECT_TRUE(Data.SkinControls() == Expected);
    EXPECT_TRUE(Data.Options() == (TSkinOptions{xoPreview, xoToolbarBK, xoCaptionButtonHint}));
    EXPECT_EQ(Data.SkinFile(), "");
    EXPECT_EQ(Data.SkinStore(), "(none)");
    EXPECT_EQ(Data.SkinFormtype(), sfMainform);
    EXPECT_EQ(Data.Version(), "5.40.07.15");
    EXPECT_TRUE(Data.MenuUpdate());
    EXPECT_FALSE(Data.MenuMerge());
    EXPECT_TRUE(Data.FSkinLoading);
    EXPECT_FALSE(Data.FHintShown);
    EXPECT_EQ(Data.FTitle->Name, "Title");
    EXPECT_EQ(Data.FButtons->Name, "Buttons");
    EXPECT_EQ(Data.FBorderLeft->Name, "Left");
    EXPECT_EQ(Data.FBorderRight->Name, "Right");
    EXPECT_EQ(Data.FBorderTop->Name, "Top");
    EXPECT_EQ(Data.FBorderBottom->Name, "Bottom");
    EXPECT_EQ(Data.FSmallIcon->PixelFormat(), pf24bit);
    EXPECT_EQ(Data.FMenuImages->Count(), 4);
    EXPECT_EQ(Data.FMenuImages->Width(), 16);
    EXPECT_EQ(Data.FMaxWidth, GetSystemMetrics(SM_CXMAXIMIZED));
}

TEST_F(SkinComponent, DefaultSkin3rdListInOrder) {
    TSkinData Data(nullptr);
    TStrings& List = *Data.Skin3rd();
    ASSERT_EQ(List.Count(), 118);
    EXPECT_EQ(List.Strings(0), "TCategoryButtons=scrollbar");
    EXPECT_EQ(List.Strings(1), "TPngSpeedbutton=pngspeedbutton");
    EXPECT_EQ(List.Strings(117), "TOVCDBNUMERICFIELD=Edit");
    int Twice = 0;
    for (int32_t I = 0; I < List.Count(); ++I) Twice += List.Strings(I) == "TDBCheckboxEh=Checkbox";
    EXPECT_EQ(Twice, 2);
    TStringList Other;
    Other.Add("TMyGrid=scrollbar");
    Data.SetSkin3rd(&Other);
    ASSERT_EQ(List.Count(), 1);
    EXPECT_EQ(List.Strings(0), "TMyGrid=scrollbar");
}

TEST_F(SkinComponent, DisplayOnlyPropertiesIgnoreWrites) {
    TSkinData Data(nullptr);
    ASSERT_TRUE(LoadPackageBytes(Data, SmallSkin().Package()));
    Data.SetVersion("1.0");
    Data.SetSkinStore("(Good)");
    EXPECT_EQ(Data.Version(), "5.40.07.15");
    EXPECT_EQ(Data.SkinStore(), "(none)");  // run time, even with a package stored
    Data.SetDesigning(true);
    EXPECT_EQ(Data.SkinStore(), "(Good)");
}

TEST_F(SkinComponent, StoredPackageRoundTripsThroughAFormStreamAndIsParsedOnRead) {
    const std::vector<uint8_t> Package = SmallSkin().Package();
    TMemoryStream Form;
    {
        TSkinHolder Holder(nullptr);
        Holder.SetName("Holder");
        auto* Data = new TSkinData(&Holder);
        Data->SetName("SkinData1");
        Data->SetActive(true);
        ASSERT_TRUE(LoadPackageBytes(*Data, Package));
        WriteComponent(Form, &Holder);
    }
    // The binary value: type 0x0A, count S + 4, then S and the package.
    const std::vector<uint8_t> Bytes(Form.Memory(), Form.Memory() + Form.Size());
    std::vector<uint8_t> Expected = {0x0A};
    const uint32_t S = static_cast<uint32_t>(Package.size());
    for (uint32_t Value : {S + 4, S})
        for (int Shift = 0; Shift < 32; Shift += 8) Expected.push_back(static_cast<uint8_t>(Value >> Shift));
    Expected.insert(Expected.end(), Package.begin(), Package.end());
    EXPECT_NE(std::search(Bytes.begin(), Bytes.end(), Expected.begin(), Expected.end()), Bytes.end());

    Form.SetPosition(0);
    TSkinHolder Read(nullptr);
    ReadComponentRes(Form, &Read);
    ASSERT_NE(Read.SkinData1, nullptr);
    TSkinData& Data = *Read.SkinData1;
    EXPECT_FALSE(Data.FSkinLoading);
    EXPECT_EQ(Data.FSkinName, "Small");
    EXPECT_EQ(Data.SkinStream().Size(), static_cast<int64_t>(Package.size()));
    EXPECT_TRUE(Data.Active());
    // Loaded ran: the engine was made, and asked once to skin.
    const std::vector<TEngineCall> Requests = {{"Register", &Data}, {"InstallHook", nullptr}, {"Action 1 250", &Data}};
    EXPECT_EQ(Engine.Calls, Requests);
}

TEST_F(SkinComponent, EmptyStoredPackageWritesOnlyItsLength) {
    TMemoryStream Out;
    TSkinHolder Holder(nullptr);
    Holder.SetName("Holder");
    auto* Held = new TSkinData(&Holder);
    Held->SetName("SkinData1");
    WriteComponent(Out, &Holder);
    const std::vector<uint8_t> Bytes(Out.Memory(), Out.Memory() + Out.Size());
    const std::vector<uint8_t> Expected = {0x0A, 4, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_NE(std::search(Bytes.begin(), Bytes.end(), Expected.begin(), Expected.end()), Bytes.end());
    Out.SetPosition(0);
    TSkinHolder Read(nullptr);
    ReadComponentRes(Out, &Read);
    ASSERT_NE(Read.SkinData1, nullptr);
    EXPECT_TRUE(Read.SkinData1->FSkinLoading);
}

TEST_F(SkinComponent, ActiveWithoutSkinIsSwitchedOffAtLoaded) {
    TSkinData Data(nullptr);
    Data.SetActive(true);  // before Loaded: only stored
    Data.Loaded();
    EXPECT_FALSE(Data.Active());
    const std::vector<TEngineCall> Requests = {{"Register", &Data}, {"InstallHook", nullptr}};  // no action
    EXPECT_EQ(Engine.Calls, Requests);
}

TEST_F(SkinComponent, LoadedAdjustsSkinControls) {
    TSkinData WithMenu(nullptr);
    WithMenu.SetSkinControls(TSkinControlTypes{xcMainMenu, xcMenuItem, xcSystemMenu});
    WithMenu.Loaded();
    EXPECT_TRUE(WithMenu.SkinControls() == (TSkinControlTypes{xcMainMenu, xcSystemMenu}));

    TSkinData WithoutMenu(nullptr);
    WithoutMenu.SetSkinControls(TSkinControlTypes{xcMenuItem, xcSystemMenu, xcScrollbar});
    WithoutMenu.Loaded();
    EXPECT_TRUE(WithoutMenu.SkinControls() == (TSkinControlTypes{xcMenuItem, xcScrollbar}));
}

TEST_F(SkinComponent, SystemWithoutScrollBarInfoLosesScrollbarSkinning) {
    const TGetScrollBarInfoProc Saved = GetScrollBarInfoEntry;
    ASSERT_NE(Saved, nullptr);
    GetScrollBarInfoEntry = nullptr;
    TSkinData Data(nullptr);
    Data.Loaded();
    GetScrollBarInfoEntry = Saved;
    EXPECT_FALSE(Data.SkinControls().Contains(xcScrollbar));
    SCROLLBARINFO Info{};
    Info.cbSize = sizeof(Info);
    GetScrollBarInfoEntry = nullptr;
    EXPECT_FALSE(SafeGetScrollBarInfo(GetDesktopWindow(), OBJID_VSCROLL, Info));
    GetScrollBarInfoEntry = Saved;
}

TEST_F(SkinComponent, ActiveRequestsActionsOnceLoaded) {
    TSkinData Data(nullptr);
    Data.SetActive(true);  // not loaded yet: only stored, Loaded acts
    EXPECT_TRUE(Engine.Calls.empty());
    Data.SetActive(false);
    ASSERT_TRUE(LoadPackageBytes(Data, SmallSkin().Package()));
    Data.Loaded();
    Engine.Calls.clear();
    Data.SetActive(true);
    Data.SetActive(false);
    const std::vector<TEngineCall> MainForm = {
        {"Action 1 250", &Data}, {"MarkRunning", nullptr}, {"Action 2 250", &Data}};
    EXPECT_EQ(Engine.Calls, MainForm);

    // Skinning its own form: on and off, but nothing while it has no skin.
    TSkinData Own(nullptr);
    Own.SetSkinFormtype(sfOnlyThisForm);
    Own.Loaded();
    Engine.Calls.clear();
    Own.SetActive(true);
    EXPECT_TRUE(Engine.Calls.empty());  // a pending action of another component stays its own
    Own.SetActive(false);
    ASSERT_TRUE(LoadPackageBytes(Own, SmallSkin().Package()));
    Own.SetActive(true);
    const std::vector<TEngineCall> OwnForm = {{"Action 2 250", &Own}, {"Action 1 250", &Own}};
    EXPECT_EQ(Engine.Calls, OwnForm);

    // Dialogs and DLLs request nothing.
    for (TSkinFormType Type : {sfDialog, sfDLL}) {
        TSkinData Other(nullptr);
        Other.SetSkinFormtype(Type);
        ASSERT_TRUE(LoadPackageBytes(Other, SmallSkin().Package()));
        Other.Loaded();
        Engine.Calls.clear();
        Other.SetActive(true);
        Other.SetActive(false);
        EXPECT_TRUE(Engine.Calls.empty());
    }
}

TEST_F(SkinComponent, ActiveOnWithoutSkinStartsNothing) {
    TSkinData Data(nullptr);
    Data.Loaded();
    Engine.Calls.clear();
    Data.SetActive(true);
    EXPECT_TRUE(Data.Active());
    EXPECT_TRUE(Engine.Calls.empty());
}

TEST_F(SkinComponent, OtherFormTypesSwitchTheEngineOnAndSkinTheirFormAtLoaded) {
    TSkinData Data(nullptr);
    Data.SetSkinFormtype(sfOnlyThisForm);
    Data.SetActive(true);
    Data.Loaded();  // no form owns it: nothing to skin at once, and no hook
    std::vector<TEngineCall> Expected = {{"Register", &Data}, {"AddOwnFormSkinData", nullptr}};
    EXPECT_EQ(Engine.Calls, Expected);

    auto Form = std::make_unique<TForm>(nullptr);
    auto* Held = new TSkinData(Form.get());
    Held->SetSkinFormtype(sfDialog);
    Held->SetActive(true);
    Engine.Calls.clear();
    Held->Loaded();
    Expected = {{"Register", Held}, {"AddOwnFormSkinData", nullptr}, {"SkinWindow", Form->Handle()}};
    EXPECT_EQ(Engine.Calls, Expected);
}

TEST_F(SkinComponent, DestroyedComponentUnregisters) {
    TSkinData* Seen = nullptr;
    {
        TSkinData Data(nullptr);
        Seen = &Data;
        Data.Loaded();
    }
    ASSERT_FALSE(Engine.Calls.empty());
    EXPECT_EQ(Engine.Calls.back(), TEngineCall("Unregister", Seen));
}

TEST_F(SkinComponent, SkinFileAppliesTheNewSkinThroughTheEngine) {
    const std::string Path = WriteTempPackage(SmallSkin().Package(), "quirn-skinfile-data.skn");
    TSkinData Data(nullptr);
    Data.SetSkinFile(Path);
    EXPECT_FALSE(Data.FSkinLoading);
    EXPECT_EQ(Data.FSkinName, "Small");
    // ApplySkinFile ran Loaded first; the engine does not run yet: no skin-changed action.
    std::vector<TEngineCall> Expected = {{"Register", &Data}, {"InstallHook", nullptr}, {"ResetSysButtons", &Data}};
    EXPECT_EQ(Engine.Calls, Expected);
    Engine.Calls.clear();
    Engine.FRunning = true;
    Data.SetSkinFile(Path);
    Expected = {{"ResetSysButtons", &Data}, {"Action 3 250", &Data}};
    EXPECT_EQ(Engine.Calls, Expected);
    DeleteFileA(Path.c_str());
}

TEST_F(SkinComponent, WithoutAnEngineTheComponentStillLoadsSkins) {
    SetSkinEngineFactory({});  // as in a program that does not link the engine
    EXPECT_EQ(CreateSkinEngine(), nullptr);
    EXPECT_EQ(SkinEngine(), nullptr);
    const std::string Path = WriteTempPackage(SmallSkin().Package(), "quirn-skinfile-alone.skn");
    {
        TSkinData Data(nullptr);
        ASSERT_TRUE(LoadPackageBytes(Data, SmallSkin().Package()));
        Data.SetActive(true);
        Data.Loaded();
        EXPECT_TRUE(Data.Active());  // a usable skin: stays on
        Data.SetActive(false);
        Data.SetActive(true);
        Data.SetSkinFile(Path);
        EXPECT_FALSE(Data.FSkinLoading);
        EXPECT_EQ(Data.FSkinName, "Small");
        EXPECT_EQ(Data.ButtonFaceColor(), RGBColor(230, 235, 245));
        TSkinData Own(nullptr);
        Own.SetSkinFormtype(sfOnlyThisForm);
        Own.SetActive(true);
        Own.Loaded();
    }
    EXPECT_TRUE(Engine.Calls.empty());
    DeleteFileA(Path.c_str());
}

TEST_F(SkinComponent, FormSkinDecision) {
    TSkinData Data(nullptr);
    const HWND Window = GetDesktopWindow();
    bool DoSkin = true;
    Data.DoFormSkin(Window, "SysMonthCal32", DoSkin);
    EXPECT_FALSE(DoSkin);
    EXPECT_EQ(Data.FLastWindow, Window);
    DoSkin = true;
    Data.DoFormSkin(Window, "TfrPreviewForm", DoSkin);
    EXPECT_TRUE(DoSkin);  // FastReport skinning is off by default: not excluded
    Data.SetSkinControls(Data.SkinControls() + TSkinControlTypes{xcFastReport});
    Data.DoFormSkin(Window, "TfrPreviewForm", DoSkin);
    EXPECT_FALSE(DoSkin);
    DoSkin = false;
    Data.DoFormSkin(Window, "TForm1", DoSkin);
    EXPECT_FALSE(DoSkin);  // left as it came

    struct THandler {
        std::string Seen;
        void OnFormSkin(TObject*, const std::string& Name, bool& Skin) {
            Seen = Name;
            Skin = true;
        }
    } Handler;
    Data.SetOnFormSkin(TOnFormSkin(&Handler, &THandler::OnFormSkin));
    DoSkin = false;
    Data.DoFormSkin(Window, "SysMonthCal32", DoSkin);
    EXPECT_TRUE(DoSkin);
    EXPECT_EQ(Handler.Seen, "SysMonthCal32");
}

TEST_F(SkinComponent, SkinChangedEventAndButtonHints) {
    TSkinData Data(nullptr);
    int Changed = 0;
    struct TCounter {
        int* Count;
        void OnChanged(TObject*) { ++*Count; }
    } Counter{&Changed};
    Data.DoSkinChanged();
    Data.SetOnSkinChanged(TNotifyEvent(&Counter, &TCounter::OnChanged));
    Data.DoSkinChanged();
    EXPECT_EQ(Changed, 1);

    Data.ShowButtonHint(RECT{100, 100, 120, 120}, "Close");
    EXPECT_TRUE(Data.FHintShown);
    EXPECT_TRUE(IsWindowVisible(Data.FHintWindow->Handle()));
    Data.HideButtonHint();
    EXPECT_FALSE(Data.FHintShown);
    EXPECT_FALSE(IsWindowVisible(Data.FHintWindow->Handle()));
    Data.SetOptions(TSkinOptions{xoPreview});
    Data.ShowButtonHint(RECT{100, 100, 120, 120}, "Close");
    EXPECT_FALSE(Data.FHintShown);
}

TEST_F(SkinComponent, TextServices) {
    EXPECT_EQ(AnsiToWide("Quirn"), L"Quirn");
    EXPECT_EQ(AnsiToWide(""), L"");
    EXPECT_EQ(AnsiToWide("caf\xE9"), L"caf\u00E9");  // code page 1252
    const wchar_t Buffer[] = L"abc\0def";
    EXPECT_EQ(WideFromBuffer(Buffer, -1), L"abc");
    EXPECT_EQ(WideFromBuffer(Buffer, 2), L"ab");
    EXPECT_EQ(WindowControl(nullptr), nullptr);
    EXPECT_NE(GetComboBoxInfoEntry, nullptr);
    EXPECT_NE(TrackMouseEventEntry, nullptr);

    win::MemoryDC DC;
    TBitmap Target(60, 20, pf24bit);
    win::SelectedObject Selected(DC.get(), Target.Handle());
    RECT Rect{0, 0, 60, 20};
    EXPECT_GT(DrawTextWide(DC.get(), L"Wide", Rect, DT_CALCRECT), 0);
    EXPECT_GT(Rect.right, 0);
}

}  // namespace
