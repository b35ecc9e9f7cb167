#include "framework/controls/Timer.h"

#include "framework/controls/CustomApplication.h"
#include "framework/controls/UtilWindow.h"

QUIRN_PUBLISH(TTimer, p) {
    p.Property("Enabled", &TTimer::Enabled, &TTimer::SetEnabled).Default(true);
    p.Property("Interval", &TTimer::Interval, &TTimer::SetInterval).Default(TTimer::kDefaultInterval);
    p.Property("OnTimer", &TTimer::OnTimer, &TTimer::SetOnTimer);
}

namespace {
constexpr UINT_PTR kTimerId = 1;
}  // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
    FWindowHandle = AllocateHWnd(TWndMethod(this, &TTimer::WndProc));
    if (!FWindowHandle) throw EOutOfMemory("Cannot create the window of a timer");
}

TTimer::~TTimer() {
    FEnabled = false;
    KillTimer(FWindowHandle, kTimerId);
    DeallocateHWnd(FWindowHandle);
}

void TTimer::SetEnabled(bool value) {
    if (FEnabled == value) return;
    FEnabled = value;
    UpdateTimer();
}

void TTimer::SetInterval(uint32_t value) {
    if (FInterval == value) return;
    FInterval = value;
    UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent value) {
    FOnTimer = value;
    UpdateTimer();
}

void TTimer::Loaded() {
    TComponent::Loaded();
    UpdateTimer();
}

void TTimer::UpdateTimer() {
    KillTimer(FWindowHandle, kTimerId);
    if (ComponentState().Contains(csLoading)) return;
    if (FEnabled && FInterval > 0 && FOnTimer) {
        if (!SetTimer(FWindowHandle, kTimerId, FInterval, nullptr)) throw EOutOfMemory("Not enough timers available");
    }
}

void TTimer::Timer() {
    if (FOnTimer) FOnTimer(this);
}

void TTimer::WndProc(TMessage& message) {
    if (message.Msg == WM_TIMER) {
        try {
            Timer();
        } catch (...) {
            ApplicationHandleException(this);
        }
        return;
    }
    message.Result = DefWindowProcW(FWindowHandle, message.Msg, message.WParam, message.LParam);
}
