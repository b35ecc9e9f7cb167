// docshots: the pictures of the skinned windows in docs/screenshots, as the screen shows them (BMP files;
// scripts/docshots turns them into PNG).
//
//   docshots quirn OUTDIR GRAPHITE.skn   Quirn's main form in the default and the graphite skin, active and
//                                        inactive, and a message box of the skinned program
//   docshots gallery OUTDIR GALLERY.exe  the gallery's main form, its tool windows, its dialog-frame form and
//                                        its message box, opened with its own buttons
//
// Exit code 0 when every picture was saved, 1 otherwise.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/Unit1.h"
#include "framework/controls/Application.h"
#include "skin/data/PellixData.h"
#include "skin/form/PellixForm.h"

namespace {

std::string OutDir;
int Failures = 0;

void Pump() {
    MSG Msg;
    while (PeekMessageW(&Msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&Msg);
        DispatchMessageW(&Msg);
    }
}

// Handles messages until Condition holds or 20 s passed; then lets the screen settle for SettleMs.
bool PumpUntil(const std::function<bool()>& Condition, DWORD SettleMs = 400) {
    const DWORD Start = GetTickCount();
    bool Held = Condition();
    while (!Held && GetTickCount() - Start < 20000) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
        Held = Condition();
    }
    const DWORD Settled = GetTickCount();
    while (GetTickCount() - Settled < SettleMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        Pump();
    }
    return Held;
}

// Saves what the screen shows of the window's rectangle as OutDir/Name.bmp (24 bits).
void Capture(HWND Window, const char* Name) {
    RECT Rect{};
    if (Window == nullptr || !GetWindowRect(Window, &Rect)) {
        std::fprintf(stderr, "docshots: no window for %s\n", Name);
        ++Failures;
        return;
    }
    const int W = Rect.right - Rect.left;
    const int H = Rect.bottom - Rect.top;
    BITMAPINFO Info{};
    Info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    Info.bmiHeader.biWidth = W;
    Info.bmiHeader.biHeight = H;  // bottom-up, as a BMP file stores rows
    Info.bmiHeader.biPlanes = 1;
    Info.bmiHeader.biBitCount = 24;
    void* Bits = nullptr;
    HDC Screen = GetDC(nullptr);
    HDC Memory = CreateCompatibleDC(Screen);
    HBITMAP Bitmap = CreateDIBSection(Screen, &Info, DIB_RGB_COLORS, &Bits, nullptr, 0);
    HGDIOBJ Old = SelectObject(Memory, Bitmap);
    BitBlt(Memory, 0, 0, W, H, Screen, Rect.left, Rect.top, SRCCOPY);
    GdiFlush();
    const DWORD RowBytes = ((W * 3 + 3) / 4) * 4;
    BITMAPFILEHEADER File{};
    File.bfType = 0x4D42;  // "BM"
    File.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
    File.bfSize = File.bfOffBits + RowBytes * H;
    const std::string Path = OutDir + "\\" + Name + ".bmp";
    FILE* Out = std::fopen(Path.c_str(), "wb");
    if (Out != nullptr) {
        std::fwrite(&File, sizeof(File), 1, Out);
        std::fwrite(&Info.bmiHeader, sizeof(BITMAPINFOHEADER), 1, Out);
        std::fwrite(Bits, 1, RowBytes * H, Out);
        std::fclose(Out);
        std::printf("%s (%d x %d)\n", Name, W, H);
    } else {
        ++Failures;
    }
    SelectObject(Memory, Old);
    DeleteObject(Bitmap);
    DeleteDC(Memory);
    ReleaseDC(nullptr, Screen);
}

// A plain window of another module (never skinned) away from the captured ones, to take the activation.
HWND MakeForeignWindow() {
    return CreateWindowExW(0, L"STATIC", L"Another program", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 560, 240, 120,
                           nullptr, nullptr, GetModuleHandleW(L"user32.dll"), nullptr);
}

