// TSkinManage: the one process-wide skin manager. It keeps the registered skin data components, the
// form skinners and the popup-menu skinners, owns the thread's WH_CBT hook, decides which windows
// get skinned, and runs the skin data components' skin-on, skin-off and skin-changed requests
// through a one-shot action timer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/Object.h"
#include "skin/data/SkinEngineLink.h"
#include "skin/form/SkinFormHost.h"

class TBitmap;
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
class TSkinManage : public TObject, public TSkinEngineLink, public TSkinFormHost {
    QUIRN_CLASS(TSkinManage, TObject)
public:
    TSkinManage();
    ~TSkinManage() override;

    // Called by the skin data components.
    void RegisterSkinData(TSkinData* skinData) override;
    void UnregisterSkinData(TSkinData* skinData) override;
    void InstallHook() override;
    void RequestAction(TSkinData* skinData, int32_t action, uint32_t interval) override;
    void ResetSysButtons(TSkinData* skinData) override;
    bool Running() const override { return FState == SkinManagerRunning; }
    void MarkRunning() override { FState = SkinManagerRunning; }
    void AddOwnFormSkinData() override;
    bool SkinWindow(HWND window) override;

    void StartAction(int32_t action, uint32_t interval);
    // The action timer's event: carries out FAction for FActionData.
    void DoAction(TObject* sender);
    // Whether a window of that class passes the main skin data's rules.
    bool AcceptWindow(HWND window, const std::string& className);
    // The skin data a window is skinned with, or null.
    TSkinData* SelectSkinData(HWND window);
    // Skins a visible, non-child form (while scanning the existing forms).
    void SkinForm(TCustomForm* form);
    // Frees the form skinners whose window has been destroyed.
    void PurgeForms();

    // Called by the form skinners and the menu skinners.
    TPellixForm* FindForm(HWND window) const;
    // Drops a form skinner from the list (nothing while the manager itself is being destroyed).
    void RemoveForm(TPellixForm* form) override;
    void SetMDIMaximized(bool value) override;
    void SkinPopup(HWND window);
    void UnskinPopup(HWND window);
    void MarkPopupsFromMenuBar();
    void AssignPopupMenu(HMENU menu);
    TBitmap* PopupBitmapOf(HMENU menu) const;
    // The popup skinner that holds a menu handle, or null.
    TPellixPopMenu* PopupOf(HMENU menu) const;

    std::unique_ptr<TTimer> FTimer;        // one-shot action timer
    std::vector<TPellixForm*> FForms;      // owned form skinners
    std::vector<TPellixPopMenu*> FPopups;  // owned popup-menu skinners
    std::vector<TSkinData*> FSkinDatas;    // registered, not owned
    bool FScanning = false;
    int32_t FState = SkinManagerIdle;
    int32_t FAction = 0;
    TSkinData* FActionData = nullptr;
    TSkinData* FMainSkinData = nullptr;

private:
    // Skinning off for one skinner: its window goes back to the system's look and the skinner is
    // freed (later, by a purge, when it is inside its own window procedure now).
    void ReleaseForm(TPellixForm* form);
    // Releases every skinner of a skin data.
    void ReleaseFormsOf(TSkinData* skinData);
    // Releases the skinners of a skin data whose skin can no longer draw what they draw: all of them
    // when it has no usable skin, those that draw the frame when it has no frame.
    void ReleaseFramesOf(TSkinData* skinData);
    // Skins every visible form not skinned yet, last form first.
    void ScanForms();
};

// The one manager of the process: created by the first skin data component
// that finishes loading, freed at unit shut-down.
extern TSkinManage* SkinManager;

// The installed WH_CBT hook, or null; while the hook is disabled its
// procedure only forwards.
HHOOK SkinHookHandle();
bool SkinHookDisabled();

// Frees the manager (unit shut-down; also used by tests to start afresh).
void FreeSkinManager();
