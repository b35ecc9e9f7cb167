// The adaptive Huffman tree of the LZHUF coding.
#include "skin/data/LzhCoding.h"

#include <algorithm>

namespace lzh {

void TLzhTree::Start() {
    for (int i = 0; i < N_CHAR; ++i) {
        Freq[i] = 1;
        Son[i] = static_cast<int16_t>(i + T);
        Prnt[i + T] = static_cast<int16_t>(i);
    }
    int i = 0;
    for (int j = N_CHAR; j <= R; ++j, i += 2) {
        Freq[j] = static_cast<uint16_t>(Freq[i] + Freq[i + 1]);
        Son[j] = static_cast<int16_t>(i);
        Prnt[i] = Prnt[i + 1] = static_cast<int16_t>(j);
    }
    Freq[T] = FreqSentinel;
    Prnt[R] = 0;
}

void TLzhTree::Rebuild() {
    // Gather the leaves at the bottom with their counts halved (rounded up,
    // so no count drops to zero).
    int j = 0;
    for (int i = 0; i < T; ++i) {
        if (Son[i] >= T) {
            Freq[j] = static_cast<uint16_t>((Freq[i] + 1) / 2);
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
        Freq[k] = static_cast<uint16_t>(f);
        Son[k] = static_cast<int16_t>(i);
    }
    // Relink the parents.
    for (int i = 0; i < T; ++i) {
        const int k = Son[i];
        if (k >= T) {
            Prnt[k] = static_cast<int16_t>(i);
        } else {
            Prnt[k] = Prnt[k + 1] = static_cast<int16_t>(i);
        }
    }
}

void TLzhTree::Update(int symbol) {
    if (Freq[R] == MAX_FREQ) Rebuild();
    int node = Prnt[symbol + T];
    do {
        const uint16_t k = ++Freq[node];
        // Keep counts ascending: swap the node with the last one whose count
        // is now lower than its own.
        if (k > Freq[node + 1]) {
            int l = node + 1;
            while (k > Freq[l + 1]) ++l;
            Freq[node] = Freq[l];
            Freq[l] = k;

            const int i = Son[node];
            Prnt[i] = static_cast<int16_t>(l);
            if (i < T) Prnt[i + 1] = static_cast<int16_t>(l);

            const int j = Son[l];
            Son[l] = static_cast<int16_t>(i);
            Prnt[j] = static_cast<int16_t>(node);
            if (j < T) Prnt[j + 1] = static_cast<int16_t>(node);
            Son[node] = static_cast<int16_t>(j);

            node = l;
        }
        node = Prnt[node];
    } while (node != 0);
}

}  // namespace lzh
