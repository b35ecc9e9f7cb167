// TSkinManage: the one process-wide skin manager. It keeps the registered
// skin data components, the form skinners and the popup-menu skinners, owns
// the thread's WH_CBT hook and runs the skin data components' skin-on,
// skin-off and skin-changed requests through a one-shot action timer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/rtl/Object.h"
#include "skin/data/SkinEngineLink.h"

class TCustomForm;
class TPellixForm;
class TPellixPopMenu;
class TSkinData;
class TTimer;

// Pending actions (SkinActionOn, SkinActionOff, SkinActionChanged) and the
// delay of a skin data component's requests: SkinEngineLink.h.
// Interval of the action timer as created.
constexpr uint32_t SkinManagerTimerInterval = 100;

// Manager states (FState).
constexpr int32_t SkinManagerIdle = 0;  // nothing activated or skinned yet
constexpr int32_t SkinManagerRunning = 1;
constexpr int32_t SkinManagerDestroying = 4;

// The skin data components reach the manager through TSkinEngineLink; this
// library installs the factory of the one manager when it starts.
class TSkinManage : public TObject, public TSkinEngineLink {
    QUIRN_CLASS(TSkinManage, TObject)
public:
    TSkinManage();
    ~TSkinManage() override;

    // Called by the skin data components.
    void RegisterSkinData(TSkinData* SkinData) override;
    void UnregisterSkinData(TSkinData* SkinData) override;
    void InstallHook() override;
    void RequestAction(TSkinData* SkinData, int32_t Action, uint32_t Interval) override;
    void ResetSysButtons(TSkinData* SkinData) override;
    bool Running() const override { return FState == SkinManagerRunning; }
    void MarkRunning() override { FState = SkinManagerRunning; }
    void AddOwnFormSkinData() override;
    bool SkinWindow(HWND Window) override;

    void StartAction(int32_t Action, uint32_t Interval);

    std::unique_ptr<TTimer> FTimer;        // one-shot action timer
    std::vector<TPellixForm*> FForms;      // owned form skinners
    std::vector<TPellixPopMenu*> FPopups;  // owned popup-menu skinners
    std::vector<TSkinData*> FSkinDatas;    // registered, not owned
    bool FActive = false;
    bool FScanning = false;
    int32_t FState = SkinManagerIdle;
    int32_t FMenuSource = 0;
    bool FMenuBarOpen = false;
    bool FMDIMaximized = false;
    HWND FMDIClient = nullptr;
    TCustomForm* FMDIForm = nullptr;
    int32_t FAction = 0;
    TSkinData* FActionData = nullptr;
    TSkinData* FMainSkinData = nullptr;
};

// The one manager of the process: created by the first skin data component
// that finishes loading, freed at unit shut-down.
extern TSkinManage* SkinManager;

// Process globals of the form-skinning unit, set at unit start-up.
struct TSkinPlatform {
    HINSTANCE ModuleInstance = nullptr;
    bool IsNT = true;
    bool NotVersion6 = false;
    DWORD SystemVersion = 0;  // GetVersion when the hook was installed; top bit set: Windows 9x
};
const TSkinPlatform& SkinPlatform();

// The installed WH_CBT hook, or null; while the hook is disabled its
// procedure only forwards.
HHOOK SkinHookHandle();
bool SkinHookDisabled();

// Frees the manager (unit shut-down; also used by tests to start afresh).
void FreeSkinManager();
