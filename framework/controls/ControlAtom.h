// ControlAtom.h: the window property that leads from a window handle back to
// the framework control that owns the window. Its name is
// "ControlOfs%.8X%.8X" of the module instance and the GUI thread id, so only
// windows of this module and thread answer, and other code (the skin engine)
// can find the control of a window by the same name.
#pragma once

#include "framework/controls/WinApi.h"

#include <string>

class TWinControl;

// The property name, built once on first use (from the thread that first asks,
// which is the GUI thread).
const std::wstring& ControlAtomString();
// GlobalAddAtom of ControlAtomString(); the property is stored under this atom.
ATOM ControlAtom();

// Stores control under the window's property; nullptr removes the property.
void SetWindowControl(HWND window, TWinControl* control);
// The control stored on window, or nullptr: for windows of other processes,
// of no framework control, and for a null or destroyed handle.
TWinControl* FindControl(HWND window);
