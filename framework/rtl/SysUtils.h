// SysUtils: the framework's exception hierarchy and its text and number conversions.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <utility>

// Exception: base of every framework and engine error; carries a message text.
class Exception : public std::exception {
public:
    explicit Exception(std::string message);
    const std::string& Message() const noexcept { return FMessage; }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// Error classes, one per failure family; callers catch the family they can handle.
class EConvertError : public Exception {
    using Exception::Exception;
};
class EStreamError : public Exception {
    using Exception::Exception;
};
class EReadError : public EStreamError {
    using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
    using EStreamError::EStreamError;
};
class EFOpenError : public EStreamError {
    using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
    using EStreamError::EStreamError;
};
class EAssertionFailed : public Exception {
    using Exception::Exception;
};
class EInvalidOperation : public Exception {
    using Exception::Exception;
};
class EListError : public Exception {
    using Exception::Exception;
};
class EInvalidCast : public Exception {
    using Exception::Exception;
};
class EClassNotFound : public Exception {
    using Exception::Exception;
};
class EComponentError : public Exception {
    using Exception::Exception;
};
class EPropertyError : public Exception {
    using Exception::Exception;
};
class EOutOfMemory : public Exception {
    using Exception::Exception;
};
// EOSError: a failed operating-system call. Its message names the call and carries the system's
// own text for the error code ("CreateCompatibleDC failed: Not enough memory (8)").
class EOSError : public Exception {
public:
    EOSError(std::string message, uint32_t errorCode) : Exception(std::move(message)), FErrorCode(errorCode) {}
    uint32_t ErrorCode() const noexcept { return FErrorCode; }

private:
    uint32_t FErrorCode;
};
// EAbort: a silent exception; it unwinds an operation without a message to the user.
class EAbort : public Exception {
    using Exception::Exception;
};

// Raises EAbort ("Operation aborted").
[[noreturn]] void Abort();
// Raises EAssertionFailed with the message when condition is false (a
// programming error, not a data error).
void Assert(bool condition, std::string_view message = "Assertion failed");

// The system's text for an error code (GetLastError / errno), without a trailing line break;
// "Unknown error N" when the system has none.
std::string SysErrorMessage(uint32_t errorCode);
// The calling thread's last error code: GetLastError on Windows, errno elsewhere.
uint32_t LastOSError();
// "<call> failed: <system text> (<code>)".
std::string OSErrorText(std::string_view call, uint32_t errorCode);
// Raises EOSError for the thread's last error, naming the failed call.
[[noreturn]] void RaiseLastOSError(std::string_view call);
// Raises EOSError for the given code, naming the failed call.
[[noreturn]] void RaiseOSError(std::string_view call, uint32_t errorCode);
// Raises EOSError for the thread's last error unless the call succeeded; returns the result.
template <typename T>
T Win32Check(T result, std::string_view call) {
    if (!result) RaiseLastOSError(call);
    return result;
}

// Decimal, or hexadecimal after "$" / "0x" (read as a bit pattern of the
// result's width); optional sign; leading blanks are skipped, trailing ones
// are errors. Values outside the range are errors.
int32_t StrToInt(std::string_view text);
int32_t StrToIntDef(std::string_view text, int32_t def);
bool TryStrToInt(std::string_view text, int32_t& value);
// The same for 64-bit values.
int64_t StrToInt64(std::string_view text);
bool TryStrToInt64(std::string_view text, int64_t& value);
std::string IntToStr(int64_t value);
std::string IntToHex(uint64_t value, int digits);

// Letter case of ASCII A-Z only; other bytes (ANSI code page) pass unchanged.
std::string LowerCase(std::string_view text);
std::string UpperCase(std::string_view text);
// Case-insensitive (ASCII) comparison: < 0, 0 or > 0.
int AnsiCompareText(std::string_view a, std::string_view b);
int CompareText(std::string_view a, std::string_view b);
bool SameText(std::string_view a, std::string_view b);
// Case-sensitive byte comparison: < 0, 0 or > 0.
int AnsiCompareStr(std::string_view a, std::string_view b);

// Drop the characters <= ' ' from both ends / the start / the end.
std::string Trim(std::string_view text);
std::string TrimLeft(std::string_view text);
std::string TrimRight(std::string_view text);

// "True"/"False" and back (case-insensitive; numbers: 0 false, other true).
std::string BoolToStr(bool value);
bool StrToBool(std::string_view text);
bool TryStrToBool(std::string_view text, bool& value);

// Replaces %s, %d (and %%) in order by the given texts; used for messages.
std::string FormatString(std::string_view pattern, std::initializer_list<std::string_view> args);

// Text in the system's ANSI code page <-> wide text. On Windows the active
// code page (CP_ACP); elsewhere the ANSI code page is taken as Latin-1.
// Characters without an ANSI form become '?'.
std::wstring StringToWideString(std::string_view ansi);
std::string WideStringToString(std::wstring_view wide);
// Portable Unicode conversions; malformed input becomes U+FFFD.
std::u16string Utf8ToUtf16(std::string_view utf8);
std::string Utf16ToUtf8(std::u16string_view utf16);
std::u16string WideToUtf16(std::wstring_view wide);
std::wstring Utf16ToWide(std::u16string_view utf16);

// File name parts; backslash and '/' separate folders, ':' ends a drive.
std::string ExtractFilePath(std::string_view fileName);  // up to and including the last separator
std::string ExtractFileName(std::string_view fileName);  // after the last separator
std::string ExtractFileExt(std::string_view fileName);   // from the last '.' of the name, "" if none
std::string ChangeFileExt(std::string_view fileName, std::string_view extension);
