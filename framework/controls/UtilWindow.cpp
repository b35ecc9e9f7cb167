#include "framework/controls/UtilWindow.h"

#include <map>
#include <mutex>
#include <utility>

#include "framework/controls/WindowClass.h"
#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"
#include "framework/win/WindowSubclass.h"

namespace {

constexpr wchar_t kUtilClassName[] = L"TPUtilWindow";

// The subclass each window of AllocateHWnd carries, so that DeallocateHWnd
// takes out its own procedure and nothing else. Never destroyed: timers may
// go during the program's exit.
struct TUtilWindows {
    std::mutex Lock;
    std::map<HWND, win::WindowSubclass> Subclasses;
};

TUtilWindows& UtilWindows() {
    static TUtilWindows* windows = new TUtilWindows;
    return *windows;
}

}  // namespace

HWND AllocateHWnd(TWndMethod method) {
    TWindowClassSpec classSpec;
    classSpec.ClassName = kUtilClassName;
    classSpec.Style = 0;
    if (!RegisterFrameworkClass(classSpec, DefWindowProcW)) RaiseLastOSError("RegisterClassEx");
    HWND window = Win32Check(CreateWindowExW(WS_EX_TOOLWINDOW, kUtilClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                             nullptr, FrameworkInstance(), nullptr),
                             "CreateWindowEx");
    if (!method) return window;
    try {
        win::WindowSubclass subclass(window, method);
        TUtilWindows& windows = UtilWindows();
        std::lock_guard<std::mutex> lock(windows.Lock);
        windows.Subclasses.insert_or_assign(window, std::move(subclass));
    } catch (...) {
        DestroyWindow(window);
        throw;
    }
    return window;
}

void DeallocateHWnd(HWND window) {
    if (!window) return;
    win::WindowSubclass subclass;
    {
        TUtilWindows& windows = UtilWindows();
        std::lock_guard<std::mutex> lock(windows.Lock);
        if (auto found = windows.Subclasses.find(window); found != windows.Subclasses.end()) {
            subclass = std::move(found->second);
            windows.Subclasses.erase(found);
        }
    }
    // Out before the window goes: the object being destroyed sees none of the destruction's messages.
    subclass.Restore();
    if (!DestroyWindow(window))
        QUIRN_TRACE(TTraceChannel::Subclass, "helper window ", trace::Address(window),
                    " outlives its object: ", OSErrorText("DestroyWindow", LastOSError()));
    // A pass-through left in another module's chain can go with the window.
    win::CollectRetiredSubclasses();
}
