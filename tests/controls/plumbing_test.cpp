// Window-procedure thunks, the control window property and the Align
// arithmetic: the plumbing every control stands on.
#include "framework/controls/AlignLayout.h"
#include "framework/controls/Application.h"
#include "framework/controls/ControlAtom.h"
#include "framework/win/ObjectInstance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cwchar>
#include <string>
#include <vector>

#include "TraceCapture.h"

namespace {

struct Recorder : TObject {
    int Id = 0;
    std::vector<UINT> Seen;
    void Handle(TMessage& message) {
        Seen.push_back(message.Msg);
        message.Result = Id * 1000 + static_cast<LRESULT>(message.WParam + message.LParam);
    }
    void Other(TMessage& message) { message.Result = -1; }
};

TEST(ObjectInstance, RoutesEachCallToItsOwnObjectAndMethod) {
    Recorder first, second;
    first.Id = 1;
    second.Id = 2;
    WNDPROC a = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&first));
    WNDPROC b = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&second));
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    EXPECT_NE(a, b);
    EXPECT_EQ(CallWindowProcW(a, nullptr, WM_USER, 3, 4), 1007);
    EXPECT_EQ(CallWindowProcW(b, nullptr, WM_USER + 1, 10, 20), 2030);
    EXPECT_EQ(first.Seen, std::vector<UINT>{WM_USER});
    EXPECT_EQ(second.Seen, std::vector<UINT>{WM_USER + 1});
    EXPECT_TRUE(FreeObjectInstance(a));
    EXPECT_TRUE(FreeObjectInstance(b));
    EXPECT_TRUE(FreeObjectInstance(nullptr));
    EXPECT_THROW(MakeObjectInstance(TWndMethod()), EInvalidOperation);
}

// Several pages of thunks, freed and made again in a scattered order many
// times: every live thunk still reaches its own object, no slot is handed out
// twice, and the count comes back to where it was.
TEST(ObjectInstance, ThunksStayCorrectAcrossPagesAndManyCycles) {
    const int before = ObjectInstanceCount();
    constexpr size_t kCount = 1100;  // more than four pages of either width
    std::vector<Recorder> recorders(kCount);
    for (size_t i = 0; i < kCount; ++i) recorders[i].Id = static_cast<int>(i + 1);
    std::vector<WNDPROC> thunks(kCount);
    for (size_t i = 0; i < kCount; ++i)
        thunks[i] = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorders[i]));
    EXPECT_EQ(ObjectInstanceCount(), before + static_cast<int>(kCount));

    auto checkAll = [&](int cycle) {
        std::vector<WNDPROC> sorted(thunks);
        std::sort(sorted.begin(), sorted.end());
        EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end()) << "a slot handed out twice";
        for (size_t i = 0; i < kCount; ++i) {
            ASSERT_EQ(CallWindowProcW(thunks[i], nullptr, WM_NULL, 2, 3), recorders[i].Id * 1000 + 5)
                << "thunk " << i << " in cycle " << cycle;
        }
    };
    checkAll(0);
    for (int cycle = 1; cycle <= 25; ++cycle) {
        const size_t stride = 2 + static_cast<size_t>(cycle) % 5;
        for (size_t i = static_cast<size_t>(cycle) % stride; i < kCount; i += stride) {
            ASSERT_TRUE(FreeObjectInstance(thunks[i]));
            recorders[i].Id += static_cast<int>(kCount);
            thunks[i] = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorders[i]));
        }
        checkAll(cycle);
    }
    for (WNDPROC thunk : thunks) EXPECT_TRUE(FreeObjectInstance(thunk));
    EXPECT_EQ(ObjectInstanceCount(), before);
}

