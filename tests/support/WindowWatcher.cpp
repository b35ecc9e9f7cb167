#include "WindowWatcher.h"

#include <algorithm>

namespace {
constexpr DWORD kLookIntervalMs = 1;
constexpr int kTextLength = 256;
}  // namespace

WindowWatcher::WindowWatcher(DWORD processId) : FProcessId(processId) {
    Look();
    FThread = ::CreateThread(nullptr, 0, &WindowWatcher::Run, this, 0, nullptr);
}

WindowWatcher::~WindowWatcher() { Stop(); }

void WindowWatcher::Stop() {
    if (!FThread) return;
    FStop = true;
    ::WaitForSingleObject(FThread, INFINITE);
    ::CloseHandle(FThread);
    FThread = nullptr;
    Look();
}

std::vector<std::wstring> WindowWatcher::Seen() const {
    std::lock_guard<std::mutex> lock(FMutex);
    return FDescriptions;
}

DWORD WINAPI WindowWatcher::Run(void* self) {
    auto* watcher = static_cast<WindowWatcher*>(self);
    while (!watcher->FStop) {
        watcher->Look();
        ::Sleep(kLookIntervalMs);
    }
    return 0;
}

BOOL CALLBACK WindowWatcher::NoteWindow(HWND window, LPARAM self) {
    reinterpret_cast<WindowWatcher*>(self)->Note(window);
    return TRUE;
}

void WindowWatcher::Look() {
    ::EnumWindows(NoteWindow, reinterpret_cast<LPARAM>(this));
    // Message-only windows are not among the desktop's children.
    for (HWND window = ::FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); window;
         window = ::FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr))
        Note(window);
    ++FLooks;
}

void WindowWatcher::Note(HWND window) {
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner != FProcessId) return;
    std::lock_guard<std::mutex> lock(FMutex);
    if (std::find(FWindows.begin(), FWindows.end(), window) != FWindows.end()) return;
    FWindows.push_back(window);
    wchar_t className[kTextLength]{};
    wchar_t caption[kTextLength]{};
    ::GetClassNameW(window, className, kTextLength);
    ::GetWindowTextW(window, caption, kTextLength);
    FDescriptions.push_back(std::wstring(className) + L" \"" + caption + L"\"" +
                            (::IsWindowVisible(window) ? L" (visible)" : L" (hidden)"));
}
