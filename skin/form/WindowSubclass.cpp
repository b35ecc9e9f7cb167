// TWindowSubclass: a window subclass that keeps its replaced procedure callable after it goes.
#include "skin/form/WindowSubclass.h"

#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"

bool TWindowSubclass::Install(HWND window, const TWndMethod& method) {
    if (FSubclass || window == nullptr) return false;
    try {
        FSubclass = win::WindowSubclass(window, method);
    } catch (const Exception& error) {
        QUIRN_TRACE(TTraceChannel::Subclass, "not subclassed: ", error.Message());
        return false;
    }
    FWindow = window;
    FPrevious = FSubclass.Previous();
    FUnicode = FSubclass.Unicode();
    return true;
}

void TWindowSubclass::Restore() {
    if (!FSubclass) return;
    // A subclass below this one may have been taken out of the chain since: the previous procedure
    // is read at the last moment.
    FPrevious = FSubclass.Previous();
    FSubclass.Restore();
}

LRESULT TWindowSubclass::CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const {
    if (FSubclass) return FSubclass.CallPrevious(msg, wParam, lParam);
    if (FPrevious == nullptr) return 0;
    return FUnicode ? CallWindowProcW(FPrevious, FWindow, msg, wParam, lParam)
                    : CallWindowProcA(FPrevious, FWindow, msg, wParam, lParam);
}
