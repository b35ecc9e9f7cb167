// Delegate: comparable method pointers (object + member function), the type of
// every event and of replaceable procedures such as a control's WindowProc.
//
//     TNotifyEvent handler(form, &TForm1::Button1Click);
//     button->SetOnClick(handler);
//     if (button->OnClick() == handler) ...      // identity: same object and member
//     button->OnClick()(button);                 // invoke
#pragma once

#include <cstring>
#include <type_traits>
#include <typeinfo>
#include <utility>

#include "framework/rtl/Object.h"
#include "framework/rtl/SysUtils.h"

// The bytes of a pointer to member function, kept so that delegates compare
// by identity whatever the ABI's member pointer layout.
struct TMethodCode {
    static constexpr size_t Capacity = 4 * sizeof(void*);
    alignas(void*) unsigned char Bytes[Capacity] = {};

    friend bool operator==(const TMethodCode& a, const TMethodCode& b) {
        return std::memcmp(a.Bytes, b.Bytes, Capacity) == 0;
    }
};

// TMethod: a delegate with its signature erased (what published-property
// information passes around). Equal when object, member and invoker match.
struct TMethod {
    using TErasedInvoker = void (*)();

    TObject* Data = nullptr;
    TErasedInvoker Invoker = nullptr;
    TMethodCode Code;
    const std::type_info* Signature = nullptr;

    bool Assigned() const { return Invoker != nullptr; }
    friend bool operator==(const TMethod& a, const TMethod& b) {
        return a.Data == b.Data && a.Invoker == b.Invoker && a.Code == b.Code;
    }
};

template <class Signature>
class TDelegate;

// TDelegate<R(A...)>: a typed method pointer bound to an object derived from TObject.
template <class R, class... A>
class TDelegate<R(A...)> {
public:
    using TSignature = R(A...);

    TDelegate() = default;
    TDelegate(std::nullptr_t) {}

    template <class C>
        requires std::is_base_of_v<TObject, C>
    TDelegate(C* object, R (C::*member)(A...)) {
        static_assert(sizeof(member) <= TMethodCode::Capacity, "member pointer does not fit");
        if (object == nullptr || member == nullptr) return;
        FObject = object;
        std::memcpy(FCode.Bytes, &member, sizeof(member));
        FInvoke = &InvokeMember<C>;
    }

    // A typed view of an erased method; EInvalidCast when the signature differs.
    static TDelegate FromMethod(const TMethod& method) {
        TDelegate delegate;
        if (!method.Assigned()) return delegate;
        if (method.Signature == nullptr || *method.Signature != typeid(TSignature))
            throw EInvalidCast("Method signature does not match the event type");
        delegate.FObject = method.Data;
        delegate.FCode = method.Code;
        delegate.FInvoke = reinterpret_cast<TInvoke>(method.Invoker);
        return delegate;
    }

    TMethod ToMethod() const {
        TMethod method;
        if (!Assigned()) return method;
        method.Data = FObject;
        method.Invoker = reinterpret_cast<TMethod::TErasedInvoker>(FInvoke);
        method.Code = FCode;
        method.Signature = &typeid(TSignature);
        return method;
    }

    bool Assigned() const { return FInvoke != nullptr; }
    explicit operator bool() const { return Assigned(); }
    TObject* Object() const { return FObject; }

    // Calls the member; EInvalidOperation when nothing is assigned.
    R operator()(A... args) const {
        if (FInvoke == nullptr) throw EInvalidOperation("Method pointer is not assigned");
        return FInvoke(FObject, FCode, std::forward<A>(args)...);
    }

    friend bool operator==(const TDelegate& a, const TDelegate& b) {
        return a.FObject == b.FObject && a.FInvoke == b.FInvoke && a.FCode == b.FCode;
    }

private:
    using TInvoke = R (*)(TObject*, const TMethodCode&, A...);

    template <class C>
    static R InvokeMember(TObject* object, const TMethodCode& code, A... args) {
        R (C::*member)(A...);
        std::memcpy(&member, code.Bytes, sizeof(member));
        return (static_cast<C*>(object)->*member)(std::forward<A>(args)...);
    }

    TObject* FObject = nullptr;
    TInvoke FInvoke = nullptr;
    TMethodCode FCode;
};

// The common event: "something happened to Sender".
using TNotifyEvent = TDelegate<void(TObject* Sender)>;
