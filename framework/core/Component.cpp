#include "framework/core/Component.h"

#include <algorithm>

#include "framework/rtl/SysUtils.h"

QUIRN_PUBLISH(TComponent, p) {
    // The name travels in the object header of the stored form.
    p.Property("Name", &TComponent::Name, &TComponent::SetName).Stored(false);
    p.Property("Tag", &TComponent::Tag, &TComponent::SetTag).Default(0);
}

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

void EraseOne(std::vector<TComponent*>& list, TComponent* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end()) list.erase(it);
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner != nullptr) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    // Each one told removes itself from this list (and this from its).
    while (!FFreeNotifies.empty()) {
        TComponent* other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        EraseOne(other->FFreeNotifies, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner != nullptr) FOwner->RemoveComponent(this);
}

bool TComponent::IsValidIdent(std::string_view name) {
    if (name.empty() || !IsIdentStart(name[0])) return false;
    return std::all_of(name.begin() + 1, name.end(), IsIdentChar);
}

TComponent* TComponent::Components(int32_t index) const {
    if (index < 0 || index >= ComponentCount()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FComponents[static_cast<size_t>(index)];
}

int32_t TComponent::ComponentIndex() const {
    if (FOwner == nullptr) return -1;
    const auto& list = FOwner->FComponents;
    return static_cast<int32_t>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::SetComponentIndex(int32_t index) {
    if (FOwner == nullptr) return;
    auto& list = FOwner->FComponents;
    const int32_t current = ComponentIndex();
    index = std::clamp(index, 0, static_cast<int32_t>(list.size()) - 1);
    if (index == current) return;
    list.erase(list.begin() + current);
    list.insert(list.begin() + index, this);
}

void TComponent::SetName(std::string_view newName) {
    if (FName == newName) return;
    if (!newName.empty() && !IsValidIdent(newName))
        throw EComponentError("'" + std::string(newName) + "' is not a valid component name");
    if (FOwner != nullptr)
        FOwner->ValidateRename(this, FName, newName);
    else
        ValidateRename(nullptr, FName, newName);
    SetReference(false);
    FName = newName;
    SetReference(true);
}

void TComponent::ValidateRename(TComponent* component, std::string_view curName, std::string_view newName) {
    if (component != nullptr && !SameText(curName, newName) && !newName.empty() && FindComponent(newName) != nullptr)
        throw EComponentError("A component named " + std::string(newName) + " already exists");
}

void TComponent::SetReference(bool enable) {
    if (FOwner == nullptr || FName.empty()) return;
    const TFieldInfo* field = FindPublishedField(FOwner->ClassType(), FName);
    if (field == nullptr) return;
    if (enable) {
        if (InheritsFrom(*field->FieldClass)) field->Assign(FOwner, this);
    } else if (field->Value(FOwner) == this) {
        // Also while this component is being destroyed and no longer its full class.
        field->Assign(FOwner, nullptr);
    }
}

void TComponent::Insert(TComponent* component) {
    FComponents.push_back(component);
    component->FOwner = this;
}

void TComponent::Remove(TComponent* component) {
    EraseOne(FComponents, component);
    component->FOwner = nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component == nullptr || component->FOwner == this) return;
    if (component->FOwner != nullptr) component->FOwner->RemoveComponent(component);
    ValidateRename(component, "", component->FName);
    Insert(component);
    component->SetReference(true);
    if (FComponentState.Contains(csDesigning)) component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (component == nullptr || component->FOwner != this) return;
    Notification(component, opRemove);
    component->SetReference(false);
    Remove(component);
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* component : FComponents)
        if (SameText(component->FName, name)) return component;
    return nullptr;
}

void TComponent::DestroyComponents() {
    while (!FComponents.empty()) {
        TComponent* component = FComponents.back();
        component->SetReference(false);
        Remove(component);
        delete component;
    }
}

void TComponent::Destroying() {
    if (FComponentState.Contains(csDestroying)) return;
    FComponentState.Include(csDestroying);
    for (TComponent* component : FComponents) component->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
    if (component == nullptr || component == this) return;
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
        component->FFreeNotifies.end())
        component->FFreeNotifies.push_back(this);
    FComponentState.Include(csFreeNotification);
    component->FComponentState.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (component == nullptr) return;
    EraseOne(FFreeNotifies, component);
    EraseOne(component->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == opRemove && component != nullptr) RemoveFreeNotification(component);
    // The list may shrink while the news travels; stay inside it.
    int32_t i = ComponentCount() - 1;
    while (i >= 0) {
        FComponents[static_cast<size_t>(i)]->Notification(component, operation);
        --i;
        if (i >= ComponentCount()) i = ComponentCount() - 1;
    }
}

void TComponent::Loaded() { FComponentState.Exclude(csLoading); }

void TComponent::SetParentComponent(TComponent*) {}

void TComponent::GetChildren(const TGetChildProc& proc, TComponent* root) {
    if (root != this) return;
    for (TComponent* component : FComponents)
        if (!component->HasParent()) proc(component);
}

void TComponent::SetChildOrder(TComponent* child, int32_t order) {
    if (child != nullptr && child->FOwner == this) child->SetComponentIndex(order);
}

void TComponent::SetDesigning(bool value, bool setChildren) {
    SetState(csDesigning, value);
    if (setChildren)
        for (TComponent* component : FComponents) component->SetDesigning(value, true);
}

void TComponent::SetState(TComponentStateItem item, bool on) {
    if (on)
        FComponentState.Include(item);
    else
        FComponentState.Exclude(item);
}
