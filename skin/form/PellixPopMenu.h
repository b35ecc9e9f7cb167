// TPellixPopMenu: the skinner of one open popup-menu window (class "#32768"). The skin manager keeps
// one per open menu window in its list; the window layer of the skinned popup menus builds on this.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/graphics/Bitmap.h"

class TSkinData;

class TPellixPopMenu {
public:
    TPellixPopMenu(HWND Window, TSkinData* SkinData) : FHandle(Window), FSkinData(SkinData) {}
    virtual ~TPellixPopMenu() = default;
    TPellixPopMenu(const TPellixPopMenu&) = delete;
    TPellixPopMenu& operator=(const TPellixPopMenu&) = delete;

    HWND FHandle = nullptr;                // the menu window
    TSkinData* FSkinData = nullptr;        // not owned
    HMENU FMenuHandle = nullptr;           // the menu it shows, once known
    bool FFromMenuBar = false;             // opened from a skinned menu bar
    std::unique_ptr<TBitmap> FDrawBitmap;  // what it paints into, when it has painted
};
