// The skin data component: settings after Create, display-only properties,
// the stored package in form streams, Loaded, Active, the manager calls, the
// form-skin decision, caption-button hints and the unit services.
#include <gtest/gtest.h>

#include <algorithm>

#include "SkinFixtures.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "framework/controls/HintWindow.h"
#include "framework/controls/Timer.h"
#include "framework/win/DeviceContext.h"
#include "skin/data/SkinThirdParty.h"
#include "skin/form/SkinManage.h"

using namespace skintest;

// (At namespace scope: publishing befriends the framework's publisher.)
// A component with a skin data on it, as a form holds one.
class TSkinHolder : public TComponent {
    QUIRN_CLASS(TSkinHolder, TComponent)
public:
    explicit TSkinHolder(TComponent* AOwner) : TComponent(AOwner) {}
    TSkinData* SkinData1 = nullptr;
};
QUIRN_PUBLISH(TSkinHolder, p) { p.Field("SkinData1", &TSkinHolder::SkinData1); }

namespace {

TTestSkin SmallSkin() {
    TTestSkin Skin;
    Skin.Ini = "[TitlebarSkin]\nSkinName=Small\n[Colours]\nButtonFace=230 235 245\n";
    return Skin;
}

// Each test starts without a manager and leaves none behind.
class SkinComponent : public ::testing::Test {
protected:
    void SetUp() override { FreeSkinManager(); }
    void TearDown() override { FreeSkinManager(); }
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
    // Loaded ran: the manager exists and was asked once to skin.
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->FAction, SkinActionOn);
    EXPECT_EQ(SkinManager->FActionData, &Data);
    EXPECT_EQ(SkinManager->FTimer->Interval(), SkinActionDelay);
    EXPECT_TRUE(SkinManager->FActive);  // no window activated yet: only switched on
    EXPECT_FALSE(SkinManager->FTimer->Enabled());
    EXPECT_NE(SkinHookHandle(), nullptr);
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
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->FAction, 0);
    EXPECT_FALSE(SkinManager->FActive);
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

TEST_F(SkinComponent, ActiveTalksToTheManagerOnceLoaded) {
    TSkinData Data(nullptr);
    ASSERT_TRUE(LoadPackageBytes(Data, SmallSkin().Package()));
    Data.Loaded();
    Data.SetActive(true);
    EXPECT_EQ(SkinManager->FAction, SkinActionOn);
    EXPECT_EQ(SkinManager->FTimer->Interval(), SkinActionDelay);
    // Requested before the manager ran: it only switched on, then runs.
    EXPECT_TRUE(SkinManager->FActive);
    EXPECT_FALSE(SkinManager->FTimer->Enabled());
    EXPECT_EQ(SkinManager->FState, SkinManagerRunning);
    Data.SetActive(false);
    EXPECT_EQ(SkinManager->FAction, SkinActionOff);
    EXPECT_EQ(SkinManager->FActionData, &Data);
    EXPECT_TRUE(SkinManager->FTimer->Enabled());

    TSkinData Dialog(nullptr);
    Dialog.SetSkinFormtype(sfDialog);
    ASSERT_TRUE(LoadPackageBytes(Dialog, SmallSkin().Package()));
    Dialog.Loaded();
    SkinManager->FAction = 0;
    Dialog.SetActive(true);
    EXPECT_EQ(SkinManager->FAction, 0);
}

TEST_F(SkinComponent, ActiveOnWithoutSkinStartsNothing) {
    TSkinData Data(nullptr);
    Data.Loaded();
    Data.SetActive(true);
    EXPECT_TRUE(Data.Active());
    EXPECT_EQ(SkinManager->FAction, 0);
    EXPECT_FALSE(SkinManager->FTimer->Enabled());
}

TEST_F(SkinComponent, OtherFormTypesSwitchTheManagerOnAtLoaded) {
    TSkinData Data(nullptr);
    Data.SetSkinFormtype(sfOnlyThisForm);
    Data.Loaded();
    EXPECT_TRUE(SkinManager->FActive);
    EXPECT_EQ(SkinManager->FState, 1);
    EXPECT_EQ(SkinManager->FMainSkinData, nullptr);
    EXPECT_EQ(SkinHookHandle(), nullptr);
}

