// TSkinManage: registration of skin data components, the WH_CBT hook and
// the action requests.
#include "skin/form/SkinManage.h"

#include <algorithm>

#include "framework/controls/Timer.h"
#include "framework/win/HookHandle.h"
#include "skin/data/SkinData.h"
#include "skin/data/WindowsVersion.h"

QUIRN_DEFINE_CLASS(TSkinManage)

TSkinManage* SkinManager = nullptr;

namespace {

constexpr int MajorVersion6 = 6;

win::HookHandle Hook;
bool HookDisabled = false;

TSkinPlatform DetectPlatform() {
    TSkinPlatform Platform;
    // The module whose code this is: its windows are this program's own.
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&DetectPlatform), &Platform.ModuleInstance);
    const DWORD Version = GetVersion();
    Platform.IsNT = IsNTPlatform();
    Platform.NotVersion6 = LOBYTE(LOWORD(Version)) != MajorVersion6;
    return Platform;
}

TSkinPlatform& MutablePlatform() {
    static TSkinPlatform Platform = DetectPlatform();
    return Platform;
}

// The hook sees window creation, activation and destruction on this thread.
// Activation marks the manager running; handing windows to their skinners
// joins here with the form skinner.
LRESULT CALLBACK CBTHookProc(int Code, WPARAM WParam, LPARAM LParam) {
    if (!HookDisabled && Code >= 0 && SkinManager != nullptr && Code == HCBT_ACTIVATE &&
        SkinManager->FState == SkinManagerIdle)
        SkinManager->FState = SkinManagerRunning;
    return Hook.CallNext(Code, WParam, LParam);
}

TSkinEngineLink* FindManager() { return SkinManager; }

TSkinEngineLink* CreateManager() {
    if (SkinManager == nullptr) SkinManager = new TSkinManage();
    return SkinManager;
}

// Unit start-up installs the manager's factory for the skin data components;
// unit shut-down frees the manager after the application's forms. The
// library is linked whole (quirn_skin_engine), so this object is never dropped.
struct TUnitLifetime {
    TUnitLifetime() {
        MutablePlatform();
        SetSkinEngineFactory({FindManager, CreateManager});
    }
    ~TUnitLifetime() { FreeSkinManager(); }
} UnitLifetime;

}  // namespace

const TSkinPlatform& SkinPlatform() { return MutablePlatform(); }
HHOOK SkinHookHandle() { return Hook.get(); }
bool SkinHookDisabled() { return HookDisabled; }

void FreeSkinManager() {
    delete SkinManager;
    SkinManager = nullptr;
}

TSkinManage::TSkinManage() : FTimer(std::make_unique<TTimer>(nullptr)) {
    FTimer->SetEnabled(false);
    FTimer->SetInterval(SkinManagerTimerInterval);
    HookDisabled = false;
}

TSkinManage::~TSkinManage() {
    FState = SkinManagerDestroying;
    FActive = false;
    FTimer.reset();
    FSkinDatas.clear();
    Hook.reset();
    HookDisabled = true;
}

void TSkinManage::RegisterSkinData(TSkinData* SkinData) {
    FSkinDatas.push_back(SkinData);
    if (FMainSkinData == nullptr && SkinData->SkinFormtype() == sfMainform) FMainSkinData = SkinData;
}

void TSkinManage::UnregisterSkinData(TSkinData* SkinData) {
    const auto Found = std::find(FSkinDatas.begin(), FSkinDatas.end(), SkinData);
    if (Found != FSkinDatas.end()) FSkinDatas.erase(Found);
    // Nothing may keep pointing at a component that is going.
    if (FMainSkinData == SkinData) FMainSkinData = nullptr;
    if (FActionData == SkinData) {
        FActionData = nullptr;
        FTimer->SetEnabled(false);
    }
}

void TSkinManage::InstallHook() {
    MutablePlatform().SystemVersion = GetVersion();
    if (Hook) return;  // one hook per manager
    Hook = win::HookHandle(WH_CBT, CBTHookProc, nullptr, GetCurrentThreadId());
}

void TSkinManage::RequestAction(TSkinData* SkinData, int32_t Action, uint32_t Interval) {
    FActionData = SkinData;
    StartAction(Action, Interval);
}

void TSkinManage::AddOwnFormSkinData() {
    FActive = true;
    ++FState;
}

bool TSkinManage::SkinWindow(HWND) {
    // Deciding on a window and attaching a form skinner to it joins here with
    // the form skinner; until then no window is skinned.
    return false;
}

void TSkinManage::StartAction(int32_t Action, uint32_t Interval) {
    FAction = Action;
    FTimer->SetInterval(Interval);
    if (FState != SkinManagerIdle) {
        FTimer->SetEnabled(true);
        return;
    }
    // Before any window has been activated, a request only switches the
    // manager; the hook then skins windows as they are activated.
    if (Action == SkinActionOn) FActive = true;
    if (Action == SkinActionOff) FActive = false;
}

void TSkinManage::ResetSysButtons(TSkinData* SkinData) {
    FActionData = SkinData;
    // Form skinners rebuild their caption buttons from the new skin; they
    // register in FForms once the form skinner exists.
}
