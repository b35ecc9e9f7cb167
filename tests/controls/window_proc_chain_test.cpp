// Window-procedure chains on real windows: subclassed window procedures
// (GWLP_WNDPROC) and control WindowProc replacements installed and taken out
// in every order, other modules' procedures over ours, helper windows and
// control windows that outlive their objects, and hook handles.
#include "framework/controls/WinApi.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "MessagePump.h"
#include "TraceCapture.h"
#include "framework/controls/Button.h"
#include "framework/controls/ControlAtom.h"
#include "framework/controls/Form.h"
#include "framework/controls/UtilWindow.h"
#include "framework/controls/WindowProcSubclass.h"
#include "framework/win/HookHandle.h"
#include "framework/win/ObjectInstance.h"
#include "framework/win/WindowSubclass.h"

namespace {

using TPath = std::vector<std::string>;

constexpr UINT kProbe = WM_APP + 17;  // each procedure it passes writes its name into the path

TPath gPath;

// The windows' own procedures: the end of every chain.
LRESULT CALLBACK BaseProcW(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbe) gPath.push_back("base");
    return DefWindowProcW(window, msg, wParam, lParam);
}

std::string gAnsiTextSeen;
LRESULT CALLBACK BaseProcA(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbe) gPath.push_back("base");
    if (msg == WM_SETTEXT) gAnsiTextSeen = reinterpret_cast<const char*>(lParam);
    return DefWindowProcA(window, msg, wParam, lParam);
}

// Another module's subclass, done by hand as such code does it.
WNDPROC gForeignPrevious = nullptr;
LRESULT CALLBACK ForeignProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == kProbe) gPath.push_back("foreign");
    return CallWindowProcW(gForeignPrevious, window, msg, wParam, lParam);
}
void SubclassForeign(HWND window) {
    gForeignPrevious =
        reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&ForeignProc)));
}
void RestoreForeign(HWND window) {
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(gForeignPrevious));
}

HWND MakeWindow(bool unicode) {
    static const bool registered = [] {
        WNDCLASSW wide{};
        wide.lpfnWndProc = BaseProcW;
        wide.hInstance = GetModuleHandleW(nullptr);
        wide.lpszClassName = L"QuirnChainTestW";
        WNDCLASSA ansi{};
        ansi.lpfnWndProc = BaseProcA;
        ansi.hInstance = GetModuleHandleW(nullptr);
        ansi.lpszClassName = "QuirnChainTestA";
        return RegisterClassW(&wide) != 0 && RegisterClassA(&ansi) != 0;
    }();
    EXPECT_TRUE(registered);
    return unicode ? CreateWindowExW(0, L"QuirnChainTestW", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr)
                   : CreateWindowExA(0, "QuirnChainTestA", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                     GetModuleHandleW(nullptr), nullptr);
}

WNDPROC CurrentProc(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(window, GWLP_WNDPROC)); }

TPath Probe(HWND window) {
    gPath.clear();
    SendMessageW(window, kProbe, 0, 0);
    return gPath;
}

// One subclass of a window, as a skinner holds it.
struct Layer : TObject {
    std::string Name;
    win::WindowSubclass Subclass;
    int Calls = 0;
    std::string AnsiText;
    void Handle(TMessage& message) {
        ++Calls;
        if (message.Msg == kProbe) gPath.push_back(Name);
        if (message.Msg == WM_SETTEXT && !Subclass.Unicode()) AnsiText = reinterpret_cast<const char*>(message.LParam);
        Subclass.CallPrevious(message);
    }
};

std::unique_ptr<Layer> Install(HWND window, std::string name) {
    auto layer = std::make_unique<Layer>();
    layer->Name = std::move(name);
    layer->Subclass = win::WindowSubclass(window, TWndMethod::Of<&Layer::Handle>(layer.get()));
    return layer;
}

// The newest first, then the window's own procedure.
TPath ExpectedPath(const std::vector<std::string>& installed) {
    TPath path(installed.rbegin(), installed.rend());
    path.push_back("base");
    return path;
}

