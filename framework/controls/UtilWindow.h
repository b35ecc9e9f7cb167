// UtilWindow.h: hidden helper windows whose messages go to an object's method
// (timers, the popup-menu list, the application's hint timer).
#pragma once

#include "framework/controls/WinApi.h"

#include "framework/win/WindowMessage.h"

// Creates a hidden top-level window that passes every message to method (a
// window with the default procedure when method is empty). EOSError when the
// system refuses the window.
HWND AllocateHWnd(TWndMethod method);
// Takes the method out of a window made by AllocateHWnd, then destroys the
// window. The method is never called again, even when another module has
// subclassed the window since (its procedure is left alone) or the window
// cannot be destroyed (a call from another thread: traced, and the window
// keeps the default procedure).
void DeallocateHWnd(HWND window);
