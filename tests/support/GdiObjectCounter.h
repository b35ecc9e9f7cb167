// GdiObjectCounter: counts the live GDI objects of this process, by type, for leak tests.
// Wine answers 0 to GetGuiResources, so the handle table is probed with GetObjectType instead
// (Wine accepts a handle's table index without its generation bits); on Windows, where probing
// finds nothing, GetGuiResources gives the total.
#pragma once

#include <windows.h>

#include <string>

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
    std::string ToString() const;
};

class GdiObjectCounter {
public:
    // The live objects now.
    static GdiObjectCounts Count();

    // Counts at construction; Leaked() is what was created since and is still alive.
    GdiObjectCounter() : FStart(Count()) {}
    const GdiObjectCounts& Start() const { return FStart; }
    GdiObjectCounts Leaked() const;

private:
    GdiObjectCounts FStart;
};

// gtest printing.
inline void PrintTo(const GdiObjectCounts& counts, std::ostream* out) { *out << counts.ToString(); }
