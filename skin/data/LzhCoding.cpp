// The adaptive Huffman tree of the LZHUF coding.
#include "skin/data/LzhCoding.h"

#include <algorithm>

namespace lzh {

void TLzhTree::Start() {
    for (int i = 0; i < N_CHAR; ++i) {
        Freq[i] = 1;
        Son[i] = i + T;
        Prnt[i + T] = i;
    }
    int i = 0;
    for (int j = N_CHAR; j <= R; ++j, i += 2) {
        Freq[j] = Freq[i] + Freq[i + 1];
        Son[j] = i;
        Prnt[i] = Prnt[i + 1] = j;
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
            Freq[j] = (Freq[i] + 1) / 2;
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
        Freq[k] = f;
        Son[k] = i;
    }
    // Relink the parents.
    for (int i = 0; i < T; ++i) {
        const int k = Son[i];
        if (k >= T) {
            Prnt[k] = i;
        } else {
            Prnt[k] = Prnt[k + 1] = i;
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