TEST(WindowSubclass, TakesOutEachOfThreeInEveryOrderWithoutADanglingObject) {
    const int thunks = ObjectInstanceCount();
    std::vector<int> order{0, 1, 2};
    do {
        HWND window = MakeWindow(true);
        ASSERT_NE(window, nullptr);
        const std::vector<std::string> names{"a", "b", "c"};
        std::vector<std::unique_ptr<Layer>> layers;
        for (const std::string& name : names) layers.push_back(Install(window, name));
        EXPECT_EQ(Probe(window), ExpectedPath(names));
        std::vector<std::string> remaining = names;
        for (int index : order) {
            const std::string name = names[static_cast<size_t>(index)];
            EXPECT_TRUE(layers[static_cast<size_t>(index)]->Subclass.Restore()) << name;
            layers[static_cast<size_t>(index)].reset();  // its object is gone: nothing may call it
            remaining.erase(std::find(remaining.begin(), remaining.end(), name));
            EXPECT_EQ(Probe(window), ExpectedPath(remaining)) << "after taking out " << name;
        }
        EXPECT_EQ(CurrentProc(window), &BaseProcW);
        DestroyWindow(window);
    } while (std::next_permutation(order.begin(), order.end()));
    EXPECT_EQ(ObjectInstanceCount(), thunks);
}

TEST(WindowSubclass, ReAddedSubclassesChainOnTopAndRestoreInReverseOrder) {
    const int thunks = ObjectInstanceCount();
    HWND window = MakeWindow(true);
    auto a = Install(window, "a");
    auto b = Install(window, "b");
    EXPECT_FALSE(a->Subclass.IsCurrent());
    EXPECT_TRUE(b->Subclass.IsCurrent());
    EXPECT_TRUE(a->Subclass.Restore());  // out of the middle
    a = Install(window, "a2");
    EXPECT_EQ(Probe(window), (TPath{"a2", "b", "base"}));
    b.reset();  // the destructor restores (from the middle again)
    EXPECT_EQ(Probe(window), (TPath{"a2", "base"}));
    auto c = Install(window, "c");
    EXPECT_EQ(Probe(window), (TPath{"c", "a2", "base"}));
    c.reset();
    a.reset();
    EXPECT_EQ(CurrentProc(window), &BaseProcW);
    EXPECT_EQ(Probe(window), (TPath{"base"}));
    DestroyWindow(window);
    EXPECT_EQ(ObjectInstanceCount(), thunks);
}

TEST(WindowSubclass, AnAnsiWindowIsSubclassedAndRestoredWithTheAnsiCalls) {
    HWND window = MakeWindow(false);
    ASSERT_FALSE(IsWindowUnicode(window));
    auto layer = Install(window, "a");
    EXPECT_FALSE(layer->Subclass.Unicode());
    EXPECT_FALSE(IsWindowUnicode(window)) << "the window must stay an ANSI window";
    const char text[] = "caf\xE9";  // one byte per character, as the ANSI code page has it
    SendMessageA(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    EXPECT_EQ(layer->AnsiText, text);
    EXPECT_EQ(gAnsiTextSeen, text);
    EXPECT_EQ(Probe(window), (TPath{"a", "base"}));
    EXPECT_TRUE(layer->Subclass.Restore());
    EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)), &BaseProcA);
    DestroyWindow(window);
}

