// TLzhEncoder: the packer's LZSS + adaptive Huffman coder.
#include "skin/data/LzhEncoder.h"

#include <algorithm>
#include <limits>
#include <stdexcept>

#include "skin/data/LittleEndian.h"

using namespace lzh;

namespace {

// Encoding side of the position tables: for each upper six-bit value the
// table code (its first DCode entry's leading DLen bits) and its length.
struct TPositionCodes {
    std::array<uint8_t, 64> Code{};
    std::array<uint8_t, 64> Length{};
};

constexpr TPositionCodes MakePositionCodes() {
    TPositionCodes codes;
    for (int entry = 255; entry >= 0; --entry) {  // downward: the first entry wins
        const int upper = PositionTables.DCode[entry];
        const int length = PositionTables.DLen[entry];
        codes.Code[upper] = static_cast<uint8_t>(entry >> (8 - length));
        codes.Length[upper] = static_cast<uint8_t>(length);
    }
    return codes;
}

constexpr TPositionCodes PositionCodes = MakePositionCodes();

constexpr int SearchRootBase = N + 1;  // rson[N + 1 + c] roots the tree of strings starting with c
constexpr int ByteValues = 256;

}  // namespace

TLzhEncoder::TLzhEncoder() : FText(TextBufSize), FLeft(N + 1), FRight(N + 1 + ByteValues), FParent(N + 1) {}

void TLzhEncoder::InitSearchTree() {
    std::fill(FRight.begin() + SearchRootBase, FRight.end(), NIL);
    std::fill(FParent.begin(), FParent.end(), NIL);
}

// Inserts the string at r into its tree and leaves the longest earlier match
// (nearest on equal length) in FMatchPosition/FMatchLength. A string equal
// to r over all F bytes is replaced by r, as r is nearer.
void TLzhEncoder::InsertNode(int r) {
    const uint8_t* key = &FText[r];
    int p = SearchRootBase + key[0];
    int cmp = 1;
    FLeft[r] = FRight[r] = NIL;
    FMatchLength = 0;
    // The tree is in lexicographic order, so every node below the current
    // one shares with the key at least the shorter of the prefixes the key
    // shares with the nearest smaller and the nearest larger node passed so
    // far; comparisons start there. All strings in one tree share byte 0.
    int prefixBelow = 1, prefixAbove = 1;
    for (;;) {
        if (cmp >= 0) {
            if (FRight[p] == NIL) {
                FRight[p] = r;
                FParent[r] = p;
                return;
            }
            p = FRight[p];
        } else {
            if (FLeft[p] == NIL) {
                FLeft[p] = r;
                FParent[r] = p;
                return;
            }
            p = FLeft[p];
        }
        int i = std::min(prefixBelow, prefixAbove);
        const uint8_t* candidate = &FText[p];
        for (; i < F; ++i) {
            cmp = key[i] - candidate[i];
            if (cmp != 0) break;
        }
        if (cmp >= 0) {
            prefixBelow = i;
        } else {
            prefixAbove = i;
        }
        if (i > THRESHOLD) {
            const int distance = ((r - p) & WindowMask) - 1;
            if (i > FMatchLength) {
                FMatchPosition = distance;
                FMatchLength = i;
                if (FMatchLength >= F) break;
            } else if (i == FMatchLength && distance < FMatchPosition) {
                FMatchPosition = distance;
            }
        }
    }
    // Full-length match: r takes p's place in the tree.
    FParent[r] = FParent[p];
    FLeft[r] = FLeft[p];
    FRight[r] = FRight[p];
    FParent[FLeft[p]] = r;
    FParent[FRight[p]] = r;
    if (FRight[FParent[p]] == p) {
        FRight[FParent[p]] = r;
    } else {
        FLeft[FParent[p]] = r;
    }
    FParent[p] = NIL;
}

void TLzhEncoder::DeleteNode(int p) {
    if (FParent[p] == NIL) return;
    int q;
    if (FRight[p] == NIL) {
        q = FLeft[p];
    } else if (FLeft[p] == NIL) {
        q = FRight[p];
    } else {
        // Replace p by its in-order predecessor.
        q = FLeft[p];
        if (FRight[q] != NIL) {
            do q = FRight[q];
            while (FRight[q] != NIL);
            FRight[FParent[q]] = FLeft[q];
            FParent[FLeft[q]] = FParent[q];
            FLeft[q] = FLeft[p];
            FParent[FLeft[p]] = q;
        }
        FRight[q] = FRight[p];
        FParent[FRight[p]] = q;
    }
    FParent[q] = FParent[p];
    if (FRight[FParent[p]] == p) {
        FRight[FParent[p]] = q;
    } else {
        FLeft[FParent[p]] = q;
    }
    FParent[p] = NIL;
}

