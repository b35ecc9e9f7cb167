// Menus under real tracking: the menu bar and popup menus driven with real
// mouse clicks and keys (SendInput) while this thread runs the system's modal
// menu loops; owner-drawn items read back from the screen; items changed while
// the form shows; and the key events of controls under real keys. Real input
// goes to the foreground window of the desktop, so this program holds the
// desktops alone (INPUT). Each click and key is sent once and its effect
// awaited: a lost or doubled event fails the test.
#include "framework/controls/WinApi.h"

#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <iostream>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "framework/controls/Application.h"
#include "framework/controls/Button.h"
#include "framework/controls/Edit.h"
#include "framework/controls/Form.h"
#include "framework/controls/Menu.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/ImageList.h"
#include "framework/core/Streaming.h"
#include "framework/core/TextForm.h"
#include "framework/core/PropAccess.h"
#include "DesktopState.h"
#include "MessageRecorder.h"
#include "OnScreen.h"
#include "RealInput.h"
#include "Wait.h"

namespace {

constexpr UINT kGetMenuHandle = 0x01E1;  // MN_GETHMENU: the menu a popup window shows
constexpr wchar_t kPopupWindowClass[] = L"#32768";
constexpr COLORREF kSelectedColour = RGB(0, 160, 0);
constexpr COLORREF kNormalColour = RGB(0, 0, 200);
constexpr int32_t kOwnerDrawnWidth = 160;
constexpr int32_t kOwnerDrawnHeight = 30;
constexpr COLORREF kImageColour = RGB(10, 200, 30);
constexpr int32_t kImageSize = 16;

// Set by the forms' thread whenever it records something, so that the driver
// wakes at once instead of at its next look.
HANDLE NewsEvent() {
    static HANDLE event = CreateEventW(nullptr, FALSE, FALSE, nullptr);
    return event;
}

void TellNews() { SetEvent(NewsEvent()); }

// Waits on the driver thread until condition holds; the failure names what.
template <class Condition>
::testing::AssertionResult Await(std::string_view what, Condition&& condition) {
    return WaitUntil(what, condition, [](DWORD ms) { WaitForSingleObject(NewsEvent(), ms); });
}

// Handles this thread's messages (through the application, so that shortcut
// keys reach the forms) until condition holds; the failure names what.
template <class Condition>
::testing::AssertionResult ProcessUntil(std::string_view what, Condition&& condition) {
    return WaitUntil(what, condition, [](DWORD ms) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, ms, QS_ALLINPUT);
        Application->ProcessMessages();
    });
}

// Runs script on a second thread while this thread (the forms' thread, where
// the system runs its modal menu loops) first runs onMain, then handles
// messages until the script ends.
std::vector<HWND> VisibleMenuWindows();

struct DriverJob {
    const std::function<void()>* Script;
    DWORD MainThread;
    std::atomic<bool> Finished{false};
};

DWORD WINAPI RunDriver(void* data) {
    auto* job = static_cast<DriverJob*>(data);
    (*job->Script)();
    // A script that failed half-way may leave a menu open: the forms' thread
    // must leave its menu loop all the same.
    if (!VisibleMenuWindows().empty()) EndMenu();
    job->Finished = true;
    PostThreadMessageW(job->MainThread, WM_NULL, 0, 0);
    return 0;
}

void Drive(const std::function<void()>& script, const std::function<void()>& onMain = {}) {
    DriverJob job{&script, GetCurrentThreadId()};
    HANDLE thread = CreateThread(nullptr, 0, RunDriver, &job, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    if (onMain) onMain();
    while (!job.Finished) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, kPollMs, QS_ALLINPUT);
        Application->ProcessMessages();
    }
    WaitForSingleObject(thread, INFINITE);
    CloseHandle(thread);
}

// ---- what the screen shows ---------------------------------------------------

BOOL CALLBACK CollectMenuWindow(HWND window, LPARAM data) {
    wchar_t name[16]{};
    GetClassNameW(window, name, 16);
    if (std::wstring(name) == kPopupWindowClass && IsWindowVisible(window))
        reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
}

std::vector<HWND> VisibleMenuWindows() {
    std::vector<HWND> windows;
    EnumWindows(CollectMenuWindow, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

// The visible popup window that shows menu (nullptr when none does).
HWND PopupShowing(HMENU menu) {
    for (HWND window : VisibleMenuWindows()) {
        DWORD_PTR shown = 0;
        if (SendMessageTimeoutW(window, kGetMenuHandle, 0, 0, SMTO_NORMAL, kPatienceMs, &shown) &&
            reinterpret_cast<HMENU>(shown) == menu)
            return window;
    }
    return nullptr;
}

RECT ItemRect(HWND window, HMENU menu, int position) {
    RECT rect{};
    GetMenuItemRect(window, menu, static_cast<UINT>(position), &rect);
    return rect;
}

std::wstring MenuText(HMENU menu, int position) {
    wchar_t text[64]{};
    GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
    return text;
}

bool Hilited(HMENU menu, int position) {
    return (GetMenuState(menu, static_cast<UINT>(position), MF_BYPOSITION) & MF_HILITE) != 0;
}

COLORREF ScreenPixel(POINT point) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, point.x, point.y);
    ReleaseDC(nullptr, screen);
    return colour;
}

// How many pixels of the rectangle of the screen have colour.
int CountScreenPixels(const RECT& rect, COLORREF colour) {
    HDC screen = GetDC(nullptr);
    int count = 0;
    for (LONG y = rect.top; y < rect.bottom; ++y)
        for (LONG x = rect.left; x < rect.right; ++x) count += GetPixel(screen, x, y) == colour;
    ReleaseDC(nullptr, screen);
    return count;
}

// True when the rectangle of the screen holds more than one colour (text was
// drawn there).
bool HoldsText(const RECT& rect) {
    HDC screen = GetDC(nullptr);
    const COLORREF background = GetPixel(screen, rect.left + 1, rect.top + 1);
    bool found = false;
    for (LONG y = rect.top + 1; y < rect.bottom - 1 && !found; ++y)
        for (LONG x = rect.left + 1; x < rect.right - 1 && !found; ++x) found = GetPixel(screen, x, y) != background;
    ReleaseDC(nullptr, screen);
    return found;
}

