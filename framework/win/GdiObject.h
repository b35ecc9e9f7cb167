// Owning wrappers of GDI object handles (bitmaps, brushes, pens, fonts, regions, palettes) and icons:
// each deletes its handle exactly once, on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

// UniqueHandle: move-only owner of one handle, released by Traits::Release.
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() noexcept = default;
    explicit UniqueHandle(Handle handle) noexcept : FHandle(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : FHandle(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    [[nodiscard]] Handle get() const noexcept { return FHandle; }
    explicit operator bool() const noexcept { return FHandle != nullptr; }

    // Gives up ownership without releasing.
    [[nodiscard]] Handle release() noexcept { return std::exchange(FHandle, nullptr); }

    // Releases the owned handle and takes the new one.
    void reset(Handle handle = nullptr) noexcept {
        Handle old = std::exchange(FHandle, handle);
        if (old) Traits::Release(old);
    }

    void swap(UniqueHandle& other) noexcept { std::swap(FHandle, other.FHandle); }

private:
    Handle FHandle = nullptr;
};

// How UniqueHandle frees a handle of type H: with the system call Free.
template <typename H, auto Free>
struct ReleasedBy {
    using Handle = H;
    static void Release(H handle) noexcept { Free(handle); }
};

// A GDI object (DeleteObject) and an icon (DestroyIcon).
template <typename H>
using GdiObjectTraits = ReleasedBy<H, ::DeleteObject>;
using IconTraits = ReleasedBy<HICON, ::DestroyIcon>;

using BitmapHandle = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using BrushHandle = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using PenHandle = UniqueHandle<GdiObjectTraits<HPEN>>;
using FontHandle = UniqueHandle<GdiObjectTraits<HFONT>>;
using RegionHandle = UniqueHandle<GdiObjectTraits<HRGN>>;
using PaletteHandle = UniqueHandle<GdiObjectTraits<HPALETTE>>;
using IconHandle = UniqueHandle<IconTraits>;

}  // namespace win
