#include "framework/core/Component.h"
#include "framework/core/PropAccess.h"

#include <gtest/gtest.h>

#include <memory>

#include "TestClasses.h"

namespace {

// Records the notifications it receives and counts its destructions.
class TWatcher : public TComponent {
    QUIRN_CLASS(TWatcher, TComponent)
public:
    explicit TWatcher(TComponent* AOwner, std::string* log = nullptr) : TComponent(AOwner), FLog(log) {}
    ~TWatcher() override {
        if (FLog != nullptr) *FLog += "~" + Name() + ";";
    }
    void Notification(TComponent* component, TOperation operation) override {
        if (FLog != nullptr && component != this)
            *FLog += Name() + (operation == opInsert ? "+" : "-") + component->Name() + ";";
        TComponent::Notification(component, operation);
    }

private:
    std::string* FLog;
};

}  // namespace

QUIRN_DEFINE_CLASS(TWatcher)

TEST(Component, OwnerKeepsOwnedComponentsInOrderAndFreesThem) {
    std::string log;
    {
        TWatcher owner(nullptr, &log);
        owner.SetName("Owner");
        auto* a = new TWatcher(&owner, &log);
        a->SetName("A");
        auto* b = new TWatcher(&owner, &log);
        b->SetName("B");
        EXPECT_EQ(owner.ComponentCount(), 2);
        EXPECT_EQ(owner.Components(0), a);
        EXPECT_EQ(owner.Components(1), b);
        EXPECT_EQ(b->ComponentIndex(), 1);
        EXPECT_EQ(a->Owner(), &owner);
        EXPECT_THROW(owner.Components(2), EListError);
        log.clear();
    }
    // The owner goes first, then what it owns, last first.
    EXPECT_EQ(log, "~Owner;~B;~A;");
}

TEST(Component, DestroyingMarksTheWholeTree) {
    auto owner = std::make_unique<TComponent>(nullptr);
    auto* child = new TComponent(owner.get());
    auto* grandchild = new TComponent(child);
    owner->Destroying();
    EXPECT_TRUE(child->ComponentState().Contains(csDestroying));
    EXPECT_TRUE(grandchild->ComponentState().Contains(csDestroying));
}

TEST(Component, FreeingAnOwnedComponentRemovesItAndNotifiesTheOwnersTree) {
    std::string log;
    TWatcher owner(nullptr, &log);
    owner.SetName("Owner");
    auto* a = new TWatcher(&owner, &log);
    a->SetName("A");
    auto* b = new TWatcher(&owner, &log);
    b->SetName("B");
    log.clear();
    delete a;
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), b);
    EXPECT_EQ(log, "~A;Owner-A;B-A;");
}

TEST(Component, InsertAndRemoveMoveOwnership) {
    TComponent first(nullptr);
    TComponent second(nullptr);
    auto* item = new TComponent(&first);
    second.InsertComponent(item);
    EXPECT_EQ(first.ComponentCount(), 0);
    EXPECT_EQ(item->Owner(), &second);
    second.RemoveComponent(item);
    EXPECT_EQ(item->Owner(), nullptr);
    EXPECT_EQ(second.ComponentCount(), 0);
    delete item;
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    a->SetName("Button1");
    EXPECT_THROW(b->SetName("button1"), EComponentError);
    EXPECT_THROW(b->SetName("1Button"), EComponentError);
    EXPECT_THROW(b->SetName("Button 2"), EComponentError);
    EXPECT_EQ(b->Name(), "");
    a->SetName("BUTTON1");  // same component, other letter case
    EXPECT_EQ(owner.FindComponent("button1"), a);
    EXPECT_EQ(owner.FindComponent("Missing"), nullptr);
    EXPECT_EQ(owner.FindComponent(""), nullptr);
    b->SetName("_Edit_2");
    try {
        a->SetName("_edit_2");
        FAIL();
    } catch (const EComponentError& e) {
        EXPECT_EQ(e.Message(), "A component named _edit_2 already exists");
    }
    // Inserting a component whose name is taken fails too.
    auto* stray = new TComponent(nullptr);
    stray->SetName("Button1");
    EXPECT_THROW(owner.InsertComponent(stray), EComponentError);
    EXPECT_EQ(stray->Owner(), nullptr);
    delete stray;
}

TEST(Component, FreeNotificationClearsReferencesBothWays) {
    TTestForm form(nullptr);
    auto* a = new TTestWidget(&form);
    auto* buddy = new TTestWidget(nullptr);  // not owned by the form
    a->SetBuddy(buddy);
    delete buddy;
    EXPECT_EQ(a->Buddy(), nullptr);

    // The referring component going first must not leave the other holding it.
    auto* target = new TTestWidget(nullptr);
    auto* referrer = new TTestWidget(nullptr);
    referrer->SetBuddy(target);
    delete referrer;
    delete target;  // would touch freed memory if the link survived
}

TEST(Component, OwnerNotificationsReachEveryOwnedComponent) {
    TTestForm form(nullptr);
    auto* a = new TTestWidget(&form);
    auto* b = new TTestWidget(&form);
    a->SetBuddy(b);
    b->RemoveFreeNotification(a);  // even without a free notification
    delete b;                      // the owner passes the removal to a
    EXPECT_EQ(a->Buddy(), nullptr);
}

TEST(Component, PublishedFieldsFollowTheComponentOfThatName) {
    auto form = std::make_unique<TTestForm>(nullptr);
    auto* button = new TTestWidget(form.get());
    EXPECT_EQ(form->Button1, nullptr);
    button->SetName("Button1");
    EXPECT_EQ(form->Button1, button);
    button->SetName("Renamed");
    EXPECT_EQ(form->Button1, nullptr);
    button->SetName("Button1");
    delete button;
    EXPECT_EQ(form->Button1, nullptr);
    // A component of the wrong class is not put into a typed field.
    auto* plain = new TComponent(form.get());
    plain->SetName("Panel1");
    EXPECT_EQ(form->Panel1, nullptr);
}

TEST(Component, DesigningSpreadsToOwnedComponents) {
    TComponent owner(nullptr);
    auto* early = new TComponent(&owner);
    owner.SetDesigning(true);
    auto* late = new TComponent(&owner);
    EXPECT_TRUE(early->ComponentState().Contains(csDesigning));
    EXPECT_TRUE(late->ComponentState().Contains(csDesigning));
}

TEST(Component, ComponentIndexReorders) {
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    auto* b = new TComponent(&owner);
    auto* c = new TComponent(&owner);
    c->SetComponentIndex(0);
    EXPECT_EQ(owner.Components(0), c);
    EXPECT_EQ(owner.Components(1), a);
    EXPECT_EQ(owner.Components(2), b);
    a->SetComponentIndex(99);
    EXPECT_EQ(owner.Components(2), a);
}

TEST(Component, CreatedThroughItsClassWithAnOwner) {
    TComponent owner(nullptr);
    TObject* object = FindClass("TTestWidget").Create(&owner);
    ASSERT_NE(object, nullptr);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.Components(0), object);
    EXPECT_EQ(GetPropInfo(object, "Tag")->Kind(), tkInteger);
}