// The code a thunk runs sits in execute-read pages that nothing can write,
// and neither its object nor its method is stored there: they are in a
// read-write table that cannot be run.
TEST(ObjectInstance, CodeIsExecuteReadOnlyAndTheTableIsNotExecutable) {
    Recorder recorder;
    WNDPROC thunk = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorder));
    MEMORY_BASIC_INFORMATION code{};
    ASSERT_NE(VirtualQuery(reinterpret_cast<const void*>(thunk), &code, sizeof code), 0u);
    EXPECT_EQ(code.Protect, static_cast<DWORD>(PAGE_EXECUTE_READ));
    EXPECT_EQ(code.State, static_cast<DWORD>(MEM_COMMIT));

    const void* data = ObjectInstanceData(thunk);
    ASSERT_NE(data, nullptr);
    MEMORY_BASIC_INFORMATION table{};
    ASSERT_NE(VirtualQuery(data, &table, sizeof table), 0u);
    EXPECT_EQ(table.Protect, static_cast<DWORD>(PAGE_READWRITE));
    constexpr DWORD kExecutable = PAGE_EXECUTE | PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY;
    EXPECT_EQ(table.Protect & kExecutable, 0u);
    EXPECT_NE(code.BaseAddress, table.BaseAddress) << "code and table share a page";

    // The whole code page is free of the object's address.
    const auto* page = static_cast<const uint8_t*>(code.BaseAddress);
    const void* object = &recorder;
    const auto* found = std::search(page, page + code.RegionSize, reinterpret_cast<const uint8_t*>(&object),
                                    reinterpret_cast<const uint8_t*>(&object) + sizeof object);
    EXPECT_EQ(found, page + code.RegionSize) << "the object's address is stored beside the code";
    EXPECT_EQ(CallWindowProcW(thunk, nullptr, WM_USER, 1, 1), 2);
    FreeObjectInstance(thunk);
}

// A second free of the same thunk, a pointer into the middle of one and a
// pointer that is no thunk at all change nothing: each is refused with an
// EOSError-style text on the "thunk" channel, and the slot is not handed out
// twice afterwards.
TEST(ObjectInstance, DoubleAndForeignFreesAreRefusedLoudlyWithoutDamage) {
    const bool strict = ObjectInstanceStrict();
    SetObjectInstanceStrict(false);
    TraceCapture capture({TTraceChannel::Thunk});
    const int before = ObjectInstanceCount();
    Recorder recorder;
    recorder.Id = 7;
    WNDPROC thunk = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorder));
    EXPECT_TRUE(capture.Contains("made " + trace::Address(reinterpret_cast<const void*>(thunk))));
    EXPECT_TRUE(FreeObjectInstance(thunk));
    EXPECT_TRUE(capture.Contains("freed " + trace::Address(reinterpret_cast<const void*>(thunk))));
    EXPECT_EQ(ObjectInstanceState(thunk), TObjectInstanceState::Free);

    EXPECT_FALSE(FreeObjectInstance(thunk));
    EXPECT_TRUE(capture.Contains("FreeObjectInstance failed: " + SysErrorMessage(ERROR_INVALID_HANDLE)))
        << capture.Text();
    const auto middle = reinterpret_cast<WNDPROC>(reinterpret_cast<uintptr_t>(thunk) + 1);
    EXPECT_FALSE(FreeObjectInstance(middle));
    EXPECT_FALSE(FreeObjectInstance(reinterpret_cast<WNDPROC>(&DefWindowProcW)));
    EXPECT_TRUE(capture.Contains("FreeObjectInstance failed: " + SysErrorMessage(ERROR_INVALID_ADDRESS)))
        << capture.Text();
    EXPECT_EQ(ObjectInstanceState(middle), TObjectInstanceState::NotAThunk);
    EXPECT_EQ(ObjectInstanceCount(), before);

    // A slot linked twice into the free list would come out twice here.
    std::vector<WNDPROC> made;
    for (int i = 0; i < 600; ++i) made.push_back(MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorder)));
    std::vector<WNDPROC> sorted(made);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(std::adjacent_find(sorted.begin(), sorted.end()), sorted.end());
    for (WNDPROC p : made) FreeObjectInstance(p);
    EXPECT_EQ(ObjectInstanceCount(), before);
    SetObjectInstanceStrict(strict);
}

