// The USER object counter sees each kind it claims to count come and go, and reports what stays.
#include <windows.h>

#include <gtest/gtest.h>

#include "UserObjectCounter.h"

namespace {

LRESULT CALLBACK PassOn(int code, WPARAM wParam, LPARAM lParam) {
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

HICON SolidIcon() {
    const BYTE andMask[32 * 4]{};
    BYTE xorMask[32 * 4]{};
    return ::CreateIcon(::GetModuleHandleW(nullptr), 32, 32, 1, 1, andMask, xorMask);
}

TEST(UserObjectCounter, EachKindCountsUpWhileAliveAndBackWhenReleased) {
    // Warm-up: classes, shared system cursors and the parent of message-only windows, which the calls
    // below make once for the process.
    ::DestroyWindow(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr));
    ::DestroyWindow(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    const UserObjectCounter counter;

    HWND window =
        ::CreateWindowExW(0, L"STATIC", L"counted", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HWND child = ::CreateWindowExW(0, L"STATIC", L"", WS_CHILD, 0, 0, 5, 5, window, nullptr, nullptr, nullptr);
    HWND messageOnly = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(window && child && messageOnly);
    HMENU menu = ::CreatePopupMenu();
    HMENU bar = ::CreateMenu();
    HICON icon = SolidIcon();
    ACCEL accelerator{FVIRTKEY, 'A', 1};
    HACCEL table = ::CreateAcceleratorTableW(&accelerator, 1);
    HHOOK hook = ::SetWindowsHookExW(WH_CBT, PassOn, nullptr, ::GetCurrentThreadId());
    ASSERT_TRUE(menu && bar && icon && table && hook);

    UserObjectCounts leaked = counter.Leaked();
    EXPECT_EQ(leaked.Windows, 3) << leaked.ToString();
    EXPECT_EQ(leaked.Menus, 2) << leaked.ToString();
    EXPECT_EQ(leaked.CursorsAndIcons, 1) << leaked.ToString();
    EXPECT_EQ(leaked.AcceleratorTables, 1) << leaked.ToString();
    EXPECT_EQ(leaked.Hooks, 1) << leaked.ToString();

    // One of each left behind shows as one of each.
    ::DestroyWindow(messageOnly);
    ::DestroyMenu(bar);
    EXPECT_EQ(counter.Leaked(), (UserObjectCounts{2, 1, 1, 1, 1}));

    ::UnhookWindowsHookEx(hook);
    ::DestroyAcceleratorTable(table);
    ::DestroyIcon(icon);
    ::DestroyMenu(menu);
    ::DestroyWindow(window);  // takes the child along
    EXPECT_EQ(counter.Leaked(), UserObjectCounts{});
}

TEST(UserObjectCounter, HooksOfOtherKindsAndAnsiHooksCountToo) {
    const UserObjectCounter counter;
    HHOOK message = ::SetWindowsHookExA(WH_GETMESSAGE, PassOn, nullptr, ::GetCurrentThreadId());
    HHOOK keyboard = ::SetWindowsHookExW(WH_KEYBOARD, PassOn, nullptr, ::GetCurrentThreadId());
    EXPECT_EQ(counter.Leaked().Hooks, 2);
    ::UnhookWindowsHookEx(message);
    EXPECT_EQ(counter.Leaked().Hooks, 1);
    ::UnhookWindowsHookEx(keyboard);
    EXPECT_FALSE(::UnhookWindowsHookEx(keyboard)) << "a second unhook fails and counts nothing";
    EXPECT_EQ(counter.Leaked().Hooks, 0);
}

}  // namespace
