// What a failed wait of a GUI test adds to its message: where input would go at that moment (the
// foreground window, its thread's focus, capture and menu mode) and where the mouse is. A wait for a
// window's answer to real input most often fails because the input went somewhere else.
#pragma once

#include <windows.h>

#include <sstream>
#include <string>
#include <string_view>

namespace desktop_state {

// Text for a test's message: characters beyond ASCII become '?'.
inline std::string Narrow(std::wstring_view text) {
    std::string narrow;
    for (wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
    return narrow;
}

inline std::string Describe(HWND window) {
    if (window == nullptr) return "none";
    wchar_t name[64]{};
    wchar_t title[64]{};
    ::GetClassNameW(window, name, 64);
    ::InternalGetWindowText(window, title, 64);
    DWORD process = 0;
    ::GetWindowThreadProcessId(window, &process);
    std::ostringstream text;
    text << reinterpret_cast<uintptr_t>(window) << " '" << Narrow(name) << "' \"" << Narrow(title) << "\" process "
         << process;
    return text.str();
}

}  // namespace desktop_state

// One line on where keyboard and mouse input would go now.
inline std::string DescribeInputState() {
    using desktop_state::Describe;
    std::ostringstream text;
    const HWND front = ::GetForegroundWindow();
    text << "foreground " << Describe(front);
    GUITHREADINFO thread{};
    thread.cbSize = sizeof(thread);
    if (front != nullptr && ::GetGUIThreadInfo(::GetWindowThreadProcessId(front, nullptr), &thread)) {
        text << "; focus " << Describe(thread.hwndFocus) << "; capture " << Describe(thread.hwndCapture);
        if ((thread.flags & GUI_INMENUMODE) != 0) text << "; in menu mode, owner " << Describe(thread.hwndMenuOwner);
        if ((thread.flags & GUI_INMOVESIZE) != 0) text << "; moving or sizing";
    }
    POINT cursor{};
    ::GetCursorPos(&cursor);
    text << "; mouse at " << cursor.x << "," << cursor.y << " over " << Describe(::WindowFromPoint(cursor));
    return text.str();
}

// The visible top-level windows from front to back, one per line with their place and extended
// style: what should cover what on the screen, to set against the pixels read back.
inline std::string DescribeTopWindows() {
    std::ostringstream text;
    for (HWND window = ::GetTopWindow(nullptr); window != nullptr; window = ::GetWindow(window, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(window)) continue;
        RECT rect{};
        ::GetWindowRect(window, &rect);
        text << "  " << desktop_state::Describe(window) << " at " << rect.left << "," << rect.top << "-" << rect.right
             << "," << rect.bottom << " ex-style " << std::hex << ::GetWindowLongPtrW(window, GWL_EXSTYLE) << std::dec
             << "\n";
    }
    return text.str();
}
