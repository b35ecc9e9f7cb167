// HookHandle: owner of one installed Windows hook.
#pragma once

#include <windows.h>

namespace win {

// One hook installed with SetWindowsHookEx and removed with
// UnhookWindowsHookEx when the owner is reset or goes. Installing raises
// EOSError with the system's reason when the system refuses the hook. Install,
// removal and each CallNext are traced on the "hook" channel. Move-only; an
// empty HookHandle owns nothing.
class HookHandle {
public:
    HookHandle() noexcept = default;
    // Installs procedure as a hook of the given type (WH_CBT, WH_MSGFILTER, ...)
    // for the thread threadId (0: every thread of the desktop; module then names
    // the module holding procedure).
    HookHandle(int hookType, HOOKPROC procedure, HINSTANCE module, DWORD threadId);
    HookHandle(const HookHandle&) = delete;
    HookHandle& operator=(const HookHandle&) = delete;
    HookHandle(HookHandle&& other) noexcept;
    HookHandle& operator=(HookHandle&& other) noexcept;
    ~HookHandle() { reset(); }

    [[nodiscard]] HHOOK get() const noexcept { return FHook; }
    explicit operator bool() const noexcept { return FHook != nullptr; }
    int HookType() const noexcept { return FType; }

    // Removes the hook. A removal the system refuses is traced (an owner that
    // goes cannot raise) and the handle forgotten all the same.
    void reset() noexcept;

    // Passes a hook call on to the next hook of the chain (CallNextHookEx).
    LRESULT CallNext(int code, WPARAM wParam, LPARAM lParam) const noexcept;

private:
    HHOOK FHook = nullptr;
    int FType = 0;
};

}  // namespace win
