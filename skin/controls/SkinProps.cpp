// The property routines: by name, on the framework's published-property information.
#include "skin/controls/SkinProps.h"

#include "framework/core/PropAccess.h"
#include "framework/rtl/SysUtils.h"
#include "skin/data/SkinServices.h"

namespace {

// The property of that name when the object has one of the kind; nil otherwise.
const TPropInfo* PropOfKind(TObject* object, std::string_view name, TTypeKind kind) {
    const TPropInfo* prop = GetPropInfo(object, name);
    return prop != nullptr && prop->Kind() == kind ? prop : nullptr;
}

constexpr int32_t NoIntProp = -1;

}  // namespace

int32_t GetIntProp(TObject* object, std::string_view name) {
    const TPropInfo* prop = PropOfKind(object, name, tkInteger);
    if (prop == nullptr) return NoIntProp;
    return static_cast<int32_t>(GetOrdProp(object, *prop));
}

std::string GetEnumPropText(TObject* object, std::string_view name) {
    const TPropInfo* prop = PropOfKind(object, name, tkEnumeration);
    if (prop == nullptr) return {};
    return GetEnumProp(object, *prop);
}

std::wstring GetTextProp(TObject* object, std::string_view name) {
    const TPropInfo* prop = GetPropInfo(object, name);
    if (prop == nullptr) return {};
    if (prop->Kind() == tkWString) return GetWideStrProp(object, *prop);
    return AnsiToWide(GetPropAsText(object, *prop));
}

TObject* GetObjectPropOf(TObject* object, std::string_view name, const TClass& className) {
    const TPropInfo* prop = PropOfKind(object, name, tkClass);
    if (prop == nullptr) return nullptr;
    TObject* value = GetObjectProp(object, *prop);
    return value != nullptr && value->InheritsFrom(className) ? value : nullptr;
}

void SetPropText(TObject* object, std::string_view name, std::string_view value) {
    const TPropInfo* prop = GetPropInfo(object, name);
    if (prop == nullptr || !prop->IsWritable()) return;
    switch (prop->Kind()) {
    case tkInteger: {
        // A text that is no number fails here, with the framework's conversion error.
        const int32_t number = StrToInt(value);
        try {
            SetOrdProp(object, *prop, number);
        } catch (const EPropertyError&) {
            // Out of the property's range: left alone.
        }
        break;
    }
    case tkEnumeration:
        if (prop->PropType().EnumValue(Trim(value)) >= 0) SetEnumProp(object, *prop, value);
        break;
    case tkString: SetStrProp(object, *prop, value); break;
    case tkWString: SetWideStrProp(object, *prop, AnsiToWide(value)); break;
    default: break;
    }
}

bool IsPropTrue(TObject* object, std::string_view name) { return LowerCase(GetEnumPropText(object, name)) == "true"; }
