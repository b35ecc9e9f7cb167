// Smoke test of the Windows build under Wine: a real window is created and
// painted, and its pixels are read back through GDI. Run with
// "--show TITLE" it instead shows a window with that caption until closed
// (used by the screenshot tool's own test).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

constexpr COLORREF kFill = RGB(0x20, 0x80, 0xC0);
constexpr COLORREF kMark = RGB(0xF0, 0x30, 0x10);
constexpr int kClientSize = 200;
constexpr RECT kMarkRect{50, 60, 90, 100};
const wchar_t* const kClassName = L"QuirnSmokeWindow";

LRESULT CALLBACK SmokeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = BeginPaint(window, &paint);
        HBRUSH fill = CreateSolidBrush(kFill);
        HBRUSH mark = CreateSolidBrush(kMark);
        RECT client;
        GetClientRect(window, &client);
        FillRect(dc, &client, fill);
        FillRect(dc, &kMarkRect, mark);
        SetBkMode(dc, TRANSPARENT);
        // The main window's font: the prefix substitutes a CJK face for it.
        HFONT font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, 0, 0, 0, 0, L"宋体");
        HGDIOBJ oldFont = SelectObject(dc, font);
        TextOutW(dc, 10, 10, L"Quirn编码查询器", 11);
        SelectObject(dc, oldFont);
        DeleteObject(font);
        DeleteObject(mark);
        DeleteObject(fill);
        EndPaint(window, &paint);
        return 0;
    }
    case WM_DESTROY:
        if (GetPropW(window, L"QuirnQuitOnDestroy")) PostQuitMessage(0);
        RemovePropW(window, L"QuirnQuitOnDestroy");
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterSmokeClass() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = SmokeProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassW(&wc);
}

HWND CreateSmokeWindow(const wchar_t* title) {
    RECT frame{0, 0, kClientSize, kClientSize};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, FALSE);
    return CreateWindowW(kClassName, title, WS_OVERLAPPEDWINDOW, 100, 100, frame.right - frame.left,
                         frame.bottom - frame.top, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

void PumpPending() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(SmokeWindow, PaintedPixelsReadBack) {
    RegisterSmokeClass();
    HWND window = CreateSmokeWindow(L"Smoke");
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    PumpPending();

    HDC dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, 5, 150), kFill);
    EXPECT_EQ(GetPixel(dc, kMarkRect.left, kMarkRect.top), kMark);
    EXPECT_EQ(GetPixel(dc, kMarkRect.right - 1, kMarkRect.bottom - 1), kMark);
    EXPECT_EQ(GetPixel(dc, kMarkRect.right, kMarkRect.bottom), kFill);
    ReleaseDC(window, dc);

    RECT client;
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, kClientSize);
    EXPECT_EQ(client.bottom, kClientSize);
    DestroyWindow(window);
}

TEST(SmokeWindow, NonClientAreaIsDrawnAroundTheClient) {
    RegisterSmokeClass();
    HWND window = CreateSmokeWindow(L"Frame");
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNORMAL);
    UpdateWindow(window);
    PumpPending();
    RECT outer, client;
    GetWindowRect(window, &outer);
    GetClientRect(window, &client);
    // A captioned, sizable window is larger than its client on every side.
    EXPECT_GT(outer.right - outer.left, client.right);
    EXPECT_GT(outer.bottom - outer.top, client.bottom + GetSystemMetrics(SM_CYCAPTION) - 1);
    DestroyWindow(window);
}

int ShowUntilClosed(const wchar_t* title) {
    RegisterSmokeClass();
    HWND window = CreateSmokeWindow(title);
    if (!window) return 1;
    SetPropW(window, L"QuirnQuitOnDestroy", reinterpret_cast<HANDLE>(1));
    ShowWindow(window, SW_SHOWNORMAL);
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3 && std::wstring(argv[1]) == L"--show") return ShowUntilClosed(argv[2]);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
