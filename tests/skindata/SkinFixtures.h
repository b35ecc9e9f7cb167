// Test fixtures of the skin data tests: skin packages made in code (an INI
// text and bitmaps drawn by a function), loaded into a TSkinData.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "framework/core/Component.h"
#include "framework/graphics/Color.h"
#include "skin/data/PellixData.h"

// (At namespace scope: publishing befriends the framework's publisher.)
// A component with a skin data on it, as a form holds one.
class TSkinHolder : public TComponent {
    QUIRN_CLASS(TSkinHolder, TComponent)
public:
    explicit TSkinHolder(TComponent* AOwner) : TComponent(AOwner) {}
    TSkinData* SkinData1 = nullptr;
};

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

// A small skin: its name "Small" and a ButtonFace colour, no bitmaps.
TTestSkin SmallSkin();

// A skin data component (no owner) holding the package, parsed.
std::unique_ptr<TSkinData> LoadSkin(const TTestSkin& Skin);
// Puts the package bytes into the component's stored package and parses it.
bool LoadPackageBytes(TSkinData& Data, const std::vector<uint8_t>& Package);

// Writes the package to a file of that name in the temporary folder; the file's path.
std::string WriteTempPackage(const std::vector<uint8_t>& Package, const std::string& FileName);

// Pixel of a bitmap, as RGB.
TColor PixelOf(TBitmap& Bitmap, int32_t X, int32_t Y);

}  // namespace skintest
