#include "framework/controls/UtilWindow.h"

#include "framework/controls/WindowClass.h"

namespace {
constexpr wchar_t kUtilClassName[] = L"TPUtilWindow";
}  // namespace

HWND AllocateHWnd(TWndMethod method) {
    TWindowClassSpec classSpec;
    classSpec.ClassName = kUtilClassName;
    classSpec.Style = 0;
    if (!RegisterFrameworkClass(classSpec, DefWindowProcW)) return nullptr;
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, kUtilClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  FrameworkInstance(), nullptr);
    if (!window) return nullptr;
    if (method) {
        WNDPROC procedure = MakeObjectInstance(method);
        if (!procedure) {
            DestroyWindow(window);
            return nullptr;
        }
        SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure));
    }
    return window;
}

void DeallocateHWnd(HWND window) {
    if (!window) return;
    auto procedure = reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC));
    DestroyWindow(window);
    if (procedure != DefWindowProcW) FreeObjectInstance(procedure);
}
