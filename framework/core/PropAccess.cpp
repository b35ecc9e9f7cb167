#include "framework/core/PropAccess.h"

#include <algorithm>
#include <cstdint>

#include "framework/core/Component.h"

namespace {

[[noreturn]] void WrongKind(const TPropInfo& prop, const char* expected) {
    throw EPropertyError("Property " + prop.Name() + " is not " + expected);
}

void CheckKind(const TPropInfo& prop, std::initializer_list<TTypeKind> kinds, const char* expected) {
    if (std::find(kinds.begin(), kinds.end(), prop.Kind()) == kinds.end()) WrongKind(prop, expected);
}

[[noreturn]] void InvalidValue(const TPropInfo& prop, std::string_view detail) {
    throw EPropertyError("Invalid value for property " + prop.Name() + ": " + std::string(detail));
}

uint64_t SetMask(const TTypeInfo& setType) {
    const int64_t count = setType.CompType != nullptr ? setType.CompType->MaxValue + 1 : 0;
    return count >= 64 ? ~uint64_t{0} : (uint64_t{1} << count) - 1;
}

// Looks a component or a published method up along the owner chain.
TComponent* FindOwnedByName(TObject* instance, std::string_view name) {
    auto* component = ObjectAs<TComponent>(instance);
    for (TComponent* owner = component != nullptr ? component->Owner() : nullptr; owner != nullptr;
         owner = owner->Owner())
        if (TComponent* found = owner->FindComponent(name)) return found;
    if (component != nullptr && SameText(component->Name(), name)) return component;
    return nullptr;
}

TMethod FindMethodOnOwners(TObject* instance, std::string_view name) {
    auto* component = ObjectAs<TComponent>(instance);
    for (TComponent* owner = component != nullptr ? component->Owner() : nullptr; owner != nullptr;
         owner = owner->Owner()) {
        const TMethod method = MethodAddress(owner, name);
        if (method.Assigned()) return method;
    }
    return MethodAddress(instance, name);
}

std::string MethodNameOnOwners(TObject* instance, const TMethod& method) {
    auto* component = ObjectAs<TComponent>(instance);
    for (TComponent* owner = component != nullptr ? component->Owner() : nullptr; owner != nullptr;
         owner = owner->Owner()) {
        std::string name = MethodName(owner, method);
        if (!name.empty()) return name;
    }
    return MethodName(instance, method);
}

// Integer text of a property: its identifier where its map has one, a number
// otherwise (unsigned 32-bit types reach beyond StrToInt; the range check follows).
int64_t IntegerFromText(const TPropInfo& prop, std::string_view text) {
    std::string number(text);
    if (const TIdentMap* idents = prop.Identifiers()) {
        number = Trim(text);
        if (const std::optional<int64_t> value = IdentToInt(number, *idents)) return *value;
        int64_t parsed = 0;
        if (!TryStrToInt64(number, parsed))
            throw EConvertError("'" + number + "' is neither a number nor an identifier of " +
                                std::string(idents->TypeName) + " (property " + prop.Name() + ")");
    }
    if (prop.Kind() == tkInt64 || prop.PropType().MaxValue > INT32_MAX) return StrToInt64(number);
    return StrToInt(number);
}

}  // namespace

// --- typed access ------------------------------------------------------------------

int64_t GetOrdProp(TObject* instance, const TPropInfo& prop) {
    if (!prop.PropType().IsOrdinal()) WrongKind(prop, "an ordinal property");
    return std::get<int64_t>(prop.GetValue(instance));
}

void SetOrdProp(TObject* instance, const TPropInfo& prop, int64_t value) {
    const TTypeInfo& type = prop.PropType();
    if (!type.IsOrdinal()) WrongKind(prop, "an ordinal property");
    if (type.Kind == tkSet) {
        if ((static_cast<uint64_t>(value) & ~SetMask(type)) != 0) InvalidValue(prop, "set element out of range");
    } else if (value < type.MinValue || value > type.MaxValue) {
        InvalidValue(prop, IntToStr(value) + " is out of range");
    }
    prop.SetValue(instance, value);
}

