#include "tools/skingen/Shapes.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {
// Each pixel is sampled on a 4 x 4 grid to find how much of it a shape covers.
constexpr int kSamplesPerAxis = 4;
constexpr int kSamples = kSamplesPerAxis * kSamplesPerAxis;
constexpr int kHalfCovered = kSamples / 2;

bool InsideCorner(double x, double y, double cx, double cy, double r) {
    const double dx = x - cx;
    const double dy = y - cy;
    return dx * dx + dy * dy <= r * r;
}
}  // namespace

Rgb Gradient::At(double position) const {
    if (stops_.empty()) return kTransparent;
    if (position <= stops_.front().first) return stops_.front().second;
    for (size_t i = 1; i < stops_.size(); ++i) {
        if (position <= stops_[i].first) {
            const double span = stops_[i].first - stops_[i - 1].first;
            const double share = span > 0 ? (position - stops_[i - 1].first) / span : 1.0;
            return Mix(stops_[i - 1].second, stops_[i].second, share);
        }
    }
    return stops_.back().second;
}

Shape RoundedRect(double left, double top, double right, double bottom, Radii radii) {
    return [=](double x, double y) {
        if (x < left || x >= right || y < top || y >= bottom) return false;
        if (x < left + radii.topLeft && y < top + radii.topLeft)
            return InsideCorner(x, y, left + radii.topLeft, top + radii.topLeft, radii.topLeft);
        if (x >= right - radii.topRight && y < top + radii.topRight)
            return InsideCorner(x, y, right - radii.topRight, top + radii.topRight, radii.topRight);
        if (x >= right - radii.bottomRight && y >= bottom - radii.bottomRight)
            return InsideCorner(x, y, right - radii.bottomRight, bottom - radii.bottomRight, radii.bottomRight);
        if (x < left + radii.bottomLeft && y >= bottom - radii.bottomLeft)
            return InsideCorner(x, y, left + radii.bottomLeft, bottom - radii.bottomLeft, radii.bottomLeft);
        return true;
    };
}

Shape RoundedRect(double left, double top, double right, double bottom, double radius) {
    return RoundedRect(left, top, right, bottom, Radii::All(radius));
}

Shape Ellipse(double left, double top, double right, double bottom) {
    const double cx = (left + right) / 2;
    const double cy = (top + bottom) / 2;
    const double rx = (right - left) / 2;
    const double ry = (bottom - top) / 2;
    return [=](double x, double y) {
        if (rx <= 0 || ry <= 0) return false;
        const double nx = (x - cx) / rx;
        const double ny = (y - cy) / ry;
        return nx * nx + ny * ny <= 1.0;
    };
}

Shape Polygon(std::vector<Point> points) {
    return [points = std::move(points)](double x, double y) {
        bool inside = false;
        for (size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const Point& a = points[i];
            const Point& b = points[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
        }
        return inside;
    };
}

Shape Stroke(Point from, Point to, double width) {
    return [=](double x, double y) {
        const double dx = to.x - from.x;
        const double dy = to.y - from.y;
        const double length2 = dx * dx + dy * dy;
        double t = length2 > 0 ? ((x - from.x) * dx + (y - from.y) * dy) / length2 : 0.0;
        t = std::clamp(t, 0.0, 1.0);
        const double px = from.x + t * dx - x;
        const double py = from.y + t * dy - y;
        return px * px + py * py <= width * width / 4;
    };
}

Shape Union(std::vector<Shape> parts) {
    return [parts = std::move(parts)](double x, double y) {
        return std::any_of(parts.begin(), parts.end(), [&](const Shape& part) { return part(x, y); });
    };
}

Shape Difference(Shape shape, Shape hole) {
    return [=](double x, double y) { return shape(x, y) && !hole(x, y); };
}

Shape Moved(Shape shape, double dx, double dy) {
    return [=](double x, double y) { return shape(x - dx, y - dy); };
}

Shape Grown(Shape shape, double by) {
    return [=](double x, double y) {
        for (int sy = -1; sy <= 1; ++sy)
            for (int sx = -1; sx <= 1; ++sx)
                if (shape(x + sx * by, y + sy * by)) return true;
        return false;
    };
}

Paint Solid(Rgb colour) {
    return [=](double, double) { return colour; };
}

Paint Vertical(Gradient gradient, double top, double bottom) {
    return [=](double, double y) { return gradient.At(bottom > top ? (y - top) / (bottom - top) : 0.0); };
}

Paint Horizontal(Gradient gradient, double left, double right) {
    return [=](double x, double) { return gradient.At(right > left ? (x - left) / (right - left) : 0.0); };
}

void FillShape(Image& image, const Shape& shape, const Paint& paint) {
    for (int y = 0; y < image.Height(); ++y) {
        for (int x = 0; x < image.Width(); ++x) {
            int covered = 0;
            for (int sy = 0; sy < kSamplesPerAxis; ++sy)
                for (int sx = 0; sx < kSamplesPerAxis; ++sx)
                    if (shape(x + (sx + 0.5) / kSamplesPerAxis, y + (sy + 0.5) / kSamplesPerAxis)) ++covered;
            if (covered == 0) continue;
            const Rgb colour = paint(x + 0.5, y + 0.5);
            const Rgb below = image.At(x, y);
            if (below == kTransparent) {
                if (covered >= kHalfCovered) image.Set(x, y, colour == kTransparent ? Mix(colour, colour, 0) : colour);
            } else {
                image.Set(x, y, Mix(below, colour, static_cast<double>(covered) / kSamples));
            }
        }
    }
}

void FillShape(Image& image, const Shape& shape, Rgb colour) { FillShape(image, shape, Solid(colour)); }

Shape PixelMask(const std::vector<const char*>& rows, int left, int top) {
    return [rows, left, top](double x, double y) {
        const int column = static_cast<int>(std::floor(x)) - left;
        const int row = static_cast<int>(std::floor(y)) - top;
        if (row < 0 || row >= static_cast<int>(rows.size()) || column < 0) return false;
        const char* text = rows[static_cast<size_t>(row)];
        return column < static_cast<int>(std::strlen(text)) && text[column] == '#';
    };
}
