// Window-procedure thunks, the control window property and the Align
// arithmetic: the plumbing every control stands on.
#include "framework/controls/AlignLayout.h"
#include "framework/controls/ControlAtom.h"
#include "framework/controls/ObjectInstance.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cwchar>
#include <vector>

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
    FreeObjectInstance(a);
    FreeObjectInstance(b);
}

TEST(ObjectInstance, FreedSlotsAreReusedAndCountStaysFlat) {
    const int before = ObjectInstanceCount();
    Recorder recorder;
    recorder.Id = 3;
    std::vector<WNDPROC> made;
    for (int i = 0; i < 500; ++i) made.push_back(MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorder)));
    EXPECT_EQ(ObjectInstanceCount(), before + 500);
    for (WNDPROC p : made) EXPECT_EQ(CallWindowProcW(p, nullptr, WM_NULL, 1, 1), 3002);
    for (WNDPROC p : made) FreeObjectInstance(p);
    EXPECT_EQ(ObjectInstanceCount(), before);
    FreeObjectInstance(nullptr);
    EXPECT_EQ(ObjectInstanceCount(), before);
}

TEST(ObjectInstance, SubclassesARealWindowWithTheThunk) {
    HWND window = CreateWindowExW(0, L"STATIC", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    Recorder recorder;
    recorder.Id = 4;
    WNDPROC thunk = MakeObjectInstance(TWndMethod::Of<&Recorder::Handle>(&recorder));
    LONG_PTR old = SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(thunk));
    EXPECT_EQ(SendMessageW(window, WM_APP + 7, 5, 6), 4011);
    SetWindowLongPtrW(window, GWLP_WNDPROC, old);
    DestroyWindow(window);
    FreeObjectInstance(thunk);
    EXPECT_EQ(recorder.Seen.front(), static_cast<UINT>(WM_APP + 7));
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

// An exception that escapes the method is stopped at the thunk (the system's
// frames above it are never unwound) and the window keeps working.
struct ThrowingRecorder : TObject {
    int Calls = 0;
    void Handle(TMessage& message) {
        ++Calls;
        message.Result = 55;
        if (message.Msg == WM_APP + 1) throw EInvalidOperation("method failed");
    }
};

TEST(ObjectInstance, ExceptionsStopAtTheThunk) {
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