// Another module subclasses the window over ours and keeps our thunk as its
// previous procedure. Taking ours out must not cut that module off: ours
// stays as a pass-through (and says so), our object is never called again,
// and the pass-through goes once the module puts it back or the window goes.
TEST(WindowSubclass, AForeignSubclassOverOursKeepsAPassThroughUntilItLetsGo) {
    const int thunks = ObjectInstanceCount();
    const int retired = win::RetiredSubclassCount();
    TraceCapture capture({TTraceChannel::Subclass});
    HWND window = MakeWindow(true);
    auto ours = Install(window, "ours");
    const WNDPROC thunk = ours->Subclass.Procedure();
    SubclassForeign(window);
    EXPECT_FALSE(ours->Subclass.IsCurrent());
    EXPECT_FALSE(ours->Subclass.Restore());
    EXPECT_TRUE(capture.Contains("restore of window " + trace::Address(window) + " refused")) << capture.Text();
    EXPECT_EQ(win::RetiredSubclassCount(), retired + 1);
    ours.reset();
    EXPECT_EQ(CurrentProc(window), &ForeignProc);
    EXPECT_EQ(Probe(window), (TPath{"foreign", "base"}));

    // The module restores by identity: our thunk is the window's procedure again, and goes.
    RestoreForeign(window);
    EXPECT_EQ(CurrentProc(window), thunk);
    win::CollectRetiredSubclasses();
    EXPECT_EQ(CurrentProc(window), &BaseProcW);
    EXPECT_EQ(win::RetiredSubclassCount(), retired);
    EXPECT_EQ(ObjectInstanceCount(), thunks);

    // Refused again, and this time the window goes first.
    ours = Install(window, "ours");
    SubclassForeign(window);
    EXPECT_FALSE(ours->Subclass.Restore());
    ours.reset();
    DestroyWindow(window);
    win::CollectRetiredSubclasses();
    EXPECT_EQ(win::RetiredSubclassCount(), retired);
    EXPECT_EQ(ObjectInstanceCount(), thunks);
}

// Ours, then another module's, then ours again: the lower one is held by the
// foreign procedure and must stay; the upper one restores normally.
TEST(WindowSubclass, OursAroundAForeignOneRestoreWhereTheyCan) {
    const int thunks = ObjectInstanceCount();
    HWND window = MakeWindow(true);
    auto lower = Install(window, "lower");
    SubclassForeign(window);
    auto upper = Install(window, "upper");
    EXPECT_EQ(Probe(window), (TPath{"upper", "foreign", "lower", "base"}));
    EXPECT_FALSE(lower->Subclass.Restore());
    lower.reset();
    EXPECT_EQ(Probe(window), (TPath{"upper", "foreign", "base"}));
    EXPECT_TRUE(upper->Subclass.Restore());
    upper.reset();
    EXPECT_EQ(CurrentProc(window), &ForeignProc);
    RestoreForeign(window);
    win::CollectRetiredSubclasses();
    EXPECT_EQ(CurrentProc(window), &BaseProcW);
    DestroyWindow(window);
    EXPECT_EQ(ObjectInstanceCount(), thunks);
}

TEST(WindowSubclass, AWindowThatIsGoneCannotBeSubclassed) {
    const int thunks = ObjectInstanceCount();
    HWND window = MakeWindow(true);
    DestroyWindow(window);
    Layer layer;
    try {
        win::WindowSubclass subclass(window, TWndMethod::Of<&Layer::Handle>(&layer));
        FAIL() << "no exception";
    } catch (const EOSError& error) {
        EXPECT_EQ(error.ErrorCode(), static_cast<uint32_t>(ERROR_INVALID_WINDOW_HANDLE));
        EXPECT_NE(error.Message().find(SysErrorMessage(ERROR_INVALID_WINDOW_HANDLE)), std::string::npos)
            << error.Message();
    }
    EXPECT_EQ(ObjectInstanceCount(), thunks);
}

// Runs work on a thread of its own while this thread keeps handling the
// messages that thread sends to this thread's windows.
DWORD WINAPI RunWork(void* work) {
    (*static_cast<const std::function<void()>*>(work))();
    return 0;
}

void RunOnOtherThread(const std::function<void()>& work) {
    HANDLE thread = CreateThread(nullptr, 0, RunWork, const_cast<std::function<void()>*>(&work), 0, nullptr);
    ASSERT_NE(thread, nullptr);
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD wait = MsgWaitForMultipleObjects(1, &thread, FALSE, 1000, QS_ALLINPUT);
        if (wait == WAIT_OBJECT_0) break;
        PumpPendingMessages();
        ASSERT_LT(GetTickCount() - start, 20000u) << "the other thread did not finish";
    }
    CloseHandle(thread);
}

struct MessageCounter : TObject {
    int Calls = 0;
    void Handle(TMessage& message) {
        ++Calls;
        message.Result = DefWindowProcW(nullptr, message.Msg, message.WParam, message.LParam);
    }
};

