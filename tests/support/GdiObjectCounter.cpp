#include "GdiObjectCounter.h"

#include <ostream>
#include <sstream>

namespace {
// Table indices are 16 bits; probing every one takes a few milliseconds.
constexpr unsigned kHandleTableSize = 0x10000;
}  // namespace

std::string GdiObjectCounts::ToString() const {
    std::ostringstream out;
    out << "{total " << Total << ", bitmaps " << Bitmaps << ", brushes " << Brushes << ", pens " << Pens << ", fonts "
        << Fonts << ", regions " << Regions << ", DCs " << DeviceContexts << ", palettes " << Palettes << ", other "
        << Other << "}";
    return out.str();
}

GdiObjectCounts GdiObjectCounter::Count() {
    GdiObjectCounts counts;
    for (unsigned index = 1; index < kHandleTableSize; ++index) {
        const DWORD type = ::GetObjectType(reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(index)));
        if (type == 0) continue;
        ++counts.Total;
        switch (type) {
        case OBJ_BITMAP: ++counts.Bitmaps; break;
        case OBJ_BRUSH: ++counts.Brushes; break;
        case OBJ_PEN:
        case OBJ_EXTPEN: ++counts.Pens; break;
        case OBJ_FONT: ++counts.Fonts; break;
        case OBJ_REGION: ++counts.Regions; break;
        case OBJ_DC:
        case OBJ_MEMDC:
        case OBJ_METADC:
        case OBJ_ENHMETADC: ++counts.DeviceContexts; break;
        case OBJ_PAL: ++counts.Palettes; break;
        default: ++counts.Other; break;
        }
    }
    if (counts.Total == 0) {
        // Windows: handles carry generation bits, so only the total is available.
        counts.Total = int(::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS));
    }
    return counts;
}

GdiObjectCounts GdiObjectCounter::Leaked() const {
    const GdiObjectCounts now = Count();
    GdiObjectCounts leaked;
    leaked.Total = now.Total - FStart.Total;
    leaked.Bitmaps = now.Bitmaps - FStart.Bitmaps;
    leaked.Brushes = now.Brushes - FStart.Brushes;
    leaked.Pens = now.Pens - FStart.Pens;
    leaked.Fonts = now.Fonts - FStart.Fonts;
    leaked.Regions = now.Regions - FStart.Regions;
    leaked.DeviceContexts = now.DeviceContexts - FStart.DeviceContexts;
    leaked.Palettes = now.Palettes - FStart.Palettes;
    leaked.Other = now.Other - FStart.Other;
    return leaked;
}
