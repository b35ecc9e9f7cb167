// Operating-system errors: the system's text for an error code and the
// EOSError raised for a failed call.
#include <cerrno>
#include <cstring>

#include "framework/rtl/SysUtils.h"

#ifdef _WIN32
#include <windows.h>
#endif

std::string SysErrorMessage(uint32_t errorCode) {
    std::string text;
#ifdef _WIN32
    char* buffer = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, errorCode, 0, reinterpret_cast<char*>(&buffer), 0, nullptr);
    if (length != 0 && buffer != nullptr) text.assign(buffer, length);
    if (buffer != nullptr) LocalFree(buffer);
#else
    if (errorCode != 0) text = std::strerror(static_cast<int>(errorCode));
#endif
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' || text.back() == '.'))
        text.pop_back();
    if (text.empty()) text = "Unknown error " + IntToStr(errorCode);
    return text;
}

uint32_t LastOSError() {
#ifdef _WIN32
    return GetLastError();
#else
    return static_cast<uint32_t>(errno);
#endif
}

std::string OSErrorText(std::string_view call, uint32_t errorCode) {
    return std::string(call) + " failed: " + SysErrorMessage(errorCode) + " (" + IntToStr(errorCode) + ")";
}

void RaiseOSError(std::string_view call, uint32_t errorCode) {
    throw EOSError(OSErrorText(call, errorCode), errorCode);
}

void RaiseLastOSError(std::string_view call) { RaiseOSError(call, LastOSError()); }