std::string GetStrProp(TObject* instance, const TPropInfo& prop) {
    CheckKind(prop, {tkString, tkWString}, "a string property");
    const TPropValue value = prop.GetValue(instance);
    if (const auto* wide = std::get_if<std::wstring>(&value)) return WideStringToString(*wide);
    return std::get<std::string>(value);
}

void SetStrProp(TObject* instance, const TPropInfo& prop, std::string_view value) {
    CheckKind(prop, {tkString, tkWString}, "a string property");
    if (prop.Kind() == tkWString)
        prop.SetValue(instance, StringToWideString(value));
    else
        prop.SetValue(instance, std::string(value));
}

std::wstring GetWideStrProp(TObject* instance, const TPropInfo& prop) {
    CheckKind(prop, {tkString, tkWString}, "a string property");
    const TPropValue value = prop.GetValue(instance);
    if (const auto* ansi = std::get_if<std::string>(&value)) return StringToWideString(*ansi);
    return std::get<std::wstring>(value);
}

void SetWideStrProp(TObject* instance, const TPropInfo& prop, std::wstring_view value) {
    CheckKind(prop, {tkString, tkWString}, "a string property");
    if (prop.Kind() == tkString)
        prop.SetValue(instance, WideStringToString(value));
    else
        prop.SetValue(instance, std::wstring(value));
}

TObject* GetObjectProp(TObject* instance, const TPropInfo& prop) {
    CheckKind(prop, {tkClass}, "a class property");
    return std::get<TObject*>(prop.GetValue(instance));
}

void SetObjectProp(TObject* instance, const TPropInfo& prop, TObject* value) {
    CheckKind(prop, {tkClass}, "a class property");
    if (value != nullptr && !value->InheritsFrom(*prop.PropType().ClassType))
        InvalidValue(prop, "a " + prop.PropType().ClassType->ClassName() + " is expected, not a " + value->ClassName());
    prop.SetValue(instance, value);
}

TMethod GetMethodProp(TObject* instance, const TPropInfo& prop) {
    CheckKind(prop, {tkMethod}, "an event");
    return std::get<TMethod>(prop.GetValue(instance));
}

void SetMethodProp(TObject* instance, const TPropInfo& prop, const TMethod& value) {
    CheckKind(prop, {tkMethod}, "an event");
    if (value.Assigned() && (value.Signature == nullptr || *value.Signature != *prop.PropType().Signature))
        InvalidValue(prop, "the method does not match the event type");
    prop.SetValue(instance, value);
}

std::string GetEnumProp(TObject* instance, const TPropInfo& prop) {
    CheckKind(prop, {tkEnumeration}, "an enumeration property");
    return prop.PropType().EnumName(std::get<int64_t>(prop.GetValue(instance)));
}

void SetEnumProp(TObject* instance, const TPropInfo& prop, std::string_view valueName) {
    CheckKind(prop, {tkEnumeration}, "an enumeration property");
    const int64_t value = prop.PropType().EnumValue(Trim(valueName));
    if (value < 0) InvalidValue(prop, "'" + std::string(valueName) + "' is not a value of " + prop.PropType().Name);
    prop.SetValue(instance, value);
}

std::string SetToString(const TTypeInfo& setType, uint64_t bits, bool brackets) {
    std::string text;
    const TTypeInfo* element = setType.CompType;
    for (int64_t v = 0; element != nullptr && v <= element->MaxValue && v < 64; ++v) {
        if ((bits & (uint64_t{1} << v)) == 0) continue;
        if (!text.empty()) text += ',';
        text += element->EnumName(v);
    }
    return brackets ? "[" + text + "]" : text;
}

