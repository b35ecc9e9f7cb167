// Test data for the skin package tests: byte patterns of the three kinds the
// coder meets (repetitive, text-like, incompressible), packages and helpers.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "framework/rtl/Streams.h"
#include "skin/data/SkinArchiveWriter.h"

enum class TDataKind { Repetitive, TextLike, Incompressible };

std::vector<uint8_t> MakeData(TDataKind kind, size_t size, uint32_t seed = 1);
std::vector<uint8_t> Bytes(std::string_view text);

// Decodes TextSize bytes from stream with TLZH, through buffer callbacks;
// also reports how many input bytes the decoder used.
std::vector<uint8_t> Expand(const std::vector<uint8_t>& stream, int64_t textSize, size_t* consumed = nullptr);

void Fill(TMemoryStream& stream, const std::vector<uint8_t>& bytes);
std::vector<uint8_t> Contents(TMemoryStream& stream);

// A package built from a raw (possibly hostile) archive.
std::vector<uint8_t> PackageOf(const std::vector<uint8_t>& archive);
