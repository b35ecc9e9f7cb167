// IdentMap: identifiers for values of an integer type (colours, cursors, font
// character sets) — TIdentMapEntry pairs, TIdentMap lists of them, and the
// IntToIdent / IdentToInt lookups. A published integer property that carries
// a map is streamed and shown as text by identifier where its value has one.
// Header-only and constexpr, so maps can be tables in portable headers and
// checked at compile time against the platform's own constants.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// TIdentMapEntry: one value and its identifier.
struct TIdentMapEntry {
    int64_t Value;
    std::string_view Name;
};

// TIdentMap: the identifiers of one integer type, with the type's name for
// messages. When several identifiers share a value, the first is the one a
// value is written as; every one is accepted on reading.
struct TIdentMap {
    std::string_view TypeName;
    std::span<const TIdentMapEntry> Entries;
};

namespace identmap_detail {
constexpr char AsciiLower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

constexpr bool SameIdent(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    return true;
}
}  // namespace identmap_detail

// The identifier of value; nullopt when the map has none for it.
constexpr std::optional<std::string_view> IntToIdent(int64_t value, const TIdentMap& map) {
    for (const TIdentMapEntry& entry : map.Entries)
        if (entry.Value == value) return entry.Name;
    return std::nullopt;
}

// The value of an identifier (letter case ignored); nullopt when unknown.
constexpr std::optional<int64_t> IdentToInt(std::string_view ident, const TIdentMap& map) {
    for (const TIdentMapEntry& entry : map.Entries)
        if (identmap_detail::SameIdent(entry.Name, ident)) return entry.Value;
    return std::nullopt;
}