uint64_t StringToSet(const TTypeInfo& setType, std::string_view text) {
    std::string body = Trim(text);
    if (!body.empty() && body.front() == '[') {
        if (body.back() != ']') throw EPropertyError("Invalid set text: " + std::string(text));
        body = body.substr(1, body.size() - 2);
    }
    uint64_t bits = 0;
    size_t start = 0;
    while (start <= body.size()) {
        size_t end = body.find(',', start);
        if (end == std::string::npos) end = body.size();
        const std::string name = Trim(std::string_view(body).substr(start, end - start));
        if (!name.empty()) {
            const int64_t v = setType.CompType != nullptr ? setType.CompType->EnumValue(name) : -1;
            if (v < 0 || v >= 64) throw EPropertyError("'" + name + "' is not a value of " + setType.Name);
            bits |= uint64_t{1} << v;
        } else if (end != body.size() || start != 0) {
            throw EPropertyError("Invalid set text: " + std::string(text));
        }
        start = end + 1;
    }
    return bits;
}

std::string GetSetProp(TObject* instance, const TPropInfo& prop, bool brackets) {
    CheckKind(prop, {tkSet}, "a set property");
    return SetToString(prop.PropType(), static_cast<uint64_t>(std::get<int64_t>(prop.GetValue(instance))), brackets);
}

void SetSetProp(TObject* instance, const TPropInfo& prop, std::string_view text) {
    CheckKind(prop, {tkSet}, "a set property");
    prop.SetValue(instance, static_cast<int64_t>(StringToSet(prop.PropType(), text)));
}

TPropValue GetPropValue(TObject* instance, const TPropInfo& prop) { return prop.GetValue(instance); }

void SetPropValue(TObject* instance, const TPropInfo& prop, const TPropValue& value) {
    switch (prop.Kind()) {
    case tkInteger:
    case tkInt64:
    case tkChar:
    case tkEnumeration:
    case tkSet:
        if (!std::holds_alternative<int64_t>(value)) InvalidValue(prop, "an ordinal value is expected");
        SetOrdProp(instance, prop, std::get<int64_t>(value));
        return;
    case tkString:
    case tkWString:
        if (const auto* ansi = std::get_if<std::string>(&value))
            SetStrProp(instance, prop, *ansi);
        else if (const auto* wide = std::get_if<std::wstring>(&value))
            SetWideStrProp(instance, prop, *wide);
        else
            InvalidValue(prop, "a text value is expected");
        return;
    case tkClass:
        if (!std::holds_alternative<TObject*>(value)) InvalidValue(prop, "an object is expected");
        SetObjectProp(instance, prop, std::get<TObject*>(value));
        return;
    case tkMethod:
        if (!std::holds_alternative<TMethod>(value)) InvalidValue(prop, "a method is expected");
        SetMethodProp(instance, prop, std::get<TMethod>(value));
        return;
    case tkUnknown: break;
    }
    InvalidValue(prop, "unsupported property type");
}

std::string IntegerToText(const TPropInfo& prop, int64_t value) {
    if (const TIdentMap* idents = prop.Identifiers())
        if (const std::optional<std::string_view> ident = IntToIdent(value, *idents)) return std::string(*ident);
    return IntToStr(value);
}

int64_t IdentToPropValue(const TPropInfo& prop, std::string_view ident) {
    const TIdentMap* idents = prop.Identifiers();
    if (idents == nullptr)
        throw EConvertError("Property " + prop.Name() + " takes no identifiers (found " + std::string(ident) + ")");
    const std::optional<int64_t> value = IdentToInt(ident, *idents);
    if (!value.has_value())
        throw EConvertError("Unknown identifier " + std::string(ident) + " for property " + prop.Name() + " (not a " +
                            std::string(idents->TypeName) + ")");
    return *value;
}

