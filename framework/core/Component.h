// Component: TComponent, the base of everything that lives on a form — it has
// an owner that frees it, a name, a tag, a component state (loading,
// designing, destroying), notifications when other components come and go,
// and the hooks component streaming uses to rebuild a form.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "framework/core/Publisher.h"
#include "framework/rtl/Object.h"
#include "framework/rtl/Sets.h"

// What Notification reports: a component joined a tree, or is going.
enum TOperation { opInsert, opRemove };
QUIRN_ENUM(TOperation, opInsert, opRemove)

// What a component is going through; the framework sets these, a component
// reads them (e.g. to skip work while csLoading). Unmarked items are kept for
// descendants; the framework sets none of them except csFreeNotification.
enum TComponentStateItem {
    csLoading,     // being read by component streaming; Loaded not yet called
    csReading,     // its own properties are being read
    csWriting,     // being written by component streaming
    csDestroying,  // being destroyed (set on it and everything it owns)
    csDesigning,   // edited in a designer rather than running
    csAncestor,
    csUpdating,
    csFixups,            // streaming still has references of it to resolve
    csFreeNotification,  // it has free-notification links to other components
    csInline,
    csDesignInstance
};
QUIRN_ENUM(TComponentStateItem, csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
           csFixups, csFreeNotification, csInline, csDesignInstance)
using TComponentState = TSet<TComponentStateItem>;

// TComponent: owned, named, streamable object. The owner frees what it owns
// (last owned first) when it is destroyed; removing or destroying a component
// notifies its owner's tree and every component that asked for FreeNotification.
//
// A derived class whose owned components refer back to its derived parts
// calls Destroying() and DestroyComponents() at the start of its own
// destructor, so they go while the derived parts still exist.
// opInsert notifications arrive while the new component is still being
// constructed: compare the pointer, do not inspect the object.
class TComponent : public TPersistent {
    QUIRN_CLASS(TComponent, TPersistent)
public:
    explicit TComponent(TComponent* owner);
    ~TComponent() override;

    TComponent* Owner() const { return FOwner; }
    TPersistent* GetOwner() const override { return FOwner; }

    int32_t ComponentCount() const { return static_cast<int32_t>(FComponents.size()); }
    // The owned component at index, in the order they were added; EListError out of range.
    TComponent* Components(int32_t index) const;
    // Position in the owner's list; -1 without an owner.
    int32_t ComponentIndex() const;
    void SetComponentIndex(int32_t index);

    // Empty, or an identifier unique (letter case ignored) among the owner's
    // components; EComponentError otherwise.
    const std::string& Name() const { return FName; }
    virtual void SetName(std::string_view newName);
    int32_t Tag() const { return FTag; }
    void SetTag(int32_t value) { FTag = value; }
    TComponentState ComponentState() const { return FComponentState; }

    // Takes ownership of component (taking it from its previous owner).
    void InsertComponent(TComponent* component);
    // Gives up ownership; the caller then owns component.
    void RemoveComponent(TComponent* component);
    // Owned component of that name (letter case ignored); nullptr if none.
    TComponent* FindComponent(std::string_view name) const;
    // Frees every owned component, last first.
    void DestroyComponents();
    // Marks this component and everything it owns csDestroying.
    void Destroying();

    // Asks to be told (Notification with opRemove) when component is
    // destroyed; mutual, so component is told when this one goes.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    // Another component was added to or removed from this tree, or a
    // component this one asked about is going. Overrides clear their
    // references and call the inherited version, which passes the news on to
    // every owned component.
    virtual void Notification(TComponent* component, TOperation operation);

    // Called once the whole form has been read; clears csLoading.
    virtual void Loaded();

    // Streaming hooks. A component with a parent (a control) answers
    // HasParent and is attached through SetParentComponent; GetChildOwner
    // and GetChildParent decide owner and parent of the components read
    // inside it (nullptr owner: the root); GetChildren lists what is written
    // inside it. The base lists, for the root, its owned components that
    // have no parent.
    virtual bool HasParent() const { return false; }
    virtual TComponent* GetParentComponent() const { return nullptr; }
    virtual void SetParentComponent(TComponent* value);
    virtual TComponent* GetChildOwner() { return nullptr; }
    virtual TComponent* GetChildParent() { return this; }
    using TGetChildProc = std::function<void(TComponent* child)>;
    virtual void GetChildren(const TGetChildProc& proc, TComponent* root);
    virtual void SetChildOrder(TComponent* child, int32_t order);

    // Switches csDesigning on this component (and what it owns).
    void SetDesigning(bool value, bool setChildren = true);

    // Identifier: a letter or '_' followed by letters, digits or '_'.
    static bool IsValidIdent(std::string_view name);

protected:
    // Raises EComponentError when newName is taken in this owner.
    virtual void ValidateRename(TComponent* component, std::string_view curName, std::string_view newName);
    // Sets (or clears) the owner's published field named like this component.
    void SetReference(bool enable);

private:
    friend class TComponentReader;
    friend class TComponentWriter;
    void SetState(TComponentStateItem item, bool on);
    void Insert(TComponent* component);
    void Remove(TComponent* component);

    TComponent* FOwner = nullptr;
    std::vector<TComponent*> FComponents;
    std::vector<TComponent*> FFreeNotifies;
    std::string FName;
    int32_t FTag = 0;
    TComponentState FComponentState;
};
