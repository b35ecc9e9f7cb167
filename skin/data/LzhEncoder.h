// TLzhEncoder: LZSS with the LZHUF window and lengths, longest matches found
// in a binary search tree over the window, coded with the adaptive Huffman
// tree TLZH mirrors. Used by the skin packer; the engine only decodes.
#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "skin/data/LzhCoding.h"

class TLzhEncoder {
public:
    TLzhEncoder();

    // Codes data into an LZHUF bit stream (no size framing). Decoding it
    // with TextSize = data.size() gives data back byte for byte.
    std::vector<uint8_t> Encode(std::span<const uint8_t> data);

private:
    static constexpr int NIL = lzh::N;  // "no node" in the search tree

    void InitSearchTree();
    void InsertNode(int r);
    void DeleteNode(int p);
    void EncodeChar(int symbol);
    void EncodePosition(int position);
    void PutBits(uint32_t value, int count);
    void FlushBits();

    // The window with a mirror of its first F-1 bytes, so comparisons never wrap.
    std::vector<uint8_t> FText;
    // Binary search trees of window positions, one per first byte; roots
    // hang off rson[N + 1 + byte].
    std::vector<int> FLeft, FRight, FParent;
    int FMatchPosition = 0;
    int FMatchLength = 0;

    lzh::TLzhTree FTree;
    std::vector<uint8_t> FOut;
    uint64_t FBitAcc = 0;
    int FBitCount = 0;
};

// Codes data in the package's framing: 4-byte little-endian unpacked size,
// then the bit stream. Throws std::length_error above 4 GiB - 1 bytes.
std::vector<uint8_t> LzhCompressFramed(std::span<const uint8_t> data);
