// The skin manager: installed as the skin data's engine when the program
// starts, created by the first Loaded, and what the skin data components'
// registrations and requests do to it; the hook's first activation.
#include <gtest/gtest.h>

#include "SkinFixtures.h"
#include "framework/controls/Timer.h"
#include "skin/form/SkinManage.h"

using namespace skintest;

namespace {

// Each test starts without a manager and leaves none behind.
class SkinManagerTest : public ::testing::Test {
protected:
    void SetUp() override { FreeSkinManager(); }
    void TearDown() override { FreeSkinManager(); }
};

TEST_F(SkinManagerTest, InstallsItselfAsTheEngineAndIsMadeOnce) {
    EXPECT_EQ(SkinEngine(), nullptr);  // none until a skin data asks
    TSkinEngineLink* Engine = CreateSkinEngine();
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(Engine, static_cast<TSkinEngineLink*>(SkinManager));
    EXPECT_EQ(CreateSkinEngine(), Engine);
    EXPECT_EQ(SkinEngine(), Engine);
    FreeSkinManager();
    EXPECT_EQ(SkinEngine(), nullptr);
}

TEST_F(SkinManagerTest, LoadedWithASkinSwitchesTheManagerOn) {
    TSkinData Data(nullptr);
    ASSERT_TRUE(LoadPackageBytes(Data, SmallSkin().Package()));
    Data.SetActive(true);  // no manager yet: only stored
    EXPECT_EQ(SkinManager, nullptr);
    Data.Loaded();
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->FAction, SkinActionOn);
    EXPECT_EQ(SkinManager->FActionData, &Data);
    EXPECT_EQ(SkinManager->FTimer->Interval(), SkinActionDelay);
    EXPECT_TRUE(SkinManager->FActive);  // no window activated yet: only switched on
    EXPECT_FALSE(SkinManager->FTimer->Enabled());
    EXPECT_NE(SkinHookHandle(), nullptr);
}

TEST_F(SkinManagerTest, LoadedWithoutASkinLeavesTheManagerOff) {
    TSkinData Data(nullptr);
    Data.SetActive(true);
    Data.Loaded();
    EXPECT_FALSE(Data.Active());
    ASSERT_NE(SkinManager, nullptr);
    EXPECT_EQ(SkinManager->FAction, 0);
    EXPECT_FALSE(SkinManager->FActive);
    Data.SetActive(true);  // still no skin: nothing starts
    EXPECT_EQ(SkinManager->FAction, 0);
    EXPECT_FALSE(SkinManager->FTimer->Enabled());
}

TEST_F(SkinManagerTest, ActiveRunsTheManagerAndStartsItsTimer) {
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

    // A component without a skin that skins its own form leaves the pending action alone.
    TSkinData Own(nullptr);
    Own.SetSkinFormtype(sfOnlyThisForm);
    Own.Loaded();
    Own.SetActive(true);
    EXPECT_EQ(SkinManager->FAction, SkinActionOff);
    EXPECT_EQ(SkinManager->FActionData, &Data);
}

TEST_F(SkinManagerTest, OtherFormTypesSwitchTheManagerOnAndCountAtLoaded) {
    TSkinData Data(nullptr);
    Data.SetSkinFormtype(sfOnlyThisForm);
    Data.Loaded();
    EXPECT_TRUE(SkinManager->FActive);
    EXPECT_EQ(SkinManager->FState, 1);
    EXPECT_EQ(SkinManager->FMainSkinData, nullptr);
    EXPECT_EQ(SkinHookHandle(), nullptr);
    TSkinData Dialog(nullptr);
    Dialog.SetSkinFormtype(sfDialog);
    Dialog.Loaded();
    EXPECT_EQ(SkinManager->FState, 2);
}

TEST_F(SkinManagerTest, RegistrationKeepsTheFirstMainSkinData) {
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

TEST_F(SkinManagerTest, ANewSkinFileIsAppliedOnlyWhileRunning) {
    const std::string Path = WriteTempPackage(SmallSkin().Package(), "quirn-skinfile-manager.skn");
    TSkinData Data(nullptr);
    Data.SetSkinFile(Path);
    ASSERT_NE(SkinManager, nullptr);  // ApplySkinFile ran Loaded first
    EXPECT_EQ(SkinManager->FActionData, &Data);
    EXPECT_EQ(SkinManager->FAction, 0);  // not running: no skin-changed action
    SkinManager->FState = SkinManagerRunning;
    Data.SetSkinFile(Path);
    EXPECT_EQ(SkinManager->FAction, SkinActionChanged);
    EXPECT_TRUE(SkinManager->FTimer->Enabled());
    DeleteFileA(Path.c_str());
}

TEST_F(SkinManagerTest, StartActionBeforeActivationOnlySwitchesTheManager) {
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

TEST_F(SkinManagerTest, FirstActivationMarksTheManagerRunning) {
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

}  // namespace