void TLzhEncoder::PutBits(uint32_t value, int count) {
    FBitAcc = (FBitAcc << count) | value;
    FBitCount += count;
    while (FBitCount >= 8) {
        FBitCount -= 8;
        FOut.push_back(static_cast<uint8_t>(FBitAcc >> FBitCount));
    }
    FBitAcc &= (uint64_t{1} << FBitCount) - 1;
}

void TLzhEncoder::FlushBits() {
    constexpr int byteBits = 8;
    if (FBitCount > 0) PutBits(0, byteBits - FBitCount);  // pad the last byte with zero bits
}

void TLzhEncoder::EncodeChar(int symbol) {
    // Walk leaf to root; a node at an odd index is the second son (bit 1).
    // The depth is bounded by the tree's size, so a fixed path buffer holds it.
    std::array<uint8_t, T> path;
    int depth = 0;
    for (int node = FTree.Prnt[symbol + T]; node != R; node = FTree.Prnt[node]) path[depth++] = node & 1;
    // Emit root first, in chunks that fit the accumulator.
    constexpr int chunkBits = 24;
    while (depth > 0) {
        const int take = std::min(depth, chunkBits);
        uint32_t bits = 0;
        for (int k = 0; k < take; ++k) bits = (bits << 1) | path[--depth];
        PutBits(bits, take);
    }
    FTree.Update(symbol);
}

void TLzhEncoder::EncodePosition(int position) {
    const int upper = position >> LowPositionBits;
    PutBits(PositionCodes.Code[upper], PositionCodes.Length[upper]);
    PutBits(static_cast<uint32_t>(position) & ((1u << LowPositionBits) - 1), LowPositionBits);
}

std::vector<uint8_t> TLzhEncoder::Encode(std::span<const uint8_t> data) {
    FOut.clear();
    FOut.reserve(data.size() / 2 + 16);
    FBitAcc = 0;
    FBitCount = 0;
    if (data.empty()) return std::move(FOut);

    FTree.Start();
    InitSearchTree();
    std::fill(FText.begin(), FText.end(), InitialFill);

    size_t next = 0;  // next input byte to enter the window
    int s = 0;        // oldest window position, overwritten next
    int r = InitialWritePos;
    int lookahead = 0;
    while (lookahead < F && next < data.size()) FText[r + lookahead++] = data[next++];

    // The initial spaces are matchable, exactly as the decoder's window holds them.
    for (int i = 1; i <= F; ++i) InsertNode(r - i);
    InsertNode(r);

    do {
        if (FMatchLength > lookahead) FMatchLength = lookahead;
        if (FMatchLength <= THRESHOLD) {
            FMatchLength = 1;
            EncodeChar(FText[r]);
        } else {
            EncodeChar(FirstMatchSymbol - 1 - THRESHOLD + FMatchLength);
            EncodePosition(FMatchPosition);
        }
        const int advance = FMatchLength;
        int i = 0;
        for (; i < advance && next < data.size(); ++i) {
            DeleteNode(s);
            const uint8_t c = data[next++];
            FText[s] = c;
            if (s < F - 1) FText[s + N] = c;  // keep the mirror in step
            s = (s + 1) & WindowMask;
            r = (r + 1) & WindowMask;
            InsertNode(r);
        }
        for (; i < advance; ++i) {  // input exhausted: drain the look-ahead
            DeleteNode(s);
            s = (s + 1) & WindowMask;
            r = (r + 1) & WindowMask;
            if (--lookahead > 0) InsertNode(r);
        }
    } while (lookahead > 0);

    FlushBits();
    return std::move(FOut);
}

std::vector<uint8_t> LzhCompressFramed(std::span<const uint8_t> data) {
    if (data.size() > std::numeric_limits<uint32_t>::max()) {
        throw std::length_error("LZH: input larger than 4 GiB - 1 bytes cannot be framed");
    }
    const auto size = static_cast<uint32_t>(data.size());
    std::vector<uint8_t> framed(LE32Bytes);
    WriteLE32(framed.data(), size);
    TLzhEncoder encoder;
    const std::vector<uint8_t> bits = encoder.Encode(data);
    framed.insert(framed.end(), bits.begin(), bits.end());
    return framed;
}
