#include "framework/rtl/Object.h"

#include <gtest/gtest.h>

#include <memory>

#include "framework/rtl/SysUtils.h"

namespace {

class TAnimal : public TPersistent {
    QUIRN_CLASS(TAnimal, TPersistent)
public:
    virtual int Legs() const = 0;
};

class TDog : public TAnimal {
    QUIRN_CLASS(TDog, TAnimal)
public:
    int Legs() const override { return 4; }
    int Weight = 0;
    void Assign(const TPersistent* source) override {
        if (const auto* dog = ObjectAs<TDog>(source)) {
            Weight = dog->Weight;
            return;
        }
        TAnimal::Assign(source);
    }
};

class TPuppy : public TDog {
    QUIRN_CLASS(TPuppy, TDog)
};

class TBird : public TAnimal {
    QUIRN_CLASS(TBird, TAnimal)
public:
    explicit TBird(int wings) : Wings(wings) {}
    int Legs() const override { return 2; }
    int Wings;
};

}  // namespace

QUIRN_DEFINE_CLASS(TAnimal)
QUIRN_DEFINE_CLASS(TDog)
QUIRN_DEFINE_CLASS(TPuppy)
QUIRN_DEFINE_CLASS(TBird)
QUIRN_REGISTER_CLASS(TDog)
QUIRN_REGISTER_CLASS(TPuppy)

TEST(ObjectModel, ReportsClassNameAndAncestry) {
    TPuppy puppy;
    const TObject& object = puppy;
    EXPECT_EQ(object.ClassName(), "TPuppy");
    EXPECT_EQ(&object.ClassType(), &TPuppy::StaticClass());
    EXPECT_EQ(object.ClassType().ClassParent(), &TDog::StaticClass());
    EXPECT_TRUE(object.InheritsFrom(TAnimal::StaticClass()));
    EXPECT_TRUE(object.InheritsFrom(TObject::StaticClass()));
    EXPECT_FALSE(object.InheritsFrom(TBird::StaticClass()));
    EXPECT_TRUE(object.InheritsFrom("TPersistent"));
    EXPECT_TRUE(object.InheritsFrom("TPuppy"));
    // Class names compare exactly, with letter case.
    EXPECT_FALSE(object.InheritsFrom("tdog"));
    EXPECT_FALSE(object.InheritsFrom("TDo"));
    EXPECT_TRUE(object.ClassNameIs("TPuppy"));
    EXPECT_EQ(TObject::StaticClass().ClassParent(), nullptr);
}

TEST(ObjectModel, ObjectAsChecksTheClass) {
    TDog dog;
    TObject* object = &dog;
    EXPECT_EQ(ObjectAs<TAnimal>(object), &dog);
    EXPECT_EQ(ObjectAs<TPuppy>(object), nullptr);
    EXPECT_EQ(ObjectAs<TDog>(static_cast<TObject*>(nullptr)), nullptr);
}

TEST(ClassRegistry, CreatesRegisteredClassesByName) {
    const TClass* cls = GetClass("TPuppy");
    ASSERT_EQ(cls, &TPuppy::StaticClass());
    std::unique_ptr<TObject> created(cls->Create());
    EXPECT_EQ(created->ClassName(), "TPuppy");
    EXPECT_EQ(GetClass("TBird"), nullptr);
    EXPECT_THROW(FindClass("TBird"), EClassNotFound);
    try {
        FindClass("TNoSuchThing");
    } catch (const EClassNotFound& e) {
        EXPECT_EQ(e.Message(), "Class TNoSuchThing not found");
    }
}

TEST(ClassRegistry, AbstractOrUnconstructibleClassesCannotBeCreated) {
    EXPECT_FALSE(TAnimal::StaticClass().CanCreate());
    EXPECT_FALSE(TBird::StaticClass().CanCreate());
    EXPECT_THROW(TAnimal::StaticClass().Create(), EInvalidOperation);
    EXPECT_TRUE(TDog::StaticClass().CanCreate());
}

TEST(ClassRegistry, FirstRegistrationOfANameWins) {
    static const TClass impostor("TDog", &TObject::StaticClass(), nullptr);
    EXPECT_FALSE(RegisterClassType(impostor));
    EXPECT_EQ(GetClass("TDog"), &TDog::StaticClass());
    EXPECT_TRUE(RegisterClassType(TDog::StaticClass()));  // again: harmless
    UnRegisterClassType(impostor);                        // not the registered one: no effect
    EXPECT_EQ(GetClass("TDog"), &TDog::StaticClass());
    UnRegisterClassType(TDog::StaticClass());
    EXPECT_EQ(GetClass("TDog"), nullptr);
    RegisterClassType(TDog::StaticClass());
}

TEST(Persistent, AssignCopiesKnownSourcesAndRejectsOthers) {
    TDog a;
    TDog b;
    a.Weight = 12;
    b.Assign(&a);
    EXPECT_EQ(b.Weight, 12);
    TBird bird(2);
    try {
        b.Assign(&bird);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TBird to a TDog");
    }
    EXPECT_THROW(b.Assign(nullptr), EConvertError);
}
