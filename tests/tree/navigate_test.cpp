// Navigation, searches and typed values of parsed trees.
#include <gtest/gtest.h>

#include <memory>

#include "support/test_grammars.h"

using namespace zeltest;

namespace {

struct Tree_Navigate : ::testing::Test {
    // Parses text under the item grammar, where an item holds any values and items, or under
    // the netlist grammar, and returns the first goal.
    const CZelOid* Load(const char* text, bool netlist = false)
    {
        parser.reset(new RecordingParser(netlist ? nets.get() : items.GetDescriptor()));
        EXPECT_EQ(0, ParseText(*parser, text)) << text;
        return parser->GetGoalAt(0);
    }
    CZelGrammar items;
    const int compiled = items.Compile("goal item\nform item = (ident | string | int | real | item)* ;");
    const int item = items.GetKeywordId("item");
    Grammar nets = NetlistGrammar();
    std::unique_ptr<RecordingParser> parser;
};

}  // namespace

TEST_F(Tree_Navigate, LinksSearchesAndLiterals)
{
    ASSERT_EQ(0, compiled);
    const CZelOid* root = Load("(item first (item Alpha 1) 5 (item \"beta\") (item) (item gamma))\n");
    int keywords[3] = {-1, -1, -1};
    const CZelOid* first = root->GetFirstObj(&keywords[0]);
    const CZelOid* alpha = first->GetNextObj(&keywords[1]);
    EXPECT_EQ(nullptr, first->GetFirstObj(&keywords[2]));
    EXPECT_EQ((std::vector<int>{2, item, 0}), std::vector<int>(keywords, keywords + 3));  // 2: ident
    EXPECT_TRUE(!root->GetPrevObj() && !first->GetPrevObj() && alpha->GetPrevObj() == first);
    EXPECT_EQ(root, alpha->GetFirstObj()->GetGrandParent());
    EXPECT_EQ("(item \"beta\")", Shape(alpha->GetNextInst()));  // past the values between
    // A named search ignores case and ends at an item without a name.
    EXPECT_EQ(alpha, root->FindObj(item, "ALPHA"));
    EXPECT_EQ(alpha->GetNextInst(), root->FindNamedObj(item, "Beta"));
    EXPECT_TRUE(!root->FindObj(item, "gamma") && !root->FindObj(item, nullptr));

    const CZelOid* port = Load("(design top (cell a (port p Inout)))\n", true)->FindObj(NK_CELL)->FindObj(NK_PORT);
    int literal = 0;
    EXPECT_TRUE(port->GetFirstObj()->GetNextLiteral(&literal) && literal == NK_INOUT);
    EXPECT_EQ(nullptr, port->GetFirstLiteral(&literal));
    port->RemObject();  // a released node answers as keyword 0
    EXPECT_TRUE(port->GetLitval() == 0 && port->GetObjType() == zelKW_DUMMY && !port->GetNextInst());
}

// Typed steps look at one node and refuse any other type; plain getters answer 0 or
// null for another type than the node holds.
TEST_F(Tree_Navigate, TypedValuesRefuseOtherTypes)
{
    ASSERT_EQ(0, compiled);
    const CZelOid* strs = Load("(item (item \"s\" \"t\" c \"d\") (item a b 7 2.5))\n")->GetFirstObj();
    const CZelOid* a = strs->GetNextObj()->GetFirstObj();
    const CZelOid *seven = a->GetNextObj()->GetNextObj(), *real = seven->GetNextObj();
    const char* text = nullptr;
    EXPECT_TRUE(!strs->GetFirstIdent(&text) && !text);
    EXPECT_TRUE(strs->GetFirstName(&text) && std::string(text) == "s");
    EXPECT_TRUE(a->GetParent()->GetFirstName(&text) && std::string(text) == "a");
    EXPECT_EQ(nullptr, a->GetNextObj()->GetNextIdent(&text));
    int number = 0;
    double value = 0;
    EXPECT_TRUE(a->GetNextObj()->GetNextInttok(&number) && number == 7);
    EXPECT_TRUE(a->GetNextObj()->GetNextNumber(&value) && value == 7.0);
    EXPECT_TRUE(seven->GetNextRealtok(nullptr) && !seven->GetNextInttok(&number));
    // Runs append to the list and count only what they appended.
    CStringList list;
    EXPECT_EQ((std::vector<int>{2, 2, 1, 5}), (std::vector<int>{a->GetParent()->GetIdentList(list), strs->GetStrtokList(list),
              strs->GetFirstObj()->GetNextObj()->GetNextObj()->GetNextStrtokList(list), list.GetCount()}));
    EXPECT_TRUE(a->GetIntval() == 0 && a->GetRealval() == 0.0 && !seven->GetIdent() && !strs->GetName());
    EXPECT_TRUE(real->GetIntval() == 0 && seven->GetRealval() == 0.0);
    EXPECT_TRUE(seven->GetNumberval() == 7.0 && real->GetNumberval() == 2.5);
}
