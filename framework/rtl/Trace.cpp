#include "framework/rtl/Trace.h"

#include <cstdio>
#include <cstdlib>

#include "framework/rtl/SysUtils.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace trace {

namespace {

constexpr std::string_view kChannelNames[] = {"thunk", "hook",    "subclass", "manager",
                                              "form",  "control", "paint",    "menu"};
static_assert(std::size(kChannelNames) == static_cast<size_t>(TTraceChannel::Count));

uint32_t ChannelsFromEnvironment() {
    const char* value = std::getenv("QUIRN_TRACE");
    if (value == nullptr) return 0;
    Configure(value);
    return gEnabledChannels;
}

// QUIRN_TRACE_FILE names a file the lines are appended to as well, each after the tick count and the
// process id: the trace of a program started by another (a test's child process), whose debug output
// nobody reads.
void AppendToTraceFile(const std::string& line) {
    const char* const path = std::getenv("QUIRN_TRACE_FILE");
    if (path == nullptr || *path == '\0') return;
    std::FILE* file = std::fopen(path, "a");
    if (file == nullptr) return;
#ifdef _WIN32
    std::fprintf(file, "%lu %lu ", GetTickCount(), GetCurrentProcessId());
#endif
    std::fputs(line.c_str(), file);
    std::fclose(file);
}

}  // namespace

uint32_t gEnabledChannels = ChannelsFromEnvironment();

std::string_view ChannelName(TTraceChannel channel) {
    const auto index = static_cast<size_t>(channel);
    return index < std::size(kChannelNames) ? kChannelNames[index] : std::string_view("?");
}

void Configure(std::string_view channels) {
    uint32_t mask = 0;
    while (!channels.empty()) {
        const size_t comma = channels.find(',');
        const std::string name = LowerCase(Trim(channels.substr(0, comma)));
        channels = comma == std::string_view::npos ? std::string_view() : channels.substr(comma + 1);
        if (name == "all") {
            mask = (1u << static_cast<uint32_t>(TTraceChannel::Count)) - 1;
            continue;
        }
        for (size_t i = 0; i < std::size(kChannelNames); ++i)
            if (kChannelNames[i] == name) mask |= 1u << i;
    }
    gEnabledChannels = mask;
}

void Enable(TTraceChannel channel, bool on) {
    const uint32_t bit = 1u << static_cast<uint32_t>(channel);
    gEnabledChannels = on ? (gEnabledChannels | bit) : (gEnabledChannels & ~bit);
}

std::string Address(const void* pointer) {
    return "0x" + IntToHex(reinterpret_cast<uintptr_t>(pointer), static_cast<int>(2 * sizeof(pointer)));
}

void Write(TTraceChannel channel, std::string_view text) {
    std::string line = "[quirn:";
    line += ChannelName(channel);
    line += "] ";
    line += text;
    line += '\n';
#ifdef _WIN32
    OutputDebugStringA(line.c_str());
#else
    std::fputs(line.c_str(), stderr);
#endif
    AppendToTraceFile(line);
}

}  // namespace trace
