// Real mouse and keyboard input (SendInput), as a user gives it. It goes to whatever window is in front
// of the shared desktop, so a test program that uses it holds the desktops alone: INPUT in quirn_add_test.
// Every event is handed over exactly once (no retries), and an event the system refuses fails the test.
#pragma once

#include <windows.h>

#include <string_view>
#include <vector>

POINT Centre(const RECT& rect);

// Moves the mouse to point (screen coordinates).
void MoveMouse(POINT point);

// True when the cursor is at point; otherwise moves it there again and returns false. For the condition of
// a wait on a move's effect: each move also moves the display's pointer, and Wine hands the pointer motion
// that comes back to the thread of the window under it only when that thread next waits. Handled after a
// later move, such a motion puts the cursor back where the earlier move left it (a drag then seems to
// stop one step short). A position is state, not an action: setting it again loses or doubles nothing.
bool KeepCursorAt(POINT point);

// Clicks at point with the left (or right) button: one press and one release.
void Click(POINT point, bool right = false);

// Turns the wheel by notches (negative: towards the user) with the mouse at point: one event per notch.
void Wheel(POINT point, int notches);

// Presses and releases key while modifier (0: none) is held.
void PressKey(WORD key, WORD modifier = 0);

// Types text as Unicode characters, one press and release each.
void TypeText(std::wstring_view text);

// The events the functions above are made of, for input drivers that send their own sequences.
// A mouse event at point (screen coordinates, sent as absolute) with the given button flags (0: a move).
INPUT MouseInputAt(POINT point, DWORD buttons = 0);
// A key going down or up.
INPUT KeyInput(WORD key, bool up);
// Hands the events to the system at once; an event it refuses fails the test.
void SendInputs(std::vector<INPUT> inputs);