// In strict mode (the default of debug builds) a bad free stops the program
// with an assertion instead.
TEST(ObjectInstanceDeathTest, StrictModeStopsTheProgramOnADoubleFree) {
    Recorder recorder;
    WNDPROC thunk = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorder));
    FreeObjectInstance(thunk);
    EXPECT_DEATH(
        {
            SetObjectInstanceStrict(true);
            FreeObjectInstance(thunk);
        },
        "Assertion failed: FreeObjectInstance failed");
}

// A window still calling a thunk its owner freed never reaches the freed
// object: the call goes to DefWindowProc (and is traced). The freed slot is
// not the next one handed out, so a stale call keeps meeting the free state.
TEST(ObjectInstance, ACallThroughAFreedThunkGoesToDefWindowProc) {
    TraceCapture capture({TTraceChannel::Thunk});
    HWND window = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    Recorder recorder;
    WNDPROC thunk = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorder));
    LONG_PTR old = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(thunk));
    SendMessageW(window, WM_USER, 0, 0);
    ASSERT_EQ(recorder.Seen.size(), 1u);
    FreeObjectInstance(thunk);

    WNDPROC next = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorder));
    EXPECT_NE(next, thunk);
    SendMessageW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"stale"));
    wchar_t text[16]{};
    GetWindowTextW(window, text, 16);
    EXPECT_STREQ(text, L"stale");  // DefWindowProcW kept and gave back the text
    EXPECT_EQ(recorder.Seen.size(), 1u);
    EXPECT_TRUE(capture.Contains("call through free thunk " + trace::Address(reinterpret_cast<const void*>(thunk))))
        << capture.Text();
    SetWindowLongPtrW(window, GWLP_WNDPROC, old);
    DestroyWindow(window);
    FreeObjectInstance(next);
}

// A forwarding thunk passes every call on, with the caller's window, to the
// procedure it was given; its object is out of the way.
TEST(ObjectInstance, AForwardingThunkPassesCallsOnWithTheWindow) {
    HWND window = CreateWindowExW(0, L"STATIC", L"text", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    Recorder recorder;
    WNDPROC thunk = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorder));
    auto old = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(thunk)));
    EXPECT_TRUE(ForwardObjectInstance(thunk, old, true));
    EXPECT_EQ(ObjectInstanceState(thunk), TObjectInstanceState::Forwarding);
    wchar_t text[16]{};
    EXPECT_EQ(GetWindowTextW(window, text, 16), 4);  // reached the static control's own procedure
    EXPECT_STREQ(text, L"text");
    EXPECT_TRUE(recorder.Seen.empty());
    EXPECT_FALSE(ForwardObjectInstance(thunk, thunk, true)) << "a thunk forwarding to itself would never return";
    SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(old));
    DestroyWindow(window);
    EXPECT_TRUE(FreeObjectInstance(thunk));
    EXPECT_FALSE(ForwardObjectInstance(thunk, old, true));
}

// WPARAM, LPARAM and LRESULT are pointer-sized: on x86_64 the thunk must carry
// all 64 bits each way, whether called directly, through CallWindowProcW or
// by the system for a real window. The values set bits above the low 32.
struct WideRecorder : TObject {
    WPARAM LastWParam = 0;
    LPARAM LastLParam = 0;
    void Handle(TMessage& message) {
        LastWParam = message.WParam;
        LastLParam = message.LParam;
        message.Result = static_cast<LRESULT>(message.WParam ^ static_cast<WPARAM>(message.LParam));
    }
};

