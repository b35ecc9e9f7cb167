// Leak loops: a round (a form made and freed, a control repainted) repeated many times while the object
// counts are looked at now and then. They must stay where they stood after a warm-up round at every look,
// not only at the end, so a leak of one object in some round shows, and so does a cache that grows for a
// while and is trimmed later. The suite runs a few hundred rounds; QUIRN_SOAK=1 in the environment runs the
// long loops (thousands of rounds) for a soak.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <type_traits>

// The rounds of a leak loop: quick in the suite, soak when QUIRN_SOAK is 1.
inline int LeakRounds(int quick, int soak) {
    const char* value = std::getenv("QUIRN_SOAK");
    return value != nullptr && std::strcmp(value, "1") == 0 ? soak : quick;
}

// How many times a leak loop looks at the counts, besides after its last round.
constexpr int kLeakLooks = 10;

// Runs round(index) for index 0 to rounds - 1 and compares counts() with its value before the first round
// after every rounds / kLeakLooks rounds and after the last. counts() returns a value with == and a gtest
// printer; round returns void, bool or an assertion result (false stops the loop and fails it).
template <class Counts, class Round>
::testing::AssertionResult StaysFlat(Counts&& counts, int rounds, Round&& round) {
    const auto start = counts();
    const int every = rounds / kLeakLooks > 0 ? rounds / kLeakLooks : 1;
    for (int index = 0; index < rounds; ++index) {
        if constexpr (std::is_void_v<decltype(round(index))>) {
            round(index);
        } else {
            const ::testing::AssertionResult done(round(index));
            if (!done) return ::testing::AssertionFailure() << "round " << index << " failed " << done.message();
        }
        if ((index + 1) % every != 0 && index + 1 != rounds) continue;
        const auto now = counts();
        if (now == start) continue;
        return ::testing::AssertionFailure()
               << "after " << index + 1 << " of " << rounds << " rounds the counts are "
               << ::testing::PrintToString(now) << ", before the first " << ::testing::PrintToString(start);
    }
    return ::testing::AssertionSuccess();
}
