#include "InputDriver.h"

#include <string>
#include <vector>

#include "Wait.h"

namespace {

constexpr int kAbsoluteScale = 65535;  // absolute mouse coordinates span 0..65535 over the screen
constexpr int kDownBit = 0x8000;       // GetAsyncKeyState: the key is down

// A mouse event at point (absolute), with the given button flags.
INPUT MouseAt(POINT point, DWORD buttons) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(point.x, kAbsoluteScale, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = ::MulDiv(point.y, kAbsoluteScale, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    return input;
}

INPUT KeyEvent(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

void Send(std::vector<INPUT> inputs) {
    const UINT sent = ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    EXPECT_EQ(sent, inputs.size()) << "SendInput refused events, error " << ::GetLastError();
}

bool Down(int key) { return (::GetAsyncKeyState(key) & kDownBit) != 0; }

}  // namespace

::testing::AssertionResult CursorArrives(POINT point) {
    POINT now{};
    return PumpUntil("the cursor at (" + std::to_string(point.x) + ", " + std::to_string(point.y) + ")", [&] {
        ::GetCursorPos(&now);
        if (now.x == point.x && now.y == point.y) return true;
        // Wine takes the position back from a display whose pointer it cannot move (the second screen of
        // the x86_64 desktop): put it there again until the system keeps it.
        ::SetCursorPos(point.x, point.y);
        return false;
    });
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
    Send({MouseAt(point, MOUSEEVENTF_LEFTDOWN), MouseAt(point, MOUSEEVENTF_LEFTUP),
          MouseAt(point, MOUSEEVENTF_LEFTDOWN), MouseAt(point, MOUSEEVENTF_LEFTUP)});
    EXPECT_TRUE(InputSettles());
}

void RightClick(POINT point) {
    Click(point, true);
    EXPECT_TRUE(InputSettles());
}

void Drag(POINT from, POINT to, int steps) {
    MoveMouse(from);
    EXPECT_TRUE(CursorArrives(from));
    Send({MouseAt(from, MOUSEEVENTF_LEFTDOWN)});
    EXPECT_TRUE(PumpUntil("the left button down", [] { return Down(VK_LBUTTON); }));
    steps = steps < 1 ? 1 : steps;
    for (int step = 1; step <= steps; ++step) {
        const POINT at{from.x + (to.x - from.x) * step / steps, from.y + (to.y - from.y) * step / steps};
        Send({MouseAt(at, 0)});
        EXPECT_TRUE(CursorArrives(at));
    }
    Send({MouseAt(to, MOUSEEVENTF_LEFTUP)});
    EXPECT_TRUE(InputSettles());
}

void PressChord(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) inputs.push_back(KeyEvent(key, false));
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) inputs.push_back(KeyEvent(*key, true));
    Send(inputs);
    EXPECT_TRUE(InputSettles(keys));
}
