// Vector shapes and paints: anti-aliased filling of rounded rectangles, circles, polygons and
// strokes into an Image, with gradients. Edges over transparent pixels stay hard so that the
// magenta key never gets mixed into visible colours.
#pragma once

#include <functional>
#include <utility>
#include <vector>

#include "tools/skingen/Image.h"

// A region in continuous coordinates: pixel (x, y) covers [x, x + 1) x [y, y + 1).
using Shape = std::function<bool(double x, double y)>;
// The colour of a point.
using Paint = std::function<Rgb(double x, double y)>;

struct Point {
    double x = 0;
    double y = 0;
};

struct Radii {
    double topLeft = 0;
    double topRight = 0;
    double bottomRight = 0;
    double bottomLeft = 0;
    static Radii All(double r) { return {r, r, r, r}; }
    static Radii Top(double r) { return {r, r, 0, 0}; }
};

// Colour stops at positions 0..1, in increasing order.
class Gradient {
public:
    Gradient(std::initializer_list<std::pair<double, Rgb>> stops) : stops_(stops) {}
    Gradient(Rgb from, Rgb to) : stops_{{0.0, from}, {1.0, to}} {}
    Rgb At(double position) const;

private:
    std::vector<std::pair<double, Rgb>> stops_;
};

Shape RoundedRect(double left, double top, double right, double bottom, Radii radii);
Shape RoundedRect(double left, double top, double right, double bottom, double radius);
Shape Ellipse(double left, double top, double right, double bottom);
Shape Polygon(std::vector<Point> points);
// A straight stroke of the given width with round ends.
Shape Stroke(Point from, Point to, double width);
Shape Union(std::vector<Shape> parts);
Shape Difference(Shape shape, Shape hole);
Shape Moved(Shape shape, double dx, double dy);
// Grows a shape by `by` pixels in the eight directions (for outlines and halos).
Shape Grown(Shape shape, double by);

Paint Solid(Rgb colour);
Paint Vertical(Gradient gradient, double top, double bottom);
Paint Horizontal(Gradient gradient, double left, double right);

// Fills the shape with the paint. Pixels partly covered blend with what is below, except over
// the transparent key, where a pixel is painted when at least half of it is covered.
void FillShape(Image& image, const Shape& shape, const Paint& paint);
void FillShape(Image& image, const Shape& shape, Rgb colour);

// A glyph from rows of text: '#' marks a pixel of the shape, anything else is outside.
Shape PixelMask(const std::vector<const char*>& rows, int left, int top);
