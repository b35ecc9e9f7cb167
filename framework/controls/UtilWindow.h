// UtilWindow.h: hidden helper windows whose messages go to an object's method
// (timers, the popup-menu list, the application's hint timer).
#pragma once

#include "framework/controls/WinApi.h"

#include "framework/controls/ObjectInstance.h"

// Creates a hidden top-level window that passes every message to method.
HWND AllocateHWnd(TWndMethod method);
// Destroys a window made by AllocateHWnd and frees its window procedure.
void DeallocateHWnd(HWND window);