// ---- what the framework sees -----------------------------------------------------

// Counts the clicks of menu items and the pop-ups of menus (atomics: the
// driver thread reads them).
class Clicks : public TObject {
public:
    void OnClick(TObject* sender) {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FOrder.push_back(static_cast<TMenuItem*>(sender));
        }
        ++Total;
        TellNews();
    }
    int Of(const TMenuItem* item) {
        std::lock_guard<std::mutex> lock(FMutex);
        int count = 0;
        for (const TMenuItem* clicked : FOrder) count += clicked == item;
        return count;
    }
    std::atomic<int> Total{0};

private:
    std::mutex FMutex;
    std::vector<TMenuItem*> FOrder;
};

// Records the menu messages that pass the form's WindowProc, the way a menu
// skinner hooks the form.
class MenuMessages : public TObject {
public:
    explicit MenuMessages(TControl& form) : FForm(form) {
        FSaved = form.WindowProc();
        form.SetWindowProc(TWndMethod(this, &MenuMessages::Handle));
    }
    ~MenuMessages() override { FForm.SetWindowProc(FSaved); }
    void Handle(TMessage& message) {
        switch (message.Msg) {
        case WM_INITMENUPOPUP: {
            std::lock_guard<std::mutex> lock(FMutex);
            FInitialised.push_back(reinterpret_cast<HMENU>(message.WParam));
            break;
        }
        case WM_ENTERMENULOOP: ++Loops; break;
        case WM_EXITMENULOOP: ++Exits; break;
        default: break;
        }
        FSaved(message);
        TellNews();
    }
    bool Initialised(HMENU menu) {
        std::lock_guard<std::mutex> lock(FMutex);
        for (HMENU seen : FInitialised)
            if (seen == menu) return true;
        return false;
    }
    std::atomic<int> Loops{0};
    std::atomic<int> Exits{0};

private:
    TControl& FForm;
    TWndMethod FSaved;
    std::mutex FMutex;
    std::vector<HMENU> FInitialised;
};

// Owner draws its items in a solid colour: one when selected, one when not.
class SolidPainter : public TObject {
public:
    void Measure(TObject*, TCanvas*, int32_t& width, int32_t& height) {
        width = kOwnerDrawnWidth;
        height = kOwnerDrawnHeight;
        Record("measure");
    }
    void Draw(TObject*, TCanvas* canvas, RECT rect, bool selected) {
        HBRUSH brush = CreateSolidBrush(selected ? kSelectedColour : kNormalColour);
        FillRect(canvas->Handle(), &rect, brush);
        DeleteObject(brush);
        Record(selected ? "draw selected" : "draw");
    }
    std::vector<std::string> Log() {
        std::lock_guard<std::mutex> lock(FMutex);
        return FLog;
    }
    bool Saw(const std::string& entry) {
        for (const std::string& seen : Log())
            if (seen == entry) return true;
        return false;
    }

private:
    void Record(const char* entry) {
        {
            std::lock_guard<std::mutex> lock(FMutex);
            FLog.emplace_back(entry);
        }
        TellNews();
    }
    std::mutex FMutex;
    std::vector<std::string> FLog;
};

TMenuItem* NewItem(TComponent* owner, TMenuItem* parent, const char* caption, Clicks* clicks = nullptr) {
    auto* item = new TMenuItem(owner);
    item->SetCaption(caption);
    if (clicks) item->SetOnClick(TNotifyEvent(clicks, &Clicks::OnClick));
    parent->Add(item);
    return item;
}

// A shown form in front with a menu bar: "&File" (Open, Save Ctrl+S, a
// disabled item with Ctrl+D, a line, an auto-checked item, two radio items)
// and "&View" (one item).
struct MenuTracking : ::testing::Test {
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(120, 120, 420, 300);
        form->SetCaption("Menu tracking");
        menu = new TMainMenu(form);
        file = NewItem(form, menu->Items(), "&File", &clicks);
        open = NewItem(form, file, "&Open", &clicks);
        save = NewItem(form, file, "&Save", &clicks);
        save->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
        disabled = NewItem(form, file, "&Disabled", &clicks);
        disabled->SetShortCut(ShortCut('D', TShiftState{ssCtrl}));
        disabled->SetEnabled(false);
        NewItem(form, file, "-");
        wrap = NewItem(form, file, "&Wrap", &clicks);
        wrap->SetAutoCheck(true);
        left = NewItem(form, file, "&Left", &clicks);
        right = NewItem(form, file, "&Right", &clicks);
        for (TMenuItem* radio : {left, right}) {
            radio->SetRadioItem(true);
            radio->SetGroupIndex(1);
            radio->SetAutoCheck(true);
        }
        left->SetChecked(true);
        view = NewItem(form, menu->Items(), "&View", &clicks);
        status = NewItem(form, view, "S&tatus", &clicks);
        form->SetMenu(menu);
    }

    // Shows the form and brings it in front (the tests that need a control
    // on it add the control first).
    void ShowInFront() {
        form->Show();
        messages = std::make_unique<MenuMessages>(*form);
        ASSERT_TRUE(ProcessUntil("the form to come in front", [&] {
            SetForegroundWindow(form->Handle());
            return GetForegroundWindow() == form->Handle() && IsWindowVisible(form->Handle());
        }));
        ASSERT_TRUE(WaitUntilOnScreen(form->Handle()));
    }

    void TearDown() override {
        if (HasFailure())
            std::cout << "where input goes now: " << DescribeInputState() << "\nthe forms' thread's messages:\n"
                      << recorder.Describe() << std::flush;
        if (!VisibleMenuWindows().empty()) EndMenu();
        EXPECT_TRUE(ProcessUntil("the menus to close", [] { return VisibleMenuWindows().empty(); }));
        messages.reset();
        form->BeforeDestruction();
        delete form;
        Application->ProcessMessages();
    }

    HMENU Bar() const { return GetMenu(form->Handle()); }

    // Opens the drop-down of the bar's item at position with one click;
    // returns its window (nullptr and a failure when it did not open).
    HWND OpenFromBar(int position, HMENU dropDown) {
        HWND shown = nullptr;
        Click(Centre(ItemRect(form->Handle(), Bar(), position)));
        EXPECT_TRUE(Await("the drop-down to open", [&] { return (shown = PopupShowing(dropDown)) != nullptr; }))
            << "bar item " << position;
        return shown;
    }

    // Clicks the item at position of the drop-down that window shows.
    void ClickItem(HMENU dropDown, int position) { Click(Centre(ItemRect(nullptr, dropDown, position))); }

    // Leaves every menu with Esc: each press closes the innermost menu shown,
    // and once none shows a last one leaves the bar that stays selected for
    // the keyboard. True when no menu and no menu loop is left.
    ::testing::AssertionResult CloseMenus() {
        for (size_t shown = VisibleMenuWindows().size(); shown > 0; --shown) {
            PressKey(VK_ESCAPE);
            const auto closed = Await("Esc to close a menu", [&] { return VisibleMenuWindows().size() < shown; });
            if (!closed) return closed;
        }
        if (messages && messages->Loops > messages->Exits) PressKey(VK_ESCAPE);
        return Await("the menu loop to end", [&] { return !messages || messages->Loops == messages->Exits; });
    }

    TForm* form = nullptr;
    TMainMenu* menu = nullptr;
    TMenuItem* file = nullptr;
    TMenuItem* open = nullptr;
    TMenuItem* save = nullptr;
    TMenuItem* disabled = nullptr;
    TMenuItem* wrap = nullptr;
    TMenuItem* left = nullptr;
    TMenuItem* right = nullptr;
    TMenuItem* view = nullptr;
    TMenuItem* status = nullptr;
    Clicks clicks;
    std::unique_ptr<MenuMessages> messages;
    // What a failed test prints: where activation, focus, capture and the menus went.
    MessageRecorder recorder;
};

