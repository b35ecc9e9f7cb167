// The program entry: one running copy at a time (the named mutex "Quirn"),
// the application titled "Quirn", the main form, the message loop.
#include <windows.h>

#include "app/Unit1.h"
#include "framework/controls/Application.h"

namespace {
constexpr char kInstanceMutexName[] = "Quirn";
}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    // Held for the life of the process; the system frees it at exit.
    HANDLE mutex = CreateMutexA(nullptr, TRUE, kInstanceMutexName);
    if (!mutex) return 0;
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        // Another copy runs: leave it undisturbed and end silently.
        CloseHandle(mutex);
        return 0;
    }
    Application->Initialize();
    Application->SetTitle("Quirn");
    try {
        Application->CreateForm(Form1);
    } catch (...) {
        Application->HandleException(Application);  // shown; without a main form Run returns at once
    }
    Application->Run();
    return 0;
}
