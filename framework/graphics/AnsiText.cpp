#include "framework/graphics/AnsiText.h"

#include <windows.h>

#include <climits>

// Texts longer than an int can count are not converted (the Win32 calls take int lengths).
std::wstring AnsiToWideText(std::string_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring result(size_t(length > 0 ? length : 0), L'\0');
    if (length > 0) ::MultiByteToWideChar(CP_ACP, 0, text.data(), int(text.size()), result.data(), length);
    return result;
}

std::string WideToAnsiText(std::wstring_view text) {
    if (text.empty() || text.size() > INT_MAX) return {};
    const int length = ::WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), nullptr, 0, nullptr, nullptr);
    std::string result(size_t(length > 0 ? length : 0), '\0');
    if (length > 0)
        ::WideCharToMultiByte(CP_ACP, 0, text.data(), int(text.size()), result.data(), length, nullptr, nullptr);
    return result;
}
