// Owning wrappers of device contexts (window, window-frame, paint and memory DCs) and scoped DC state
// (a selected object or a saved DC) that is restored when the scope ends, on every path.
#pragma once

#include <windows.h>

#include <utility>

namespace win {

// ReleasedDC: a window's DC taken with GetDC or GetWindowDC and given back with ReleaseDC when the
// owner goes. Empty (false) when the system gave no DC; the caller decides whether that is an error.
template <HDC(WINAPI* Acquire)(HWND)>
class ReleasedDC {
public:
    explicit ReleasedDC(HWND window) noexcept : FWindow(window), FDC(Acquire(window)) {}
    ReleasedDC(const ReleasedDC&) = delete;
    ReleasedDC& operator=(const ReleasedDC&) = delete;
    ReleasedDC(ReleasedDC&& other) noexcept : FWindow(other.FWindow), FDC(std::exchange(other.FDC, nullptr)) {}
    ReleasedDC& operator=(ReleasedDC&& other) noexcept {
        if (this != &other) {
            Release();
            FWindow = other.FWindow;
            FDC = std::exchange(other.FDC, nullptr);
        }
        return *this;
    }
    ~ReleasedDC() { Release(); }

    [[nodiscard]] HDC get() const noexcept { return FDC; }
    [[nodiscard]] HWND Window() const noexcept { return FWindow; }
    explicit operator bool() const noexcept { return FDC != nullptr; }

private:
    void Release() noexcept {
        if (FDC) ::ReleaseDC(FWindow, std::exchange(FDC, nullptr));
    }

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

// PaintDC: BeginPaint for a window's WM_PAINT, EndPaint when the owner goes (which validates the
// update region, so the window is not asked to paint again). Paint() is the PAINTSTRUCT of the call.
class PaintDC {
public:
    explicit PaintDC(HWND window) noexcept : FWindow(window), FPaint{}, FDC(::BeginPaint(window, &FPaint)) {}
    PaintDC(const PaintDC&) = delete;
    PaintDC& operator=(const PaintDC&) = delete;
    PaintDC(PaintDC&& other) noexcept
        : FWindow(other.FWindow), FPaint(other.FPaint), FDC(std::exchange(other.FDC, nullptr)) {}
    ~PaintDC() {
        if (FDC) ::EndPaint(FWindow, &FPaint);
    }

    [[nodiscard]] HDC get() const noexcept { return FDC; }
    [[nodiscard]] const PAINTSTRUCT& Paint() const noexcept { return FPaint; }
    explicit operator bool() const noexcept { return FDC != nullptr; }

private:
    HWND FWindow;
    PAINTSTRUCT FPaint;
    HDC FDC;
};

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

// SelectedObject: selects GDI objects of one kind (font, pen, brush or bitmap) into a DC and selects
// the DC's original object back at the end, so the objects can be deleted safely afterwards. Select
// may be called again to switch objects; the original is the one found by the first selection.
class SelectedObject {
public:
    SelectedObject() noexcept = default;
    SelectedObject(HDC dc, HGDIOBJ object) noexcept { Select(dc, object); }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    SelectedObject(SelectedObject&& other) noexcept
        : FDC(other.FDC), FOriginal(std::exchange(other.FOriginal, nullptr)) {}
    SelectedObject& operator=(SelectedObject&& other) noexcept {
        if (this != &other) {
            Restore();
            FDC = other.FDC;
            FOriginal = std::exchange(other.FOriginal, nullptr);
        }
        return *this;
    }
    ~SelectedObject() { Restore(); }

    // Selects an object into a DC (a different DC restores the previous one's original first).
    void Select(HDC dc, HGDIOBJ object) noexcept {
        if (dc != FDC) Restore();
        FDC = dc;
        if (!dc || !object) return;
        HGDIOBJ previous = ::SelectObject(dc, object);
        if (!FOriginal && previous != HGDI_ERROR) FOriginal = previous;
    }

    // True while an original object waits to be selected back.
    [[nodiscard]] bool Active() const noexcept { return FOriginal != nullptr; }

    // Selects the original object back now.
    void Restore() noexcept {
        if (FOriginal) ::SelectObject(FDC, FOriginal);
        FOriginal = nullptr;
    }

private:
    HDC FDC = nullptr;
    HGDIOBJ FOriginal = nullptr;
};

// SavedDC: SaveDC now, RestoreDC at the end (colours, modes, clipping, origins and selected objects),
// also when the code in between throws.
class SavedDC {
public:
    explicit SavedDC(HDC dc) noexcept : FDC(dc), FLevel(dc ? ::SaveDC(dc) : 0) {}
    SavedDC(const SavedDC&) = delete;
    SavedDC& operator=(const SavedDC&) = delete;
    SavedDC(SavedDC&& other) noexcept : FDC(other.FDC), FLevel(std::exchange(other.FLevel, 0)) {}
    ~SavedDC() { Restore(); }

    // Restores the saved state now (and every state saved after it).
    void Restore() noexcept {
        if (FLevel > 0) ::RestoreDC(FDC, FLevel);
        FLevel = 0;
    }

private:
    HDC FDC;
    int FLevel;
};

}  // namespace win
