#include "InputDriver.h"

#include <string>
#include <vector>

#include "RealInput.h"
#include "Wait.h"

namespace {

constexpr int kDownBit = 0x8000;  // GetAsyncKeyState: the key is down

bool Down(int key) { return (::GetAsyncKeyState(key) & kDownBit) != 0; }

}  // namespace

::testing::AssertionResult CursorArrives(POINT point) {
    return PumpUntil("the cursor at (" + std::to_string(point.x) + ", " + std::to_string(point.y) + ")",
                     [&] { return KeepCursorAt(point); });
}

::testing::AssertionResult InputSettles(std::initializer_list<WORD> keys) {
    return PumpUntil("mouse buttons and keys up", [&] {
        if (Down(VK_LBUTTON) || Down(VK_RBUTTON) || Down(VK_MBUTTON)) return false;
        for (WORD key : keys)
            if (Down(key)) return false;
        return true;
    });
}

void DoubleClick(POINT point) {
    MoveMouse(point);
    EXPECT_TRUE(CursorArrives(point));
    SendInputs({MouseInputAt(point, MOUSEEVENTF_LEFTDOWN), MouseInputAt(point, MOUSEEVENTF_LEFTUP),
                MouseInputAt(point, MOUSEEVENTF_LEFTDOWN), MouseInputAt(point, MOUSEEVENTF_LEFTUP)});
    EXPECT_TRUE(InputSettles());
}

void RightClick(POINT point) {
    Click(point, true);
    EXPECT_TRUE(InputSettles());
}

void Drag(POINT from, POINT to, int steps, const std::function<bool(POINT)>& followed) {
    MoveMouse(from);
    EXPECT_TRUE(CursorArrives(from));
    const DWORD pressedThread = ::GetWindowThreadProcessId(::WindowFromPoint(from), nullptr);
    SendInputs({MouseInputAt(from, MOUSEEVENTF_LEFTDOWN)});
    EXPECT_TRUE(PumpUntil("the left button down", [] { return Down(VK_LBUTTON); }));
    // The moves wait until the pressed window has taken the press: a window's move loop starts from where
    // the cursor is when the press is handled, so a press handled after the first step would lose that step.
    // Whatever follows a drag (a caption, a scroll box, a selection) captures the mouse.
    EXPECT_TRUE(PumpUntil("the pressed window to capture the mouse", [&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        return ::GetGUIThreadInfo(pressedThread, &info) && info.hwndCapture != nullptr;
    }));
    steps = steps < 1 ? 1 : steps;
    for (int step = 1; step <= steps; ++step) {
        const POINT at{from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps};
        SendInputs({MouseInputAt(at, 0)});
        EXPECT_TRUE(CursorArrives(at));
        if (followed) {
            EXPECT_TRUE(PumpUntil(
                "the drag's target to follow the mouse to (" + std::to_string(at.x) + ", " + std::to_string(at.y) + ")",
                [&] { return KeepCursorAt(at) && followed(at); }));
        }
    }
    SendInputs({MouseInputAt(to, MOUSEEVENTF_LEFTUP)});
    EXPECT_TRUE(InputSettles());
}

void PressChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) inputs.push_back(KeyInput(key, false));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) inputs.push_back(KeyInput(*key, true));
    SendInputs(inputs);
    EXPECT_TRUE(InputSettles(keys));
}
