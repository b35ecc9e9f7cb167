// Trace: diagnostic channels that make a message's way through the thunks,
// hooks, subclassed window procedures, the skin manager, the form skinner and
// the control skinners visible when asked for. Every channel is off unless
// the environment variable QUIRN_TRACE names it ("thunk,hook", "all"); an off
// channel costs one test of a global mask, and the arguments of QUIRN_TRACE
// are not evaluated. Output goes to OutputDebugString on Windows (shown by
// Wine with WINEDEBUG=+debugstr) and to standard error elsewhere.
#pragma once

#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

enum class TTraceChannel : uint32_t {
    Thunk,     // window-procedure thunks: made, freed, refused
    Hook,      // hooks: installed, removed, called
    Subclass,  // window procedures replaced and restored
    Manager,   // the skin manager: windows accepted or refused, actions
    Form,      // form skinners: attach, detach, frame messages
    Control,   // control skinners: attach, detach, message stages
    Paint,     // painting of skinned frames and controls
    Menu,      // menu bar and popup menus
    Count
};

namespace trace {

// Bit n set: channel n is on. Written only by Configure and Enable.
extern uint32_t gEnabledChannels;

inline bool Enabled(TTraceChannel channel) noexcept {
    return (gEnabledChannels >> static_cast<uint32_t>(channel)) & 1u;
}

// The channel's name as QUIRN_TRACE spells it ("thunk").
std::string_view ChannelName(TTraceChannel channel);
// Turns channels on from a comma-separated list of names, or "all"; unknown
// names are ignored. Replaces the current set.
void Configure(std::string_view channels);
// Turns one channel on or off (tests).
void Enable(TTraceChannel channel, bool on);
// Writes one line "[quirn:<channel>] <text>" to the debugger (standard error off Windows), and appends it
// to the file QUIRN_TRACE_FILE names, when it names one.
void Write(TTraceChannel channel, std::string_view text);

// "0x" and the pointer's value in hexadecimal digits, as many as a pointer
// has (window handles, procedures and objects in trace lines).
std::string Address(const void* pointer);

// Joins the arguments as an output stream would print them.
template <typename... Args>
std::string Text(const Args&... args) {
    std::ostringstream stream;
    (stream << ... << args);
    return stream.str();
}

}  // namespace trace

// QUIRN_TRACE(TTraceChannel::Hook, "activate ", window): one trace line when the channel is on.
#define QUIRN_TRACE(channel, ...)                                                           \
    do {                                                                                    \
        if (::trace::Enabled(channel)) ::trace::Write(channel, ::trace::Text(__VA_ARGS__)); \
    } while (0)
