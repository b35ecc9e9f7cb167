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

    void* Data = nullptr;
    TErasedInvoker Invoker = nullptr;
    TMethodCode Code;
    const std::type_info* Signature = nullptr;

    bool Assigned() const { return Invoker != nullptr; }
    friend bool operator==(const TMethod& a, const TMethod& b) {
        return a.Data == b.Data && a.Invoker == b.Invoker && a.Code == b.Code;
    }
};

namespace delegate_detail {
template <class M>
struct MemberTraits;
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...)> {
    using Class = C;
};
template <class C, class R, class... A>
struct MemberTraits<R (C::*)(A...) const> {
    using Class = const C;
};
}  // namespace delegate_detail

template <class Signature>
class TDelegate;

// TDelegate<R(A...)>: a typed method pointer. Three ways to bind, each
// comparable with itself (bind the same way where identity matters):
//   TDelegate(object, &C::Member)        member chosen at run time;
//   TDelegate::Of<&C::Member>(object)    member fixed at compile time;
//   TDelegate::FromFunction(fn, data)    a plain function taking data first.
// The object is kept as a pointer to the class that declares the member, so
// binding through a derived pointer gives the same delegate.
template <class R, class... A>
class TDelegate<R(A...)> {
public:
    using TSignature = R(A...);
    using Code = R (*)(void*, A...);

    TDelegate() = default;
    TDelegate(std::nullptr_t) {}

    template <class D, class C>
    requires std::is_base_of_v<C, D> TDelegate(D* object, R (C::*member)(A...)) {
        static_assert(sizeof(member) <= TMethodCode::Capacity, "member pointer does not fit");
        if (object == nullptr || member == nullptr) return;
        FData = static_cast<C*>(object);
        std::memcpy(FCode.Bytes, &member, sizeof(member));
        FInvoke = &InvokeMember<C>;
    }

    template <auto Member>
    static TDelegate Of(typename delegate_detail::MemberTraits<decltype(Member)>::Class* object) {
        using C = typename delegate_detail::MemberTraits<decltype(Member)>::Class;
        TDelegate delegate;
        if (object == nullptr) return delegate;
        delegate.FData = const_cast<std::remove_const_t<C>*>(object);
        delegate.FInvoke = &InvokeFixed<Member, C>;
        return delegate;
    }

    static TDelegate FromFunction(Code code, void* data) {
        TDelegate delegate;
        if (code == nullptr) return delegate;
        delegate.FData = data;
        std::memcpy(delegate.FCode.Bytes, &code, sizeof(code));
        delegate.FInvoke = &InvokeFunction;
        return delegate;
    }

    // A typed view of an erased method; EInvalidCast when the signature differs.
    static TDelegate FromMethod(const TMethod& method) {
        TDelegate delegate;
        if (!method.Assigned()) return delegate;
        if (method.Signature == nullptr || *method.Signature != typeid(TSignature))
            throw EInvalidCast("Method signature does not match the event type");
        delegate.FData = method.Data;
        delegate.FCode = method.Code;
        delegate.FInvoke = reinterpret_cast<TInvoke>(method.Invoker);
        return delegate;
    }

    TMethod ToMethod() const {
        TMethod method;
        if (!Assigned()) return method;
        method.Data = FData;
        method.Invoker = reinterpret_cast<TMethod::TErasedInvoker>(FInvoke);
        method.Code = FCode;
        method.Signature = &typeid(TSignature);
        return method;
    }

    bool Assigned() const { return FInvoke != nullptr; }
    explicit operator bool() const { return Assigned(); }
    // The bound object (as the declaring class, converted to void*).
    void* Data() const { return FData; }

    // Calls the member; EInvalidOperation when nothing is assigned.
    R operator()(A... args) const {
        if (FInvoke == nullptr) throw EInvalidOperation("Method pointer is not assigned");
        return FInvoke(FData, FCode, std::forward<A>(args)...);
    }

    friend bool operator==(const TDelegate& a, const TDelegate& b) {
        return a.FData == b.FData && a.FInvoke == b.FInvoke && a.FCode == b.FCode;
    }

private:
    using TInvoke = R (*)(void*, const TMethodCode&, A...);

    template <class C>
    static R InvokeMember(void* data, const TMethodCode& code, A... args) {
        R (C::*member)(A...);
        std::memcpy(&member, code.Bytes, sizeof(member));
        return (static_cast<C*>(data)->*member)(std::forward<A>(args)...);
    }
    template <auto Member, class C>
    static R InvokeFixed(void* data, const TMethodCode&, A... args) {
        return (static_cast<C*>(data)->*Member)(std::forward<A>(args)...);
    }
    static R InvokeFunction(void* data, const TMethodCode& code, A... args) {
        Code function;
        std::memcpy(&function, code.Bytes, sizeof(function));
        return function(data, std::forward<A>(args)...);
    }

    void* FData = nullptr;
    TInvoke FInvoke = nullptr;
    TMethodCode FCode;
};

// The common event: "something happened to sender".
using TNotifyEvent = TDelegate<void(TObject* sender)>;
