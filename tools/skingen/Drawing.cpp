#include "tools/skingen/Drawing.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr Rgb kWhite{255, 255, 255};
constexpr Rgb kBlack{0, 0, 0};
// Shares of white and black that make the shading of a glossy panel.
constexpr double kBorderDarkening = 0.45;
constexpr double kShineBase = 0.1;
constexpr double kShineGloss = 0.75;
constexpr double kTopStartGloss = 0.62;
constexpr double kTopEndGloss = 0.32;
constexpr double kBottomEndGloss = 0.28;
constexpr double kHaloWidth = 1.0;
}  // namespace

Rgb Lighter(Rgb colour, double share) { return Mix(colour, kWhite, share); }
Rgb Darker(Rgb colour, double share) { return Mix(colour, kBlack, share); }

Gloss MakeGloss(Rgb base, double gloss) {
    return Gloss{Darker(base, kBorderDarkening),
                 Lighter(base, kShineBase + kShineGloss * gloss),
                 Lighter(base, kTopStartGloss * gloss),
                 Lighter(base, kTopEndGloss * gloss),
                 base,
                 Lighter(base, kBottomEndGloss * gloss)};
}

Gloss WithBorder(Gloss look, Rgb border) {
    look.border = border;
    return look;
}

Radii Shrunk(Radii radii, double by) {
    auto less = [by](double r) { return std::max(r - by, 0.0); };
    return Radii{less(radii.topLeft), less(radii.topRight), less(radii.bottomRight), less(radii.bottomLeft)};
}

void DrawGloss(Image& image, double left, double top, double right, double bottom, Radii radii, const Gloss& look) {
    FillShape(image, RoundedRect(left, top, right, bottom, radii), look.border);
    FillShape(image, RoundedRect(left + 1, top + 1, right - 1, bottom - 1, Shrunk(radii, 1)), look.shine);
    const double middle = std::floor((top + bottom) / 2);
    const Paint upper = Vertical(Gradient(look.top0, look.top1), top + 2, middle);
    const Paint lower = Vertical(Gradient(look.bottom0, look.bottom1), middle, bottom - 2);
    FillShape(image, RoundedRect(left + 2, top + 2, right - 2, bottom - 2, Shrunk(radii, 2)),
              [=](double x, double y) { return y < middle ? upper(x, y) : lower(x, y); });
}

Shape Arrow(double cx, double cy, double half, Direction direction) {
    const double tip = half / 2 + 0.5;
    switch (direction) {
    case Direction::Up: return Polygon({{cx - half, cy + tip}, {cx + half, cy + tip}, {cx, cy - tip}});
    case Direction::Down: return Polygon({{cx - half, cy - tip}, {cx + half, cy - tip}, {cx, cy + tip}});
    case Direction::Left: return Polygon({{cx + tip, cy - half}, {cx + tip, cy + half}, {cx - tip, cy}});
    case Direction::Right: return Polygon({{cx - tip, cy - half}, {cx - tip, cy + half}, {cx + tip, cy}});
    }
    return Polygon({});
}

Shape BoxOutline(int left, int top, int right, int bottom, int topThickness) {
    auto box = RoundedRect(left, top, right, bottom, 0);
    auto inside = RoundedRect(left + 1, top + topThickness, right - 1, bottom - 1, 0);
    return Difference(box, inside);
}

Shape CloseSymbol(int cx, int cy, int half, double strokeWidth) {
    const double x = cx + 0.5;
    const double y = cy + 0.5;
    return Union({Stroke({x - half + 0.5, y - half + 0.5}, {x + half - 0.5, y + half - 0.5}, strokeWidth),
                  Stroke({x - half + 0.5, y + half - 0.5}, {x + half - 0.5, y - half + 0.5}, strokeWidth)});
}

Shape MaximizeSymbol(int cx, int cy, int half) {
    return BoxOutline(cx - half, cy - half + 1, cx + half + 1, cy + half, 2);
}

Shape MinimizeSymbol(int cx, int cy, int half) {
    return RoundedRect(cx - half, cy + half - 2, cx + half, cy + half, 0);
}

Shape RestoreSymbol(int cx, int cy, int half) {
    const int shift = std::max(2, half / 2);
    const int frontLeft = cx - half;
    const int frontTop = cy - half + shift;
    const int frontRight = cx + half + 1 - shift;
    const int frontBottom = cy + half;
    const Shape front = BoxOutline(frontLeft, frontTop, frontRight, frontBottom, 2);
    const Shape back = BoxOutline(frontLeft + shift, frontTop - shift, frontRight + shift, frontBottom - shift, 2);
    const Shape frontArea = RoundedRect(frontLeft, frontTop, frontRight, frontBottom, 0);
    return Union({front, Difference(back, frontArea)});
}

Shape CheckMark(double left, double top, double size, double strokeWidth) {
    const Point start{left + size * 0.12, top + size * 0.52};
    const Point corner{left + size * 0.40, top + size * 0.80};
    const Point end{left + size * 0.90, top + size * 0.18};
    return Union({Stroke(start, corner, strokeWidth), Stroke(corner, end, strokeWidth)});
}

void DrawSymbol(Image& image, const Shape& symbol, Rgb fill, Rgb outline) {
    FillShape(image, Grown(symbol, kHaloWidth), outline);
    FillShape(image, symbol, fill);
}
