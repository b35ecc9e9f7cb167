// Conversions between the ANSI code page (the framework's std::string text) and UTF-16 for the
// wide GDI calls.
#pragma once

#include <string>
#include <string_view>

std::wstring AnsiToWideText(std::string_view text);
std::string WideToAnsiText(std::wstring_view text);
