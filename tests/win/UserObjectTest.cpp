// Cursor, menu and icon owners destroy what the code made, once; shared cursors and borrowed menus stay.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "WinTestUtil.h"
#include "framework/win/GdiObject.h"
#include "framework/win/UserObject.h"

namespace {

constexpr int kCursorSize = 32;

// A 32x32 cursor of the code's own (not shared).
HCURSOR MakeCursor() {
    std::vector<BYTE> andMask(kCursorSize * kCursorSize / 8, 0xFF);
    std::vector<BYTE> xorMask(kCursorSize * kCursorSize / 8, 0x00);
    return ::CreateCursor(::GetModuleHandleW(nullptr), 1, 1, kCursorSize, kCursorSize, andMask.data(), xorMask.data());
}

bool IsLiveCursor(HCURSOR cursor) {
    ICONINFO info{};
    if (!::GetIconInfo(cursor, &info)) return false;
    if (info.hbmColor) ::DeleteObject(info.hbmColor);
    if (info.hbmMask) ::DeleteObject(info.hbmMask);
    return true;
}

}  // namespace

TEST(UserObjectOwners, CursorHandleDestroysItsCursorOnceAfterMovesAndExceptions) {
    HCURSOR made = MakeCursor();
    ASSERT_NE(made, nullptr);
    try {
        win::CursorHandle owner(made);
        win::CursorHandle moved = std::move(owner);
        EXPECT_FALSE(owner);
        EXPECT_TRUE(IsLiveCursor(moved.get()));
        throw PlannedFailure();
    } catch (const PlannedFailure&) {
    }
    EXPECT_FALSE(IsLiveCursor(made));

    // release() hands the cursor on without destroying it.
    HCURSOR kept = MakeCursor();
    {
        win::CursorHandle owner(kept);
        EXPECT_EQ(owner.release(), kept);
    }
    EXPECT_TRUE(IsLiveCursor(kept));
    win::CursorHandle last(kept);
    last.reset();
    EXPECT_FALSE(IsLiveCursor(kept));
}

TEST(UserObjectOwners, MenuHandleDestroysItsMenuWhileAViewLeavesItAlone) {
    HMENU made = ::CreatePopupMenu();
    ASSERT_NE(made, nullptr);
    {
        win::MenuHandle owner(made);
        const win::MenuView view(owner);
        EXPECT_EQ(view.get(), made);
        {
            const win::MenuView copy = view;  // views copy freely and never destroy
            EXPECT_TRUE(copy);
        }
        EXPECT_TRUE(::IsMenu(made));
        win::MenuHandle moved;
        moved = std::move(owner);
        EXPECT_TRUE(::IsMenu(made));
    }
    EXPECT_FALSE(::IsMenu(made));

    // A submenu shown by a destroyed menu goes with it: its own owner must take it out first.
    HMENU parent = ::CreateMenu();
    HMENU child = ::CreatePopupMenu();
    ::AppendMenuW(parent, MF_POPUP, reinterpret_cast<UINT_PTR>(child), L"child");
    {
        const win::MenuHandle parentOwner(parent);
        ::RemoveMenu(parent, 0, MF_BYPOSITION);
    }
    EXPECT_FALSE(::IsMenu(parent));
    EXPECT_TRUE(::IsMenu(child));
    const win::MenuHandle childOwner(child);
}

TEST(UserObjectOwners, IconHandleDestroysCopiedIconsButSharedOnesStay) {
    HICON shared = ::LoadIconW(nullptr, IDI_APPLICATION);
    ASSERT_NE(shared, nullptr);
    HICON copy = ::CopyIcon(shared);
    ASSERT_NE(copy, nullptr);
    { const win::IconHandle owner(copy); }
    ICONINFO info{};
    EXPECT_FALSE(::GetIconInfo(copy, &info));
    EXPECT_TRUE(IsLiveCursor(shared));
}
