#include "ChildProcess.h"

namespace {
constexpr UINT kEndedByTestExitCode = 0xDEAD;
constexpr DWORD kEndPatienceMs = 30000;
}  // namespace

ChildProcess::ChildProcess(const std::wstring& commandLine, TStart start) {
    FJob = ::CreateJobObjectW(nullptr, nullptr);
    EXPECT_NE(FJob, nullptr) << "CreateJobObject failed, error " << ::GetLastError();
    if (FJob) {
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        // What the process starts in turn leaves the job: it may be a test program with children of its own
        // to put in jobs of their own.
        limits.BasicLimitInformation.LimitFlags =
            JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_SILENT_BREAKAWAY_OK;
        EXPECT_TRUE(::SetInformationJobObject(FJob, JobObjectExtendedLimitInformation, &limits, sizeof limits))
            << "SetInformationJobObject failed, error " << ::GetLastError();
    }
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring command = commandLine;  // CreateProcessW may write into the command line
    // Suspended until it is in the job, so that nothing it starts escapes the job.
    if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                          &startup, &FProcess)) {
        ADD_FAILURE() << "CreateProcess failed for " << ::testing::PrintToString(commandLine) << ", error "
                      << ::GetLastError();
        FProcess = {};
        return;
    }
    if (FJob) {
        EXPECT_TRUE(::AssignProcessToJobObject(FJob, FProcess.hProcess))
            << "AssignProcessToJobObject failed, error " << ::GetLastError();
    }
    if (start == TStart::Running) Resume();
}

ChildProcess::~ChildProcess() {
    End();
    if (FProcess.hThread) ::CloseHandle(FProcess.hThread);
    if (FProcess.hProcess) ::CloseHandle(FProcess.hProcess);
    if (FJob) ::CloseHandle(FJob);
}

bool ChildProcess::Running() const { return Started() && ::WaitForSingleObject(FProcess.hProcess, 0) == WAIT_TIMEOUT; }

void ChildProcess::Resume() {
    if (FProcess.hThread) {
        EXPECT_NE(::ResumeThread(FProcess.hThread), static_cast<DWORD>(-1))
            << "ResumeThread failed, error " << ::GetLastError();
    }
}

::testing::AssertionResult ChildProcess::Exits(DWORD limitMs) {
    if (!Started()) return ::testing::AssertionFailure() << "the process never started";
    if (::WaitForSingleObject(FProcess.hProcess, limitMs) == WAIT_OBJECT_0) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "process " << FProcess.dwProcessId << " still runs after " << limitMs
                                         << " ms";
}

DWORD ChildProcess::ExitCode() const {
    DWORD code = STILL_ACTIVE;
    if (Started()) ::GetExitCodeProcess(FProcess.hProcess, &code);
    return code;
}

bool ChildProcess::End() {
    if (!Running()) return false;
    ::TerminateProcess(FProcess.hProcess, kEndedByTestExitCode);
    EXPECT_EQ(::WaitForSingleObject(FProcess.hProcess, kEndPatienceMs), WAIT_OBJECT_0)
        << "process " << FProcess.dwProcessId << " survived TerminateProcess";
    return true;
}
