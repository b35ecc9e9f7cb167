// Drawing helpers shared by the element painters: glossy rounded panels, shading, and the
// vector glyphs (caption symbols, arrows, check marks).
#pragma once

#include "tools/skingen/Image.h"
#include "tools/skingen/Shapes.h"

Rgb Lighter(Rgb colour, double share);
Rgb Darker(Rgb colour, double share);

// A rounded panel: one border line, one inner shine line, and a fill whose upper half runs
// top0 -> top1 and lower half bottom0 -> bottom1 (the glass highlight).
struct Gloss {
    Rgb border;
    Rgb shine;
    Rgb top0;
    Rgb top1;
    Rgb bottom0;
    Rgb bottom1;
};

// Derives a panel from a base colour; `gloss` 1 gives strong glass highlights, lower values flatter.
Gloss MakeGloss(Rgb base, double gloss);
Gloss WithBorder(Gloss look, Rgb border);
void DrawGloss(Image& image, double left, double top, double right, double bottom, Radii radii, const Gloss& look);
Radii Shrunk(Radii radii, double by);

enum class Direction { Left, Right, Up, Down };

// A filled triangle pointing in the direction, centred on (cx, cy): its base is 2 * half wide
// and it is half + 1 long.
Shape Arrow(double cx, double cy, double half, Direction direction);

// Caption symbols inside a box of (2 * half + 1) pixels centred on pixel (cx, cy).
Shape CloseSymbol(int cx, int cy, int half, double strokeWidth);
Shape MaximizeSymbol(int cx, int cy, int half);
Shape MinimizeSymbol(int cx, int cy, int half);
Shape RestoreSymbol(int cx, int cy, int half);
Shape CheckMark(double left, double top, double size, double strokeWidth);
// A rectangle outline with a top edge `topThickness` thick, in whole pixels.
Shape BoxOutline(int left, int top, int right, int bottom, int topThickness);

// Draws a symbol in `fill` over a one-pixel halo in `outline`.
void DrawSymbol(Image& image, const Shape& symbol, Rgb fill, Rgb outline);
