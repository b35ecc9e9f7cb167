#include "framework/core/PropInfo.h"

#include <algorithm>

// --- TPropInfo -------------------------------------------------------------------

TPropInfo::TPropInfo(std::string name, const TTypeInfo& type, TGetter getter, TSetter setter)
    : FName(std::move(name)), FType(&type), FGetter(std::move(getter)), FSetter(std::move(setter)) {}

TPropValue TPropInfo::GetValue(TObject* instance) const { return FGetter(instance); }

void TPropInfo::SetValue(TObject* instance, const TPropValue& value) const {
    if (!FSetter) throw EPropertyError("Property " + FName + " is read-only");
    FSetter(instance, value);
}

// --- lookup ----------------------------------------------------------------------

const TPropInfo* GetPropInfo(const TClass& cls, std::string_view name) {
    for (const TClass* c = &cls; c != nullptr; c = c->ClassParent()) {
        if (const TPublished* table = c->Published())
            for (const auto& prop : table->Properties)
                if (SameText(prop->Name(), name)) return prop.get();
    }
    return nullptr;
}

const TPropInfo* GetPropInfo(const TObject* instance, std::string_view name) {
    return instance == nullptr ? nullptr : GetPropInfo(instance->ClassType(), name);
}

bool IsPublishedProp(const TObject* instance, std::string_view name) { return GetPropInfo(instance, name) != nullptr; }

std::vector<const TPropInfo*> GetPropList(const TClass& cls) {
    std::vector<const TClass*> chain;
    for (const TClass* c = &cls; c != nullptr; c = c->ClassParent()) chain.push_back(c);
    std::vector<const TPropInfo*> list;
    for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
        const TPublished* table = (*it)->Published();
        if (table == nullptr) continue;
        for (const auto& prop : table->Properties) {
            auto same = std::find_if(list.begin(), list.end(),
                                     [&](const TPropInfo* p) { return SameText(p->Name(), prop->Name()); });
            if (same != list.end())
                *same = prop.get();
            else
                list.push_back(prop.get());
        }
    }
    return list;
}

TTypeKind PropKind(const TObject* instance, std::string_view name) {
    const TPropInfo* prop = GetPropInfo(instance, name);
    return prop == nullptr ? tkUnknown : prop->Kind();
}

const TMethodInfo* FindPublishedMethod(const TClass& cls, std::string_view name) {
    for (const TClass* c = &cls; c != nullptr; c = c->ClassParent()) {
        if (const TPublished* table = c->Published())
            for (const auto& method : table->Methods)
                if (SameText(method.Name, name)) return &method;
    }
    return nullptr;
}

TMethod MethodAddress(TObject* instance, std::string_view name) {
    if (instance == nullptr) return {};
    const TMethodInfo* info = FindPublishedMethod(instance->ClassType(), name);
    return info == nullptr ? TMethod{} : info->Bind(instance);
}

std::string MethodName(TObject* instance, const TMethod& method) {
    if (instance == nullptr || !method.Assigned()) return {};
    for (const TClass* c = &instance->ClassType(); c != nullptr; c = c->ClassParent()) {
        if (const TPublished* table = c->Published())
            for (const auto& info : table->Methods)
                if (info.Bind(instance) == method) return info.Name;
    }
    return {};
}

const TFieldInfo* FindPublishedField(const TClass& cls, std::string_view name) {
    for (const TClass* c = &cls; c != nullptr; c = c->ClassParent()) {
        if (const TPublished* table = c->Published())
            for (const auto& field : table->Fields)
                if (SameText(field.Name, name)) return &field;
    }
    return nullptr;
}
