// Device-context owners: each gives its DC or DC state back exactly once, on normal and exception paths,
// after moves; GDI object counts stay flat over many rounds.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "GdiObjectCounter.h"
#include "WinTestUtil.h"
#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"

namespace {

constexpr int kRounds = 64;  // more than the system's cache of window DCs

// Runs body kRounds times, each time once normally and once leaving by an exception, and reports what stays.
template <typename Body>
GdiObjectCounts LeakedOver(Body body) {
    body(false);  // caches and stock objects are made once
    try {
        body(true);
    } catch (const PlannedFailure&) {
    }
    const GdiObjectCounter gdi;
    for (int i = 0; i < kRounds; ++i) {
        body(false);
        try {
            body(true);
        } catch (const PlannedFailure&) {
        }
    }
    return gdi.Leaked();
}

}  // namespace

TEST(DeviceContextOwners, TheLeakCountSeesADCThatIsNotGivenBack) {
    // The counter itself: a window DC kept without ReleaseDC shows as a DC.
    TestWindow window;
    const GdiObjectCounter gdi;
    std::vector<HDC> kept;
    for (int i = 0; i < kRounds; ++i) kept.push_back(::GetDC(window.get()));
    EXPECT_GT(gdi.Leaked().DeviceContexts, 0) << gdi.Leaked().ToString();
    for (HDC dc : kept) ::ReleaseDC(window.get(), dc);
}

TEST(DeviceContextOwners, WindowFrameScreenAndMemoryDCsAreGivenBackOnEveryPath) {
    TestWindow window;
    const GdiObjectCounts leaked = LeakedOver([&](bool fail) {
        const win::WindowDC client(window.get());
        const win::WindowFrameDC frame(window.get());
        const win::ScreenDC screen;
        const win::MemoryDC memory(screen.get());
        ASSERT_TRUE(client && frame && screen && memory);
        EXPECT_EQ(client.Window(), window.get());
        if (fail) throw PlannedFailure();
    });
    EXPECT_EQ(leaked, GdiObjectCounts{});
}

TEST(DeviceContextOwners, MovedOwnersReleaseOnceFromTheirLastHolder) {
    TestWindow window;
    const GdiObjectCounts leaked = LeakedOver([&](bool fail) {
        std::vector<win::WindowDC> windowDCs;
        std::vector<win::MemoryDC> memoryDCs;
        for (int i = 0; i < 8; ++i) {
            windowDCs.emplace_back(window.get());
            memoryDCs.emplace_back();
        }
        // Assignment gives back what the target held before taking the other's.
        win::WindowDC replaced(window.get());
        replaced = std::move(windowDCs.back());
        windowDCs.pop_back();
        win::MemoryDC memory;
        memory = std::move(memoryDCs.back());
        memoryDCs.pop_back();
        EXPECT_TRUE(replaced && memory);
        if (fail) throw PlannedFailure();
    });
    EXPECT_EQ(leaked, GdiObjectCounts{});
}

TEST(DeviceContextOwners, PaintDCShowsTheInvalidAreaAndEndsThePaintOnEveryPath) {
    TestWindow window;
    PumpPendingMessages();
    RECT invalid{10, 12, 50, 40};
    ::InvalidateRect(window.get(), &invalid, FALSE);
    {
        win::PaintDC paint(window.get());
        ASSERT_TRUE(paint);
        EXPECT_TRUE(::EqualRect(&paint.Paint().rcPaint, &invalid));
        EXPECT_EQ(paint.Paint().hdc, paint.get());
        win::PaintDC moved = std::move(paint);
        EXPECT_FALSE(paint);
        EXPECT_EQ(moved.Paint().hdc, moved.get());
    }
    EXPECT_FALSE(::GetUpdateRect(window.get(), nullptr, FALSE));
    const GdiObjectCounts leaked = LeakedOver([&](bool fail) {
        ::InvalidateRect(window.get(), nullptr, FALSE);
        const win::PaintDC paint(window.get());
        ASSERT_TRUE(paint);
        if (fail) throw PlannedFailure();
    });
    EXPECT_EQ(leaked, GdiObjectCounts{});
}

