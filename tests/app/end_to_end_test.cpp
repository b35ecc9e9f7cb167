// Quirn.exe driven as a user drives it: real keyboard and mouse input
// (SendInput) into the real program, and the single-instance guard. Every
// Quirn a test starts ends with the test, whether it passes or fails.
#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "RealInput.h"
#include "Wait.h"
#include "WindowWatcher.h"

namespace {

constexpr wchar_t kCaption[] = L"Quirn编码查询器";
// Run with this argument, the test program starts Quirn and dies at once, as
// a crashed test would (see TheQuirnOfATestProgramThatDiesEndsWithIt).
constexpr char kStartQuirnAndDie[] = "--start-quirn-and-die";
constexpr UINT kDiedExitCode = 3;

std::wstring ModulePath() {
    wchar_t path[MAX_PATH]{};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    return path;
}

std::wstring Quoted(const std::wstring& path) { return L"\"" + path + L"\""; }

std::wstring QuirnCommand() {
    // build/tests/app/<test>.exe -> build/app/Quirn.exe
    std::wstring text = ModulePath();
    for (int i = 0; i < 3; ++i) text = text.substr(0, text.find_last_of(L"\\/"));
    return Quoted(text + L"\\app\\Quirn.exe");
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

HWND FindMainWindow() { return FindWindowW(nullptr, kCaption); }

bool MainWindowShows() {
    HWND window = FindMainWindow();
    return window && IsWindowVisible(window);
}

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
    // A hung program answers nothing; the text then reads as empty.
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, kPatienceMs, &length)) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL,
                        kPatienceMs, &copied);
    text.resize(static_cast<size_t>(copied));
    return text;
}

// The text as printable ASCII, for failure messages.
std::string Printable(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char code[12];
            snprintf(code, sizeof code, "\\u%04X", static_cast<unsigned>(c));
            out += code;
        }
    }
    return "\"" + out + "\"";
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

