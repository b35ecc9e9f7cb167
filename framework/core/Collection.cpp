#include "framework/core/Collection.h"

#include <algorithm>
#include <memory>

#include "framework/rtl/SysUtils.h"

QUIRN_DEFINE_CLASS(TCollectionItem)
QUIRN_DEFINE_CLASS(TCollection)
QUIRN_DEFINE_CLASS(TOwnedCollection)

// --- TCollectionItem -------------------------------------------------------------

TCollectionItem::~TCollectionItem() { SetCollection(nullptr); }

void TCollectionItem::SetCollection(TCollection* value) {
    if (FCollection == value) return;
    if (FCollection != nullptr) FCollection->RemoveItem(this);
    if (value != nullptr) value->InsertItem(this, value->Count());
}

int32_t TCollectionItem::Index() const {
    if (FCollection == nullptr) return -1;
    const auto& items = FCollection->FItems;
    return static_cast<int32_t>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int32_t value) {
    if (FCollection == nullptr) return;
    auto& items = FCollection->FItems;
    const int32_t current = Index();
    value = std::clamp(value, 0, static_cast<int32_t>(items.size()) - 1);
    if (value == current) return;
    items.erase(items.begin() + current);
    items.insert(items.begin() + value, this);
    Changed(true);
}

TPersistent* TCollectionItem::GetOwner() const { return FCollection; }

void TCollectionItem::Changed(bool allItems) {
    if (FCollection != nullptr && FCollection->FUpdateCount == 0) FCollection->Update(allItems ? nullptr : this);
}

// --- TCollection -----------------------------------------------------------------

TCollection::TCollection(const TClass& itemClass) : FItemClass(&itemClass) {
    if (!itemClass.InheritsFrom(TCollectionItem::StaticClass()))
        throw EInvalidOperation(itemClass.ClassName() + " is not a collection item class");
}

TCollection::~TCollection() {
    FUpdateCount = 1;  // no updates while the items go
    while (!FItems.empty()) delete FItems.back();
}

TCollectionItem* TCollection::Items(int32_t index) const {
    if (index < 0 || index >= Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return FItems[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() { return Insert(Count()); }

TCollectionItem* TCollection::Insert(int32_t index) {
    if (index < 0 || index > Count()) throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    std::unique_ptr<TObject> object(FItemClass->Create(nullptr));
    auto* item = ObjectAs<TCollectionItem>(object.get());
    if (item == nullptr) throw EInvalidOperation(FItemClass->ClassName() + " is not a collection item class");
    object.release();
    InsertItem(item, index);
    return item;
}

void TCollection::InsertItem(TCollectionItem* item, int32_t index) {
    FItems.insert(FItems.begin() + index, item);
    item->FCollection = this;
    item->FID = FNextID++;
    Notify(item, cnAdded);
    Changed();
}

void TCollection::RemoveItem(TCollectionItem* item) {
    Notify(item, cnExtracting);
    std::erase(FItems, item);
    item->FCollection = nullptr;
    Changed();
}

void TCollection::Delete(int32_t index) {
    TCollectionItem* item = Items(index);
    Notify(item, cnDeleting);
    delete item;
}

void TCollection::Clear() {
    if (FItems.empty()) return;
    BeginUpdate();
    try {
        while (!FItems.empty()) delete FItems.back();
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int32_t id) const {
    for (TCollectionItem* item : FItems)
        if (item->FID == id) return item;
    return nullptr;
}

void TCollection::Assign(const TPersistent* source) {
    const auto* other = ObjectAs<TCollection>(source);
    if (other == nullptr) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : other->FItems) Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TCollection::BeginUpdate() { ++FUpdateCount; }

void TCollection::EndUpdate() {
    if (FUpdateCount > 0 && --FUpdateCount == 0) Changed();
}

void TCollection::Update(TCollectionItem*) {}

void TCollection::Notify(TCollectionItem*, TCollectionNotification) {}

void TCollection::Changed() {
    if (FUpdateCount == 0) Update(nullptr);
}