// DeallocateHWnd takes out its own procedure only: another module's
// subclass over the helper window is left alone (its procedure is not freed
// as if it were a thunk) and the object is not called during the destruction.
TEST(UtilWindow, DeallocateLeavesAForeignSubclassAloneAndNeverCallsTheObjectAgain) {
    const int thunks = ObjectInstanceCount();
    TraceCapture capture({TTraceChannel::Thunk, TTraceChannel::Subclass});
    MessageCounter counter;
    HWND window = AllocateHWnd(TWndMethod::Of<&MessageCounter::Handle>(&counter));
    ASSERT_NE(window, nullptr);
    SendMessageW(window, WM_USER, 0, 0);
    EXPECT_EQ(counter.Calls, 1);
    SubclassForeign(window);
    DeallocateHWnd(window);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(counter.Calls, 1) << "the object saw the destruction's messages";
    EXPECT_FALSE(capture.Contains("FreeObjectInstance failed")) << capture.Text();
    EXPECT_EQ(ObjectInstanceCount(), thunks);
}

// A helper window cannot be destroyed from another thread: it stays, but it
// never calls its object again (which may now go), and the failure is traced.
TEST(UtilWindow, AWindowThatOutlivesItsObjectFallsBackToTheDefaultProcedure) {
    TraceCapture capture({TTraceChannel::Subclass});
    auto counter = std::make_unique<MessageCounter>();
    HWND window = AllocateHWnd(TWndMethod::Of<&MessageCounter::Handle>(counter.get()));
    RunOnOtherThread([window] { DeallocateHWnd(window); });
    EXPECT_TRUE(IsWindow(window));
    EXPECT_TRUE(capture.Contains("DestroyWindow failed: " + SysErrorMessage(ERROR_ACCESS_DENIED))) << capture.Text();
    counter.reset();
    EXPECT_EQ(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"still here")), TRUE);
    EXPECT_EQ(CurrentProc(window), &DefWindowProcW);
    DestroyWindow(window);
}

// A control's window that the system refuses to destroy (the call came from
// another thread) stays the control's, and the refusal is raised.
TEST(ControlWindow, ARefusedDestroyRaisesAndKeepsTheWindowBound) {
    HWND host = MakeWindow(true);
    auto* control = new TWinControl(nullptr);
    control->SetParentWindow(host);
    HWND window = control->Handle();
    std::string error;
    RunOnOtherThread([&] {
        try {
            control->DestroyHandle();
        } catch (const EOSError& e) {
            error = e.Message();
        }
    });
    EXPECT_EQ(error, OSErrorText("DestroyWindow", ERROR_ACCESS_DENIED));
    EXPECT_TRUE(control->HandleAllocated());
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(FindControl(window), control);
    EXPECT_FALSE(control->ControlState().Contains(csDestroyingHandle));
    control->DestroyHandle();
    EXPECT_FALSE(IsWindow(window));
    EXPECT_FALSE(control->HandleAllocated());
    delete control;
    DestroyWindow(host);
}

// A control freed on another thread cannot destroy its window: the window is
// detached (no control property, its class's own procedure back) and lives
// on safely; the control's thunk is freed.
TEST(ControlWindow, AControlFreedOnAnotherThreadDetachesItsWindow) {
    const int thunks = ObjectInstanceCount();
    TraceCapture capture({TTraceChannel::Subclass});
    HWND host = MakeWindow(true);
    auto* control = new TWinControl(nullptr);
    control->SetParentWindow(host);
    HWND window = control->Handle();
    RunOnOtherThread([control] { delete control; });
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(FindControl(window), nullptr);
    EXPECT_EQ(CurrentProc(window), &DefWindowProcW);
    EXPECT_TRUE(capture.Contains("window " + trace::Address(window) + " detached")) << capture.Text();
    EXPECT_EQ(ObjectInstanceCount(), thunks);
    EXPECT_EQ(SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"x")), TRUE);
    DestroyWindow(window);
    DestroyWindow(host);
}

