// Helpers of the framework/win tests: a plain visible window and a leak-counting loop.
#pragma once

#include <windows.h>

#include <stdexcept>

#include "MessagePump.h"

// A plain top-level window (the system's STATIC class) destroyed at the end of the test.
class TestWindow {
public:
    TestWindow()
        : FHandle(::CreateWindowExW(0, L"STATIC", L"win owners", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 200, 120,
                                    nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr)) {
        PumpPendingMessages();
    }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    ~TestWindow() {
        if (FHandle) ::DestroyWindow(FHandle);
        PumpPendingMessages();
    }
    HWND get() const { return FHandle; }

private:
    HWND FHandle;
};

// Thrown by tests from inside an owner's scope.
struct PlannedFailure : std::runtime_error {
    PlannedFailure() : std::runtime_error("planned failure") {}
};
