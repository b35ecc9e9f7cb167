// LittleEndian: reading and writing the little-endian 32-bit integers of the
// skin package and its LZH framing.
#pragma once

#include <cstdint>

inline constexpr int LE32Bytes = 4;

inline constexpr uint32_t ReadLE32(const uint8_t* bytes) {
    return uint32_t{bytes[0]} | uint32_t{bytes[1]} << 8 | uint32_t{bytes[2]} << 16 | uint32_t{bytes[3]} << 24;
}

inline void WriteLE32(uint8_t* bytes, uint32_t value) {
    for (int i = 0; i < LE32Bytes; ++i) bytes[i] = static_cast<uint8_t>(value >> (8 * i));
}