TEST_F(SkinComponent, ManagerRegistrationKeepsTheFirstMainSkinData) {
    TSkinData First(nullptr);
    TSkinData Second(nullptr);
    First.Loaded();
    Second.Loaded();
    EXPECT_EQ(SkinManager->FMainSkinData, &First);
    ASSERT_EQ(SkinManager->FSkinDatas.size(), 2u);
    {
        TSkinData Third(nullptr);
        Third.Loaded();
        EXPECT_EQ(SkinManager->FSkinDatas.size(), 3u);
    }
    EXPECT_EQ(SkinManager->FSkinDatas.size(), 2u);  // unregistered when destroyed
}

TEST_F(SkinComponent, SkinFileAppliesTheNewSkinThroughTheManager) {
    wchar_t Dir[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, Dir);
    char Narrow[MAX_PATH * 3] = {};
    WideCharToMultiByte(CP_UTF8, 0, Dir, -1, Narrow, sizeof(Narrow), nullptr, nullptr);
    const std::string Path = std::string(Narrow) + "quirn-skinfile.skn";
    const std::vector<uint8_t> Package = SmallSkin().Package();
    {
        TFileStream File(Path, fmCreate);
        File.WriteBuffer(Package.data(), static_cast<int32_t>(Package.size()));
    }
    TSkinData Data(nullptr);
    Data.SetSkinFile(Path);
    EXPECT_FALSE(Data.FSkinLoading);
    EXPECT_EQ(Data.FSkinName, "Small");
    ASSERT_NE(SkinManager, nullptr);  // ApplySkinFile ran Loaded first
    EXPECT_EQ(SkinManager->FActionData, &Data);
    EXPECT_EQ(SkinManager->FAction, 0);  // not running: no skin-changed action
    SkinManager->FState = SkinManagerRunning;
    Data.SetSkinFile(Path);
    EXPECT_EQ(SkinManager->FAction, SkinActionChanged);
    EXPECT_TRUE(SkinManager->FTimer->Enabled());
    DeleteFileA(Path.c_str());
}

TEST_F(SkinComponent, StartActionBeforeActivationOnlySwitchesTheManager) {
    TSkinManage Manager;
    Manager.StartAction(SkinActionOn, SkinActionDelay);
    EXPECT_TRUE(Manager.FActive);
    EXPECT_FALSE(Manager.FTimer->Enabled());
    Manager.StartAction(SkinActionOff, SkinActionDelay);
    EXPECT_FALSE(Manager.FActive);
    Manager.FState = SkinManagerRunning;
    Manager.StartAction(SkinActionChanged, 100);
    EXPECT_TRUE(Manager.FTimer->Enabled());
    EXPECT_EQ(Manager.FTimer->Interval(), 100u);
    EXPECT_EQ(Manager.FAction, SkinActionChanged);
}

TEST_F(SkinComponent, FirstActivationMarksTheManagerRunning) {
    TSkinData Data(nullptr);
    Data.Loaded();  // installs the hook
    ASSERT_NE(SkinHookHandle(), nullptr);
    ASSERT_EQ(SkinManager->FState, SkinManagerIdle);
    const HWND Window = CreateWindowExW(0, L"STATIC", L"activation probe", WS_OVERLAPPEDWINDOW, 10, 10, 120, 80,
                                        nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(Window, nullptr);
    ShowWindow(Window, SW_SHOWNORMAL);  // activates the new top-level window
    SetActiveWindow(Window);
    MSG Message;
    while (PeekMessageW(&Message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&Message);
    EXPECT_EQ(SkinManager->FState, SkinManagerRunning);
    DestroyWindow(Window);
    FreeSkinManager();
    EXPECT_EQ(SkinHookHandle(), nullptr);
    EXPECT_TRUE(SkinHookDisabled());
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
