// The adaptive Huffman tree of the LZHUF coding.
#include "skin/data/LzhCoding.h"

#include <algorithm>

namespace lzh {

void TLzhTree::Start() {
    for (int i = 0; i < N_CHAR; ++i) {
        Freq[i] = 1;
        Son[i] = static_cast<int32_t>(i + T);
        Prnt[i + T] = static_cast<int32_t>(i);
    }
    int i = 0;
    for (int j = N_CHAR; j <= R; ++j, i += 2) {
        Freq[j] = static_cast<uint32_t>(Freq[i] + Freq[i + 1]);
        Son[j] = static_cast<int32_t>(i);
        Prnt[i] = Prnt[i + 1] = static_cast<int32_t>(j);
    }
    Freq[T] = FreqSentinel;
    Prnt[R] = 0;
    PrefixValid = false;
}

void TLzhTree::Rebuild() {
    PrefixValid = false;
    // Gather the leaves at the bottom with their counts halved (rounded up,
    // so no count drops to zero).
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (Son[i] >= T) {
            Freq[j] = static_cast<uint32_t>((Freq[i] + 1) / 2);
            Son[j] = Son[i];
            ++j;
        }
    }
    // Join pairs into inner nodes, keeping Freq sorted ascending.
    for (int i = 0; j < T; i += 2, ++j) {
        const unsigned f = static_cast<unsigned>(Freq[i]) + Freq[i + 1];
        int k = j - 1;
        while (f < Freq[k]) --k;
        ++k;
        std::copy_backward(Freq.begin() + k, Freq.begin() + j, Freq.begin() + j + 1);
        std::copy_backward(Son.begin() + k, Son.begin() + j, Son.begin() + j + 1);
        Freq[k] = static_cast<uint32_t>(f);
        Son[k] = static_cast<int32_t>(i);
    }
    // Relink the parents.
    for (int i = 0; i < T; ++i) {
        const int k = Son[i];
        if (k >= T) {
            Prnt[k] = static_cast<int32_t>(i);
        } else {
            Prnt[k] = Prnt[k + 1] = static_cast<int32_t>(i);
        }
    }
}

void TLzhTree::BuildPrefix() {
    FInPrefix.fill(false);
    for (int value = 0; value < (1 << PrefixBits); ++value) {
        TPrefixEntry& entry = Prefix[static_cast<size_t>(value)];
        int node = R;
        int bits = 0;
        while (bits < PrefixBits) {
            // Every node whose son is looked at, a leaf's too: a leaf that
            // trades places with an inner node turns its place into one.
            FInPrefix[static_cast<size_t>(node)] = true;
            if (Son[node] >= T) break;
            node = Son[node] + ((value >> (PrefixBits - 1 - bits)) & 1);
            entry.Path[static_cast<size_t>(bits)] = node;
            ++bits;
        }
        entry.Node = node;
        entry.Bits = bits;
    }
    PrefixValid = true;
}

}  // namespace lzh
