// Owning wrappers of USER handles other than windows: cursors and menus the code made itself, and a
// borrowed (non-owning) view of a menu that the system or another object owns.
#pragma once

#include <windows.h>

#include "framework/win/GdiObject.h"

namespace win {

// How UniqueHandle frees a cursor made by CreateCursor, CreateIconIndirect or LoadImage without
// LR_SHARED. A shared cursor (LoadCursor, LoadImage with LR_SHARED) belongs to the system: it is
// used as a plain HCURSOR and never put in a CursorHandle.
struct CursorTraits {
    using Handle = HCURSOR;
    static void Release(HCURSOR handle) noexcept { ::DestroyCursor(handle); }
};

// How UniqueHandle frees a menu made by CreateMenu or CreatePopupMenu. DestroyMenu also destroys
// the submenus its entries still show, so an owner detaches those entries first.
struct MenuTraits {
    using Handle = HMENU;
    static void Release(HMENU handle) noexcept { ::DestroyMenu(handle); }
};

// CursorHandle: a cursor this code made, destroyed when the owner goes.
using CursorHandle = UniqueHandle<CursorTraits>;

// MenuHandle: a menu this code made, destroyed when the owner goes. A menu shown by a window with
// SetMenu is destroyed by the system with that window unless it is taken off (SetMenu(window,
// nullptr)) first.
using MenuHandle = UniqueHandle<MenuTraits>;

// MenuView: a menu borrowed from its owner (a MenuHandle, a window's menu bar, the system menu);
// it never destroys it.
class MenuView {
public:
    MenuView() noexcept = default;
    explicit MenuView(HMENU menu) noexcept : FHandle(menu) {}
    MenuView(const MenuHandle& owner) noexcept : FHandle(owner.get()) {}  // NOLINT: a view of the owner

    [[nodiscard]] HMENU get() const noexcept { return FHandle; }
    explicit operator bool() const noexcept { return FHandle != nullptr; }
    friend bool operator==(MenuView, MenuView) = default;

private:
    HMENU FHandle = nullptr;
};

}  // namespace win
