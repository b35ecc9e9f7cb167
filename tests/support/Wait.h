// Waiting on a condition with a diagnostic, for tests of real windows and processes: instead of sleeping
// or retrying, a test names what it waits for; the wait ends as soon as the condition holds, and when the
// deadline passes first the failure says what was awaited, for how long, and where input was going then.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string_view>

#include "DesktopState.h"
#include "MessagePump.h"

// How long a test waits for something the system does on its own (Wine starts processes and delivers
// input slowly on a loaded machine; a condition that holds ends the wait at once).
constexpr DWORD kPatienceMs = 30000;
// A wait looks at its condition again after this long, or sooner when a message arrives.
constexpr DWORD kPollMs = 10;

// Checks holds() until it is true or limitMs passed, calling waitStep(ms) between looks to wait for news
// for at most ms milliseconds (pump messages, wait on an event, ...). The failure names what.
template <class Predicate, class WaitStep>
::testing::AssertionResult WaitUntil(std::string_view what, Predicate&& holds, WaitStep&& waitStep,
                                     DWORD limitMs = kPatienceMs) {
    const DWORD start = ::GetTickCount();
    while (!holds()) {
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= limitMs) {
            // One last look: the deadline may have passed while the condition came true.
            if (holds()) break;
            return ::testing::AssertionFailure()
                   << "waited " << waited << " ms for " << what << " (" << DescribeInputState() << ")";
        }
        waitStep(kPollMs < limitMs - waited ? kPollMs : limitMs - waited);
    }
    return ::testing::AssertionSuccess();
}

// Waits on this thread, dispatching its messages (so that its windows keep working), until holds() is
// true. Use as EXPECT_TRUE(PumpUntil("the form shows", [&] { ... })) << more detail;
template <class Predicate>
::testing::AssertionResult PumpUntil(std::string_view what, Predicate&& holds, DWORD limitMs = kPatienceMs) {
    return WaitUntil(
        what, holds,
        [](DWORD ms) {
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
            PumpPendingMessages();
        },
        limitMs);
}
