// TPellixPopMenu: the skinner of one open popup-menu window (class "#32768"). It subclasses the
// window and paints its frame and background from the skin's "MenuBackground" element; the items
// are drawn over that background by the system or, for owner-drawn items, by the form skinner's
// item painters, which take their background from this skinner's buffer.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/controls/Messages.h"
#include "framework/graphics/Bitmap.h"
#include "skin/form/WindowSubclass.h"

class TSkinData;

// The client area of a menu window lies this far inside its window rectangle on every side.
constexpr int32_t PopupMenuFrameWidth = 3;

class TPellixPopMenu {
public:
    TPellixPopMenu() = default;
    ~TPellixPopMenu() { Detach(); }
    TPellixPopMenu(const TPellixPopMenu&) = delete;
    TPellixPopMenu& operator=(const TPellixPopMenu&) = delete;

    // Subclasses the menu window; false when the system refused (the window stays the system's).
    bool Attach(HWND menuWindow, TSkinData* skinData, HMENU menu);
    // Gives the window its procedure back and empties the buffer (nothing when not attached).
    void Detach();
    void WndProc(TMessage& message);
    void CallOldProc(TMessage& message);
    bool Attached() const { return FSubclass.Installed(); }
    // Where the menu's client area (the item rectangles' origin) lies in FBuffer.
    POINT ClientOffset() const;

    HWND FHandle = nullptr;                                          // the menu window
    TSkinData* FSkinData = nullptr;                                  // not owned
    HMENU FMenuHandle = nullptr;                                     // the menu it shows, once known
    bool FFromMenuBar = false;                                       // opened from a skinned menu bar
    std::unique_ptr<TBitmap> FBuffer = std::make_unique<TBitmap>();  // the composed background

private:
    // Whether the skin has a menu background to paint.
    bool CanPaint() const;
    // Composes FBuffer for the window's size; false when nothing could be composed.
    bool ComposeBuffer();
    // The menu shown, asked of the window when nobody told it yet.
    void LearnMenu();
    void PaintFrame();
    // Paints the frame ring again after the system painted the window: some systems draw their own
    // border inside the menu's client area.
    void PaintFrameRing();
    void PrintTo(TMessage& message);

    TWindowSubclass FSubclass;  // FOldWndProc and FObjectInstance
};
