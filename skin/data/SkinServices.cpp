// The skin data unit's services and its optional user32 entry points.
#include "skin/data/SkinServices.h"

#include <algorithm>

#include <vector>

#include "framework/controls/ControlAtom.h"
#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Font.h"
#include "framework/win/GdiObject.h"
#include "skin/data/ImgUtil.h"
#include "skin/data/WindowsVersion.h"

TGetScrollBarInfoProc GetScrollBarInfoEntry = nullptr;
TTrackMouseEventProc TrackMouseEventEntry = nullptr;
TGetComboBoxInfoProc GetComboBoxInfoEntry = nullptr;

namespace {

// The non-client metrics as the caption font is read from them (the layout of the system versions
// before the padded border width).
constexpr UINT NonClientMetricsSize = 340;

template <typename Proc>
Proc EntryPoint(HMODULE module, const char* name) {
    // GetProcAddress gives a generic function pointer; the entry's real type is known.
    return module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}

// Unit start-up and shut-down: the library is held while the unit lives.
struct TUser32Entries {
    HMODULE Module = LoadLibraryA("user32.dll");
    TUser32Entries() {
        GetScrollBarInfoEntry = EntryPoint<TGetScrollBarInfoProc>(Module, "GetScrollBarInfo");
        TrackMouseEventEntry = EntryPoint<TTrackMouseEventProc>(Module, "TrackMouseEvent");
        GetComboBoxInfoEntry = EntryPoint<TGetComboBoxInfoProc>(Module, "GetComboBoxInfo");
    }
    ~TUser32Entries() {
        GetScrollBarInfoEntry = nullptr;
        TrackMouseEventEntry = nullptr;
        GetComboBoxInfoEntry = nullptr;
        if (Module) FreeLibrary(Module);
    }
} User32Entries;

}  // namespace

bool SafeGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info) {
    if (GetScrollBarInfoEntry == nullptr) return false;
    return GetScrollBarInfoEntry(window, objectId, &info) != FALSE;
}

void TrackMouseLeave(HWND window) {
    if (TrackMouseEventEntry == nullptr) return;
    TRACKMOUSEEVENT track{};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = window;
    TrackMouseEventEntry(&track);
}

std::wstring AnsiToWide(std::string_view text) {
    if (text.empty()) return {};
    const int source = static_cast<int>(text.size());
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), source, nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), source, wide.data(), length);
    return wide;
}

std::wstring WideFromBuffer(const wchar_t* chars, int32_t count) {
    if (chars == nullptr) return {};
    if (count < 0) return std::wstring(chars);
    return std::wstring(chars, static_cast<size_t>(count));
}

int DrawTextWide(HDC dc, std::wstring_view text, RECT& rect, UINT format) {
    if (IsNTPlatform()) return DrawTextW(dc, text.data(), static_cast<int>(text.size()), &rect, format);
    const int source = static_cast<int>(text.size());
    const int length = WideCharToMultiByte(CP_ACP, 0, text.data(), source, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<size_t>(length > 0 ? length : 0), '\0');
    if (length > 0) WideCharToMultiByte(CP_ACP, 0, text.data(), source, ansi.data(), length, nullptr, nullptr);
    return DrawTextA(dc, ansi.c_str(), -1, &rect, format);
}

std::wstring GetWindowTextWide(HWND window) {
    if (window == nullptr) return {};
    if (IsNTPlatform()) {
        const int length = GetWindowTextLengthW(window);
        std::wstring text(static_cast<size_t>(std::max(length, 0)) + 1, L'\0');
        const int read = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
        text.resize(static_cast<size_t>(std::clamp(read, 0, std::max(length, 0))));
        return text;
    }
    std::string buffer(WindowTextAnsiChars, '\0');
    const LRESULT read = SendMessageA(window, WM_GETTEXT, WindowTextAnsiChars, reinterpret_cast<LPARAM>(buffer.data()));
    buffer.resize(static_cast<size_t>(std::clamp<LRESULT>(read, 0, WindowTextAnsiChars - 1)));
    return AnsiToWide(buffer);
}

TWinControl* WindowControl(HWND window) {
    if (window == nullptr) return nullptr;
    return FindControl(window);
}

HINSTANCE SkinResourceInstance() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&SkinResourceInstance), &module);
    return module;
}

namespace {

// A font of the non-client metrics (the caption's or the menus'); the framework's default font when
// the system gives none.
std::unique_ptr<TFont> CreateNonClientFont(LOGFONTA NONCLIENTMETRICSA::*which) {
    auto font = std::make_unique<TFont>();
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = NonClientMetricsSize;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &metrics, 0))
        font->SetHandle(CreateFontIndirectA(&(metrics.*which)));
    return font;
}

}  // namespace

std::unique_ptr<TFont> CreateSystemCaptionFont() { return CreateNonClientFont(&NONCLIENTMETRICSA::lfCaptionFont); }

std::unique_ptr<TFont> CreateSystemMenuFont() { return CreateNonClientFont(&NONCLIENTMETRICSA::lfMenuFont); }

HICON WindowIconOf(HWND window) {
    if (window == nullptr) return nullptr;
    auto icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_SMALL, 0));
    if (icon == nullptr) icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, ICON_BIG, 0));
    return icon;
}

void PaintIconPicture(TBitmap& picture, HICON icon) {
    const int width = picture.Width();
    const int height = picture.Height();
    picture.Canvas().Brush().SetColor(SkinTransparentColor);
    picture.Canvas().FillRect(RECT{0, 0, width, height});
    if (icon == nullptr) return;
    win::IconHandle copy(static_cast<HICON>(CopyImage(icon, IMAGE_ICON, width, height, LR_COPYFROMRESOURCE)));
    if (copy) DrawIconEx(picture.Canvas().Handle(), 0, 0, copy.get(), width, height, 0, nullptr, DI_NORMAL);
}
