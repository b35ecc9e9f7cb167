// The solid fills of the control skinners: a rectangle filled or framed with a temporary brush of one
// colour. They need no skinner, so the skinner base and the free routines both build on them.
#pragma once

#include <windows.h>

#include "framework/graphics/Color.h"

// FillRect with a temporary solid brush of Color.
void FillColorRect(HDC dc, const RECT& rect, TColor color);
// FrameRect (one pixel) with a temporary solid brush of Color.
void FrameColorRect(HDC dc, const RECT& rect, TColor color);
