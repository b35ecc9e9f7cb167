// Timer.h: TTimer, a component that raises OnTimer every Interval
// milliseconds while Enabled, through the thread's message loop.
#pragma once

#include "framework/controls/WinApi.h"

#include "framework/win/WindowMessage.h"
#include "framework/core/Component.h"

// Raises OnTimer every Interval milliseconds while Enabled, Interval > 0 and
// OnTimer is assigned, from the message loop of the thread that made it (on a
// hidden window of its own). Nothing runs while loading; an exception from
// OnTimer goes to Application->HandleException. EOutOfMemory when the system
// has no timer left.
class TTimer : public TComponent {
    QUIRN_CLASS(TTimer, TComponent)
public:
    static constexpr uint32_t kDefaultInterval = 1000;

    explicit TTimer(TComponent* owner);
    ~TTimer() override;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool value);
    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t value);
    TNotifyEvent OnTimer() const { return FOnTimer; }
    void SetOnTimer(TNotifyEvent value);

protected:
    void Loaded() override;
    virtual void Timer();

private:
    void UpdateTimer();
    void WndProc(TMessage& message);

    bool FEnabled = true;
    uint32_t FInterval = kDefaultInterval;
    TNotifyEvent FOnTimer;
    HWND FWindowHandle = nullptr;
};
