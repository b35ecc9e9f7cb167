// TWindowSubclass: replacing and restoring a window's procedure.
#include "skin/form/WindowSubclass.h"

#include "framework/rtl/Trace.h"

bool TWindowSubclass::Install(HWND Window, const TWndMethod& Method, bool Unicode) {
    if (FInstance != nullptr || Window == nullptr) return false;
    WNDPROC Instance = MakeObjectInstance(Method);
    if (Instance == nullptr) return false;
    const LONG_PTR NewProc = reinterpret_cast<LONG_PTR>(Instance);
    // The previous procedure is read with the same character set it is set with: the system then
    // hands back a procedure the matching CallWindowProc can call directly.
    SetLastError(0);
    const LONG_PTR Previous =
        Unicode ? SetWindowLongPtrW(Window, GWLP_WNDPROC, NewProc) : SetWindowLongPtrA(Window, GWLP_WNDPROC, NewProc);
    if (Previous == 0 && GetLastError() != 0) {
        FreeObjectInstance(Instance);
        QUIRN_TRACE(TTraceChannel::Subclass, "refused window ", Window);
        return false;
    }
    FWindow = Window;
    FInstance = Instance;
    FPrevious = reinterpret_cast<WNDPROC>(Previous);
    FUnicode = Unicode;
    QUIRN_TRACE(TTraceChannel::Subclass, "subclassed window ", Window);
    return true;
}

void TWindowSubclass::Restore() {
    if (FInstance == nullptr) return;
    if (IsWindow(FWindow)) {
        const LONG_PTR OldProc = reinterpret_cast<LONG_PTR>(FPrevious);
        if (FUnicode)
            SetWindowLongPtrW(FWindow, GWLP_WNDPROC, OldProc);
        else
            SetWindowLongPtrA(FWindow, GWLP_WNDPROC, OldProc);
    }
    FreeObjectInstance(FInstance);
    QUIRN_TRACE(TTraceChannel::Subclass, "restored window ", FWindow);
    FInstance = nullptr;
    FPrevious = nullptr;
    FWindow = nullptr;
}

LRESULT TWindowSubclass::CallPrevious(UINT Msg, WPARAM WParam, LPARAM LParam) const {
    if (FPrevious == nullptr) return 0;
    return FUnicode ? CallWindowProcW(FPrevious, FWindow, Msg, WParam, LParam)
                    : CallWindowProcA(FPrevious, FWindow, Msg, WParam, LParam);
}
