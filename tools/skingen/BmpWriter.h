// Encodes an Image as a Windows BMP file: 24 bits per pixel, uncompressed, rows bottom-up.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/skingen/Image.h"

std::vector<uint8_t> EncodeBmp(const Image& image);
