// WindowText.h: the text of a window, read as UTF-16 (the framework's properties
// convert it to and from the ANSI code page through framework/graphics/AnsiText.h).
#pragma once

#include <string>

// The text of a window as UTF-16 (any length).
std::wstring WindowTextOf(void* window);
