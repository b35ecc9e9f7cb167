// Real input for GUI tests: mouse and keyboard events through SendInput, and a driver thread that
// sends them while the test's own thread handles its windows' messages (modal loops included:
// a caption drag, a tracked menu).
#pragma once

#include <windows.h>

#include <functional>

namespace realinput {

// How long a wait gives a loaded machine, and how often it looks again.
constexpr DWORD PatienceMs = 15000;
constexpr DWORD PollMs = 10;

// Moves the mouse to a screen point (through a point beside it, so that the move is seen even when
// the mouse rests there already).
void MoveMouse(POINT Point);
// Left (or right) button down or up at a screen point.
void Button(POINT Point, bool Down, bool Right = false);
// A click, and two clicks within the double-click time, at a screen point.
void Click(POINT Point, bool Right = false);
void DoubleClick(POINT Point);
// Presses Key while Modifier (0: none) is held.
void PressKey(WORD Key, WORD Modifier = 0);

// Runs Script on a driver thread while this thread first runs OnMain (which may enter a modal loop of
// its own, as a message box does) and then handles messages until the script ends.
void Drive(const std::function<void()>& Script, const std::function<void()>& OnMain = {});

// Waits (on any thread) until Condition holds; false after LimitMs.
bool WaitFor(const std::function<bool()>& Condition, DWORD LimitMs = PatienceMs);
// Handles this thread's messages until Condition holds; false after LimitMs.
bool PumpUntil(const std::function<bool()>& Condition, DWORD LimitMs = PatienceMs);

}  // namespace realinput
