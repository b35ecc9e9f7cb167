// A second coder of LZH streams, for the tests only, written from the coding rules and independent of the
// packer's encoder: it codes every byte as a literal with the adaptive Huffman tree (starting tree, update
// after each symbol, rebuild with halved counts), so it makes streams of any content whose every code
// depends on the updates before it. Its first codes are pinned by a stream derived by hand (LzhByHandTest).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class ReferenceLiteralCoder {
public:
    ReferenceLiteralCoder();

    // The bits ('0'/'1', first bit first) that code symbol in the tree as it stands.
    std::string CodeOf(int symbol) const;
    // Counts symbol, as the decoder does after decoding it.
    void Update(int symbol);

    // The bits of bytes coded one after another, each followed by its update.
    std::string CodeLiterals(const std::vector<uint8_t>& bytes);

private:
    static constexpr int kSymbols = 314;             // 256 literals and the match lengths 3..60
    static constexpr int kNodes = 2 * kSymbols - 1;  // a leaf is a son value of kNodes or more
    static constexpr int kRoot = kNodes - 1;
    static constexpr uint32_t kMaxFrequency = 0x8000;

    void Rebuild();

    std::array<uint32_t, kNodes + 1> FFrequency{};  // the extra slot is a sentinel above every count
    std::array<int, kNodes> FSon{};
    std::array<int, kNodes + kSymbols> FParent{};  // parents of nodes, then the leaf of each symbol
};

// Bits ('0'/'1') packed most significant bit first into bytes, the last byte padded with zeros.
std::vector<uint8_t> PackBits(const std::string& bits);
