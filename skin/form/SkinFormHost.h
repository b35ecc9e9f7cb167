// SkinFormHost: what a form skinner asks of the skin manager that made it — to be dropped from its list,
// to mark the manager running, the MDI state the skinners of one frame share, and where the next menu
// comes from. The manager (SkinManage.h) is the host; the form skinner knows only this, so that the two
// do not include each other.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>

#include "skin/data/ClassNames.h"

class TCustomForm;
class TPellixForm;

// The class name of a window, read into a buffer of 100 characters (longer names are cut).
std::string ClassNameOf(HWND window);
// A GetVersion result of the Windows 9x family (top bit set).
constexpr bool IsWindows9xVersion(DWORD version) { return (version & 0x80000000u) != 0; }

// Process globals of the form-skinning unit, set at unit start-up.
struct TSkinPlatform {
    HINSTANCE ModuleInstance = nullptr;
    bool IsNT = true;
    bool NotVersion6 = false;
    DWORD SystemVersion = 0;  // GetVersion when the hook was installed; top bit set: Windows 9x
};
const TSkinPlatform& SkinPlatform();

class TSkinFormHost {
public:
    virtual ~TSkinFormHost() = default;
    // A form skinner that goes away leaves the host's list.
    virtual void RemoveForm(TPellixForm* form) = 0;
    // A window was skinned: the manager runs.
    virtual void MarkRunning() = 0;
    // The MDI children of the frame are maximized (or no longer).
    virtual void SetMDIMaximized(bool value) = 0;

    bool FActive = false;       // some skin data is active: windows get skinned
    int32_t FMenuSource = 0;    // where the menu being opened comes from
    bool FMenuBarOpen = false;  // a drop-down of a skinned menu bar is open
    bool FMDIMaximized = false;
    HWND FMDIClient = nullptr;
    TCustomForm* FMDIForm = nullptr;
};

// The skin manager while it exists (the same object as SkinManager), else null.
extern TSkinFormHost* SkinFormHost;
