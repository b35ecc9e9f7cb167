// TypeInfo: type information of published properties — the kinds
// (TTypeKind), one TTypeInfo per type, TypeInfo<T>() for C++ types, the value
// carrier TPropValue, and the macros that give enumerations their value names.
#pragma once

#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <typeinfo>
#include <variant>
#include <vector>

#include "framework/rtl/Delegate.h"
#include "framework/rtl/Object.h"
#include "framework/rtl/Sets.h"
#include "framework/rtl/SysUtils.h"

// Kind of a published property's type.
enum TTypeKind { tkUnknown, tkInteger, tkChar, tkEnumeration, tkSet, tkString, tkWString, tkClass, tkMethod, tkInt64 };

// TTypeInfo: description of one property type (one instance per type).
struct TTypeInfo {
    TTypeKind Kind = tkUnknown;
    std::string Name;
    // Ordinal range (integers, chars, enumerations); for sets the element range.
    int64_t MinValue = 0;
    int64_t MaxValue = 0;
    // Enumerations: the value names, value 0 first.
    std::vector<std::string> EnumNames;
    // Sets: the element type.
    const TTypeInfo* CompType = nullptr;
    // Classes: the declared class of the property.
    const TClass* ClassType = nullptr;
    // Methods: the signature of the delegate.
    const std::type_info* Signature = nullptr;

    bool IsOrdinal() const {
        return Kind == tkInteger || Kind == tkChar || Kind == tkEnumeration || Kind == tkSet || Kind == tkInt64;
    }
    // Value name of an enumeration value; empty when out of range.
    std::string EnumName(int64_t value) const;
    // Value of an enumeration name (letter case ignored); -1 when unknown.
    int64_t EnumValue(std::string_view name) const;

    static TTypeInfo Integer(std::string name, int64_t minValue, int64_t maxValue, TTypeKind kind = tkInteger);
    // names: the enumerators as written in source ("alNone, alTop"), qualifiers dropped.
    static TTypeInfo Enumeration(std::string name, std::string_view names);
    static TTypeInfo SetOf(const TTypeInfo& element);
};

// The property value as published-property routines pass it: ordinals
// (integers, chars, enumerations, set bits) as int64_t, strings, wide
// strings, objects and methods.
using TPropValue = std::variant<std::monostate, int64_t, std::string, std::wstring, TObject*, TMethod>;

// --- type information of C++ types -------------------------------------------

template <class T>
struct IsSetType : std::false_type {};
template <class E>
struct IsSetType<TSet<E>> : std::true_type {};
template <class T>
struct IsDelegateType : std::false_type {};
template <class S>
struct IsDelegateType<TDelegate<S>> : std::true_type {};

template <class T>
const TTypeInfo& TypeInfo();

namespace typeinfo_detail {
template <class T>
concept HasCustomTypeInfo = requires {
    QuirnTypeInfo(static_cast<T*>(nullptr));
};

template <class T>
const TTypeInfo& IntegerTypeInfo(const char* name, TTypeKind kind = tkInteger) {
    static const TTypeInfo info = TTypeInfo::Integer(name, static_cast<int64_t>(std::numeric_limits<T>::min()),
                                                     static_cast<int64_t>(std::numeric_limits<T>::max()), kind);
    return info;
}
const TTypeInfo& BooleanTypeInfo();
const TTypeInfo& CharTypeInfo();
const TTypeInfo& StringTypeInfo();
const TTypeInfo& WideStringTypeInfo();

constexpr std::string_view NameAfterQualifier(std::string_view name) {
    const size_t pos = name.rfind(':');
    return pos == std::string_view::npos ? name : name.substr(pos + 1);
}

template <class E, size_t N>
constexpr bool IsSequential(const E (&values)[N]) {
    for (size_t i = 0; i < N; ++i)
        if (static_cast<int64_t>(values[i]) != static_cast<int64_t>(i)) return false;
    return true;
}
}  // namespace typeinfo_detail

