#include "framework/rtl/SysUtils.h"

#include <algorithm>
#include <limits>

Exception::Exception(std::string message) : FMessage(std::move(message)) {}

namespace {

constexpr char HexPrefix = '$';

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char UpperAscii(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int DigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Parses into [min, max]; hexadecimal digits give the two's-complement bit
// pattern as classic code expects ("$FFFFFFFF" is -1 for 32 bits).
bool ParseInteger(std::string_view text, int64_t min, int64_t max, unsigned bits, int64_t& out) {
    size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    unsigned base = 10;
    if (i < text.size() && text[i] == HexPrefix) {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= text.size()) return false;
    const uint64_t limit = base == 16 ? (bits == 64 ? std::numeric_limits<uint64_t>::max() : (uint64_t{1} << bits) - 1)
                                      : static_cast<uint64_t>(max) + (negative ? 1 : 0);
    uint64_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i]);
        if (digit < 0 || static_cast<unsigned>(digit) >= base) return false;
        if (magnitude > (limit - static_cast<uint64_t>(digit)) / base) return false;
        magnitude = magnitude * base + static_cast<uint64_t>(digit);
    }
    int64_t value;
    if (base == 16) {
        // Reinterpret the bit pattern at the requested width.
        if (bits < 64 && (magnitude >> (bits - 1)) != 0)
            value = static_cast<int64_t>(magnitude) - (int64_t{1} << bits);
        else
            value = static_cast<int64_t>(magnitude);
        if (negative) {
            if (value == std::numeric_limits<int64_t>::min()) return false;
            value = -value;
        }
    } else if (negative) {
        value = magnitude == static_cast<uint64_t>(max) + 1 ? min : -static_cast<int64_t>(magnitude);
    } else {
        value = static_cast<int64_t>(magnitude);
    }
    if (value < min || value > max) return false;
    out = value;
    return true;
}

std::string InvalidInteger(std::string_view text) { return "'" + std::string(text) + "' is not a valid integer value"; }

}  // namespace

bool TryStrToInt(std::string_view text, int32_t& value) {
    int64_t wide = 0;
    if (!ParseInteger(text, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), 32, wide))
        return false;
    value = static_cast<int32_t>(wide);
    return true;
}

int32_t StrToInt(std::string_view text) {
    int32_t value = 0;
    if (!TryStrToInt(text, value)) throw EConvertError(InvalidInteger(text));
    return value;
}

int32_t StrToIntDef(std::string_view text, int32_t def) {
    int32_t value = 0;
    return TryStrToInt(text, value) ? value : def;
}

bool TryStrToInt64(std::string_view text, int64_t& value) {
    return ParseInteger(text, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), 64, value);
}

int64_t StrToInt64(std::string_view text) {
    int64_t value = 0;
    if (!TryStrToInt64(text, value)) throw EConvertError(InvalidInteger(text));
    return value;
}

std::string IntToStr(int64_t value) { return std::to_string(value); }

std::string IntToHex(uint64_t value, int digits) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    do {
        text.insert(text.begin(), Digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    if (static_cast<int>(text.size()) < digits) text.insert(0, static_cast<size_t>(digits) - text.size(), '0');
    return text;
}

std::string LowerCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), LowerAscii);
    return result;
}

std::string UpperCase(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(), UpperAscii);
    return result;
}

int CompareText(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(LowerAscii(a[i]));
        const auto cb = static_cast<unsigned char>(LowerAscii(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

int AnsiCompareText(std::string_view a, std::string_view b) { return CompareText(a, b); }

bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && CompareText(a, b) == 0; }

int AnsiCompareStr(std::string_view a, std::string_view b) {
    const int c = a.compare(b);
    return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

std::string TrimLeft(std::string_view text) {
    size_t start = 0;
    while (start < text.size() && static_cast<unsigned char>(text[start]) <= ' ') ++start;
    return std::string(text.substr(start));
}

std::string TrimRight(std::string_view text) {
    size_t end = text.size();
    while (end > 0 && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    return std::string(text.substr(0, end));
}

std::string Trim(std::string_view text) { return TrimRight(TrimLeft(text)); }

std::string BoolToStr(bool value) { return value ? "True" : "False"; }

bool TryStrToBool(std::string_view text, bool& value) {
    if (SameText(text, "True")) {
        value = true;
        return true;
    }
    if (SameText(text, "False")) {
        value = false;
        return true;
    }
    int64_t number = 0;
    if (TryStrToInt64(text, number)) {
        value = number != 0;
        return true;
    }
    return false;
}

bool StrToBool(std::string_view text) {
    bool value = false;
    if (!TryStrToBool(text, value)) throw EConvertError("'" + std::string(text) + "' is not a valid boolean value");
    return value;
}

std::string FormatString(std::string_view pattern, std::initializer_list<std::string_view> args) {
    std::string result;
    auto next = args.begin();
    for (size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            const char conversion = pattern[i + 1];
            if (conversion == '%') {
                result += '%';
                ++i;
                continue;
            }
            if (conversion == 's' || conversion == 'd') {
                if (next != args.end()) result += *next++;
                ++i;
                continue;
            }
        }
        result += pattern[i];
    }
    return result;
}

void Abort() { throw EAbort("Operation aborted"); }

void Assert(bool condition, std::string_view message) {
    if (!condition) throw EAssertionFailed(std::string(message));
}

namespace {

size_t NameStart(std::string_view fileName) {
    const size_t pos = fileName.find_last_of("\\/:");
    return pos == std::string_view::npos ? 0 : pos + 1;
}

size_t ExtensionStart(std::string_view fileName) {
    const size_t start = NameStart(fileName);
    const size_t dot = fileName.rfind('.');
    return dot == std::string_view::npos || dot < start ? fileName.size() : dot;
}

}  // namespace

std::string ExtractFilePath(std::string_view fileName) { return std::string(fileName.substr(0, NameStart(fileName))); }

std::string ExtractFileName(std::string_view fileName) { return std::string(fileName.substr(NameStart(fileName))); }

std::string ExtractFileExt(std::string_view fileName) { return std::string(fileName.substr(ExtensionStart(fileName))); }

std::string ChangeFileExt(std::string_view fileName, std::string_view extension) {
    return std::string(fileName.substr(0, ExtensionStart(fileName))) + std::string(extension);
}
