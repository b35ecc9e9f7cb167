// SkinBuilder: turns a Theme into the files of one skin folder — the definition file first,
// then every bitmap it names — and writes them out.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tools/skingen/Image.h"
#include "tools/skingen/Theme.h"

struct SkinFile {
    std::string name;  // lower case; bitmaps end in ".bmp"
    std::vector<uint8_t> bytes;
    Image picture;  // the decoded picture of a bitmap (empty for the definition file)
};

struct SkinFolder {
    std::string name;
    std::vector<SkinFile> files;  // the definition file first
};

SkinFolder BuildSkin(const Theme& theme);
// Writes the files into directory/<folder name>, creating it; files already there are replaced.
void WriteSkin(const SkinFolder& skin, const std::filesystem::path& directory);
