#include "GdiObjectCounter.h"

namespace {
// Table indices are 16 bits; probing every one takes a few milliseconds.
constexpr unsigned kHandleTableSize = 0x10000;
}  // namespace

GdiObjectCounts CountGdiObjects() {
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
