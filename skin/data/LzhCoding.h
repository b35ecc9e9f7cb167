// LzhCoding: the LZHUF coding model shared by the decoder (TLZH) and the
// packer's encoder: window and tree constants, the position code tables and
// the adaptive Huffman tree both sides update in lock step.
#pragma once

#include <array>
#include <cstdint>

namespace lzh {

// The constants are part of the stored format: a package written with other
// values does not decode.
inline constexpr int N = 4096;                      // window (ring buffer) size
inline constexpr int WindowMask = N - 1;            // positions are taken modulo N
inline constexpr int F = 60;                        // longest match length
inline constexpr int THRESHOLD = 2;                 // a match is at least THRESHOLD + 1 bytes
inline constexpr int N_CHAR = 256 - THRESHOLD + F;  // 256 literals plus match lengths 3..60
inline constexpr int T = N_CHAR * 2 - 1;            // nodes in the Huffman tree
inline constexpr int R = T - 1;                     // index of the root
inline constexpr unsigned MAX_FREQ = 0x8000;        // root count that triggers a rebuild
inline constexpr int TextBufSize = N + F - 1;       // ring plus a mirror of its first F-1 bytes
inline constexpr int InitialWritePos = N - F;       // the first byte is written here
inline constexpr uint8_t InitialFill = 0x20;        // the window starts filled with spaces
inline constexpr int FirstMatchSymbol = 256;        // symbols from here on are match lengths
inline constexpr int LowPositionBits = 6;           // position bits sent raw after the table code
inline constexpr uint16_t FreqSentinel = 0xFFFF;    // Freq[T]: stops the swap search

static_assert(N_CHAR == 314 && T == 627 && R == 626 && TextBufSize == 4155);

// Position tables of the published LZHUF algorithm, indexed by the next
// 8 input bits: DCode gives the upper six position bits, DLen the number of
// bits the table code really occupies (3..8).
struct TPositionTables {
    std::array<uint8_t, 256> DCode{};
    std::array<uint8_t, 256> DLen{};
};

constexpr TPositionTables MakePositionTables() {
    // Each row: how many upper-position values share a code length, and how
    // many of the 256 table entries each such value covers.
    struct Row {
        int values;
        int entriesEach;
        uint8_t length;
    };
    constexpr Row rows[] = {{1, 32, 3}, {3, 16, 4}, {8, 8, 5}, {12, 4, 6}, {24, 2, 7}, {16, 1, 8}};
    TPositionTables t;
    int entry = 0;
    int code = 0;
    for (const Row& row : rows) {
        for (int v = 0; v < row.values; ++v, ++code) {
            for (int e = 0; e < row.entriesEach; ++e, ++entry) {
                t.DCode[entry] = static_cast<uint8_t>(code);
                t.DLen[entry] = row.length;
            }
        }
    }
    return t;
}

inline constexpr TPositionTables PositionTables = MakePositionTables();

static_assert(PositionTables.DCode[31] == 0 && PositionTables.DCode[32] == 1 && PositionTables.DCode[255] == 63);
static_assert(PositionTables.DLen[0] == 3 && PositionTables.DLen[32] == 4 && PositionTables.DLen[255] == 8);

// The adaptive Huffman tree over the N_CHAR symbols. Sons of a node lie side
// by side at Son[node] and Son[node] + 1; a Son value of T or more marks a
// leaf holding symbol (value - T). Prnt[T + symbol] is the leaf of a symbol.
struct TLzhTree {
    std::array<uint16_t, T + 1> Freq{};
    std::array<int16_t, T + N_CHAR> Prnt{};
    std::array<int16_t, T> Son{};

    // Builds the starting tree: every symbol counted once.
    void Start();
    // Counts one more occurrence of symbol and restores the sibling order.
    void Update(int symbol);

    int Root() const { return Son[R]; }

private:
    // Rebuilds the tree with halved counts once the root reaches MAX_FREQ.
    void Rebuild();
};

}  // namespace lzh
