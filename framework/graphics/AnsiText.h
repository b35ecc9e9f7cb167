// Conversions between the ANSI code page (the framework's std::string text) and UTF-16 for the
// wide GDI calls.
#pragma once

#include <string>
#include <string_view>

// Both convert through the system's ANSI code page (CP_ACP); characters without an ANSI form
// become the system's default character ('?'); texts longer than INT_MAX units convert to empty.
std::wstring AnsiToWideText(std::string_view text);
std::string WideToAnsiText(std::wstring_view text);
