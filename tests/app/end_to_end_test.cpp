// Quirn.exe driven as a user drives it: real keyboard and mouse input
// (SendInput) into the real program, and the single-instance guard.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "RealInput.h"
#include "ScreenPixels.h"
#include "SkinFixtures.h"
#include "framework/graphics/Canvas.h"
#include "skin/data/PellixData.h"

namespace {

constexpr wchar_t kCaption[] = L"Quirn编码查询器";
constexpr DWORD kPatienceMs = 90000;  // generous: Wine starts processes slowly on a loaded machine

std::wstring ProgramPath() {
    // build/tests/app/<test>.exe -> build/app/Quirn.exe
    wchar_t path[MAX_PATH]{};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text = path;
    for (int i = 0; i < 3; ++i) text = text.substr(0, text.find_last_of(L"\\/"));
    return text + L"\\app\\Quirn.exe";
}

PROCESS_INFORMATION Start() {
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring command = L"\"" + ProgramPath() + L"\"";
    EXPECT_TRUE(
        CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        << GetLastError();
    return process;
}

void Finish(PROCESS_INFORMATION& process) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

BOOL CALLBACK CountIfMain(HWND window, LPARAM data) {
    wchar_t text[64]{};
    GetWindowTextW(window, text, 64);
    if (IsWindowVisible(window) && std::wstring(text) == kCaption) ++*reinterpret_cast<int*>(data);
    return TRUE;
}

int CountMainWindows() {
    int count = 0;
    EnumWindows(CountIfMain, reinterpret_cast<LPARAM>(&count));
    return count;
}

// Waits (without sleeping blindly: each wait ends on a message or a timeout
// step) for the condition.
template <class Condition>
bool WaitFor(Condition condition, DWORD limitMs = kPatienceMs) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > limitMs) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    return true;
}

HWND FindMainWindow() { return FindWindowW(nullptr, kCaption); }

struct ClassSearch {
    const wchar_t* Name;
    std::vector<HWND> Found;
};

BOOL CALLBACK CollectOfClass(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<ClassSearch*>(data);
    wchar_t name[100]{};
    GetClassNameW(window, name, 100);
    if (std::wstring(name) == search->Name) search->Found.push_back(window);
    return TRUE;
}

