// SkinLikeData: synthetic skin content for benchmarks - 24-bit BMP frame
// pieces, buttons with magenta transparent corners, textures, and an INI.
#pragma once

#include <cstdint>
#include <vector>

#include "skin/data/SkinArchiveWriter.h"

// Files of one skin of roughly targetBytes (an INI first, then bitmaps).
std::vector<TSkinPackageFile> MakeSkinLikeFiles(size_t targetBytes, uint32_t seed);