// WindowProc replacements of a control, as skinners hold them.
struct ControlLayer : TObject {
    std::string Name;
    TWindowProcSubclass Subclass;
    void Handle(TMessage& message) {
        if (message.Msg == kProbe) gPath.push_back(Name);
        Subclass.CallPrevious(message);
    }
};

std::unique_ptr<ControlLayer> Install(TControl* control, std::string name) {
    auto layer = std::make_unique<ControlLayer>();
    layer->Name = std::move(name);
    layer->Subclass = TWindowProcSubclass(control, TWndMethod::Of<&ControlLayer::Handle>(layer.get()));
    return layer;
}

// Code that replaces WindowProc by hand.
struct RawReplacement : TObject {
    TControl* Control = nullptr;
    TWndMethod Saved;
    void Install(TControl* control) {
        Control = control;
        Saved = control->WindowProc();
        control->SetWindowProc(TWndMethod::Of<&RawReplacement::Handle>(this));
    }
    void Restore() { Control->SetWindowProc(Saved); }
    void Handle(TMessage& message) {
        if (message.Msg == kProbe) gPath.push_back("raw");
        Saved(message);
    }
};

struct ControlChain : ::testing::Test {
    void SetUp() override {
        form = new TForm(nullptr);
        button = new TButton(form);
        button->SetParent(form);
        original = button->WindowProc();
        retired = RetiredWindowProcCount();
    }
    void TearDown() override {
        form->BeforeDestruction();
        delete form;
        PumpPendingMessages();
        EXPECT_EQ(RetiredWindowProcCount(), retired);
    }
    TPath ProbeButton() {
        gPath.clear();
        SendMessageW(button->Handle(), kProbe, 0, 0);  // through the window and the whole chain
        return gPath;
    }
    TForm* form = nullptr;
    TButton* button = nullptr;
    TWndMethod original;
    int retired = 0;
};

