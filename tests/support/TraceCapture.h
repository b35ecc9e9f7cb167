// TraceCapture: collects the trace lines written while it lives, as a
// debugger would receive them. OutputDebugString raises the debug-print
// exception (DBG_PRINTEXCEPTION_C) before the system handles it; a vectored
// exception handler reads its text and lets the system go on.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/Trace.h"

class TraceCapture {
public:
    // Turns the channels on for the capture's life (the others keep their state).
    explicit TraceCapture(std::initializer_list<TTraceChannel> channels) : FSavedChannels(trace::gEnabledChannels) {
        for (TTraceChannel channel : channels) trace::Enable(channel, true);
        Current() = this;
        FHandler = AddVectoredExceptionHandler(1, &TraceCapture::Handle);
    }
    TraceCapture(const TraceCapture&) = delete;
    TraceCapture& operator=(const TraceCapture&) = delete;
    ~TraceCapture() {
        RemoveVectoredExceptionHandler(FHandler);
        Current() = nullptr;
        trace::gEnabledChannels = FSavedChannels;
    }

    std::vector<std::string> Lines() const {
        std::lock_guard<std::mutex> lock(FLock);
        return FLines;
    }
    // Whether some line contains text.
    bool Contains(std::string_view text) const {
        for (const std::string& line : Lines())
            if (line.find(text) != std::string::npos) return true;
        return false;
    }
    // Every line, for failure messages.
    std::string Text() const {
        std::string all;
        for (const std::string& line : Lines()) all += line;
        return all;
    }
    void Clear() {
        std::lock_guard<std::mutex> lock(FLock);
        FLines.clear();
    }

private:
    static constexpr DWORD kDebugPrint = 0x40010006;  // DBG_PRINTEXCEPTION_C

    static TraceCapture*& Current() {
        static TraceCapture* current = nullptr;
        return current;
    }
    static LONG CALLBACK Handle(EXCEPTION_POINTERS* pointers) {
        const EXCEPTION_RECORD* record = pointers->ExceptionRecord;
        TraceCapture* capture = Current();
        if (capture && record->ExceptionCode == kDebugPrint && record->NumberParameters >= 2) {
            const auto* text = reinterpret_cast<const char*>(record->ExceptionInformation[1]);
            std::lock_guard<std::mutex> lock(capture->FLock);
            capture->FLines.emplace_back(text ? text : "");
        }
        return EXCEPTION_CONTINUE_SEARCH;
    }

    uint32_t FSavedChannels;
    PVOID FHandler = nullptr;
    mutable std::mutex FLock;
    std::vector<std::string> FLines;
};
