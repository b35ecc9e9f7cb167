// TBitmap: a picture held in a DIB section of 1, 4, 8, 15/16, 24 or 32 bits per pixel, with a canvas to
// draw on it, direct scan-line access, BMP stream/file/resource storage, masks and transparent drawing.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "framework/graphics/BmpCodec.h"
#include "framework/graphics/Color.h"
#include "framework/graphics/Graphic.h"
#include "framework/win/GdiObject.h"

class TCanvas;
class TBitmapCanvas;

// pfDevice asks for the screen's format; PixelFormat() always reports the format actually held.
// pf15bit is 5-5-5, pf16bit 5-6-5.
enum TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit, pfCustom };
// tmAuto takes the transparent colour from the bottom-left pixel, tmFixed from TransparentColor.
enum TTransparentMode : uint8_t { tmAuto, tmFixed };

// A picture in memory that GDI and the program both reach: a DIB section the bitmap owns and frees,
// pixels readable through ScanLine, drawable through Canvas. Loading bad BMP data leaves it empty
// and raises EInvalidGraphic; it never reads past the data.
class TBitmap : public TGraphic {
    QUIRN_CLASS(TBitmap, TGraphic)
public:
    TBitmap();
    TBitmap(int32_t width, int32_t height, TPixelFormat format = pfDevice);
    ~TBitmap() override;

    // Deep copy of another bitmap (pixels, format, transparency); nullptr empties.
    void Assign(const TPersistent* source) override;

    bool Empty() const override { return !FHandle; }
    int32_t Width() const override { return FWidth; }
    int32_t Height() const override { return FHeight; }
    void SetWidth(int32_t value) override { SetSize(value, FHeight); }
    void SetHeight(int32_t value) override { SetSize(FWidth, value); }
    // Resizes keeping the pixels of the common area; new pixels are 0 (black or palette entry 0).
    void SetSize(int32_t width, int32_t height);

    TPixelFormat PixelFormat() const;
    // Converts the pixels to another format (nearest palette colour for 1, 4 and 8 bits).
    void SetPixelFormat(TPixelFormat value);

    // The DIB section. Taking it deselects it from the canvas's DC, so a DC obtained from Canvas()
    // before must be obtained again afterwards.
    HBITMAP Handle();
    // Takes ownership of any bitmap handle; its picture is copied into a DIB section of its format.
    void SetHandle(HBITMAP handle);
    // Gives the DIB section to the caller; the bitmap becomes empty.
    HBITMAP ReleaseHandle();

    // A canvas drawing on the bitmap, owned by the bitmap, its DC made on first use.
    TCanvas& Canvas();

    // Row y counted from the top (bottom-up storage is hidden); EInvalidGraphicOperation out of range.
    void* ScanLine(int32_t row);
    // Bytes of one stored row (DWORD aligned).
    size_t RowBytes() const { return TBmpImage::BmpStride(FWidth, FBitCount); }

    // Turns the bitmap into a 1-bit mask: pixels of the colour become white, all others black.
    void Mask(TColor transparentColor);
    // A new 1-bit mask of the colour (white where the colour is), the bitmap itself unchanged.
    std::unique_ptr<TBitmap> CreateMask(TColor transparentColor);
    // 1 bit per pixel. Setting it keeps white pixels white and makes all others black.
    bool Monochrome() const { return FBitCount == 1; }
    void SetMonochrome(bool value);

    TColor TransparentColor() const;
    // clDefault returns to tmAuto.
    void SetTransparentColor(TColor value);
    TTransparentMode TransparentMode() const { return FTransparentMode; }
    void SetTransparentMode(TTransparentMode value);

    void LoadFromStream(TStream& stream) override;
    void SaveToStream(TStream& stream) override;
    // Bitmap resource (RT_BITMAP) of a module, by ANSI name, wide name or MAKEINTRESOURCE id.
    void LoadFromResourceName(HINSTANCE instance, std::string_view name);
    void LoadFromResourceName(HINSTANCE instance, const wchar_t* name);
    void LoadFromResourceID(HINSTANCE instance, int id) { LoadFromResourceName(instance, MAKEINTRESOURCEW(id)); }

    // Replaces the picture by a decoded image / gives the picture as one.
    void LoadFromBmpImage(const TBmpImage& image);
    TBmpImage ToBmpImage();

protected:
    void DrawTo(TCanvas& canvas, const RECT& rect) override;
    void Changed() override;

public:
    // A DIB section with its description (an implementation detail of the pixel conversions).
    struct TDib;

private:
    friend class TBitmapCanvas;
    void Adopt(TDib&& dib);
    // Settles a pending screen format (FDeviceFormat) into FBitCount and the palette.
    void ResolveDeviceFormat();
    void Clear();
    void FreeContext();
    uint8_t* Row(int32_t y) const;  // stored row for top-down index y
    COLORREF PixelRGB(int32_t x, int32_t y) const;

    win::BitmapHandle FHandle;
    uint8_t* FBits = nullptr;
    int32_t FWidth = 0;
    int32_t FHeight = 0;
    int FBitCount = 32;
    bool FRgb565 = false;
    // Empty and taking the screen's format once it gets pixels (not yet looked up).
    bool FDeviceFormat = false;
    std::vector<TBmpColor> FPalette;
    std::unique_ptr<TBitmapCanvas> FCanvas;
    TTransparentMode FTransparentMode = tmAuto;
    TColor FTransparentColor = clDefault;
};
