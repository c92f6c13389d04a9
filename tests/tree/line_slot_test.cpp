// Where a node block's line is kept in its slab.
#include <gtest/gtest.h>

#include <cstdint>

#include "support/test_grammars.h"
#include "tree/block_pool.h"

using namespace zeltest;

#ifndef ZEL_PLAIN_ALLOCATION
// Every block of a slab has a slot of its own, in order, in the slab's line array.
TEST(Tree_LineSlot, EachBlockOfASlabHasItsOwnSlot)
{
    const std::uintptr_t slab = std::uintptr_t(7) * zel::kSlabBytes;  // any slab address; nothing is read
    const int* lines = reinterpret_cast<const int*>(slab + zel::kNodeLinesOffset);
    for (size_t i = 0; i < zel::kNodesPerSlab; ++i)
        ASSERT_EQ(lines + i, zel::NodeLineSlot(slab + i * zel::kNodeBlockBytes)) << "block " << i;
}
#endif

// An address inside a node block other than its start is no node: it has no line.
TEST(Tree_LineSlot, OnlyABlockStartHasALine)
{
    Grammar g = NetlistGrammar();
    RecordingParser parser(g.get());
    ASSERT_EQ(0, ParseText(parser, "\n(design top)"));
    const CZelOid* design = parser.GetGoalAt(0);
    ASSERT_EQ(2, design->GetLine());
    for (size_t offset = 1; offset < sizeof(CZelOid); ++offset)
        EXPECT_EQ(0, zel::BlockLine(reinterpret_cast<const char*>(design) + offset)) << "offset " << offset;
}
