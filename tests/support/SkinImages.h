// SkinImages: expected pictures of the engine's pixel tests, made from the skin package itself and
// independent of the engine's painting code: the package is opened with the package reader, its BMP
// members are decoded with plain GDI, and cells, stretches and nine-slices are composed in test code
// with StretchBlt in COLORONCOLOR mode on DIB sections.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "PixelImage.h"

class TQuickIni;
class TSkinReader;

// A skin package opened for tests: its INI values and its bitmaps.
class SkinPackageImages {
public:
    // The package file at path; Loaded() tells whether it could be read.
    explicit SkinPackageImages(const std::wstring& path);
    explicit SkinPackageImages(const std::vector<uint8_t>& package);
    ~SkinPackageImages();
    SkinPackageImages(const SkinPackageImages&) = delete;
    SkinPackageImages& operator=(const SkinPackageImages&) = delete;

    bool Loaded() const { return FLoaded; }
    // The member file's bytes (name compared ignoring case); empty when missing.
    std::vector<uint8_t> MemberBytes(std::string_view name) const;
    // The member BMP decoded; empty when missing or no BMP.
    PixelImage Member(std::string_view name) const;
    // INI values of the skin definition.
    std::string Value(std::string_view section, std::string_view key, std::string_view fallback = {}) const;
    int Integer(std::string_view section, std::string_view key, int fallback = 0) const;
    // The bitmap named by section/key (e.g. "Personality", "Top"), decoded.
    PixelImage BitmapOf(std::string_view section, std::string_view key) const;

private:
    void Open(const std::vector<uint8_t>& package);

    bool FLoaded = false;
    std::unique_ptr<TSkinReader> FReader;
    std::unique_ptr<TQuickIni> FIni;
};

// A package built beside the program: <build>/app/<name>.skn, found from the test program's folder
// (<build>/tests/<area>/).
std::wstring BundledSkinPackage(std::wstring_view name);

// The rectangle of frame index (from 1) of count frames, side by side or stacked when vertical; the
// remainder columns (rows) of an uneven division belong to no frame.
RECT FrameCellOf(const PixelImage& image, int count, int index, bool vertical);
// from (a rectangle of source) stretched to width x height.
PixelImage Stretched(const PixelImage& source, const RECT& from, int width, int height);
// The nine-slice composition of cell to width x height with margins (left, top, right, bottom): corners
// 1:1, edges stretched along their length, the centre stretched or tiled from the top-left in whole
// tiles. A side whose two margins do not fit loses both (plain stretch in that direction).
PixelImage NineSliced(const PixelImage& source, const RECT& cell, RECT margins, int width, int height,
                      bool tileCentre = false);
