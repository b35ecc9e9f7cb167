// Conversions between ANSI, wide, UTF-8 and UTF-16 text.
#include "framework/rtl/SysUtils.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace {

constexpr char32_t ReplacementCharacter = 0xFFFD;
constexpr char32_t MaxCodePoint = 0x10FFFF;
constexpr char32_t SurrogateFirst = 0xD800;
constexpr char32_t LowSurrogateFirst = 0xDC00;
constexpr char32_t SurrogateLast = 0xDFFF;
constexpr char32_t SupplementaryFirst = 0x10000;

void AppendUtf16(std::u16string& out, char32_t c) {
    if (c >= SupplementaryFirst) {
        c -= SupplementaryFirst;
        out += static_cast<char16_t>(SurrogateFirst + (c >> 10));
        out += static_cast<char16_t>(LowSurrogateFirst + (c & 0x3FF));
    } else {
        out += static_cast<char16_t>(c);
    }
}

// Decodes the code point at i of UTF-16 text and advances i.
char32_t NextUtf16(std::u16string_view text, size_t& i) {
    const char32_t unit = text[i++];
    if (unit >= SurrogateFirst && unit < LowSurrogateFirst && i < text.size() && text[i] >= LowSurrogateFirst &&
        text[i] <= SurrogateLast) {
        const char32_t low = text[i++];
        return SupplementaryFirst + ((unit - SurrogateFirst) << 10) + (low - LowSurrogateFirst);
    }
    if (unit >= SurrogateFirst && unit <= SurrogateLast) return ReplacementCharacter;
    return unit;
}

}  // namespace

std::u16string Utf8ToUtf16(std::string_view utf8) {
    std::u16string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const auto lead = static_cast<unsigned char>(utf8[i]);
        int extra = 0;
        char32_t c = 0;
        char32_t minimum = 0;
        if (lead < 0x80) {
            c = lead;
        } else if ((lead & 0xE0) == 0xC0) {
            extra = 1, c = lead & 0x1F, minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2, c = lead & 0x0F, minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3, c = lead & 0x07, minimum = 0x10000;
        } else {
            out += static_cast<char16_t>(ReplacementCharacter);
            ++i;
            continue;
        }
        size_t j = i + 1;
        bool valid = true;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= utf8.size() || (static_cast<unsigned char>(utf8[j]) & 0xC0) != 0x80) {
                valid = false;
                break;
            }
            c = (c << 6) | (static_cast<unsigned char>(utf8[j]) & 0x3F);
        }
        if (!valid || c < minimum || c > MaxCodePoint || (c >= SurrogateFirst && c <= SurrogateLast)) {
            out += static_cast<char16_t>(ReplacementCharacter);
            i = valid ? j : i + 1;  // a broken sequence resumes at the next byte
            continue;
        }
        AppendUtf16(out, c);
        i = j;
    }
    return out;
}

std::string Utf16ToUtf8(std::u16string_view utf16) {
    std::string out;
    out.reserve(utf16.size());
    size_t i = 0;
    while (i < utf16.size()) {
        const char32_t c = NextUtf16(utf16, i);
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < SupplementaryFirst) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

std::u16string WideToUtf16(std::wstring_view wide) {
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        return std::u16string(wide.begin(), wide.end());
    } else {
        std::u16string out;
        for (wchar_t w : wide) {
            const auto c = static_cast<char32_t>(w);
            AppendUtf16(out,
                        (c > MaxCodePoint || (c >= SurrogateFirst && c <= SurrogateLast)) ? ReplacementCharacter : c);
        }
        return out;
    }
}

std::wstring Utf16ToWide(std::u16string_view utf16) {
    if constexpr (sizeof(wchar_t) == sizeof(char16_t)) {
        return std::wstring(utf16.begin(), utf16.end());
    } else {
        std::wstring out;
        size_t i = 0;
        while (i < utf16.size()) out += static_cast<wchar_t>(NextUtf16(utf16, i));
        return out;
    }
}

#ifdef _WIN32

std::wstring StringToWideString(std::string_view ansi) {
    if (ansi.empty()) return {};
    const int length = static_cast<int>(ansi.size());
    const int needed = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    std::wstring wide(static_cast<size_t>(needed), L'\0');
    if (needed > 0) MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, wide.data(), needed);
    return wide;
}

std::string WideStringToString(std::wstring_view wide) {
    if (wide.empty()) return {};
    const int length = static_cast<int>(wide.size());
    const int needed = WideCharToMultiByte(CP_ACP, 0, wide.data(), length, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(needed), '\0');
    if (needed > 0) WideCharToMultiByte(CP_ACP, 0, wide.data(), length, ansi.data(), needed, nullptr, nullptr);
    return ansi;
}

#else

std::wstring StringToWideString(std::string_view ansi) {
    std::wstring wide;
    wide.reserve(ansi.size());
    for (char c : ansi) wide += static_cast<wchar_t>(static_cast<unsigned char>(c));
    return wide;
}

std::string WideStringToString(std::wstring_view wide) {
    constexpr wchar_t Latin1Last = 0xFF;
    std::string ansi;
    ansi.reserve(wide.size());
    for (wchar_t w : wide) ansi += (w >= 0 && w <= Latin1Last) ? static_cast<char>(w) : '?';
    return ansi;
}

#endif
