// Delegate.h: TDelegate, a comparable method pointer (object + member function).
// Two delegates made from the same object and member compare equal, so a
// WindowProc or an event handler can be saved, replaced and restored by identity.
#pragma once

#include <type_traits>
#include <utility>

namespace delegate_detail {
template <class M> struct MemberTraits;
template <class C, class R, class... A> struct MemberTraits<R (C::*)(A...)> {
    using Class = C;
};
template <class C, class R, class... A> struct MemberTraits<R (C::*)(A...) const> {
    using Class = const C;
};
}  // namespace delegate_detail

template <class Sig> class TDelegate;

template <class R, class... A> class TDelegate<R(A...)> {
public:
    using Code = R (*)(void*, A...);

    constexpr TDelegate() = default;
    constexpr TDelegate(std::nullptr_t) {}

    // Binds Member to object. The object is kept as a pointer to the class that
    // declares Member, so binding through a derived pointer gives the same delegate.
    template <auto Member>
    static TDelegate Of(typename delegate_detail::MemberTraits<decltype(Member)>::Class* object) {
        using C = typename delegate_detail::MemberTraits<decltype(Member)>::Class;
        return TDelegate(const_cast<std::remove_const_t<C>*>(object), &Invoke<Member, C>);
    }

    // Binds a plain function that receives the data pointer first.
    static TDelegate FromFunction(Code code, void* data) { return TDelegate(data, code); }

    R operator()(A... args) const { return FCode(FData, std::forward<A>(args)...); }

    explicit operator bool() const { return FCode != nullptr; }
    bool Assigned() const { return FCode != nullptr; }
    void* Data() const { return FData; }
    Code CodePtr() const { return FCode; }
    friend bool operator==(const TDelegate&, const TDelegate&) = default;

private:
    TDelegate(void* data, Code code) : FData(data), FCode(code) {}

    template <auto Member, class C> static R Invoke(void* data, A... args) {
        return (static_cast<C*>(data)->*Member)(std::forward<A>(args)...);
    }

    void* FData = nullptr;
    Code FCode = nullptr;
};
