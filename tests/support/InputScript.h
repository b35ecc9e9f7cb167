// Input scripts for GUI tests: a driver thread sends real input (RealInput.h) while the test's own thread
// handles its windows' messages, modal loops included (a caption drag, a tracked menu, a message box);
// and the pieces such scripts are made of beyond RealInput's and InputDriver's: a button held down or let
// go on its own, waits on a condition from any thread.
#pragma once

#include <windows.h>

#include <functional>

#include "RealInput.h"

namespace realinput {

// How long a wait gives a loaded machine, and how often it looks again.
constexpr DWORD PatienceMs = 15000;
constexpr DWORD PollMs = 10;

// Left (or right) button down or up at a screen point.
void Button(POINT point, bool down, bool right = false);

// Runs Script on a driver thread while this thread first runs OnMain (which may enter a modal loop of
// its own, as a message box does) and then handles messages until the script ends.
void Drive(const std::function<void()>& script, const std::function<void()>& onMain = {});

// Waits (on any thread) until Condition holds; false after LimitMs.
bool WaitFor(const std::function<bool()>& condition, DWORD limitMs = PatienceMs);
// Handles this thread's messages until Condition holds; false after LimitMs.
bool PumpUntil(const std::function<bool()>& condition, DWORD limitMs = PatienceMs);

}  // namespace realinput
