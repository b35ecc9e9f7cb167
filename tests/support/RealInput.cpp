#include "RealInput.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr int kAbsoluteScale = 65535;  // absolute mouse coordinates span 0..65535 over the screen

}  // namespace

void SendInputs(std::vector<INPUT> inputs) {
    const UINT sent = ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    EXPECT_EQ(sent, inputs.size()) << "SendInput refused events, error " << ::GetLastError();
}

INPUT MouseInputAt(POINT point, DWORD buttons) {
    INPUT move{};
    move.type = INPUT_MOUSE;
    move.mi.dx = ::MulDiv(point.x, kAbsoluteScale, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    move.mi.dy = ::MulDiv(point.y, kAbsoluteScale, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    move.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | buttons;
    return move;
}

INPUT KeyInput(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyW(key, MAPVK_VK_TO_VSC));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

POINT Centre(const RECT& rect) { return POINT{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2}; }

// By way of a point beside it, so that the move is seen even when the mouse rests there already.
// SetCursorPos moves the display's own pointer too: without it Wine takes the position back from the
// display the next time it asks.
void MoveMouse(POINT point) {
    SendInputs({MouseInputAt(POINT{point.x - 1, point.y})});
    ::SetCursorPos(point.x, point.y);
    SendInputs({MouseInputAt(point)});
}

bool KeepCursorAt(POINT point) {
    POINT now{};
    ::GetCursorPos(&now);
    if (now.x == point.x && now.y == point.y) return true;
    ::SetCursorPos(point.x, point.y);
    SendInputs({MouseInputAt(point)});
    return false;
}

// The button events carry the point too: Wine may take the mouse position back from a display whose
// pointer it cannot move (a second screen) between a move and a click.
void Click(POINT point, bool right) {
    MoveMouse(point);
    INPUT press = MouseInputAt(point);
    INPUT release = MouseInputAt(point);
    press.mi.dwFlags |= right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
    release.mi.dwFlags |= right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
    SendInputs({press, release});
}

// Each turn carries the point as well, for the same reason as a click's buttons: a wheel message goes
// to the window under the mouse, and a turn sent without a point would go wherever Wine last took the
// pointer from the display.
void Wheel(POINT point, int notches) {
    MoveMouse(point);
    INPUT turn = MouseInputAt(point, MOUSEEVENTF_WHEEL);
    turn.mi.mouseData = static_cast<DWORD>((notches < 0 ? -1 : 1) * WHEEL_DELTA);
    SendInputs(std::vector<INPUT>(static_cast<size_t>(notches < 0 ? -notches : notches), turn));
}

void PressKey(WORD key, WORD modifier) {
    std::vector<INPUT> inputs;
    if (modifier) inputs.push_back(KeyInput(modifier, false));
    inputs.push_back(KeyInput(key, false));
    inputs.push_back(KeyInput(key, true));
    if (modifier) inputs.push_back(KeyInput(modifier, true));
    SendInputs(inputs);
}

void TypeText(std::wstring_view text) {
    for (wchar_t c : text) {
        INPUT press{};
        press.type = INPUT_KEYBOARD;
        press.ki.wScan = c;
        press.ki.dwFlags = KEYEVENTF_UNICODE;
        INPUT release = press;
        release.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInputs({press, release});
    }
}
