// EOSError texts and the trace channels.
#include <gtest/gtest.h>

#include "framework/rtl/SysUtils.h"
#include "framework/rtl/Trace.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#endif

namespace {

#ifdef _WIN32
constexpr uint32_t kFileNotFound = ERROR_FILE_NOT_FOUND;
#else
constexpr uint32_t kFileNotFound = ENOENT;
#endif

void SetLastOSError(uint32_t code) {
#ifdef _WIN32
    SetLastError(code);
#else
    errno = static_cast<int>(code);
#endif
}

}  // namespace

TEST(EOSError, NamesTheCallAndCarriesTheSystemTextAndCode) {
    const std::string system = SysErrorMessage(kFileNotFound);
    EXPECT_FALSE(system.empty());
    EXPECT_EQ(system.find_first_of("\r\n"), std::string::npos) << system;
    SetLastOSError(kFileNotFound);
    try {
        RaiseLastOSError("OpenThing");
        FAIL() << "no exception";
    } catch (const EOSError& e) {
        EXPECT_EQ(e.ErrorCode(), kFileNotFound);
        EXPECT_EQ(e.Message(), "OpenThing failed: " + system + " (" + IntToStr(kFileNotFound) + ")");
    }
}

TEST(EOSError, Win32CheckPassesSuccessAndRaisesForFailure) {
    EXPECT_EQ(Win32Check(5, "Five"), 5);
    SetLastOSError(kFileNotFound);
    EXPECT_THROW(Win32Check(0, "Zero"), EOSError);
    // A code the system has no text for still gives a readable message.
    EXPECT_EQ(SysErrorMessage(0x7FFFFFF0u).empty(), false);
}

TEST(Trace, ChannelsAreOffUntilConfiguredAndThenFiltered) {
    const uint32_t saved = trace::gEnabledChannels;
    trace::Configure("");
    int evaluated = 0;
    auto argument = [&] {
        ++evaluated;
        return "x";
    };
    QUIRN_TRACE(TTraceChannel::Hook, "never ", argument());
    EXPECT_EQ(evaluated, 0) << "an off channel must not evaluate its arguments";

    trace::Configure("thunk, HOOK,bogus");
    EXPECT_TRUE(trace::Enabled(TTraceChannel::Thunk));
    EXPECT_TRUE(trace::Enabled(TTraceChannel::Hook));
    EXPECT_FALSE(trace::Enabled(TTraceChannel::Paint));
    QUIRN_TRACE(TTraceChannel::Hook, "traced ", argument());
    EXPECT_EQ(evaluated, 1);

    trace::Configure("all");
    for (uint32_t c = 0; c < static_cast<uint32_t>(TTraceChannel::Count); ++c)
        EXPECT_TRUE(trace::Enabled(static_cast<TTraceChannel>(c))) << trace::ChannelName(static_cast<TTraceChannel>(c));
    trace::Enable(TTraceChannel::Menu, false);
    EXPECT_FALSE(trace::Enabled(TTraceChannel::Menu));
    EXPECT_EQ(trace::Text("a", 1, ' ', 2.5), "a1 2.5");
    trace::gEnabledChannels = saved;
}
