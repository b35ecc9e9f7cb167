// OnScreen: a window of this process as the screen shows it against its own device context.
#include "OnScreen.h"

#include "MessagePump.h"
#include "PixelImage.h"
#include "Wait.h"
#include "framework/win/DeviceContext.h"

bool ScreenShowsClient(HWND window) {
    RECT client{};
    if (!::GetClientRect(window, &client) || client.right < 8 || client.bottom < 8) return false;
    if (::GetUpdateRect(window, nullptr, FALSE)) return false;
    POINT origin{0, 0};
    if (!::ClientToScreen(window, &origin)) return false;
    const win::WindowDC dc(window);
    if (!dc) return false;
    const PixelImage own = CaptureDC(dc.get(), client);
    const PixelImage shown = CaptureScreen(RECT{origin.x, origin.y, origin.x + client.right, origin.y + client.bottom});
    if (own.Width() != client.right || shown.Width() != client.right || own.Height() != client.bottom ||
        shown.Height() != client.bottom)
        return false;
    const int width = client.right;
    const int height = client.bottom;
    const POINT samples[] = {{width / 2, height / 2}, {3, 3}, {width - 4, 3}, {3, height - 4}, {width - 4, height - 4}};
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    for (const POINT& at : samples) {
        const bool onScreen = origin.x + at.x >= 0 && origin.y + at.y >= 0 && origin.x + at.x < screenWidth &&
                              origin.y + at.y < screenHeight;
        if (onScreen && own.At(at.x, at.y) != shown.At(at.x, at.y)) return false;
    }
    return true;
}

::testing::AssertionResult WaitUntilOnScreen(HWND window) {
    RECT client{};
    // A window with (almost) no client area has nothing to compare: it is taken as shown.
    if (!::GetClientRect(window, &client) || client.right < 8 || client.bottom < 8)
        return ::testing::AssertionSuccess();
    auto shown = PumpUntil("the screen to show the window's client area", [&] { return ScreenShowsClient(window); });
    if (!shown) return shown;
    // The map event reached this thread's X connection before the pixels reached the screen; a wait
    // hands it to Wine's X11 driver.
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 0, QS_ALLINPUT);
    PumpPendingMessages();
    return shown;
}
