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
    // Word-sized entries: the counts would fit 16 bits (no count passes the
    // root's, which stays at most MAX_FREQ), but words load and compare faster.
    std::array<uint32_t, T + 1> Freq{};
    std::array<int32_t, T + N_CHAR> Prnt{};
    std::array<int32_t, T> Son{};

    // Decoding aid: the tree's top PrefixBits levels as a table, so the
    // decoder walks them in one step. Entry v is where the bits of v (most
    // significant first) lead from the root: the node reached, how many bits
    // that took (fewer when a leaf comes first) and the nodes passed.
    static constexpr int PrefixBits = 5;
    struct TPrefixEntry {
        int32_t Node;
        int32_t Bits;
        std::array<int32_t, PrefixBits> Path;  // Path[n]: the node after n + 1 bits
    };
    std::array<TPrefixEntry, 1 << PrefixBits> Prefix;
    // The table holds while no node it was built from changes its sons.
    bool PrefixValid = false;

    // Builds the starting tree: every symbol counted once.
    void Start();
    // Counts one more occurrence of symbol and restores the sibling order
    // (inline: it runs once per coded symbol).
    void Update(int symbol);
    // Update for a symbol whose leaf the decoder has just reached along
    // path: path[0] is the root R and path[depth] the symbol's leaf.
    void UpdateAlong(const int* path, int depth, int symbol);
    // Makes Prefix describe the tree as it is now.
    void BuildPrefix();

    int Root() const { return Son[R]; }

private:
    // Rebuilds the tree with halved counts once the root reaches MAX_FREQ.
    void Rebuild();
    // Counts one more at node; when that breaks the ascending order of the
    // counts, node first trades places with the last node of its run of
    // equal counts. Returns the node whose count grew.
    int Increment(int node);

    // Nodes whose sons the prefix table was built from.
    std::array<bool, T> FInPrefix{};
};

inline int TLzhTree::Increment(int node) {
    const uint32_t k = ++Freq[node];
    if (k <= Freq[node + 1]) return node;
    // Keep counts ascending: trade places with the last node whose count is
    // now lower than this one's.
    int l = node + 1;
    while (k > Freq[l + 1]) ++l;
    Freq[node] = Freq[l];
    Freq[l] = k;

    if (FInPrefix[node] || FInPrefix[l]) PrefixValid = false;
    const int i = Son[node];
    Prnt[i] = l;
    if (i < T) Prnt[i + 1] = l;

    const int j = Son[l];
    Son[l] = i;
    Prnt[j] = node;
    if (j < T) Prnt[j + 1] = node;
    Son[node] = j;
    return l;
}

inline void TLzhTree::Update(int symbol) {
    if (Freq[R] == MAX_FREQ) Rebuild();
    int node = Prnt[symbol + T];
    do {
        node = Prnt[Increment(node)];
    } while (node != 0);
}

inline void TLzhTree::UpdateAlong(const int* path, int depth, int symbol) {
    if (Freq[R] == MAX_FREQ) {
        Update(symbol);  // the rebuild moves every node
        return;
    }
    // While no node trades places, the parents are the path's nodes and need
    // no lookup; after a trade the count climbs from the new place.
    int node = path[depth];
    for (;;) {
        const int counted = Increment(node);
        if (counted != node) {
            node = counted;
            break;
        }
        if (--depth < 0) return;
        node = path[depth];
    }
    while ((node = Prnt[node]) != 0) node = Increment(node);
}

}  // namespace lzh
