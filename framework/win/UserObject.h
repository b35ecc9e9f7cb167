// Owning wrappers of USER handles other than windows: cursors and menus the code made itself, and a
// borrowed (non-owning) view of a menu that the system or another object owns.
#pragma once

#include <windows.h>

#include "framework/win/GdiObject.h"

namespace win {

// CursorHandle: a cursor this code made (CreateCursor, CreateIconIndirect, LoadImage without
// LR_SHARED), destroyed when the owner goes. A shared cursor (LoadCursor, LoadImage with LR_SHARED)
// belongs to the system: it is used as a plain HCURSOR and never put in a CursorHandle.
using CursorHandle = UniqueHandle<ReleasedBy<HCURSOR, ::DestroyCursor>>;

// MenuHandle: a menu this code made (CreateMenu, CreatePopupMenu), destroyed when the owner goes.
// DestroyMenu also destroys the submenus its entries still show, so an owner detaches those entries
// first; and the system destroys a menu a window shows (SetMenu) with that window unless it is taken
// off (SetMenu(window, nullptr)) first.
using MenuHandle = UniqueHandle<ReleasedBy<HMENU, ::DestroyMenu>>;

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
