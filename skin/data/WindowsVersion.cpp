#include "skin/data/WindowsVersion.h"

#include <windows.h>

namespace {

// GetVersion sets its top bit on the Windows 9x family.
constexpr DWORD Windows9xFlag = 0x80000000u;

}  // namespace

bool IsNTPlatform() { return (GetVersion() & Windows9xFlag) == 0; }