constexpr int kOpenPosition = 0;
constexpr int kSavePosition = 1;
constexpr int kDisabledPosition = 2;
constexpr int kWrapPosition = 4;
constexpr int kLeftPosition = 5;
constexpr int kRightPosition = 6;

// ---- key events under real keyboard input ----------------------------------------

// Records the key events of a control or form: which key, going down or up, with which shift state.
class KeyLog : public TObject {
public:
    void KeyDown(TObject*, uint16_t& key, TShiftState shift) { FEntries.push_back({true, key, shift}); }
    void KeyUp(TObject*, uint16_t& key, TShiftState shift) { FEntries.push_back({false, key, shift}); }
    // The shift state of the first event of key going down (or up); nullopt when none came.
    std::optional<TShiftState> Of(uint16_t key, bool down) const {
        for (const Entry& entry : FEntries)
            if (entry.Key == key && entry.Down == down) return entry.Shift;
        return std::nullopt;
    }

private:
    struct Entry {
        bool Down;
        uint16_t Key;
        TShiftState Shift;
    };
    std::vector<Entry> FEntries;
};

// A shown form in front with a focused edit; the edit's key events and the form's (KeyPreview) are logged.
struct KeyEvents : ::testing::Test {
    void SetUp() override {
        form = new TForm(nullptr);
        form->SetBounds(140, 140, 300, 160);
        form->SetCaption("Key events");
        form->SetKeyPreview(true);
        form->SetOnKeyDown(TKeyEvent(&formLog, &KeyLog::KeyDown));
        form->SetOnKeyUp(TKeyEvent(&formLog, &KeyLog::KeyUp));
        edit = new TEdit(form);
        edit->SetParent(form);
        edit->SetBounds(10, 10, 200, 24);
        edit->SetOnKeyDown(TKeyEvent(&editLog, &KeyLog::KeyDown));
        edit->SetOnKeyUp(TKeyEvent(&editLog, &KeyLog::KeyUp));
        form->Show();
        ASSERT_TRUE(PumpUntil("the form comes to the front with its edit focused", [&] {
            SetForegroundWindow(form->Handle());
            return GetForegroundWindow() == form->Handle() && edit->Focused();
        }));
    }

    void TearDown() override {
        if (!VisibleMenuWindows().empty()) EndMenu();
        form->BeforeDestruction();
        delete form;
        Application->ProcessMessages();
    }

    TForm* form = nullptr;
    TEdit* edit = nullptr;
    KeyLog editLog;
    KeyLog formLog;
};

constexpr WORD kPlainKey = 'J';
constexpr WORD kAltKey = 'K';  // no menu of the form has it as accelerator

TEST_F(KeyEvents, AltHeldReachesKeyUpAsItReachesKeyDown) {
    PressKey(kAltKey, VK_MENU);
    ASSERT_TRUE(PumpUntil("K goes up", [&] { return editLog.Of(kAltKey, false).has_value(); }));
    ASSERT_TRUE(editLog.Of(kAltKey, true).has_value());
    EXPECT_TRUE(editLog.Of(kAltKey, true)->Contains(ssAlt));
    EXPECT_TRUE(editLog.Of(kAltKey, false)->Contains(ssAlt)) << "K went up while Alt was held";
    ASSERT_TRUE(formLog.Of(kAltKey, false).has_value()) << "the form previews the keys of its controls";
    EXPECT_TRUE(formLog.Of(kAltKey, false)->Contains(ssAlt));

    PressKey(kPlainKey, VK_SHIFT);
    ASSERT_TRUE(PumpUntil("J goes up", [&] { return editLog.Of(kPlainKey, false).has_value(); }));
    EXPECT_EQ(editLog.Of(kPlainKey, true)->Bits(), TShiftState{ssShift}.Bits());
    EXPECT_EQ(editLog.Of(kPlainKey, false)->Bits(), TShiftState{ssShift}.Bits()) << "Shift alone, no Alt";
}

