#include "framework/rtl/Object.h"

#include <map>

#include "framework/rtl/SysUtils.h"

namespace {

// Registered classes by name. Function-local so that registrations made while
// the program starts find it constructed.
std::map<std::string, const TClass*, std::less<>>& ClassRegistry() {
    static std::map<std::string, const TClass*, std::less<>> registry;
    return registry;
}

}  // namespace

TClass::TClass(std::string name, const TClass* parent, TCreateFunc create, TPublishedBuilder published)
    : FName(std::move(name)), FParent(parent), FCreate(create), FBuildPublished(published) {}

bool TClass::InheritsFrom(const TClass& other) const {
    for (const TClass* cls = this; cls != nullptr; cls = cls->FParent)
        if (cls == &other) return true;
    return false;
}

bool TClass::InheritsFrom(std::string_view className) const {
    for (const TClass* cls = this; cls != nullptr; cls = cls->FParent)
        if (cls->FName == className) return true;
    return false;
}

TObject* TClass::Create(TComponent* owner) const {
    if (FCreate == nullptr) throw EInvalidOperation("Cannot create an instance of abstract class " + FName);
    return FCreate(owner);
}

const TPublished* TClass::Published() const {
    if (FBuildPublished == nullptr) return nullptr;
    std::call_once(FPublishedOnce, [this] { FPublished = FBuildPublished(); });
    return FPublished.get();
}

const TClass& TObject::StaticClass() {
    static const TClass objectClass("TObject", nullptr, TClass::CreatorFor<TObject>());
    return objectClass;
}

bool RegisterClassType(const TClass& cls) {
    auto [it, inserted] = ClassRegistry().emplace(cls.ClassName(), &cls);
    return inserted || it->second == &cls;
}

void UnRegisterClassType(const TClass& cls) {
    auto& registry = ClassRegistry();
    auto it = registry.find(cls.ClassName());
    if (it != registry.end() && it->second == &cls) registry.erase(it);
}

const TClass* GetClass(std::string_view className) {
    auto& registry = ClassRegistry();
    auto it = registry.find(className);
    return it == registry.end() ? nullptr : it->second;
}

const TClass& FindClass(std::string_view className) {
    const TClass* cls = GetClass(className);
    if (cls == nullptr) throw EClassNotFound("Class " + std::string(className) + " not found");
    return *cls;
}

// --- TPersistent -------------------------------------------------------------

QUIRN_DEFINE_CLASS(TPersistent)

void TPersistent::Assign(const TPersistent* source) {
    if (source == nullptr) AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) const { dest->AssignError(this); }

void TPersistent::DefineProperties(TFiler&) {}

void TPersistent::AssignError(const TPersistent* source) const {
    const std::string sourceName = source != nullptr ? source->ClassName() : std::string("nil");
    throw EConvertError("Cannot assign a " + sourceName + " to a " + ClassName());
}
