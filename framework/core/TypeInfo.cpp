#include "framework/core/TypeInfo.h"

namespace {

constexpr int64_t CharMax = 0xFF;

}  // namespace

// --- TTypeInfo -------------------------------------------------------------------

std::string TTypeInfo::EnumName(int64_t value) const {
    if (value < MinValue || value > MaxValue || value - MinValue >= static_cast<int64_t>(EnumNames.size())) return {};
    return EnumNames[static_cast<size_t>(value - MinValue)];
}

int64_t TTypeInfo::EnumValue(std::string_view name) const {
    for (size_t i = 0; i < EnumNames.size(); ++i)
        if (SameText(EnumNames[i], name)) return MinValue + static_cast<int64_t>(i);
    return -1;
}

TTypeInfo TTypeInfo::Integer(std::string name, int64_t minValue, int64_t maxValue, TTypeKind kind) {
    TTypeInfo info;
    info.Kind = kind;
    info.Name = std::move(name);
    info.MinValue = minValue;
    info.MaxValue = maxValue;
    return info;
}

TTypeInfo TTypeInfo::Enumeration(std::string name, std::string_view names) {
    TTypeInfo info;
    info.Kind = tkEnumeration;
    info.Name = std::move(name);
    size_t start = 0;
    while (start <= names.size()) {
        size_t end = names.find(',', start);
        if (end == std::string_view::npos) end = names.size();
        const std::string item = Trim(names.substr(start, end - start));
        if (!item.empty()) info.EnumNames.emplace_back(typeinfo_detail::NameAfterQualifier(item));
        start = end + 1;
    }
    info.MinValue = 0;
    info.MaxValue = static_cast<int64_t>(info.EnumNames.size()) - 1;
    return info;
}

TTypeInfo TTypeInfo::SetOf(const TTypeInfo& element) {
    TTypeInfo info;
    info.Kind = tkSet;
    info.Name = "set of " + element.Name;
    info.CompType = &element;
    info.MinValue = element.MinValue;
    info.MaxValue = element.MaxValue;
    return info;
}

namespace typeinfo_detail {

const TTypeInfo& BooleanTypeInfo() {
    static const TTypeInfo info = TTypeInfo::Enumeration("Boolean", "False, True");
    return info;
}

const TTypeInfo& CharTypeInfo() {
    static const TTypeInfo info = TTypeInfo::Integer("Char", 0, CharMax, tkChar);
    return info;
}

const TTypeInfo& StringTypeInfo() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.Kind = tkString;
        t.Name = "String";
        return t;
    }();
    return info;
}

const TTypeInfo& WideStringTypeInfo() {
    static const TTypeInfo info = [] {
        TTypeInfo t;
        t.Kind = tkWString;
        t.Name = "WideString";
        return t;
    }();
    return info;
}

void InvalidPropertyValue(const std::string& detail) { throw EPropertyError("Invalid property value: " + detail); }

}  // namespace typeinfo_detail
