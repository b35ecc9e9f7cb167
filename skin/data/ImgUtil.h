// ImgUtil: the colour and pixel-transform routines of the skin painters — colour blending, cached
// gradient tables and gradient fills, saturation, magenta replacement, mirroring, rotation and the
// embossed image of a disabled glyph.
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/graphics/Bitmap.h"
#include "framework/graphics/Color.h"

// The transparent key of every skin bitmap: pure magenta.
constexpr TColor SkinTransparentColor = 0xFF00FF;

// Gradient cache: this many slots, filled round-robin.
constexpr int32_t GradientSlotCount = 16;

// Mixes two colours; weight is A's share, a percentage below 100 and a per-mille value from 100 on
// (150 = 15 %). Negative (system) colours are resolved first.
TColor BlendColors(TColor colorA, TColor colorB, int32_t weight);

// Index of a cache slot holding the count-entry gradient from startColor to endColor (an existing
// slot with the same length, first and last entry is reused). EAssertionFailed when count <= 0.
int32_t GetGradient(int32_t count, TColor startColor, TColor endColor);
// The table of a slot (empty before the slot is first filled).
const std::vector<TColor>& GradientTable(int32_t slot);
// Empties the cache and resets the round-robin counter (the state at start-up).
void ResetGradientCache();

// Fills rect with a gradient, in one-pixel bands left to right (vertical 0) or top to bottom
// (vertical 1), only the bands inside the DC's clip box.
void GradientFillRect(HDC dc, const RECT& rect, TColor startColor, int32_t vertical, TColor endColor);

// Saturation 0..255 of a colour; 200 when no channel reaches 160.
int32_t ColorSaturation(TColor color);

// Converts the bitmap to 24 bits per pixel and replaces every pure magenta pixel by the colour.
void ReplaceMagentaPixels(TBitmap& bitmap, TColor color);

// Mirror and turn a bitmap in place (bitmaps of another format are made 24-bit first).
void FlipHorizontal(TBitmap& bitmap);
void FlipVertical(TBitmap& bitmap);
void RotateLeft(TBitmap& bitmap);   // 90 degrees counter-clockwise
void RotateRight(TBitmap& bitmap);  // 90 degrees clockwise

// The embossed image of a disabled button glyph (screen format, glyph's size): button face, with the
// glyph's black pixels in the highlight colour one pixel down and right and in the shadow colour at
// their place.
std::unique_ptr<TBitmap> CreateDisabledGlyph(TBitmap& glyph);
