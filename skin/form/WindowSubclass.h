// TWindowSubclass: the one place where the form-skinning unit replaces a bare window's procedure
// (GWLP_WNDPROC) by a thunk bound to one of its objects, calls the procedure it replaced, and puts
// that procedure back. Wide or ANSI calls follow the window (IsWindowUnicode), as the window's own
// procedure expects.
#pragma once

#include <windows.h>

#include "framework/win/ObjectInstance.h"

class TWindowSubclass {
public:
    TWindowSubclass() = default;
    TWindowSubclass(const TWindowSubclass&) = delete;
    TWindowSubclass& operator=(const TWindowSubclass&) = delete;
    // A subclass still installed when its owner goes is taken off first.
    ~TWindowSubclass() { Restore(); }

    // Routes the window's messages to Method (nothing when already installed). False when the
    // system refused the thunk or the new procedure; the window then keeps its own.
    bool Install(HWND Window, const TWndMethod& Method, bool Unicode);
    // Puts the replaced procedure back and frees the thunk; nothing when not installed, so every
    // detach sequence may run it twice.
    void Restore();

    bool Installed() const { return FInstance != nullptr; }
    HWND Window() const { return FWindow; }
    WNDPROC Previous() const { return FPrevious; }
    WNDPROC Instance() const { return FInstance; }

    // Passes a message of the window to the replaced procedure.
    LRESULT CallPrevious(UINT Msg, WPARAM WParam, LPARAM LParam) const;

private:
    HWND FWindow = nullptr;
    WNDPROC FInstance = nullptr;
    WNDPROC FPrevious = nullptr;
    bool FUnicode = true;
};