// ---- the menu bar ---------------------------------------------------------------

using MenuBar = MenuTracking;

TEST_F(MenuBar, AClickOpensTheDropDownAndAClickOnAnItemRunsItOnce) {
    ShowInFront();
    Drive([&] {
        HWND dropDown = OpenFromBar(0, file->Handle());
        ASSERT_NE(dropDown, nullptr) << "the File drop-down did not open";
        EXPECT_TRUE(messages->Initialised(file->Handle()));
        EXPECT_EQ(clicks.Of(file), 1) << "the top item hears that its drop-down opens";
        EXPECT_EQ(messages->Loops.load(), 1);
        ClickItem(file->Handle(), kSavePosition);
        EXPECT_TRUE(Await("Save's click", [&] { return clicks.Of(save) == 1; }));
        EXPECT_TRUE(Await("the menus to close and the loop to end",
                          [&] { return VisibleMenuWindows().empty() && messages->Exits == 1; }));
    });
    EXPECT_EQ(clicks.Of(save), 1);
    EXPECT_EQ(clicks.Of(open), 0);
}

TEST_F(MenuBar, AltFDownEnterRunsTheSecondItem) {
    ShowInFront();
    Drive([&] {
        PressKey('F', VK_MENU);
        ASSERT_TRUE(Await("File's drop-down to show", [&] { return PopupShowing(file->Handle()) != nullptr; }))
            << "Alt+F opened nothing";
        ASSERT_TRUE(Await("Open to be selected", [&] { return Hilited(file->Handle(), kOpenPosition); }));
        PressKey(VK_DOWN);
        ASSERT_TRUE(Await("Save to be selected", [&] { return Hilited(file->Handle(), kSavePosition); }));
        PressKey(VK_RETURN);
        EXPECT_TRUE(Await("Save's click", [&] { return clicks.Of(save) == 1; }));
        EXPECT_TRUE(Await("the menus to close", [] { return VisibleMenuWindows().empty(); }));
    });
    EXPECT_EQ(clicks.Of(save), 1);
    EXPECT_EQ(clicks.Of(open), 0);
}

TEST_F(MenuBar, ArrowKeysMoveAlongTheBarToTheNextDropDown) {
    ShowInFront();
    Drive([&] {
        PressKey('F', VK_MENU);
        ASSERT_TRUE(Await("File's drop-down to show", [&] { return PopupShowing(file->Handle()) != nullptr; }));
        PressKey(VK_RIGHT);
        ASSERT_TRUE(Await("View's drop-down to show", [&] { return PopupShowing(view->Handle()) != nullptr; }))
            << "View's drop-down stayed shut";
        EXPECT_EQ(PopupShowing(file->Handle()), nullptr);
        EXPECT_EQ(clicks.Of(view), 1);
        ASSERT_TRUE(Await("Status to be selected", [&] { return Hilited(view->Handle(), 0); }));
        PressKey(VK_RETURN);
        EXPECT_TRUE(Await("Status's click", [&] { return clicks.Of(status) == 1; }));
        EXPECT_TRUE(Await("the menus to close", [] { return VisibleMenuWindows().empty(); }));
    });
    EXPECT_EQ(clicks.Total.load(), 3) << "File's and View's openings, then Status";
}

TEST_F(MenuBar, ADisabledItemDoesNothingByMouseOrShortcut) {
    ShowInFront();
    Drive([&] {
        ASSERT_NE(OpenFromBar(0, file->Handle()), nullptr);
        ClickItem(file->Handle(), kDisabledPosition);
        // The commands of a menu arrive in order: Save's click marks the end.
        ClickItem(file->Handle(), kSavePosition);
        ASSERT_TRUE(Await("Save's click", [&] { return clicks.Of(save) == 1; }));
        EXPECT_TRUE(CloseMenus());
        PressKey('D', VK_CONTROL);
        PressKey('S', VK_CONTROL);
        EXPECT_TRUE(Await("Save's click number 2", [&] { return clicks.Of(save) == 2; }));
    });
    EXPECT_EQ(clicks.Of(disabled), 0);
    EXPECT_EQ(clicks.Total.load(), 3) << "File once, Save twice";
}

