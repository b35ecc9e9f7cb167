// Input scripts for GUI tests.
#include "InputScript.h"

#include <atomic>

#include "MessagePump.h"

namespace realinput {

namespace {

struct TDriverJob {
    const std::function<void()>* Script;
    DWORD MainThread;
    std::atomic<bool> Finished{false};
};

DWORD WINAPI RunDriver(void* data) {
    auto* job = static_cast<TDriverJob*>(data);
    (*job->Script)();
    job->Finished = true;
    PostThreadMessageW(job->MainThread, WM_NULL, 0, 0);
    return 0;
}

}  // namespace

void Button(POINT point, bool down, bool right) {
    const DWORD flags = right ? (down ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_RIGHTUP)
                              : (down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP);
    SendInputs({MouseInputAt(point, flags)});
}

void Drive(const std::function<void()>& script, const std::function<void()>& onMain) {
    TDriverJob job{&script, GetCurrentThreadId()};
    HANDLE thread = CreateThread(nullptr, 0, RunDriver, &job, 0, nullptr);
    if (thread == nullptr) return;
    if (onMain) onMain();
    while (!job.Finished) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, PollMs, QS_ALLINPUT);
        PumpPendingMessages();
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

bool WaitFor(const std::function<bool()>& condition, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, PollMs, QS_ALLINPUT);
    }
    return true;
}

bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, PollMs, QS_ALLINPUT);
        PumpPendingMessages();
    }
    return true;
}

}  // namespace realinput
