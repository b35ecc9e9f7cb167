#include "framework/win/HookHandle.h"

#include <utility>

#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"

namespace win {

HookHandle::HookHandle(int hookType, HOOKPROC procedure, HINSTANCE module, DWORD threadId)
    : FHook(SetWindowsHookExW(hookType, procedure, module, threadId)), FType(hookType) {
    if (!FHook) RaiseLastOSError("SetWindowsHookEx");
    QUIRN_TRACE(TTraceChannel::Hook, "hook ", trace::Address(FHook), " of type ", hookType, " installed for thread ",
                threadId);
}

HookHandle::HookHandle(HookHandle&& other) noexcept
    : FHook(std::exchange(other.FHook, nullptr)), FType(std::exchange(other.FType, 0)) {}

HookHandle& HookHandle::operator=(HookHandle&& other) noexcept {
    if (this != &other) {
        reset();
        FHook = std::exchange(other.FHook, nullptr);
        FType = std::exchange(other.FType, 0);
    }
    return *this;
}

void HookHandle::reset() noexcept {
    if (!FHook) return;
    HHOOK hook = std::exchange(FHook, nullptr);
    if (UnhookWindowsHookEx(hook)) {
        QUIRN_TRACE(TTraceChannel::Hook, "hook ", trace::Address(hook), " of type ", FType, " removed");
    } else {
        QUIRN_TRACE(TTraceChannel::Hook, "hook ", trace::Address(hook), ": ",
                    OSErrorText("UnhookWindowsHookEx", LastOSError()));
    }
    FType = 0;
}

LRESULT HookHandle::CallNext(int code, WPARAM wParam, LPARAM lParam) const noexcept {
    QUIRN_TRACE(TTraceChannel::Hook, "hook ", trace::Address(FHook), " of type ", FType, " called, code ", code);
    return CallNextHookEx(FHook, code, wParam, lParam);
}

}  // namespace win
