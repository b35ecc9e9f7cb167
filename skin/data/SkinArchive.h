// SkinArchive: layout of the unpacked skin archive (header, per-version
// extra block, name list, size table, data area) shared by the reader and
// the packer.
#pragma once

#include <cstdint>
#include <string_view>

#include "skin/data/LittleEndian.h"

// The header: version, name-list length, then 8 bytes nobody interprets.
inline constexpr int32_t SkinHeaderSize = 16;
inline constexpr int32_t SkinHeaderNameListOffset = 4;  // after the 4-byte version
inline constexpr int32_t SkinHeaderUnusedOffset = 8;    // bytes 8..15 are skipped unread
inline constexpr int32_t SkinSizeEntryBytes = 4;        // one signed 32-bit size per file
inline constexpr uint32_t SkinPackageFramingBytes = 4;  // unpacked size before the LZH stream

inline constexpr uint32_t SkinVersion20000 = 20000;
inline constexpr uint32_t SkinVersion30000 = 30000;
inline constexpr uint32_t SkinVersion40000 = 40000;
inline constexpr uint32_t SkinVersion50000 = 50000;
inline constexpr uint32_t SkinVersion60000 = 60000;
inline constexpr uint32_t SkinVersion70000 = 70000;
inline constexpr uint32_t SkinCurrentVersion = SkinVersion60000;  // what the packer writes

// Largest unpacked archive accepted: far above any real skin (about 230 KB),
// low enough that a hostile size field cannot exhaust memory.
inline constexpr uint32_t SkinMaxUnpackedSize = 64u * 1024 * 1024;

// Most files a package may hold: far above any real skin (a few dozen),
// low enough that a hostile name list cannot make a huge directory.
inline constexpr int32_t SkinMaxFiles = 65536;

// Length of the extra block after the header for a format version, or -1
// for a version the reader does not know.
constexpr int32_t SkinExtraBlockLength(uint32_t version) {
    switch (version) {
    case SkinVersion20000: return 0;
    case SkinVersion30000: return 256;
    case SkinVersion40000: return 80;
    case SkinVersion50000: return 48;
    case SkinVersion60000: return 117;
    case SkinVersion70000: return 69;
    default: return -1;
    }
}