bool Skinned(HWND Window) {
    TPellixForm* Skinner = SkinManager != nullptr ? SkinManager->FindForm(Window) : nullptr;
    return Skinner != nullptr && Skinner->FAttached && Skinner->FSkinState == SkinStateRunning;
}

void ActiveAndInactive(HWND Window, HWND Other, const std::string& Name) {
    SetForegroundWindow(Window);
    PumpUntil([&] { return GetForegroundWindow() == Window && Skinned(Window); });
    Capture(Window, (Name + "-active").c_str());
    SetForegroundWindow(Other);
    PumpUntil([&] { return GetForegroundWindow() == Other; });
    Capture(Window, (Name + "-inactive").c_str());
}

// The first visible top-level window of class ClassName (any when null) of the process whose title
// contains Part and which is not Except.
struct TFind {
    DWORD Process;
    const wchar_t* ClassName;
    std::wstring Part;
    HWND Except;
    HWND Found = nullptr;
};

BOOL CALLBACK FindOne(HWND Window, LPARAM Data) {
    auto* Find = reinterpret_cast<TFind*>(Data);
    DWORD Process = 0;
    GetWindowThreadProcessId(Window, &Process);
    wchar_t Text[256]{};
    wchar_t Class[64]{};
    GetWindowTextW(Window, Text, 256);
    GetClassNameW(Window, Class, 64);
    if (Process == Find->Process && Window != Find->Except && IsWindowVisible(Window) &&
        std::wstring(Text).find(Find->Part) != std::wstring::npos &&
        (Find->ClassName == nullptr || std::wcscmp(Class, Find->ClassName) == 0)) {
        Find->Found = Window;
        return FALSE;
    }
    return TRUE;
}

HWND FindWindowOf(DWORD Process, const std::wstring& Part, const wchar_t* ClassName = nullptr, HWND Except = nullptr) {
    TFind Find{Process, ClassName, Part, Except};
    EnumWindows(FindOne, reinterpret_cast<LPARAM>(&Find));
    return Find.Found;
}

// Captures the message box titled Title once it shows, then answers it with OK (a thread of its own: the
// message box runs its own loop on the main thread).
struct TBoxJob {
    std::wstring Title;
    std::string Name;
    DWORD Process;
};

DWORD WINAPI CaptureMessageBox(void* Data) {
    auto* Job = static_cast<TBoxJob*>(Data);
    HWND Box = nullptr;
    const DWORD Start = GetTickCount();
    while (Box == nullptr && GetTickCount() - Start < 20000) {
        Sleep(50);
        Box = FindWindowOf(Job->Process, Job->Title, L"#32770");
    }
    Sleep(800);  // the skin's frame is painted after the box shows
    Capture(Box, Job->Name.c_str());
    if (Box != nullptr) PostMessageW(Box, WM_COMMAND, IDOK, 0);
    return 0;
}

HANDLE StartBoxCapture(TBoxJob& Job) { return CreateThread(nullptr, 0, CaptureMessageBox, &Job, 0, nullptr); }

int ShootQuirn(const std::string& GraphitePath) {
    Application->Initialize();
    Application->SetTitle("Quirn");
    Application->CreateForm(Form1);
    Form1->Show();
    HWND Other = MakeForeignWindow();
    const HWND Main = Form1->Handle();
    ActiveAndInactive(Main, Other, "quirn-default");

    TBoxJob Box{L"Quirn", "quirn-default-messagebox", GetCurrentProcessId()};
    HANDLE Thread = StartBoxCapture(Box);
    SetForegroundWindow(Main);
    MessageBoxW(Main, L"\u67E5\u8BE2\u5B8C\u6210\u3002", L"Quirn", MB_OK | MB_ICONINFORMATION);
    WaitForSingleObject(Thread, INFINITE);
    CloseHandle(Thread);

    Form1->SkinData1->SetSkinFile(GraphitePath);
    PumpUntil([&] { return SkinManager->FActionData == nullptr && Skinned(Main); });
    ActiveAndInactive(Main, Other, "quirn-graphite");
    DestroyWindow(Other);
    return Failures == 0 ? 0 : 1;
}

