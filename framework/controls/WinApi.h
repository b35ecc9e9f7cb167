// WinApi.h: the Win32 headers as the framework's controls use them, included
// in one place so every translation unit of the controls sees the same
// macro state. (The framework's own names avoid windows.h's renaming macros:
// RegisterClassType, GetItemObject, FormatString.)
#pragma once

#include <windows.h>
