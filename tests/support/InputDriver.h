// InputDriver: the gestures of the engine's input tests beyond RealInput's single clicks and keys — double
// and right clicks, drags, key chords such as Alt+Space — handed over with SendInput, each waiting on what
// the system shows of it (the cursor where it was sent, buttons and keys up again) instead of sleeping.
// Like RealInput, it drives whatever window is in front: a test program that uses it holds the desktops.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>

#include "RealInput.h"

// Success once the system's cursor is at point; puts it there again at each look that finds it elsewhere
// (KeepCursorAt).
::testing::AssertionResult CursorArrives(POINT point);
// Success once no mouse button and none of keys is down any more.
::testing::AssertionResult InputSettles(std::initializer_list<WORD> keys = {});

// Two left clicks at point within the double-click time, in one batch.
void DoubleClick(POINT point);
// A right click at point.
void RightClick(POINT point);
// Presses the left button at from, waits until the window there has captured the mouse (every drag target
// does), moves to to in steps (each seen by the system before the next), and releases it there. With
// followed, each step also waits until followed(point) holds (the dragged thing has taken that move): a
// window that is still busy with one move may otherwise see the next folded into the release, and a move
// loop ends where its last move left it.
void Drag(POINT from, POINT to, int steps = 8, const std::function<bool(POINT)>& followed = nullptr);
// Presses keys in order and releases them in reverse: {VK_MENU, VK_SPACE} is Alt+Space.
void PressChord(std::initializer_list<WORD> keys);
