// The free routines of the control skinners: solid fills, one frame of an element nine-sliced into
// a rectangle, a cell of a strip stretched with its key colour left out, the erase of transparent
// skinners, right-to-left text flags, and the small window questions the mapping asks.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "framework/graphics/Color.h"
#include "skin/controls/SkinFills.h"

class TBitmap;
class TCanvas;
class TDataSkinObject;
class TSkinControl;
struct TMessage;

// Frame FrameIndex (from 1) of FrameCount frames side by side in Element's bitmap, nine-sliced by
// its margins into Rect (tiled middle by its Tile) and drawn with its magenta left out when Trans
// is 1. Nothing for an inverted rectangle, a missing element or an empty bitmap.
void DrawElementFrame(TSkinControl& skinner, HDC dc, const RECT& rect, int32_t frameCount, int32_t frameIndex,
                      const TDataSkinObject* element);

// Cell Cell (from 1) of CellCount equal cells side by side in Bitmap stretched into Rect, magenta
// left out; onto a DC or onto a canvas. Nothing for an inverted rectangle or an empty bitmap.
void DrawCellStretched(TSkinControl& skinner, HDC target, const RECT& rect, int32_t cellCount, int32_t cell,
                       TBitmap& bitmap);
void DrawCellStretched(TSkinControl& skinner, TCanvas& target, const RECT& rect, int32_t cellCount, int32_t cell,
                       TBitmap& bitmap);

// WM_ERASEBKGND of skinners that show what lies behind them: the parent's image under a framework
// control, else the parent's colour over the client area; result 1.
void EraseTransparent(TSkinControl& skinner, TMessage& message);

// Flags plus DT_RTLREADING when the skinned control reads right to left.
UINT BiDiTextFlags(const TSkinControl& skinner, UINT flags);

// Dest takes Source's size and pixel format and a copy of its picture.
void CopyBitmapTo(TBitmap& source, TBitmap& dest);

// A popup window, or a child of the desktop's hidden top window.
bool IsPopupOrTopChild(HWND handle);
constexpr uintptr_t TopChildParent = 0x10014;

// A window's class name (read as the skin manager reads it) in lower case (ASCII letters).
std::string LowerClassName(HWND window);
