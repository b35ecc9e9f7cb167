// TLZH on a stream of several symbols derived by hand from the coding rules, where every code after the
// first depends on the tree updates before it; and on long literal streams of the reference coder, which
// the hand-derived codes pin down, through the tree's rebuilds.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ReferenceLiteralCoder.h"
#include "TestData.h"

namespace {

// ---- The stream derived by hand -----------------------------------------------------------------------
//
// The starting tree: leaves 0..313 hold the symbols 0..313 with count 1; node 314 + k is the father of
// nodes 2k and 2k + 1, up to the root 626. A code is read from the root down: at each node the bit is 0
// for the first son (an even node) and 1 for the second (an odd node). Counts of the starting tree used
// below (each node's count is the sum of its sons'):
//   314..470: 2 (pairs of leaves)          471..548: 4      549: 6 (sons 470, 471: 2 + 4)   550..: 8
//   548: 4 (sons 468, 469)                  588: 10 (sons 548, 549)   589: 16
//   608: 26 (sons 588, 589)   609: 32       618: 58 (sons 608, 609)   619: 64
//   623: 122 (sons 618, 619)  624: 128      625: 186 (sons 622 = 64, 623)   626: 314 (the root)
// The tree update walks from a symbol's node to the root adding 1 to each count; a node whose count grows
// past the next node's first trades places with the last node of a smaller count (the sons move with
// their node, the node keeps its place in its father).
//
// 1. 'A' (65) in the starting tree: 65 -> 346 -> 487 -> 557 -> 592 -> 610 -> 619 -> 623 -> 625 -> 626.
//    From the root down the nodes 625, 623, 619, 610, 592, 557, 487, 346, 65 give 1 1 1 0 0 1 1 0 1.
//    Update: node 65 counts 2 > 1 (node 66): the last node of count below 2 is 313 (node 314 counts 2),
//    so 'A' moves to node 313 and symbol 313's leaf to node 65. Up from 313: 470 -> 3 (not above 4),
//    549 -> 7 (not above 8), 588 -> 11, 608 -> 27, 618 -> 59, 623 -> 123, 625 -> 187, 626 -> 315.
constexpr char kFirstA[] = "111001101";
// 2. 'A' again, now at node 313: 313 -> 470 -> 549 -> 588 -> 608 -> 618 -> 623 -> 625 -> 626, from the
//    root down 625, 623, 618, 608, 588, 549, 470, 313: 1 1 0 0 0 1 0 1 (eight bits, not the nine above).
//    Update: node 313 counts 3 > 2 (node 314); nodes 314..469 count 2 and 470 counts 3, so 'A' trades
//    places with node 469, whose sons 310 and 311 now hang below node 313. Up from 469: 548 -> 5,
//    588 -> 12, 608 -> 28, 618 -> 60, 623 -> 124, 625 -> 188, 626 -> 316, no further trades.
constexpr char kSecondA[] = "11000101";
// 3. 'B' (66), untouched so far: 66 -> 347 -> 487 -> ... as 'A' once went: 1 1 1 0 0 1 1 1 0.
//    Update: node 66 counts 2; nodes 67..312 count 1 (313 now counts 2), so 'B' moves to node 312 and
//    symbol 312's leaf to node 66. Up from 312: 470 -> 4 (not above 471's 4), 549 -> 8 (not above 8),
//    588 -> 13, 608 -> 29, 618 -> 61, 623 -> 125, 625 -> 189, 626 -> 317.
constexpr char kB[] = "111001110";
// 4. The match length 60 (symbol 313 = 253 + 60), whose leaf the first update moved to node 65: the same
//    nine bits as the first 'A' (a decoder that did not update would read 'A' here).
//    Update: node 65 counts 2; the last node of count 1 is now 311, so symbol 313 moves there (below node
//    313). Node 313: 2 -> 3 > 2 (node 314); nodes 314..468 count 2 and 469 ('A') counts 3, so node 313
//    trades places with 468. Up from 468: 548 -> 6, 588 -> 14, 608 -> 30, 618 -> 62, 623 -> 126,
//    625 -> 190, 626 -> 318.
constexpr char kLength60[] = "111001101";
//    Its position 2 follows: the upper six bits 0 take table code 000 (three bits) and the low six bits
//    000010 follow. The copy starts 2 + 1 bytes back, at the first 'A': "AAB" repeated, 60 bytes.
constexpr char kPosition2[] = "000000010";
// 5. 'A' once more, at node 469 since step 2: 469 -> 548 -> 588 -> 608 -> 618 -> 623 -> 625 -> 626, from
//    the root down 625, 623, 618, 608, 588, 548, 469: 1 1 0 0 0 0 1.
constexpr char kThirdA[] = "1100001";

std::string HandDerivedStream() { return std::string(kFirstA) + kSecondA + kB + kLength60 + kPosition2 + kThirdA; }

std::vector<uint8_t> HandDerivedText() {
    std::string text = "AAB";
    for (int copy = 0; copy < 20; ++copy) text += "AAB";
    return Bytes(text + "A");
}

// Bytes of every value, in an order that moves the tree around: runs, strides and a few favourites.
std::vector<uint8_t> VariedBytes(size_t size) {
    std::vector<uint8_t> bytes(size);
    uint32_t state = 12345;
    for (size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        const uint32_t pick = (state >> 16) % 8;
        bytes[i] = pick < 3 ? static_cast<uint8_t>("e t"[pick]) : static_cast<uint8_t>(state >> 8);
    }
    return bytes;
}

}  // namespace

TEST(LzhByHand, EachCodeFollowsTheUpdatesOfTheSymbolsBeforeIt) {
    const std::vector<uint8_t> stream = PackBits(HandDerivedStream());
    EXPECT_EQ(stream.size(), 7u) << "51 bits";
    size_t consumed = 0;
    EXPECT_EQ(Expand(stream, 64, &consumed), HandDerivedText());
    EXPECT_EQ(consumed, stream.size());
    // The second symbol alone: eight bits after the first nine, only after the first update.
    EXPECT_EQ(Expand(PackBits(std::string(kFirstA) + kSecondA), 2), Bytes("AA"));
    EXPECT_EQ(Expand(PackBits(std::string(kFirstA) + kSecondA + kB), 3), Bytes("AAB"));
}

TEST(LzhByHand, TheReferenceCoderGivesTheHandDerivedCodes) {
    ReferenceLiteralCoder coder;
    EXPECT_EQ(coder.CodeLiterals(Bytes("AAB")), std::string(kFirstA) + kSecondA + kB);
    EXPECT_EQ(coder.CodeOf(313), kLength60);
    coder.Update(313);
    EXPECT_EQ(coder.CodeOf('A'), kThirdA);
}

TEST(LzhByHand, LongLiteralStreamsDecodeThroughTheTreeRebuilds) {
    // The root's count reaches 0x8000 after 32,768 - 314 symbols and, halved, again every 16,000 or so:
    // 70,000 and 100,000 literals rebuild the tree several times, every code coming from the reference coder.
    for (const std::vector<uint8_t>& text : {VariedBytes(100000), MakeData(TDataKind::TextLike, 70000, 7)}) {
        ReferenceLiteralCoder coder;
        const std::vector<uint8_t> stream = PackBits(coder.CodeLiterals(text));
        const std::vector<uint8_t> decoded = Expand(stream, static_cast<int64_t>(text.size()));
        ASSERT_EQ(decoded.size(), text.size());
        const auto mismatch = std::mismatch(decoded.begin(), decoded.end(), text.begin());
        EXPECT_EQ(mismatch.first, decoded.end()) << "first difference at byte " << (mismatch.first - decoded.begin());
    }
}