// Clicks the gallery's button whose text contains Part (a message posted to it: the click may open a
// modal window in the gallery).
struct TButtonFind {
    std::wstring Part;
    HWND Found = nullptr;
};

BOOL CALLBACK FindButton(HWND Window, LPARAM Data) {
    auto* Find = reinterpret_cast<TButtonFind*>(Data);
    wchar_t Text[128]{};
    GetWindowTextW(Window, Text, 128);
    if (std::wstring(Text) != Find->Part) return TRUE;
    Find->Found = Window;
    return FALSE;
}

void ClickButton(HWND Main, const std::wstring& Part) {
    TButtonFind Find{Part};
    EnumChildWindows(Main, FindButton, reinterpret_cast<LPARAM>(&Find));
    if (Find.Found != nullptr) {
        PostMessageW(Find.Found, BM_CLICK, 0, 0);
        return;
    }
    std::fprintf(stderr, "docshots: no button %ls\n", Part.c_str());
    ++Failures;
}

int ShootGallery(const std::string& GalleryPath) {
    STARTUPINFOA Startup{};
    Startup.cb = sizeof(Startup);
    PROCESS_INFORMATION Process{};
    std::string Command = "\"" + GalleryPath + "\"";
    if (!CreateProcessA(nullptr, Command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &Startup, &Process))
        return 1;
    const DWORD Id = Process.dwProcessId;
    HWND Main = nullptr;
    PumpUntil([&] { return (Main = FindWindowOf(Id, L"Quirn Skin Gallery - default")) != nullptr; }, 1000);
    Capture(Main, "gallery-main");
    // Each secondary window: opened by its button, captured, closed.
    const struct {
        const wchar_t* Button;
        const wchar_t* Title;
        const char* Name;
    } Windows[] = {{L"&Tool window", L"Tool window", "gallery-tool-window"},
                   {L"&Sizeable tool window", L"Sizeable tool window", "gallery-sizeable-tool-window"},
                   {L"D&ialog", L"Dialog frame", "gallery-dialog"}};
    for (const auto& Window : Windows) {
        ClickButton(Main, Window.Button);
        HWND Opened = nullptr;
        PumpUntil([&] { return (Opened = FindWindowOf(Id, Window.Title, nullptr, Main)) != nullptr; }, 1000);
        Capture(Opened, Window.Name);
        if (Opened != nullptr) PostMessageW(Opened, WM_CLOSE, 0, 0);
        PumpUntil([&] { return Opened == nullptr || !IsWindowVisible(Opened); }, 300);
    }
    TBoxJob Box{L"", "gallery-messagebox", Id};
    HANDLE Thread = StartBoxCapture(Box);
    ClickButton(Main, L"&Message box");
    WaitForSingleObject(Thread, INFINITE);
    CloseHandle(Thread);
    // The graphite skin on the main form.
    ClickButton(Main, L"&Graphite");
    PumpUntil([&] { return FindWindowOf(Id, L"Quirn Skin Gallery - graphite") != nullptr; }, 1000);
    Capture(Main, "gallery-main-graphite");
    PostMessageW(Main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(Process.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(Process.hProcess, 1);
    CloseHandle(Process.hThread);
    CloseHandle(Process.hProcess);
    return Failures == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: docshots quirn|gallery OUTDIR GRAPHITE.skn|GALLERY.exe\n");
        return 2;
    }
    OutDir = argv[2];
    if (std::strcmp(argv[1], "quirn") == 0) return ShootQuirn(argv[3]);
    if (std::strcmp(argv[1], "gallery") == 0) return ShootGallery(argv[3]);
    return 2;
}
