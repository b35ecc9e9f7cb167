// SkinDraw: the drawing routines every skin painter uses to put an element's bitmap on a window —
// frame cells, nine-slice composition (stretched or tiled centre), three-part strips, whole and
// centred frames, tiling, key-colour transparency, window regions from bitmaps — and the shared
// back buffer of the menu-bar and status-bar painters. Each routine makes and frees its own
// temporaries and keeps none of the bitmaps it is given.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Canvas.h"
#include "framework/graphics/Color.h"
#include "framework/rtl/Strings.h"
#include "framework/win/GdiObject.h"

// How DrawTransparent leaves the key colour out: one MaskBlt (NT family) or three raster passes
// (XOR, AND mask, XOR) for platforms without MaskBlt.
enum class TTransparentMethod { MaskBlt, ThreePass };

// MaskBlt on the NT family, the three passes elsewhere.
TTransparentMethod DefaultTransparentMethod();

// The rectangle of frame frameIndex (from 1) of frameCount frames laid side by side, or stacked when
// vertical. A count below 1 counts as 1; the index is clamped to 1..count.
RECT FrameCell(TBitmap& bitmap, int32_t frameCount, int32_t frameIndex, bool vertical);

// A new bitmap of the destination's size holding the nine-slice composition of one frame; margins
// are LeftWidth, TopHeight, RightWidth, BottomHeight as left, top, right, bottom. An element
// without a picture gives an empty bitmap (nothing to draw).
std::unique_ptr<TBitmap> CreateSkinElementBitmap(const RECT& dest, TBitmap& element, const RECT& margins, bool vertical,
                                                 bool tile, int32_t frameCount, int32_t frameIndex);

// Composes with CreateSkinElementBitmap and draws the result at dest (magenta left out when
// transparent). An element without a picture draws nothing.
void DrawSkinElement(HDC dc, const RECT& dest, TBitmap& element, bool vertical, bool tile, bool transparent,
                     int32_t frameCount, int32_t frameIndex, const RECT& margins);

// Left cap, middle repeated, right cap (only the left and right margins count); height stretched.
void DrawThreePartTiled(TCanvas& canvas, const RECT& dest, TBitmap& element, bool vertical, bool transparent,
                        int32_t frameCount, int32_t frameIndex, const RECT& margins);

// Left cap, middle stretched, right cap, straight onto the DC in the DC's own stretch mode.
void DrawThreePartStretched(HDC dc, const RECT& dest, TBitmap& element, bool vertical, int32_t frameCount,
                            int32_t frameIndex, const RECT& margins);

// The whole cell (side-by-side frames) stretched to dest, in the DC's own stretch mode.
void DrawFrameStretched(HDC dc, const RECT& dest, TBitmap& element, bool transparent, int32_t frameCount,
                        int32_t frameIndex);

// The cell (side-by-side frames) at its natural size, centred in dest.
void DrawFrameCentered(HDC dc, const RECT& dest, TBitmap& element, bool transparent, int32_t frameCount,
                       int32_t frameIndex);

// Repeats source (a rectangle of bitmap) over dest in whole tiles from dest's top-left.
void TileBitmapRect(TCanvas& canvas, const RECT& dest, TBitmap& bitmap, const RECT& source);

// Copies the bitmap's top-left (dest's size) to dest, pixels of the key colour left unpainted.
void DrawTransparent(HDC dc, const RECT& dest, TBitmap& bitmap, TColor keyColor,
                     TTransparentMethod method = DefaultTransparentMethod());

// A region of every pixel not within tolerance of the key colour (a channel within key..key +
// tolerance counts as the key), moved by the offsets. The bitmap is converted to 32 bits per pixel.
win::RegionHandle CreateRegionFromBitmap(TBitmap& bitmap, int32_t xOffset, int32_t yOffset, int32_t blueTolerance,
                                         int32_t greenTolerance, int32_t redTolerance, TColor keyColor);

// Region building: the buffer starts with and grows by this many rectangles, and is made into a
// region and merged whenever it holds the batch size.
constexpr int32_t RegionBufferGrowth = 500;
constexpr int32_t RegionBatchRectangles = 2000;

// The back buffer shared by the menu-bar and status-bar painters (stretch mode COLORONCOLOR) and the
// shared string list; made on first use, freed when the program ends.
TBitmap& SkinBackBuffer();
TStringList& SkinSharedStrings();