std::string GetPropAsText(TObject* instance, const TPropInfo& prop) {
    switch (prop.Kind()) {
    case tkInteger:
    case tkInt64: return IntegerToText(prop, GetOrdProp(instance, prop));
    case tkChar: return std::string(1, static_cast<char>(GetOrdProp(instance, prop)));
    case tkEnumeration: return GetEnumProp(instance, prop);
    case tkSet: return GetSetProp(instance, prop);
    case tkString:
    case tkWString: return GetStrProp(instance, prop);
    case tkClass: {
        TObject* object = GetObjectProp(instance, prop);
        if (object == nullptr) return {};
        if (const auto* component = ObjectAs<TComponent>(object)) return component->Name();
        return "(" + object->ClassName() + ")";
    }
    case tkMethod: return MethodNameOnOwners(instance, GetMethodProp(instance, prop));
    case tkUnknown: break;
    }
    return {};
}

void SetPropAsText(TObject* instance, const TPropInfo& prop, std::string_view text) {
    switch (prop.Kind()) {
    case tkInteger:
    case tkInt64: SetOrdProp(instance, prop, IntegerFromText(prop, text)); return;
    case tkChar:
        if (text.size() != 1) throw EConvertError("'" + std::string(text) + "' is not a single character");
        SetOrdProp(instance, prop, static_cast<unsigned char>(text[0]));
        return;
    case tkEnumeration: SetEnumProp(instance, prop, text); return;
    case tkSet: SetSetProp(instance, prop, text); return;
    case tkString:
    case tkWString: SetStrProp(instance, prop, text); return;
    case tkClass: {
        if (Trim(text).empty()) {
            SetObjectProp(instance, prop, nullptr);
            return;
        }
        TComponent* component = FindOwnedByName(instance, Trim(text));
        if (component == nullptr) InvalidValue(prop, "no component named '" + std::string(text) + "'");
        SetObjectProp(instance, prop, component);
        return;
    }
    case tkMethod: {
        if (Trim(text).empty()) {
            SetMethodProp(instance, prop, TMethod{});
            return;
        }
        const TMethod method = FindMethodOnOwners(instance, Trim(text));
        if (!method.Assigned()) InvalidValue(prop, "no method named '" + std::string(text) + "'");
        SetMethodProp(instance, prop, method);
        return;
    }
    case tkUnknown: break;
    }
    InvalidValue(prop, "unsupported property type");
}

std::optional<TPropValue> GetPropValue(TObject* instance, std::string_view name) {
    const TPropInfo* prop = GetPropInfo(instance, name);
    if (prop == nullptr) return std::nullopt;
    return prop->GetValue(instance);
}

std::optional<std::string> GetPropAsText(TObject* instance, std::string_view name) {
    const TPropInfo* prop = GetPropInfo(instance, name);
    if (prop == nullptr) return std::nullopt;
    return GetPropAsText(instance, *prop);
}

bool SetPropValue(TObject* instance, std::string_view name, const TPropValue& value) {
    const TPropInfo* prop = GetPropInfo(instance, name);
    if (prop == nullptr) return false;
    SetPropValue(instance, *prop, value);
    return true;
}

bool SetPropAsText(TObject* instance, std::string_view name, std::string_view text) {
    const TPropInfo* prop = GetPropInfo(instance, name);
    if (prop == nullptr) return false;
    SetPropAsText(instance, *prop, text);
    return true;
}

bool IsDefaultPropValue(TObject* instance, const TPropInfo& prop) {
    const TPropValue value = prop.GetValue(instance);
    if (const auto* ordinal = std::get_if<int64_t>(&value))
        return prop.Default().has_value() && *prop.Default() == *ordinal;
    if (const auto* ansi = std::get_if<std::string>(&value)) return ansi->empty();
    if (const auto* wide = std::get_if<std::wstring>(&value)) return wide->empty();
    if (const auto* object = std::get_if<TObject*>(&value)) return *object == nullptr;
    if (const auto* method = std::get_if<TMethod>(&value)) return !method->Assigned();
    return true;
}
