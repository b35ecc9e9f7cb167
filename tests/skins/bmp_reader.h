// Test helper: reads the committed 24-bit BMP files back into pictures, checking their headers.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/skingen/Image.h"

std::vector<uint8_t> ReadFileBytes(const std::string& path);
// The picture of an uncompressed 24-bit bottom-up BMP; nothing for any other or a damaged file.
std::optional<Image> DecodeBmp24(const std::vector<uint8_t>& bytes);
