// Input scripts for GUI tests.
#include "InputScript.h"

#include <atomic>

namespace realinput {

namespace {

INPUT MouseAt(POINT Point, DWORD Flags) {
    INPUT Input{};
    Input.type = INPUT_MOUSE;
    Input.mi.dx = MulDiv(Point.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    Input.mi.dy = MulDiv(Point.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    Input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | Flags;
    return Input;
}

// Handles the messages of the calling thread that are waiting now.
void HandleWaitingMessages() {
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
}

struct TDriverJob {
    const std::function<void()>* Script;
    DWORD MainThread;
    std::atomic<bool> Finished{false};
};

DWORD WINAPI RunDriver(void* Data) {
    auto* Job = static_cast<TDriverJob*>(Data);
    (*Job->Script)();
    Job->Finished = true;
    PostThreadMessageW(Job->MainThread, WM_NULL, 0, 0);
    return 0;
}

}  // namespace

void Button(POINT Point, bool Down, bool Right) {
    const DWORD Flags = Right ? (Down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                              : (Down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    INPUT Input = MouseAt(Point, Flags);
    SendInput(1, &Input, sizeof(INPUT));
}

void Drive(const std::function<void()>& Script, const std::function<void()>& OnMain) {
    TDriverJob Job{&Script, GetCurrentThreadId()};
    HANDLE Thread = CreateThread(nullptr, 0, RunDriver, &Job, 0, nullptr);
    if (Thread == nullptr) return;
    if (OnMain) OnMain();
    while (!Job.Finished) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, PollMs, QS_ALLINPUT);
        HandleWaitingMessages();
    }
    WaitForSingleObject(Thread, INFINITE);
    CloseHandle(Thread);
}

bool WaitFor(const std::function<bool()>& Condition, DWORD LimitMs) {
    const DWORD Start = GetTickCount();
    while (!Condition()) {
        if (GetTickCount() - Start > LimitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, PollMs, QS_ALLINPUT);
    }
    return true;
}

bool PumpUntil(const std::function<bool()>& Condition, DWORD LimitMs) {
    const DWORD Start = GetTickCount();
    while (!Condition()) {
        if (GetTickCount() - Start > LimitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, PollMs, QS_ALLINPUT);
        HandleWaitingMessages();
    }
    return true;
}

}  // namespace realinput
