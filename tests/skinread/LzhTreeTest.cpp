// The adaptive Huffman tree keeps its shape through updates and rebuilds.
#include <gtest/gtest.h>

#include <random>

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
