// The goal table: lookups, AddGoal and SetGoal, alone and after parses.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

int ParseText(CZelParser& p, const char* text)
{
    const std::string file = TempFile(text);
    const int result = p.Parse(file.c_str(), 0);
    std::remove(file.c_str());
    return result;
}

}  // namespace

TEST(Edit_Goals, LookupFindsTheFirstGoalOfAKeyword)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    int keyword = 42;
    EXPECT_EQ(nullptr, p.GetGoal(&keyword));
    EXPECT_EQ(42, keyword);
    ASSERT_EQ(0, ParseText(p, "(design a)\n(library)\n(design b)\n"));
    EXPECT_EQ(p.GetGoalAt(0), p.GetGoal(&keyword));
    EXPECT_EQ(NK_DESIGN, keyword);
    EXPECT_EQ("(design a)", Shape(p.GetGoal(NK_DESIGN)));
    EXPECT_EQ(p.GetGoalAt(1), p.GetGoal(NK_LIBRARY));
    EXPECT_EQ(nullptr, p.GetGoal(NK_CELL));
}

// AddGoal never fills the last entry of the table.
TEST(Edit_Goals, AddGoalStopsBeforeTheLimit)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get(), 4);
    EXPECT_EQ(nullptr, p.AddGoal(NK_CELL));
    EXPECT_EQ(0, p.GetGoalCount());
    for (int i = 0; i < 3; ++i)
        EXPECT_NE(nullptr, p.AddGoal(i == 1 ? NK_LIBRARY : NK_DESIGN)) << i;
    EXPECT_EQ(nullptr, p.AddGoal(NK_DESIGN));
    EXPECT_EQ("(design) (library) (design)", Shapes(p));
    EXPECT_EQ(NK_LIBRARY, p.GetGoalAt(1)->GetKeywordId());

    // A parse may fill the table; AddGoal still refuses.
    p.FullInit();
    EXPECT_EQ(0, ParseText(p, "(library)(library)(library)(library)\n"));
    EXPECT_EQ(4, p.GetGoalCount());
    EXPECT_EQ(nullptr, p.AddGoal(NK_LIBRARY));
    EXPECT_EQ(4, p.GetGoalCount());
}

TEST(Edit_Goals, SetGoalStartsAfresh)
{
    Grammar g = NetlistGrammar();
    CZelParser p(g.get());
    ASSERT_EQ(0, ParseText(p, "(design a (cell c))\n(library \"x\")\n"));
    const CZelOid* goal = p.SetGoal(NK_LIBRARY);
    ASSERT_NE(nullptr, goal);
    EXPECT_EQ(1, p.GetGoalCount());
    EXPECT_EQ("(library)", Shapes(p));
    EXPECT_EQ(nullptr, goal->GetParent());
    EXPECT_EQ(nullptr, goal->GetFirstObj());
    EXPECT_EQ(nullptr, p.SetGoal(NK_PORT));
    EXPECT_EQ(0, p.GetGoalCount());
}
