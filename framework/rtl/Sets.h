// Sets: TSet<E>, a small typed bitset of an enumeration (a Pascal-style set).
#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <type_traits>

// Bytes a set of elementCount elements occupies in its stored form: 1, 2, 4 or 8.
constexpr size_t SetByteSize(size_t elementCount) {
    return elementCount <= 8 ? 1 : elementCount <= 16 ? 2 : elementCount <= 32 ? 4 : 8;
}

// TSet<E>: bit n stands for the enumeration value n (at most 64 values).
template <class E>
class TSet {
    static_assert(std::is_enum_v<E>, "TSet holds enumeration values");

public:
    using TElement = E;
    static constexpr unsigned MaxElements = 64;

    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> elements) {
        for (E e : elements) Include(e);
    }
    static constexpr TSet FromBits(uint64_t bits) {
        TSet set;
        set.FBits = bits;
        return set;
    }

    constexpr uint64_t Bits() const { return FBits; }
    constexpr bool Empty() const { return FBits == 0; }
    constexpr bool Contains(E e) const { return Valid(e) && (FBits & Bit(e)) != 0; }
    constexpr TSet& Include(E e) {
        if (Valid(e)) FBits |= Bit(e);
        return *this;
    }
    constexpr TSet& Exclude(E e) {
        if (Valid(e)) FBits &= ~Bit(e);
        return *this;
    }

    constexpr TSet operator+(TSet other) const { return FromBits(FBits | other.FBits); }   // union
    constexpr TSet operator-(TSet other) const { return FromBits(FBits & ~other.FBits); }  // difference
    constexpr TSet operator*(TSet other) const { return FromBits(FBits & other.FBits); }   // intersection
    constexpr TSet& operator+=(TSet other) { return *this = *this + other; }
    constexpr TSet& operator-=(TSet other) { return *this = *this - other; }
    constexpr TSet& operator*=(TSet other) { return *this = *this * other; }
    constexpr bool operator<=(TSet other) const { return (FBits & ~other.FBits) == 0; }  // subset
    friend constexpr bool operator==(TSet a, TSet b) { return a.FBits == b.FBits; }

private:
    static constexpr bool Valid(E e) {
        const auto n = static_cast<int64_t>(static_cast<std::underlying_type_t<E>>(e));
        return n >= 0 && n < static_cast<int64_t>(MaxElements);
    }
    static constexpr uint64_t Bit(E e) { return uint64_t{1} << static_cast<unsigned>(e); }

    uint64_t FBits = 0;
};
