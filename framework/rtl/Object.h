// Object: the object model kernel — TObject (root of every framework class),
// TClass (the metaclass: name, ancestry, factory, published properties), the
// class registry used to create classes by name, and TPersistent.
//
// A class joins the model in two lines:
//
//     // Button.h
//     class TButton : public TWinControl {
//         QUIRN_CLASS(TButton, TWinControl)
//     public:
//         explicit TButton(TComponent* owner);
//     };
//
//     // Button.cpp
//     QUIRN_DEFINE_CLASS(TButton)          // ancestry and factory only
//
// Classes with published properties use QUIRN_PUBLISH from
// framework/core/Publisher.h instead of QUIRN_DEFINE_CLASS; that also registers
// the class by name for component streaming.
#pragma once

#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class TObject;
class TComponent;
class TFiler;
class TPublished;  // published properties and methods of one class (framework/core/PropInfo.h)
template <class C>
class TPublisher;  // builds a TPublished (framework/core/Publisher.h)

// TClass: run-time description of one class. One immutable instance per class,
// reached through T::StaticClass() or obj.ClassType().
class TClass {
public:
    // Creates an instance; components get their owner, other classes ignore it.
    using TCreateFunc = TObject* (*)(TComponent* owner);
    // Builds the class's own published table on first use (so that property
    // types may refer to classes that are not yet initialised).
    using TPublishedBuilder = std::shared_ptr<const TPublished> (*)();

    TClass(std::string name, const TClass* parent, TCreateFunc create = nullptr, TPublishedBuilder published = nullptr);
    TClass(const TClass&) = delete;
    TClass& operator=(const TClass&) = delete;

    const std::string& ClassName() const { return FName; }
    bool ClassNameIs(std::string_view name) const { return FName == name; }
    const TClass* ClassParent() const { return FParent; }
    // True for this class and every descendant of other.
    bool InheritsFrom(const TClass& other) const;
    // True when this class or an ancestor has exactly this (case-sensitive) name.
    bool InheritsFrom(std::string_view className) const;

    bool CanCreate() const { return FCreate != nullptr; }
    // A new instance (owned by owner when it is a component); EInvalidOperation
    // for abstract classes.
    TObject* Create(TComponent* owner = nullptr) const;

    // This class's own published table (not its ancestors'); nullptr if none.
    const TPublished* Published() const;

    // The factory for T: T(TComponent*) or T(), when T is concrete.
    template <class T>
    static constexpr TCreateFunc CreatorFor();

private:
    std::string FName;
    const TClass* FParent;
    TCreateFunc FCreate;
    TPublishedBuilder FBuildPublished;
    mutable std::once_flag FPublishedOnce;
    mutable std::shared_ptr<const TPublished> FPublished;
};

// TObject: root of the framework's classes. Copying is not part of the model
// (TPersistent::Assign is), so objects are neither copied nor moved.
class TObject {
public:
    using inherited = void;

    TObject() = default;
    TObject(const TObject&) = delete;
    TObject& operator=(const TObject&) = delete;
    virtual ~TObject() = default;

    static const TClass& StaticClass();
    virtual const TClass& ClassType() const { return StaticClass(); }

    const std::string& ClassName() const { return ClassType().ClassName(); }
    bool ClassNameIs(std::string_view name) const { return ClassType().ClassNameIs(name); }
    bool InheritsFrom(const TClass& other) const { return ClassType().InheritsFrom(other); }
    bool InheritsFrom(std::string_view className) const { return ClassType().InheritsFrom(className); }
};

// Declares the metaclass members; put it first in the class body. Gives
// `inherited`, `StaticClass()` and the `ClassType()` override, and declares
// the class's publishing function (defined by QUIRN_PUBLISH, which may name
// private members); the body continues with private access.
#define QUIRN_CLASS(Self, Parent)                                      \
public:                                                                \
    using inherited = Parent;                                          \
    static const TClass& StaticClass();                                \
    const TClass& ClassType() const override { return StaticClass(); } \
                                                                       \
private:                                                               \
    template <class>                                                   \
    friend class ::TPublisher;                                         \
    static void QuirnPublish(TPublisher<Self>& publisher);

// Defines Self::StaticClass() for a class without published members.
#define QUIRN_DEFINE_CLASS(Self)                                                                            \
    const TClass& Self::StaticClass() {                                                                     \
        static const TClass quirnClass(#Self, &Self::inherited::StaticClass(), TClass::CreatorFor<Self>()); \
        return quirnClass;                                                                                  \
    }

// Class registry: classes that component streaming can create by name.
// Registering a second class under a taken name leaves the first in place
// and returns false.
bool RegisterClassType(const TClass& cls);
void UnRegisterClassType(const TClass& cls);
const TClass* GetClass(std::string_view className);
// As GetClass, but EClassNotFound ("Class TFoo not found") when unknown.
const TClass& FindClass(std::string_view className);

// Registers a class while the program starts (place in the class's .cpp file).
struct TClassRegistration {
    explicit TClassRegistration(const TClass& cls) { RegisterClassType(cls); }
};
#define QUIRN_REGISTER_CLASS(Self) static const TClassRegistration quirnRegistration_##Self(Self::StaticClass());

// TPersistent: an object that can be assigned from another and stored by
// component streaming (its published properties plus DefineProperties).
class TPersistent : public TObject {
    QUIRN_CLASS(TPersistent, TObject)
public:
    // Copies source into this object; EConvertError when neither side knows how.
    virtual void Assign(const TPersistent* source);
    // Lets the source copy itself into dest; the base raises EConvertError.
    virtual void AssignTo(TPersistent* dest) const;
    // Adds stored data beyond the published properties (see TFiler).
    virtual void DefineProperties(TFiler& filer);
    // The object that owns this one for naming and streaming; nullptr if none.
    virtual TPersistent* GetOwner() const { return nullptr; }

protected:
    [[noreturn]] void AssignError(const TPersistent* source) const;
};

// Checked downcast: nullptr when obj is nullptr or not a T.
template <class T>
T* ObjectAs(TObject* obj) {
    return obj != nullptr && obj->InheritsFrom(T::StaticClass()) ? static_cast<T*>(obj) : nullptr;
}
template <class T>
const T* ObjectAs(const TObject* obj) {
    return obj != nullptr && obj->InheritsFrom(T::StaticClass()) ? static_cast<const T*>(obj) : nullptr;
}

template <class T>
constexpr TClass::TCreateFunc TClass::CreatorFor() {
    if constexpr (std::is_abstract_v<T>) {
        return nullptr;
    } else if constexpr (std::is_constructible_v<T, TComponent*>) {
        return [](TComponent* owner) -> TObject* { return new T(owner); };
    } else if constexpr (std::is_default_constructible_v<T>) {
        return [](TComponent*) -> TObject* { return new T(); };
    } else {
        return nullptr;
    }
}