// The type information of T (see the kinds in the header comment).
template <class T>
const TTypeInfo& TypeInfo() {
    using namespace typeinfo_detail;
    if constexpr (HasCustomTypeInfo<T>) {
        return QuirnTypeInfo(static_cast<T*>(nullptr));
    } else if constexpr (std::is_same_v<T, bool>) {
        return BooleanTypeInfo();
    } else if constexpr (std::is_same_v<T, char>) {
        return CharTypeInfo();
    } else if constexpr (std::is_same_v<T, int64_t>) {
        return IntegerTypeInfo<int64_t>("Int64", tkInt64);
    } else if constexpr (std::is_same_v<T, int32_t>) {
        return IntegerTypeInfo<int32_t>("Integer");
    } else if constexpr (std::is_same_v<T, uint32_t>) {
        return IntegerTypeInfo<uint32_t>("Cardinal");
    } else if constexpr (std::is_same_v<T, int16_t>) {
        return IntegerTypeInfo<int16_t>("SmallInt");
    } else if constexpr (std::is_same_v<T, uint16_t>) {
        return IntegerTypeInfo<uint16_t>("Word");
    } else if constexpr (std::is_same_v<T, int8_t>) {
        return IntegerTypeInfo<int8_t>("ShortInt");
    } else if constexpr (std::is_same_v<T, uint8_t>) {
        return IntegerTypeInfo<uint8_t>("Byte");
    } else if constexpr (std::is_same_v<T, long> || std::is_same_v<T, unsigned long>) {
        return IntegerTypeInfo<T>(std::is_signed_v<T> ? "Integer" : "Cardinal", sizeof(T) > 4 ? tkInt64 : tkInteger);
    } else if constexpr (std::is_same_v<T, std::string>) {
        return StringTypeInfo();
    } else if constexpr (std::is_same_v<T, std::wstring>) {
        return WideStringTypeInfo();
    } else if constexpr (IsSetType<T>::value) {
        static const TTypeInfo info = TTypeInfo::SetOf(TypeInfo<typename T::TElement>());
        return info;
    } else if constexpr (std::is_pointer_v<T> && std::is_base_of_v<TObject, std::remove_pointer_t<T>>) {
        using C = std::remove_cv_t<std::remove_pointer_t<T>>;
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Kind = tkClass;
            t.ClassType = &C::StaticClass();
            t.Name = t.ClassType->ClassName();
            return t;
        }();
        return info;
    } else if constexpr (IsDelegateType<T>::value) {
        static const TTypeInfo info = [] {
            TTypeInfo t;
            t.Kind = tkMethod;
            t.Name = "TMethod";
            t.Signature = &typeid(typename T::TSignature);
            return t;
        }();
        return info;
    } else {
        static_assert(sizeof(T) == 0, "no published type information for this type (enumerations need QUIRN_ENUM)");
    }
}

// Value names for an unscoped or scoped enumeration whose values run 0..n-1,
// listed in order. Use at namespace scope after the enumeration.
#define QUIRN_ENUM(Type, ...)                                                                       \
    inline const TTypeInfo& QuirnTypeInfo(Type*) {                                                  \
        static constexpr Type quirnValues[] = {__VA_ARGS__};                                        \
        static_assert(typeinfo_detail::IsSequential(quirnValues), #Type " values must run 0..n-1"); \
        static const TTypeInfo info = TTypeInfo::Enumeration(#Type, #__VA_ARGS__);                  \
        return info;                                                                                \
    }

// Publishes an enumeration-backed type (e.g. a colour type) as an integer.
#define QUIRN_INTEGER_TYPE(Type)                                                                                     \
    inline const TTypeInfo& QuirnTypeInfo(Type*) {                                                                   \
        using U = std::underlying_type_t<Type>;                                                                      \
        static const TTypeInfo info = TTypeInfo::Integer(#Type, static_cast<int64_t>(std::numeric_limits<U>::min()), \
                                                         static_cast<int64_t>(std::numeric_limits<U>::max()));       \
        return info;                                                                                                 \
    }

// Gives a delegate type its event type name (e.g. "TNotifyEvent").
#define QUIRN_EVENT_TYPE(Type)                                \
    inline const TTypeInfo& QuirnTypeInfo(Type*) {            \
        static const TTypeInfo info = [] {                    \
            TTypeInfo t;                                      \
            t.Kind = tkMethod;                                \
            t.Name = #Type;                                   \
            t.Signature = &typeid(typename Type::TSignature); \
            return t;                                         \
        }();                                                  \
        return info;                                          \
    }

QUIRN_EVENT_TYPE(TNotifyEvent)
