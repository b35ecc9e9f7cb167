#include "ReferenceLiteralCoder.h"

#include <algorithm>

ReferenceLiteralCoder::ReferenceLiteralCoder() {
    for (int symbol = 0; symbol < kSymbols; ++symbol) {
        FFrequency[symbol] = 1;
        FSon[symbol] = symbol + kNodes;
        FParent[symbol + kNodes] = symbol;
    }
    // Node kSymbols + k is the father of nodes 2k and 2k + 1.
    for (int node = kSymbols, first = 0; node <= kRoot; ++node, first += 2) {
        FFrequency[node] = FFrequency[first] + FFrequency[first + 1];
        FSon[node] = first;
        FParent[first] = FParent[first + 1] = node;
    }
    FFrequency[kNodes] = 0xFFFF;
    FParent[kRoot] = 0;
}

std::string ReferenceLiteralCoder::CodeOf(int symbol) const {
    std::string bits;
    for (int node = FParent[symbol + kNodes]; node != kRoot; node = FParent[node]) {
        // Brothers sit side by side: the father's son value names the first.
        const int father = FParent[node];
        bits.insert(bits.begin(), node == FSon[father] ? '0' : '1');
    }
    return bits;
}

void ReferenceLiteralCoder::Update(int symbol) {
    if (FFrequency[kRoot] == kMaxFrequency) Rebuild();
    int node = FParent[symbol + kNodes];
    do {
        const uint32_t count = ++FFrequency[node];
        if (count > FFrequency[node + 1]) {
            // Trade places with the last node of a smaller count, so counts stay in order.
            int other = node + 1;
            while (FFrequency[other + 1] < count) ++other;
            FFrequency[node] = FFrequency[other];
            FFrequency[other] = count;
            const int mySons = FSon[node];
            const int otherSons = FSon[other];
            FSon[other] = mySons;
            FSon[node] = otherSons;
            FParent[mySons] = other;
            if (mySons < kNodes) FParent[mySons + 1] = other;
            FParent[otherSons] = node;
            if (otherSons < kNodes) FParent[otherSons + 1] = node;
            node = other;
        }
        node = FParent[node];
    } while (node != 0);
}

void ReferenceLiteralCoder::Rebuild() {
    // The leaves first, in their order, with halved counts.
    int leaves = 0;
    for (int node = 0; node < kNodes; ++node) {
        if (FSon[node] < kNodes) continue;
        FFrequency[leaves] = (FFrequency[node] + 1) / 2;
        FSon[leaves] = FSon[node];
        ++leaves;
    }
    // Then the fathers of pairs, each placed where its count keeps the order.
    for (int first = 0, node = kSymbols; node < kNodes; first += 2, ++node) {
        const uint32_t count = FFrequency[first] + FFrequency[first + 1];
        int place = node - 1;
        while (count < FFrequency[place]) --place;
        ++place;
        std::copy_backward(FFrequency.begin() + place, FFrequency.begin() + node, FFrequency.begin() + node + 1);
        std::copy_backward(FSon.begin() + place, FSon.begin() + node, FSon.begin() + node + 1);
        FFrequency[place] = count;
        FSon[place] = first;
    }
    for (int node = 0; node < kNodes; ++node) {
        const int sons = FSon[node];
        FParent[sons] = node;
        if (sons < kNodes) FParent[sons + 1] = node;
    }
}

std::string ReferenceLiteralCoder::CodeLiterals(const std::vector<uint8_t>& bytes) {
    std::string bits;
    for (uint8_t byte : bytes) {
        bits += CodeOf(byte);
        Update(byte);
    }
    return bits;
}

std::vector<uint8_t> PackBits(const std::string& bits) {
    std::vector<uint8_t> bytes((bits.size() + 7) / 8, 0);
    for (size_t i = 0; i < bits.size(); ++i)
        if (bits[i] == '1') bytes[i / 8] |= static_cast<uint8_t>(0x80 >> (i % 8));
    return bytes;
}