// Children of a class in z-order (the order the program created them in).
std::vector<HWND> ChildrenOfClass(HWND parent, const wchar_t* className) {
    ClassSearch search{className, {}};
    EnumChildWindows(parent, CollectOfClass, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

HWND ChildWithText(HWND parent, const wchar_t* className, const wchar_t* text) {
    for (HWND window : ChildrenOfClass(parent, className)) {
        wchar_t caption[64]{};
        GetWindowTextW(window, caption, 64);
        if (std::wstring(caption) == text) return window;
    }
    return nullptr;
}

std::wstring TextOf(HWND window) {
    // The program is another process: WM_GETTEXT is marshalled by the system.
    const LRESULT length = SendMessageW(window, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    SendMessageW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<size_t>(length));
    return text;
}

// Clicks the middle of window with the mouse, once its top-level window is in
// front and nothing else covers that point.
void ClickCenter(HWND window) {
    HWND top = GetAncestor(window, GA_ROOT);
    RECT rect;
    GetWindowRect(window, &rect);
    const POINT center{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    EXPECT_TRUE(WaitFor([&] {
        SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(top);
        return WindowFromPoint(center) == window;
    })) << "something covers the target";
    SetCursorPos(center.x, center.y);
    INPUT inputs[2]{};
    inputs[0].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].type = INPUT_MOUSE;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

void TypeText(const std::wstring& text) {
    for (wchar_t c : text) {
        INPUT inputs[2]{};
        inputs[0].type = INPUT_KEYBOARD;
        inputs[0].ki.wScan = c;
        inputs[0].ki.dwFlags = KEYEVENTF_UNICODE;
        inputs[1] = inputs[0];
        inputs[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
        SendInput(2, inputs, sizeof(INPUT));
    }
}

TEST(EndToEnd, TypeLookUpAndQuitWithRealInput) {
    PROCESS_INFORMATION process = Start();
    ASSERT_TRUE(WaitFor([] { return FindMainWindow() && IsWindowVisible(FindMainWindow()); }));
    HWND main = FindMainWindow();
    SetForegroundWindow(main);
    const std::vector<HWND> memos = ChildrenOfClass(main, L"TMemo");
    ASSERT_EQ(memos.size(), 2u);
    HWND memo1 = memos[0];
    HWND memo2 = memos[1];
    HWND lookup = ChildWithText(main, L"TButton", L"查询↓");
    HWND quit = ChildWithText(main, L"TButton", L"退出");
    ASSERT_TRUE(lookup && quit);

    ClickCenter(memo1);
    // The click gives memo1 the focus (it belongs to the program's thread).
    ASSERT_TRUE(WaitFor([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(GetWindowThreadProcessId(main, nullptr), &info) && info.hwndFocus == memo1;
    }));
    TypeText(L"AB");
    ASSERT_TRUE(WaitFor([&] { return TextOf(memo1) == L"AB"; })) << "memo1 holds: " << TextOf(memo1).size();
    // A click the loaded machine loses (as a user would) is repeated.
    constexpr DWORD kClickPatienceMs = 10000;
    bool looked = false;
    for (int attempt = 0; attempt < 3 && !looked; ++attempt) {
        ClickCenter(lookup);
        looked = WaitFor([&] { return TextOf(memo2) == L"65,66\r\n"; }, kClickPatienceMs);
    }
    EXPECT_TRUE(looked) << "memo2 holds " << TextOf(memo2).size() << " characters";

    bool ended = false;
    for (int attempt = 0; attempt < 3 && !ended; ++attempt) {
        ClickCenter(quit);
        ended = WaitForSingleObject(process.hProcess, kClickPatienceMs) == WAIT_OBJECT_0;
    }
    EXPECT_TRUE(ended);
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    Finish(process);
}

TEST(EndToEnd, SecondStartLeavesSilentlyAndTheFirstRunsOn) {
    PROCESS_INFORMATION first = Start();
    ASSERT_TRUE(WaitFor([] { return FindMainWindow() && IsWindowVisible(FindMainWindow()); }));
    HWND firstWindow = FindMainWindow();

    PROCESS_INFORMATION second = Start();
    ASSERT_EQ(WaitForSingleObject(second.hProcess, kPatienceMs), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    GetExitCodeProcess(second.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    Finish(second);
    EXPECT_EQ(CountMainWindows(), 1);
    EXPECT_EQ(FindMainWindow(), firstWindow);
    EXPECT_EQ(WaitForSingleObject(first.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // The close box ends the first; a new start then shows the window again.
    PostMessageW(firstWindow, WM_CLOSE, 0, 0);
    ASSERT_EQ(WaitForSingleObject(first.hProcess, kPatienceMs), WAIT_OBJECT_0);
    GetExitCodeProcess(first.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    Finish(first);

    PROCESS_INFORMATION third = Start();
    EXPECT_TRUE(WaitFor([] { return FindMainWindow() && IsWindowVisible(FindMainWindow()); }));
    PostMessageW(FindMainWindow(), WM_CLOSE, 0, 0);
    EXPECT_EQ(WaitForSingleObject(third.hProcess, kPatienceMs), WAIT_OBJECT_0);
    Finish(third);
}

// --- The skinned window ---------------------------------------------------------------------------

constexpr UINT kSkinQuery = 0x3523;  // a skinned window answers 1
constexpr COLORREF kMagenta = RGB(255, 0, 255);

// The default skin as the program carries it, parsed here from the packed bundled skin.
TSkinData& DefaultSkin() {
    static TSkinData* data = [] {
        auto* skin = new TSkinData(nullptr);
        HRSRC resource = FindResourceA(nullptr, "DEFAULT_SKN", MAKEINTRESOURCEA(10));
        HGLOBAL loaded = resource ? LoadResource(nullptr, resource) : nullptr;
        const auto* bytes = loaded ? static_cast<const uint8_t*>(LockResource(loaded)) : nullptr;
        if (bytes) skintest::LoadPackageBytes(*skin, {bytes, bytes + SizeofResource(nullptr, resource)});
        return skin;
    }();
    return *data;
}

COLORREF Pixel(TBitmap& bitmap, int x, int y) { return static_cast<COLORREF>(bitmap.Canvas().Pixels(x, y)); }

// Pixels of a caption button on the screen that differ from frame `frame` of its picture.
int ButtonMismatches(const RECT& onScreen, TDataSkinSysButton& element, int frame) {
    const int cell = element.Bitmap->Width() / element.Frame;
    const TScreenPixels shot(onScreen);
    int mismatches = 0;
    for (int y = 0; y < element.Bitmap->Height(); ++y)
        for (int x = 0; x < cell; ++x) {
            const COLORREF want = Pixel(*element.Bitmap, (frame - 1) * cell + x, y);
            if (want != kMagenta && shot.At(x, y) != want) ++mismatches;
        }
    return mismatches;
}

TEST(EndToEnd, TheWindowWearsTheSkinAndItsCloseButtonAnswersARealMouse) {
    TSkinData& skin = DefaultSkin();
    ASSERT_FALSE(skin.FSkinLoading);
    PROCESS_INFORMATION process = Start();
    ASSERT_TRUE(WaitFor([] { return FindMainWindow() && IsWindowVisible(FindMainWindow()); }));
    HWND main = FindMainWindow();
    ASSERT_TRUE(WaitFor([&] {
        DWORD_PTR answer = 0;
        return SendMessageTimeoutW(main, kSkinQuery, 0, 0, SMTO_NORMAL, kPatienceMs, &answer) && answer == 1;
    })) << "the main window is skinned";
    ASSERT_TRUE(WaitFor([&] {
        SetWindowPos(main, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(main);
        return GetForegroundWindow() == main;
    }));

    // Client 347 x 278 in an outer 355 x 305, as with the system's frame.
    RECT outer{};
    RECT client{};
    ASSERT_TRUE(WaitFor([&] {
        GetWindowRect(main, &outer);
        return outer.right - outer.left == 355 && outer.bottom - outer.top == 305;
    })) << outer.right - outer.left
        << " x " << outer.bottom - outer.top;
    GetClientRect(main, &client);
    EXPECT_EQ(client.right, 347);
    EXPECT_EQ(client.bottom, 278);

    // Shaped corners: the magenta of the frame is cut from the window.
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(GetWindowRgn(main, region), ERROR);
    EXPECT_FALSE(PtInRegion(region, 0, 0));
    EXPECT_FALSE(PtInRegion(region, 354, 0));
    EXPECT_TRUE(PtInRegion(region, 177, 10));
    DeleteObject(region);

    // The caption strip: the left side's top rows as the skin has them, and the title in its colour.
    TBitmap& left = *skin.FBorderLeft->Bitmap;
    const int leftWidth = left.Width() / skin.FBorderLeft->Frame;
    const int titleHeight = skin.FBorderTop->Bitmap->Height() / skin.FBorderTop->Frame;
    EXPECT_TRUE(WaitFor([&] {
        const TScreenPixels shot(outer);
        for (int y = 0; y < skin.FBorderLeft->TopHeight; ++y)
            for (int x = 0; x < leftWidth; ++x)
                if (Pixel(left, x, y) != kMagenta && shot.At(x, y) != Pixel(left, x, y)) return false;
        return true;
    })) << "the frame's left side";
    const COLORREF title = static_cast<COLORREF>(skin.FColors[1]);
    const TScreenPixels caption(RECT{outer.left + 20, outer.top, outer.left + 200, outer.top + titleHeight});
    int titlePixels = 0;
    for (int y = 0; y < caption.Height(); ++y)
        for (int x = 0; x < caption.Width(); ++x) {
            const COLORREF got = caption.At(x, y);
            titlePixels += std::abs(GetRValue(got) - GetRValue(title)) < 40 &&
                           std::abs(GetGValue(got) - GetGValue(title)) < 40 &&
                           std::abs(GetBValue(got) - GetBValue(title)) < 40;
        }
    EXPECT_GT(titlePixels, 20) << "the Chinese title is drawn in the skin's title colour";
    wchar_t text[64]{};
    GetWindowTextW(main, text, 64);
    EXPECT_EQ(std::wstring(text), kCaption);

    // The close button: normal, hot under the mouse, pressed, and a click ends the program.
    TDataSkinSysButton* close = nullptr;
    for (auto& element : skin.FCaptionButtons)
        if (element && element->Action == 0) close = element.get();
    ASSERT_NE(close, nullptr);
    const int cell = close->Bitmap->Width() / close->Frame;
    const RECT button{outer.right - close->XCoord, outer.top + close->YCoord, outer.right - close->XCoord + cell,
                      outer.top + close->YCoord + close->Bitmap->Height()};
    const POINT centre{(button.left + button.right) / 2, (button.top + button.bottom) / 2};
    realinput::MoveMouse(POINT{centre.x - 100, centre.y + 150});
    EXPECT_TRUE(WaitFor([&] { return ButtonMismatches(button, *close, 1) == 0; })) << "normal frame";
    realinput::MoveMouse(centre);
    EXPECT_TRUE(WaitFor([&] { return ButtonMismatches(button, *close, 3) == 0; })) << "hot frame";
    realinput::Button(centre, true);
    EXPECT_TRUE(WaitFor([&] { return ButtonMismatches(button, *close, 2) == 0; })) << "pressed frame";
    realinput::Button(centre, false);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, kPatienceMs), WAIT_OBJECT_0) << "the click closes the program";
    DWORD exitCode = 1;
    GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    Finish(process);
}

}  // namespace
