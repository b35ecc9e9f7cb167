// The skin gallery as a user drives it: real mouse and keyboard input (SendInput) opens and closes each of
// its secondary windows and the message box, works the skin switches and the page selector, and ends the
// program, which exits with code 0. The program runs in a job: whatever fails, nothing is left running.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cwchar>
#include <iostream>
#include <string>
#include <vector>

#include "ChildProcess.h"
#include "DesktopState.h"
#include "InputDriver.h"
#include "ScreenPixels.h"
#include "Wait.h"

namespace {

constexpr wchar_t kMainClass[] = L"TGalleryForm";
constexpr wchar_t kTitle[] = L"Quirn Skin Gallery";
constexpr wchar_t kDialogClass[] = L"#32770";
constexpr int kTextLength = 256;

std::wstring GalleryPath() {
    // <build>/tests/gallery/<test>.exe -> <build>/gallery/gallery.exe
    wchar_t path[MAX_PATH]{};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring text = path;
    for (int i = 0; i < 3; ++i) text = text.substr(0, text.find_last_of(L"\\/"));
    return text + L"\\gallery\\gallery.exe";
}

std::wstring TextOf(HWND window) {
    // Another process's window: WM_GETTEXT is marshalled by the system.
    wchar_t text[kTextLength]{};
    ::SendMessageW(window, WM_GETTEXT, kTextLength, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring ClassOf(HWND window) {
    wchar_t name[kTextLength]{};
    ::GetClassNameW(window, name, kTextLength);
    return name;
}

struct WindowSearch {
    DWORD Process = 0;
    std::wstring ClassName, Text;
    std::vector<HWND> Found;
};

BOOL CALLBACK NoteVisibleOfProcess(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    if (owner == search->Process && ::IsWindowVisible(window)) search->Found.push_back(window);
    return TRUE;
}

BOOL CALLBACK NoteChildOfClassAndText(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (ClassOf(window) == search->ClassName && TextOf(window) == search->Text) search->Found.push_back(window);
    return TRUE;
}

BOOL CALLBACK NoteChildOfClass(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<WindowSearch*>(data);
    if (ClassOf(window) == search->ClassName) search->Found.push_back(window);
    return TRUE;
}

// The visible top-level windows of a process.
std::vector<HWND> WindowsOf(DWORD process) {
    WindowSearch search{process, {}, {}, {}};
    ::EnumWindows(NoteVisibleOfProcess, reinterpret_cast<LPARAM>(&search));
    return search.Found;
}

// The visible top-level window of the process with this class and caption, or null.
HWND WindowOf(DWORD process, const std::wstring& className, const std::wstring& caption) {
    for (HWND window : WindowsOf(process))
        if (ClassOf(window) == className && TextOf(window) == caption) return window;
    return nullptr;
}

// The child of parent (at any depth) with this class and text, or null.
HWND ChildOf(HWND parent, const std::wstring& className, const std::wstring& text) {
    WindowSearch search{0, className, text, {}};
    ::EnumChildWindows(parent, NoteChildOfClassAndText, reinterpret_cast<LPARAM>(&search));
    return search.Found.empty() ? nullptr : search.Found.front();
}

// Waits until the window is in front of the desktop.
::testing::AssertionResult BringToFront(HWND window) {
    return PumpUntil("the window in front", [&] {
        if (::GetForegroundWindow() == window) return true;
        ::SetWindowPos(window, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        ::SetForegroundWindow(window);
        return false;
    });
}

// The clicks of the running test, each with where it went and where the mouse was once the input had
// settled: what a failed test prints, to tell a click that went astray from one the program ignored.
std::vector<std::string>& ClickLog() {
    static std::vector<std::string> log;
    return log;
}

std::string DescribeRect(const RECT& rect) {
    return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) + "-" + std::to_string(rect.right) + "," +
           std::to_string(rect.bottom) + ")";
}

// Clicks the middle of a control once nothing covers it.
void ClickCentreOf(HWND control) {
    ASSERT_TRUE(control);
    ASSERT_TRUE(BringToFront(::GetAncestor(control, GA_ROOT)));
    RECT rect{};
    ::GetWindowRect(control, &rect);
    const POINT centre = Centre(rect);
    ASSERT_TRUE(PumpUntil("the control uncovered", [&] { return ::WindowFromPoint(centre) == control; }));
    Click(centre);
    EXPECT_TRUE(InputSettles());
    POINT mouse{};
    ::GetCursorPos(&mouse);
    // The control's place a moment later: a window that changed its frame meanwhile moved it under the click.
    RECT after{};
    ::GetWindowRect(control, &after);
    ClickLog().push_back("clicked \"" + desktop_state::Narrow(TextOf(control)) + "\" " + DescribeRect(rect) + " at " +
                         std::to_string(centre.x) + "," + std::to_string(centre.y) + "; then the control at " +
                         DescribeRect(after) + ", the mouse at " + std::to_string(mouse.x) + "," +
                         std::to_string(mouse.y) + " over \"" +
                         desktop_state::Narrow(TextOf(::WindowFromPoint(mouse))) + "\"");
}

// A hidden window of the test program for as long as it lives. Wine closes a desktop a moment after the
// last program using it has gone, and a program started in that moment dies on the closing desktop's
// windows: with a window of its own, the test program keeps the desktop open while its programs come and go.
class DesktopHold {
public:
    DesktopHold()
        : FWindow(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr)) {}
    ~DesktopHold() { ::DestroyWindow(FWindow); }
    DesktopHold(const DesktopHold&) = delete;
    DesktopHold& operator=(const DesktopHold&) = delete;

private:
    HWND FWindow;
};

class Gallery : public ::testing::Test {
protected:
    void SetUp() override {
        ClickLog().clear();
        ASSERT_TRUE(FProgram.Started());
        ASSERT_TRUE(PumpUntil("the gallery's main window", [&] {
            return (FMain = WindowOf(FProgram.Id(), kMainClass, Caption(L"default"))) != nullptr || !FProgram.Running();
        }));
        ASSERT_TRUE(FProgram.Running()) << "the gallery ended with code " << FProgram.ExitCode()
                                        << " before it showed its window";
    }

    void TearDown() override {
        if (!HasFailure()) return;
        std::cout << "the test's clicks:\n";
        for (const std::string& line : ClickLog()) std::cout << "  " << line << "\n";
        RECT main{};
        ::GetWindowRect(FMain, &main);
        std::cout << "the main window now at " << DescribeRect(main)
                  << "; where input goes now: " << DescribeInputState() << std::endl;
    }

    static std::wstring Caption(const std::wstring& skin) { return std::wstring(kTitle) + L" - " + skin; }

    HWND Button(const std::wstring& text) { return ChildOf(FMain, L"TButton", text); }

    // Clicks a control of the gallery once the gallery waits for input: what it was told before (a skin
    // switch finishes with a posted message that sizes the frame anew) has moved its controls by then.
    void ClickControl(HWND control) {
        ASSERT_EQ(::WaitForInputIdle(FProgram.Handle(), kPatienceMs), 0u) << "the gallery waits for input";
        ClickCentreOf(control);
    }

    // Clicks a button of the main form and waits for the window it opens.
    HWND Open(const std::wstring& button, const std::wstring& className, const std::wstring& caption) {
        ClickControl(Button(button));
        HWND opened = nullptr;
        EXPECT_TRUE(PumpUntil("the window \"" + std::string(caption.begin(), caption.end()) + "\"",
                              [&] { return opened = WindowOf(FProgram.Id(), className, caption); }));
        return opened;
    }

    ::testing::AssertionResult Gone(HWND window) {
        return PumpUntil("the window gone", [&] { return !::IsWindow(window) || !::IsWindowVisible(window); });
    }

    ::testing::AssertionResult MainCaptionIs(const std::wstring& skin) {
        return PumpUntil("the caption naming the skin", [&] { return TextOf(FMain) == Caption(skin); });
    }

    DesktopHold FHold;  // before the program starts
    ChildProcess FProgram{L"\"" + GalleryPath() + L"\""};
    HWND FMain = nullptr;
};

TEST_F(Gallery, EachSecondaryWindowAndTheMessageBoxOpenAndCloseAndTheProgramEndsWithCodeZero) {
    // Tool window: its own Close button hides it.
    HWND tool = Open(L"&Tool window", L"TToolForm", L"Tool window");
    ASSERT_TRUE(tool);
    EXPECT_TRUE(::GetWindowLongW(tool, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(::GetWindowLongW(tool, GWL_STYLE) & WS_THICKFRAME);
    ClickControl(ChildOf(tool, L"TButton", L"Close"));
    EXPECT_TRUE(Gone(tool));

    // Sizeable tool window: Alt+F4.
    HWND sizeable = Open(L"&Sizeable tool window", L"TToolForm", L"Sizeable tool window");
    ASSERT_TRUE(sizeable);
    EXPECT_TRUE(::GetWindowLongW(sizeable, GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(::GetWindowLongW(sizeable, GWL_STYLE) & WS_THICKFRAME);
    ASSERT_TRUE(BringToFront(sizeable));
    PressChord({VK_MENU, VK_F4});
    EXPECT_TRUE(Gone(sizeable));

    // Dialog frame: its OK button.
    HWND dialog = Open(L"D&ialog", L"TDialogForm", L"Dialog frame");
    ASSERT_TRUE(dialog);
    EXPECT_TRUE(::GetWindowLongW(dialog, GWL_EXSTYLE) & WS_EX_DLGMODALFRAME);
    ClickControl(ChildOf(dialog, L"TButton", L"OK"));
    EXPECT_TRUE(Gone(dialog));

    // The message box: Enter presses its button.
    HWND box = Open(L"&Message box", kDialogClass, L"Message box");
    ASSERT_TRUE(box);
    ASSERT_TRUE(BringToFront(box));
    PressKey(VK_RETURN);
    EXPECT_TRUE(Gone(box));

    // The main form: Alt+F4 ends the program.
    ASSERT_TRUE(BringToFront(FMain));
    PressChord({VK_MENU, VK_F4});
    ASSERT_TRUE(FProgram.Exits(kPatienceMs));
    EXPECT_EQ(FProgram.ExitCode(), 0u);
}

TEST_F(Gallery, SkinSwitchesFileDialogAndPageSelector) {
    ClickControl(Button(L"&Graphite"));
    EXPECT_TRUE(MainCaptionIs(L"graphite"));
    ClickControl(Button(L"O&ff"));
    EXPECT_TRUE(MainCaptionIs(L"off"));
    ClickControl(Button(L"&Default"));
    EXPECT_TRUE(MainCaptionIs(L"default"));

    // The open-file dialog, left with Escape: the skin stays.
    HWND open = Open(L"From a &file...", kDialogClass, L"Open a skin package");
    ASSERT_TRUE(open);
    ASSERT_TRUE(BringToFront(open));
    PressKey(VK_ESCAPE);
    EXPECT_TRUE(Gone(open));
    EXPECT_TRUE(MainCaptionIs(L"default"));

    // The page selector shows one page at a time.
    HWND edit = ChildOf(FMain, L"TEdit", L"An edit box");
    ASSERT_TRUE(edit);
    EXPECT_FALSE(::IsWindowVisible(edit));
    ClickControl(Button(L"Edits and memos"));
    EXPECT_TRUE(PumpUntil("the edits page shown", [&] { return ::IsWindowVisible(edit) != FALSE; }));
    ClickControl(Button(L"Frame and caption"));
    EXPECT_TRUE(PumpUntil("the edits page hidden", [&] { return !::IsWindowVisible(edit); }));

    ::PostMessageW(FMain, WM_CLOSE, 0, 0);
    ASSERT_TRUE(FProgram.Exits(kPatienceMs));
    EXPECT_EQ(FProgram.ExitCode(), 0u);
}

// The visible menu windows of a process, the top of the Z order first.
std::vector<HWND> MenusOf(DWORD process) {
    std::vector<HWND> menus;
    for (HWND window : WindowsOf(process))
        if (ClassOf(window) == L"#32768") menus.push_back(window);
    return menus;
}

constexpr UINT kSkinQuery = 0x3523;  // a skinned window (or menu window) answers 1

bool Skinned(HWND window) {
    DWORD_PTR answer = 0;
    return ::SendMessageTimeoutW(window, kSkinQuery, 0, 0, SMTO_NORMAL, kPatienceMs, &answer) && answer == 1;
}

// The main window and its open menus, for the documentation's pictures.
void ShootMenus(HWND main, DWORD process, const std::string& name) {
    RECT area{};
    ::GetWindowRect(main, &area);
    for (HWND menu : MenusOf(process)) {
        RECT rect{};
        ::GetWindowRect(menu, &rect);
        ::UnionRect(&area, &area, &rect);
    }
    // Another process's windows reach the screen a moment after they paint: a picture waits for them.
    if (std::getenv("QUIRN_SCREENSHOTS") != nullptr)
        PumpUntil("a moment", [start = ::GetTickCount()] { return ::GetTickCount() - start > 1000; });
    SaveScreenShot(area, name);
}

TEST_F(Gallery, TheBasicPageShowsEachBasicControlSkinned) {
    HWND bordered = ChildOf(FMain, L"TEdit", L"An edit with a border");
    ASSERT_TRUE(bordered);
    ClickControl(Button(L"Basic"));
    EXPECT_TRUE(PumpUntil("the Basic page shown", [&] { return ::IsWindowVisible(bordered) != FALSE; }));

    const HWND page = ::GetParent(bordered);
    struct Expected {
        const wchar_t* ClassName;
        const wchar_t* Text;
    };
    // The buttons, both edits, the group box and the button inside it; the panel wears the face colour
    // without taking the control's messages, and the memo and list box wait for their scroll-bar skinner.
    const Expected expected[] = {{L"TButton", L"Normal"},
                                 {L"TButton", L"Default"},
                                 {L"TButton", L"Disabled"},
                                 {L"TEdit", L"An edit with a border"},
                                 {L"TEdit", L"An edit without a border"},
                                 {L"TGroupBox", L"Group box"},
                                 {L"TButton", L"Inside"}};
    for (const Expected& control : expected) {
        HWND window = ChildOf(page, control.ClassName, control.Text);
        ASSERT_TRUE(window) << std::string(control.Text, control.Text + wcslen(control.Text));
        EXPECT_TRUE(PumpUntil("the control to answer the skin query", [&] { return Skinned(window); }))
            << std::string(control.Text, control.Text + wcslen(control.Text));
    }
    WindowSearch bars{0, L"TStatusBar", L"", {}};
    ::EnumChildWindows(page, NoteChildOfClass, reinterpret_cast<LPARAM>(&bars));
    const std::vector<HWND>& statusBars = bars.Found;
    ASSERT_EQ(statusBars.size(), 2u);
    for (HWND bar : statusBars)
        EXPECT_TRUE(PumpUntil("the status bar to answer the skin query", [&] { return Skinned(bar); }));

    ::PostMessageW(FMain, WM_CLOSE, 0, 0);
    ASSERT_TRUE(FProgram.Exits(kPatienceMs));
    EXPECT_EQ(FProgram.ExitCode(), 0u);
}

// The View menu's dynamic item changes its caption from its own OnClick ("Clicked &0 times", then &1,
// &2): each time the drop-down opens, the digit of the current caption runs it, so the skinned
// drop-down follows the changed caption and its accelerator.
TEST_F(Gallery, TheDynamicMenuItemRunsByTheAcceleratorOfItsChangedCaption) {
    for (const wchar_t digit : {L'0', L'1', L'2'}) {
        ASSERT_TRUE(BringToFront(FMain));
        PressChord({VK_MENU, 'V'});
        ASSERT_TRUE(PumpUntil("View's drop-down", [&] { return MenusOf(FProgram.Id()).size() == 1; }));
        PressKey(static_cast<WORD>(digit));
        ASSERT_TRUE(PumpUntil("the item run by its digit", [&] { return MenusOf(FProgram.Id()).empty(); }))
            << "the digit " << static_cast<char>(digit);
    }
    ::PostMessageW(FMain, WM_CLOSE, 0, 0);
    ASSERT_TRUE(FProgram.Exits(kPatienceMs));
    EXPECT_EQ(FProgram.ExitCode(), 0u);
}

TEST_F(Gallery, TheMainMenuItsSubMenuThePagePopupAndTheSystemMenuAreSkinnedAndWork) {
    HWND edit = ChildOf(FMain, L"TEdit", L"An edit box");
    ASSERT_TRUE(edit);
    DWORD lastSystemMenu = ::GetTickCount() - ::GetDoubleClickTime() - 1;
    // Graphite first, then the default skin again: each skin switch comes before its menus.
    for (const wchar_t* skin : {L"graphite", L"default"}) {
        ClickControl(Button(std::wstring(skin) == L"graphite" ? L"&Graphite" : L"&Default"));
        ASSERT_TRUE(MainCaptionIs(skin));
        const std::string name(skin, skin + wcslen(skin));
        // View > Page > the second page, from the keyboard: Alt+V opens View with its first entry
        // (Page) selected, right opens the sub-menu, down and Enter choose.
        ASSERT_TRUE(BringToFront(FMain));
        PressChord({VK_MENU, 'V'});
        ASSERT_TRUE(PumpUntil("View's drop-down", [&] { return MenusOf(FProgram.Id()).size() == 1; }));
        EXPECT_TRUE(Skinned(MenusOf(FProgram.Id()).front())) << "the drop-down is skinned";
        PressKey(VK_RIGHT);
        ASSERT_TRUE(PumpUntil("the Page sub-menu", [&] { return MenusOf(FProgram.Id()).size() == 2; }));
        PressKey(VK_DOWN);
        EXPECT_TRUE(PumpUntil("the sub-menu's second entry selected and painted", [&] {
            const std::vector<HWND> menus = MenusOf(FProgram.Id());
            return menus.size() == 2 && !::GetUpdateRect(menus.front(), nullptr, FALSE);
        }));
        ShootMenus(FMain, FProgram.Id(), "gallery-menu-" + name);
        PressKey(VK_RETURN);
        EXPECT_TRUE(PumpUntil("the menus closed", [&] { return MenusOf(FProgram.Id()).empty(); }));
        EXPECT_TRUE(PumpUntil("the edits page shown", [&] { return ::IsWindowVisible(edit) != FALSE; }));

        // The page area's popup menu: its first entry shows the first page again.
        RECT info{};
        ::GetWindowRect(ChildOf(FMain, L"TGroupBox", L"Edits and memos"), &info);
        RightClick(POINT{info.right - 12, info.bottom - 12});
        ASSERT_TRUE(PumpUntil("the page popup", [&] { return MenusOf(FProgram.Id()).size() == 1; }));
        EXPECT_TRUE(Skinned(MenusOf(FProgram.Id()).front())) << "the popup is skinned";
        ShootMenus(FMain, FProgram.Id(), "gallery-popup-" + name);
        PressKey(VK_DOWN);
        PressKey(VK_RETURN);
        EXPECT_TRUE(PumpUntil("the popup closed", [&] { return MenusOf(FProgram.Id()).empty(); }));
        EXPECT_TRUE(PumpUntil("the edits page hidden", [&] { return !::IsWindowVisible(edit); }));

        // The system menu from a right click on the caption. A click within the double-click time of the
        // last system menu's opening counts as the second click of a double click (which closes the
        // window from the caption icon), so the test lets that time pass since the previous round's menu.
        EXPECT_TRUE(PumpUntil("the double-click time since the last system menu",
                              [&] { return ::GetTickCount() - lastSystemMenu > ::GetDoubleClickTime(); }));
        ASSERT_TRUE(BringToFront(FMain));
        RECT outer{};
        ::GetWindowRect(FMain, &outer);
        RightClick(POINT{(outer.left + outer.right) / 2 - 80, outer.top + 12});
        ASSERT_TRUE(PumpUntil("the system menu", [&] { return MenusOf(FProgram.Id()).size() == 1; }));
        lastSystemMenu = ::GetTickCount();
        EXPECT_TRUE(Skinned(MenusOf(FProgram.Id()).front())) << "the system menu is skinned";
        ShootMenus(FMain, FProgram.Id(), "gallery-systemmenu-" + name);
        PressKey(VK_ESCAPE);
        EXPECT_TRUE(PumpUntil("the system menu closed", [&] { return MenusOf(FProgram.Id()).empty(); }));
    }
    ::PostMessageW(FMain, WM_CLOSE, 0, 0);
    ASSERT_TRUE(FProgram.Exits(kPatienceMs));
    EXPECT_EQ(FProgram.ExitCode(), 0u);
}

}  // namespace