TEST_F(MenuBar, AutoCheckAndRadioItemsToggleInTheFrameworkAndTheShownMenu) {
    ShowInFront();
    const UINT checked = MF_CHECKED;
    Drive([&] {
        for (bool expected : {true, false}) {
            ASSERT_NE(OpenFromBar(0, file->Handle()), nullptr);
            const int seen = clicks.Of(wrap);
            ClickItem(file->Handle(), kWrapPosition);
            ASSERT_TRUE(Await("Wrap's click to close the menu",
                              [&] { return clicks.Of(wrap) == seen + 1 && VisibleMenuWindows().empty(); }));
            EXPECT_EQ(clicks.Of(wrap), seen + 1);
            EXPECT_EQ(wrap->Checked(), expected);
            EXPECT_EQ(GetMenuState(file->Handle(), kWrapPosition, MF_BYPOSITION) & MF_CHECKED, expected ? checked : 0u);
        }
        ASSERT_NE(OpenFromBar(0, file->Handle()), nullptr);
        ClickItem(file->Handle(), kRightPosition);
        ASSERT_TRUE(Await("Right's click to close the menu",
                          [&] { return clicks.Of(right) == 1 && VisibleMenuWindows().empty(); }));
    });
    EXPECT_TRUE(right->Checked());
    EXPECT_FALSE(left->Checked()) << "one radio item of a group is checked";
    EXPECT_EQ(GetMenuState(file->Handle(), kRightPosition, MF_BYPOSITION) & MF_CHECKED, checked);
    EXPECT_EQ(GetMenuState(file->Handle(), kLeftPosition, MF_BYPOSITION) & MF_CHECKED, 0u);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(file->Handle(), kRightPosition, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
}

TEST_F(MenuBar, AShortcutRunsItsItemWithoutOpeningTheMenu) {
    ShowInFront();
    Drive([&] {
        PressKey('S', VK_CONTROL);
        EXPECT_TRUE(Await("Save's click", [&] { return clicks.Of(save) == 1; }));
    });
    EXPECT_EQ(clicks.Total.load(), 1) << "the File item never heard of an opening drop-down";
    EXPECT_EQ(messages->Loops.load(), 0);
    EXPECT_TRUE(VisibleMenuWindows().empty());
}

TEST_F(MenuBar, ItemsChangedByTheTopItemsClickShowInTheDropDownItOpens) {
    // The usual way to bring items up to date: in the top item's OnClick,
    // which runs while the system is already tracking the menu.
    struct Updater : TObject {
        TMenuItem* Save = nullptr;
        TMenuItem* Disabled = nullptr;
        Clicks* Counter = nullptr;
        void OnClick(TObject* sender) {
            Save->SetCaption("Save &As");
            Disabled->SetEnabled(true);
            Counter->OnClick(sender);
        }
    } updater;
    updater.Save = save;
    updater.Disabled = disabled;
    updater.Counter = &clicks;
    file->SetOnClick(TNotifyEvent(&updater, &Updater::OnClick));
    HMENU bar = menu->Handle();
    HMENU dropDown = file->Handle();
    ShowInFront();
    Drive([&] {
        HWND shown = OpenFromBar(0, dropDown);
        ASSERT_NE(shown, nullptr) << "the drop-down being tracked was lost";
        EXPECT_EQ(MenuText(dropDown, kSavePosition), L"Save &As\tCtrl+S");
        EXPECT_EQ(GetMenuState(dropDown, kDisabledPosition, MF_BYPOSITION) & MF_GRAYED, 0u);
        ClickItem(dropDown, kDisabledPosition);
        EXPECT_TRUE(Await("Disabled's click", [&] { return clicks.Of(disabled) == 1; }));
        EXPECT_TRUE(CloseMenus());
    });
    EXPECT_EQ(GetMenu(form->Handle()), bar) << "the bar keeps its menu through changes";
    EXPECT_EQ(file->Handle(), dropDown);
    EXPECT_TRUE(IsMenu(bar));
}

TEST_F(MenuBar, EscLeavesTheMenuWithoutRunningAnything) {
    ShowInFront();
    Drive([&] {
        ASSERT_NE(OpenFromBar(0, file->Handle()), nullptr);
        EXPECT_TRUE(CloseMenus());
        // The keyboard works on the form again: a shortcut marks the end.
        PressKey('S', VK_CONTROL);
        EXPECT_TRUE(Await("Save's click", [&] { return clicks.Of(save) == 1; }));
    });
    EXPECT_EQ(clicks.Total.load(), 2) << "File's opening and the shortcut only";
}

// ---- owner drawing --------------------------------------------------------------

TEST_F(MenuBar, OwnerDrawnItemsAreMeasuredThenDrawnSelectedUnderTheMouse) {
    SolidPainter painter;
    menu->SetOwnerDraw(true);
    for (TMenuItem* item : {open, save}) {
        item->SetOnMeasureItem(TMenuMeasureItemEvent(&painter, &SolidPainter::Measure));
        item->SetOnDrawItem(TMenuDrawItemEvent(&painter, &SolidPainter::Draw));
    }
    ShowInFront();
    Drive([&] {
        ASSERT_NE(OpenFromBar(0, file->Handle()), nullptr);
        ASSERT_TRUE(Await("the painter to draw", [&] { return painter.Saw("draw"); }));
        const std::vector<std::string> log = painter.Log();
        ASSERT_FALSE(log.empty());
        EXPECT_EQ(log.front(), "measure") << "measured before drawn";
        const RECT saveRect = ItemRect(nullptr, file->Handle(), kSavePosition);
        EXPECT_EQ(saveRect.bottom - saveRect.top, kOwnerDrawnHeight);
        EXPECT_GE(saveRect.right - saveRect.left, kOwnerDrawnWidth);
        MoveMouse(Centre(saveRect));
        EXPECT_TRUE(Await("the painter to draw selected", [&] { return painter.Saw("draw selected"); }));
        EXPECT_TRUE(Await("Save drawn selected on the screen",
                          [&] { return ScreenPixel(Centre(saveRect)) == kSelectedColour; }))
            << std::hex << ScreenPixel(Centre(saveRect));
        // Moving on to Open draws Save plain again.
        const RECT openRect = ItemRect(nullptr, file->Handle(), kOpenPosition);
        MoveMouse(Centre(openRect));
        EXPECT_TRUE(Await("Open drawn selected on the screen",
                          [&] { return ScreenPixel(Centre(openRect)) == kSelectedColour; }));
        EXPECT_TRUE(Await("Save drawn plain again on the screen",
                          [&] { return ScreenPixel(Centre(saveRect)) == kNormalColour; }))
            << std::hex << ScreenPixel(Centre(saveRect));
        EXPECT_TRUE(CloseMenus());
    });
}

TEST_F(MenuBar, AMenuWithImagesDrawsEachItemsPicture) {
    auto* images = new TImageList(form, kImageSize, kImageSize);
    TBitmap picture(kImageSize, kImageSize, pf24bit);
    picture.Canvas().Brush().SetColor(static_cast<TColor>(kImageColour));
    picture.Canvas().FillRect(RECT{0, 0, kImageSize, kImageSize});
    ASSERT_EQ(images->Add(picture, nullptr), 0);
    open->SetImageIndex(0);
    save->SetImageIndex(images->Count());  // no such picture: none is drawn
    menu->SetImages(images);
    menu->Handle();  // builds the system menus
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(file->Handle(), kOpenPosition, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_OWNERDRAW) << "the framework draws a menu with images";
    ShowInFront();
    Drive([&] {
        ASSERT_NE(OpenFromBar(0, file->Handle()), nullptr);
        const RECT openRect = ItemRect(nullptr, file->Handle(), kOpenPosition);
        EXPECT_GE(openRect.bottom - openRect.top, kImageSize);
        EXPECT_TRUE(Await("Open's picture on the screen", [&] {
            return CountScreenPixels(openRect, kImageColour) == kImageSize * kImageSize;
        })) << CountScreenPixels(openRect, kImageColour);
        EXPECT_EQ(CountScreenPixels(ItemRect(nullptr, file->Handle(), kSavePosition), kImageColour), 0);
        EXPECT_TRUE(CloseMenus());
    });
    // Without its images the menu is drawn by the system again.
    delete images;
    EXPECT_EQ(menu->Images(), nullptr);
    GetMenuItemInfoW(file->Handle(), kOpenPosition, TRUE, &info);
    EXPECT_FALSE(info.fType & MFT_OWNERDRAW);
}

TEST_F(MenuBar, OwnerDrawnItemsKeepTheirAcceleratorKeys) {
    // The system need not read the "&" of an item it does not draw: the
    // framework answers WM_MENUCHAR for it.
    HWND window = form->Handle();  // builds the menu bar
    LRESULT answer =
        SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(L's', MF_POPUP), reinterpret_cast<LPARAM>(file->Handle()));
    EXPECT_EQ(answer, MAKELRESULT(kSavePosition, MNC_EXECUTE));
    answer = SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(L'q', MF_POPUP), reinterpret_cast<LPARAM>(file->Handle()));
    EXPECT_EQ(HIWORD(answer), MNC_IGNORE);
    // Two items that share a key are selected in turn.
    TMenuItem* send = NewItem(form, file, "&Send");
    answer = SendMessageW(window, WM_MENUCHAR, MAKEWPARAM(L'S', MF_POPUP), reinterpret_cast<LPARAM>(file->Handle()));
    EXPECT_EQ(answer, MAKELRESULT(kSavePosition, MNC_SELECT));
    delete send;

    SolidPainter painter;
    menu->SetOwnerDraw(true);
    ShowInFront();
    Drive([&] {
        PressKey('F', VK_MENU);
        ASSERT_TRUE(Await("File's drop-down to show", [&] { return PopupShowing(file->Handle()) != nullptr; }))
            << "Alt+F opened nothing";
        PressKey('S');
        EXPECT_TRUE(Await("Save's click", [&] { return clicks.Of(save) == 1; }));
        EXPECT_TRUE(Await("the menus to close", [] { return VisibleMenuWindows().empty(); }));
    });
    EXPECT_EQ(clicks.Of(save), 1);
    EXPECT_EQ(clicks.Total.load(), 2) << "File's opening and Save";
}

