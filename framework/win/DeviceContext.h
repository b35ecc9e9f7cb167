// Owning wrappers of device contexts (window, window-frame and memory DCs) and scoped DC state
// (a selected object or a saved DC) that is restored when the scope ends.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

// ReleasedDC: a window's DC taken with GetDC or GetWindowDC and given back
// with ReleaseDC when the owner goes.
template <HDC(WINAPI* Acquire)(HWND)>
class ReleasedDC {
public:
    explicit ReleasedDC(HWND window) noexcept : FWindow(window), FDC(Acquire(window)) {}
    ReleasedDC(const ReleasedDC&) = delete;
    ReleasedDC& operator=(const ReleasedDC&) = delete;
    ReleasedDC(ReleasedDC&& other) noexcept : FWindow(other.FWindow), FDC(std::exchange(other.FDC, nullptr)) {}
    ~ReleasedDC() {
        if (FDC) ::ReleaseDC(FWindow, FDC);
    }

    [[nodiscard]] HDC get() const noexcept { return FDC; }
    explicit operator bool() const noexcept { return FDC != nullptr; }

private:
    HWND FWindow;
    HDC FDC;
};

// WindowDC: the client-area DC of a window (GetDC), or of the screen for a null window.
using WindowDC = ReleasedDC<::GetDC>;

// ScreenDC: the screen's DC, for compatible bitmaps and device capabilities.
class ScreenDC : public WindowDC {
public:
    ScreenDC() noexcept : WindowDC(nullptr) {}
};

// WindowFrameDC: the whole-window DC including the non-client area (GetWindowDC).
using WindowFrameDC = ReleasedDC<::GetWindowDC>;

// MemoryDC: a memory DC compatible with another DC (the screen when null), deleted at the end.
class MemoryDC {
public:
    explicit MemoryDC(HDC compatibleWith = nullptr) noexcept : FDC(::CreateCompatibleDC(compatibleWith)) {}
    MemoryDC(const MemoryDC&) = delete;
    MemoryDC& operator=(const MemoryDC&) = delete;
    MemoryDC(MemoryDC&& other) noexcept : FDC(std::exchange(other.FDC, nullptr)) {}
    MemoryDC& operator=(MemoryDC&& other) noexcept {
        if (this != &other) {
            if (FDC) ::DeleteDC(FDC);
            FDC = std::exchange(other.FDC, nullptr);
        }
        return *this;
    }
    ~MemoryDC() {
        if (FDC) ::DeleteDC(FDC);
    }

    [[nodiscard]] HDC get() const noexcept { return FDC; }
    explicit operator bool() const noexcept { return FDC != nullptr; }

private:
    HDC FDC;
};

// SelectedObject: selects a GDI object into a DC and selects the previous one back at the end,
// so the object can be deleted safely afterwards.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) noexcept
        : FDC(dc), FPrevious(dc && object ? ::SelectObject(dc, object) : nullptr) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    SelectedObject(SelectedObject&& other) noexcept
        : FDC(other.FDC), FPrevious(std::exchange(other.FPrevious, nullptr)) {}
    ~SelectedObject() { Restore(); }

    // Selects the previous object back now.
    void Restore() noexcept {
        if (FPrevious && FPrevious != HGDI_ERROR) ::SelectObject(FDC, FPrevious);
        FPrevious = nullptr;
    }

private:
    HDC FDC;
    HGDIOBJ FPrevious;
};

// SavedDC: SaveDC now, RestoreDC at the end (colours, modes, clipping and selected objects).
class SavedDC {
public:
    explicit SavedDC(HDC dc) noexcept : FDC(dc), FLevel(dc ? ::SaveDC(dc) : 0) {}
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    ~SavedDC() {
        if (FLevel > 0) ::RestoreDC(FDC, FLevel);
    }

private:
    HDC FDC;
    int FLevel;
};

}  // namespace win
