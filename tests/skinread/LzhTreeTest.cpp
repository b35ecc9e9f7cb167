// The adaptive Huffman tree keeps its shape through updates and rebuilds.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

#include "skin/data/LzhCoding.h"

using namespace lzh;

namespace {

// Counts ascend with the index; each inner node counts the sum of its sons
// and is their parent; every symbol's leaf holds that symbol.
void ExpectWellFormed(const TLzhTree& tree) {
    for (int i = 0; i + 1 < T; ++i) ASSERT_LE(tree.Freq[i], tree.Freq[i + 1]) << "at " << i;
    for (int i = 0; i < T; ++i) {
        const int son = tree.Son[i];
        if (son >= T) {
            ASSERT_EQ(tree.Prnt[son], i);
        } else {
            ASSERT_EQ(tree.Freq[i], tree.Freq[son] + tree.Freq[son + 1]) << "at " << i;
            ASSERT_EQ(tree.Prnt[son], i);
            ASSERT_EQ(tree.Prnt[son + 1], i);
        }
    }
    for (int s = 0; s < N_CHAR; ++s) ASSERT_EQ(tree.Son[tree.Prnt[s + T]], s + T);
    ASSERT_EQ(tree.Freq[T], FreqSentinel);
}

}  // namespace

TEST(LzhTree, StartsWithEverySymbolCountedOnce) {
    TLzhTree tree;
    tree.Start();
    ExpectWellFormed(tree);
    EXPECT_EQ(tree.Freq[R], N_CHAR);
    EXPECT_EQ(tree.Prnt[R], 0);
}

TEST(LzhTree, StaysWellFormedThroughUpdatesAndRebuilds) {
    TLzhTree tree;
    tree.Start();
    std::mt19937 random(3);
    // Skewed like real data: literals often, a few match lengths.
    std::discrete_distribution<int> symbols({40, 20, 10, 5, 5, 3, 2, 1, 1, 1});
    const int alphabet[] = {'e', ' ', 't', 0, 255, 'a', 256, 257, 300, 313};
    unsigned previousRoot = tree.Freq[R];
    int rebuilds = 0;
    for (int step = 0; step < 200000; ++step) {
        tree.Update(alphabet[symbols(random)]);
        if (tree.Freq[R] < previousRoot) ++rebuilds;
        previousRoot = tree.Freq[R];
        ASSERT_LE(tree.Freq[R], MAX_FREQ);
        if (step % 20011 == 0) ExpectWellFormed(tree);
    }
    ExpectWellFormed(tree);
    EXPECT_GE(rebuilds, 5);
}

namespace {

// The nodes from the root to the leaf of symbol, walking down by its code.
std::vector<int> PathTo(const TLzhTree& tree, int symbol) {
    std::vector<int> path;
    for (int node = tree.Prnt[symbol + T]; node != R; node = tree.Prnt[node]) path.insert(path.begin(), node);
    path.insert(path.begin(), R);
    return path;
}

}  // namespace

TEST(LzhTree, UpdateAlongThePathEqualsUpdate) {
    TLzhTree plain, along;
    plain.Start();
    along.Start();
    std::mt19937 random(5);
    std::geometric_distribution<int> skewed(0.02);
    for (int step = 0; step < 150000; ++step) {
        const int symbol = std::min(skewed(random), N_CHAR - 1);
        const std::vector<int> path = PathTo(along, symbol);
        plain.Update(symbol);
        along.UpdateAlong(path.data(), static_cast<int>(path.size()) - 1, symbol);
        if (step % 10007 == 0 || step > 149990) {
            ASSERT_EQ(plain.Freq, along.Freq) << "after " << step;
            ASSERT_EQ(plain.Son, along.Son) << "after " << step;
            ASSERT_EQ(plain.Prnt, along.Prnt) << "after " << step;
        }
    }
}

TEST(LzhTree, PrefixTableFollowsTheTreeWhileMarkedValid) {
    TLzhTree tree;
    tree.Start();
    std::mt19937 random(9);
    // Skewed like pixel data, then flat like noise: both move the top levels.
    std::geometric_distribution<int> skewed(0.05);
    std::uniform_int_distribution<int> flat(0, N_CHAR - 1);
    int checks = 0, rebuilt = 0;
    for (int step = 0; step < 120000; ++step) {
        if (!tree.PrefixValid) {
            tree.BuildPrefix();
            ++rebuilt;
        }
        if (step % 97 == 0) {
            ++checks;
            for (int value = 0; value < (1 << TLzhTree::PrefixBits); ++value) {
                const auto& entry = tree.Prefix[static_cast<size_t>(value)];
                int node = R, bits = 0;
                while (bits < TLzhTree::PrefixBits && tree.Son[node] < T) {
                    node = tree.Son[node] + ((value >> (TLzhTree::PrefixBits - 1 - bits)) & 1);
                    ASSERT_EQ(entry.Path[static_cast<size_t>(bits)], node) << "entry " << value << " at " << step;
                    ++bits;
                }
                ASSERT_EQ(entry.Node, node) << "entry " << value << " at " << step;
                ASSERT_EQ(entry.Bits, bits) << "entry " << value << " at " << step;
            }
        }
        tree.Update(step < 60000 ? std::min(skewed(random), N_CHAR - 1) : flat(random));
    }
    EXPECT_GT(checks, 1000);
    EXPECT_GT(rebuilt, 10) << "the top levels change now and then";
    EXPECT_LT(rebuilt, 60000) << "most updates leave the top levels alone";
}