// ---- popup menus -------------------------------------------------------------------

struct PopupTracking : MenuTracking {
    void SetUp() override {
        MenuTracking::SetUp();
        popup = new TPopupMenu(form);
        first = NewItem(form, popup->Items(), "&First", &clicks);
        second = NewItem(form, popup->Items(), "&Second", &clicks);
        popup->SetOnPopup(TNotifyEvent(this, &PopupTracking::OnPopup));
    }
    // Brings an item up to date as a program does before its menu shows, and
    // notes whether a menu window already showed.
    void OnPopup(TObject*) {
        ++popups;
        menuShownAtPopup = !VisibleMenuWindows().empty();
        second->SetCaption("Second (" + std::to_string(popups) + ")");
    }
    POINT At() const { return POINT{300, 250}; }
    void PopupAt(POINT point) { popup->Popup(point.x, point.y); }

    TPopupMenu* popup = nullptr;
    TMenuItem* first = nullptr;
    TMenuItem* second = nullptr;
    int popups = 0;
    bool menuShownAtPopup = false;
};

TEST_F(PopupTracking, PopupAtAPointRunsOnPopupThenTheClickedItem) {
    ShowInFront();
    const POINT at = At();
    Drive(
        [&] {
            HWND shown = nullptr;
            ASSERT_TRUE(
                Await("the popup menu to show", [&] { return (shown = PopupShowing(popup->Handle())) != nullptr; }));
            RECT rect{};
            GetWindowRect(shown, &rect);
            EXPECT_EQ(rect.left, at.x);
            EXPECT_EQ(rect.top, at.y);
            EXPECT_EQ(MenuText(popup->Handle(), 1), L"Second (1)");
            ClickItem(popup->Handle(), 1);
            EXPECT_TRUE(Await("the menus to close", [] { return VisibleMenuWindows().empty(); }));
        },
        [&] { PopupAt(at); });
    EXPECT_TRUE(ProcessUntil("Second's click", [&] { return clicks.Of(second) == 1; }));
    EXPECT_EQ(popups, 1);
    EXPECT_FALSE(menuShownAtPopup) << "OnPopup runs before the menu shows";
    EXPECT_EQ(clicks.Of(first), 0);
}

TEST_F(PopupTracking, EscClosesThePopupWithoutRunningAnything) {
    ShowInFront();
    Drive(
        [&] {
            ASSERT_TRUE(Await("the popup menu to show", [&] { return PopupShowing(popup->Handle()) != nullptr; }));
            PressKey(VK_ESCAPE);
            EXPECT_TRUE(Await("the menus to close", [] { return VisibleMenuWindows().empty(); }));
        },
        [&] { PopupAt(At()); });
    // A chosen item's command is posted before Popup returns: none came.
    Application->ProcessMessages();
    EXPECT_EQ(clicks.Total.load(), 0);
    EXPECT_EQ(popups, 1);
}

TEST_F(PopupTracking, AlignmentPlacesTheMenuBesideThePoint) {
    ShowInFront();
    const POINT at = At();
    for (TPopupAlignment alignment : {paRight, paCenter}) {
        popup->SetAlignment(alignment);
        RECT rect{};
        Drive(
            [&] {
                HWND shown = nullptr;
                ASSERT_TRUE(Await("the popup menu to show",
                                  [&] { return (shown = PopupShowing(popup->Handle())) != nullptr; }));
                GetWindowRect(shown, &rect);
                PressKey(VK_ESCAPE);
                EXPECT_TRUE(Await("the menus to close", [] { return VisibleMenuWindows().empty(); }));
            },
            [&] { PopupAt(at); });
        if (alignment == paRight) {
            EXPECT_EQ(rect.right, at.x);
        } else {
            EXPECT_LE(std::abs((rect.left + rect.right) / 2 - at.x), 1);
        }
        EXPECT_EQ(rect.top, at.y);
    }
    EXPECT_EQ(clicks.Total.load(), 0);
}

