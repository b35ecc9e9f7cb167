// Collection: TCollection, an owned list of items of one class (status-bar
// panels, header sections), and TCollectionItem, the base of those items.
// Component streaming stores a collection property as a list of items.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/rtl/Object.h"

class TCollection;

// What Notify reports: an item was added, is leaving the collection, or is
// about to be deleted (a deleted item then reports cnExtracting as it leaves).
enum TCollectionNotification { cnAdded, cnExtracting, cnDeleting };

// TCollectionItem: one item; belongs to at most one collection, which frees it.
class TCollectionItem : public TPersistent {
    QUIRN_CLASS(TCollectionItem, TPersistent)
public:
    TCollectionItem() = default;
    ~TCollectionItem() override;

    TCollection* Collection() const { return FCollection; }
    // Moves the item to another collection (nullptr: none; the caller then owns it).
    void SetCollection(TCollection* value);
    // Position in the collection; -1 without one.
    int32_t Index() const;
    void SetIndex(int32_t value);
    // Identity that stays with the item while others come and go.
    int32_t ID() const { return FID; }
    virtual std::string DisplayName() const { return ClassName(); }
    TPersistent* GetOwner() const override;

protected:
    // Tells the collection that this item (or, with allItems, every item) changed.
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection* FCollection = nullptr;
    int32_t FID = 0;
};

// TCollection: items of ItemClass in order; frees them.
class TCollection : public TPersistent {
    QUIRN_CLASS(TCollection, TPersistent)
public:
    // ItemClass must descend from TCollectionItem and be creatable.
    explicit TCollection(const TClass& itemClass);
    ~TCollection() override;

    const TClass& ItemClass() const { return *FItemClass; }
    int32_t Count() const { return static_cast<int32_t>(FItems.size()); }
    // EListError out of range.
    TCollectionItem* Items(int32_t index) const;
    template <class T>
    T* ItemAs(int32_t index) const {
        return ObjectAs<T>(Items(index));
    }
    TCollectionItem* Add();
    TCollectionItem* Insert(int32_t index);
    void Delete(int32_t index);
    void Clear();
    TCollectionItem* FindItemID(int32_t id) const;

    // Replaces the items by copies of the source's items (item Assign).
    void Assign(const TPersistent* source) override;

    void BeginUpdate();
    void EndUpdate();
    int32_t UpdateCount() const { return FUpdateCount; }

protected:
    // An item changed (nullptr: the whole collection); not during BeginUpdate.
    virtual void Update(TCollectionItem* item);
    virtual void Notify(TCollectionItem* item, TCollectionNotification action);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem* item, int32_t index);
    void RemoveItem(TCollectionItem* item);

    const TClass* FItemClass;
    std::vector<TCollectionItem*> FItems;
    int32_t FNextID = 0;
    int32_t FUpdateCount = 0;
};

// TOwnedCollection: a collection that names its owner (for streaming paths).
class TOwnedCollection : public TCollection {
    QUIRN_CLASS(TOwnedCollection, TCollection)
public:
    TOwnedCollection(TPersistent* owner, const TClass& itemClass) : TCollection(itemClass), FOwner(owner) {}
    TPersistent* GetOwner() const override { return FOwner; }

private:
    TPersistent* FOwner;
};
