// Test fixtures of the skin data tests: skin packages made in code (an INI
// text and bitmaps drawn by a function), loaded into a TSkinData.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/graphics/Color.h"
#include "skin/data/PellixData.h"

namespace skintest {

using TPixelFn = std::function<TColor(int32_t X, int32_t Y)>;

// A 24-bit BMP file of the given size; every pixel from Pixel (default grey).
std::vector<uint8_t> MakeBmp(int32_t Width, int32_t Height, const TPixelFn& Pixel = {});

// A skin package under construction: the INI and the member files.
struct TTestSkin {
    std::string Ini;
    std::string IniName = "test.ini";
    std::map<std::string, std::vector<uint8_t>> Files;

    TTestSkin& Bitmap(const std::string& Name, int32_t Width, int32_t Height, const TPixelFn& Pixel = {});
    std::vector<uint8_t> Package() const;
};

// A skin data component (no owner) holding the package, parsed.
std::unique_ptr<TSkinData> LoadSkin(const TTestSkin& Skin);
// Puts the package bytes into the component's stored package and parses it.
bool LoadPackageBytes(TSkinData& Data, const std::vector<uint8_t>& Package);

// Pixel of a bitmap, as RGB.
TColor PixelOf(TBitmap& Bitmap, int32_t X, int32_t Y);

}  // namespace skintest
