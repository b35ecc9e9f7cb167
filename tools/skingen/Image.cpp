#include "tools/skingen/Image.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace {
uint8_t Channel(double from, double to, double share) {
    const double value = from + (to - from) * share;
    return static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
}
}  // namespace

Rgb Mix(Rgb from, Rgb to, double share) {
    share = std::clamp(share, 0.0, 1.0);
    Rgb result{Channel(from.r, to.r, share), Channel(from.g, to.g, share), Channel(from.b, to.b, share)};
    if (result == kTransparent) result.g = 1;
    return result;
}

Image::Image(int width, int height, Rgb fill)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

void Image::Fill(Rgb colour) { std::fill(pixels_.begin(), pixels_.end(), colour); }

void Image::FillRect(int x, int y, int width, int height, Rgb colour) {
    for (int row = std::max(y, 0); row < std::min(y + height, height_); ++row)
        for (int column = std::max(x, 0); column < std::min(x + width, width_); ++column)
            pixels_[Index(column, row)] = colour;
}

void Image::Paste(const Image& source, int x, int y) {
    for (int row = 0; row < source.height_; ++row)
        for (int column = 0; column < source.width_; ++column) Set(x + column, y + row, source.At(column, row));
}

void Image::Overlay(const Image& source, int x, int y) {
    for (int row = 0; row < source.height_; ++row)
        for (int column = 0; column < source.width_; ++column) {
            const Rgb pixel = source.At(column, row);
            if (pixel != kTransparent) Set(x + column, y + row, pixel);
        }
}

Image Image::Crop(int x, int y, int width, int height) const {
    if (x < 0 || y < 0 || width < 0 || height < 0 || x + width > width_ || y + height > height_)
        throw std::out_of_range("crop rectangle outside the image");
    Image result(width, height);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            result.pixels_[result.Index(column, row)] = At(x + column, y + row);
    return result;
}

Image Image::Scaled(int factor) const {
    Image result(width_ * factor, height_ * factor);
    for (int row = 0; row < result.height_; ++row)
        for (int column = 0; column < result.width_; ++column)
            result.pixels_[result.Index(column, row)] = At(column / factor, row / factor);
    return result;
}

Image Image::Transposed() const {
    Image result(height_, width_);
    for (int row = 0; row < height_; ++row)
        for (int column = 0; column < width_; ++column) result.pixels_[result.Index(row, column)] = At(column, row);
    return result;
}

Image Image::FlippedVertically() const {
    Image result(width_, height_);
    for (int row = 0; row < height_; ++row)
        for (int column = 0; column < width_; ++column)
            result.pixels_[result.Index(column, height_ - 1 - row)] = At(column, row);
    return result;
}

Image Image::Flattened(Rgb background) const {
    Image result = *this;
    for (Rgb& pixel : result.pixels_)
        if (pixel == kTransparent) pixel = background;
    return result;
}

Image Image::SideBySide(const std::vector<Image>& cells) {
    if (cells.empty()) return {};
    Image result(cells.front().width_ * static_cast<int>(cells.size()), cells.front().height_);
    int x = 0;
    for (const Image& cell : cells) {
        if (cell.width_ != cells.front().width_ || cell.height_ != cells.front().height_)
            throw std::invalid_argument("cells of a strip differ in size");
        result.Paste(cell, x, 0);
        x += cell.width_;
    }
    return result;
}

Image Image::Stacked(const std::vector<Image>& cells) {
    if (cells.empty()) return {};
    Image result(cells.front().width_, cells.front().height_ * static_cast<int>(cells.size()));
    int y = 0;
    for (const Image& cell : cells) {
        if (cell.width_ != cells.front().width_ || cell.height_ != cells.front().height_)
            throw std::invalid_argument("cells of a stack differ in size");
        result.Paste(cell, 0, y);
        y += cell.height_;
    }
    return result;
}
