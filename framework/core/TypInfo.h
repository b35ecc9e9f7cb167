// TypInfo: run-time information of published properties, methods and fields,
// and the routines that read and write published properties by name.
//
// How a class publishes (in its .cpp file; the class body has QUIRN_CLASS):
//
//     QUIRN_PUBLISH(TButton, p) {
//         p.Property("Caption", &TButton::Caption, &TButton::SetCaption);
//         p.Property("Default", &TButton::Default, &TButton::SetDefault).Default(false);
//         p.Property("ModalResult", &TButton::ModalResult, &TButton::SetModalResult).Default(0);
//         p.Property("Font", &TButton::Font, &TButton::SetFont);       // class property (TFont*)
//         p.Property("OnClick", &TButton::OnClick, &TButton::SetOnClick); // event (a TDelegate)
//     }
//
// - The getter is a member function (const or not) or a data member; its type
//   gives the property's kind: integers -> tkInteger (int64_t -> tkInt64),
//   char -> tkChar, bool -> tkEnumeration "Boolean", an enumeration declared
//   with QUIRN_ENUM -> tkEnumeration, TSet<E> -> tkSet, std::string ->
//   tkString, std::wstring -> tkWString, T* (T derived from TObject) ->
//   tkClass, TDelegate<...> -> tkMethod.
// - The setter is a member function taking the value (by value, const
//   reference or, for strings, string_view), a data member, or omitted for a
//   read-only property.
// - Ordinal properties are written by component streaming unless they equal
//   their Default; strings unless empty; events unless unassigned.
//   .Stored(false) or .Stored(&TFoo::IsBarStored) decides otherwise.
// - Forms publish their event handlers and component fields, so that
//   streaming binds "OnClick = Button1Click" and the field Button1:
//       p.Method("Button1Click", &TForm1::Button1Click);
//       p.Field("Button1", &TForm1::Button1);
// - QUIRN_PUBLISH also registers the class by name for component streaming.
//
// Enumerations get their value names with QUIRN_ENUM next to their declaration:
//
//     enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
//     QUIRN_ENUM(TAlign, alNone, alTop, alBottom, alLeft, alRight, alClient)
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

    bool IsOrdinal() const { return Kind == tkInteger || Kind == tkChar || Kind == tkEnumeration || Kind == tkSet || Kind == tkInt64; }
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

// TPropInfo: one published property of a class.
class TPropInfo {
public:
    using TGetter = std::function<TPropValue(TObject*)>;
    using TSetter = std::function<void(TObject*, const TPropValue&)>;
    using TStoredFunc = std::function<bool(TObject*)>;

    TPropInfo(std::string name, const TTypeInfo& type, TGetter getter, TSetter setter);

    const std::string& Name() const { return FName; }
    const TTypeInfo& PropType() const { return *FType; }
    TTypeKind Kind() const { return FType->Kind; }
    bool IsWritable() const { return static_cast<bool>(FSetter); }
    const std::optional<int64_t>& Default() const { return FDefault; }

    // Raw access; the value must have the property's alternative (checked).
    TPropValue GetValue(TObject* instance) const;
    void SetValue(TObject* instance, const TPropValue& value) const;
    bool IsStored(TObject* instance) const { return !FStored || FStored(instance); }

private:
    friend class TPropertyBuilder;
    std::string FName;
    const TTypeInfo* FType;
    TGetter FGetter;
    TSetter FSetter;
    std::optional<int64_t> FDefault;
    TStoredFunc FStored;
};

// TMethodInfo: a published method (an event handler a form offers by name).
struct TMethodInfo {
    std::string Name;
    const std::type_info* Signature = nullptr;
    std::function<TMethod(TObject*)> Bind;  // the method bound to an instance
};

// TFieldInfo: a published component field, set when a component of that name
// is added to the instance (and cleared when it goes).
struct TFieldInfo {
    std::string Name;
    const TClass* FieldClass = nullptr;
    std::function<void(TObject* instance, TObject* value)> Assign;
    std::function<TObject*(TObject* instance)> Value;
};

// TPublished: what one class itself publishes (ancestors have their own).
class TPublished {
public:
    std::vector<std::unique_ptr<TPropInfo>> Properties;
    std::vector<TMethodInfo> Methods;
    std::vector<TFieldInfo> Fields;
};

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

