// GdiObjectCounter: counts the live GDI objects of this process, by type, for leak tests.
// Wine answers 0 to GetGuiResources, so the handle table is probed with GetObjectType instead
// (Wine accepts a handle's table index without its generation bits); on Windows, where probing
// finds nothing, GetGuiResources gives the total.
#pragma once

#include <windows.h>

#include <array>
#include <string>
#include <utility>

#include "ObjectCounter.h"

struct GdiObjectCounts {
    int Total = 0;
    int Bitmaps = 0;
    int Brushes = 0;
    int Pens = 0;
    int Fonts = 0;
    int Regions = 0;
    int DeviceContexts = 0;  // screen, memory and metafile DCs
    int Palettes = 0;
    int Other = 0;

    friend bool operator==(const GdiObjectCounts&, const GdiObjectCounts&) = default;
    std::string ToString() const { return CountsText(*this); }

    static constexpr std::array<std::pair<const char*, int GdiObjectCounts::*>, 9> Kinds{{
        {"total", &GdiObjectCounts::Total},
        {"bitmaps", &GdiObjectCounts::Bitmaps},
        {"brushes", &GdiObjectCounts::Brushes},
        {"pens", &GdiObjectCounts::Pens},
        {"fonts", &GdiObjectCounts::Fonts},
        {"regions", &GdiObjectCounts::Regions},
        {"DCs", &GdiObjectCounts::DeviceContexts},
        {"palettes", &GdiObjectCounts::Palettes},
        {"other", &GdiObjectCounts::Other},
    }};
};

// The live GDI objects of this process now.
GdiObjectCounts CountGdiObjects();

using GdiObjectCounter = ObjectCounter<GdiObjectCounts, CountGdiObjects>;

// gtest printing.
inline void PrintTo(const GdiObjectCounts& counts, std::ostream* out) { *out << counts.ToString(); }