TEST(DeviceContextOwners, SavedDCRestoresColoursOriginAndClippingAlsoWhenTheCodeThrows) {
    const win::MemoryDC dc;
    ::SetTextColor(dc.get(), RGB(255, 0, 0));
    ::SetBkMode(dc.get(), OPAQUE);
    try {
        const win::SavedDC saved(dc.get());
        ::SetTextColor(dc.get(), RGB(0, 0, 255));
        ::SetBkMode(dc.get(), TRANSPARENT);
        ::SetViewportOrgEx(dc.get(), 7, 9, nullptr);
        throw PlannedFailure();
    } catch (const PlannedFailure&) {
    }
    EXPECT_EQ(::GetTextColor(dc.get()), RGB(255, 0, 0));
    EXPECT_EQ(::GetBkMode(dc.get()), OPAQUE);
    POINT origin{-1, -1};
    ::GetViewportOrgEx(dc.get(), &origin);
    EXPECT_EQ(origin.x, 0);
    EXPECT_EQ(origin.y, 0);

    // Nested saves: the outer restore also drops the inner state; an early Restore is not repeated.
    {
        win::SavedDC outer(dc.get());
        ::SetTextColor(dc.get(), RGB(0, 255, 0));
        win::SavedDC inner(dc.get());
        ::SetTextColor(dc.get(), RGB(0, 0, 255));
        win::SavedDC movedInner = std::move(inner);
        outer.Restore();
        EXPECT_EQ(::GetTextColor(dc.get()), RGB(255, 0, 0));
        ::SetTextColor(dc.get(), RGB(1, 2, 3));
    }
    EXPECT_EQ(::GetTextColor(dc.get()), RGB(1, 2, 3));  // the inner level was gone: nothing restored twice
}

TEST(DeviceContextOwners, SelectedObjectPutsTheOriginalBackAfterSwitchesMovesAndExceptions) {
    const win::MemoryDC dc;
    HGDIOBJ original = ::GetCurrentObject(dc.get(), OBJ_FONT);
    const win::FontHandle first(::CreateFontW(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    const win::FontHandle second(::CreateFontW(-20, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial"));
    try {
        win::SelectedObject selected(dc.get(), first.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), first.get());
        selected.Select(dc.get(), second.get());  // a switch keeps the DC's own font as the original
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), second.get());
        win::SelectedObject moved = std::move(selected);
        EXPECT_FALSE(selected.Active());
        EXPECT_TRUE(moved.Active());
        throw PlannedFailure();
    } catch (const PlannedFailure&) {
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), original);

    // An empty selection selects nothing and restores nothing.
    {
        win::SelectedObject empty(dc.get(), nullptr);
        EXPECT_FALSE(empty.Active());
        ::SelectObject(dc.get(), first.get());
    }
    EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), first.get());
    ::SelectObject(dc.get(), original);

    // Selecting into another DC gives the first its original back.
    const win::MemoryDC other;
    {
        win::SelectedObject selected(dc.get(), first.get());
        selected.Select(other.get(), second.get());
        EXPECT_EQ(::GetCurrentObject(dc.get(), OBJ_FONT), original);
        EXPECT_EQ(::GetCurrentObject(other.get(), OBJ_FONT), second.get());
    }
    EXPECT_NE(::GetCurrentObject(other.get(), OBJ_FONT), second.get());
}

TEST(DeviceContextOwners, GdiObjectsSelectedAndDeletedByTheirOwnersLeaveNothing) {
    const GdiObjectCounts leaked = LeakedOver([](bool fail) {
        const win::MemoryDC dc;
        const win::BrushHandle brush(::CreateSolidBrush(RGB(1, 2, 3)));
        const win::PenHandle pen(::CreatePen(PS_SOLID, 1, RGB(4, 5, 6)));
        const win::RegionHandle region(::CreateRectRgn(0, 0, 10, 10));
        const win::BitmapHandle bitmap(::CreateBitmap(8, 8, 1, 1, nullptr));
        const win::SelectedObject selectedBrush(dc.get(), brush.get());
        const win::SelectedObject selectedPen(dc.get(), pen.get());
        const win::SelectedObject selectedBitmap(dc.get(), bitmap.get());
        ASSERT_TRUE(brush && pen && region && bitmap);
        if (fail) throw PlannedFailure();
    });
    EXPECT_EQ(leaked, GdiObjectCounts{});
}
