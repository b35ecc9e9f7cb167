// TWindowSubclass: a window subclass that keeps its replaced procedure callable after it goes.
#include "skin/form/WindowSubclass.h"

#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"

bool TWindowSubclass::Install(HWND Window, const TWndMethod& Method) {
    if (FSubclass || Window == nullptr) return false;
    try {
        FSubclass = win::WindowSubclass(Window, Method);
    } catch (const Exception& Error) {
        QUIRN_TRACE(TTraceChannel::Subclass, "not subclassed: ", Error.Message());
        return false;
    }
    FWindow = Window;
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

LRESULT TWindowSubclass::CallPrevious(UINT Msg, WPARAM WParam, LPARAM LParam) const {
    if (FSubclass) return FSubclass.CallPrevious(Msg, WParam, LParam);
    if (FPrevious == nullptr) return 0;
    return FUnicode ? CallWindowProcW(FPrevious, FWindow, Msg, WParam, LParam)
                    : CallWindowProcA(FPrevious, FWindow, Msg, WParam, LParam);
}
