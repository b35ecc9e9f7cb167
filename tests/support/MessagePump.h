// Test helpers for real windows: pump the pending messages of this thread instead of sleeping.
#pragma once

#include <windows.h>

// Dispatches every message waiting in this thread's queue.
inline void PumpPendingMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}
