// The goal table: lookups, AddGoal and SetGoal, alone and after parses.
#include <gtest/gtest.h>

#include "support/test_grammars.h"

using namespace zeltest;

TEST(Edit_Goals, LookupsAndLimits)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get(), 4);
    int keyword = 42;
    EXPECT_EQ(nullptr, p.GetGoal(&keyword));
    EXPECT_EQ(42, keyword);
    // A parse fills the table; AddGoal then refuses.
    ASSERT_EQ(0, ParseText(p, "(library)(design a (cell c))(library)(design b)\n"));
    EXPECT_EQ(nullptr, p.AddGoal(NK_LIBRARY));
    EXPECT_EQ(4, p.GetGoalCount());
    EXPECT_EQ(p.GetGoalAt(0), p.GetGoal(&keyword));
    EXPECT_EQ(NK_LIBRARY, keyword);
    EXPECT_EQ(p.GetGoalAt(1), p.GetGoal(NK_DESIGN));
    EXPECT_EQ(nullptr, p.GetGoal(NK_CELL));

    // SetGoal starts the table afresh; AddGoal never fills its last entry.
    EXPECT_EQ("(library)", Shape(p.SetGoal(NK_LIBRARY)));
    EXPECT_EQ(nullptr, p.AddGoal(NK_CELL));
    EXPECT_NE(nullptr, p.AddGoal(NK_DESIGN));
    EXPECT_NE(nullptr, p.AddGoal(NK_LIBRARY));
    EXPECT_EQ(nullptr, p.AddGoal(NK_DESIGN));
    EXPECT_EQ("(library) (design) (library)", Shapes(p));
    EXPECT_EQ(nullptr, p.SetGoal(NK_PORT));
    EXPECT_EQ(0, p.GetGoalCount());

    // A goal limit above 16 is 16.
    RecordingParser many(g.get(), 17);
    std::string text;
    for (int i = 0; i < 17; ++i)
        text += "(design d" + std::to_string(i) + ")";
    ParseLine(many, text);
    EXPECT_EQ("(design d15)", Shape(many.GetGoalAt(many.GetGoalCount() - 1)));  // and no more
}