TEST_F(ControlChain, TakesOutEachOfThreeInEveryOrderWithoutADanglingObject) {
    std::vector<int> order{0, 1, 2};
    do {
        const std::vector<std::string> names{"a", "b", "c"};
        std::vector<std::unique_ptr<ControlLayer>> layers;
        for (const std::string& name : names) layers.push_back(Install(button, name));
        TPath expected(names.rbegin(), names.rend());
        EXPECT_EQ(ProbeButton(), expected);
        for (int index : order) {
            EXPECT_TRUE(layers[static_cast<size_t>(index)]->Subclass.Restore());
            layers[static_cast<size_t>(index)].reset();
            expected.erase(std::find(expected.begin(), expected.end(), names[static_cast<size_t>(index)]));
            EXPECT_EQ(ProbeButton(), expected);
        }
        EXPECT_EQ(button->WindowProc(), original);
    } while (std::next_permutation(order.begin(), order.end()));
    // Re-added on top after one left the middle.
    auto a = Install(button, "a");
    auto b = Install(button, "b");
    a.reset();
    a = Install(button, "a2");
    EXPECT_EQ(ProbeButton(), (TPath{"a2", "b"}));
    b.reset();
    a.reset();
    EXPECT_EQ(button->WindowProc(), original);
    // The button still works as a button underneath.
    EXPECT_EQ(SendMessageW(button->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_BUTTON, DLGC_BUTTON);
}

TEST_F(ControlChain, AHandReplacementOverOursKeepsAPassThroughUntilItLetsGo) {
    TraceCapture capture({TTraceChannel::Subclass});
    auto ours = Install(button, "ours");
    RawReplacement raw;
    raw.Install(button);
    EXPECT_FALSE(ours->Subclass.IsCurrent());
    EXPECT_FALSE(ours->Subclass.Restore());
    EXPECT_TRUE(capture.Contains("refused")) << capture.Text();
    EXPECT_EQ(RetiredWindowProcCount(), retired + 1);
    ours.reset();
    EXPECT_EQ(ProbeButton(), (TPath{"raw"}));
    // Put back by identity: the pass-through is current, and the next install or restore reclaims it.
    raw.Restore();
    auto other = Install(button, "other");
    EXPECT_EQ(RetiredWindowProcCount(), retired);
    EXPECT_EQ(ProbeButton(), (TPath{"other"}));
    other.reset();
    EXPECT_EQ(button->WindowProc(), original);
}

// The control goes while one subclass is still installed and another is a
// pass-through held by a hand replacement: neither touches the gone control,
// and the pass-through is reclaimed by the next operation (TearDown counts).
TEST_F(ControlChain, AControlThatGoesFirstLeavesItsSubclassesSafe) {
    auto held = Install(button, "held");
    RawReplacement raw;
    raw.Install(button);
    auto top = Install(button, "top");
    EXPECT_FALSE(held->Subclass.Restore());
    EXPECT_EQ(RetiredWindowProcCount(), retired + 1);
    delete button;
    button = nullptr;
    EXPECT_EQ(top->Subclass.Control(), nullptr);
    EXPECT_FALSE(top->Subclass.IsCurrent());
    TMessage message{kProbe, 0, 0, 0};
    top->Subclass.CallPrevious(message);  // nothing left to call: a no-op
    EXPECT_TRUE(top->Subclass.Restore());
    EXPECT_FALSE(top->Subclass);
}

// A hook handle installs, passes calls on, moves and removes its hook; a hook
// the system refuses raises EOSError with the system's reason.
int gCreateWindowCalls = 0;
win::HookHandle* gHook = nullptr;
LRESULT CALLBACK CountingCbtProc(int code, WPARAM wParam, LPARAM lParam) {
    // Only the test's own windows: the system may make helper windows of its own meanwhile.
    wchar_t name[64]{};
    if (code == HCBT_CREATEWND && GetClassNameW(reinterpret_cast<HWND>(wParam), name, 64) &&
        std::wstring(name) == L"QuirnChainTestW")
        ++gCreateWindowCalls;
    return gHook->CallNext(code, wParam, lParam);
}

TEST(HookHandle, InstallsMovesAndRemovesItsHook) {
    TraceCapture capture({TTraceChannel::Hook});
    win::HookHandle hook(WH_CBT, CountingCbtProc, nullptr, GetCurrentThreadId());
    ASSERT_TRUE(hook);
    gHook = &hook;
    EXPECT_TRUE(capture.Contains("hook " + trace::Address(hook.get()) + " of type 5 installed")) << capture.Text();
    gCreateWindowCalls = 0;
    DestroyWindow(MakeWindow(true));
    EXPECT_EQ(gCreateWindowCalls, 1);
    EXPECT_TRUE(capture.Contains("called, code 3")) << capture.Text();

    const HHOOK handle = hook.get();
    win::HookHandle moved(std::move(hook));
    gHook = &moved;
    EXPECT_FALSE(hook);
    EXPECT_EQ(moved.get(), handle);
    hook.reset();  // the moved-from owner removes nothing
    DestroyWindow(MakeWindow(true));
    EXPECT_EQ(gCreateWindowCalls, 2);

    moved.reset();
    EXPECT_FALSE(moved);
    EXPECT_TRUE(capture.Contains("hook " + trace::Address(handle) + " of type 5 removed")) << capture.Text();
    DestroyWindow(MakeWindow(true));
    EXPECT_EQ(gCreateWindowCalls, 2);
    gHook = nullptr;
}

TEST(HookHandle, ARefusedHookRaisesEOSErrorWithTheSystemsReason) {
    constexpr int kNoSuchHookType = 1234;
    for (const auto& [type, thread] :
         {std::pair<int, DWORD>{kNoSuchHookType, GetCurrentThreadId()}, std::pair<int, DWORD>{WH_CBT, 0xFFFFFFF0u}}) {
        try {
            win::HookHandle hook(type, CountingCbtProc, nullptr, thread);
            FAIL() << "hook " << type << " for thread " << thread << " was installed";
        } catch (const EOSError& error) {
            EXPECT_NE(error.ErrorCode(), 0u);
            EXPECT_EQ(error.Message(), OSErrorText("SetWindowsHookEx", error.ErrorCode()));
        }
    }
}

}  // namespace
