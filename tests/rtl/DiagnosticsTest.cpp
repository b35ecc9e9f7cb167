// EOSError texts and the trace channels.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

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

TEST(Trace, LinesAreAppendedToTheTraceFileWhenOneIsNamed) {
    const uint32_t saved = trace::gEnabledChannels;
    const std::string path = testing::TempDir() + "quirn-trace-file-test.txt";
    std::remove(path.c_str());
    trace::Configure("menu");
    QUIRN_TRACE(TTraceChannel::Menu, "before the file is named");
#ifdef _WIN32
    _putenv_s("QUIRN_TRACE_FILE", path.c_str());
#else
    setenv("QUIRN_TRACE_FILE", path.c_str(), 1);
#endif
    QUIRN_TRACE(TTraceChannel::Menu, "first ", 1);
    QUIRN_TRACE(TTraceChannel::Paint, "an off channel");
    QUIRN_TRACE(TTraceChannel::Menu, "second ", 2);
#ifdef _WIN32
    _putenv_s("QUIRN_TRACE_FILE", "");
#else
    unsetenv("QUIRN_TRACE_FILE");
#endif
    QUIRN_TRACE(TTraceChannel::Menu, "after");
    trace::gEnabledChannels = saved;

    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) lines.push_back(line);
    std::remove(path.c_str());
    ASSERT_EQ(lines.size(), 2u) << "only the lines written while the file was named, of the channels that are on";
    EXPECT_NE(lines[0].find("[quirn:menu] first 1"), std::string::npos) << lines[0];
    EXPECT_NE(lines[1].find("[quirn:menu] second 2"), std::string::npos) << lines[1];
}
