// The skin data unit's services and its optional user32 entry points.
#include "skin/data/SkinServices.h"

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
Proc EntryPoint(HMODULE Module, const char* Name) {
    // GetProcAddress gives a generic function pointer; the entry's real type is known.
    return Module ? reinterpret_cast<Proc>(reinterpret_cast<void*>(GetProcAddress(Module, Name))) : nullptr;
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

bool SafeGetScrollBarInfo(HWND Window, LONG ObjectId, SCROLLBARINFO& Info) {
    if (GetScrollBarInfoEntry == nullptr) return false;
    return GetScrollBarInfoEntry(Window, ObjectId, &Info) != FALSE;
}

void TrackMouseLeave(HWND Window) {
    if (TrackMouseEventEntry == nullptr) return;
    TRACKMOUSEEVENT Track{};
    Track.cbSize = sizeof(Track);
    Track.dwFlags = TME_LEAVE;
    Track.hwndTrack = Window;
    TrackMouseEventEntry(&Track);
}

std::wstring AnsiToWide(std::string_view Text) {
    if (Text.empty()) return {};
    const int Source = static_cast<int>(Text.size());
    const int Length = MultiByteToWideChar(CP_ACP, 0, Text.data(), Source, nullptr, 0);
    if (Length <= 0) return {};
    std::wstring Wide(static_cast<size_t>(Length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, Text.data(), Source, Wide.data(), Length);
    return Wide;
}

std::wstring WideFromBuffer(const wchar_t* Chars, int32_t Count) {
    if (Chars == nullptr) return {};
    if (Count < 0) return std::wstring(Chars);
    return std::wstring(Chars, static_cast<size_t>(Count));
}

int DrawTextWide(HDC DC, std::wstring_view Text, RECT& Rect, UINT Format) {
    if (IsNTPlatform()) return DrawTextW(DC, Text.data(), static_cast<int>(Text.size()), &Rect, Format);
    const int Source = static_cast<int>(Text.size());
    const int Length = WideCharToMultiByte(CP_ACP, 0, Text.data(), Source, nullptr, 0, nullptr, nullptr);
    std::string Ansi(static_cast<size_t>(Length > 0 ? Length : 0), '\0');
    if (Length > 0) WideCharToMultiByte(CP_ACP, 0, Text.data(), Source, Ansi.data(), Length, nullptr, nullptr);
    return DrawTextA(DC, Ansi.c_str(), -1, &Rect, Format);
}

TWinControl* WindowControl(HWND Window) {
    if (Window == nullptr) return nullptr;
    return FindControl(Window);
}

HINSTANCE SkinResourceInstance() {
    HMODULE Module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&SkinResourceInstance), &Module);
    return Module;
}

namespace {

// A font of the non-client metrics (the caption's or the menus'); the framework's default font when
// the system gives none.
std::unique_ptr<TFont> CreateNonClientFont(LOGFONTA NONCLIENTMETRICSA::*Which) {
    auto Font = std::make_unique<TFont>();
    NONCLIENTMETRICSA Metrics{};
    Metrics.cbSize = NonClientMetricsSize;
    if (SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, 0, &Metrics, 0))
        Font->SetHandle(CreateFontIndirectA(&(Metrics.*Which)));
    return Font;
}

}  // namespace

std::unique_ptr<TFont> CreateSystemCaptionFont() { return CreateNonClientFont(&NONCLIENTMETRICSA::lfCaptionFont); }

std::unique_ptr<TFont> CreateSystemMenuFont() { return CreateNonClientFont(&NONCLIENTMETRICSA::lfMenuFont); }

HICON WindowIconOf(HWND Window) {
    if (Window == nullptr) return nullptr;
    auto Icon = reinterpret_cast<HICON>(SendMessageW(Window, WM_GETICON, ICON_SMALL, 0));
    if (Icon == nullptr) Icon = reinterpret_cast<HICON>(SendMessageW(Window, WM_GETICON, ICON_BIG, 0));
    return Icon;
}

void PaintIconPicture(TBitmap& Picture, HICON Icon) {
    const int Width = Picture.Width();
    const int Height = Picture.Height();
    Picture.Canvas().Brush().SetColor(SkinTransparentColor);
    Picture.Canvas().FillRect(RECT{0, 0, Width, Height});
    if (Icon == nullptr) return;
    win::IconHandle Copy(static_cast<HICON>(CopyImage(Icon, IMAGE_ICON, Width, Height, LR_COPYFROMRESOURCE)));
    if (Copy) DrawIconEx(Picture.Canvas().Handle(), 0, 0, Copy.get(), Width, Height, 0, nullptr, DI_NORMAL);
}
