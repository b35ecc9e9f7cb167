// WindowsVersion: which family of Windows the engine runs on. The NT family
// reads and draws window text wide and has MaskBlt; Windows 9x has neither.
#pragma once

// True on the NT family, false on Windows 9x (GetVersion's top bit).
bool IsNTPlatform();
