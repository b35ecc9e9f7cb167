// PropInfo: what a class publishes — TPropInfo (a property with its
// accessors), TMethodInfo (an event handler), TFieldInfo (a component field)
// and TPublished, the table of one class — and their lookup by name along the
// class's ancestry.
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

#include "framework/core/IdentMap.h"
#include "framework/core/TypeInfo.h"

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
    // Identifiers of the values of an integer property (colours, cursors);
    // nullptr when its values are plain numbers.
    const TIdentMap* Identifiers() const { return FIdentifiers; }

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
    const TIdentMap* FIdentifiers = nullptr;
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
