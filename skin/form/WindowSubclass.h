// TWindowSubclass: how the form-skinning unit subclasses a bare window: a win::WindowSubclass (the
// thunk and the replaced procedure, wide or ANSI as the window is, given back only while it is still
// the window's procedure) that also remembers the replaced procedure after it was given back, so that
// the message being handled when a window goes (WM_NCDESTROY) still reaches the window's own procedure.
#pragma once

#include <windows.h>

#include "framework/win/WindowSubclass.h"


class TWindowSubclass {
public:
    TWindowSubclass() = default;
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;

    // Routes the window's messages to Method (nothing when already installed). False when the
    // system refused the new procedure; the window then keeps its own.
    bool Install(HWND window, const TWndMethod& method);
    // Gives the window its procedure back; nothing when not installed, so every detach sequence may
    // run it twice.
    void Restore();

    bool Installed() const { return static_cast<bool>(FSubclass); }
    // The replaced procedure (also after Restore), and a message passed on to it.
    WNDPROC Previous() const { return FPrevious; }
    LRESULT CallPrevious(UINT msg, WPARAM wParam, LPARAM lParam) const;

private:
    win::WindowSubclass FSubclass;
    HWND FWindow = nullptr;
    WNDPROC FPrevious = nullptr;
    bool FUnicode = true;
};
