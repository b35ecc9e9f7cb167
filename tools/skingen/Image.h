// Image: an RGB raster the skin generator paints into; pure magenta marks transparent pixels.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

struct Rgb {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

// Skin bitmaps leave every pixel of this colour unpainted when they are drawn.
constexpr Rgb kTransparent{255, 0, 255};

// Colour from 0xRRGGBB.
constexpr Rgb Hex(uint32_t rgb) {
    return Rgb{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8), static_cast<uint8_t>(rgb)};
}

// Mixes two colours; share is the part of `to` (0..1). The result is never the transparent key:
// a blend that happens to land on magenta is moved by one step of green.
Rgb Mix(Rgb from, Rgb to, double share);

class Image {
public:
    Image() = default;
    Image(int width, int height, Rgb fill = kTransparent);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return width_ == 0 || height_ == 0; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

    Rgb At(int x, int y) const { return pixels_[Index(x, y)]; }
    void Set(int x, int y, Rgb colour) {
        if (Contains(x, y)) pixels_[Index(x, y)] = colour;
    }

    void Fill(Rgb colour);
    void FillRect(int x, int y, int width, int height, Rgb colour);
    // Copies every pixel of source (transparent ones included) with its top-left at (x, y).
    void Paste(const Image& source, int x, int y);
    // Copies only the opaque pixels of source.
    void Overlay(const Image& source, int x, int y);
    Image Crop(int x, int y, int width, int height) const;
    Image Scaled(int factor) const;
    // Mirrors across the main diagonal: a horizontal picture becomes its vertical counterpart.
    Image Transposed() const;
    // Upside down.
    Image FlippedVertically() const;
    // Every transparent pixel replaced by the colour (for pictures whose painter copies them opaque).
    Image Flattened(Rgb background) const;

    // Cells of equal size laid side by side (left to right) or stacked (top to bottom).
    static Image SideBySide(const std::vector<Image>& cells);
    static Image Stacked(const std::vector<Image>& cells);

private:
    size_t Index(int x, int y) const {
        return static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
    }

    int width_ = 0;
    int height_ = 0;
    std::vector<Rgb> pixels_;
};
