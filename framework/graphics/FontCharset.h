// FontCharset.h: TFontCharset, a font's character set, and CharsetIdents, the identifiers of
// the system's character sets for forms and property text ("Font.Charset = GB2312_CHARSET").
// Portable (no Win32): the table carries the numbers, and the Windows side checks them against
// its own constants at compile time (framework/graphics/Font.cpp).
#pragma once

#include <cstdint>

#include "framework/core/IdentMap.h"

using TFontCharset = uint8_t;

// The character sets by their system names. HANGUL_CHARSET is the other spelling of
// HANGEUL_CHARSET, accepted on reading; values are written as HANGEUL_CHARSET.
inline constexpr TIdentMapEntry CharsetIdentEntries[] = {
    {0, "ANSI_CHARSET"},         {1, "DEFAULT_CHARSET"},       {2, "SYMBOL_CHARSET"},       {77, "MAC_CHARSET"},
    {128, "SHIFTJIS_CHARSET"},   {129, "HANGEUL_CHARSET"},     {129, "HANGUL_CHARSET"},     {130, "JOHAB_CHARSET"},
    {134, "GB2312_CHARSET"},     {136, "CHINESEBIG5_CHARSET"}, {161, "GREEK_CHARSET"},      {162, "TURKISH_CHARSET"},
    {163, "VIETNAMESE_CHARSET"}, {177, "HEBREW_CHARSET"},      {178, "ARABIC_CHARSET"},     {186, "BALTIC_CHARSET"},
    {204, "RUSSIAN_CHARSET"},    {222, "THAI_CHARSET"},        {238, "EASTEUROPE_CHARSET"}, {255, "OEM_CHARSET"},
};
inline constexpr TIdentMap CharsetIdents{"TFontCharset", CharsetIdentEntries};
