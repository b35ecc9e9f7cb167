// WinApi.h: the Win32 headers as the framework's controls use them. The
// framework's portable names RegisterClass (class registry) and GetObject
// (TStrings) collide with windows.h macros of the same names; they are
// dropped here so that every translation unit of the controls sees the
// framework's names (the macros' Win32 functions stay reachable by their
// explicit W names).
#pragma once

#include <windows.h>

#undef RegisterClass
#undef GetObject