TEST_F(PopupTracking, ARightClickOnAControlPopsItsMenuForThatControl) {
    auto* button = new TButton(form);
    button->SetParent(form);
    button->SetBounds(40, 40, 120, 40);
    button->SetCaption("Right-click me");
    button->SetPopupMenu(popup);
    ShowInFront();
    RECT buttonRect{};
    GetWindowRect(button->Handle(), &buttonRect);
    Drive([&] {
        Click(Centre(buttonRect), true);
        ASSERT_TRUE(
            Await("the right click to pop the menu up", [&] { return PopupShowing(popup->Handle()) != nullptr; }));
        ClickItem(popup->Handle(), 0);
        EXPECT_TRUE(Await("First's click", [&] { return clicks.Of(first) == 1; }));
    });
    EXPECT_EQ(popup->PopupComponent(), button);
    EXPECT_EQ(popups, 1);
    EXPECT_EQ(clicks.Total.load(), 1);
}

TEST_F(PopupTracking, OwnerDrawnSubmenuOpensUnderTheMouseAndRunsItsItem) {
    SolidPainter painter;
    popup->SetOwnerDraw(true);
    TMenuItem* more = NewItem(form, popup->Items(), "&More", &clicks);
    TMenuItem* deep = NewItem(form, more, "&Deep", &clicks);
    deep->SetOnMeasureItem(TMenuMeasureItemEvent(&painter, &SolidPainter::Measure));
    deep->SetOnDrawItem(TMenuDrawItemEvent(&painter, &SolidPainter::Draw));
    ShowInFront();
    Drive(
        [&] {
            ASSERT_TRUE(Await("the popup menu to show", [&] { return PopupShowing(popup->Handle()) != nullptr; }));
            MoveMouse(Centre(ItemRect(nullptr, popup->Handle(), 2)));
            ASSERT_TRUE(Await("More's submenu to show", [&] { return PopupShowing(more->Handle()) != nullptr; }))
                << "the submenu stayed shut";
            EXPECT_EQ(clicks.Of(more), 1) << "the item hears that its submenu opens";
            const RECT deepRect = ItemRect(nullptr, more->Handle(), 0);
            EXPECT_EQ(deepRect.bottom - deepRect.top, kOwnerDrawnHeight);
            MoveMouse(Centre(deepRect));
            EXPECT_TRUE(Await("Deep drawn selected on the screen",
                              [&] { return ScreenPixel(Centre(deepRect)) == kSelectedColour; }))
                << std::hex << ScreenPixel(Centre(deepRect));
            Click(Centre(deepRect));
            EXPECT_TRUE(Await("the menus to close", [] { return VisibleMenuWindows().empty(); }));
        },
        [&] { PopupAt(At()); });
    EXPECT_TRUE(ProcessUntil("Deep's click", [&] { return clicks.Of(deep) == 1; }));
    ASSERT_FALSE(painter.Log().empty()) << "the owner-drawn item was measured and drawn";
    EXPECT_EQ(painter.Log().front(), "measure");
    EXPECT_TRUE(painter.Saw("draw selected"));
    EXPECT_EQ(clicks.Total.load(), 2) << "More's opening and Deep";
}

// ---- changes while the form shows ---------------------------------------------------

using LiveChanges = MenuTracking;

TEST_F(LiveChanges, AddingRenamingDisablingAndDeletingUpdateTheShownBar) {
    ShowInFront();
    HMENU bar = Bar();
    ASSERT_EQ(GetMenuItemCount(bar), 2);
    const RECT viewRect = ItemRect(form->Handle(), bar, 1);
    // Where the new item will show, the bar is empty.
    RECT spare = viewRect;
    OffsetRect(&spare, viewRect.right - viewRect.left + 8, 0);
    EXPECT_FALSE(HoldsText(spare));

    TMenuItem* help = NewItem(form, menu->Items(), "&Help", &clicks);
    TMenuItem* about = NewItem(form, help, "&About", &clicks);
    EXPECT_EQ(Bar(), bar) << "the bar keeps its menu";
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    EXPECT_EQ(MenuText(bar, 2), L"&Help");
    EXPECT_TRUE(
        ProcessUntil("the bar to show the new item", [&] { return HoldsText(ItemRect(form->Handle(), bar, 2)); }));

    // The new item works under real tracking.
    Drive([&] {
        ASSERT_NE(OpenFromBar(2, help->Handle()), nullptr);
        ClickItem(help->Handle(), 0);
        EXPECT_TRUE(Await("About's click", [&] { return clicks.Of(about) == 1; }));
    });

    const LONG narrow = ItemRect(form->Handle(), bar, 2).right - ItemRect(form->Handle(), bar, 2).left;
    help->SetCaption("&Help and support");
    EXPECT_EQ(MenuText(bar, 2), L"&Help and support");
    EXPECT_TRUE(ProcessUntil("the renamed item to widen", [&] {
        const RECT rect = ItemRect(form->Handle(), bar, 2);
        return rect.right - rect.left > narrow;
    }));

    help->SetEnabled(false);
    EXPECT_NE(GetMenuState(bar, 2, MF_BYPOSITION) & MF_GRAYED, 0u);
    const int helpClicks = clicks.Of(help);
    Drive([&] {
        // The click selects the bar (a menu loop) but opens nothing.
        const int loops = messages->Loops;
        Click(Centre(ItemRect(form->Handle(), bar, 2)));
        EXPECT_TRUE(Await("the click to start a menu loop", [&] { return messages->Loops > loops; }));
        EXPECT_TRUE(VisibleMenuWindows().empty());
        EXPECT_TRUE(CloseMenus());
        // Input still flows: File's drop-down opens.
        ASSERT_NE(OpenFromBar(0, file->Handle()), nullptr);
        EXPECT_TRUE(CloseMenus());
    });
    EXPECT_EQ(clicks.Of(help), helpClicks);
    EXPECT_EQ(PopupShowing(help->Handle()), nullptr);

    menu->Items()->Remove(help);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(Bar(), bar);
    EXPECT_TRUE(ProcessUntil("the removed item to go from the bar", [&] { return !HoldsText(spare); }));
    delete help;
    EXPECT_EQ(GetMenuItemCount(bar), 2);

    // An item added to the File drop-down shows in it when it opens.
    NewItem(form, file, "&Close", &clicks);
    EXPECT_EQ(GetMenuItemCount(file->Handle()), 8);
    EXPECT_EQ(MenuText(file->Handle(), 7), L"&Close");
}

