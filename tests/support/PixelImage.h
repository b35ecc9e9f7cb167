// PixelImage: pixels read back from windows, DCs and bitmaps for the engine's pixel tests, and what the
// tests do with them: capture a whole window (non-client area included) from the screen or through
// WM_PRINT, decode BMP files with plain GDI, compare a region against an expected image with a
// tolerance and a report naming the first differing pixels, and write PNG files of the actual, expected
// and difference images when a comparison fails.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/win/DeviceContext.h"
#include "framework/win/GdiObject.h"

// An image of 32-bit pixels held as COLORREF values (RGB(r, g, b)), rows from the top.
class PixelImage {
public:
    PixelImage() = default;
    PixelImage(int width, int height, COLORREF fill = RGB(0, 0, 0));

    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    bool Empty() const { return FWidth <= 0 || FHeight <= 0; }
    RECT Bounds() const { return RECT{0, 0, FWidth, FHeight}; }

    COLORREF At(int x, int y) const { return FPixels[Index(x, y)]; }
    void Set(int x, int y, COLORREF colour) { FPixels[Index(x, y)] = colour; }
    // The part inside rect (clipped to the image).
    PixelImage Crop(const RECT& rect) const;
    // Copies source with its top-left at (x, y), clipped to this image.
    void Paste(const PixelImage& source, int x, int y);

    friend bool operator==(const PixelImage&, const PixelImage&) = default;

private:
    size_t Index(int x, int y) const { return size_t(y) * size_t(FWidth) + size_t(x); }

    int FWidth = 0;
    int FHeight = 0;
    std::vector<COLORREF> FPixels;
};

// A 32-bit top-down DIB section selected into its own memory DC: a surface plain GDI draws on, for
// composing expected images and for reading pixels back.
class DibSurface {
public:
    DibSurface(int width, int height);
    explicit DibSurface(const PixelImage& image);
    DibSurface(const DibSurface&) = delete;
    DibSurface& operator=(const DibSurface&) = delete;

    HDC DC() const { return FDC.get(); }
    int Width() const { return FWidth; }
    int Height() const { return FHeight; }
    PixelImage Image() const;

private:
    int FWidth = 0;
    int FHeight = 0;
    uint32_t* FBits = nullptr;  // the section's pixels, 0x00RRGGBB
    win::BitmapHandle FBitmap;
    win::MemoryDC FDC;
    win::SelectedObject FSelected;
};

// The pixels of rect of a DC (a window's, a memory DC's).
PixelImage CaptureDC(HDC dc, const RECT& rect);
// The pixels of a bitmap (any format GDI can hand out as 32 bits).
PixelImage CaptureBitmap(HBITMAP bitmap);
// The rectangle (screen coordinates) as the screen shows it now.
PixelImage CaptureScreen(const RECT& rect);
// The whole window, frame and caption included, as the screen shows it now (covered parts show what
// covers them: bring the window to the front first).
PixelImage CaptureWindowFromScreen(HWND window);
// The whole window as it paints itself into a memory DC, whatever covers it on the screen: WM_PRINT
// for the non-client area, then for the client and its children at the client's offset. Under Wine
// the system draws no frame for WM_PRINT: a window that leaves its frame to the system shows black
// there (a skinned window draws its own).
PixelImage CaptureWindowByPrint(HWND window);

// Decodes a BMP file (every format GDI reads: 1 to 32 bits, palettes, RLE, bottom-up and top-down
// rows). An empty image when the bytes are no BMP GDI accepts.
PixelImage DecodeBmp(const std::vector<uint8_t>& file);

// A PNG file of the image (8-bit RGB, stored deflate blocks); false when it cannot be written.
bool WritePng(const PixelImage& image, const std::wstring& path);
// Where failing comparisons write their pictures: the variable QUIRN_TEST_IMAGES when set, else the
// folder "failed-images" beside the test program (in the build tree). Created on first use.
std::wstring FailureImageFolder();

// How a comparison judges pixels.
struct ImageComparison {
    int Tolerance = 0;                // a channel may differ by this much
    COLORREF DontCare = CLR_INVALID;  // expected pixels of this colour are not compared
    int Reported = 8;                 // differing pixels listed in the report
    bool WriteImages = true;          // write actual, expected and difference PNGs on failure
};

// Compares expected with the region of actual whose top-left is origin. On failure the message names
// the count of differing pixels and the first ones (position in actual, both colours) and where the
// pictures were written (name and the running test's name make the file names).
::testing::AssertionResult ImageMatchesAt(const PixelImage& actual, POINT origin, const PixelImage& expected,
                                          std::string_view name, const ImageComparison& comparison = {});

// The colour as "#RRGGBB".
std::string ColourText(COLORREF colour);
