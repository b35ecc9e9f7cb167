// Whether the screen shows a window of this process yet. A window the system shows reaches the screen
// when the X server has mapped it, under load well after ShowWindow returned. Wine's X11 driver handles
// the map event that comes back only when the window's thread waits, and its handler raises the window
// when the focus is inside it: handled inside the loop of a menu opened meanwhile, it puts the window over
// the menu, while the system's window order keeps the menu in front.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

// True when the screen shows what the window's client area holds in its own device context, at its centre
// and near its corners (those on the screen); false while the window still has to paint.
bool ScreenShowsClient(HWND window);

// Handles this thread's messages until the screen shows the window's client area, then waits once more
// for nothing, so that Wine has handled the map event before the test opens a menu over the window. A
// window with (almost) no client area is taken as shown.
::testing::AssertionResult WaitUntilOnScreen(HWND window);
