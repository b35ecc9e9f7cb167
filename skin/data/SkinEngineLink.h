// SkinEngineLink: how the skin data component reaches the skin manager. The manager lives a layer
// above (skin/form); it implements TSkinEngineLink and installs a factory for itself here when its
// library starts, so the skin data never names it. With no engine installed (the skin data used on
// its own, as by the tools and the skin data tests) the component still loads and parses skins, and
// its requests go nowhere.
#pragma once

#include <windows.h>

#include <cstdint>

class TSkinData;

// Actions a skin data component requests of the manager.
constexpr int32_t SkinActionOn = 1;
constexpr int32_t SkinActionOff = 2;
constexpr int32_t SkinActionChanged = 3;
// Delay of the requests of a skin data component.
constexpr uint32_t SkinActionDelay = 250;

// TSkinEngineLink: the operations of the one skin manager that a skin data component calls.
class TSkinEngineLink {
public:
    // Adds the component to the manager's list; removes it (and every reference to it).
    virtual void RegisterSkinData(TSkinData* skinData) = 0;
    virtual void UnregisterSkinData(TSkinData* skinData) = 0;
    // Installs the thread's window hook (once).
    virtual void InstallHook() = 0;
    // Makes SkinData the pending action's component and starts Action after Interval ms (before
    // any window was activated, on and off only switch the manager).
    virtual void RequestAction(TSkinData* skinData, int32_t action, uint32_t interval) = 0;
    // Makes SkinData the pending action's component and frees the caption buttons of its form
    // skinners, so they are rebuilt from a new skin. A component left without a usable skin (a
    // load that failed) loses its skinned windows: they go back to the system's look.
    virtual void ResetSysButtons(TSkinData* skinData) = 0;
    // The manager runs (a window was activated or skinned, or skinning was switched on).
    virtual bool Running() const = 0;
    virtual void MarkRunning() = 0;
    // A component that skins only its own form (or a dialog's, or a DLL's) has loaded: the manager
    // is switched on and counts it.
    virtual void AddOwnFormSkinData() = 0;
    // Skins the window at once if it passes the manager's tests; true when a form skinner was made.
    virtual bool SkinWindow(HWND window) = 0;

protected:
    virtual ~TSkinEngineLink() = default;  // the manager is freed by its own layer
};

// The registration point: skin/form installs the functions that find and create its one manager.
struct TSkinEngineFactory {
    TSkinEngineLink* (*Find)() = nullptr;    // the manager, or null while none exists
    TSkinEngineLink* (*Create)() = nullptr;  // the one manager, created on the first call
};

// Installs Factory and gives back the one installed before (a test puts it back afterwards).
TSkinEngineFactory SetSkinEngineFactory(TSkinEngineFactory factory);
// The existing manager; null when none exists yet or no engine is installed.
TSkinEngineLink* SkinEngine();
// The one manager, created on first use; null when no engine is installed.
TSkinEngineLink* CreateSkinEngine();