// ---- the published surface of menus -----------------------------------------------

TEST(MenuProperties, ItemAndPopupPropertiesArePublishedAndReachTheSystemMenu) {
    TPopupMenu popup(nullptr);
    auto* item = new TMenuItem(&popup);
    item->SetCaption("Item");
    popup.Items()->Add(item);
    auto* next = new TMenuItem(&popup);
    next->SetCaption("Next column");
    popup.Items()->Add(next);
    for (const char* name :
         {"Caption", "ShortCut", "Checked", "Enabled", "Visible", "Default", "RadioItem", "GroupIndex", "Hint",
          "ImageIndex", "AutoCheck", "Break", "OnClick", "OnDrawItem", "OnMeasureItem"})
        EXPECT_NE(GetPropInfo(item, name), nullptr) << name;
    for (const char* name : {"Alignment", "TrackButton", "AutoPopup", "OnPopup", "OwnerDraw", "Images"})
        EXPECT_NE(GetPropInfo(&popup, name), nullptr) << name;

    EXPECT_TRUE(SetPropAsText(next, "Break", "mbBarBreak"));
    EXPECT_EQ(next->Break(), mbBarBreak);
    EXPECT_TRUE(SetPropAsText(item, "Default", "True"));
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoW(popup.Handle(), 1, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_MENUBARBREAK);
    GetMenuItemInfoW(popup.Handle(), 0, TRUE, &info);
    EXPECT_TRUE(info.fState & MFS_DEFAULT);
    // A value cast from an integer out of range reads no flags from beyond the table.
    next->SetBreak(static_cast<TMenuBreak>(200));
    GetMenuItemInfoW(popup.Handle(), 1, TRUE, &info);
    EXPECT_FALSE(info.fType & (MFT_MENUBREAK | MFT_MENUBARBREAK));
    EXPECT_ANY_THROW(SetPropAsText(next, "Break", "mbSideways"));
    EXPECT_TRUE(SetPropAsText(&popup, "Alignment", "paCenter"));
    EXPECT_EQ(popup.Alignment(), paCenter);
    EXPECT_TRUE(SetPropAsText(&popup, "TrackButton", "tbLeftButton"));
    EXPECT_EQ(popup.TrackButton(), tbLeftButton);
}

TEST(MenuProperties, AMenuReadFromAFormStreamBuildsItsSystemMenuOnceLoaded) {
    struct FormOwner {
        TForm* Form = new TForm(nullptr);
        ~FormOwner() {
            Form->BeforeDestruction();
            delete Form;
        }
    } owner;
    TMemoryStream binary;
    ObjectTextToBinary(
        "object Popup1: TPopupMenu\n"
        "  Alignment = paRight\n"
        "  object Small1: TMenuItem\n    Caption = '&Small'\n    RadioItem = True\n"
        "    GroupIndex = 2\n    AutoCheck = True\n  end\n"
        "  object Large1: TMenuItem\n    Caption = '&Large'\n    RadioItem = True\n"
        "    GroupIndex = 2\n    Checked = True\n    Default = True\n  end\n"
        "  object More1: TMenuItem\n    Caption = '&More'\n    Break = mbBreak\n"
        "    Hint = 'Further sizes'\n    ImageIndex = 3\n"
        "    object Huge1: TMenuItem\n      Caption = '&Huge'\n    end\n  end\n"
        "end\n",
        binary);
    binary.SetPosition(0);
    auto* popup = ObjectAs<TPopupMenu>(ReadComponent(binary, owner.Form));
    ASSERT_NE(popup, nullptr);
    EXPECT_EQ(popup->Alignment(), paRight);
    ASSERT_EQ(popup->Items()->Count(), 3);
    TMenuItem* small = popup->Items()->Items(0);
    TMenuItem* more = popup->Items()->Items(2);
    EXPECT_TRUE(small->AutoCheck());
    EXPECT_EQ(more->Hint(), "Further sizes");
    EXPECT_EQ(more->ImageIndex(), 3);
    ASSERT_EQ(more->Count(), 1);

    HMENU menu = popup->Handle();
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    EXPECT_EQ(GetSubMenu(menu, 2), more->Handle());
    EXPECT_EQ(MenuText(more->Handle(), 0), L"&Huge");
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_STATE;
    GetMenuItemInfoW(menu, 1, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_RADIOCHECK);
    EXPECT_TRUE(info.fState & MFS_CHECKED);
    EXPECT_TRUE(info.fState & MFS_DEFAULT);
    GetMenuItemInfoW(menu, 2, TRUE, &info);
    EXPECT_TRUE(info.fType & MFT_MENUBREAK);

    // A click on the unchecked radio item moves the check within the group.
    small->Click();
    EXPECT_TRUE(small->Checked());
    EXPECT_FALSE(popup->Items()->Items(1)->Checked());
    EXPECT_EQ(GetMenuState(menu, 0, MF_BYPOSITION) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
    EXPECT_EQ(GetMenuState(menu, 1, MF_BYPOSITION) & MF_CHECKED, 0u);
    // Its submenu goes when its last item does, and the handle with it.
    delete more->Items(0);
    EXPECT_EQ(more->Handle(), nullptr);
    EXPECT_EQ(GetSubMenu(menu, 2), nullptr);
}

}  // namespace
