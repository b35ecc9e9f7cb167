// wincapture: waits for a top-level window with a given title, saves a
// 24-bit BMP of that window (or of the whole desktop) as the screen shows it,
// and optionally asks the window to close. Used by tools/screenshot.
//
//   wincapture --title TITLE --out FILE.bmp [--desktop] [--timeout SECONDS]
//              [--settle MILLISECONDS] [--close]
//
// Exit codes: 0 saved, 1 window not found in time, 2 bad usage, 3 capture failed.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

constexpr DWORD kPollIntervalMs = 100;
constexpr int kDefaultTimeoutSeconds = 30;
constexpr int kDefaultSettleMs = 700;

struct Options {
    std::wstring title;
    std::wstring out;
    bool desktop = false;
    bool close = false;
    int timeoutSeconds = kDefaultTimeoutSeconds;
    int settleMs = kDefaultSettleMs;
};

bool ParseOptions(int argc, wchar_t** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        std::wstring arg = argv[i];
        auto next = [&]() -> const wchar_t* { return i + 1 < argc ? argv[++i] : nullptr; };
        if (arg == L"--title") {
            if (auto v = next())
                options.title = v;
            else
                return false;
        } else if (arg == L"--out") {
            if (auto v = next())
                options.out = v;
            else
                return false;
        } else if (arg == L"--timeout") {
            if (auto v = next())
                options.timeoutSeconds = _wtoi(v);
            else
                return false;
        } else if (arg == L"--settle") {
            if (auto v = next())
                options.settleMs = _wtoi(v);
            else
                return false;
        } else if (arg == L"--desktop") {
            options.desktop = true;
        } else if (arg == L"--close") {
            options.close = true;
        } else {
            return false;
        }
    }
    return !options.title.empty() && !options.out.empty();
}

HWND WaitForVisibleWindow(const std::wstring& title, int timeoutSeconds) {
    const DWORD deadline = GetTickCount() + static_cast<DWORD>(timeoutSeconds) * 1000;
    for (;;) {
        HWND window = FindWindowW(nullptr, title.c_str());
        if (window && IsWindowVisible(window)) return window;
        if (static_cast<LONG>(GetTickCount() - deadline) >= 0) return nullptr;
        Sleep(kPollIntervalMs);
    }
}

// Copies a screen rectangle into a bottom-up 24-bit DIB and writes it as BMP.
bool SaveScreenRect(const RECT& rect, const std::wstring& path) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) return false;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;

    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    void* bits = nullptr;
    HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bool ok = false;
    if (memory && dib) {
        HGDIOBJ old = SelectObject(memory, dib);
        ok = BitBlt(memory, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY) != FALSE;
        GdiFlush();
        SelectObject(memory, old);
    }
    if (ok) {
        const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
        const DWORD imageSize = stride * static_cast<DWORD>(height);
        BITMAPFILEHEADER file{};
        file.bfType = 0x4D42;  // "BM"
        file.bfOffBits = sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER);
        file.bfSize = file.bfOffBits + imageSize;
        info.bmiHeader.biSizeImage = imageSize;
        FILE* out = _wfopen(path.c_str(), L"wb");
        ok = out && fwrite(&file, sizeof file, 1, out) == 1 &&
             fwrite(&info.bmiHeader, sizeof info.bmiHeader, 1, out) == 1 &&
             fwrite(bits, 1, imageSize, out) == imageSize;
        if (out && fclose(out) != 0) ok = false;
    }
    if (dib) DeleteObject(dib);
    if (memory) DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        fwprintf(stderr,
                 L"usage: wincapture --title TITLE --out FILE.bmp [--desktop] [--timeout S] "
                 L"[--settle MS] [--close]\n");
        return 2;
    }
    HWND window = WaitForVisibleWindow(options.title, options.timeoutSeconds);
    if (!window) {
        fwprintf(stderr, L"wincapture: no visible window titled \"%ls\"\n", options.title.c_str());
        return 1;
    }
    SetForegroundWindow(window);
    Sleep(static_cast<DWORD>(options.settleMs));  // let the program finish its first paints

    RECT rect{};
    if (options.desktop) {
        rect.right = GetSystemMetrics(SM_CXSCREEN);
        rect.bottom = GetSystemMetrics(SM_CYSCREEN);
    } else {
        GetWindowRect(window, &rect);
    }
    const bool saved = SaveScreenRect(rect, options.out);
    if (options.close) PostMessageW(window, WM_CLOSE, 0, 0);
    if (!saved) {
        fwprintf(stderr, L"wincapture: could not save %ls\n", options.out.c_str());
        return 3;
    }
    wprintf(L"%ld %ld %ld %ld\n", rect.left, rect.top, rect.right, rect.bottom);
    return 0;
}
