// Text and window services of the skin data unit used across the engine:
// the optional user32 entry points, scroll-bar information, mouse-leave
// tracking, ANSI to wide text, wide text drawing and the framework control
// of a window.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TBitmap;
class TFont;
class TWinControl;

// Optional user32 entry points, resolved once at start-up; null on systems
// without them. The combo-box skinner reads GetComboBoxInfoEntry directly.
using TGetScrollBarInfoProc = BOOL(WINAPI*)(HWND, LONG, PSCROLLBARINFO);
using TTrackMouseEventProc = BOOL(WINAPI*)(LPTRACKMOUSEEVENT);
using TGetComboBoxInfoProc = BOOL(WINAPI*)(HWND, PCOMBOBOXINFO);
extern TGetScrollBarInfoProc GetScrollBarInfoEntry;
extern TTrackMouseEventProc TrackMouseEventEntry;
extern TGetComboBoxInfoProc GetComboBoxInfoEntry;

// GetScrollBarInfo through the loaded entry point; false without it.
bool SafeGetScrollBarInfo(HWND window, LONG objectId, SCROLLBARINFO& info);
// Asks for WM_MOUSELEAVE on Window; nothing on systems without the entry.
void TrackMouseLeave(HWND window);
// ANSI text of the system code page as wide text.
std::wstring AnsiToWide(std::string_view text);
// The zero-terminated text at Chars (Count -1), else its first Count characters.
std::wstring WideFromBuffer(const wchar_t* chars, int32_t count);
// Draws wide text (DrawTextW on the NT family, the ANSI text elsewhere).
int DrawTextWide(HDC dc, std::wstring_view text, RECT& rect, UINT format);
// A window's text, wide: GetWindowTextW on the NT family; elsewhere WM_GETTEXT (at most
// WindowTextAnsiChars characters) converted from the ANSI code page.
std::wstring GetWindowTextWide(HWND window);
constexpr int32_t WindowTextAnsiChars = 1000;
// The framework control of a window handle; nullptr for none or a null window.
TWinControl* WindowControl(HWND window);
// The module whose bitmap resources the skin falls back to.
HINSTANCE SkinResourceInstance();

// The system's caption font (lfCaptionFont of the non-client metrics); the framework's default font
// when the system gives none.
std::unique_ptr<TFont> CreateSystemCaptionFont();
// The system's menu font (lfMenuFont), the screen's menu font of the menu painters; the framework's
// default font when the system gives none.
std::unique_ptr<TFont> CreateSystemMenuFont();
// A window's small icon (WM_GETICON ICON_SMALL, else ICON_BIG); null when it has none. Not owned.
HICON WindowIconOf(HWND window);
// Fills picture with the transparent key (magenta) and draws a copy of icon scaled to its size on it.
void PaintIconPicture(TBitmap& picture, HICON icon);