TEST(ObjectInstance, CarriesPointerSizedParametersAndResultWhole) {
    const auto wide = static_cast<WPARAM>(UINT64_C(0xFEDCBA9876543210));
    const auto negative = static_cast<LPARAM>(INT64_C(-0x123456789ABC));
    const auto expected = static_cast<LRESULT>(wide ^ static_cast<WPARAM>(negative));
    WideRecorder recorder;
    WNDPROC thunk = MakeObjectInstance(TWndMethod::Of<&WideRecorder::Handle>(&recorder));
    ASSERT_NE(thunk, nullptr);

    EXPECT_EQ(thunk(nullptr, WM_USER, wide, negative), expected);
    EXPECT_EQ(recorder.LastWParam, wide);
    EXPECT_EQ(recorder.LastLParam, negative);
    EXPECT_EQ(CallWindowProcW(thunk, nullptr, WM_USER, wide, negative), expected);

    HWND window = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    LONG_PTR old = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(thunk));
    EXPECT_EQ(GetWindowLongPtrW(window, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(thunk));
    recorder.LastWParam = 0;
    EXPECT_EQ(SendMessageW(window, WM_APP, wide, negative), expected);
    EXPECT_EQ(recorder.LastWParam, wide);
    EXPECT_EQ(recorder.LastLParam, negative);
    SetWindowLongPtrW(window, GWLP_WNDPROC, old);
    DestroyWindow(window);
    FreeObjectInstance(thunk);
}

// Calls nest through the dispatcher (a method that sends to its own window),
// and a method may free its own thunk during its call: the call still
// completes with its result.
struct NestingRecorder : TObject {
    HWND Window = nullptr;
    WNDPROC Thunk = nullptr;
    int Depth = 0;
    void Handle(TMessage& message) {
        if (message.Msg == WM_APP && message.WParam > 0) {
            ++Depth;
            message.Result = 1 + SendMessageW(Window, WM_APP, message.WParam - 1, 0);
        } else if (message.Msg == WM_APP + 1) {
            FreeObjectInstance(Thunk);
            message.Result = 77;
        }
    }
};

TEST(ObjectInstance, CallsNestAndAMethodMayFreeItsOwnThunk) {
    HWND window = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    NestingRecorder recorder;
    recorder.Window = window;
    recorder.Thunk = MakeObjectInstance(TWndMethod::Of<&NestingRecorder::Handle>(&recorder));
    LONG_PTR old = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(recorder.Thunk));
    EXPECT_EQ(SendMessageW(window, WM_APP, 40, 0), 40);
    EXPECT_EQ(recorder.Depth, 40);
    const int before = ObjectInstanceCount();
    EXPECT_EQ(SendMessageW(window, WM_APP + 1, 0, 0), 77);
    EXPECT_EQ(ObjectInstanceCount(), before - 1);
    SetWindowLongPtrW(window, GWLP_WNDPROC, old);
    DestroyWindow(window);
}

// An exception that escapes the method is stopped at the thunk (the system's
// frames above it are never unwound) and the window keeps working; it is
// reported on the "thunk" channel and to the application's exception handling.
struct ThrowingRecorder : TObject {
    int Calls = 0;
    void Handle(TMessage& message) {
        ++Calls;
        message.Result = 55;
        if (message.Msg == WM_APP + 1) throw EInvalidOperation("method failed");
    }
};

struct ExceptionSink : TObject {
    std::vector<std::string> Reported;
    void OnException(TObject*, const std::exception& error) { Reported.push_back(error.what()); }
};

