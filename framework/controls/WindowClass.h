// WindowClass.h: registration of the framework's window classes. Each control
// class registers a class under its own name; where a system control does the
// work ("BUTTON", "EDIT", the status bar, ...) the class is a superclass of it,
// so the window behaves as the system control and the framework class name
// still tells what it is.
#pragma once

#include "framework/controls/WinApi.h"

// What to register a framework window class with.
struct TWindowClassSpec {
    const wchar_t* ClassName = nullptr;    // the framework class name, e.g. L"TButton"
    const wchar_t* SystemClass = nullptr;  // the superclassed system class, or nullptr
    UINT Style = CS_DBLCLKS;               // class styles (a superclass keeps the system's)
    HCURSOR Cursor = nullptr;              // nullptr: the arrow (a superclass keeps the system's)
    HBRUSH Background = nullptr;
};

// Registers the class once per process (later calls only look it up) with
// initialProc as its window procedure. Returns the procedure the window's
// unhandled messages go to: the system class's procedure for a superclass,
// DefWindowProcW otherwise; nullptr when registration failed (unknown system
// class, or the system refused).
WNDPROC RegisterFrameworkClass(const TWindowClassSpec& classSpec, WNDPROC initialProc);

// The module instance the classes are registered for.
HINSTANCE FrameworkInstance();
