#include "framework/core/Collection.h"

#include <gtest/gtest.h>

#include "TestClasses.h"

namespace {

class TCountingCollection : public TCollection {
public:
    TCountingCollection() : TCollection(TTestItem::StaticClass()) {}
    int Updates = 0;

protected:
    void Update(TCollectionItem*) override { ++Updates; }
};

}  // namespace

TEST(Collection, AddsInsertsDeletesAndKeepsIds) {
    TCollection collection(TTestItem::StaticClass());
    auto* a = collection.Add();
    auto* b = collection.Add();
    auto* c = collection.Insert(0);
    EXPECT_EQ(collection.Count(), 3);
    EXPECT_EQ(c->Index(), 0);
    EXPECT_EQ(a->Index(), 1);
    EXPECT_EQ(a->Collection(), &collection);
    EXPECT_EQ(collection.FindItemID(b->ID()), b);
    collection.Delete(1);
    EXPECT_EQ(collection.Count(), 2);
    EXPECT_EQ(collection.Items(1), b);
    b->SetIndex(0);
    EXPECT_EQ(collection.Items(0), b);
    EXPECT_THROW(collection.Items(2), EListError);
    delete b;  // an item freed directly leaves its collection
    EXPECT_EQ(collection.Count(), 1);
    EXPECT_EQ(collection.Items(0), c);
}

TEST(Collection, ItemsMoveBetweenCollections) {
    TCollection first(TTestItem::StaticClass());
    TCollection second(TTestItem::StaticClass());
    auto* item = first.Add();
    item->SetCollection(&second);
    EXPECT_EQ(first.Count(), 0);
    EXPECT_EQ(second.Items(0), item);
    item->SetCollection(nullptr);
    EXPECT_EQ(second.Count(), 0);
    delete item;
}

TEST(Collection, AssignCopiesItemsThroughTheirAssign) {
    TCollection source(TTestItem::StaticClass());
    auto* item = static_cast<TTestItem*>(source.Add());
    item->SetText("x");
    item->SetWidth(9);
    TCollection copy(TTestItem::StaticClass());
    copy.Add();
    copy.Add();
    copy.Assign(&source);
    ASSERT_EQ(copy.Count(), 1);
    EXPECT_EQ(copy.ItemAs<TTestItem>(0)->Text(), "x");
    EXPECT_EQ(copy.ItemAs<TTestItem>(0)->Width(), 9);
}

TEST(Collection, UpdatesAreBatched) {
    TCountingCollection collection;
    collection.Add();
    EXPECT_EQ(collection.Updates, 1);
    collection.BeginUpdate();
    collection.Add();
    collection.Add();
    collection.Clear();
    EXPECT_EQ(collection.Updates, 1);
    collection.EndUpdate();
    EXPECT_EQ(collection.Updates, 2);
}

TEST(Collection, RefusesItemClassesThatAreNotItems) {
    EXPECT_THROW(TCollection collection(TTestFont::StaticClass()), EInvalidOperation);
}

TEST(Collection, OwnedCollectionNamesItsOwner) {
    TTestWidget widget(nullptr);
    EXPECT_EQ(widget.Items()->GetOwner(), &widget);
    EXPECT_EQ(widget.Items()->Add()->GetOwner(), widget.Items());
}
