// WindowWatcher: records every window a process has at any moment while the watcher lives, for tests that
// promise a process shows no window at all (not merely none left when it ended). A thread looks at the
// desktop's top-level and message-only windows every millisecond; start the watched process suspended and
// resume it once the watcher runs, so that nothing is created before the first look. A window that lives
// less than a look's interval could still slip through: Wine takes longer than that to create one.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

class WindowWatcher {
public:
    explicit WindowWatcher(DWORD processId);
    ~WindowWatcher();  // stops watching
    WindowWatcher(const WindowWatcher&) = delete;
    WindowWatcher& operator=(const WindowWatcher&) = delete;

    // Looks once more and stops watching.
    void Stop();
    // How many times the watcher looked (a watcher that never looked proves nothing).
    int Looks() const { return FLooks; }
    // Every window seen, once each, described by class name and caption.
    std::vector<std::wstring> Seen() const;

private:
    static DWORD WINAPI Run(void* self);
    static BOOL CALLBACK NoteWindow(HWND window, LPARAM self);
    void Look();
    void Note(HWND window);

    DWORD FProcessId;
    std::atomic<bool> FStop{false};
    std::atomic<int> FLooks{0};
    HANDLE FThread = nullptr;
    mutable std::mutex FMutex;
    std::vector<HWND> FWindows;
    std::vector<std::wstring> FDescriptions;
};
