// SkinArchiveWriter: builds skin archives and packages (the packer's side of
// the format TSkinReader reads).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "skin/data/SkinArchive.h"

struct TSkinPackageFile {
    std::string Name;  // as stored; the reader matches it case-insensitively
    std::vector<uint8_t> Data;
};

// The unpacked archive: header, zeroed extra block of the version's length,
// names joined by CR LF, the sizes, the data. Throws std::invalid_argument
// for an unknown version, more than SkinMaxFiles files, an empty name, a
// name with CR or LF, a file of 2 GiB or more, or an archive above
// SkinMaxUnpackedSize.
std::vector<uint8_t> BuildSkinArchive(const std::vector<TSkinPackageFile>& files,
                                      uint32_t version = SkinCurrentVersion);

// The archive LZH-coded in the package framing, ready for the reader.
std::vector<uint8_t> BuildSkinPackage(const std::vector<TSkinPackageFile>& files,
                                      uint32_t version = SkinCurrentVersion);