// Clicks the middle of window once, after its top-level window came in front
// and nothing else covers that point.
void ClickCentre(HWND window) {
    HWND top = GetAncestor(window, GA_ROOT);
    RECT rect{};
    GetWindowRect(window, &rect);
    const POINT centre = Centre(rect);
    ASSERT_TRUE(PumpUntil("the window to click to come in front", [&] {
        SetWindowPos(top, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        SetForegroundWindow(top);
        return GetForegroundWindow() == top && WindowFromPoint(centre) == window;
    }));
    Click(centre);
}

// Starts Quirn processes; every one still running when the test ends (passed,
// failed or left by a failed assertion) is ended then.
class EndToEnd : public ::testing::Test {
protected:
    void SetUp() override {
        // A Quirn left by something else would answer in place of the one the test starts.
        ASSERT_EQ(FindMainWindow(), nullptr) << "a Quirn window is open before the test starts";
    }

    void TearDown() override {
        Processes.clear();
        EXPECT_TRUE(PumpUntil("the windows of the ended Quirns to go", [] { return !FindMainWindow(); }));
    }

    ChildProcess& Start(ChildProcess::TStart start = ChildProcess::TStart::Running) {
        Processes.push_back(std::make_unique<ChildProcess>(QuirnCommand(), start));
        return *Processes.back();
    }

    std::vector<std::unique_ptr<ChildProcess>> Processes;
};

TEST_F(EndToEnd, TypeLookUpAndQuitWithRealInput) {
    ChildProcess& quirn = Start();
    ASSERT_TRUE(quirn.Started());
    ASSERT_TRUE(PumpUntil("Quirn's main window to show", MainWindowShows));
    HWND main = FindMainWindow();
    const std::vector<HWND> memos = ChildrenOfClass(main, L"TMemo");
    ASSERT_EQ(memos.size(), 2u);
    HWND memo1 = memos[0];
    HWND memo2 = memos[1];
    HWND lookup = ChildWithText(main, L"TButton", L"查询↓");
    HWND quit = ChildWithText(main, L"TButton", L"退出");
    ASSERT_TRUE(lookup && quit);

    ClickCentre(memo1);
    // The click gives memo1 the focus (it belongs to the program's thread).
    ASSERT_TRUE(PumpUntil("the click to give memo1 the focus", [&] { return FocusOf(main) == memo1; }));
    TypeText(L"AB");
    ASSERT_TRUE(PumpUntil("memo1 to hold the typed text", [&] { return TextOf(memo1) == L"AB"; }))
        << "memo1 holds " << Printable(TextOf(memo1));
    ClickCentre(lookup);
    EXPECT_TRUE(PumpUntil("the look-up to show the codes in memo2", [&] { return TextOf(memo2) == L"65,66\r\n"; }))
        << "memo2 holds " << Printable(TextOf(memo2));
    // Input arrives in order: every key was typed once by the time the click ran.
    EXPECT_EQ(Printable(TextOf(memo1)), Printable(L"AB"));

    ClickCentre(quit);
    EXPECT_TRUE(quirn.Exits(kPatienceMs)) << "one click on Quit";
    EXPECT_EQ(quirn.ExitCode(), 0u);
}

TEST_F(EndToEnd, SecondStartLeavesSilentlyAndTheFirstRunsOn) {
    ChildProcess& first = Start();
    ASSERT_TRUE(PumpUntil("the first Quirn's main window to show", MainWindowShows));
    HWND firstWindow = FindMainWindow();
    {
        // The watcher sees windows: the first Quirn's.
        WindowWatcher watcher(first.Id());
        watcher.Stop();
        ASSERT_FALSE(watcher.Seen().empty()) << "the watcher cannot see Quirn's windows";
    }

    // Watched from before its first instruction until it ended: no window at all, not even for a moment.
    ChildProcess& second = Start(ChildProcess::TStart::Suspended);
    ASSERT_TRUE(second.Started());
    WindowWatcher watcher(second.Id());
    second.Resume();
    ASSERT_TRUE(second.Exits(kPatienceMs));
    watcher.Stop();
    EXPECT_EQ(second.ExitCode(), 0u);
    EXPECT_GT(watcher.Looks(), 2);
    EXPECT_THAT(watcher.Seen(), ::testing::IsEmpty()) << "the second Quirn had windows";
    EXPECT_EQ(CountMainWindows(), 1);
    EXPECT_EQ(FindMainWindow(), firstWindow);
    EXPECT_TRUE(first.Running());

    // The close box ends the first; a new start then shows the window again.
    PostMessageW(firstWindow, WM_CLOSE, 0, 0);
    ASSERT_TRUE(first.Exits(kPatienceMs));
    EXPECT_EQ(first.ExitCode(), 0u);

    ChildProcess& third = Start();
    ASSERT_TRUE(PumpUntil("the third Quirn's main window to show", MainWindowShows));
    PostMessageW(FindMainWindow(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(third.Exits(kPatienceMs));
    EXPECT_EQ(third.ExitCode(), 0u);
}

TEST_F(EndToEnd, AQuirnLeftRunningEndsWithItsOwner) {
    HANDLE watched = nullptr;
    {
        ChildProcess quirn(QuirnCommand());
        ASSERT_TRUE(PumpUntil("Quirn's main window to show", MainWindowShows));
        watched = OpenProcess(SYNCHRONIZE, FALSE, quirn.Id());
        ASSERT_NE(watched, nullptr);
    }
    EXPECT_EQ(WaitForSingleObject(watched, 0), WAIT_OBJECT_0) << "Quirn outlived its owner";
    CloseHandle(watched);
}

TEST_F(EndToEnd, TheQuirnOfATestProgramThatDiesEndsWithIt) {
    // This program, started again, starts Quirn and dies without running any
    // destructor: the job its Quirn runs in ends Quirn.
    ChildProcess dying(Quoted(ModulePath()) + L" " +
                       std::wstring(kStartQuirnAndDie, kStartQuirnAndDie + sizeof kStartQuirnAndDie - 1));
    ASSERT_TRUE(dying.Exits(kPatienceMs));
    EXPECT_EQ(dying.ExitCode(), kDiedExitCode) << "it could not start Quirn";
    EXPECT_TRUE(PumpUntil("the Quirn of the dead program to go", [] { return !FindMainWindow(); }));
}

// Starts Quirn, waits for its window and ends this process at once.
int StartQuirnAndDie() {
    auto* quirn = new ChildProcess(QuirnCommand());  // never freed: a crash frees nothing
    const bool shown = PumpUntil("Quirn's main window to show", MainWindowShows);
    TerminateProcess(GetCurrentProcess(), quirn->Started() && shown ? kDiedExitCode : 1);
    return 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == kStartQuirnAndDie) return StartQuirnAndDie();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
