// The property routines: by name, on the framework's published-property information.
#include "skin/controls/SkinProps.h"

#include "framework/core/PropAccess.h"
#include "framework/rtl/SysUtils.h"
#include "skin/data/SkinServices.h"

namespace {

// The property of that name when the object has one of the kind; nil otherwise.
const TPropInfo* PropOfKind(TObject* Object, std::string_view Name, TTypeKind Kind) {
    const TPropInfo* Prop = GetPropInfo(Object, Name);
    return Prop != nullptr && Prop->Kind() == Kind ? Prop : nullptr;
}

constexpr int32_t NoIntProp = -1;

}  // namespace

int32_t GetIntProp(TObject* Object, std::string_view Name) {
    const TPropInfo* Prop = PropOfKind(Object, Name, tkInteger);
    if (Prop == nullptr) return NoIntProp;
    return static_cast<int32_t>(GetOrdProp(Object, *Prop));
}

std::string GetEnumPropText(TObject* Object, std::string_view Name) {
    const TPropInfo* Prop = PropOfKind(Object, Name, tkEnumeration);
    if (Prop == nullptr) return {};
    return GetEnumProp(Object, *Prop);
}

std::wstring GetTextProp(TObject* Object, std::string_view Name) {
    const TPropInfo* Prop = GetPropInfo(Object, Name);
    if (Prop == nullptr) return {};
    if (Prop->Kind() == tkWString) return GetWideStrProp(Object, *Prop);
    return AnsiToWide(GetPropAsText(Object, *Prop));
}

TObject* GetObjectPropOf(TObject* Object, std::string_view Name, const TClass& Class) {
    const TPropInfo* Prop = PropOfKind(Object, Name, tkClass);
    if (Prop == nullptr) return nullptr;
    TObject* Value = GetObjectProp(Object, *Prop);
    return Value != nullptr && Value->InheritsFrom(Class) ? Value : nullptr;
}

void SetPropText(TObject* Object, std::string_view Name, std::string_view Value) {
    const TPropInfo* Prop = GetPropInfo(Object, Name);
    if (Prop == nullptr || !Prop->IsWritable()) return;
    switch (Prop->Kind()) {
    case tkInteger: {
        // A text that is no number fails here, with the framework's conversion error.
        const int32_t Number = StrToInt(Value);
        try {
            SetOrdProp(Object, *Prop, Number);
        } catch (const EPropertyError&) {
            // Out of the property's range: left alone.
        }
        break;
    }
    case tkEnumeration:
        if (Prop->PropType().EnumValue(Trim(Value)) >= 0) SetEnumProp(Object, *Prop, Value);
        break;
    case tkString: SetStrProp(Object, *Prop, Value); break;
    case tkWString: SetWideStrProp(Object, *Prop, AnsiToWide(Value)); break;
    default: break;
    }
}

bool IsPropTrue(TObject* Object, std::string_view Name) { return LowerCase(GetEnumPropText(Object, Name)) == "true"; }