TEST(ObjectInstance, ExceptionsStopAtTheThunkAndAreReported) {
    ExceptionSink sink;
    const TExceptionEvent previous = Application->OnException();
    Application->SetOnException(TExceptionEvent(&sink, &ExceptionSink::OnException));
    TraceCapture capture({TTraceChannel::Thunk});
    ThrowingRecorder recorder;
    WNDPROC thunk = MakeObjectInstance(TWndMethod::Of<&ThrowingRecorder::Handle>(&recorder));
    ASSERT_NE(thunk, nullptr);
    HWND window = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    LONG_PTR old = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(thunk));
    // The result set before the throw is what the caller gets.
    EXPECT_EQ(SendMessageW(window, WM_APP + 1, 0, 0), 55);
    EXPECT_EQ(SendMessageW(window, WM_APP + 2, 0, 0), 55);
    EXPECT_EQ(thunk(window, WM_APP + 1, 0, 0), 55);
    EXPECT_EQ(recorder.Calls, 3);
    Application->SetOnException(previous);
    EXPECT_EQ(sink.Reported, (std::vector<std::string>{"method failed", "method failed"}));
    EXPECT_TRUE(capture.Contains("exception escaped the method of thunk " +
                                 trace::Address(reinterpret_cast<const void*>(thunk)) +
                                 " at message 0x8001: method failed"))
        << capture.Text();
    SetWindowLongPtrW(window, GWLP_WNDPROC, old);
    DestroyWindow(window);
    FreeObjectInstance(thunk);
}

TEST(Delegate, ComparesByObjectAndMember) {
    Recorder a, b;
    EXPECT_EQ(TWndMethod::Of<&Recorder::Handle>(&a), TWndMethod::Of<&Recorder::Handle>(&a));
    EXPECT_NE(TWndMethod::Of<&Recorder::Handle>(&a), TWndMethod::Of<&Recorder::Handle>(&b));
    EXPECT_NE(TWndMethod::Of<&Recorder::Handle>(&a), TWndMethod::Of<&Recorder::Other>(&a));
    EXPECT_FALSE(TWndMethod{});
    EXPECT_TRUE(TWndMethod::Of<&Recorder::Handle>(&a));
}

TEST(ControlAtom, NameCarriesModuleAndThreadAsHex) {
    const std::wstring& name = ControlAtomString();
    ASSERT_EQ(name.rfind(L"ControlOfs", 0), 0u);
    const std::wstring digits = name.substr(10);
    EXPECT_GE(digits.size(), 16u);
    for (wchar_t c : digits) EXPECT_TRUE(iswdigit(c) || (c >= L'A' && c <= L'F')) << name.c_str();
    wchar_t thread[16];
    swprintf(thread, 16, L"%.8lX", static_cast<unsigned long>(GetCurrentThreadId()));
    EXPECT_EQ(digits.substr(digits.size() - 8), thread);
    EXPECT_NE(ControlAtom(), 0);
    wchar_t atomName[128]{};
    GlobalGetAtomNameW(ControlAtom(), atomName, 128);
    EXPECT_EQ(name, atomName);
}

// The module part of the name is the whole module address: an x86_64 image
// usually loads above 4 GB, and a truncated address would name another
// module's property.
TEST(ControlAtom, NameCarriesTheWholeModuleAddress) {
    const std::wstring& name = ControlAtomString();
    const std::wstring module = name.substr(10, name.size() - 10 - 8);
    EXPECT_GE(module.size(), 8u);
    EXPECT_EQ(std::wcstoull(module.c_str(), nullptr, 16),
              static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(GetModuleHandleW(nullptr))))
        << name.c_str();
}

TEST(ControlAtom, PlainWindowsAndBadHandlesHaveNoControl) {
    EXPECT_EQ(FindControl(nullptr), nullptr);
    EXPECT_EQ(FindControl(reinterpret_cast<HWND>(static_cast<intptr_t>(0x7777))), nullptr);
    HWND window = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(FindControl(window), nullptr);
    auto* marker = reinterpret_cast<TWinControl*>(static_cast<intptr_t>(0x1234));
    SetWindowControl(window, marker);
    EXPECT_EQ(FindControl(window), marker);
    // The property is found by its name as well as by its atom.
    EXPECT_EQ(GetPropW(window, ControlAtomString().c_str()), reinterpret_cast<HANDLE>(marker));
    // The property holds a pointer whole (bits above the low 32 on x86_64).
    auto* wide = reinterpret_cast<TWinControl*>(static_cast<uintptr_t>(UINT64_C(0x7EDCBA9876543210)));
    SetWindowControl(window, wide);
    EXPECT_EQ(FindControl(window), wide);
    SetWindowControl(window, nullptr);
    EXPECT_EQ(FindControl(window), nullptr);
    DestroyWindow(window);
    EXPECT_EQ(FindControl(window), nullptr);
}

