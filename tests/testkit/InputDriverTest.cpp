// The input drivers of the engine tests reach a real window as the gestures they claim: a double click,
// a right click, a drag from one point to another, a key chord.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "InputDriver.h"
#include "Wait.h"

namespace {

// A window that records what arrives: double clicks, right clicks, the points of a drag, Alt+Space.
class RecordingWindow {
public:
    RecordingWindow() {
        WNDCLASSW windowClass{};
        windowClass.style = CS_DBLCLKS;
        windowClass.lpfnWndProc = Procedure;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.lpszClassName = L"QuirnInputRecorder";
        windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
        ::RegisterClassW(&windowClass);
        FWindow = ::CreateWindowExW(0, windowClass.lpszClassName, L"Input recorder", WS_OVERLAPPEDWINDOW, 80, 80, 300,
                                    220, nullptr, nullptr, windowClass.hInstance, this);
        ::ShowWindow(FWindow, SW_SHOWNORMAL);
    }
    ~RecordingWindow() { ::DestroyWindow(FWindow); }

    HWND Handle() const { return FWindow; }
    POINT ScreenPoint(int x, int y) const {
        POINT point{x, y};
        ::ClientToScreen(FWindow, &point);
        return point;
    }

    int DoubleClicks = 0;
    int RightClicks = 0;
    int Clicks = 0;
    POINT DragStart{-1, -1};
    POINT DragEnd{-1, -1};
    int AltSpaces = 0;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            ::SetWindowLongPtrW(window, GWLP_USERDATA,
                                LONG_PTR(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
        auto* self = reinterpret_cast<RecordingWindow*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        const POINT at{short(LOWORD(lParam)), short(HIWORD(lParam))};
        switch (message) {
        case WM_LBUTTONDBLCLK: ++self->DoubleClicks; return 0;
        case WM_RBUTTONUP: ++self->RightClicks; return 0;
        case WM_LBUTTONDOWN:
            ::SetCapture(window);
            self->DragStart = at;
            return 0;
        case WM_LBUTTONUP:
            ::ReleaseCapture();
            ++self->Clicks;
            self->DragEnd = at;
            return 0;
        case WM_SYSKEYDOWN:
            // Alt+Space would open the system menu: recorded instead.
            if (wParam == VK_SPACE && (lParam & (1 << 29))) {
                ++self->AltSpaces;
                return 0;
            }
            break;
        case WM_SYSCHAR:
            if (wParam == ' ') return 0;
            break;
        default: break;
        }
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    HWND FWindow = nullptr;
};

TEST(InputDriver, DoubleAndRightClicksDragsAndChordsArriveAsSuch) {
    RecordingWindow recorder;
    ASSERT_TRUE(PumpUntil("the recorder in front", [&] {
        ::SetForegroundWindow(recorder.Handle());
        return ::GetForegroundWindow() == recorder.Handle();
    }));

    DoubleClick(recorder.ScreenPoint(60, 50));
    EXPECT_TRUE(PumpUntil("a double click", [&] { return recorder.DoubleClicks == 1; }));

    RightClick(recorder.ScreenPoint(100, 60));
    EXPECT_TRUE(PumpUntil("a right click", [&] { return recorder.RightClicks == 1; }));

    const int clicks = recorder.Clicks;
    Drag(recorder.ScreenPoint(20, 30), recorder.ScreenPoint(180, 120));
    EXPECT_TRUE(PumpUntil("the drag's release", [&] { return recorder.Clicks == clicks + 1; }));
    EXPECT_EQ(recorder.DragStart.x, 20);
    EXPECT_EQ(recorder.DragStart.y, 30);
    EXPECT_EQ(recorder.DragEnd.x, 180);
    EXPECT_EQ(recorder.DragEnd.y, 120);

    PressChord({VK_MENU, VK_SPACE});
    EXPECT_TRUE(PumpUntil("Alt+Space", [&] { return recorder.AltSpaces == 1; }));
    EXPECT_TRUE(InputSettles({VK_MENU, VK_SPACE}));
}

}  // namespace
