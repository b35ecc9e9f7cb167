// Linked into every Windows test program. The Wine desktop is shared by the programs CTest runs side by
// side: a window one program shows can cover the pixels another reads back or take the foreground from
// another's real input. So a program that shows top-level windows says so (DESKTOP or INPUT in
// quirn_add_test), and CTest keeps other such programs off the desktop while it runs. In a program that
// did not say so, showing a top-level window on the main thread fails the running test and names the window.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>

#include "framework/win/HookHandle.h"

namespace {

// Set by CTest for the programs that hold the desktop.
constexpr char kHoldsDesktopVariable[] = "QUIRN_TEST_DESKTOP";
constexpr int kTextLength = 128;

std::string Describe(HWND window) {
    wchar_t className[kTextLength]{};
    wchar_t caption[kTextLength]{};
    ::GetClassNameW(window, className, kTextLength);
    ::GetWindowTextW(window, caption, kTextLength);
    std::string text;
    for (const wchar_t* c = className; *c; ++c) text += *c < 0x80 ? static_cast<char>(*c) : '?';
    text += " \"";
    for (const wchar_t* c = caption; *c; ++c) text += *c < 0x80 ? static_cast<char>(*c) : '?';
    return text + "\"";
}

LRESULT CALLBACK WatchForShownWindows(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION) {
        const auto* call = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (call->message == WM_WINDOWPOSCHANGED) {
            const auto* position = reinterpret_cast<const WINDOWPOS*>(call->lParam);
            const bool topLevel = (::GetWindowLongPtrW(call->hwnd, GWL_STYLE) & WS_CHILD) == 0;
            if ((position->flags & SWP_SHOWWINDOW) && topLevel) {
                ADD_FAILURE() << "the test shows the window " << Describe(call->hwnd)
                              << " on the shared desktop: give its program DESKTOP in quirn_add_test";
            }
        }
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

// Watches this thread's windows for the program's whole run, unless the program holds the desktop.
class DesktopGuard {
public:
    DesktopGuard() {
        if (std::getenv(kHoldsDesktopVariable)) return;
        try {
            FHook = win::HookHandle(WH_CALLWNDPROC, WatchForShownWindows, nullptr, ::GetCurrentThreadId());
        } catch (const std::exception& error) {
            // Before main: nothing could catch it. The tests run unguarded and say so.
            std::fprintf(stderr, "desktop guard not installed: %s\n", error.what());
        }
    }

private:
    win::HookHandle FHook;
};

const DesktopGuard Guard;

}  // namespace