namespace typinfo_detail {
template <class T>
concept HasCustomTypeInfo = requires { QuirnTypeInfo(static_cast<T*>(nullptr)); };

template <class T>
const TTypeInfo& IntegerTypeInfo(const char* name, TTypeKind kind = tkInteger) {
    static const TTypeInfo info =
        TTypeInfo::Integer(name, static_cast<int64_t>(std::numeric_limits<T>::min()), static_cast<int64_t>(std::numeric_limits<T>::max()), kind);
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
}  // namespace typinfo_detail

// The type information of T (see the kinds in the header comment).
template <class T>
const TTypeInfo& TypeInfo() {
    using namespace typinfo_detail;
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
#define QUIRN_ENUM(Type, ...)                                                                      \
    inline const TTypeInfo& QuirnTypeInfo(Type*) {                                                 \
        static constexpr Type quirnValues[] = {__VA_ARGS__};                                       \
        static_assert(typinfo_detail::IsSequential(quirnValues), #Type " values must run 0..n-1"); \
        static const TTypeInfo info = TTypeInfo::Enumeration(#Type, #__VA_ARGS__);                 \
        return info;                                                                               \
    }

// Publishes an enumeration-backed type (e.g. a colour type) as an integer.
#define QUIRN_INTEGER_TYPE(Type)                                                                                \
    inline const TTypeInfo& QuirnTypeInfo(Type*) {                                                              \
        using U = std::underlying_type_t<Type>;                                                                 \
        static const TTypeInfo info = TTypeInfo::Integer(#Type, static_cast<int64_t>(std::numeric_limits<U>::min()), \
                                                         static_cast<int64_t>(std::numeric_limits<U>::max()));   \
        return info;                                                                                            \
    }

// Gives a delegate type its event type name (e.g. "TNotifyEvent").
#define QUIRN_EVENT_TYPE(Type)                                                   \
    inline const TTypeInfo& QuirnTypeInfo(Type*) {                               \
        static const TTypeInfo info = [] {                                       \
            TTypeInfo t;                                                         \
            t.Kind = tkMethod;                                                   \
            t.Name = #Type;                                                      \
            t.Signature = &typeid(typename Type::TSignature);                    \
            return t;                                                            \
        }();                                                                     \
        return info;                                                             \
    }

QUIRN_EVENT_TYPE(TNotifyEvent)

// --- conversion between C++ values and TPropValue -----------------------------

namespace typinfo_detail {
[[noreturn]] void InvalidPropertyValue(const std::string& detail);

template <class T>
TPropValue ToPropValue(const T& value) {
    if constexpr (IsSetType<T>::value) {
        return static_cast<int64_t>(value.Bits());
    } else if constexpr (std::is_enum_v<T>) {
        return static_cast<int64_t>(static_cast<std::underlying_type_t<T>>(value));
    } else if constexpr (std::is_same_v<T, char>) {
        return static_cast<int64_t>(static_cast<unsigned char>(value));
    } else if constexpr (std::is_integral_v<T>) {
        return static_cast<int64_t>(value);
    } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::wstring>) {
        return value;
    } else if constexpr (std::is_pointer_v<T>) {
        return static_cast<TObject*>(const_cast<std::remove_cv_t<std::remove_pointer_t<T>>*>(value));
    } else if constexpr (IsDelegateType<T>::value) {
        return value.ToMethod();
    }
}

template <class T>
T FromPropValue(const TPropValue& value) {
    if constexpr (IsSetType<T>::value || std::is_enum_v<T> || std::is_integral_v<T>) {
        const int64_t* ordinal = std::get_if<int64_t>(&value);
        if (ordinal == nullptr) InvalidPropertyValue("an ordinal value is expected");
        if constexpr (IsSetType<T>::value)
            return T::FromBits(static_cast<uint64_t>(*ordinal));
        else if constexpr (std::is_same_v<T, bool>)
            return *ordinal != 0;
        else if constexpr (std::is_enum_v<T>)
            return static_cast<T>(static_cast<std::underlying_type_t<T>>(*ordinal));
        else
            return static_cast<T>(*ordinal);
    } else if constexpr (std::is_same_v<T, std::string> || std::is_same_v<T, std::wstring>) {
        const T* text = std::get_if<T>(&value);
        if (text == nullptr) InvalidPropertyValue("a text value is expected");
        return *text;
    } else if constexpr (std::is_pointer_v<T>) {
        using C = std::remove_cv_t<std::remove_pointer_t<T>>;
        TObject* const* object = std::get_if<TObject*>(&value);
        if (object == nullptr) InvalidPropertyValue("an object is expected");
        if (*object != nullptr && !(*object)->InheritsFrom(C::StaticClass()))
            InvalidPropertyValue("a " + C::StaticClass().ClassName() + " is expected, not a " + (*object)->ClassName());
        return static_cast<C*>(*object);
    } else if constexpr (IsDelegateType<T>::value) {
        const TMethod* method = std::get_if<TMethod>(&value);
        if (method == nullptr) InvalidPropertyValue("a method is expected");
        if (method->Assigned() && *method->Signature != typeid(typename T::TSignature))
            InvalidPropertyValue("the method does not match the event type");
        return T::FromMethod(*method);
    }
}

template <class M>
struct GetterTraits;
template <class C, class R>
struct GetterTraits<R (C::*)() const> {
    using Class = C;
    using Type = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterTraits<R (C::*)()> {
    using Class = C;
    using Type = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterTraits<R (C::*)() const noexcept> {
    using Class = C;
    using Type = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterTraits<R (C::*)() noexcept> {
    using Class = C;
    using Type = std::remove_cvref_t<R>;
};
template <class C, class R>
struct GetterTraits<R C::*> {
    using Class = C;
    using Type = R;
};
}  // namespace typinfo_detail

// TPropertyBuilder: chained options of one property being published.
class TPropertyBuilder {
public:
    explicit TPropertyBuilder(TPropInfo& info) : FInfo(info) {}
    // Ordinal default: the value component streaming leaves out.
    template <class T>
    TPropertyBuilder& Default(T value) {
        const TPropValue v = typinfo_detail::ToPropValue<T>(value);
        FInfo.FDefault = std::get<int64_t>(v);
        return *this;
    }
    TPropertyBuilder& NoDefault() {
        FInfo.FDefault.reset();
        return *this;
    }
    TPropertyBuilder& Stored(bool stored) {
        FInfo.FStored = [stored](TObject*) { return stored; };
        return *this;
    }
    template <class C>
    TPropertyBuilder& Stored(bool (C::*predicate)() const) {
        FInfo.FStored = [predicate](TObject* instance) { return (static_cast<C*>(instance)->*predicate)(); };
        return *this;
    }

private:
    TPropInfo& FInfo;
};

// TPublisher<C>: the builder handed to QUIRN_PUBLISH for class C.
template <class C>
class TPublisher {
public:
    explicit TPublisher(TPublished& table) : FTable(table) {}

    template <class Getter, class Setter>
    TPropertyBuilder Property(std::string_view name, Getter getter, Setter setter) {
        using T = typename typinfo_detail::GetterTraits<Getter>::Type;
        TPropInfo::TSetter set;
        if constexpr (!std::is_same_v<Setter, std::nullptr_t>) {
            set = [setter](TObject* instance, const TPropValue& value) {
                C* object = static_cast<C*>(instance);
                if constexpr (std::is_member_object_pointer_v<Setter>)
                    object->*setter = typinfo_detail::FromPropValue<T>(value);
                else
                    (object->*setter)(typinfo_detail::FromPropValue<T>(value));
            };
        }
        return Add<T>(name, getter, std::move(set));
    }

    template <class Getter>
    TPropertyBuilder Property(std::string_view name, Getter getter) {
        using T = typename typinfo_detail::GetterTraits<Getter>::Type;
        return Add<T>(name, getter, TPropInfo::TSetter());
    }

    template <class B, class R, class... A>
    void Method(std::string_view name, R (B::*member)(A...)) {
        static_assert(std::is_base_of_v<B, C>);
        FTable.Methods.push_back(TMethodInfo{
            std::string(name), &typeid(R(A...)),
            [member](TObject* instance) { return TDelegate<R(A...)>(static_cast<C*>(instance), member).ToMethod(); }});
    }

    template <class B, class T>
    void Field(std::string_view name, T* B::*field) {
        static_assert(std::is_base_of_v<B, C> && std::is_base_of_v<TObject, T>);
        FTable.Fields.push_back(TFieldInfo{
            std::string(name), &T::StaticClass(),
            [field](TObject* instance, TObject* value) { static_cast<C*>(instance)->*field = static_cast<T*>(value); },
            [field](TObject* instance) -> TObject* { return static_cast<C*>(instance)->*field; }});
    }

    static std::shared_ptr<const TPublished> Build() {
        auto table = std::make_shared<TPublished>();
        TPublisher publisher(*table);
        C::QuirnPublish(publisher);
        return table;
    }

private:
    template <class T, class Getter>
    TPropertyBuilder Add(std::string_view name, Getter getter, TPropInfo::TSetter set) {
        auto get = [getter](TObject* instance) -> TPropValue {
            C* object = static_cast<C*>(instance);
            if constexpr (std::is_member_object_pointer_v<Getter>)
                return typinfo_detail::ToPropValue<T>(object->*getter);
            else
                return typinfo_detail::ToPropValue<T>((object->*getter)());
        };
        FTable.Properties.push_back(std::make_unique<TPropInfo>(std::string(name), TypeInfo<T>(), std::move(get), std::move(set)));
        return TPropertyBuilder(*FTable.Properties.back());
    }

    TPublished& FTable;
};

// Defines Self::StaticClass() with a published table and registers the class
// by name; the braces that follow are the publishing function's body.
#define QUIRN_PUBLISH(Self, publisher)                                                                      \
    const TClass& Self::StaticClass() {                                                                     \
        static const TClass quirnClass(#Self, &Self::inherited::StaticClass(), TClass::CreatorFor<Self>(),  \
                                       &TPublisher<Self>::Build);                                           \
        return quirnClass;                                                                                  \
    }                                                                                                       \
    QUIRN_REGISTER_CLASS(Self)                                                                              \
    void Self::QuirnPublish([[maybe_unused]] TPublisher<Self>& publisher)

// --- lookup --------------------------------------------------------------------

// The property of that name (letter case ignored), searching from the class
// to its ancestors; nullptr when missing (also for a nil instance).
const TPropInfo* GetPropInfo(const TClass& cls, std::string_view name);
const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name);
bool IsPublishedProp(const TObject* instance, std::string_view name);
// Every property of the class, ancestors' first; a property republished by a
// descendant keeps its ancestor's place.
std::vector<const TPropInfo*> GetPropList(const TClass& cls);
// tkUnknown when the instance is nil or lacks the property.
TTypeKind PropKind(const TObject* instance, std::string_view name);

const TMethodInfo* FindPublishedMethod(const TClass& cls, std::string_view name);
// The published method bound to instance; an unassigned TMethod when missing.
TMethod MethodAddress(TObject* instance, std::string_view name);
// Name of a published method of instance that method is bound to; empty if none.
std::string MethodName(TObject* instance, const TMethod& method);
const TFieldInfo* FindPublishedField(const TClass& cls, std::string_view name);

// --- typed access through a TPropInfo -----------------------------------------
// Each raises EPropertyError when the property has another kind, is read-only,
// or the value is out of the type's range.

int64_t GetOrdProp(TObject* instance, const TPropInfo& prop);
void SetOrdProp(TObject* instance, const TPropInfo& prop, int64_t value);
std::string GetStrProp(TObject* instance, const TPropInfo& prop);
void SetStrProp(TObject* instance, const TPropInfo& prop, std::string_view value);
std::wstring GetWideStrProp(TObject* instance, const TPropInfo& prop);
void SetWideStrProp(TObject* instance, const TPropInfo& prop, std::wstring_view value);
TObject* GetObjectProp(TObject* instance, const TPropInfo& prop);
void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value);
TMethod GetMethodProp(TObject* instance, const TPropInfo& prop);
void SetMethodProp(TObject* instance, const TPropInfo& prop, const TMethod& value);
// Enumerations by value name (booleans "False"/"True").
std::string GetEnumProp(TObject* instance, const TPropInfo& prop);
void SetEnumProp(TObject* instance, const TPropInfo& prop, std::string_view valueName);
// Sets as element names "a,b" (with brackets: "[a,b]"); reading accepts both
// forms and blanks around names.
std::string GetSetProp(TObject* instance, const TPropInfo& prop, bool brackets = false);
void SetSetProp(TObject* instance, const TPropInfo& prop, std::string_view text);
std::string SetToString(const TTypeInfo& setType, uint64_t bits, bool brackets = false);
uint64_t StringToSet(const TTypeInfo& setType, std::string_view text);

// Value of any kind; set checks the alternative and the range.
TPropValue GetPropValue(TObject* instance, const TPropInfo& prop);
void SetPropValue(TObject* instance, const TPropInfo& prop, const TPropValue& value);

// Value as text: integers in decimal, chars as the character, enumerations
// and sets by name, strings as they are (wide strings in the ANSI code page),
// components by Name (empty for none; a non-component object as "(TClass)"),
// methods by published method name. Setting from text: integers through
// StrToInt (EConvertError), enumerations, sets, components and methods by name
// (EPropertyError when unknown); components and methods are looked up on the
// instance's owner chain.
std::string GetPropAsText(TObject* instance, const TPropInfo& prop);
void SetPropAsText(TObject* instance, const TPropInfo& prop, std::string_view text);

// --- by name: a missing property is an answer, not an error ---------------------

// nullopt when the instance is nil or has no such property.
std::optional<TPropValue> GetPropValue(TObject* instance, std::string_view name);
std::optional<std::string> GetPropAsText(TObject* instance, std::string_view name);
// false when the instance is nil or has no such property.
bool SetPropValue(TObject* instance, std::string_view name, const TPropValue& value);
bool SetPropAsText(TObject* instance, std::string_view name, std::string_view text);

// True when the value equals the property's default (the ordinal Default,
// empty text, an unassigned event, no object); streaming leaves it out.
bool IsDefaultPropValue(TObject* instance, const TPropInfo& prop);
