// ChildProcess: a process a test starts, ended with the test whichever way the test leaves. The destructor
// ends it if it still runs and closes its handles, so a failed assertion leaves nothing behind for the next
// test to meet (a program's single-instance guard, a window in front). The process runs in a job object
// that ends it when the job's last handle closes: even a test program that dies takes its children along.
// (The processes a child starts in turn are not in the job.)
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

class ChildProcess {
public:
    enum class TStart { Running, Suspended };

    // Starts commandLine; Suspended: its first thread waits for Resume (a watcher can start first).
    // Failure to start is a test failure; Started() tells.
    explicit ChildProcess(const std::wstring& commandLine, TStart start = TStart::Running);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Started() const { return FProcess.hProcess != nullptr; }
    DWORD Id() const { return FProcess.dwProcessId; }
    HANDLE Handle() const { return FProcess.hProcess; }
    bool Running() const;

    void Resume();
    // Success once the process has ended within limitMs; the failure says it still runs.
    ::testing::AssertionResult Exits(DWORD limitMs);
    // The exit code of the ended process (STILL_ACTIVE while it runs).
    DWORD ExitCode() const;
    // Ends the process if it still runs and waits until it has; true when it had to be ended.
    bool End();

private:
    PROCESS_INFORMATION FProcess{};
    HANDLE FJob = nullptr;
};