// The main form of the program: three group boxes aligned to the top in the
// order of their stored Top (not of their creation) and a bottom status bar.
TEST(AlignLayout, TopControlsStackInTheOrderOfTheirStoredTop) {
    const TLayoutBounds client{0, 0, 347, 278};
    const std::vector<TAlignItem> items{
        {alTop, {0, 0, 347, 109}},      // GroupBox1
        {alTop, {0, 150, 347, 105}},    // GroupBox2
        {alTop, {0, 109, 347, 41}},     // GroupBox3
        {alBottom, {0, 255, 347, 23}},  // StatusBar1
    };
    const auto placed = AlignLayout(client, items);
    EXPECT_EQ(placed[0], (TLayoutBounds{0, 0, 347, 109}));
    EXPECT_EQ(placed[2], (TLayoutBounds{0, 109, 347, 41}));
    EXPECT_EQ(placed[1], (TLayoutBounds{0, 150, 347, 105}));
    EXPECT_EQ(placed[3], (TLayoutBounds{0, 255, 347, 23}));

    // Stored tops that leave gaps or overlap are closed up in their order.
    const auto squeezed = AlignLayout(client, {{alTop, {5, 90, 10, 20}}, {alTop, {0, 3, 50, 30}}});
    EXPECT_EQ(squeezed[1], (TLayoutBounds{0, 0, 347, 30}));
    EXPECT_EQ(squeezed[0], (TLayoutBounds{0, 30, 347, 20}));
}

TEST(AlignLayout, SidesThenClientShareTheRemainingArea) {
    const TLayoutBounds client{2, 14, 100, 80};
    const std::vector<TAlignItem> items{
        {alClient, {0, 0, 5, 5}},   {alLeft, {40, 0, 10, 5}}, {alLeft, {0, 0, 20, 5}}, {alRight, {70, 0, 15, 5}},
        {alBottom, {0, 60, 5, 10}}, {alNone, {7, 8, 9, 10}},  {alTop, {0, 0, 5, 4}},
    };
    const auto placed = AlignLayout(client, items);
    EXPECT_EQ(placed[6], (TLayoutBounds{2, 14, 100, 4}));
    EXPECT_EQ(placed[4], (TLayoutBounds{2, 84, 100, 10}));
    EXPECT_EQ(placed[2], (TLayoutBounds{2, 18, 20, 66}));
    EXPECT_EQ(placed[1], (TLayoutBounds{22, 18, 10, 66}));
    EXPECT_EQ(placed[3], (TLayoutBounds{87, 18, 15, 66}));
    EXPECT_EQ(placed[0], (TLayoutBounds{32, 18, 55, 66}));
    EXPECT_EQ(placed[5], (TLayoutBounds{7, 8, 9, 10}));
}

TEST(AlignLayout, OverfullAreaNeverInvertsTheClientRemainder) {
    const auto placed =
        AlignLayout({0, 0, 50, 30}, {{alTop, {0, 0, 1, 20}}, {alBottom, {0, 0, 1, 25}}, {alClient, {0, 0, 1, 1}}});
    EXPECT_EQ(placed[0], (TLayoutBounds{0, 0, 50, 20}));
    EXPECT_EQ(placed[1].Height, 25);
    EXPECT_EQ(placed[2].Height, 0);
    EXPECT_GE(placed[2].Width, 0);
}

}  // namespace
